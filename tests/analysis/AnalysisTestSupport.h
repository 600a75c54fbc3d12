#pragma once
// Chains built from the built-in library and plain brute-force references for the measurement
// and design tests: H written out term by term and searched on a very fine grid. Nothing here
// uses the measurement code; the stage rates are those of the channel response's table.
#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <vector>

#include "analysis/ChannelMeasure.h"
#include "filters/FilterTables.h"

namespace gc::analysis::testing {

// The full taps of a built-in set: odd sets mirror about their centre, even ones about the
// innermost pair; the one-tap bypass stays one tap.
inline std::vector<int> fullTaps(const gc::filters::FilterTable& t) {
    std::vector<int> taps(t.taps, t.taps + t.storedCount);
    if (t.tapCount == 1) return taps;
    const bool odd = (t.tapCount % 2) != 0;
    for (int j = t.storedCount - (odd ? 2 : 1); j >= 0; --j) taps.push_back(t.taps[j]);
    return taps;
}

// The output mode as the tables below index it: 0, 1 or 2, anything else counts as 0.
inline int referenceMode(int mode) { return mode >= 0 && mode <= 2 ? mode : 0; }

// Input rates (Hz) of the CFIR, PFIR and resampler prototype, from the channel response's table:
// mode 0: C/D, C/(2D), Ndelay*C/(4D); mode 1: 2C/D, C/D, Ndelay*C/(2D); mode 2: 2C/D, C/D,
// Ndelay*C/D. In quarters of C/D: CFIR 4, 8, 8; PFIR 2, 4, 4; resampler Ndelay times 1, 2, 4.
inline std::array<int, 3> referenceRateQuarters(const ChainSpec& s) {
    static constexpr int kQuarters[3][3] = {{4, 2, 1}, {8, 4, 2}, {8, 4, 4}};
    const int* q = kQuarters[referenceMode(s.mode)];
    return {q[0], q[1], q[2] * std::max(1, s.ndelay)};
}
inline std::array<double, 3> referenceRates(const ChainSpec& s) {
    const double quarter = s.clockHz / std::max(1, s.decimation) / 4.0;
    const std::array<int, 3> q = referenceRateQuarters(s);
    return {q[0] * quarter, q[1] * quarter, q[2] * quarter};
}

// Clock 100 MHz, interpolation 1, output mode 0, 1 or 2: Fo = C / (4 D), C / (2 D), C / D.
inline ChainSpec libraryChain(int decimation, int cfir, int pfir, int resampler, int ndelay = 64,
                              int mode = 0) {
    ChainSpec s;
    s.clockHz = 100e6;
    s.decimation = decimation;
    s.mode = mode;
    s.cfirTaps = fullTaps(gc::filters::cfirLibrary()[cfir]);
    s.pfirTaps = fullTaps(gc::filters::pfirLibrary()[pfir]);
    s.resamplerTaps = fullTaps(gc::filters::resamplerLibrary()[resampler]);
    s.ndelay = ndelay;
    const double share[3] = {0.25, 0.5, 1.0};
    s.outputRateHz = static_cast<double>(static_cast<int>(100e6 / decimation * share[mode]));
    return s;
}

// H(F) term by term: one complex exponential per tap.
inline double referenceH(const ChainSpec& s, double f) {
    const double pi = 3.141592653589793;
    const double c = s.clockHz;
    const double d = s.decimation;
    double v = (f == 0.0) ? std::pow(d, 5)
                          : std::pow(std::abs(std::sin(pi * d * f / c) / std::sin(pi * f / c)), 5);
    const std::array<double, 3> rates = referenceRates(s);
    const std::vector<int>* taps[3] = {&s.cfirTaps, &s.pfirTaps, &s.resamplerTaps};
    for (int st = 0; st < 3; ++st) {
        if (!s.stageEnabled[st]) continue;
        std::complex<double> sum = 0.0;
        for (size_t j = 0; j < taps[st]->size(); ++j)
            sum += static_cast<double>((*taps[st])[j]) *
                   std::polar(1.0, -static_cast<double>(j) * 2.0 * pi * f / rates[st]);
        v *= std::abs(sum);
    }
    return v;
}

inline double db(double ratio) { return 20.0 * std::log10(ratio); }

// |sum_j taps[j] exp(-i*j*theta)|, one rotation per tap.
inline double plainStage(const std::vector<int>& taps, double theta) {
    const std::complex<double> step = std::polar(1.0, -theta);
    std::complex<double> w = 1.0;
    std::complex<double> sum = 0.0;
    for (int t : taps) {
        sum += static_cast<double>(t) * w;
        w *= step;
    }
    return std::abs(sum);
}

// H of a chain from the plain sums, exactly at any frequency and from tables on a grid of step
// delta = C/(4*D*M): every stage rate is a whole number of quarters of C/D, so each stage
// repeats after a whole number of grid points and is tabulated over one period.
class PlainChain {
  public:
    explicit PlainChain(const ChainSpec& s, int pointsPerQuarter = 512)
        : spec_(s), m_(pointsPerQuarter), d_(std::max(1, s.decimation)) {
        delta_ = s.clockHz / d_ / 4.0 / m_;
        rates_ = referenceRates(s);
        const std::array<int, 3> quarters = referenceRateQuarters(s);
        const std::vector<int>* taps[3] = {&s.cfirTaps, &s.pfirTaps, &s.resamplerTaps};
        for (int st = 0; st < 3; ++st) {
            if (!s.stageEnabled[st]) continue;
            stages_.push_back(taps[st]);
            stageRates_.push_back(rates_[st]);
            const long period = static_cast<long>(quarters[st]) * m_;
            std::vector<double> table(static_cast<size_t>(period));
            for (long k = 0; k < period; ++k)
                table[k] = plainStage(*taps[st], 2.0 * kPi * static_cast<double>(k) / period);
            tables_.push_back(std::move(table));
        }
    }

