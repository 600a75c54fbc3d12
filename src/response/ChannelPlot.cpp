#include "response/ChannelPlot.h"

#include <algorithm>
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

FrequencyAxis frequencyAxis(double clockHz, int stretchX) {
    const double step = clockHz / (8.0 * atLeastOne(stretchX));
    const double last = 4.0 * step;
    double scale = 1.0;
    FrequencyAxis axis;
    if (last >= 1.0e6) {
        scale = 1.0e-6;
        axis.unit = "MHz";
    } else if (last >= 1.0e3) {
        scale = 1.0e-3;
        axis.unit = "kHz";
    } else {
        axis.unit = "Hz";
    }
    // At most three digits before the point: seven significant digits never cut the decimals.
    for (int i = 0; i < 4; ++i)
        axis.ticks[static_cast<size_t>(i)] = formatFixed(step * (i + 1) * scale, 7, 3);
    return axis;
}

int fitStretchX(double clockHz, double outputRateHz, double passbandHz, double stopbandHz) {
    const double needed = 1.1 * std::max(outputRateHz + passbandHz, stopbandHz);
    if (!(needed > 0.0) || !(clockHz > 0.0)) return 1;
    int s = 1;
    while (s < StretchXMax && clockHz / (2.0 * (2 * s)) >= needed) s *= 2;
    return s;
}

void updateChannelPlotLabels(const gc::model::ConfigurationModel& model,
                             const ResponseArray& channel, ChannelPlotState& state,
                             ChannelPlotLabels& labels) {
    const int s = atLeastOne(state.StretchX);
    const int y = atLeastOne(state.StretchY);

    labels.Label25 = intText(8 * s);
    labels.Label43 = intText(4 * s);
    labels.Label44 = intText(8 * s);
    labels.Label45 = intText(2 * s);

    const FrequencyAxis axis = frequencyAxis(model.Work.WorkingClock, s);
    labels.Label34 = axis.ticks[0];
    labels.Label35 = axis.ticks[1];
    labels.Label36 = axis.ticks[2];
    labels.Label37 = axis.ticks[3];
    labels.Label33 = axis.unit;

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
