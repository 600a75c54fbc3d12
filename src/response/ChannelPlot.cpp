#include "response/ChannelPlot.h"

#include <cmath>

#include "model/Numeric.h"
#include "response/PlotDrawing.h"

namespace gc::response {

using gc::model::formatFixed;

namespace {

int atLeastOne(int v) { return v < 1 ? 1 : v; }

}  // namespace

int channelMarkerColumn(const gc::model::ConfigurationModel& model, int stretchX) {
    const double s = atLeastOne(stretchX);
    const double coef = model.Chip.CoefInterpol[0];
    const double d = model.Work.CurrentDecimation;
    const double modeFactor = std::pow(2.0, responseMode(model.Chip.ModeOfDdc));
    return gc::model::truncToInt(modeFactor * (s * coef * PlotPoints / d * 0.25));
}

void updateChannelPlotLabels(const gc::model::ConfigurationModel& model,
                             const ResponseArray& channel, ChannelPlotState& state,
                             ChannelPlotLabels& labels) {
    const int s = atLeastOne(state.StretchX);
    const int y = atLeastOne(state.StretchY);
    const double clockMHz = model.Work.WorkingClock * 0.000001;

    labels.Label25 = intText(8 * s);
    labels.Label43 = intText(4 * s);
    labels.Label44 = intText(8 * s);
    labels.Label45 = intText(2 * s);

    labels.Label34 = formatFixed(clockMHz / (8 * s), 5, 3);
    labels.Label35 = formatFixed(clockMHz / (4 * s), 5, 3);
    labels.Label36 = formatFixed(clockMHz / (s * 8 * (1.0 / 3.0)), 5, 3);
    labels.Label37 = formatFixed(clockMHz / (2 * s), 5, 3);

    labels.Label11 = formatFixed(-20.0 / y, 4, 1);
    labels.Label12 = formatFixed(-40.0 / y, 4, 1);
    labels.Label13 = formatFixed(-60.0 / y, 4, 1);
    labels.Label17 = formatFixed(-80.0 / y, 4, 1);
    labels.Label18 = formatFixed(-100.0 / y, 4, 1);
    labels.Label19 = formatFixed(-120.0 / y, 4, 1);

    labels.Panel17 = intText(state.StretchX);
    labels.Panel18 = intText(state.StretchY);

    if (state.CursorX == -1) {
        labels.Panel15.clear();
        labels.Panel16.clear();
    } else {
        // A column from a drag that left the plot is bounded before it indexes the array.
        const int column = plotColumn(state.CursorX);
        const float level = cursorLevel(channel[column], ResponsePeak(channel));
        state.CursorY = cursorRow(level, y);
        const auto kHz = static_cast<float>(model.Work.WorkingClock * 0.001 / (2 * s) *
                                            (static_cast<double>(column) / PlotPoints));
        labels.Panel15 = formatFixed(kHz, 7, 3);
        labels.Panel16 = formatFixed(level, 5, 2);
    }
    labels.Label38 = "F/Fsinp";
}

void DrawChannelPlot(Canvas& canvas, const gc::model::ConfigurationModel& model,
                     const ResponseArray& channel, ChannelPlotState& state,
                     ChannelPlotLabels& labels) {
    const int w = canvas.width();
    const int h = canvas.height();
    const int marker = channelMarkerColumn(model, state.StretchX);
    updateChannelPlotLabels(model, channel, state, labels);

    drawPlotGrid(canvas);
    drawCurve(canvas, channel, ResponsePeak(channel), atLeastOne(state.StretchY));

    canvas.setPen(kRed, 1, PenStyle::Solid);
    canvas.moveTo(marker, 0);
    canvas.lineTo(marker, h);

    // The vertical line is drawn also without a cursor: at column -1 it is off the plot.
    canvas.setPen(canvas.activeCaptionColour(), 1, PenStyle::Solid);
    canvas.moveTo(state.CursorX, 0);
    canvas.lineTo(state.CursorX, h);
    canvas.moveTo(0, state.CursorY);
    canvas.lineTo(w, state.CursorY);
}

}  // namespace gc::response
