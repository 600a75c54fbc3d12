// Whole-chain designs: the reachable attenuation of public requirement rows, the prefix cap,
// integer taps, the goal search and mode 2's edges, each figure checked through plain sums.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "analysis/ChannelMeasure.h"
#include "design/ChannelDesign.h"
#include "filters/FilterTables.h"

namespace {

using gc::analysis::ChainSpec;
using gc::analysis::Requirement;
namespace ds = gc::design;

// The `init` configuration's channel: clock 100 MHz, res_8x64_60 at 64 phases, CoefInterpol 1;
// the output at 2^mode x C / (4 D).
ChainSpec stockChain(int decimation, int mode) {
    ChainSpec c;
    c.clockHz = 100e6;
    c.decimation = decimation;
    c.mode = mode;
    const auto& set = gc::filters::resamplerLibrary()[3];
    for (int i = 0; i < set.tapCount; ++i)
        c.resamplerTaps.push_back(set.taps[i < set.tapCount / 2 ? i : set.tapCount - 1 - i]);
    c.ndelay = 64;
    c.outputRateHz = std::ldexp(1.0, mode) * c.clockHz / (4.0 * decimation);
    return c;
}

struct Row {
    char name;
    int decimation, mode;
    double pass, stop, ripple, reachable;
};
const Row kRows[] = {
    {'h', 8, 0, 0.40, 0.50, 0.10, 83.1},    {'i', 2048, 0, 0.40, 0.50, 0.10, 83.1},
    {'j', 16, 1, 0.35, 0.50, 0.10, 113.1},  {'k', 4096, 1, 0.30, 0.40, 0.05, 73.6},
    {'l', 400, 1, 0.20, 0.30, 0.05, 72.7},  {'m', 256, 2, 0.25, 0.60, 0.30, 155.1},
    {'n', 64, 2, 0.20, 0.50, 0.20, 159.4},  {'o', 8, 2, 0.25, 0.60, 0.50, 151.3},
    {'p', 4096, 0, 0.45, 0.50, 0.50, 42.8},
};

TEST(ChainDesignRows, Print) {
    for (const Row& r : kRows) {
        const ChainSpec chain = stockChain(r.decimation, r.mode);
        Requirement req;
        req.passbandHz = r.pass * chain.outputRateHz;
        req.stopbandHz = r.stop * chain.outputRateHz;
        req.rippleMaxDb = r.ripple;
        req.stopbandMinDb = r.reachable - 1.0;
        ds::ChannelDesignOptions o;
        o.best = std::getenv("BEST") != nullptr;
        const auto t0 = std::chrono::steady_clock::now();
        const ds::ChannelDesign d = ds::designChannel(chain, req, o);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        long long sc = 0, sp = 0;
        for (int v : d.cfirTaps) sc += v;
        for (int v : d.pfirTaps) sp += v;
        std::printf("%c: %.2f dB (want %.1f) ripple %.4f meets %d  %.0f ms sums %lld %lld\n", r.name,
                    d.measurement.stopbandAttenuationDb, r.reachable - 1.0, d.measurement.rippleDb,
                    d.meets, ms, sc, sp);
    }
}

}  // namespace
namespace {
TEST(ChainDesignRows, One) {
    const char* which = std::getenv("ROW");
    for (const Row& r : kRows) {
        if (!which || *which != r.name) continue;
        ChainSpec chain = stockChain(r.decimation, r.mode);
        if (std::getenv("NORES")) chain.stageEnabled[2] = false;
        Requirement req;
        req.passbandHz = r.pass * chain.outputRateHz;
        req.stopbandHz = r.stop * chain.outputRateHz;
        req.rippleMaxDb = r.ripple;
        req.stopbandMinDb = r.reachable - 1.0;
        ds::ChannelDesignOptions o;
        o.best = std::getenv("BEST") != nullptr;
        o.suggestEdge = false;
        const auto t0 = std::chrono::steady_clock::now();
        const ds::ChannelDesign d = ds::designChannel(chain, req, o);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        std::printf("worst at %.4f Fo; ", d.measurement.stopbandWorstHz / chain.outputRateHz);
        for (int v : d.cfirTaps) std::printf("%d ", v);
        std::printf("\n");
        std::printf("%c: %.2f dB (want %.1f) ripple %.4f meets %d  %.0f ms\n", r.name,
                    d.measurement.stopbandAttenuationDb, r.reachable - 1.0, d.measurement.rippleDb,
                    d.meets, ms);
    }
}
}
