#pragma once
// Recordings in and out, streamed in blocks.
//
// SigMF: a recording is named by its NAME.sigmf-meta (JSON); its samples are in NAME.sigmf-data
// beside it. Read: one channel, datatypes r/c with f32, f64, i32, i16 (_le or _be) and i8, u8,
// u16, u32; global core:sample_rate, the first capture's core:frequency and core:header_bytes.
// Integer samples are scaled to full scale 1.0 (i16: x / 32768). Written: cf32_le or ci16_le
// with core:sample_rate, core:version and one capture at sample 0 with core:frequency.
//
// WAV (through libsndfile): one channel is a real signal, two channels are I and Q; 16-bit
// integer or 32-bit float samples are written, whatever libsndfile reads is read.
//
// Outputs replace their files atomically: the samples stream into a temporary file beside the
// target, renamed over it when the run completes; a failed or cancelled run leaves the old
// files as they were.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "sim/SampleStream.h"

namespace gc::sim {

enum class RecordingType { SigMF, Wav, Unknown };
// By the name's ending: ".sigmf-meta" or ".wav" (any case).
[[nodiscard]] RecordingType recordingType(const std::string& path);
// NAME.sigmf-data for NAME.sigmf-meta.
[[nodiscard]] std::string sigmfDataPath(const std::string& metaPath);

// A SigMF datatype such as "ci16_le".
struct SigmfDatatype {
    bool complex{false};
    char kind{'f'};  // 'f' float, 'i' signed, 'u' unsigned
    int bits{32};
    bool bigEndian{false};
    [[nodiscard]] int sampleBytes() const { return (complex ? 2 : 1) * bits / 8; }
};
[[nodiscard]] std::optional<SigmfDatatype> parseSigmfDatatype(const std::string& name);

// Opens a recording for reading; throws SignalError(BadInput) with one line naming the file
// when it is missing, unreadable, no regular file, damaged, of an unknown datatype or shorter
// than its meta says. Reading stops at the end of the samples the file holds.
[[nodiscard]] std::unique_ptr<SampleSource> openRecording(const std::string& path);

enum class OutputSampleFormat { Float32, Int16 };

struct RecordingInfo {
    double sampleRateHz{0.0};
    double centreFrequencyHz{0.0};
    std::string description;  // SigMF core:description (empty: none)
};

// The whole .sigmf-meta text of an output recording.
[[nodiscard]] std::string sigmfMetaText(const RecordingInfo& info, OutputSampleFormat format);

// Starts an output recording at `path` (.sigmf-meta or .wav) of complex samples. Throws
// SignalError(NotWritten) when its temporary file cannot be made.
[[nodiscard]] std::unique_ptr<SampleSink> createRecording(const std::string& path,
                                                          const RecordingInfo& info,
                                                          OutputSampleFormat format);

}  // namespace gc::sim
