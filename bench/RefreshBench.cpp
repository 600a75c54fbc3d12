// The full refresh after the user types a decimation into Edit1 and presses Enter: collect,
// recalculate, the CIC table, the open stage windows and the channel plot, then one paint of
// the channel plot (and of the open CIC window) onto a rasterising canvas.
#include <benchmark/benchmark.h>

#include "BenchModel.h"
#include "RasterCanvas.h"
#include "SilentUi.h"
#include "app/ChannelPlotPresenter.h"
#include "app/MainPresenter.h"
#include "app/MainState.h"
#include "app/Session.h"
#include "app/StageViewPresenter.h"

namespace {

// Edit1 + Enter alternating between two decimations, so every refresh changes the model.
void refreshAfterEdit1(benchmark::State& st, bool cicWindowOpen) {
    gc::app::Session session;
    session.model = gc::bench::worstCaseModel();
    gc::app::MainState state;
    gc::bench::SilentUi ui;
    gc::app::ChannelPlotPresenter plot(session.model, ui);
    gc::app::MainPresenter presenter(session, state, ui, plot);
    gc::app::StageViewPresenter cic(gc::response::StageKind::Cic, session.model, ui);
    presenter.startWithDefaults();
    // The worst case: the full 512-tap resampler in the channel response.
    session.model = gc::bench::worstCaseModel();
    session.open[gc::app::Window::Cic5] = cicWindowOpen;
    gc::bench::RasterCanvas canvas;
    bool odd = false;
    for (auto _ : st) {
        state.Edit1.text = odd ? "100" : "64";
        odd = !odd;
        presenter.onEdit1Enter();
        plot.draw(canvas);
        if (cicWindowOpen) cic.draw(canvas);
        benchmark::DoNotOptimize(canvas);
    }
}

void BM_FullRefreshEdit1Enter(benchmark::State& st) { refreshAfterEdit1(st, false); }
BENCHMARK(BM_FullRefreshEdit1Enter)->Unit(benchmark::kMicrosecond);

void BM_FullRefreshEdit1EnterCicWindowOpen(benchmark::State& st) { refreshAfterEdit1(st, true); }
BENCHMARK(BM_FullRefreshEdit1EnterCicWindowOpen)->Unit(benchmark::kMicrosecond);

}  // namespace
