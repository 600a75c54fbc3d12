#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "BenchModel.h"
#include "app/ChannelPlotPresenter.h"
#include "model/Numeric.h"
#include "response/ChannelPlot.h"
#include "response/RecordingCanvas.h"
#include "response/RecordingUiPort.h"

namespace gc::response {
namespace {

using gc::app::ChannelPlotPresenter;
using gc::app::MouseButton;
using gc::testing::RecordingCanvas;
using gc::testing::RecordingUiPort;

TEST(ChannelPlot, StartLabelsAndDrawingOrder) {
    const auto model = gc::bench::worstCaseModel();
    ResponseArrays arrays;
    ComputeChannelResponse(model, 1, arrays);
    ChannelPlotState state;
    ChannelPlotLabels labels;
    EXPECT_EQ(labels.Label38, "F/Fsamp");
    RecordingCanvas canvas;
    DrawChannelPlot(canvas, model, arrays.ChannelResponse, state, labels);

    EXPECT_EQ(labels.Label25, "8");
    EXPECT_EQ(labels.Label43, "4");
    EXPECT_EQ(labels.Label44, "8");
    EXPECT_EQ(labels.Label45, "2");
    EXPECT_EQ(labels.Label34, "12.500");
    EXPECT_EQ(labels.Label35, "25.000");
    EXPECT_EQ(labels.Label36, "37.500");
    EXPECT_EQ(labels.Label37, "50.000");
    EXPECT_EQ(labels.Label11, "-20.0");
    EXPECT_EQ(labels.Label12, "-40.0");
    EXPECT_EQ(labels.Label13, "-60.0");
    EXPECT_EQ(labels.Label17, "-80.0");
    EXPECT_EQ(labels.Label18, "-100.0");
    EXPECT_EQ(labels.Label19, "-120.0");
    EXPECT_EQ(labels.Panel17, "1");
    EXPECT_EQ(labels.Panel18, "1");
    EXPECT_EQ(labels.Panel15, "");
    EXPECT_EQ(labels.Panel16, "");
    EXPECT_EQ(labels.Label38, "F/Fsinp");

    // White background first, then the dotted grid, then a solid black pen for the curve.
    ASSERT_EQ(canvas.fills.size(), 1u);
    EXPECT_EQ(canvas.calls.front(), "fill");
    EXPECT_EQ(canvas.fills[0].w, 256);
    EXPECT_EQ(canvas.fills[0].h, 240);
    EXPECT_TRUE(canvas.fills[0].colour == kWhite);
    const auto& l = canvas.lines;
    ASSERT_EQ(l.size(), 8u + 255u + 1u + 2u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(l[i].style, PenStyle::Dotted);
        EXPECT_EQ(l[i].y0, 40 * (i + 1));
        EXPECT_EQ(l[i].y1, 40 * (i + 1));
        EXPECT_EQ(l[i].x1, 256);
    }
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(l[5 + j].x0, 64 * (j + 1));
        EXPECT_EQ(l[5 + j].y1, 240);
        EXPECT_EQ(l[5 + j].style, PenStyle::Dotted);
    }
    const double peak = ResponsePeak(arrays.ChannelResponse);
    for (int k = 1; k < PlotPoints; ++k) {
        const auto& c = l[7 + k];
        ASSERT_TRUE(c.colour == kBlack && c.style == PenStyle::Solid && c.width == 1);
        ASSERT_EQ(c.x0, k - 1);
        ASSERT_EQ(c.x1, k);
        ASSERT_EQ(c.y0, ResponseRow(arrays.ChannelResponse[k - 1], peak, 1));
        ASSERT_EQ(c.y1, ResponseRow(arrays.ChannelResponse[k], peak, 1));
    }
    EXPECT_EQ(l[8].y0, 0);  // the peak of the channel at DC: row 0
    // Red marker at column 1 (D = 64), then the cursor lines off the plot at -1.
    EXPECT_TRUE(l[263].colour == kRed);
    EXPECT_EQ(l[263].x0, 1);
    EXPECT_EQ(l[263].x1, 1);
    EXPECT_EQ(l[263].y1, 240);
    EXPECT_TRUE(l[264].colour == RecordingCanvas::kCaption);
    EXPECT_EQ(l[264].x0, -1);
    EXPECT_EQ(l[265].y0, -1);
    EXPECT_EQ(l[265].x1, 256);

