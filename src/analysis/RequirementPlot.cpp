#include "analysis/RequirementPlot.h"

#include <algorithm>
#include <cmath>

#include "model/Numeric.h"

namespace gc::analysis {

using gc::response::Canvas;
using gc::response::PenStyle;
using gc::response::PlotPoints;

double columnFrequencyHz(double clockHz, int stretchX, int column) {
    const int s = std::max(1, stretchX);
    return clockHz * column / (2.0 * PlotPoints * s);
}

AliasCurve aliasCurve(const ChannelChain& chain, int stretchX) {
    AliasCurve curve;
    const double fo = chain.spec().outputRateHz;
    if (!(fo > 0.0)) return curve;
    for (int k = 0; k < PlotPoints; ++k) {
        const double f = columnFrequencyHz(chain.spec().clockHz, stretchX, k);
        if (f > fo / 2.0) break;
        curve.values[k] = aliasMagnitude(chain, f);
        curve.columns = k + 1;
    }
    return curve;
}

namespace {

// The column of a frequency, bounded to just outside the plot so that lines stay drawable.
int columnOf(double clockHz, int stretchX, double fHz) {
    const double x = fHz * 2.0 * PlotPoints * std::max(1, stretchX) / clockHz;
    return std::clamp(gc::model::truncToInt(x), -1, PlotPoints + 1);
}

// The row of P lowered by `db` decibels, if the plot has a peak and the level is finite.
std::optional<int> levelRow(const RequirementOverlay& o, double db) {
    if (!(o.plotPeak > 0.0) || !(o.referenceLevel > 0.0) || !std::isfinite(db)) return {};
    const double v = o.referenceLevel * std::pow(10.0, -db / 20.0);
    if (!(v > 0.0) || !std::isfinite(v)) return {};
    return gc::response::ResponseRow(v, o.plotPeak, o.stretchY);
}

}  // namespace

void drawRequirementOverlay(Canvas& canvas, const RequirementOverlay& o, const AliasCurve& alias) {
    if (!(o.clockHz > 0.0)) return;
    const int h = canvas.height();
    const int w = canvas.width();
    const int xp = columnOf(o.clockHz, o.stretchX, o.passbandHz);
    const int xs = columnOf(o.clockHz, o.stretchX, o.stopbandHz);

    canvas.setPen(kMaskColour, 1, PenStyle::Solid);
    if (const auto top = levelRow(o, 0.0)) {
        const auto bottom = o.rippleMaxDb ? levelRow(o, *o.rippleMaxDb) : std::nullopt;
        canvas.moveTo(0, *top);
        canvas.lineTo(xp, *top);
        if (bottom) {
            canvas.moveTo(0, *bottom);
            canvas.lineTo(xp, *bottom);
        }
        canvas.moveTo(xp, 0);
        canvas.lineTo(xp, bottom ? *bottom : *top);
    }
    const auto stopRow = o.stopbandMinDb ? levelRow(o, *o.stopbandMinDb) : std::nullopt;
    if (stopRow) {
        canvas.moveTo(xs, 0);
        canvas.lineTo(xs, *stopRow);
        canvas.lineTo(w, *stopRow);
    } else {
        canvas.setPen(kMaskColour, 1, PenStyle::Dotted);
        canvas.moveTo(xs, 0);
        canvas.lineTo(xs, h);
    }

    if (o.aliasRejectionMinDb) {
        if (const auto row = levelRow(o, *o.aliasRejectionMinDb)) {
            canvas.setPen(kAliasColour, 1, PenStyle::Dotted);
            canvas.moveTo(0, *row);
            canvas.lineTo(xp, *row);
        }
    }
    if (alias.columns > 0 && o.plotPeak > 0.0) {
        canvas.setPen(kAliasColour, 1, PenStyle::Solid);
        canvas.moveTo(0, gc::response::ResponseRow(alias.values[0], o.plotPeak, o.stretchY));
        for (int k = 1; k < alias.columns; ++k)
            canvas.lineTo(k, gc::response::ResponseRow(alias.values[k], o.plotPeak, o.stretchY));
    }
    canvas.setPen(gc::response::kBlack, 1, PenStyle::Solid);
}

}  // namespace gc::analysis
