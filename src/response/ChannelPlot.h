#pragma once
// The main window's response plot of the current channel (CICPBox in Panel5): the drawing
// onto a Canvas and the texts of the axis labels and cursor read-outs around it.
#include <array>
#include <string>

#include "model/ConfigurationModel.h"
#include "response/Canvas.h"
#include "response/Response.h"

namespace gc::response {

inline constexpr int StretchXMax = 4096;
inline constexpr int StretchYMax = 512;

// The plot state of the main window; it survives channel changes.
struct ChannelPlotState {
    int StretchX{1};  // horizontal stretch, power of two 1..StretchXMax; spans 0..clock/(2*S)
    int StretchY{1};  // vertical stretch, power of two 1..StretchYMax; spans 0..-120/Y dB
    int CursorX{-1};  // cursor column in plot pixels, -1 = no cursor
    int CursorY{-1};  // cursor row; each draw replaces it by the curve's row at CursorX
    int Dragging{0};  // right button held on the plot
};

// The texts around the plot, named after their controls; start values are the design texts.
struct ChannelPlotLabels {
    // Level axis, rows 40 .. 240, in dB.
    std::string Label11{"-20"};
    std::string Label12{"-40"};
    std::string Label13{"-60"};
    std::string Label17{"-80"};
    std::string Label18{"-100"};
    std::string Label19{"-120"};
    // Top axis denominators: 1/(8S), 1/(4S), 3/(8S), 1/(2S) of the input rate.
    std::string Label25{"8"};
    std::string Label43{"4"};
    std::string Label44{"8"};
    std::string Label45{"2"};
    // Bottom axis at columns 64, 128, 192, 256, in the unit of Label33.
    std::string Label34{"12.5"};
    std::string Label35{"25.0"};
    std::string Label36{"37.5"};
    std::string Label37{"50.0"};
    std::string Label33{"MHz"};      // "MHz", "kHz" or "Hz": the unit of the bottom axis
    std::string Panel15;             // cursor frequency, kHz
    std::string Panel16;             // cursor level, dB
    std::string Panel17{"1"};        // StretchX
    std::string Panel18{"1"};        // StretchY
    std::string Label38{"F/Fsamp"};  // frequency axis title
};

// Column of half the channel's output rate: trunc(2^mode * (S * CoefInterpol0 * N / D * 0.25)).
[[nodiscard]] int channelMarkerColumn(const gc::model::ConfigurationModel& model, int stretchX);

// The bottom axis: the frequencies of columns 64, 128, 192 and 256 (clock / (8S) times 1..4) in
// the largest unit of MHz, kHz and Hz in which the last one is at least 1, with three decimals,
// so that neighbouring ticks always differ (today's "0.003" MHz at the largest stretch reads
// 3.052 kHz).
struct FrequencyAxis {
    std::array<std::string, 4> ticks;
    std::string unit;
};
[[nodiscard]] FrequencyAxis frequencyAxis(double clockHz, int stretchX);

// The horizontal stretch that fits the plot to the channel: the largest power of two S
// (1..StretchXMax) whose span clock / (2S) shows the pass band, the stop-band edge and the first
// alias bands around the output rate, [Fo - Fp, Fo + Fp], with a tenth to spare:
// clock / (2S) >= 1.1 * max(Fo + Fp, Fs). S = 1 when even that does not hold.
[[nodiscard]] int fitStretchX(double clockHz, double outputRateHz, double passbandHz,
                              double stopbandHz);

// Every label text and the cursor row, as a draw sets them, without drawing. The cursor column
// is bounded to 0..255 before it indexes the channel response.
void updateChannelPlotLabels(const gc::model::ConfigurationModel& model,
                             const ResponseArray& channel, ChannelPlotState& state,
                             ChannelPlotLabels& labels);

// The whole plot from the channel response as it stands (nothing is recomputed): labels,
// white background, dotted grid, black curve, red output-band marker, cursor lines in the
// active-caption colour.
void DrawChannelPlot(Canvas& canvas, const gc::model::ConfigurationModel& model,
                     const ResponseArray& channel, ChannelPlotState& state,
                     ChannelPlotLabels& labels);

}  // namespace gc::response
