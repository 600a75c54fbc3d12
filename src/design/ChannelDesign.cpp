#include "design/ChannelDesign.h"

// The CFIR and PFIR are designed jointly against the whole chain CIC x CFIR x PFIR x resampler.
// With one stage's integer taps fixed the chain is linear in the other stage's half taps, so
// each step is a minimax linear program: the largest stop-band level (aliases weighted by their
// own limit) is minimised with the pass band held inside the ripple tolerance and each prefix
// of the chain (CIC x CFIR; CIC x CFIR x PFIR) held within 1 dB of its own pass-band peak over
// the whole input band. The stages alternate, each step's taps are made integers and refined
// against the same objective before the other stage is designed against them.
//
// Every periodic factor of the chain (the CIC's numerator, CFIR, PFIR) repeats with the CFIR's
// input rate Rc, and the rest of the CIC (1 / (D sin(pi F / C))^5) falls monotonically over
// [0, C/2]. So the chain's stop band folds onto one half period y in [0, Rc/2]: the constraint
// at y is that of its worst image F = k Rc +- y, and the prefixes peak at their lowest image,
// y itself. About 4000 points of y and 400 of the pass band carry the programs.
//
// The programs hold the ripple as a hard limit and minimise the stop band, so a design is the
// most attenuation reachable at the asked ripple whatever attenuation is asked (which only
// weighs aliases against the stop band): asking for less cannot give less. Where the ripple
// cannot be held against the other stage as it is (the first steps), a weighted form trades
// pass band against stop band, aiming a fixed step beyond where the start stands. The
// alternation ends in the optimum nearest its start, so three starting PFIRs of different
// transition widths run two rounds each and the best is carried on (five, two carried, with
// --best). A missed attenuation is answered with the stop-band edge that meets it, found by
// the same designer.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

#include "design/Equiripple.h"
#include "design/MinimaxLp.h"
#include "design/ResamplerDesign.h"
#include "model/Language.h"
#include "model/Numeric.h"

namespace gc::design {

namespace {

using gc::analysis::ChainSpec;
using gc::analysis::Measurement;
using gc::analysis::Requirement;
using gc::model::tx;

constexpr double kPi = 3.14159265358979323846;
constexpr double kDefaultRippleDb = 0.2;  // design goals where the requirement sets none
constexpr double kDefaultStopbandDb = 60.0;
constexpr double kPrefixCapDb = 1.0;            // a prefix's gain over its own pass-band peak
constexpr int kFoldPoints = 4000;               // points of y over [0, Rc/2]
constexpr int kPassPoints = 400;                // points over [0, Fp]
constexpr double kLpShare = 0.97;               // of each tolerance the programs use (the rest is
                                                // left to the integer taps)
constexpr double kIntegerShare = 0.995;         // of the ripple tolerance the integer taps use
constexpr double kUnity = 65536.0;              // tap sum of gain 1
constexpr double kTapLimit = 32767.0 / kUnity;  // the largest tap at gain 1
constexpr double kResamplerMaxDb = 90.0;        // beyond this 12-bit taps add nothing
constexpr int kRounds = 8;                      // CFIR-then-PFIR rounds at most
constexpr int kLeastRounds = 4;
constexpr int kScreenRounds = 2;  // rounds of each start before the best is carried on
constexpr int kBestRounds = 12;
constexpr double kConvergedDb = 0.03;  // a round that gains less ends the search
constexpr int kPairPasses = 3;         // passes over the pairs of taps in a final refinement
constexpr int kEdgeSteps = 6;          // designs of the stop-band edge search
constexpr int kEdgeRounds = 3;         // rounds of each of them (from the winning start)
constexpr double kAimDb = 50.0;        // the weighted form aims this far beyond the start's level
constexpr double kSumWindow = 0.01;    // a stage's gain at F = 0 within 1 +- this

double toleranceFromRipple(double rippleDb) {
    const double g = std::pow(10.0, rippleDb / 20.0);
    return (g - 1.0) / (g + 1.0);
}

// |H| of a FIR stage over one period, tabled once so that every image costs a lookup.
class StageTable {
  public:
    StageTable() = default;
    StageTable(const std::vector<int>& taps, double rateHz, int points) : rate_(rateHz) {
        long long sum = 0;
        for (int v : taps) sum += v;
        double norm = std::fabs(static_cast<double>(sum));
        if (norm == 0.0) norm = 1.0;
        mag_.resize(static_cast<size_t>(points) + 1);
        for (int i = 0; i <= points; ++i) {
            // sum_j h_j z^j by Horner's rule, z = exp(-i w).
            const double w = kPi * i / points;
            const double c = std::cos(w);
            const double sn = -std::sin(w);
            double re = 0.0;
            double im = 0.0;
            for (size_t j = taps.size(); j-- > 0;) {
                const double r = re * c - im * sn + taps[j];
                im = re * sn + im * c;
                re = r;
            }
            mag_[i] = std::hypot(re, im) / norm;
            largest_ = std::max(largest_, mag_[i]);
        }
    }
    bool empty() const { return mag_.empty(); }
    double largest() const { return mag_.empty() ? 1.0 : largest_; }
    double operator()(double fHz) const {
        if (mag_.empty()) return 1.0;
        double x = std::fmod(std::fabs(fHz) / rate_, 1.0);
        if (x > 0.5) x = 1.0 - x;
        const double pos = x * 2.0 * static_cast<double>(mag_.size() - 1);
        const size_t i = std::min(static_cast<size_t>(pos), mag_.size() - 2);
        const double t = pos - static_cast<double>(i);
        return mag_[i] * (1.0 - t) + mag_[i + 1] * t;
    }

