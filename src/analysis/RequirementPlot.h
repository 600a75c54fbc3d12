#pragma once
// The requirement on the main channel plot: the alias curve A(f) on the plot's 256 columns and
// the mask (ripple band over [0, Fp], stop-band limit from Fs, alias limit), drawn onto the
// abstract Canvas over the channel curve, relative to the same peak.
#include <optional>

#include "analysis/ChannelMeasure.h"
#include "response/Canvas.h"
#include "response/Response.h"

namespace gc::analysis {

// The alias curve's own colour and the mask's.
inline constexpr gc::response::Rgb kAliasColour{200, 0, 200};
inline constexpr gc::response::Rgb kMaskColour{0, 150, 0};

// Frequency of plot column k at horizontal stretch S: clock * k / (2 * PlotPoints * S), the
// channel plot's own mapping.
[[nodiscard]] double columnFrequencyHz(double clockHz, int stretchX, int column);

// A(F_k) for every column whose frequency lies within [0, Fo/2]; 0 beyond.
struct AliasCurve {
    gc::response::ResponseArray values{};
    int columns{0};  // columns 0 .. columns-1 carry the curve
};
[[nodiscard]] AliasCurve aliasCurve(const ChannelChain& chain, int stretchX);

// Everything the overlay needs, as plain values.
struct RequirementOverlay {
    double clockHz{0.0};
    int stretchX{1};
    int stretchY{1};
    double plotPeak{0.0};        // ResponsePeak of the channel curve: 0 dB of the plot
    double referenceLevel{0.0};  // P, the requirement's reference level (linear)
    double passbandHz{0.0};
    double stopbandHz{0.0};
    std::optional<double> rippleMaxDb;
    std::optional<double> stopbandMinDb;
    std::optional<double> aliasRejectionMinDb;
};

// Draws, with the channel plot's rows (two pixels per dB times the vertical stretch):
// - in the mask colour, solid: the ripple band's two levels P and P - Rmax over [0, Fp] (only
//   P without Rmax) and the pass-band edge from the lower level to the top; the stop-band limit
//   P - As from Fs to the right edge with its edge from the limit to the top (only the edge,
//   dotted, without As);
// - in the alias colour: the alias limit P - Aa over [0, Fp], dotted, and the alias curve over
//   its columns, solid.
// A level with no finite row (zero peak) is not drawn. Leaves the pen solid black, width 1.
void drawRequirementOverlay(gc::response::Canvas& canvas, const RequirementOverlay& overlay,
                            const AliasCurve& alias);

}  // namespace gc::analysis
