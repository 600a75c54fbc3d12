#pragma once
// Magnitude responses of the channel's stages on the fixed 256-point plot grid, and the rule
// that turns a magnitude into a decibel level and a plot row.
//
// Every function here is a plain computation over explicit inputs: the caller owns the arrays
// (ResponseArrays) and nothing is kept between calls. The results equal the textbook sums
// (sin(pi*D*f)/sin(pi*f))^5 and |sum h[j] e^{i j theta}| up to rounding; the FIR sums use the
// tap symmetry and rotation recurrences instead of one sine and cosine per tap and point.
#include <array>

#include "model/ConfigurationModel.h"

namespace gc::response {

// Frequency points of every response array and width of every plot in pixels.
inline constexpr int PlotPoints = 256;
inline constexpr double kPi = 3.141592653589793;

// Linear magnitudes (not normalised, not in dB), one per plot column.
using ResponseArray = std::array<double, PlotPoints>;

// The main window's five arrays. ChannelResponse is the product of the included stages.
struct ResponseArrays {
    ResponseArray CicResponse{};
    ResponseArray CfirResponse{};
    ResponseArray PfirResponse{};
    ResponseArray ResamplerResponse{};
    ResponseArray ChannelResponse{};
};

// The output mode as the response arithmetic uses it: 0, 1 or 2; anything else counts as 0
// (four channels), so a stray value never leaves a stage array stale.
[[nodiscard]] int responseMode(int modeOfDdc);

// The CIC ratio rectified and floored: below 0.001 the sign is flipped (so a small positive
// ratio becomes negative), then everything below 0.0001 becomes 0.0001. The stored value is
// the fifth power, so a null of the CIC reads 1e-20 and never zero.
[[nodiscard]] double rectifyCicRatio(double e);

// CIC5 magnitude for decimation D against the CIC input rate: point k is the frequency
// k / (2 * PlotPoints * stretch) of the clock. out[0] repeats out[1].
void ComputeCicResponse(int decimation, int stretch, ResponseArray& out);

// CIC5 magnitude on the points offset + k of the grid that spans the CIC output band
// (frequency (offset + k) / (2 * D * PlotPoints) of the clock). out[0] repeats out[1].
void ComputeCicSegment(int decimation, int offset, ResponseArray& out);

// ComputeCicSegment for many offsets of one decimation: the per-point sines are taken from
// tables built once, so each segment costs one sine/cosine pair. Used by the CIC window's
// alias view, which overlays D segments on every redraw.
class CicSegmentTable {
  public:
    explicit CicSegmentTable(int decimation);
    [[nodiscard]] int decimation() const { return decimation_; }
    void segment(int offset, ResponseArray& out) const;

  private:
    int decimation_;
    double w_;                                           // pi / (D * 2 * PlotPoints)
    std::array<double, 1024 + PlotPoints> numerator_{};  // sin(pi * n / 512), one period and more
    std::array<double, PlotPoints> sinKw_{};             // sin(k * w)
    std::array<double, PlotPoints> cosKw_{};             // cos(k * w)
};

// FIR magnitude: theta = step * (k + offset) / divisor, out[k] = |sum_j taps[j] e^{i j theta}|
// for k = 0 .. PlotPoints-1, taps holding at least `count` entries. No normalisation by the tap
// sum. A count of 0 or less gives zeros;
// a divisor below 1 counts as 1; a step or offset that makes theta non-finite gives zeros.
void ComputeFirResponse(const int* taps, int count, double step, int offset, int divisor,
                        ResponseArray& out);

// The resampler window's variant: the step is always pi / PlotPoints.
void ComputeFirResponseFixedStep(const int* taps, int count, int offset, int divisor,
                                 ResponseArray& out);

// The steps of the three FIR stages in the channel response: pi * clock / (PlotPoints * R) with
// R the stage's input rate, so every stage is evaluated at the same absolute frequencies.
struct StageSteps {
    double cfir{0.0};
    double pfir{0.0};
    double resampler{0.0};
};
// `ndelay` below 1 (the resampler not yet set up) counts as 1.
[[nodiscard]] StageSteps channelStageSteps(int decimation, int modeOfDdc, int ndelay);

// CicResponse, the arrays of the stages whose StageEnabled flag is 1 and ChannelResponse, for
// the current channel at horizontal stretch `stretch`. Arrays of left-out stages keep their
// old contents and are not multiplied in.
void ComputeChannelResponse(const gc::model::ConfigurationModel& model, int stretch,
                            ResponseArrays& arrays);

// The largest entry, 0.0 when every entry is zero or negative.
[[nodiscard]] double ResponsePeak(const ResponseArray& a);

// The level of a magnitude that has none. A zero magnitude, or any entry of an all-zero array
// (peak 0), has no finite level and reads as this value: its row lies below the bottom of the
// plot at every vertical stretch and its read-out is "-1000.00", never NaN. A nonzero
// magnitude keeps its own level, also when that lies below -1000 dB.
inline constexpr double kLevelFloorDb = -1000.0;

// 20 * log10(v / peak) in dB; kLevelFloorDb when v or the ratio is zero.
[[nodiscard]] double levelDb(double v, double peak);

// Plot row of v against the peak: -trunc(log10(v / peak) * 40 * stretchY). Two pixels per dB
// at stretch 1; -20 dB on row 40, -120 dB on row 240. Not clamped to the plot.
[[nodiscard]] int ResponseRow(double v, double peak, int stretchY);

// The cursor read-out level: 20 * log10(v / peak) in single precision (a zero as above), and
// the cursor row trunc(level * -2 * stretchY).
[[nodiscard]] float cursorLevel(double v, double peak);
[[nodiscard]] int cursorRow(float level, int stretchY);

// A cursor column bounded to the plot, for indexing a response array.
[[nodiscard]] int plotColumn(int x);

}  // namespace gc::response
