#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "BenchModel.h"
#include "RasterCanvas.h"
#include "app/StageViewPresenter.h"
#include "model/Numeric.h"
#include "response/PlotDrawing.h"
#include "response/RecordingCanvas.h"
#include "response/RecordingUiPort.h"
#include "response/StageView.h"

namespace gc::response {
namespace {

using gc::app::MouseButton;
using gc::app::StageViewPresenter;
using gc::testing::RecordingCanvas;
using gc::testing::RecordingUiPort;

using Labels4 = std::array<std::string, 4>;

struct View {
    StageViewState state;
    StageViewArrays arrays;
    StageViewLabels labels;
    RecordingCanvas canvas;
};

View draw(StageKind kind, const gc::model::ConfigurationModel& m, StageViewState state = {}) {
    View v;
    v.state = state;
    DrawStageView(v.canvas, kind, m, v.state, v.arrays, v.labels);
    return v;
}

int markerOf(const View& v) {
    const auto red = v.canvas.linesIn(kRed);
    return red.empty() ? -99999 : red.back().x0;
}

TEST(StageView, NormalViewLabelsAndMarkers) {
    auto m = gc::bench::worstCaseModel();  // 100 MHz, D = 64, mode 0, 64 phases
    View v = draw(StageKind::Cfir, m);
    // Fin 1.5625 MHz: the ticks in kHz, where MHz would read 0.195 .. 0.781.
    EXPECT_EQ(v.labels.bottom, (Labels4{"195.313", "390.625", "585.938", "781.250"}));
    EXPECT_EQ(v.labels.unit, "kHz");
    EXPECT_EQ(v.labels.top, (Labels4{"8", "4", "8", "2"}));
    EXPECT_EQ(v.labels.Label17, "F/Fsinp");
    EXPECT_EQ(v.labels.Panel1, "1");
    EXPECT_EQ(markerOf(v), 128);
    // The curve is the CFIR response against its own input rate, black on the grid.
    ResponseArray expected{};
    ComputeFirResponse(m.CfirTaps[0].data(), 21, kPi / 256, 0, 1, expected);
    EXPECT_EQ(v.arrays.Response, expected);
    const auto black = v.canvas.linesIn(kBlack);
    ASSERT_EQ(black.size(), 8u + 255u);
    EXPECT_EQ(black[8 + 99].y1, ResponseRow(expected[100], ResponsePeak(expected), 1));

    StageViewState s2;
    s2.Stretch = 2;
    v = draw(StageKind::Cfir, m, s2);
    EXPECT_EQ(markerOf(v), 256);  // just outside the plot
    EXPECT_EQ(v.labels.top, (Labels4{"16", "8", "16", "4"}));
    EXPECT_EQ(v.labels.Panel1, "2");

    EXPECT_EQ(markerOf(draw(StageKind::Pfir, m)), 128);
    EXPECT_EQ(draw(StageKind::Pfir, m).labels.bottom,
              (Labels4{"97.656", "195.313", "292.969", "390.625"}));
    EXPECT_EQ(markerOf(draw(StageKind::Resamp, m)), 4);  // 256 * 1.0 / 64
    // Resampler prototype rate: 64 * 100 MHz / 256 = 25 MHz.
    EXPECT_EQ(draw(StageKind::Resamp, m).labels.bottom,
              (Labels4{"3.125", "6.250", "9.375", "12.500"}));

    // One-channel mode: the CFIR input rate doubles and its marker is at 255; PFIR's at 256.
    m.Chip.ModeOfDdc = 2;
    v = draw(StageKind::Cfir, m);
    EXPECT_EQ(v.labels.bottom, (Labels4{"0.391", "0.781", "1.172", "1.563"}));
    EXPECT_EQ(markerOf(v), 255);
    EXPECT_EQ(markerOf(draw(StageKind::Pfir, m)), 256);
    EXPECT_EQ(markerOf(draw(StageKind::Resamp, m)), 8);
    m.Chip.ModeOfDdc = 9;  // outside 0..2: as mode 0
    EXPECT_EQ(markerOf(draw(StageKind::Cfir, m)), 128);
    m.Chip.ModeOfDdc = 0;

    // CIC: against the clock; marker (S * 256) / D.
    v = draw(StageKind::Cic, m);
    EXPECT_EQ(markerOf(v), 4);
    EXPECT_EQ(v.labels.bottom, (Labels4{"12.500", "25.000", "37.500", "50.000"}));
    StageViewState s512;
    s512.Stretch = 512;
    v = draw(StageKind::Cic, m, s512);
    EXPECT_EQ(markerOf(v), 2048);
    EXPECT_EQ(v.labels.bottom, (Labels4{"24.414", "48.828", "73.242", "97.656"}));
    ComputeCicResponse(64, 512, expected);
    EXPECT_EQ(v.arrays.Response, expected);

    const auto& cic = stageTraits(StageKind::Cic);
    EXPECT_EQ(cic.stretchMax, 512);
    EXPECT_EQ(std::string(cic.topLabels[0]), "Label19");
    EXPECT_EQ(std::string(cic.bottomLabels[0]), "Label14");
    EXPECT_FALSE(cic.closingClearsOpenFlag);
    EXPECT_EQ(std::string(stageTraits(StageKind::Resamp).topLabels[3]), "Label15");
    EXPECT_EQ(stageTraits(StageKind::Resamp).stretchMax, 32);
    EXPECT_EQ(stageTraits(StageKind::Pfir).stretchMax, 2);
}

TEST(StageView, CursorReadOutsAndDrawingOrder) {
    const auto m = gc::bench::worstCaseModel();
    View v;
    v.state.CursorX = 128;
    v.state.CursorY = 7;
    DrawStageView(v.canvas, StageKind::Cfir, m, v.state, v.arrays, v.labels);
    const float level = cursorLevel(v.arrays.Response[128], ResponsePeak(v.arrays.Response));
    EXPECT_EQ(v.state.CursorY, cursorRow(level, 1));
    EXPECT_EQ(v.labels.Panel3, "0.3906");  // 1.5625 MHz / 2 * 128 / 256
    EXPECT_EQ(v.labels.Panel4, gc::model::formatFixed(level, 5, 2));
    // Marker under the cursor lines; the cursor lines last.
    const auto& l = v.canvas.lines;
    EXPECT_TRUE(l[l.size() - 3].colour == kRed);
    EXPECT_TRUE(l.back().colour == RecordingCanvas::kCaption);
    EXPECT_EQ(l.back().y0, v.state.CursorY);
    EXPECT_EQ(l[l.size() - 2].x0, 128);

    // PFIR: 3 decimals, 5 digits. Resampler: marker over the cursor lines.
    View p;
    p.state.CursorX = 128;
    DrawStageView(p.canvas, StageKind::Pfir, m, p.state, p.arrays, p.labels);
    EXPECT_EQ(p.labels.Panel3, "0.195");
    View r;
    r.state.CursorX = 64;
    DrawStageView(r.canvas, StageKind::Resamp, m, r.state, r.arrays, r.labels);
    EXPECT_TRUE(r.canvas.lines.back().colour == kRed);
    EXPECT_EQ(r.labels.Panel3, "3.1250");  // 25 MHz / 2 * 64 / 256

    // No cursor: empty read-outs, the lines drawn at -1 (off the plot).
    View n = draw(StageKind::Cfir, m);
    EXPECT_EQ(n.labels.Panel3, "");
    EXPECT_EQ(n.labels.Panel4, "");
    EXPECT_EQ(n.canvas.lines.back().y0, -1);
    // A column outside the plot is bounded before it indexes the response.
    View o;
    o.state.CursorX = 5000;
    DrawStageView(o.canvas, StageKind::Cfir, m, o.state, o.arrays, o.labels);
    EXPECT_EQ(o.labels.Panel3, "0.7782");  // column 255
}

TEST(StageView, FirAliasViews) {
    const auto m = gc::bench::worstCaseModel();
    StageViewState s;
    s.Alias = 1;
    s.Stretch = 2;  // ignored by the alias view
    View v = draw(StageKind::Cfir, m, s);
    EXPECT_EQ(v.labels.Label17, "F/Fsout");
    EXPECT_EQ(v.labels.top, (Labels4{"8", "4", "8", "2"}));
    EXPECT_EQ(v.labels.Panel1, "1");
    EXPECT_EQ(v.labels.bottom,
              (Labels4{"97.656", "195.313", "292.969", "390.625"}));  // Fout 781.25 kHz
    // Pass band and the mirrored aliased band in red against the pass band's peak; no marker.
    ResponseArray pass{}, aliased{};
    ComputeFirResponse(m.CfirTaps[0].data(), 21, kPi / 256, 0, 2, pass);
    ComputeFirResponse(m.CfirTaps[0].data(), 21, kPi / 256, 256, 2, aliased);
    const double peak = ResponsePeak(pass);
    const auto red = v.canvas.linesIn(kRed);
    ASSERT_EQ(red.size(), 510u);
    EXPECT_EQ(red[0].y0, ResponseRow(pass[0], peak, 1));
    EXPECT_EQ(red[254].y1, ResponseRow(pass[255], peak, 1));
    EXPECT_EQ(red[255].x0, 0);
    EXPECT_EQ(red[255].y0, ResponseRow(aliased[255], peak, 1));
    EXPECT_EQ(red[255].y1, ResponseRow(aliased[254], peak, 1));
    EXPECT_EQ(red[509].y1, ResponseRow(aliased[0], peak, 1));
    // The stretch does not change the picture.
    s.Stretch = 1;
    const View v1 = draw(StageKind::Cfir, m, s);
    ASSERT_EQ(v1.canvas.lines.size(), v.canvas.lines.size());
    for (size_t i = 0; i < v.canvas.lines.size(); ++i) {
        ASSERT_EQ(v1.canvas.lines[i].x0, v.canvas.lines[i].x0);
        ASSERT_EQ(v1.canvas.lines[i].y1, v.canvas.lines[i].y1);
    }
    // The cursor stays where the mouse put it; its level is read off the row.
    s.CursorX = 100;
    s.CursorY = 40;
    v = draw(StageKind::Cfir, m, s);
    EXPECT_EQ(v.state.CursorY, 40);
    EXPECT_EQ(v.labels.Panel4, "-20.00");
    EXPECT_EQ(v.labels.Panel3, "0.1526");  // 0.78125 / 2 * 100 / 256
    EXPECT_EQ(v.canvas.lines.back().y0, 40);
    // PFIR alias: its cursor frequency has 3 decimals.
    v = draw(StageKind::Pfir, m, s);
    EXPECT_EQ(v.labels.Panel3, "0.076");
    EXPECT_EQ(v.labels.Panel4, "-20.00");
    // The resampler has no alias view: the flag changes nothing there.
    v = draw(StageKind::Resamp, m, s);
    EXPECT_EQ(v.labels.Label17, "F/Fsinp");
}

// The CIC alias view drawn plainly: every segment, every point.
gc::bench::RasterCanvas plainCicAlias(int d) {
    gc::bench::RasterCanvas c;
    drawPlotGrid(c);
    c.setPen(kRed, 1, PenStyle::Solid);
    const CicSegmentTable table(d);
    ResponseArray seg{};
    double peak = 0;
    for (int mm = 0; mm < d; ++mm) {
        table.segment(mm * PlotPoints, seg);
        if (mm == 0) peak = ResponsePeak(seg);
        if (mm % 2) std::reverse(seg.begin(), seg.end());
        c.moveTo(0, ResponseRow(seg[0], peak, 1));
        for (int k = 1; k < PlotPoints; ++k) c.lineTo(k, ResponseRow(seg[k], peak, 1));
    }
    c.setPen(c.activeCaptionColour(), 1, PenStyle::Solid);
    c.moveTo(-1, 0);
    c.lineTo(-1, 240);
    c.moveTo(0, -1);
    c.lineTo(256, -1);
    return c;
}

TEST(StageView, CicAliasView) {
    auto m = gc::bench::worstCaseModel();
    StageViewState s;
    s.Alias = 1;
    // D = 2: two segments, the second mirrored, both against the first one's peak.
    m.Work.CurrentDecimation = 2;
    View v = draw(StageKind::Cic, m, s);
    EXPECT_EQ(v.labels.bottom, (Labels4{"6.250", "12.500", "18.750", "25.000"}));  // Fout 50 MHz
    EXPECT_EQ(v.labels.Label17, "F/Fsout");
    ResponseArray s0{}, s1{};
    ComputeCicSegment(2, 0, s0);
    ComputeCicSegment(2, 256, s1);
    const double peak = ResponsePeak(s0);
    std::reverse(s1.begin(), s1.end());
    const auto red = v.canvas.linesIn(kRed);
    for (int k = 1; k < PlotPoints; ++k) ASSERT_EQ(red[k - 1].y1, ResponseRow(s0[k], peak, 1));
    // The second segment ends in the output rate's null (about -400 dB): the pieces lying
    // wholly below the plot are left out, every other piece is there.
    size_t expectedPieces = 255;
    for (size_t i = 255, k = 1; k < PlotPoints; ++k) {
        const int r0 = ResponseRow(s1[k - 1], peak, 1);
        const int r1 = ResponseRow(s1[k], peak, 1);
        if (r0 > 242 && r1 > 242) continue;
        ++expectedPieces;
        ASSERT_LT(i, red.size());
        EXPECT_EQ(red[i].x1, static_cast<int>(k));
        EXPECT_EQ(red[i].y0, r0);
        EXPECT_EQ(red[i].y1, r1);
        ++i;
    }
    EXPECT_EQ(red.size(), expectedPieces);
    EXPECT_LT(red.size(), 510u);
    // Every segment that reaches the plot is drawn; the picture equals drawing all of them.
    for (int d : {2, 3, 64, 4096}) {
        m.Work.CurrentDecimation = d;
        gc::bench::RasterCanvas fast;
        StageViewState st = s;
        StageViewArrays arrays;
        StageViewLabels labels;
        DrawStageView(fast, StageKind::Cic, m, st, arrays, labels);
        EXPECT_TRUE(fast.samePicture(plainCicAlias(d))) << d;
        EXPECT_GT(fast.count(kRed), 400) << d;  // at least the first segment's curve
        EXPECT_EQ(labels.top, (Labels4{"8", "4", "8", "2"}));
    }
    // A cursor at row 40 reads -20 dB whatever the curves.
    s.CursorX = 128;
    s.CursorY = 40;
    v = draw(StageKind::Cic, m, s);
    EXPECT_EQ(v.labels.Panel4, "-20.00");
    EXPECT_EQ(v.labels.Panel3, "0.0061");  // 100 MHz / 4096 / 2 * 128 / 256
}

TEST(StageViewPresenter, HandlersAndTheirDifferences) {
    const auto m = gc::bench::worstCaseModel();
    RecordingUiPort ui;
    StageViewPresenter cfir(StageKind::Cfir, m, ui);
    EXPECT_EQ(cfir.window(), gc::app::Window::Cfir);
    cfir.onCICPBoxMouseDown(MouseButton::Right, 128, 3);
    EXPECT_EQ(cfir.state().Dragging, 1);
    EXPECT_EQ(cfir.labels().Panel3, "0.3906");
    EXPECT_EQ(ui.refreshes[gc::app::Window::Cfir], 1);
    cfir.onCICPBoxMouseMove(-20, 3);  // a drag off the plot stays on column 0
    EXPECT_EQ(cfir.state().CursorX, 0);
    cfir.onCICPBoxMouseMove(700, 3);
    EXPECT_EQ(cfir.state().CursorX, 255);
    cfir.onButton6Click();  // ">" at 255
    EXPECT_EQ(cfir.state().CursorX, 255);
    cfir.onButton5Click();
    EXPECT_EQ(cfir.state().CursorX, 254);
    cfir.onCICPBoxMouseUp(MouseButton::Right, 0, 0);
    EXPECT_EQ(cfir.state().Dragging, 0);
    cfir.onCICPBoxMouseMove(10, 10);  // not dragging: nothing
    EXPECT_EQ(cfir.state().CursorX, 254);
    cfir.onCICPBoxMouseDown(MouseButton::Left, 10, 10);  // the left button does nothing
    EXPECT_EQ(cfir.state().CursorX, 254);
    cfir.onFormMouseUp(MouseButton::Left);  // any button on the background removes the cursor
    EXPECT_EQ(cfir.state().CursorX, -1);
    EXPECT_EQ(cfir.labels().Panel3, "");

    // Stretch: "*2" up to the window's maximum, then nothing at all.
    cfir.onButton1Click();
    EXPECT_EQ(cfir.state().Stretch, 2);
    int before = ui.refreshes[gc::app::Window::Cfir];
    cfir.onButton1Click();
    EXPECT_EQ(cfir.state().Stretch, 2);
    EXPECT_EQ(ui.refreshes[gc::app::Window::Cfir], before);
    cfir.onButton4Click();
    EXPECT_EQ(cfir.state().Stretch, 1);
    before = ui.refreshes[gc::app::Window::Cfir];
    cfir.onButton2Click();
    EXPECT_EQ(ui.refreshes[gc::app::Window::Cfir], before);
    // Alias on: "*2" changes the stretch, the view still shows 1.
    cfir.onCheckBox1Click(true);
    cfir.onButton1Click();
    EXPECT_EQ(cfir.state().Stretch, 2);
    EXPECT_EQ(cfir.labels().Panel1, "1");
    EXPECT_EQ(cfir.labels().top, (Labels4{"8", "4", "8", "2"}));
    cfir.onCheckBox1Click(false);
    EXPECT_EQ(cfir.labels().Panel1, "2");

    StageViewPresenter cic(StageKind::Cic, m, ui);
    for (int i = 0; i < 9; ++i) cic.onButton1Click();
    EXPECT_EQ(cic.state().Stretch, 512);
    cic.onButton2Click();
    EXPECT_EQ(cic.state().Stretch, 256);
    cic.onButton3Click();
    EXPECT_EQ(cic.state().Stretch, 512);
    EXPECT_EQ(ui.refreshes[gc::app::Window::Cic5], 11);

    // The resampler window: no alias, "max" is 32, a release on the background keeps the
    // cursor, one on the frame removes it.
    StageViewPresenter res(StageKind::Resamp, m, ui);
    res.onCheckBox1Click(true);
    EXPECT_EQ(res.state().Alias, 0);
    res.onButton3Click();
    EXPECT_EQ(res.state().Stretch, 32);
    res.onCICPBoxMouseDown(MouseButton::Right, 30, 30);
    res.onFormMouseUp(MouseButton::Right);
    EXPECT_EQ(res.state().CursorX, 30);
    EXPECT_EQ(res.state().Dragging, 1);
    res.onPanel2MouseUp(MouseButton::Middle);
    EXPECT_EQ(res.state().CursorX, -1);
    EXPECT_EQ(res.state().Dragging, 0);
    EXPECT_EQ(res.labels().Panel4, "");

    // Painting recomputes from the model every time.
    auto changed = m;
    StageViewPresenter pfir(StageKind::Pfir, changed, ui);
    RecordingCanvas c1;
    pfir.draw(c1);
    changed.PfirTaps[0].fill(0);
    changed.PfirTaps[0][31] = 5;
    RecordingCanvas c2;
    pfir.draw(c2);
    for (double v : pfir.arrays().Response) ASSERT_NEAR(v, 5.0, 1e-12);
}

}  // namespace
}  // namespace gc::response
