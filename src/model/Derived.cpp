#include "model/Derived.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

#include "model/ConfigurationModel.h"
#include "model/Fields.h"
#include "model/Numeric.h"

namespace gc::model {

double cicGain(int d, int shift, int scale, int bigScale) {
    // The exponent is summed wide so that odd values from a file cannot overflow it.
    const double exponent = static_cast<double>(shift) + scale + 6.0 * bigScale - 62.0;
    double g = std::pow(2.0, exponent);
    for (int i = 0; i < 5; ++i) g *= d;
    return g;
}

ScalePair autoScalePair(int d, int shift) {
    for (int big = 7; big >= 0; --big) {
        for (int small = 5; small >= 0; --small) {
            if (cicGain(d, shift, small, big) <= 1.0) return {small, big};
        }
    }
    return {0, 0};
}

float tapSum(const int* taps, int n) {
    float sum = 0.0f;
    for (int i = 0; i < n; ++i) sum += static_cast<float>(taps[i]);
    return sum;
}

float resamplerGain(const int* taps, int tapCount, int ndelay) {
    const std::int64_t divisor = static_cast<std::int64_t>(ndelay) * kResamplerGainDivisor;
    if (divisor == 0) return 0.0f;
    return tapSum(taps, tapCount) / static_cast<float>(divisor);
}

int maxNdelay(int numMultiplies) {
    if (numMultiplies <= 0) return 0;
    const int q = 512 / numMultiplies;
    for (int k = 6; k >= 0; --k) {
        if ((1 << k) <= q) return 1 << k;
    }
    return 0;
}

double exactOutputRate(int modeOfDdc, float interpolation, double clockHz, int decimation) {
    if (decimation == 0) return 0.0;
    const double product = std::pow(2.0, modeOfDdc) * interpolation * clockHz;
    return product / decimation * 0.25;
}

double exactOutputRate(const ConfigurationModel& model) {
    return exactOutputRate(model.Chip.ModeOfDdc, model.Chip.CoefInterpol[0],
                           model.Work.WorkingClock, model.Work.CurrentDecimation);
}

int outputRate(int modeOfDdc, float interpolation, int clockHz, int decimation) {
    return truncToInt(exactOutputRate(modeOfDdc, interpolation, clockHz, decimation));
}

int decimationForRate(int modeOfDdc, float interpolation, int clockHz, float rateHz, int dMin,
                      int dMax) {
    if (rateHz == 0.0f) return dMax;
    const double product = std::pow(2.0, modeOfDdc) * interpolation * clockHz;
    return clampInt(truncToInt(product / rateHz * 0.25), dMin, dMax);
}

int resamplerRatioWord(double factor) {
    if (!(factor > 0.0)) return kMaxRatioWord;
    const int word = truncToInt(static_cast<double>(kRatioOne) / factor);
    return word < 0 ? kMaxRatioWord : word;  // truncToInt saturates, so this only guards
}

double clampInterpolation(double factor) {
    if (factor > kInterpolationMax) return kInterpolationMax;
    if (factor <= kInterpolationFloor) return kInterpolationMin;
    return factor;
}

int clampInt(int value, int lo, int hi) {
    if (value > hi) return hi;
    if (value < lo) return lo;
    return value;
}

int clampFrequency(int hz, int clockHz) {
    if (hz < 0) hz = 0;
    if (hz > clockHz) hz = clockHz;
    return hz;
}

float clampPhase(double radians) {
    if (radians < 0.0) return 0.0f;
    if (radians > kTwoPi) return kPhaseMax;
    return static_cast<float>(radians);
}

float toSingle(double value) {
    if (value > FLT_MAX) return FLT_MAX;
    if (value < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(value);
}

int ndelayIndex(int ndelay) {
    const int quarter = ndelay / 4;
    if (quarter <= 0) return -1;
    return shownIndex(truncToInt(std::log2(static_cast<double>(quarter))), kNdelayItemCount);
}

int ndelayForIndex(int index) { return truncToInt(std::pow(2.0, index) * 4.0); }

int activeCount(int activeMask) {
    int n = 0;
    for (int bit = 0; bit < 4; ++bit) n += bitSet(activeMask, bit) ? 1 : 0;
    return n;
}

int minimumDecimation(const ConfigurationModel& model) {
    const int mode = model.Chip.ModeOfDdc;
    if (mode < 0 || mode > 2) return 0;
    return model.Work.MinDecimationByMode[static_cast<size_t>(mode)];
}

bool decimationAllowed(const ConfigurationModel& model) {
    const int m = minimumDecimation(model);
    const auto& ch = model.Channels;
    switch (model.Chip.ModeOfDdc) {
        case 0:
            return ch[0].Decimation >= m && ch[1].Decimation >= m && ch[2].Decimation >= m &&
                   ch[3].Decimation >= m;
        case 1:
            return ch[0].Decimation >= m && ch[2].Decimation >= m;
        case 2:
            return ch[0].Decimation >= m;
        default:
            return true;
    }
}

bool decimationsEqual(const ConfigurationModel& model) {
    if (model.Chip.AsyncMode == 1) return true;
    const auto& ch = model.Channels;
    switch (model.Chip.ModeOfDdc) {
        case 0:
            return ch[1].Decimation == ch[0].Decimation && ch[2].Decimation == ch[0].Decimation &&
                   ch[3].Decimation == ch[0].Decimation;
        case 1:
            return ch[2].Decimation == ch[0].Decimation;
        default:
            return true;
    }
}

}  // namespace gc::model
