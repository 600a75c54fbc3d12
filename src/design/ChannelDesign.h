#pragma once
// Design of a channel's CFIR and PFIR (and, on request, the resampler prototype) for a
// requirement: chip-ready integer taps and the figures the measurement code gives for the
// whole chain with them. GUI-free: a job reports its progress and can be cancelled through
// DesignControl.
#include <optional>
#include <string>
#include <vector>

#include "analysis/ChannelMeasure.h"
#include "design/IntegerRefine.h"

namespace gc::design {

inline constexpr int kCfirLength = 21;
inline constexpr int kPfirLength = 63;
inline constexpr int kFirMinTap = -32768;  // signed 16-bit taps
inline constexpr int kFirMaxTap = 32767;
inline constexpr long long kUnityTapSum = 65536;  // the chip's convention: this tap sum is gain 1

struct ChannelDesignOptions {
    bool designResampler{false};  // also design the resampler prototype (its count and phases
                                  // are the chain's: resamplerTaps.size() and ndelay)
    // The most stop-band attenuation at the asked ripple is what is asked for: the attenuation
    // limit is not a requirement (it only sets the weight of the alias limit), and the search
    // tries more starting points.
    bool best{false};
    // When the attenuation limit is missed, also look for the stop-band edge that would meet it
    // (a few more designs).
    bool suggestEdge{true};
};

struct ChannelDesign {
    std::vector<int> cfirTaps;              // 21 taps, symmetric, 16-bit
    std::vector<int> pfirTaps;              // 63 taps, symmetric, 16-bit
    std::vector<int> resamplerTaps;         // the designed prototype, or empty when not asked for
    double resamplerStopbandDb{0.0};        // of the designed prototype over its own stop band
    gc::analysis::ChainSpec chain;          // the chain with the designed taps in use
    gc::analysis::Measurement measurement;  // of the integer taps on the whole chain
    bool meets{false};                      // every limit of the requirement holds
    bool cancelled{false};  // stopped through DesignControl::cancel; taps are then empty
    std::string error;      // Russian: a requirement the chain cannot be measured against
    std::string message;    // Russian: empty when met; otherwise the best figures reached and
                            // which limit to relax
    // Numbers to act on, found by the same designer: the most stop-band attenuation reached at
    // the asked ripple (measured; none when the ripple itself cannot be reached) and, when the
    // attenuation limit is missed, the lowest stop-band edge found at which it is met.
    std::optional<double> reachableStopbandDb;
    std::optional<double> stopbandEdgeHz;
};

// Designs the taps for `requirement` on `chain` (clock, decimation, mode, resampler and output
// rate as configured; the chain's CFIR and PFIR taps are replaced, its stage flags for the CFIR
// and PFIR are set). The best design found is returned even when it misses the requirement.
[[nodiscard]] ChannelDesign designChannel(const gc::analysis::ChainSpec& chain,
                                          const gc::analysis::Requirement& requirement,
                                          const ChannelDesignOptions& options = {},
                                          const DesignControl& control = {});

// The Russian report of a design that misses its requirement (empty when it meets it): the best
// figures, the attenuation reachable at the asked ripple and the stop-band edge that would meet
// the asked attenuation (when known), and which limit to relax.
[[nodiscard]] std::string shortfallMessage(const gc::analysis::ChainSpec& chain,
                                           const gc::analysis::Requirement& requirement,
                                           const ChannelDesign& design);

// A figure in dB for reports: `decimals` after the point, "∞" for an infinite one and an
// exponent form beyond 1e6 (a value like 1e308 stays short).
[[nodiscard]] std::string formatDb(double value, int decimals);

}  // namespace gc::design