    [[nodiscard]] double delta() const { return delta_; }

    // H(f), the CIC by its closed form.
    [[nodiscard]] double at(double f) const {
        double v = cic(kPi * f / spec_.clockHz);
        for (size_t st = 0; st < stages_.size(); ++st)
            v *= plainStage(*stages_[st], 2.0 * kPi * f / stageRates_[st]);
        return v;
    }

    // H(k * delta) from the tables.
    [[nodiscard]] double atPoint(long k) const {
        double v = cic(kPi * static_cast<double>(k) / (4.0 * d_ * m_));
        for (const std::vector<double>& t : tables_) v *= t[static_cast<size_t>(k) % t.size()];
        return v;
    }

    // The largest (or, `largest` false, the smallest) H over the union of the intervals, with
    // where it is: both ends of each interval and every grid point inside; then each grid
    // extreme within 0.3 dB of the best is searched again on 40 points per grid step around it.
    [[nodiscard]] std::pair<double, double> extreme(
        const std::vector<std::pair<double, double>>& intervals, bool largest) const {
        const auto better = [largest](double a, double b) { return largest ? a > b : a < b; };
        std::pair<double, double> best{largest ? -1.0 : HUGE_VAL, 0.0};
        const auto consider = [&](double f, double v) {
            if (better(v, best.first)) best = {v, f};
        };
        struct Candidate {
            double value, f, lo, hi;
        };
        std::vector<Candidate> candidates;
        double gridBest = largest ? -1.0 : HUGE_VAL;
        for (const auto& [a, b] : intervals) {
            consider(a, at(a));
            consider(b, at(b));
            const long k0 = static_cast<long>(std::ceil(a / delta_));
            const long k1 = static_cast<long>(std::floor(b / delta_));
            std::vector<double> v;
            for (long k = k0; k <= k1; ++k) v.push_back(atPoint(k));
            for (size_t i = 0; i < v.size(); ++i) {
                if (i > 0 && better(v[i - 1], v[i])) continue;
                if (i + 1 < v.size() && better(v[i + 1], v[i])) continue;
                const double f = static_cast<double>(k0 + static_cast<long>(i)) * delta_;
                candidates.push_back({v[i], f, std::max(a, f - delta_), std::min(b, f + delta_)});
                if (better(v[i], gridBest)) gridBest = v[i];
            }
        }
        const double margin = std::pow(10.0, 0.3 / 20.0);
        for (const Candidate& c : candidates) {
            if (largest ? c.value * margin < gridBest : c.value > gridBest * margin) continue;
            consider(c.f, c.value);
            for (int i = 0; i <= 80; ++i) {
                const double f = c.lo + (c.hi - c.lo) * i / 80;
                consider(f, at(f));
            }
        }
        return best;
    }

