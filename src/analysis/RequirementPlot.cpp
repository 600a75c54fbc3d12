#include "analysis/RequirementPlot.h"

#include <algorithm>
#include <array>
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

namespace {

// A(f_k) for the columns 0..n-1 together: a search over (images m0..m1) x (columns k0..k1)
// that drops a block when the bound of H over the block's points lies at or below the best
// value found so far in each of its columns. Single points are evaluated exactly, so every
// column gets the exact maximum over its images.
class CurveSearch {
  public:
    CurveSearch(const ChannelChain& chain, const double* f, int n, AliasCurve& curve)
        : chain_(chain), f_(f), curve_(curve) {
        fo_ = chain.spec().outputRateHz;
        half_ = chain.spec().clockHz / 2.0;
        last_ = static_cast<long>(std::floor((half_ + f[n - 1]) / fo_));
        n_ = n;
    }

    void run() {
        if (last_ < 1) return;
        // The nearest image first: usually the strongest, it sets the bar for the others.
        for (int k = 0; k < n_; ++k) evaluate(1, k);
        visit(1, last_, 0, n_ - 1);
    }

  private:
    void evaluate(long m, int k) {
        const double lo = m * fo_ - f_[k];
        const double hi = m * fo_ + f_[k];
        double& best = curve_.values[k];
        if (lo >= 0.0 && lo <= half_) best = std::max(best, chain_.magnitude(lo));
        if (hi <= half_) best = std::max(best, chain_.magnitude(hi));
    }

    double bound(double a, double b) const {
        a = std::max(a, 0.0);
        b = std::min(b, half_);
        if (a > b) return 0.0;
        return chain_.bounds(a, b).upper;
    }

    void visit(long m0, long m1, int k0, int k1) {
        // images below: m*Fo - f within [m0*Fo - f_k1, m1*Fo - f_k0]; above likewise
        const double below = bound(m0 * fo_ - f_[k1], m1 * fo_ - f_[k0]);
        const double above = bound(m0 * fo_ + f_[k0], m1 * fo_ + f_[k1]);
        const double ub = std::max(below, above);
        double bar = curve_.values[k0];
        for (int k = k0 + 1; k <= k1 && bar > 0.0; ++k) bar = std::min(bar, curve_.values[k]);
        if (ub <= bar) return;
        if (m1 > m0) {
            const long mid = m0 + (m1 - m0) / 2;
            visit(m0, mid, k0, k1);
            visit(mid + 1, m1, k0, k1);
        } else if (k1 > k0) {
            const int mid = k0 + (k1 - k0) / 2;
            visit(m0, m1, k0, mid);
            visit(m0, m1, mid + 1, k1);
        } else {
            evaluate(m0, k0);
        }
    }

    const ChannelChain& chain_;
    const double* f_;
    AliasCurve& curve_;
    double fo_{0.0};
    double half_{0.0};
    long last_{0};
    int n_{0};
};

}  // namespace

AliasCurve aliasCurve(const ChannelChain& chain, int stretchX) {
    AliasCurve curve;
    const double fo = chain.spec().outputRateHz;
    if (!(fo > 0.0) || !std::isfinite(fo)) return curve;
    std::array<double, PlotPoints> f{};
    for (int k = 0; k < PlotPoints; ++k) {
        f[k] = columnFrequencyHz(chain.spec().clockHz, stretchX, k);
        if (f[k] > fo / 2.0) break;
        curve.columns = k + 1;
    }
    if (curve.columns > 0) CurveSearch(chain, f.data(), curve.columns, curve).run();
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
