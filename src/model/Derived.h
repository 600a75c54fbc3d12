#pragma once
// Pure derived-value rules of the configurator: gains, rates, the resampler ratio word, the
// limits of typed values and the save-time decimation checks. No state, no side effects.
// (The list index a value shows, shownIndex, is in model/Fields.h.)
#include "model/Fields.h"

namespace gc::model {

struct ConfigurationModel;

inline constexpr int kRatioOne = 67108864;        // 2^26: resampler ratio word of 1.0
inline constexpr int kMaxRatioWord = 0x7FFFFFFF;  // the ratio register holds 31 bits
inline constexpr double kInterpolationMax = 64.0;
inline constexpr double kInterpolationFloor = 0.03125;          // typed values at or below it ...
inline constexpr double kInterpolationMin = 0.031250000028125;  // ... become this (word 7FFFFFFE)
inline constexpr int kFineGainMax = 16383;
inline constexpr float kPhaseMax = 6.2831855f;       // 2*pi as a float
inline constexpr int kResamplerGainDivisor = 65236;  // the chip's resampler gain constant
inline constexpr int kNdelayItemCount = 5;           // "4", "8", "16", "32", "64"

// The chip's CIC5 gain: D^5 * 2^(shift + scale + 6*bigScale - 62), the power of two first,
// then multiplied five times by D, in double precision.
[[nodiscard]] double cicGain(int d, int shift, int scale, int bigScale);

struct ScalePair {
    int scale{0};     // 1-bit steps, 0..5
    int bigScale{0};  // 6-bit steps, 0..7
};

// The largest total scale (small + 6*big) that keeps cicGain at or below 1.0: big from 7 down
// to 0, small from 5 down to 0 within each; {0, 0} when no pair qualifies.
[[nodiscard]] ScalePair autoScalePair(int d, int shift);

// Sum of the first n taps in index order into a single-precision accumulator; n <= 0 gives 0.
[[nodiscard]] float tapSum(const int* taps, int n);

// Resampler gain: sum of the first tapCount taps / (ndelay * 65236), the product formed as an
// integer. A phase count of 0 (no resampler selection made yet) gives 0.
[[nodiscard]] float resamplerGain(const int* taps, int tapCount, int ndelay);

// The largest power of two up to 64 whose product with numMultiplies fits into 512
// coefficients; 0 when none does or when numMultiplies is not positive.
[[nodiscard]] int maxNdelay(int numMultiplies);

// The channel's exact output sample rate, Hz: 2^mode * interpolation * clock / (4 * decimation),
// the product formed in double precision, divided by the decimation and multiplied by 0.25.
// The CIC decimates by D, the CFIR and the PFIR halve the rate each (the 4), two- and
// one-channel output keep 2 or 4 times as many samples, the resampler multiplies by its
// interpolation. Measurements, aliases and design work with this rate. A decimation of 0
// (possible only from a file) gives 0.
[[nodiscard]] double exactOutputRate(int modeOfDdc, float interpolation, double clockHz,
                                     int decimation);
// The same for the model's current channel: ModeOfDdc, CoefInterpol[0], WorkingClock and
// CurrentDecimation.
[[nodiscard]] double exactOutputRate(const ConfigurationModel& model);

// Output sample rate as the model keeps it (OutputRate), Hz: exactOutputRate truncated.
[[nodiscard]] int outputRate(int modeOfDdc, float interpolation, int clockHz, int decimation);

// The decimation that gives the nearest achievable rate at or above rateHz, clamped to
// dMin..dMax; a negative rate gives dMin. The caller refuses a rate of 0.
[[nodiscard]] int decimationForRate(int modeOfDdc, float interpolation, int clockHz, float rateHz,
                                    int dMin, int dMax);

// Resampler ratio word truncate(2^26 / factor), kept within the register's 31 bits: a factor
// so small that the word would reach 0x80000000 (0.03125 exactly, as the float the model holds)
// gives 0x7FFFFFFF, as does a factor that is not positive.
[[nodiscard]] int resamplerRatioWord(double factor);

// Interpolation factor typed into Edit4: above 64 becomes 64; at or below 0.03125 becomes
// kInterpolationMin.
[[nodiscard]] double clampInterpolation(double factor);

[[nodiscard]] int clampInt(int value, int lo, int hi);

// NCO frequency: below 0 becomes 0, then above clockHz becomes clockHz.
[[nodiscard]] int clampFrequency(int hz, int clockHz);

// NCO phase typed as a real number: below 0 becomes 0, above 2*pi becomes the float 6.2831855.
// Clamped before the narrowing, so any finite double is safe.
[[nodiscard]] float clampPhase(double radians);

// A rate typed into Edit5, held in single precision; magnitudes beyond the float range are
// held at the float limit instead of overflowing.
[[nodiscard]] float toSingle(double value);

// ComboBox14 index for a phase count: log2(ndelay div 4), -1 when that is not an item.
[[nodiscard]] int ndelayIndex(int ndelay);

// Phase count for a ComboBox14 index: truncate(2^index * 4).
[[nodiscard]] int ndelayForIndex(int index);

// Number of set bits among bits 0..3.
[[nodiscard]] int activeCount(int activeMask);

// Save-time checks. decimationAllowed: the channels that carry data reach the output mode's
// minimum (mode 0: all four >= 8; mode 1: channels 0 and 2 >= 4; mode 2: channel 0 >= 2;
// other modes pass). decimationsEqual: asynchronous output passes; mode 0 needs all four equal
// to channel 0, mode 1 channel 2 equal to channel 0; mode 2 passes.
[[nodiscard]] bool decimationAllowed(const ConfigurationModel& model);
[[nodiscard]] bool decimationsEqual(const ConfigurationModel& model);
// The minimum decimation of the current output mode (MinDecimationByMode), 0 for other modes.
[[nodiscard]] int minimumDecimation(const ConfigurationModel& model);

}  // namespace gc::model
