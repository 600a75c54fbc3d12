// Timings of the requirement figures, the alias curve and the mask inputs as the requirement
// window recomputes them after every change: building the chain's tables, measuring, and A(f)
// on the plot's columns at the stretch that spreads the output band over the whole plot.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "BenchModel.h"
#include "analysis/ChannelMeasure.h"
#include "analysis/RequirementPlot.h"
#include "chip/RegisterImage.h"
#include "filters/TapSelection.h"

namespace {

gc::analysis::ChainSpec benchChain(int decimation) {
    auto model = gc::bench::worstCaseModel();
    model.Work.CurrentDecimation = decimation;
    model.Derived.OutputRate = static_cast<int>(100e6 / decimation * 0.25);
    return gc::analysis::chainFromModel(model);
}

// The stretch at which Fo/2 falls on the plot's last columns (mode 0: S = D).
int fullStretch(int decimation) { return std::min(decimation, 4096); }

void BM_Requirement_All(benchmark::State& state) {
    const int d = static_cast<int>(state.range(0));
    const gc::analysis::ChainSpec spec = benchChain(d);
    gc::analysis::Requirement req;
    req.passbandHz = 0.4 * spec.outputRateHz / 2;
    req.rippleMaxDb = 1.0;
    req.stopbandMinDb = 80.0;
    req.aliasRejectionMinDb = 80.0;
    for (auto _ : state) {
        const gc::analysis::ChannelChain chain(spec);
        const auto m = gc::analysis::measure(chain, req);
        const auto curve = gc::analysis::aliasCurve(chain, fullStretch(d));
        benchmark::DoNotOptimize(m.aliasRejectionDb);
        benchmark::DoNotOptimize(curve.values.data());
    }
}
BENCHMARK(BM_Requirement_All)->Arg(64)->Arg(4096)->Unit(benchmark::kMillisecond)->Repetitions(5);

// The start-up channel's built-in sets: cfir_68, pfir_gsm, res_8x64_60 (64 phases).
void BM_Requirement_LibraryTaps(benchmark::State& state) {
    const int d = static_cast<int>(state.range(0));
    gc::model::ConfigurationModel model;
    gc::chip::RegisterImage image;
    gc::filters::ApplyCfirSelection(model, gc::filters::TapSource::Table);
    gc::filters::ApplyPfirSelection(model, gc::filters::TapSource::Table);
    gc::filters::ApplyResamplerSelection(model, image, gc::filters::TapSource::Table);
    model.Work.CurrentDecimation = d;
    model.Derived.OutputRate = static_cast<int>(100e6 / d * 0.25);
    const gc::analysis::ChainSpec spec = gc::analysis::chainFromModel(model);
    gc::analysis::Requirement req;
    req.passbandHz = 0.4 * spec.outputRateHz / 2;
    req.rippleMaxDb = 1.0;
    req.stopbandMinDb = 80.0;
    req.aliasRejectionMinDb = 80.0;
    for (auto _ : state) {
        const gc::analysis::ChannelChain chain(spec);
        const auto m = gc::analysis::measure(chain, req);
        const auto curve = gc::analysis::aliasCurve(chain, fullStretch(d));
        benchmark::DoNotOptimize(m.aliasRejectionDb);
        benchmark::DoNotOptimize(curve.values.data());
    }
}
BENCHMARK(BM_Requirement_LibraryTaps)
    ->Arg(64)
    ->Arg(4096)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_Requirement_Measure(benchmark::State& state) {
    const gc::analysis::ChainSpec spec = benchChain(static_cast<int>(state.range(0)));
    gc::analysis::Requirement req;
    req.passbandHz = 0.4 * spec.outputRateHz / 2;
    for (auto _ : state) {
        const gc::analysis::ChannelChain chain(spec);
        benchmark::DoNotOptimize(gc::analysis::measure(chain, req).rippleDb);
    }
}
BENCHMARK(BM_Requirement_Measure)->Arg(64)->Arg(4096)->Unit(benchmark::kMillisecond);

void BM_Requirement_Tables(benchmark::State& state) {
    const gc::analysis::ChainSpec spec = benchChain(64);
    for (auto _ : state) {
        const gc::analysis::ChannelChain chain(spec);
        benchmark::DoNotOptimize(chain.leafWidthHz());
    }
}
BENCHMARK(BM_Requirement_Tables)->Unit(benchmark::kMillisecond);

void BM_Requirement_AliasCurve(benchmark::State& state) {
    const int d = static_cast<int>(state.range(0));
    const gc::analysis::ChannelChain chain(benchChain(d));
    for (auto _ : state) {
        const auto curve = gc::analysis::aliasCurve(chain, fullStretch(d));
        benchmark::DoNotOptimize(curve.values.data());
    }
}
BENCHMARK(BM_Requirement_AliasCurve)->Arg(64)->Arg(4096)->Unit(benchmark::kMillisecond);

}  // namespace
