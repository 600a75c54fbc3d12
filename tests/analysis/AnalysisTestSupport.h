#pragma once
// Chains built from the built-in library and plain brute-force references for the measurement
// tests: H written out term by term and searched on a very fine grid.
#include <cmath>
#include <complex>
#include <vector>

#include "analysis/ChannelMeasure.h"
#include "filters/FilterTables.h"

namespace gc::analysis::testing {

// The full taps of a built-in set: odd sets mirror about their centre, even ones about the
// innermost pair; the one-tap bypass stays one tap.
inline std::vector<int> fullTaps(const gc::filters::FilterTable& t) {
    std::vector<int> taps(t.taps, t.taps + t.storedCount);
    if (t.tapCount == 1) return taps;
    const bool odd = (t.tapCount % 2) != 0;
    for (int j = t.storedCount - (odd ? 2 : 1); j >= 0; --j) taps.push_back(t.taps[j]);
    return taps;
}

// Mode 0, clock 100 MHz, interpolation 1: Fo = C / (4 D).
inline ChainSpec libraryChain(int decimation, int cfir, int pfir, int resampler, int ndelay = 64) {
    ChainSpec s;
    s.clockHz = 100e6;
    s.decimation = decimation;
    s.mode = 0;
    s.cfirTaps = fullTaps(gc::filters::cfirLibrary()[cfir]);
    s.pfirTaps = fullTaps(gc::filters::pfirLibrary()[pfir]);
    s.resamplerTaps = fullTaps(gc::filters::resamplerLibrary()[resampler]);
    s.ndelay = ndelay;
    s.outputRateHz = static_cast<double>(static_cast<int>(100e6 / decimation * 0.25));
    return s;
}

// H(F) term by term: one complex exponential per tap.
inline double referenceH(const ChainSpec& s, double f) {
    const double pi = 3.141592653589793;
    const double c = s.clockHz;
    const double d = s.decimation;
    double v = (f == 0.0) ? std::pow(d, 5)
                          : std::pow(std::abs(std::sin(pi * d * f / c) / std::sin(pi * f / c)), 5);
    const StageRates r = stageRates(s);
    const std::vector<int>* taps[3] = {&s.cfirTaps, &s.pfirTaps, &s.resamplerTaps};
    const double rates[3] = {r.cfirHz, r.pfirHz, r.resamplerHz};
    for (int st = 0; st < 3; ++st) {
        if (!s.stageEnabled[st]) continue;
        std::complex<double> sum = 0.0;
        for (size_t j = 0; j < taps[st]->size(); ++j)
            sum += static_cast<double>((*taps[st])[j]) *
                   std::polar(1.0, -static_cast<double>(j) * 2.0 * pi * f / rates[st]);
        v *= std::abs(sum);
    }
    return v;
}

inline double db(double ratio) { return 20.0 * std::log10(ratio); }

}  // namespace gc::analysis::testing
