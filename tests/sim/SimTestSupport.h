#pragma once
// Program files for the channel model's tests, written by the program's own road: the
// configuration, the taps chosen from the built-in library, the output mode, the register image
// build and the program file writer.
#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "chip/OutputMode.h"
#include "chip/ProgramFile.h"
#include "chip/RegisterImage.h"
#include "filters/TapSelection.h"
#include "model/ConfigurationModel.h"
#include "model/Derived.h"

namespace gc::sim::test {

// Library indices of the sets the tests use.
inline constexpr int kCfir68 = 3;
inline constexpr int kCfir100 = 5;
inline constexpr int kPfir68 = 3;
inline constexpr int kPfir100 = 5;
inline constexpr int kResBypass = 0;
inline constexpr int kRes8x64 = 3;

struct ChannelConfig {
    int mode{0};
    int decimation{8};
    int shift{4};
    int scale{1};
    int bigScale{7};
    int coarse{0};
    int fineGain{1024};
    int cfir{kCfir68};
    int pfir{kPfir68};
    int resampler{kResBypass};
    int finalShift{5};
    int mix20{1};
    int frequencyHz{0};
    int clockHz{100000000};
    float interpolation{1.0f};
};

struct Built {
    gc::model::ConfigurationModel model;
    gc::chip::RegisterImage image;
    std::string program;
};

inline Built build(const ChannelConfig& c) {
    Built b;
    auto& m = b.model;
    m.Chip.Clock = c.clockHz;
    m.Work.WorkingClock = c.clockHz;
    m.Chip.ModeOfDdc = c.mode;
    m.Chip.CombConfigPlis = c.mode == 0 ? 0 : 1;
    m.Work.ActiveMask = 15;
    m.Work.ActiveCount = 4;
    m.Chip.CoefInterpol[0] = c.interpolation;
    m.Chip.FinalShift = c.finalShift;
    m.Chip.Fc = {c.frequencyHz, c.frequencyHz, c.frequencyHz, c.frequencyHz};
    for (int k = 0; k < 4; ++k) {
        auto& ch = m.Channels[static_cast<std::size_t>(k)];
        ch.Mix20bit = c.mix20;
        ch.Shift = c.shift;
        ch.Scale = c.scale;
        ch.BigScale = c.bigScale;
        ch.Decimation = c.decimation;
        ch.CoarseGain = c.coarse;
        ch.FineGain = c.fineGain;
        m.Work.CfirSelection[static_cast<std::size_t>(k)] = c.cfir;
        m.Work.PfirSelection[static_cast<std::size_t>(k)] = c.pfir;
        gc::filters::ApplyCfirSelectionFor(m, k, gc::filters::TapSource::Table);
        gc::filters::ApplyPfirSelectionFor(m, k, gc::filters::TapSource::Table);
    }
    m.Work.CurrentDecimation = c.decimation;
    m.Work.RfirSelection = c.resampler;
    gc::filters::ApplyResamplerSelection(m, b.image, gc::filters::TapSource::Table);
    gc::chip::applyOutputMode(b.image, m.Chip.CombConfigPlis, c.mode, 0, 4);
    gc::chip::buildRegisterImage(m, b.image);
    b.program = gc::chip::programFileText(m, b.image);
    return b;
}

// One line of a program file replaced: the write of `value` to page/reg (the first such write).
inline std::string withWrite(const std::string& program, int page, int reg, int value) {
    char from[64];
    std::snprintf(from, sizeof from, "\n%d    %d   0x", page, reg);
    const auto at = program.find(from);
    if (at == std::string::npos) return program;
    const auto end = program.find('\n', at + 1);
    char to[64];
    std::snprintf(to, sizeof to, "\n%d    %d   0x%x", page, reg, static_cast<unsigned>(value));
    return program.substr(0, at) + to + program.substr(end);
}

// A real tone cos(2 pi f n / rate) of the given amplitude.
inline std::vector<std::complex<float>> tone(double amplitude, double frequencyHz, double rateHz,
                                             std::size_t n) {
    std::vector<std::complex<float>> x(n);
    const double w = 6.283185307179586 * frequencyHz / rateHz;
    for (std::size_t k = 0; k < n; ++k)
        x[k] = {static_cast<float>(amplitude * std::cos(w * static_cast<double>(k))), 0.0f};
    return x;
}

// |mean of y[k] e^{-j w k}| over the samples from `skip` on: the amplitude of the complex tone
// at frequency f (Hz, signed) of an output at `rateHz`.
inline double toneAmplitude(const std::vector<std::complex<float>>& y, double frequencyHz,
                            double rateHz, std::size_t skip) {
    std::complex<double> acc = 0.0;
    const double w = 6.283185307179586 * frequencyHz / rateHz;
    for (std::size_t k = skip; k < y.size(); ++k)
        acc += std::complex<double>(y[k]) * std::polar(1.0, -w * static_cast<double>(k));
    return std::abs(acc) / static_cast<double>(y.size() - skip);
}

inline double db(double v) { return 20.0 * std::log10(v); }

}  // namespace gc::sim::test