  private:
    double rate_{1.0};
    double largest_{0.0};
    std::vector<double> mag_;
};

// What a design is asked for, as linear tolerances.
struct Goal {
    double passHz{0.0};
    double stopHz{0.0};
    double passTol{0.0};   // (g - 1) / (g + 1) of the ripple
    double stopTol{0.0};   // the stop-band level asked for
    double aliasTol{0.0};  // the alias level asked for (when aliasLimit)
    bool aliasLimit{false};
    double capLin{0.0};  // the prefix cap, linear
};

// The chain sampled for the design: pass-band points F_i, then fold points y_j.
struct Grid {
    double clock{0.0};
    int decimation{1};
    double cfirRate{0.0}, pfirRate{0.0};
    int passCount{0};
    std::vector<double> freq;   // Hz
    std::vector<double> cic;    // the CIC (1 at F = 0) at freq
    std::vector<double> res;    // the resampler at freq (pass points)
    std::vector<double> stopQ;  // fold points: the worst image's CIC x resampler x weight
    std::vector<double> passLo;
};

double cicAt(double f, double clock, int d) {
    const double x = kPi * f / clock;
    const double s = std::sin(x);
    if (std::fabs(s) < 1e-300) return 1.0;
    const double e = std::fabs(std::sin(d * x) / (d * s));
    return e * e * e * e * e;
}

// The stop band's tolerance over the one that holds at F (0: F is free).
double weightAt(const Goal& g, double fo, double f) {
    double w = 0.0;
    if (f >= g.stopHz * (1.0 - 1e-12)) w = 1.0;
    if (g.aliasLimit && fo > 0.0 && f > g.passHz) {
        const double m = std::round(f / fo);
        if (m >= 1.0 && std::fabs(f - m * fo) <= g.passHz * (1.0 + 1e-12)) {
            const double a = g.stopTol / g.aliasTol;
            w = std::max(w, a);
        }
    }
    return w;
}

Grid makeGrid(const ChainSpec& chain, const Goal& g, const StageTable& resampler) {
    Grid grid;
    const auto rates = gc::analysis::stageRates(chain);
    grid.clock = chain.clockHz;
    grid.decimation = std::max(1, chain.decimation);
    grid.cfirRate = rates.cfirHz;
    grid.pfirRate = rates.pfirHz;
    const double half = chain.clockHz / 2.0;
    const double fo = chain.outputRateHz;
    const double rc = rates.cfirHz;
    for (int i = 0; i <= kPassPoints; ++i) grid.freq.push_back(g.passHz * i / kPassPoints);
    grid.passCount = static_cast<int>(grid.freq.size());
    std::vector<double> ys;
    for (int j = 0; j <= kFoldPoints; ++j) ys.push_back(0.5 * rc * j / kFoldPoints);
    // The band edges fold onto points of their own, so that the tightest constraints are met
    // where they begin.
    auto fold = [&](double f) {
        double y = std::fmod(f, rc);
        if (y > rc / 2.0) y = rc - y;
        ys.push_back(y);
    };
    fold(g.stopHz);
    if (g.aliasLimit && fo > 0.0)
        for (int m = 1; m <= 8 && m * fo - g.passHz <= half; ++m) {
            fold(m * fo - g.passHz);
            fold(m * fo + g.passHz);
        }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end(),
                         [&](double a, double b) { return std::fabs(a - b) < rc * 1e-9; }),
             ys.end());

    double wMax = 1.0;
    if (g.aliasLimit) wMax = std::max(wMax, g.stopTol / g.aliasTol);
    const double resMax = resampler.largest();
    const double kStart =
        std::floor(std::min(g.stopHz, fo > 0.0 && g.aliasLimit ? fo - g.passHz : g.stopHz) / rc) -
        1.0;
    // The worst image of y: CIC x resampler x weight over F = k Rc +- y in the constrained set.
    auto worst = [&](double y) {
        double best = 0.0;
        const double sy = std::fabs(std::sin(kPi * grid.decimation * y / grid.clock));
        const double numerator = sy * sy * sy * sy * sy * (1.0 + 1e-9);
        for (double k = std::max(0.0, kStart);; k += 1.0) {
            bool any = false;
            for (const double f : {k * rc - y, k * rc + y}) {
                if (f < 0.0 || f > half) continue;
                any = true;
                const double w = weightAt(g, fo, f);
                if (w <= 0.0) continue;
                best = std::max(best, cicAt(f, grid.clock, grid.decimation) * resampler(f) * w);
            }
            if (!any && k * rc - y > half) break;
            // What is left falls with the CIC's envelope; its numerator is the same at every
            // image of y (it repeats every C/D, which divides Rc).
            const double next = k * rc + rc - y;
            if (best > 0.0 && next > 0.0) {
                const double s = grid.decimation * std::sin(kPi * next / grid.clock);
                const double env = numerator / (s * s * s * s * s);
                if (env * resMax * wMax < best) break;
            }
        }
        return best;
    };
    const double step = 0.5 * rc / kFoldPoints;
    for (double y : ys) {
        grid.freq.push_back(y);
        double q = worst(y);
        for (const double d : {-0.5 * step, 0.5 * step})
            if (y + d >= 0.0 && y + d <= rc / 2.0) q = std::max(q, worst(y + d));
        grid.stopQ.push_back(q);
    }
    for (double f : grid.freq) grid.cic.push_back(cicAt(f, grid.clock, grid.decimation));
    // The resampler exactly over the pass band, where the ripple is judged to 0.001 dB.
    std::vector<int> resTaps;
    if (chain.stageEnabled[2]) resTaps = chain.resamplerTaps;
    long long resSum = 0;
    for (int v : resTaps) resSum += v;
    for (int i = 0; i < grid.passCount; ++i) {
        if (resTaps.empty() || resSum == 0) {
            grid.res.push_back(1.0);
            continue;
        }
        double re = 0.0;
        double im = 0.0;
        const double w = 2.0 * kPi * grid.freq[i] / rates.resamplerHz;
        const double c = std::cos(w);
        const double sn = -std::sin(w);
        for (size_t j = resTaps.size(); j-- > 0;) {  // Horner's rule, z = exp(-i w)
            const double r = re * c - im * sn + resTaps[j];
            im = re * sn + im * c;
            re = r;
        }
        grid.res.push_back(std::hypot(re, im) / std::fabs(static_cast<double>(resSum)));
    }
    return grid;
}

// A stage's half taps against the grid: basis[k][f] = multiplicity x cos(2 pi (c - k) f / R),
// so that the zero-phase amplitude at grid point f is sum_k basis[k][f] h_k.
struct Stage {
    int length{0};
    int halfTaps{0};
    double rate{0.0};
    std::vector<std::vector<double>> basis;
};

