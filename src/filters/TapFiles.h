#pragma once
// Tap files (".taps"): one filter's coefficients as text, one signed decimal tap per line,
// written as " %d\n". CFIR files hold 21 taps, PFIR files 63, resampler files 0..512. Values
// are cut to the chip's coefficient width when read: 16 bits for CFIR and PFIR, 12 bits for
// the resampler (reduced to the low bits and sign-extended: 32768 -> -32768, 65536 -> 0).
#include <string>
#include <string_view>
#include <vector>

#include "model/TextFile.h"

namespace gc::model {
struct ConfigurationModel;
}

namespace gc::filters {

struct TapImport;

inline constexpr int kTapFileMaxTaps = 512;  // taps taken from one file at most
inline constexpr int kFirTapBits = 16;       // CFIR and PFIR coefficient width
inline constexpr int kResamplerTapBits = 12;

enum class TapKind { Cfir, Pfir, Rfir };

enum class TapFileStatus {
    Ok,       // read; the file buffer (and for CFIR/PFIR the taps in use) replaced
    Missing,  // the file cannot be opened; nothing changed
    Damaged,  // a line holds no number, or a CFIR/PFIR file has the wrong count; nothing changed
};

struct TapFileRead {
    bool opened{false};     // false: the file cannot be opened
    bool damaged{false};    // a non-blank line does not start with an integer
    std::vector<int> taps;  // 0..512 values, each reduced to the requested width
};

// Reads a tap file, only as far as it needs: a name that is no regular file (a FIFO, a device)
// or a file over the size limit is damaged without being read. Lines may be of any length; a last
// line without a line end counts; empty and blank lines are skipped; a line is a number when, after
// leading blanks, it starts with an optional sign and a digit (the rest of the line is ignored).
// The first 512 numbers are taken and later lines are not looked at.
[[nodiscard]] TapFileRead ReadTapFile(const std::string& path, int bits);
// The same rules over a text already read (`opened` is true).
[[nodiscard]] TapFileRead readTapText(std::string_view text, int bits);

// `value` reduced to its low `bits` bits (1..32) and sign-extended.
[[nodiscard]] int reduceToBits(long long value, int bits);

// A CFIR (PFIR) file of exactly 21 (63) taps into CfirFileTaps[channel] and CfirTaps[channel]
// (PfirFileTaps, PfirTaps). Any failure leaves both unchanged. A channel outside 0..3 is a
// caller's error: nothing is read and the result is Missing. The file may be in any format
// importTapFile recognises (filters/TapImport.h); a tap file is read as ReadTapFile reads it.
// `detail`, when given, receives the import: its summary or the reason it failed.
[[nodiscard]] TapFileStatus ReadCfirTapFile(gc::model::ConfigurationModel& model,
                                            const std::string& path, int channel,
                                            TapImport* detail = nullptr);
[[nodiscard]] TapFileStatus ReadPfirTapFile(gc::model::ConfigurationModel& model,
                                            const std::string& path, int channel,
                                            TapImport* detail = nullptr);
// A resampler file of 0..512 taps: all 512 ResamplerTaps become 0, the taps go into
// ResamplerFileTaps (the rest of that buffer 0) and the count into ResamplerFileTapCount; the
// taps in use are refilled by ApplyResamplerSelection afterwards. Failures change nothing.
[[nodiscard]] TapFileStatus ReadResamplerTapFile(gc::model::ConfigurationModel& model,
                                                 const std::string& path,
                                                 TapImport* detail = nullptr);

// The file text of `n` taps: " %d\n" per tap.
[[nodiscard]] std::string tapFileText(const int* taps, int n);

// Writers of the taps in use: the 21 CfirTaps / 63 PfirTaps of the current channel, the first
// ResamplerTapCount ResamplerTaps. The file is replaced atomically; false (with the system's
// reason) when it cannot be written (the caller reports it).
[[nodiscard]] gc::model::WriteResult WriteCfirTapFile(const gc::model::ConfigurationModel& model,
                                                      const std::string& path);
[[nodiscard]] gc::model::WriteResult WritePfirTapFile(const gc::model::ConfigurationModel& model,
                                                      const std::string& path);
[[nodiscard]] gc::model::WriteResult WriteResamplerTapFile(
    const gc::model::ConfigurationModel& model, const std::string& path);

// The three lines of the file report window for a failed read: "Файл коэфициентов CFIR"
// ("...PFIR", "...RFIR"), the path as given, "отсутствует!" or "поврежден!". Empty for Ok.
[[nodiscard]] std::vector<std::string> tapFileReportLabels(TapKind kind, const std::string& path,
                                                           TapFileStatus status);

}  // namespace gc::filters
