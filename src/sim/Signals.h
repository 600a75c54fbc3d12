#pragma once
// Generated test signals: a tone, two tones, noise and a linear frequency sweep, each at a level
// in dBFS and with a length in samples, made block by block at the channel's input rate. They
// are real signals (the chip's input is a real ADC word). Levels: a tone's level is its
// amplitude against full scale (0 dBFS = a sine from -1 to 1); noise's level is its power
// against that sine's (RMS = 10^(level/20) / sqrt(2)).
//
// The text form (the command line's --signal SPEC):
//   KIND:NAME=VALUE,NAME=VALUE...
//   tone:f=HZ[,level=DBFS][,len=N][,phase=DEG]
//   twotone:f1=HZ,f2=HZ[,level=DBFS][,len=N]       (level: of each tone)
//   noise[:level=DBFS][,len=N][,seed=S]            (white Gaussian)
//   sweep:f0=HZ,f1=HZ[,level=DBFS][,len=N]         (f0 to f1 over the length)
// Defaults: level=-6, len=1000000, phase=0, seed=1. Numbers may be written as 21.4e6.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "sim/SampleStream.h"

namespace gc::sim {

enum class SignalKind { Tone, TwoTone, Noise, Sweep };

inline constexpr double kDefaultSignalLevelDbfs = -6.0;
inline constexpr std::uint64_t kDefaultSignalLength = 1000000;
// Longer than any run anyone waits for (ten minutes of the fastest clock).
inline constexpr std::uint64_t kMaxSignalLength = std::uint64_t{60000000000};

struct SignalSpec {
    SignalKind kind{SignalKind::Tone};
    double f1Hz{0.0};  // tone: its frequency; two tones: the first; sweep: the start
    double f2Hz{0.0};  // two tones: the second; sweep: the end
    double levelDbfs{kDefaultSignalLevelDbfs};
    std::uint64_t length{kDefaultSignalLength};  // samples
    double phaseDeg{0.0};                        // tone only
    std::uint64_t seed{1};                       // noise only
};

// The SPEC text to a signal; nothing with `error` set (one line) when it is malformed: an
// unknown kind or name, a missing frequency, a number that does not convert, a length outside
// 1..kMaxSignalLength, a level above 0 dBFS or not finite.
[[nodiscard]] std::optional<SignalSpec> parseSignalSpec(const std::string& text,
                                                        std::string& error);
// The signal as SPEC text (parses back to the same signal).
[[nodiscard]] std::string formatSignalSpec(const SignalSpec& spec);
// The SPEC's kind name ("tone", "twotone", "noise", "sweep").
[[nodiscard]] const char* signalKindName(SignalKind kind);

// Empty when the signal's frequencies lie within 0..rate/2, otherwise why not (one line).
[[nodiscard]] std::string checkSignalForRate(const SignalSpec& spec, double rateHz);

// The signal as a source at `rateHz`.
[[nodiscard]] std::unique_ptr<SampleSource> makeSignalSource(const SignalSpec& spec, double rateHz);

// The number of tones a measurement of the output should take as signal (0 for noise and for a
// sweep, whose output is all signal).
[[nodiscard]] int signalToneCount(const SignalSpec& spec);

}  // namespace gc::sim