Stage makeStage(const Grid& grid, int length, double rate) {
    Stage s;
    s.length = length;
    s.halfTaps = halfCount(length);
    s.rate = rate;
    s.basis.assign(static_cast<size_t>(s.halfTaps), std::vector<double>(grid.freq.size()));
    // cos(lag x) by the Chebyshev recurrence cos((l+1) x) = 2 cos x cos(l x) - cos((l-1) x).
    for (size_t f = 0; f < grid.freq.size(); ++f) {
        const double c1 = std::cos(2.0 * kPi * grid.freq[f] / rate);
        double a = 1.0;  // cos(lag x)
        double b = c1;   // cos((lag + 1) x)
        for (int lag = 0; lag < s.halfTaps; ++lag) {
            const int k = s.halfTaps - 1 - lag;
            s.basis[k][f] = tapMultiplicity(length, k) * a;
            const double next = 2.0 * c1 * b - a;
            a = b;
            b = next;
        }
    }
    return s;
}

// The stage's amplitude at the grid points, normalised to 1 at F = 0 (the tap sum is lowered
// below 65536 where a tap would not fit 16 bits; the chain's figures are ratios).
std::vector<double> amplitude(const Stage& s, const std::vector<int>& half) {
    std::vector<double> a(s.basis.empty() ? 0 : s.basis[0].size(), 0.0);
    long long sum = 0;
    for (int k = 0; k < s.halfTaps; ++k)
        sum += static_cast<long long>(tapMultiplicity(s.length, k)) * half[k];
    const double norm = sum != 0 ? static_cast<double>(sum) : kUnity;
    for (int k = 0; k < s.halfTaps; ++k) {
        const double h = half[k] / norm;
        if (h == 0.0) continue;
        for (size_t f = 0; f < a.size(); ++f) a[f] += s.basis[k][f] * h;
    }
    return a;
}

// A design's standing on the grid: first how far it breaks the hard limits (the ripple in the
// strict form, the prefix caps always), then its level (stop band over the goal, or in the
// weighted form the larger of ripple and stop band over theirs).
struct Score {
    double infeasible{std::numeric_limits<double>::infinity()};
    double level{std::numeric_limits<double>::infinity()};
    double stopRel{std::numeric_limits<double>::infinity()};  // stop level over the pass peak
    double passDev{1.0};                                      // (max - min) / (max + min)
    double passCenter{1.0};                                   // (max + min) / 2

    bool operator<(const Score& o) const {
        if (std::fabs(infeasible - o.infeasible) > 1e-12) return infeasible < o.infeasible;
        return level < o.level;
    }
};

// The problem of one stage with the other's taps fixed.
struct StageProblem {
    const Grid* grid{nullptr};
    const Stage* stage{nullptr};
    const Goal* goal{nullptr};
    bool strict{true};
    bool isCfir{true};
    std::vector<double> passGain;  // pass point i: chain = passGain_i * A
    std::vector<double> stopGain;  // fold point j: stop level = stopGain_j * |A|
    std::vector<double> prefix1;   // all points: CIC (CFIR only)
    std::vector<double> prefix2;   // all points: CIC x other
    double weightTol{0.0};         // the weighted form's stop level of weight 1 (0: the goal's)

    StageProblem(const Grid& g, const Stage& s, const Goal& goalIn,
                 const std::vector<double>& other, bool strictForm, bool cfir)
        : grid(&g), stage(&s), goal(&goalIn), strict(strictForm), isCfir(cfir) {
        const size_t n = g.freq.size();
        const size_t np = static_cast<size_t>(g.passCount);
        for (size_t i = 0; i < np; ++i) passGain.push_back(g.cic[i] * g.res[i] * other[i]);
        for (size_t j = np; j < n; ++j) stopGain.push_back(g.stopQ[j - np] * std::fabs(other[j]));
        if (cfir) prefix1 = g.cic;
        for (size_t f = 0; f < n; ++f) prefix2.push_back(g.cic[f] * other[f]);
    }

    Score score(const std::vector<double>& a) const {
        Score s;
        const size_t np = passGain.size();
        const bool two = !prefix1.empty();
        double hi = -std::numeric_limits<double>::infinity();
        double lo = std::numeric_limits<double>::infinity();
        double peak1 = 0.0, peak2 = 0.0, above1 = 0.0, above2 = 0.0;
        for (size_t i = 0; i < np; ++i) {
            const double v = passGain[i] * a[i];
            hi = std::max(hi, v);
            lo = std::min(lo, v);
            peak2 = std::max(peak2, std::fabs(prefix2[i] * a[i]));
            if (two) peak1 = std::max(peak1, std::fabs(prefix1[i] * a[i]));
        }
        if (!(lo > 0.0) || peak2 <= 0.0 || (two && peak1 <= 0.0)) return s;
        double stop = 0.0;
        const size_t n = a.size();
        for (size_t f = np; f < n; ++f) {
            const double m = std::fabs(a[f]);
            stop = std::max(stop, stopGain[f - np] * m);
            above2 = std::max(above2, std::fabs(prefix2[f]) * m);
            if (two) above1 = std::max(above1, std::fabs(prefix1[f]) * m);
        }
        double excess = std::max(0.0, above2 / peak2 / goal->capLin - 1.0);
        if (two) excess += std::max(0.0, above1 / peak1 / goal->capLin - 1.0);
        s.passDev = (hi - lo) / (hi + lo);
        s.passCenter = 0.5 * (hi + lo);
        s.stopRel = stop / hi;
        const double rippleExcess = s.passDev / (goal->passTol * kIntegerShare);
        if (strict) {
            s.infeasible = excess + std::max(0.0, rippleExcess - 1.0);
            s.level = s.stopRel / goal->stopTol;
        } else {
            s.infeasible = excess;
            s.level =
                std::max(rippleExcess, s.stopRel / (weightTol > 0.0 ? weightTol : goal->stopTol));
        }
        return s;
    }

