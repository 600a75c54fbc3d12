#pragma once
// A second configuration's channel response over the main plot ("Сравнить с..."): its curve in
// its own colour, by the plot's decibel rule relative to its own peak, and a legend in the top
// right corner naming both curves.
#include <string>

#include "response/Canvas.h"
#include "response/Response.h"

namespace gc::response {

inline constexpr Rgb kComparisonColour{0, 96, 224};  // the compared curve, blue

// Legend geometry in plot pixels: a white box with a black frame, one row per curve (a line of
// the curve's colour, then its name).
inline constexpr int kLegendWidth = 110;
inline constexpr int kLegendRow = 12;
inline constexpr int kLegendMargin = 3;

void drawComparison(Canvas& canvas, const ResponseArray& other, int stretchY,
                    const std::string& currentName, const std::string& otherName);

}  // namespace gc::response
