// Timings of the channel model: the front end (input word, NCO, mixer, CIC integrators,
// decimation, combs) at a large decimation, where the stages after the CIC see few samples,
// and the whole chain at a small one. Items are input samples; compare with the straight numpy
// implementation of the same chain in bench/sim_reference.py.
#include <benchmark/benchmark.h>

#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "chip/OutputMode.h"
#include "chip/ProgramFile.h"
#include "chip/RegisterImage.h"
#include "filters/TapSelection.h"
#include "model/ConfigurationModel.h"
#include "sim/ChannelModel.h"

namespace {

// Mode 0, clock 100 MHz, NCO 10 MHz, cfir_68, pfir_68, the given resampler set (0 bypass,
// 3 res_8x64_60), interpolation 1; D^5 2^(shift+scale+6 bigScale-62) <= 1.
std::string benchProgram(int decimation, int shift, int scale, int bigScale, int resampler) {
    gc::model::ConfigurationModel m;
    gc::chip::RegisterImage image;
    m.Work.ActiveMask = 15;
    m.Chip.Fc = {10000000, 10000000, 10000000, 10000000};
    for (int k = 0; k < 4; ++k) {
        auto& ch = m.Channels[static_cast<std::size_t>(k)];
        ch.Decimation = decimation;
        ch.Shift = shift;
        ch.Scale = scale;
        ch.BigScale = bigScale;
        m.Work.CfirSelection[static_cast<std::size_t>(k)] = 3;
        m.Work.PfirSelection[static_cast<std::size_t>(k)] = 3;
        gc::filters::ApplyCfirSelectionFor(m, k, gc::filters::TapSource::Table);
        gc::filters::ApplyPfirSelectionFor(m, k, gc::filters::TapSource::Table);
    }
    m.Work.RfirSelection = resampler;
    m.Chip.FinalShift = resampler == 0 ? 5 : 2;
    gc::filters::ApplyResamplerSelection(m, image, gc::filters::TapSource::Table);
    gc::chip::applyOutputMode(image, 0, 0, 0, 4);
    gc::chip::buildRegisterImage(m, image);
    return gc::chip::programFileText(m, image);
}

std::vector<std::complex<float>> benchTone(std::size_t n) {
    std::vector<std::complex<float>> x(n);
    for (std::size_t k = 0; k < n; ++k)
        x[k] = {static_cast<float>(0.5 * std::cos(0.6283 * static_cast<double>(k) + 0.1)), 0.0f};
    return x;
}

void runModel(benchmark::State& state, const std::string& program) {
    auto model = gc::sim::ChannelModel::fromProgramFile(program, 0);
    const auto x = benchTone(1 << 20);
    std::vector<std::complex<float>> y;
    for (auto _ : state) {
        y.clear();
        model.process(x.data(), x.size(), y);
        benchmark::DoNotOptimize(y.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(x.size()));
}

// D = 256 (shift 7, scale 5, bigScale 1: 2^40 * 2^-44): the front end is nearly all of it.
void BM_Sim_CicFrontEnd(benchmark::State& state) { runModel(state, benchProgram(256, 7, 5, 1, 0)); }
BENCHMARK(BM_Sim_CicFrontEnd)->Unit(benchmark::kMillisecond);

// D = 2048: the 128-bit integrators.
void BM_Sim_CicFrontEndWide(benchmark::State& state) {
    runModel(state, benchProgram(2048, 7, 0, 0, 0));
}
BENCHMARK(BM_Sim_CicFrontEndWide)->Unit(benchmark::kMillisecond);

// D = 8 (unity CIC) with res_8x64_60: the whole chain; the reference script's default case.
void BM_Sim_WholeChannel(benchmark::State& state) { runModel(state, benchProgram(8, 4, 1, 7, 3)); }
BENCHMARK(BM_Sim_WholeChannel)->Unit(benchmark::kMillisecond);

// The same with the model's loops held to AVX2, as on a processor without AVX-512.
void BM_Sim_WholeChannelAvx2(benchmark::State& state) {
    gc::sim::setVectorLoopsForTesting(gc::sim::VectorLoops::Avx2);
    runModel(state, benchProgram(8, 4, 1, 7, 3));
    gc::sim::setVectorLoopsForTesting(gc::sim::VectorLoops::Best);
}
BENCHMARK(BM_Sim_WholeChannelAvx2)->Unit(benchmark::kMillisecond);

// D = 64 (shift 2, bigScale 5: 2^30 * 2^-30) with res_8x64_60: the whole chain at the
// decimation the reference script is usually timed at.
void BM_Sim_WholeChannel64(benchmark::State& state) {
    runModel(state, benchProgram(64, 2, 0, 5, 3));
}
BENCHMARK(BM_Sim_WholeChannel64)->Unit(benchmark::kMillisecond);

}  // namespace