    // The minimax program over the stage's real half taps; `current` sets the cap's
    // reference point (where its prefix peaks in the pass band) and the level's scale.
    std::optional<std::vector<double>> solve(double scale, double dp, std::vector<size_t>& warm,
                                             const DesignControl& control, bool& cancelled) const {
        const double center = 1.0;
        const Stage& st = *stage;
        const int n = st.halfTaps;
        const size_t np = passGain.size();
        const size_t total = grid->freq.size();
        LpRows rows;
        rows.columns = n;
        const size_t expected = 2 * np + 2 * stopGain.size() + 4 * total + 1;
        rows.a.reserve(expected * static_cast<size_t>(n));
        rows.tCoef.reserve(expected);
        rows.lo.reserve(expected);
        rows.hi.reserve(expected);
        std::vector<double> coef(static_cast<size_t>(n));
        std::vector<size_t> seed;
        auto basisAt = [&](size_t f, double gain) {
            for (int k = 0; k < n; ++k) coef[k] = st.basis[k][f] * gain;
        };
        const double inf = std::numeric_limits<double>::infinity();
        for (size_t i = 0; i < np; ++i) {
            basisAt(i, passGain[i]);
            if (strict) {
                if (i % 16 == 0) seed.push_back(rows.size());
                rows.add(coef.data(), 0.0, center * (1.0 - dp), center * (1.0 + dp));
            } else {
                // |chain - 1| <= dp t, the level t shared with the stop band's.
                if (i % 16 == 0) seed.push_back(rows.size());
                rows.add(coef.data(), dp, center, inf);
                if (i % 16 == 0) seed.push_back(rows.size());
                rows.add(coef.data(), -dp, -inf, center);
            }
        }
        // The stage's own gain at F = 0 stays near 1 (tap sum near 65536): only the product
        // matters to the chain, so the split would otherwise drift.
        {
            const double w = 0.8 * kSumWindow;
            for (int k = 0; k < n; ++k) coef[k] = tapMultiplicity(st.length, k);
            seed.push_back(rows.size());
            rows.add(coef.data(), 0.0, 1.0 - w, 1.0 + w);
        }
        for (size_t j = 0; j < stopGain.size(); ++j) {
            if (stopGain[j] <= 0.0) continue;
            basisAt(np + j, stopGain[j] / scale);
            if (j % 64 == 0) seed.push_back(rows.size());
            rows.add(coef.data(), -1.0, -inf, 0.0);
            for (double& c : coef) c = -c;
            if (j % 64 == 0) seed.push_back(rows.size());
            rows.add(coef.data(), -1.0, -inf, 0.0);
        }
        const double cap = std::pow(10.0, kPrefixCapDb * kLpShare / 20.0);
        for (const std::vector<double>* p : {&prefix1, &prefix2}) {
            if (p->empty()) continue;
            // The reference: where the prefix will peak over the pass band. The chain is
            // flat there, so the prefix follows its coefficient over the chain's.
            size_t ref = 0;
            double peak = -1.0;
            for (size_t i = 0; i < np; ++i) {
                if (passGain[i] == 0.0) continue;
                const double v = std::fabs((*p)[i] / passGain[i]);
                if (v > peak) {
                    peak = v;
                    ref = i;
                }
            }
            std::vector<double> refCoef(static_cast<size_t>(n));
            const double sign = passGain[ref] * (*p)[ref] < 0.0 ? -1.0 : 1.0;
            for (int k = 0; k < n; ++k) refCoef[k] = sign * cap * st.basis[k][ref] * (*p)[ref];
            for (size_t f = np; f < total; ++f) {
                for (const double s : {1.0, -1.0}) {
                    for (int k = 0; k < n; ++k) coef[k] = s * st.basis[k][f] * (*p)[f] - refCoef[k];
                    if ((f - np) % 256 == 0) seed.push_back(rows.size());
                    rows.add(coef.data(), 0.0, -inf, 0.0);
                }
            }
        }
        std::vector<double> lo(static_cast<size_t>(n), -kTapLimit);
        std::vector<double> hi(static_cast<size_t>(n), kTapLimit);
        seed.insert(seed.end(), warm.begin(), warm.end());
        const LpResult r = solveMinimaxLp(rows, lo, hi, 0.0, 1e30, seed, control);
        if (r.status == LpResult::Status::Optimal) warm = r.active;
        if (r.status == LpResult::Status::Cancelled) cancelled = true;
        if (r.status != LpResult::Status::Optimal) return std::nullopt;
        return r.x;
    }
};

