#include "response/ComparisonPlot.h"

#include "response/PlotDrawing.h"

namespace gc::response {

void drawComparison(Canvas& canvas, const ResponseArray& other, int stretchY,
                    const std::string& currentName, const std::string& otherName) {
    canvas.setPen(kComparisonColour, 1, PenStyle::Solid);
    drawCurve(canvas, other, ResponsePeak(other), stretchY < 1 ? 1 : stretchY);

    const int right = canvas.width() - kLegendMargin;
    const int left = right - kLegendWidth;
    const int top = kLegendMargin;
    const int bottom = top + 2 * kLegendRow + 2;
    canvas.fillRect(left, top, kLegendWidth, bottom - top, kWhite);
    canvas.setPen(kBlack, 1, PenStyle::Solid);
    canvas.moveTo(left, top);
    canvas.lineTo(right, top);
    canvas.lineTo(right, bottom);
    canvas.lineTo(left, bottom);
    canvas.lineTo(left, top);
    const struct {
        Rgb colour;
        const std::string& name;
    } rows[] = {{kBlack, currentName}, {kComparisonColour, otherName}};
    int y = top + 1 + kLegendRow / 2;
    for (const auto& row : rows) {
        canvas.setPen(row.colour, 2, PenStyle::Solid);
        canvas.moveTo(left + 4, y);
        canvas.lineTo(left + 16, y);
        canvas.drawText(left + 20, y, kLegendWidth - 24, row.name, kBlack);
        y += kLegendRow;
    }
}

}  // namespace gc::response
