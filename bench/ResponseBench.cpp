// Timings of the channel response: the plain sums (one sine and cosine per tap and point) and
// the arithmetic the program uses, on the worst case of a 512-tap resampler.
#include <benchmark/benchmark.h>

#include "BenchModel.h"
#include "ReferenceResponse.h"
#include "response/Response.h"

namespace {

using gc::response::ResponseArrays;

void BM_ChannelResponse512_Direct(benchmark::State& state) {
    const auto model = gc::bench::worstCaseModel();
    ResponseArrays arrays;
    for (auto _ : state) {
        gc::reference::channelResponse(model, static_cast<int>(state.range(0)), arrays);
        benchmark::DoNotOptimize(arrays.ChannelResponse.data());
    }
}
BENCHMARK(BM_ChannelResponse512_Direct)->Arg(1)->Arg(64)->Unit(benchmark::kMicrosecond);

void BM_ChannelResponse512_Fast(benchmark::State& state) {
    const auto model = gc::bench::worstCaseModel();
    ResponseArrays arrays;
    for (auto _ : state) {
        gc::response::ComputeChannelResponse(model, static_cast<int>(state.range(0)), arrays);
        benchmark::DoNotOptimize(arrays.ChannelResponse.data());
    }
}
BENCHMARK(BM_ChannelResponse512_Fast)->Arg(1)->Arg(64)->Unit(benchmark::kMicrosecond);

void BM_FirResponse512_Fast(benchmark::State& state) {
    const auto model = gc::bench::worstCaseModel();
    gc::response::ResponseArray out{};
    for (auto _ : state) {
        gc::response::ComputeFirResponse(model.ResamplerTaps.data(), 512, 0.01, 0, 1, out);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_FirResponse512_Fast)->Unit(benchmark::kMicrosecond);

void BM_CicResponse(benchmark::State& state) {
    gc::response::ResponseArray out{};
    for (auto _ : state) {
        gc::response::ComputeCicResponse(64, 1, out);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_CicResponse)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