// Integer taps from real ones, refined against the same objective: changes of one half tap
// by +-1, then of a pair (+1, -1), kept while they improve the score.
std::vector<int> integerTaps(const StageProblem& p, const std::vector<double>& real, bool thorough,
                             const DesignControl& control) {
    const Stage& st = *p.stage;
    const int n = st.halfTaps;
    // Gain 1 (tap sum 65536) unless the largest tap would not fit 16 bits.
    double largest = 0.0;
    for (int k = 0; k < n; ++k) largest = std::max(largest, std::fabs(real[k]));
    const double scale = largest > kTapLimit ? kTapLimit / largest : 1.0;
    std::vector<int> q(static_cast<size_t>(n));
    double target = 0.0;
    for (int k = 0; k < n; ++k) {
        q[k] = static_cast<int>(std::clamp(std::lround(real[k] * scale * kUnity),
                                           static_cast<long>(kFirMinTap),
                                           static_cast<long>(kFirMaxTap)));
        target += tapMultiplicity(st.length, k) * real[k] * scale * kUnity;
    }
    std::vector<double> a(st.basis[0].size(), 0.0);
    for (int k = 0; k < n; ++k)
        for (size_t f = 0; f < a.size(); ++f) a[f] += st.basis[k][f] * q[k] / kUnity;
    Score best = p.score(a);
    std::vector<double> trial(a.size());
    long long sum = 0;
    for (int k = 0; k < n; ++k) sum += static_cast<long long>(tapMultiplicity(st.length, k)) * q[k];
    target = kUnity * scale;  // the tap sum of gain 1, or as scaled
    const double sumSlack = kSumWindow * target;
    auto tryMove = [&](int k, int dk, int l, int dl) {
        if (q[k] + dk < kFirMinTap || q[k] + dk > kFirMaxTap) return false;
        const long long change =
            static_cast<long long>(tapMultiplicity(st.length, k)) * dk +
            (l >= 0 ? static_cast<long long>(tapMultiplicity(st.length, l)) * dl : 0);
        if (std::fabs(static_cast<double>(sum + change) - target) > sumSlack &&
            std::fabs(static_cast<double>(sum + change) - target) >
                std::fabs(static_cast<double>(sum) - target))
            return false;
        if (l >= 0 && (q[l] + dl < kFirMinTap || q[l] + dl > kFirMaxTap)) return false;
        const double ck = dk / kUnity;
        const double cl = l >= 0 ? dl / kUnity : 0.0;
        const std::vector<double>& bk = st.basis[k];
        const std::vector<double>& bl = st.basis[l >= 0 ? l : k];
        for (size_t f = 0; f < a.size(); ++f) trial[f] = a[f] + ck * bk[f] + cl * bl[f];
        const Score s = p.score(trial);
        if (!(s < best)) return false;
        best = s;
        a.swap(trial);
        q[k] += dk;
        if (l >= 0) q[l] += dl;
        sum += change;
        return true;
    };
    const int sweeps = thorough ? 40 : 12;
    int pairPasses = thorough ? kPairPasses : 0;
    for (int sweep = 0; sweep < sweeps; ++sweep) {
        if (control.cancelled()) break;
        bool improved = false;
        for (int k = 0; k < n; ++k)
            for (const int d : {1, -1})
                while (tryMove(k, d, -1, 0)) improved = true;
        if (!improved && pairPasses-- > 0) {
            for (int k = 0; k < n && !control.cancelled(); ++k)
                for (int l = 0; l < n; ++l)
                    if (l != k && tryMove(k, 1, l, -1)) improved = true;
        }
        if (!improved) break;
    }
    return q;
}

// The PFIR to start from: an equiripple low-pass with the chain's edges (its stop edge where
// its own decimation folds onto the pass band, when it decimates), in integers.
std::vector<int> startingPfir(const ChainSpec& chain, const Goal& g, double pfirRate,
                              double edgeShare) {
    const bool decimates = chain.mode != 2;
    const double fp = g.passHz / pfirRate;
    double fs = g.stopHz / pfirRate;
    if (decimates) fs = std::min(fs, 0.5 - fp);
    fs = fp + (std::min(fs, 0.5) - fp) * edgeShare;
    fs = std::clamp(fs, fp + 1e-3, 0.5);
    std::optional<std::vector<double>> real;
    if (fs - fp > 2e-3)
        real = equiripple(kPfirLength, {{0.0, fp}, {fs, 0.5}}, [&](double f, double& d, double& w) {
            d = f <= fp ? 1.0 : 0.0;
            w = f <= fp ? 1.0 : 10.0;
        });
    std::vector<double> h(static_cast<size_t>(halfCount(kPfirLength)));
    if (real) {
        h = *real;
    } else {  // a windowed sinc at the middle of the transition
        const double fc = 0.5 * (fp + fs);
        const int c = kPfirLength / 2;
        for (int k = 0; k <= c; ++k) {
            const double m = c - k;
            const double s = m == 0 ? 2.0 * fc : std::sin(2.0 * kPi * fc * m) / (kPi * m);
            h[k] = s * (0.54 + 0.46 * std::cos(kPi * m / (c + 1)));
        }
    }
    double dc = zeroPhaseAmplitude(h, kPfirLength, 0.0);
    if (!(std::fabs(dc) > 0.0)) dc = 1.0;
    std::vector<int> q(h.size());
    for (size_t k = 0; k < h.size(); ++k)
        q[k] = static_cast<int>(std::clamp(std::lround(h[k] / dc * kUnity),
                                           static_cast<long>(kFirMinTap),
                                           static_cast<long>(kFirMaxTap)));
    return q;
}

struct JointResult {
    std::vector<int> cfirHalf, pfirHalf;
    Score score;
    bool cancelled{false};
};

// Where an alternation stands, so that a promising start can be carried on.
struct JointState {
    std::vector<int> cfirHalf, pfirHalf;
    bool cfirDesigned{false};
    std::array<std::vector<size_t>, 4> warm;  // binding rows of each stage's last programs
    Score previous;
    int roundsDone{0};
    JointResult best;
    double share{1.0};  // of the starting PFIR's transition
    double aim{0.0};    // the weighted form's stop level of weight 1, set at its first use
};

JointState startState(const Stage& cfir, std::vector<int> pfirHalf) {
    JointState s;
    s.cfirHalf.assign(static_cast<size_t>(cfir.halfTaps), 0);
    s.cfirHalf.back() = kFirMaxTap;  // a pass-through until the first program designs it
    s.pfirHalf = std::move(pfirHalf);
    return s;
}

