#include "design/ResamplerDesign.h"

#include <algorithm>
#include <cmath>

#include "design/Equiripple.h"

namespace gc::design {

namespace {

constexpr int kGridDensity = 8;      // integer-search rows per 1/N
constexpr int kMeasureDensity = 32;  // measurement points per 1/N
constexpr double kTargetSumPerPhase = 2090.0;

double tolerance(double rippleDb) {
    const double g = std::pow(10.0, rippleDb / 20.0);
    return (g - 1.0) / (g + 1.0);
}

void addRows(IntegerProblem& p, double from, double to, int count, double target, double weight) {
    count = std::max(count, 2);
    for (int i = 0; i <= count; ++i) {
        p.freq.push_back(from + (to - from) * i / count);
        p.target.push_back(target);
        p.weight.push_back(weight);
    }
}

}  // namespace

double stopbandAttenuationDb(const std::vector<int>& half, int length, double from) {
    const double dc = std::fabs(zeroPhaseAmplitude(half, length, 0.0));
    const int count =
        std::max(2, static_cast<int>(std::ceil((0.5 - from) * kMeasureDensity * length)));
    double worst = 0.0;
    for (int i = 0; i <= count; ++i)
        worst = std::max(
            worst, std::fabs(zeroPhaseAmplitude(half, length, from + (0.5 - from) * i / count)));
    if (worst <= 0.0) return INFINITY;
    return 20.0 * std::log10(dc / worst);
}

double passbandRippleDb(const std::vector<int>& half, int length, double to) {
    double lo = INFINITY;
    double hi = 0.0;
    const int count = std::max(8, static_cast<int>(std::ceil(to * kMeasureDensity * length)));
    for (int i = 0; i <= count; ++i) {
        const double a = std::fabs(zeroPhaseAmplitude(half, length, to * i / count));
        lo = std::min(lo, a);
        hi = std::max(hi, a);
    }
    if (lo <= 0.0) return INFINITY;
    return 20.0 * std::log10(hi / lo);
}

ResamplerPrototype designResamplerPrototype(const ResamplerRequest& rq,
                                            const DesignControl& control) {
    ResamplerPrototype out;
    const int n = rq.multiplies * rq.phases;
    if (rq.multiplies < 1 || rq.phases < 1 || n < 4 || n % 2 != 0 || rq.passEdge <= 0.0 ||
        rq.stopEdge <= rq.passEdge || rq.stopEdge >= 0.5)
        return out;
    const double passTol = tolerance(rq.rippleDb);
    const double stopTol = std::pow(10.0, -rq.stopbandDb / 20.0);
    control.report(0.05);
    const auto real = equiripple(n, {{0.0, rq.passEdge}, {rq.stopEdge, 0.5}},
                                 [&](double f, double& d, double& w) {
                                     const bool pass = f <= 0.5 * (rq.passEdge + rq.stopEdge);
                                     d = pass ? 1.0 : 0.0;
                                     w = pass ? 1.0 / passTol : 1.0 / stopTol;
                                 });
    if (!real || control.cancelled()) {
        out.cancelled = control.cancelled();
        return out;
    }
    control.report(0.3);

    // Scale to the library's gain: the sum per phase in the middle of its window, lowered
    // when the largest tap would not fit in 12 bits.
    std::vector<double> half = *real;
    const double dc = zeroPhaseAmplitude(half, n, 0.0);
    double scale = kTargetSumPerPhase * rq.phases / dc;
    double largest = 0.0;
    for (double v : half) largest = std::max(largest, std::fabs(v));
    if (largest * scale > kResamplerMaxTap - 0.5) scale = (kResamplerMaxTap - 0.5) / largest;
    for (double& v : half) v *= scale;
    const double gain = zeroPhaseAmplitude(half, n, 0.0);

    IntegerProblem p;
    p.length = n;
    p.minTap = kResamplerMinTap;
    p.maxTap = kResamplerMaxTap;
    p.sumMin = static_cast<long long>(std::ceil(kResamplerMinSumPerPhase * rq.phases));
    p.sumMax = static_cast<long long>(std::floor(kResamplerMaxSumPerPhase * rq.phases));
    p.pairRounds = 0;  // the sum window is wide: single changes reach every sum in it
    p.maxSweeps = 60;
    const double passWeight = stopTol / passTol;
    addRows(p, 0.0, rq.passEdge, static_cast<int>(std::ceil(rq.passEdge * kGridDensity * n)), gain,
            passWeight);
    addRows(p, rq.stopEdge, 0.5,
            static_cast<int>(std::ceil((0.5 - rq.stopEdge) * kGridDensity * n)), 0.0, 1.0);
    const RefineResult r = quantiseAndRefine(p, half, 1, control);
    if (r.cancelled) {
        out.cancelled = true;
        return out;
    }
    control.report(1.0);
    out.taps = mirrorHalf(r.half, n);
    out.stopbandDb = stopbandAttenuationDb(r.half, n, rq.stopEdge);
    out.passRippleDb = passbandRippleDb(r.half, n, rq.passEdge);
    out.sumPerPhase = static_cast<double>(fullSum(r.half, n)) / rq.phases;
    return out;
}

}  // namespace gc::design
