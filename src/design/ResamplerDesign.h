#pragma once
// Resampler prototypes: the low-pass filter of an M-multiply, P-phase polyphase resampler,
// M * P taps, even length, symmetric, 12-bit, with the library's gain convention (the tap sum
// divided by P lies in 2020..2161).
#include <vector>

#include "design/IntegerRefine.h"

namespace gc::design {

inline constexpr int kResamplerMinTap = -2048;  // signed 12-bit taps
inline constexpr int kResamplerMaxTap = 2047;
inline constexpr double kResamplerMinSumPerPhase = 2020.0;
inline constexpr double kResamplerMaxSumPerPhase = 2161.0;

// Frequencies in cycles per prototype sample (the prototype runs at P times the resampler's
// input rate).
struct ResamplerRequest {
    int multiplies{8};        // M
    int phases{64};           // P (Ndelay)
    double passEdge{0.0};     // pass band [0, passEdge]
    double stopEdge{0.0};     // stop band [stopEdge, 0.5]
    double stopbandDb{60.0};  // wanted attenuation relative to the DC gain
    double rippleDb{0.1};     // wanted pass-band ripple, peak to peak
};

struct ResamplerPrototype {
    std::vector<int> taps;     // all M * P taps; empty when the design failed or was cancelled
    double stopbandDb{0.0};    // of the integer taps, relative to |H(0)|
    double passRippleDb{0.0};  // of the integer taps, peak to peak over [0, passEdge]
    double sumPerPhase{0.0};
    bool cancelled{false};
};

// Equiripple design, then 12-bit integers refined on the same weighted grid.
[[nodiscard]] ResamplerPrototype designResamplerPrototype(const ResamplerRequest& request,
                                                          const DesignControl& control = {});

// Smallest attenuation 20 log10(|H(0)| / |H(f)|) over [from, 1/2] of a symmetric filter given
// by its half, on a grid of 32 points per 1/N (N its length).
[[nodiscard]] double stopbandAttenuationDb(const std::vector<int>& half, int length, double from);
// Peak-to-peak ripple in dB of |H| over [0, to].
[[nodiscard]] double passbandRippleDb(const std::vector<int>& half, int length, double to);

}  // namespace gc::design