// Alternating programs, `rounds` more of them from `state` (fewer once a round gains little).
// Returns false when cancelled.
bool joint(const Grid& grid, const Stage& cfir, const Stage& pfir, const Goal& goal,
           JointState& state, int rounds, bool thorough, const DesignControl& control,
           double progressFrom, double progressTo) {
    std::vector<int>& cfirHalf = state.cfirHalf;
    std::vector<int>& pfirHalf = state.pfirHalf;
    bool& cfirDesigned = state.cfirDesigned;
    auto& warm = state.warm;
    JointResult& out = state.best;
    Score& previous = state.previous;
    const bool strict = true;
    for (int step = 0; step < rounds; ++step) {
        const int round = state.roundsDone++;
        const bool last = step + 1 == rounds;
        for (const bool isCfir : {true, false}) {
            const Stage& st = isCfir ? cfir : pfir;
            const std::vector<double> other =
                amplitude(isCfir ? pfir : cfir, isCfir ? pfirHalf : cfirHalf);
            std::vector<int>& mine = isCfir ? cfirHalf : pfirHalf;
            std::vector<double> current = amplitude(st, mine);
            std::optional<std::vector<double>> real;
            StageProblem problem(grid, st, goal, other, strict, isCfir);
            {
                const Score now = problem.score(current);
                // The programs' stop level scale: the level reached so far (never the goal's,
                // so that the attenuation asked cannot steer the design).
                double scale = std::isfinite(now.stopRel) && now.stopRel > 0.0 ? now.stopRel : 1e-3;
                const double dp = goal.passTol * kLpShare;
                bool cancelled = false;
                real = problem.solve(scale, dp, warm[isCfir ? 0 : 1], control, cancelled);
                if (!real && !cancelled) {
                    // The ripple cannot be held with this other stage (yet): the weighted
                    // form, which always has a solution, for this step.
                    // Its stop-band weight aims well beyond the level of the start (a fixed
                    // step, not the attenuation asked: asking for less never steers the
                    // design elsewhere).
                    problem = StageProblem(grid, st, goal, other, false, isCfir);
                    if (state.aim <= 0.0) state.aim = scale * std::pow(10.0, -kAimDb / 20.0);
                    problem.weightTol = state.aim;
                    real = problem.solve(state.aim, dp, warm[isCfir ? 2 : 3], control, cancelled);
                }
                if (cancelled || control.cancelled()) return false;
            }
            if (!real) continue;
            const std::vector<int> q = integerTaps(problem, *real, thorough && last, control);
            if (control.cancelled()) return false;
            // The stage is kept only when it does not make the chain worse.
            const Score before = problem.score(current);
            const Score after = problem.score(amplitude(st, q));
            if (after < before || (isCfir && !cfirDesigned)) mine = q;
            if (isCfir) cfirDesigned = true;
        }
        // The whole chain's score, seen from the PFIR's side: a design inside the ripple
        // by its stop band, one outside it by the weighted form (ranked below).
        const std::vector<double> cfirAmp = amplitude(cfir, cfirHalf);
        const std::vector<double> pfirAmp = amplitude(pfir, pfirHalf);
        Score now = StageProblem(grid, pfir, goal, cfirAmp, true, false).score(pfirAmp);
        if (now.infeasible > 0.0) {
            now = StageProblem(grid, pfir, goal, cfirAmp, false, false).score(pfirAmp);
            now.infeasible += 1.0;
        }
        if (now < out.score || out.cfirHalf.empty()) {
            out.score = now;
            out.cfirHalf = cfirHalf;
            out.pfirHalf = pfirHalf;
        }
        control.report(progressFrom + (progressTo - progressFrom) * (step + 1) / rounds);
        if (round >= kLeastRounds - 1 && previous.infeasible == now.infeasible &&
            std::isfinite(now.level) && std::isfinite(previous.level) && now.level > 0.0 &&
            20.0 * std::log10(previous.level / now.level) < kConvergedDb)
            break;
        previous = now;
    }
    return true;
}

std::string fixedText(double v, int decimals) { return formatDb(v, decimals); }

// A ripple to three decimals, or to three significant digits when smaller than 0.01 dB.
std::string rippleText(double v) {
    if (!(v < 0.01) || v <= 0.0) return formatDb(v, 3);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3g", v);
    return buf;
}

struct Designed {
    std::vector<int> cfir, pfir;  // full taps
    double share{1.0};            // the start that won
    Measurement measurement;
    bool cancelled{false};
    bool ok{false};
};

Goal goalFor(const Requirement& req) {
    Goal g;
    g.passHz = req.passbandHz;
    g.passTol = std::max(
        toleranceFromRipple(std::max(req.rippleMaxDb.value_or(kDefaultRippleDb), 0.0)), 1e-9);
    double stopDb = req.stopbandMinDb.value_or(kDefaultStopbandDb);
    stopDb = std::clamp(stopDb, 0.0, 300.0);
    g.stopTol = std::pow(10.0, -stopDb / 20.0);
    g.aliasTol = g.stopTol;
    if (req.aliasRejectionMinDb) {
        g.aliasLimit = true;
        g.aliasTol = std::pow(10.0, -std::clamp(*req.aliasRejectionMinDb, 0.0, 300.0) / 20.0);
    }
    g.capLin = std::pow(10.0, kPrefixCapDb / 20.0);
    return g;
}

// One whole design of the CFIR and PFIR for `req` on `chain` (the resampler as in it).
Designed designPair(const ChainSpec& chain, const Requirement& req, const Requirement& judged,
                    bool best, const std::vector<double>& shares, int rounds,
                    const DesignControl& control, double from, double to) {
    Designed out;
    const auto rates = gc::analysis::stageRates(chain);
    Goal goal = goalFor(req);
    goal.stopHz = req.stopbandHz.value_or(chain.outputRateHz / 2.0);
    StageTable resampler;
    if (chain.stageEnabled[2] && !chain.resamplerTaps.empty())
        resampler = StageTable(chain.resamplerTaps, rates.resamplerHz,
                               std::max(2048, 8 * static_cast<int>(chain.resamplerTaps.size())));
    const Grid grid = makeGrid(chain, goal, resampler);
    const Stage cfir = makeStage(grid, kCfirLength, rates.cfirHz);
    const Stage pfir = makeStage(grid, kPfirLength, rates.pfirHz);

    // Starting PFIRs of several transition widths (the alternation ends in the optimum
    // nearest its start): each tried for a few rounds, the best carried on.
    std::vector<JointState> states;
    const double screenEnd = from + (to - from) * 0.5;
    for (size_t s = 0; s < shares.size(); ++s) {
        const double a = from + (screenEnd - from) * s / shares.size();
        const double b = from + (screenEnd - from) * (s + 1) / shares.size();
        states.push_back(startState(cfir, startingPfir(chain, goal, rates.pfirHz, shares[s])));
        states.back().share = shares[s];
        if (!joint(grid, cfir, pfir, goal, states.back(), kScreenRounds, false, control, a, b)) {
            out.cancelled = true;
            return out;
        }
    }
    std::sort(states.begin(), states.end(), [](const JointState& x, const JointState& y) {
        if (x.best.cfirHalf.empty() != y.best.cfirHalf.empty()) return y.best.cfirHalf.empty();
        return x.best.score < y.best.score;
    });
    const size_t carried = best ? 2 : 1;
    JointResult bestJoint;
    for (size_t s = 0; s < std::min(carried, states.size()); ++s) {
        const double a = screenEnd + (to - screenEnd) * s / carried;
        const double b = screenEnd + (to - screenEnd) * (s + 1) / carried;
        // No start holds the ripple: the rest trades pass band against stop band at the
        // weights of the requirement itself (the fixed aim would sacrifice the pass band).
        if (states[s].best.score.infeasible >= 1.0) states[s].aim = goal.stopTol;
        if (!joint(grid, cfir, pfir, goal, states[s], rounds - kScreenRounds, true, control, a,
                   b)) {
            out.cancelled = true;
            return out;
        }
        const JointResult& r = states[s].best;
        if (!r.cfirHalf.empty() && (bestJoint.cfirHalf.empty() || r.score < bestJoint.score)) {
            bestJoint = r;
            out.share = states[s].share;
        }
    }
    if (bestJoint.cfirHalf.empty()) return out;
    out.cfir = mirrorHalf(bestJoint.cfirHalf, kCfirLength);
    out.pfir = mirrorHalf(bestJoint.pfirHalf, kPfirLength);
    ChainSpec c = chain;
    c.cfirTaps = out.cfir;
    c.pfirTaps = out.pfir;
    out.measurement = gc::analysis::measure(gc::analysis::ChannelChain(c), judged);
    out.ok = true;
    return out;
}

}  // namespace

