#pragma once
// The configuration the benchmarks run on: the start-up channel with low-pass CFIR and PFIR
// taps and a full 512-tap, 64-phase resampler, every stage included in the channel response.
#include <cmath>

#include "model/ConfigurationModel.h"

namespace gc::bench {

// A Hamming-windowed sinc of `count` integer taps scaled to about 2^15.
template <typename Array>
void fillLowPass(Array& taps, int count, double cutoff) {
    constexpr double pi = 3.141592653589793;
    const double c = (count - 1) / 2.0;
    for (int j = 0; j < count; ++j) {
        const double t = j - c;
        const double sinc = t == 0 ? 2 * cutoff : std::sin(2 * pi * cutoff * t) / (pi * t);
        const double win = 0.54 - 0.46 * std::cos(2 * pi * j / (count - 1));
        taps[static_cast<size_t>(j)] = static_cast<int>(std::lround(32768.0 * sinc * win));
    }
}

inline gc::model::ConfigurationModel worstCaseModel() {
    gc::model::ConfigurationModel m;
    for (int ch = 0; ch < gc::model::kChannelCount; ++ch) {
        fillLowPass(m.CfirTaps[static_cast<size_t>(ch)], gc::model::kCfirTapCount, 0.22);
        fillLowPass(m.PfirTaps[static_cast<size_t>(ch)], gc::model::kPfirTapCount, 0.2);
    }
    fillLowPass(m.ResamplerTaps, gc::model::kResamplerTapMax, 1.0 / 128);
    m.Work.ResamplerTapCount = gc::model::kResamplerTapMax;
    m.Work.Ndelay = 64;
    m.Work.CurrentDecimation = 64;
    return m;
}

}  // namespace gc::bench
