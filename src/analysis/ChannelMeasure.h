#pragma once
// The channel at any frequency: the whole decimating chain's magnitude H(F), measured figures
// against a requirement (pass-band ripple, -3 dB width, stop-band attenuation, aliases folded
// into the output band) and the warnings about the configuration in use.
//
// Contract (implementation in ChannelMeasure.cpp):
// - H(F), 0 <= F <= C/2 with C the working clock: |sin(pi*D*F/C) / sin(pi*F/C)|^5 (D^5 at F = 0),
//   times |sum_j h_j exp(-i*j*2*pi*F/R)| for each enabled FIR stage, R its input rate
//   (CFIR C/D, 2C/D, 2C/D; PFIR C/(2D), C/D, C/D; resampler Ndelay*C/(4D), Ndelay*C/(2D),
//   Ndelay*C/D for modes 0/1/2). No rectify-and-floor rule: that only serves the plot.
// - Extremes are those of the continuous functions within 0.01 dB (kExtremeToleranceDb): a
//   branch-and-bound search over intervals whose every bound is proven, see ChannelChain::bounds
//   and ChannelMeasure.cpp's header comment.
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace gc::model {
struct ConfigurationModel;
}

namespace gc::analysis {

// Everything H(F) depends on, as plain values, so that a designer can swap in candidate taps.
struct ChainSpec {
    double clockHz{0.0};                                 // WorkingClock
    int decimation{2};                                   // CurrentDecimation
    int mode{0};                                         // response mode 0..2 (outside counts as 0)
    std::array<bool, 3> stageEnabled{true, true, true};  // CFIR, PFIR, resampler
    std::vector<int> cfirTaps;                           // 21 taps in use
    std::vector<int> pfirTaps;                           // 63 taps in use
    std::vector<int> resamplerTaps;                      // ResamplerTapCount taps in use
    int ndelay{1};                                       // resampler phases (below 1 counts as 1)
    double outputRateHz{0.0};                            // exact output rate, Hz
};

// The current channel of the model as a chain.
[[nodiscard]] ChainSpec chainFromModel(const gc::model::ConfigurationModel& model);

// Input rates of the three FIR stages (Hz) for the chain's mode.
struct StageRates {
    double cfirHz{0.0};
    double pfirHz{0.0};
    double resamplerHz{0.0};
};
[[nodiscard]] StageRates stageRates(const ChainSpec& chain);

// Every maximum and minimum the figures report lies within this much of the true extreme of
// the continuous function (the search stops at half of it).
inline constexpr double kExtremeToleranceDb = 0.01;

// A proven enclosure of H over a frequency interval: lower <= H(F) <= upper for every F in it.
struct Bounds {
    double lower{0.0};
    double upper{0.0};
};

// An extreme of H over a set: its value (linear) and where it is (Hz).
struct Extreme {
    double value{0.0};
    double atHz{0.0};
};

// H(F) with per-stage tables built once, so that many evaluations and bounds are cheap.
class ChannelChain {
  public:
    explicit ChannelChain(ChainSpec spec);
    ~ChannelChain();
    ChannelChain(ChannelChain&&) noexcept;
    ChannelChain& operator=(ChannelChain&&) noexcept;

    [[nodiscard]] const ChainSpec& spec() const;
    [[nodiscard]] double magnitude(double fHz) const;  // H(F), linear, not normalised
    // An enclosure of H over [aHz, bHz], 0 <= aHz <= bHz <= C/2.
    [[nodiscard]] Bounds bounds(double aHz, double bHz) const;
    // The largest and smallest H over [aHz, bHz] within kExtremeToleranceDb.
    [[nodiscard]] Extreme maximum(double aHz, double bHz) const;
    [[nodiscard]] Extreme minimum(double aHz, double bHz) const;
    // The largest H over the aliases of the output offsets 0..offsetHz: the union of
    // [m*Fo - offsetHz, m*Fo + offsetHz] for m = 1, 2, ... within [0, C/2].
    [[nodiscard]] Extreme aliasMaximum(double offsetHz) const;
    // The smallest F in [0, C/2] with H(F) <= level, if any.
    [[nodiscard]] std::optional<double> firstAtOrBelow(double level) const;
    // Width below which an interval holds at most a sixteenth of any factor's narrowest lobe.
    [[nodiscard]] double leafWidthHz() const;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

// The requirement of a channel. Optional limits that are absent are not checked.
struct Requirement {
    double passbandHz{0.0};                     // Fp, 0 < Fp < Fo/2
    std::optional<double> stopbandHz;           // Fs, Fp < Fs <= C/2; absent means Fo/2
    std::optional<double> rippleMaxDb;          // Rmax
    std::optional<double> stopbandMinDb;        // As
    std::optional<double> aliasRejectionMinDb;  // Aa
};

// The chains the figures can be measured for: a finite clock of at least kMinClockHz and a
// finite output rate of at least a kMaxClockToOutputRate-th of it (far below any rate the chip
// can make: 4 D / CoefInterpol <= 4 * 4096 / 0.03125). Empty for such a chain, otherwise a
// Russian message.
inline constexpr double kMinClockHz = 1.0;
inline constexpr double kMaxClockToOutputRate = 1e8;
[[nodiscard]] std::string chainProblem(const ChainSpec& chain);

// Empty when the requirement's band edges are valid for the chain (chainProblem included),
// otherwise a Russian message.
[[nodiscard]] std::string validateRequirement(const ChainSpec& chain, const Requirement& req);

struct Measurement {
    double outputRateHz{0.0};
    double passbandHz{0.0};
    double stopbandHz{0.0};      // the Fs used (Fo/2 when not given)
    double referenceLevel{0.0};  // P, the largest H over [0, Fp], linear
    double rippleDb{0.0};
    double rippleWorstHz{0.0};             // where H is smallest over [0, Fp]
    std::optional<double> bandwidth3dbHz;  // none when H never falls to P/sqrt(2)
    double stopbandAttenuationDb{0.0};     // +inf when H vanishes over the whole set
    double stopbandWorstHz{0.0};
    double aliasRejectionDb{0.0};                       // +inf when there is no alias or all vanish
    double aliasWorstHz{0.0};                           // absolute frequency F of the worst alias
    double aliasWorstOffsetHz{0.0};                     // the output offset it lands on
    std::optional<bool> rippleOk, stopbandOk, aliasOk;  // set only for the limits given
    bool meets{true};                                   // every given limit holds
};

// A chain refused by chainProblem is not searched: its figures are NaN and nothing is met.
// A figure that comes out NaN never counts as met.
[[nodiscard]] Measurement measure(const ChannelChain& chain, const Requirement& req);

// A(f) for output offsets f (0 <= f <= Fo/2): the strongest alias landing on f (linear).
[[nodiscard]] double aliasMagnitude(const ChannelChain& chain, double offsetHz);

// The warnings for the model's current channel, one Russian line each (the same texts in the
// window and the command-line tool); a measurement adds the pass-band-beyond-3-dB warning.
[[nodiscard]] std::vector<std::string> channelWarnings(const gc::model::ConfigurationModel& model,
                                                       const Measurement* measurement);

// The tap-word part of the warnings for a chain alone (candidate taps of a designer): CFIR and
// PFIR taps must fit 16 bits, resampler taps 12 bits; what does not fit reaches the chip as its
// low bits read as a signed word.
[[nodiscard]] std::vector<std::string> tapWordWarnings(const ChainSpec& chain);
// The value a tap reaches the chip as in a word of `bits` bits.
[[nodiscard]] int tapAsLoaded(int tap, int bits);

}  // namespace gc::analysis