    // Vertical stretch 4 rewrites the level axis.
    state.StretchY = 4;
    updateChannelPlotLabels(model, arrays.ChannelResponse, state, labels);
    EXPECT_EQ(labels.Label11, "-5.0");
    EXPECT_EQ(labels.Label19, "-30.0");
    EXPECT_EQ(labels.Panel18, "4");
}

TEST(ChannelPlot, OutputBandMarker) {
    gc::model::ConfigurationModel m;
    EXPECT_EQ(channelMarkerColumn(m, 1), 1);  // trunc(256 / 64 * 0.25)
    EXPECT_EQ(channelMarkerColumn(m, 64), 64);
    m.Chip.ModeOfDdc = 2;
    EXPECT_EQ(channelMarkerColumn(m, 1), 4);
    m.Chip.ModeOfDdc = 7;  // outside 0..2: as mode 0
    EXPECT_EQ(channelMarkerColumn(m, 1), 1);
    m.Chip.ModeOfDdc = 1;
    m.Chip.CoefInterpol[0] = 2.5f;
    m.Work.CurrentDecimation = 100;
    EXPECT_EQ(channelMarkerColumn(m, 8), 25);  // 2 * (8 * 2.5 * 256 / 100 * 0.25) = 25.6
    m.Work.CurrentDecimation = 0;  // never produced by the entry; no undefined conversion
    EXPECT_EQ(channelMarkerColumn(m, 1), std::numeric_limits<int>::max());
}

TEST(ChannelPlotPresenter, CursorReadOutsButtonsAndDrags) {
    const auto model = gc::bench::worstCaseModel();
    RecordingUiPort ui;
    ChannelPlotPresenter p(model, ui);
    p.refreshChannelPlot();
    EXPECT_EQ(ui.channelRepaints, 1);

    p.onCICPBoxMouseDown(MouseButton::Right, 128, 77);
    EXPECT_EQ(p.state().CursorX, 128);
    EXPECT_EQ(p.state().Dragging, 1);
    EXPECT_EQ(p.labels().Panel15, "25000.000");
    const auto& ch = p.arrays().ChannelResponse;
    const float level = cursorLevel(ch[128], ResponsePeak(ch));
    EXPECT_EQ(p.labels().Panel16, gc::model::formatFixed(level, 5, 2));
    EXPECT_EQ(p.state().CursorY, cursorRow(level, 1));  // the row follows the curve, not the mouse
    p.onButton28Click();
    EXPECT_EQ(p.labels().Panel15, "25195.310");  // 25195.3125 kept to 7 significant digits
    EXPECT_EQ(p.state().CursorX, 129);
    p.onButton27Click();
    EXPECT_EQ(p.state().CursorX, 128);

    // A drag that leaves the plot keeps the cursor on its edge columns.
    p.onCICPBoxMouseMove(900, 500);
    EXPECT_EQ(p.state().CursorX, 255);
    EXPECT_EQ(p.labels().Panel15, "49804.690");
    int repaints = ui.channelRepaints;
    p.onButton28Click();  // ">" at 255: nothing
    EXPECT_EQ(p.state().CursorX, 255);
    EXPECT_EQ(ui.channelRepaints, repaints);
    p.onCICPBoxMouseMove(-1, 10);  // one pixel left of the plot: still a cursor, at 0
    EXPECT_EQ(p.state().CursorX, 0);
    EXPECT_EQ(p.labels().Panel15, "0.000");
    repaints = ui.channelRepaints;
    p.onButton27Click();  // "<" at 0: nothing
    EXPECT_EQ(p.state().CursorX, 0);
    EXPECT_EQ(ui.channelRepaints, repaints);

    // Right release on the plot ends the drag without a redraw; moves then leave the cursor.
    p.onCICPBoxMouseMove(60, 10);
    p.onCICPBoxMouseUp(MouseButton::Right, 60, 10);
    EXPECT_EQ(p.state().Dragging, 0);
    p.onCICPBoxMouseMove(70, 10);
    EXPECT_EQ(p.state().CursorX, 60);
    // The left button never moves it.
    p.onCICPBoxMouseDown(MouseButton::Left, 200, 10);
    EXPECT_EQ(p.state().CursorX, 60);
    EXPECT_EQ(p.state().Dragging, 0);

    // A left release outside only redraws; a right release outside removes the cursor.
    repaints = ui.channelRepaints;
    p.onPanel5MouseUp(MouseButton::Left);
    EXPECT_EQ(ui.channelRepaints, repaints + 1);
    EXPECT_EQ(p.state().CursorX, 60);
    p.onPanel5MouseUp(MouseButton::Right);
    EXPECT_EQ(p.state().CursorX, -1);
    EXPECT_EQ(p.state().CursorY, -1);
    EXPECT_EQ(p.labels().Panel15, "");
    EXPECT_EQ(p.labels().Panel16, "");
    p.onCICPBoxMouseDown(MouseButton::Right, 5, 5);
    p.onFormMouseUp(MouseButton::Right);
    EXPECT_EQ(p.state().CursorX, -1);
    EXPECT_EQ(p.state().Dragging, 0);
    EXPECT_EQ(p.labels().Panel16, "");
    // Without a cursor "<" and ">" do nothing.
    repaints = ui.channelRepaints;
    p.onButton27Click();
    p.onButton28Click();
    EXPECT_EQ(p.state().CursorX, -1);
    EXPECT_EQ(ui.channelRepaints, repaints);
}

TEST(ChannelPlotPresenter, StretchXRecomputesStretchYOnlyRedraws) {
    auto model = gc::bench::worstCaseModel();
    RecordingUiPort ui;
    ChannelPlotPresenter p(model, ui);
    p.refreshChannelPlot();
    ResponseArrays expected;
    for (int i = 0; i < 12; ++i) p.onButton19Click();
    EXPECT_EQ(p.state().StretchX, 4096);
    EXPECT_EQ(p.labels().Panel17, "4096");
    EXPECT_EQ(p.labels().Label25, "32768");
    ComputeChannelResponse(model, 4096, expected);
    EXPECT_EQ(p.arrays().ChannelResponse, expected.ChannelResponse);
    EXPECT_EQ(ui.channelRepaints, 13);

    // The model changes behind the plot; a 13th "*2" neither recomputes nor redraws.
    model.Work.CurrentDecimation = 128;
    p.onButton19Click();
    EXPECT_EQ(p.state().StretchX, 4096);
    EXPECT_EQ(ui.channelRepaints, 13);
    EXPECT_EQ(p.arrays().ChannelResponse, expected.ChannelResponse);

    // Stretch Y: texts and a repaint, the arrays as they were.
    p.onButton23Click();
    EXPECT_EQ(p.state().StretchY, 2);
    EXPECT_EQ(p.labels().Label11, "-10.0");
    EXPECT_EQ(p.labels().Panel18, "2");
    EXPECT_EQ(ui.channelRepaints, 14);
    EXPECT_EQ(p.arrays().ChannelResponse, expected.ChannelResponse);
    p.onButton25Click();
    EXPECT_EQ(p.state().StretchY, 512);
    p.onButton23Click();  // at the top: nothing
    EXPECT_EQ(ui.channelRepaints, 15);
    p.onButton24Click();
    EXPECT_EQ(p.state().StretchY, 256);
    p.onButton26Click();
    EXPECT_EQ(p.state().StretchY, 1);
    p.onButton24Click();  // at the bottom: nothing
    EXPECT_EQ(ui.channelRepaints, 17);
    EXPECT_EQ(p.arrays().ChannelResponse, expected.ChannelResponse);

    // Painting draws the arrays as they stand: still the decimation-64 curve.
    RecordingCanvas canvas;
    p.draw(canvas);
    const double peak = ResponsePeak(expected.ChannelResponse);
    EXPECT_EQ(canvas.lines[8 + 99].y1, ResponseRow(expected.ChannelResponse[100], peak, 1));

    // "/2" recomputes with the model as it is now.
    p.onButton20Click();
    EXPECT_EQ(p.state().StretchX, 2048);
    ComputeChannelResponse(model, 2048, expected);
    EXPECT_EQ(p.arrays().ChannelResponse, expected.ChannelResponse);
    p.onButton22Click();
    EXPECT_EQ(p.state().StretchX, 1);
    const int repaints = ui.channelRepaints;
    p.onButton20Click();  // at 1: nothing
    EXPECT_EQ(ui.channelRepaints, repaints);
    p.onButton21Click();
    EXPECT_EQ(p.state().StretchX, 4096);
    model.Work.CurrentDecimation = 64;
    p.onButton11Click();  // "R"
    ComputeChannelResponse(model, 4096, expected);
    EXPECT_EQ(p.arrays().ChannelResponse, expected.ChannelResponse);

    // The CIC table step: CicResponse at stretch 1, nothing repainted.
    const int before = ui.channelRepaints;
    model.Work.CurrentDecimation = 1000;
    p.computeCicResponse();
    ResponseArray cic{};
    ComputeCicResponse(1000, 1, cic);
    EXPECT_EQ(p.arrays().CicResponse, cic);
    EXPECT_EQ(ui.channelRepaints, before);
}

TEST(ChannelPlotPresenter, ZeroResponseReadsAsTheFloor) {
    // Before the first refresh the arrays are zero; all-zero taps give the same later.
    gc::model::ConfigurationModel model;
    RecordingUiPort ui;
    ChannelPlotPresenter p(model, ui);
    p.onCICPBoxMouseDown(MouseButton::Right, 10, 10);
    EXPECT_EQ(p.labels().Panel16, "-1000.00");
    EXPECT_EQ(p.state().CursorY, 2000);
    RecordingCanvas canvas;
    p.draw(canvas);
    for (int k = 1; k < PlotPoints; ++k) ASSERT_GE(canvas.lines[7 + k].y1, 240);
    model.Work.ResamplerTapCount = 0;  // no resampler taps: a zero stage
    p.refreshChannelPlot();
    p.onButton25Click();  // Y = 512
    EXPECT_EQ(p.labels().Panel16, "-1000.00");
    EXPECT_EQ(p.state().CursorY, 2000 * 512);
}

TEST(ChannelPlotPresenter, DeepNullReadsItsOwnLevel) {
    // D = 4096 at a 128-fold stretch: in column 128 a CIC null meets the FIR stop bands, more
    // than 1000 dB down. The read-out and the row are those of the level itself.
    auto model = gc::bench::worstCaseModel();
    model.Work.CurrentDecimation = 4096;
    RecordingUiPort ui;
    ChannelPlotPresenter p(model, ui);
    p.onButton21Click();
    for (int i = 0; i < 5; ++i) p.onButton20Click();
    ASSERT_EQ(p.state().StretchX, 128);
    p.onCICPBoxMouseDown(MouseButton::Right, 128, 0);
    const auto& ch = p.arrays().ChannelResponse;
    const float level = static_cast<float>(20.0 * std::log10(ch[128] / ResponsePeak(ch)));
    ASSERT_LT(level, -1000.0f);
    EXPECT_EQ(p.labels().Panel16, gc::model::formatFixed(level, 5, 2));
    EXPECT_EQ(p.state().CursorY, static_cast<int>(std::trunc(level * -2.0f)));
}

TEST(ChannelPlot, BottomAxisPicksItsUnitAndDigits) {
    // 100 MHz: MHz at the start, kHz from a 64-fold stretch, Hz below 1 kHz at the end.
    FrequencyAxis a = frequencyAxis(100e6, 1);
    EXPECT_EQ(a.unit, "MHz");
    EXPECT_EQ(a.ticks, (std::array<std::string, 4>{"12.500", "25.000", "37.500", "50.000"}));
    a = frequencyAxis(100e6, 64);  // 100e6 / 512 = 195312.5 Hz per tick
    EXPECT_EQ(a.unit, "kHz");
    EXPECT_EQ(a.ticks, (std::array<std::string, 4>{"195.313", "390.625", "585.938", "781.250"}));
    a = frequencyAxis(100e6, 4096);  // 3051.7578125 Hz per tick, once "0.003" MHz
    EXPECT_EQ(a.unit, "kHz");
    EXPECT_EQ(a.ticks, (std::array<std::string, 4>{"3.052", "6.104", "9.155", "12.207"}));
    a = frequencyAxis(1e6, 4096);  // 30.517578125 Hz per tick
    EXPECT_EQ(a.unit, "Hz");
    EXPECT_EQ(a.ticks, (std::array<std::string, 4>{"30.518", "61.035", "91.553", "122.070"}));
    // Exactly 1 MHz at the last tick is still MHz.
    EXPECT_EQ(frequencyAxis(8e6, 4).unit, "MHz");

    // The labels follow the stretch.
    auto model = gc::bench::worstCaseModel();
    model.Work.WorkingClock = 100000000;
    RecordingUiPort ui;
    gc::app::ChannelPlotPresenter p(model, ui);
    p.refreshChannelPlot();
    EXPECT_EQ(p.labels().Label33, "MHz");
    p.onButton21Click();
    EXPECT_EQ(p.labels().Label33, "kHz");
    EXPECT_EQ(p.labels().Label34, "3.052");
    EXPECT_EQ(p.labels().Label37, "12.207");
}

TEST(ChannelPlot, FitShowsThePassBandTheStopEdgeAndTheFirstAliases) {
    // The span C / (2S) must reach 1.1 * max(Fo + Fp, Fs); S is the largest power of two that
    // keeps it. 80 MHz, D 64, mode 0: Fo 312.5 kHz, Fp 100 kHz: 1.1 * 412.5 kHz = 453.75 kHz;
    // 80 MHz / 128 = 625 kHz holds it, 80 MHz / 256 = 312.5 kHz does not: S = 64.
    EXPECT_EQ(fitStretchX(80e6, 312500.0, 100000.0, 156000.0), 64);
    // A stop-band edge far out sets the span: 3 MHz needs 3.3 MHz, 80 MHz / 16 = 5 MHz: S = 8.
    EXPECT_EQ(fitStretchX(80e6, 312500.0, 100000.0, 3e6), 8);
    // Mode 1 and mode 2 at D 64 (Fo 625 kHz, 1.25 MHz), the whole output band as pass band:
    // 1.1 * 1.5 Fo = 1.03125 MHz and 2.0625 MHz: 80 MHz / 64 = 1.25 MHz (S = 32),
    // 80 MHz / 32 = 2.5 MHz (S = 16).
    EXPECT_EQ(fitStretchX(80e6, 625000.0, 312500.0, 312500.0), 32);
    EXPECT_EQ(fitStretchX(80e6, 1250000.0, 625000.0, 625000.0), 16);
    // D 8 at 100 MHz in mode 2: Fo 12.5 MHz needs 20.625 MHz, 100 MHz / 4 = 25 MHz: S = 2;
    // with an interpolation of 2 (Fo 25 MHz) only the whole plot holds 41.25 MHz: S = 1.
    EXPECT_EQ(fitStretchX(100e6, 12.5e6, 6.25e6, 6.25e6), 2);
    EXPECT_EQ(fitStretchX(100e6, 25e6, 12.5e6, 12.5e6), 1);
    // D 4096: as far as the stretch goes.
    EXPECT_EQ(fitStretchX(100e6, 6103.515625, 3051.7578125, 3051.7578125), StretchXMax);
    EXPECT_EQ(fitStretchX(0.0, 1.0, 1.0, 1.0), 1);

    // The presenter: the requirement's bands when given, else the whole output band.
    auto model = gc::bench::worstCaseModel();
    model.Work.WorkingClock = 80000000;
    RecordingUiPort ui;
    gc::app::ChannelPlotPresenter p(model, ui);
    p.refreshChannelPlot();
    const int repaints = ui.channelRepaints;
    p.onButtonFitClick();  // Fo 312.5 kHz: 1.1 * 468.75 kHz = 515.6 kHz: S = 64
    EXPECT_EQ(p.state().StretchX, 64);
    EXPECT_GT(ui.channelRepaints, repaints);
    p.setBandsSource([] { return gc::app::ChannelPlotPresenter::ChannelBands{100000.0, 3e6}; });
    p.onButtonFitClick();
    EXPECT_EQ(p.state().StretchX, 8);
    model.Chip.ModeOfDdc = 2;  // Fo 1.25 MHz, Fp 100 kHz, Fs 3 MHz: 3.3 MHz: S = 8
    p.onButtonFitClick();
    EXPECT_EQ(p.state().StretchX, 8);
    model.Chip.ModeOfDdc = 1;
    model.Work.CurrentDecimation = 8;  // Fo 5 MHz: 1.1 * 5.1 MHz = 5.61 MHz: S = 4
    p.onButtonFitClick();
    EXPECT_EQ(p.state().StretchX, 4);
}

}  // namespace
}  // namespace gc::response
