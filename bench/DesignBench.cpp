// Filter design timings: CFIR and PFIR for one requirement, and a 512-tap resampler prototype.
// Run from a Release build: ./gc_bench --benchmark_filter=Design
#include <benchmark/benchmark.h>

#include "analysis/ChannelMeasure.h"
#include "design/ChannelDesign.h"
#include "design/ResamplerDesign.h"
#include "filters/FilterTables.h"

namespace {

gc::analysis::ChainSpec benchChain(int decimation) {
    gc::analysis::ChainSpec c;
    c.clockHz = 100e6;
    c.decimation = decimation;
    const auto& set = gc::filters::resamplerLibrary()[3];  // res_8x64_60
    for (int i = 0; i < set.tapCount; ++i)
        c.resamplerTaps.push_back(set.taps[i < set.tapCount / 2 ? i : set.tapCount - 1 - i]);
    c.ndelay = 64;
    c.outputRateHz = gc::analysis::stageRates(c).resamplerHz / c.ndelay;
    return c;
}

// A wide pass band (0.4 of the output rate, the resampler's droop made up) at 75 dB.
void BM_DesignCfirPfir(benchmark::State& state) {
    const auto chain = benchChain(static_cast<int>(state.range(0)));
    gc::analysis::Requirement req;
    req.passbandHz = 0.4 * chain.outputRateHz;
    req.rippleMaxDb = 0.1;
    req.stopbandMinDb = 75.0;
    for (auto _ : state) {
        const auto d = gc::design::designChannel(chain, req);
        benchmark::DoNotOptimize(d.measurement.stopbandAttenuationDb);
    }
}
BENCHMARK(BM_DesignCfirPfir)
    ->Arg(8)
    ->Arg(64)
    ->Arg(2048)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
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
