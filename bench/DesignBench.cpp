// Filter design timings: one whole-chain design of the CFIR and PFIR, the most attenuation at
// a ripple (--best), every row of the public requirement table (the attenuation reached is
// reported as the counter "stop_dB", the row's figure to reach as "goal_dB"), and a 512-tap
// resampler prototype. Run from a Release build: ./gc_bench --benchmark_filter=Design
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "analysis/ChannelMeasure.h"
#include "design/ChannelDesign.h"
#include "design/ResamplerDesign.h"
#include "filters/FilterTables.h"

namespace {

// The `gc4016-cli init` channel with Decimation and mode changed: clock 100 MHz, res_8x64_60
// at 64 phases, the output at 2^mode C / (4 D).
gc::analysis::ChainSpec benchChain(int decimation, int mode = 0) {
    gc::analysis::ChainSpec c;
    c.clockHz = 100e6;
    c.decimation = decimation;
    c.mode = mode;
    const auto& set = gc::filters::resamplerLibrary()[3];  // res_8x64_60
    for (int i = 0; i < set.tapCount; ++i)
        c.resamplerTaps.push_back(set.taps[i < set.tapCount / 2 ? i : set.tapCount - 1 - i]);
    c.ndelay = 64;
    c.outputRateHz = std::ldexp(1.0, mode) * c.clockHz / (4.0 * decimation);
    return c;
}

// A wide pass band (0.4 of the output rate, the resampler's droop made up) at 75 dB.
void BM_DesignCfirPfir(benchmark::State& state) {
    const auto chain = benchChain(static_cast<int>(state.range(0)));
    gc::analysis::Requirement req;
    req.passbandHz = 0.4 * chain.outputRateHz;
    req.rippleMaxDb = 0.1;
    req.stopbandMinDb = 75.0;
    double reached = 0.0;
    for (auto _ : state) {
        const auto d = gc::design::designChannel(chain, req);
        reached = d.measurement.stopbandAttenuationDb;
    }
    state.counters["stop_dB"] = reached;
}
BENCHMARK(BM_DesignCfirPfir)
    ->Arg(8)
    ->Arg(64)
    ->Arg(2048)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The rows h..p: D, mode, Fp/Fo, Fs/Fo, ripple dB, the attenuation a whole-chain joint design
// with integer taps and a 1 dB prefix cap reaches.
struct Row {
    int decimation, mode;
    double pass, stop, ripple, reachable;
};
constexpr Row kRows[] = {
    {8, 0, 0.40, 0.50, 0.10, 83.1},    {2048, 0, 0.40, 0.50, 0.10, 83.1},
    {16, 1, 0.35, 0.50, 0.10, 113.1},  {4096, 1, 0.30, 0.40, 0.05, 73.6},
    {400, 1, 0.20, 0.30, 0.05, 72.7},  {256, 2, 0.25, 0.60, 0.30, 155.1},
    {64, 2, 0.20, 0.50, 0.20, 159.4},  {8, 2, 0.25, 0.60, 0.50, 151.3},
    {4096, 0, 0.45, 0.50, 0.50, 42.8},
};

// Each row asked at its reachable figure less 1 dB (range(1) = 1: with --best, no limit).
void BM_DesignRow(benchmark::State& state) {
    const Row& r = kRows[state.range(0)];
    const auto chain = benchChain(r.decimation, r.mode);
    gc::analysis::Requirement req;
    req.passbandHz = r.pass * chain.outputRateHz;
    req.stopbandHz = r.stop * chain.outputRateHz;
    req.rippleMaxDb = r.ripple;
    req.stopbandMinDb = r.reachable - 1.0;
    gc::design::ChannelDesignOptions options;
    options.best = state.range(1) != 0;
    options.suggestEdge = false;
    double reached = 0.0;
    double ripple = 0.0;
    for (auto _ : state) {
        const auto d = gc::design::designChannel(chain, req, options);
        reached = d.measurement.stopbandAttenuationDb;
        ripple = d.measurement.rippleDb;
    }
    state.SetLabel(std::string(1, static_cast<char>('h' + state.range(0))));
    state.counters["stop_dB"] = reached;
    state.counters["goal_dB"] = r.reachable - 1.0;
    state.counters["ripple_dB"] = ripple;
}
BENCHMARK(BM_DesignRow)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6, 7, 8}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

void BM_DesignResamplerPrototype512(benchmark::State& state) {
    gc::design::ResamplerRequest rq;
    rq.multiplies = 8;
    rq.phases = 64;
    rq.passEdge = 0.273 / 64;
    rq.stopEdge = 0.727 / 64;
    rq.stopbandDb = 70.0;
    for (auto _ : state) {
        const auto p = gc::design::designResamplerPrototype(rq);
        benchmark::DoNotOptimize(p.stopbandDb);
    }
}
BENCHMARK(BM_DesignResamplerPrototype512)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