    // The first f with H(f) <= level: the first grid point at or below it, then halving; -1
    // when H stays above the level up to C/2.
    [[nodiscard]] double firstAtOrBelow(double level) const {
        const long last = 2L * d_ * m_;  // C/2
        long k = 0;
        while (k <= last && atPoint(k) > level) ++k;
        if (k > last) return -1.0;
        if (k == 0) return 0.0;
        double lo = (k - 1) * delta_;
        double hi = k * delta_;
        for (int i = 0; i < 60; ++i) {
            const double mid = 0.5 * (lo + hi);
            (at(mid) <= level ? hi : lo) = mid;
        }
        return hi;
    }

  private:
    static constexpr double kPi = 3.141592653589793;

    // (sin(D x) / sin(x))^5 for x = pi f / C.
    [[nodiscard]] double cic(double x) const {
        if (x == 0.0) return std::pow(static_cast<double>(d_), 5);
        return std::pow(std::abs(std::sin(d_ * x) / std::sin(x)), 5);
    }

    ChainSpec spec_;
    int m_;
    int d_;
    double delta_{0.0};
    std::array<double, 3> rates_{};
    std::vector<const std::vector<int>*> stages_;
    std::vector<double> stageRates_;
    std::vector<std::vector<double>> tables_;
};

// The figures of a chain against a requirement from the plain sums: P, the largest H over
// [0, Fp]; the ripple P over the smallest H there; the stop-band attenuation over [Fs, C/2]
// (Fs = Fo/2 when not given) and the alias rejection over the images m*Fo -+ [0, Fp], m >= 1,
// within [0, C/2], each with where its worst H lies.
struct PlainFigures {
    double referenceLevel{0.0};
    double rippleDb{0.0};
    double stopbandDb{0.0};
    double stopbandWorstHz{0.0};
    double aliasDb{HUGE_VAL};
    double aliasWorstHz{0.0};
};

inline PlainFigures plainFigures(const PlainChain& h, const ChainSpec& s, const Requirement& r) {
    const double half = s.clockHz / 2.0;
    const double fo = s.outputRateHz;
    const double fp = r.passbandHz;
    PlainFigures out;
    const auto peak = h.extreme({{0.0, fp}}, true);
    const auto low = h.extreme({{0.0, fp}}, false);
    out.referenceLevel = peak.first;
    out.rippleDb = db(peak.first / low.first);
    const auto stop = h.extreme({{std::min(r.stopbandHz.value_or(fo / 2.0), half), half}}, true);
    out.stopbandDb = db(peak.first / stop.first);
    out.stopbandWorstHz = stop.second;
    std::vector<std::pair<double, double>> images;
    for (int m = 1; m * fo - fp <= half; ++m)
        images.emplace_back(std::max(0.0, m * fo - fp), std::min(half, m * fo + fp));
    if (!images.empty()) {
        const auto alias = h.extreme(images, true);
        out.aliasDb = db(peak.first / alias.first);
        out.aliasWorstHz = alias.second;
    }
    return out;
}

}  // namespace gc::analysis::testing
