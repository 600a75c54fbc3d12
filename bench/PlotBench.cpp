// Timings of what one repaint costs: the main plot from its arrays, and the stage windows,
// which recompute on every draw. Everything draws onto the software RasterCanvas, so the
// figures include putting the pixels down.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "BenchModel.h"
#include "RasterCanvas.h"
#include "ReferenceResponse.h"
#include "SilentUi.h"
#include "app/ChannelPlotPresenter.h"
#include "response/ChannelPlot.h"
#include "response/PlotDrawing.h"
#include "response/StageView.h"

namespace {

using namespace gc::response;

// One paint of the main plot with a cursor set (what a cursor drag costs per mouse move).
void BM_DrawChannelPlot(benchmark::State& state) {
    const auto model = gc::bench::worstCaseModel();
    ResponseArrays arrays;
    ComputeChannelResponse(model, 1, arrays);
    ChannelPlotState plot;
    plot.CursorX = 100;
    ChannelPlotLabels labels;
    gc::bench::RasterCanvas canvas;
    for (auto _ : state) {
        DrawChannelPlot(canvas, model, arrays.ChannelResponse, plot, labels);
        benchmark::DoNotOptimize(labels.Panel16.data());
    }
}
BENCHMARK(BM_DrawChannelPlot)->Unit(benchmark::kMicrosecond);

// A cursor drag step through the presenter: the mouse move handler and the paint after it.
void BM_ChannelPlotDragStep(benchmark::State& state) {
    const auto model = gc::bench::worstCaseModel();
    gc::bench::SilentUi ui;
    gc::app::ChannelPlotPresenter presenter(model, ui);
    presenter.refreshChannelPlot();
    presenter.onCICPBoxMouseDown(gc::app::MouseButton::Right, 10, 10);
    gc::bench::RasterCanvas canvas;
    int x = 0;
    for (auto _ : state) {
        presenter.onCICPBoxMouseMove(x, 10);
        presenter.draw(canvas);
        x = (x + 7) % 256;
    }
}
BENCHMARK(BM_ChannelPlotDragStep)->Unit(benchmark::kMicrosecond);

// The CIC window's alias view at decimation D, computed and drawn as the window does.
void BM_CicAliasView_Fast(benchmark::State& state) {
    auto model = gc::bench::worstCaseModel();
    model.Work.CurrentDecimation = static_cast<int>(state.range(0));
    StageViewState view;
    view.Alias = 1;
    view.CursorX = 100;
    view.CursorY = 40;
    StageViewArrays arrays;
    StageViewLabels labels;
    gc::bench::RasterCanvas canvas;
    for (auto _ : state) {
        DrawStageView(canvas, StageKind::Cic, model, view, arrays, labels);
        benchmark::DoNotOptimize(arrays.Segment.data());
    }
}
BENCHMARK(BM_CicAliasView_Fast)->Arg(64)->Arg(4096)->Unit(benchmark::kMillisecond);

// The same view the plain way: two sines per point and every curve drawn in full.
void BM_CicAliasView_Direct(benchmark::State& state) {
    const int d = static_cast<int>(state.range(0));
    ResponseArray segment{};
    gc::bench::RasterCanvas canvas;
    for (auto _ : state) {
        drawPlotGrid(canvas);
        canvas.setPen(kRed, 1, PenStyle::Solid);
        double peak = 0.0;
        for (int m = 0; m < d; ++m) {
            gc::reference::cicSegment(d, m * PlotPoints, segment);
            if (m == 0) peak = ResponsePeak(segment);
            if (m % 2) std::reverse(segment.begin(), segment.end());
            canvas.moveTo(0, ResponseRow(segment[0], peak, 1));
            for (int k = 1; k < PlotPoints; ++k) canvas.lineTo(k, ResponseRow(segment[k], peak, 1));
        }
        benchmark::DoNotOptimize(segment.data());
    }
}
BENCHMARK(BM_CicAliasView_Direct)->Arg(64)->Arg(4096)->Unit(benchmark::kMillisecond);

// The stage windows' normal views: the resampler window recomputes its 512 taps per draw.
void BM_StageViewNormal(benchmark::State& state) {
    const auto model = gc::bench::worstCaseModel();
    const auto kind = static_cast<StageKind>(state.range(0));
    StageViewState view;
    view.CursorX = 100;
    StageViewArrays arrays;
    StageViewLabels labels;
    gc::bench::RasterCanvas canvas;
    for (auto _ : state) {
        DrawStageView(canvas, kind, model, view, arrays, labels);
        benchmark::DoNotOptimize(arrays.Response.data());
    }
}
BENCHMARK(BM_StageViewNormal)
    ->Arg(static_cast<int>(StageKind::Cic))
    ->Arg(static_cast<int>(StageKind::Cfir))
    ->Arg(static_cast<int>(StageKind::Pfir))
    ->Arg(static_cast<int>(StageKind::Resamp))
    ->Unit(benchmark::kMicrosecond);

}  // namespace
