#include "response/PlotDrawing.h"

namespace gc::response {

void drawPlotGrid(Canvas& canvas) {
    const int w = canvas.width();
    const int h = canvas.height();
    canvas.fillRect(0, 0, w, h, kWhite);
    canvas.setPen(kBlack, 1, PenStyle::Dotted);
    for (int i = 1; i <= 5; ++i) {
        canvas.moveTo(0, kGridRowStep * i);
        canvas.lineTo(w, kGridRowStep * i);
    }
    for (int j = 1; j <= 3; ++j) {
        canvas.moveTo(kGridColumnStep * j, 0);
        canvas.lineTo(kGridColumnStep * j, h);
    }
    canvas.setPen(kBlack, 1, PenStyle::Solid);
}

void drawCurve(Canvas& canvas, const ResponseArray& a, double peak, int stretchY) {
    canvas.moveTo(0, ResponseRow(a[0], peak, stretchY));
    for (int k = 1; k < PlotPoints; ++k) canvas.lineTo(k, ResponseRow(a[k], peak, stretchY));
}

void drawMirroredCurve(Canvas& canvas, const ResponseArray& a, double peak, int stretchY) {
    constexpr int last = PlotPoints - 1;
    canvas.moveTo(0, ResponseRow(a[last], peak, stretchY));
    for (int k = 1; k < PlotPoints; ++k) canvas.lineTo(k, ResponseRow(a[last - k], peak, stretchY));
}

void drawCurveVisiblePart(Canvas& canvas, const int* rows, int count, int height) {
    if (count <= 0) return;
    const int hidden = height + kHiddenBelowMargin;
    if (count == 1) {
        if (rows[0] <= hidden) canvas.moveTo(0, rows[0]);
        return;
    }
    bool penAtPrevious = false;
    for (int k = 1; k < count; ++k) {
        if (rows[k - 1] > hidden && rows[k] > hidden) {
            penAtPrevious = false;
            continue;
        }
        if (!penAtPrevious) canvas.moveTo(k - 1, rows[k - 1]);
        canvas.lineTo(k, rows[k]);
        penAtPrevious = true;
    }
}

std::string intText(int v) { return std::to_string(v); }

}  // namespace gc::response