std::string formatDb(double v, int decimals) {
    if (std::isnan(v)) return "NaN";
    if (std::isinf(v)) return v > 0 ? "∞" : "-∞";
    char buf[64];
    if (std::fabs(v) >= 1e6)
        std::snprintf(buf, sizeof buf, "%.3g", v);
    else
        std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

std::string shortfallMessage(const ChainSpec& chain, const Requirement& req,
                             const ChannelDesign& design) {
    const Measurement& m = design.measurement;
    if (m.meets) return {};
    std::string text =
        tx("Требование не выполнено при 21 отводе CFIR и 63 отводах PFIR и "
           "децимации %1. Лучшее достигнутое:",
           {std::to_string(chain.decimation)});
    bool stopShort = false;
    bool rippleShort = false;
    if (m.rippleOk && !*m.rippleOk) {
        rippleShort = true;
        text += tx(" неравномерность %1 дБ (требуется не более %2 дБ);",
                   {rippleText(m.rippleDb), rippleText(*req.rippleMaxDb)});
    }
    if (m.stopbandOk && !*m.stopbandOk) {
        stopShort = true;
        text += tx(" подавление в полосе заграждения %1 дБ (требуется не менее %2 дБ);",
                   {fixedText(m.stopbandAttenuationDb, 1), fixedText(*req.stopbandMinDb, 1)});
    }
    if (m.aliasOk && !*m.aliasOk) {
        stopShort = true;
        text += tx(" подавление наложений %1 дБ (требуется не менее %2 дБ);",
                   {fixedText(m.aliasRejectionDb, 1), fixedText(*req.aliasRejectionMinDb, 1)});
    }
    if (text.back() == ';') text.back() = '.';
    if (design.reachableStopbandDb && m.stopbandOk && !*m.stopbandOk)
        text += tx(" При заданной неравномерности достижимо подавление в полосе заграждения %1 дБ.",
                   {fixedText(*design.reachableStopbandDb, 1)});
    if (design.stopbandEdgeHz)
        text += tx(" Требуемое подавление достигается при границе полосы заграждения %1 Гц.",
                   {gc::model::formatGeneral(std::round(*design.stopbandEdgeHz), 10)});
    text += tx(" Ослабьте ограничение:");
    if (stopShort) {
        // Where the worst frequency folds into the FIR stages' pass band only the CIC
        // attenuates it: a lower decimation or another output mode helps, a wider transition
        // does not.
        const double worst = (m.stopbandOk && !*m.stopbandOk) ? m.stopbandWorstHz : m.aliasWorstHz;
        const auto rates = gc::analysis::stageRates(chain);
        double x = rates.pfirHz > 0.0 ? std::fmod(worst, rates.pfirHz) : worst;
        x = std::min(x, rates.pfirHz - x);
        if (x <= m.passbandHz * 1.05 && !design.stopbandEdgeHz)
            text +=
                tx(" уменьшите децимацию или выберите другой режим выхода, либо уменьшите "
                   "требуемое подавление");
        else
            text +=
                tx(" расширьте переходную полосу (повысьте частоту начала полосы "
                   "заграждения) или уменьшите требуемое подавление");
        text += rippleShort ? ";" : ".";
    }
    if (rippleShort)
        text += tx(" сузьте полосу пропускания или допустите большую неравномерность.");
    return text;
}

ChannelDesign designChannel(const ChainSpec& chainIn, const Requirement& req,
                            const ChannelDesignOptions& options, const DesignControl& control) {
    ChannelDesign out;
    ChainSpec chain = chainIn;
    chain.stageEnabled[0] = chain.stageEnabled[1] = true;
    chain.cfirTaps.assign(kCfirLength, 0);
    chain.cfirTaps[kCfirLength / 2] = static_cast<int>(kUnityTapSum);
    chain.pfirTaps.assign(kPfirLength, 0);
    chain.pfirTaps[kPfirLength / 2] = static_cast<int>(kUnityTapSum);
    out.error = gc::analysis::validateRequirement(chain, req);
    if (out.error.empty() && req.stopbandMinDb && !(*req.stopbandMinDb >= 0.0))
        out.error = tx("Подавление в полосе заграждения должно быть не меньше 0 дБ");
    if (out.error.empty() && req.aliasRejectionMinDb && !(*req.aliasRejectionMinDb >= 0.0))
        out.error = tx("Подавление наложений должно быть не меньше 0 дБ");
    if (!out.error.empty()) return out;

    // With --best the attenuation limit is what is maximised, not a limit to judge.
    Requirement judged = req;
    if (options.best) judged.stopbandMinDb.reset();
    const auto rates = gc::analysis::stageRates(chain);
    const Goal goal = goalFor(req);
    const double rippleDb = req.rippleMaxDb.value_or(kDefaultRippleDb);

    if (options.designResampler && chain.stageEnabled[2]) {
        const int count = static_cast<int>(chain.resamplerTaps.size());
        const int phases = std::max(1, chain.ndelay);
        const double resamplerInput = rates.resamplerHz / phases;
        ResamplerRequest rq;
        rq.phases = phases;
        rq.multiplies = count / phases;
        // Like the library's sets: a transition centred on half the resampler's input rate
        // (or its output rate, when lower) whose width follows Kaiser's estimate for the
        // attenuation wanted; a droop of the prototype inside the channel's pass band is made
        // up by the CFIR and PFIR designed after it.
        const double outputRate = chain.outputRateHz > 0.0 ? chain.outputRateHz : resamplerInput;
        const double band = std::min(resamplerInput, outputRate);
        rq.stopbandDb =
            std::min(-20.0 * std::log10(std::min(goal.stopTol, goal.aliasTol)), kResamplerMaxDb);
        const double b =
            std::clamp(0.5 * (1.0 - (rq.stopbandDb - 7.95) / (14.36 * std::max(1, rq.multiplies))),
                       0.05, 0.45);
        rq.passEdge = b * band / rates.resamplerHz;
        rq.stopEdge = (1.0 - b) * band / rates.resamplerHz;
        rq.rippleDb = rippleDb / 4.0;
        DesignControl sub;
        sub.cancel = control.cancel;
        sub.progress = [&](double f) { control.report(0.3 * f); };
        const ResamplerPrototype proto = designResamplerPrototype(rq, sub);
        if (proto.cancelled || control.cancelled()) {
            out.cancelled = true;
            return out;
        }
        if (!proto.taps.empty()) {
            chain.resamplerTaps = proto.taps;
            out.resamplerTaps = proto.taps;
            out.resamplerStopbandDb = proto.stopbandDb;
        }
    }

    const double start = out.resamplerTaps.empty() ? 0.0 : 0.3;
    const bool searchEdge = options.suggestEdge && !options.best && req.stopbandMinDb;
    const double mainEnd = searchEdge ? start + (1.0 - start) * 0.6 : 1.0;
    // Starting PFIRs of several transition widths (the alternation ends in the optimum nearest
    // its start); with --best more of them and two carried on.
    const std::vector<double> shares = options.best ? std::vector<double>{0.4, 0.55, 0.85, 1.0, 1.3}
                                                    : std::vector<double>{0.4, 1.0, 1.3};
    const Designed main = designPair(chain, req, judged, options.best, shares,
                                     options.best ? kBestRounds : kRounds, control, start, mainEnd);
    if (main.cancelled || control.cancelled()) {
        out.cancelled = true;
        out.resamplerTaps.clear();
        return out;
    }
    if (!main.ok) {  // no program solved at all: cannot happen for a validated requirement
        out.error = tx("Не удалось рассчитать фильтры для этого требования.");
        return out;
    }
    out.cfirTaps = main.cfir;
    out.pfirTaps = main.pfir;
    out.measurement = main.measurement;
    chain.cfirTaps = out.cfirTaps;
    chain.pfirTaps = out.pfirTaps;
    out.chain = chain;
    out.meets = out.measurement.meets;
    if (out.measurement.rippleDb <= rippleDb)
        out.reachableStopbandDb = out.measurement.stopbandAttenuationDb;

    // The attenuation limit missed: the lowest stop-band edge at which the same designer meets
    // it, searched over the transition width on a log scale between the asked edge and the
    // highest sensible one.
    if (searchEdge && out.measurement.stopbandOk && !*out.measurement.stopbandOk &&
        out.reachableStopbandDb) {
        const double half = chain.clockHz / 2.0;
        const double fs0 = req.stopbandHz.value_or(chain.outputRateHz / 2.0);
        std::vector<double> uppers;
        // Beyond the output rate a stop band means nothing to the channel.
        for (double f : {chain.outputRateHz - req.passbandHz, chain.outputRateHz})
            if (f > fs0 * 1.0001 && f <= half) uppers.push_back(f);
        auto meetsAt = [&](double fs, bool& cancelled, double from, double to) {
            Requirement r = req;
            r.stopbandHz = fs;
            const Designed d =
                designPair(chain, r, r, false, {main.share}, kEdgeRounds, control, from, to);
            cancelled = d.cancelled;
            return d.ok && d.measurement.stopbandOk && *d.measurement.stopbandOk &&
                   d.measurement.rippleDb <= rippleDb;
        };
        double lo = fs0;
        std::optional<double> hi;
        const double span = 1.0 - mainEnd;
        int step = 0;
        const int steps = kEdgeSteps + static_cast<int>(uppers.size());
        auto part = [&](int i) { return mainEnd + span * i / steps; };
        // One trial edge on its share of the progress: whether it meets the requirement,
        // nothing when the design was cancelled meanwhile.
        auto tryEdge = [&](double edge) -> std::optional<bool> {
            bool cancelled = false;
            const bool ok = meetsAt(edge, cancelled, part(step), part(step + 1));
            ++step;
            if (cancelled) return std::nullopt;
            return ok;
        };
        const auto cancelledOut = [&out] {
            out.cancelled = true;
            out.cfirTaps.clear();
            out.pfirTaps.clear();
            out.resamplerTaps.clear();
            return out;
        };
        for (double u : uppers) {
            const std::optional<bool> ok = tryEdge(u);
            if (!ok) return cancelledOut();
            if (*ok) {
                hi = u;
                break;
            }
            lo = u;
        }
        if (hi) {
            for (int i = 0; i < kEdgeSteps; ++i) {
                const double p = req.passbandHz;
                const double mid = p + std::sqrt((lo - p) * (*hi - p));
                const std::optional<bool> ok = tryEdge(mid);
                if (!ok) return cancelledOut();
                (*ok ? *hi : lo) = mid;
            }
            out.stopbandEdgeHz = *hi;
        }
    }
    out.message = shortfallMessage(chain, judged, out);
    control.report(1.0);
    return out;
}

}  // namespace gc::design
