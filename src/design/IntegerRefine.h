#pragma once
// Integer taps of a symmetric FIR filter: the zero-phase amplitude, and the search that turns
// real-valued taps into integers of the chip's width while keeping the weighted largest error
// as low as the integers allow (rounding alone costs tens of dB of stop band).
#include <atomic>
#include <functional>
#include <vector>

namespace gc::design {

// Progress and cancellation of a design job. `progress` receives the fraction done (0..1);
// `cancel` is polled between steps, so a job stops within a few milliseconds of it being set.
struct DesignControl {
    std::function<void(double fraction)> progress;
    const std::atomic<bool>* cancel{nullptr};

    [[nodiscard]] bool cancelled() const {
        return cancel != nullptr && cancel->load(std::memory_order_relaxed);
    }
    void report(double fraction) const {
        if (progress) progress(fraction);
    }
};

// A symmetric filter of `length` taps is kept as its first half: (length + 1) / 2 taps, the
// last being the centre tap (odd length) or the innermost of the two middle taps (even).
[[nodiscard]] int halfCount(int length);
// Multiplicity of half tap k in the full filter: 1 for the centre of an odd length, else 2.
[[nodiscard]] int tapMultiplicity(int length, int k);
// The full filter from its half.
[[nodiscard]] std::vector<int> mirrorHalf(const std::vector<int>& half, int length);
// Sum of all taps of the full filter.
[[nodiscard]] long long fullSum(const std::vector<int>& half, int length);
// Zero-phase amplitude A(f), f in cycles per sample: |A(f)| is the filter's magnitude.
[[nodiscard]] double zeroPhaseAmplitude(const std::vector<double>& half, int length, double f);
[[nodiscard]] double zeroPhaseAmplitude(const std::vector<int>& half, int length, double f);

// The integer problem: on rows r the weighted error e_r = weight_r * (A(freq_r) - target_r);
// the search minimises max |e_r| over integer half taps within [minTap, maxTap], keeping the
// fixed ones and the full tap sum inside [sumMin, sumMax].
struct IntegerProblem {
    int length{0};
    std::vector<double> freq;    // cycles per sample, 0..0.5
    std::vector<double> target;  // desired amplitude
    std::vector<double> weight;  // > 0
    // Optional per-row slack: a row counts only the part of |e_r| above slack_r (a ceiling
    // rather than a target: a stage's gain above its own pass band is held below a cap).
    std::vector<double> slack;
    int minTap{-32768};
    int maxTap{32767};
    std::vector<bool> fixed;  // per half tap; empty: all free
    long long sumMin{-(1LL << 40)};
    long long sumMax{1LL << 40};
    int maxSweeps{400};  // per stage of the search
    int pairRounds{8};   // rounds of pair changes (0: singles only)
};

struct RefineResult {
    std::vector<int> half;
    double worstError{0.0};  // max |e_r|
    bool cancelled{false};
};

// Local search from `start`: changes of one tap by +-1, then of a pair (one +1, one -1, which
// keeps the sum when the sum window is tight), kept while they lower the error. The error is
// first a power sum of |e_r| (a smooth stand-in for the largest that lets many small gains
// through), then the largest itself. `start` must satisfy the constraints.
[[nodiscard]] RefineResult refineIntegerTaps(const IntegerProblem& problem, std::vector<int> start,
                                             const DesignControl& control = {});

// Rounds real-valued half taps (plain rounding, then `dithered` fixed-seed dithered roundings),
// brings each into the constraints, refines it and keeps the best.
[[nodiscard]] RefineResult quantiseAndRefine(const IntegerProblem& problem,
                                             const std::vector<double>& half, int dithered,
                                             const DesignControl& control = {});

}  // namespace gc::design
