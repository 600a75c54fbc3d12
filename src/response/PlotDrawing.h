#pragma once
// Pieces shared by the channel plot and the stage views: the grid, the curves and the label
// formats, all in the 256 x 240 plot coordinates of a Canvas.
#include <string>

#include "response/Canvas.h"
#include "response/Response.h"

namespace gc::response {

inline constexpr int kPlotHeight = 240;
inline constexpr int kGridRowStep = 40;     // rows 40, 80, ... 200
inline constexpr int kGridColumnStep = 64;  // columns 64, 128, 192

// White background; dotted black grid (five rows, three columns); then a solid black pen.
void drawPlotGrid(Canvas& canvas);

// The curve of a whole array against `peak`: move to (0, row(0)), lines to (k, row(k)).
void drawCurve(Canvas& canvas, const ResponseArray& a, double peak, int stretchY);

// The same array mirrored: column x shows entry PlotPoints-1-x.
void drawMirroredCurve(Canvas& canvas, const ResponseArray& a, double peak, int stretchY);

// Rows further below the plot than this margin are invisible on any canvas, also one scaled to
// a larger or smaller widget with a pen one pixel wide.
inline constexpr int kHiddenBelowMargin = 2;

// A curve of rows whose pieces lying wholly below the plot (both ends deeper than the bottom
// plus kHiddenBelowMargin) are left out; the picture is the same as drawing every piece.
// Used where thousands of curves are overlaid (the CIC alias view).
void drawCurveVisiblePart(Canvas& canvas, const int* rows, int count, int height);

// Decimal integer text.
[[nodiscard]] std::string intText(int v);

}  // namespace gc::response
