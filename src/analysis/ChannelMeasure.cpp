// The channel's magnitude at any frequency and the figures measured from it.
//
// How the extremes are guaranteed to lie within 0.01 dB of the continuous function's:
//
// 1. Every factor of H has a proven enclosure over any interval [a, b]:
//    - CIC: sin(pi*D*F/C) is bounded over the interval exactly (its peaks and zeros are known),
//      sin(pi*F/C) grows over (0, C/2], so its smallest value is at a and its largest at b; in
//      the main lobe (F <= C/D) the ratio falls monotonically, so its ends bound it exactly.
//    - each FIR stage: Y(theta) = sum_j h_j exp(-i*(j-c)*theta), c = (n-1)/2, has |Y| = |H_stage|
//      and is tabulated exactly (FFT) at Nf points of one period, theta = 2*pi*F/R. Between two
//      neighbouring samples Y differs from the straight segment joining them by at most
//      s2 = M2*dtheta^2/8 with M2 = sum |h_j|*(j-c)^2 >= |Y''|, and |segment| lies between the
//      distance of the segment from 0 and the larger end. So over the samples the interval
//      covers, (largest end + s2) bounds |Y| above and (smallest distance - s2) below.
//    The product of the factors' enclosures encloses H.
// 2. A maximum is found by branch and bound: intervals wait in a queue by their upper bound;
//    the best is split, its midpoint evaluated exactly. The search stops when no waiting
//    interval's upper bound exceeds the best exact value by more than 0.005 dB, so the true
//    maximum exceeds the reported one by less than that. The table's s2 keeps the bounds from
//    shrinking to the function itself, so an interval narrower than 1/16 of the narrowest lobe
//    of every factor (the CIC's C/D, a stage's R/n) is not split further but searched exactly:
//    its ends and a golden-section search of 24 steps. So narrow, the interval holds at most
//    one rise and one fall of every factor; the only maxima it can miss lie between zeros of two
//    different factors closer than that, far below their neighbours. Minima likewise with lower
//    bounds. The first crossing of a level walks the intervals from 0 upwards, skips every
//    interval whose lower bound lies above the level, samples the narrow ones at 16 points and
//    bisects the first step that crosses.
// The tests hold every figure against a search of the plain sums on a grid of a few hundred
// thousand points.
// Exact values use the closed CIC form and the stage sums evaluated directly (centred, with a
// rotation recurrence), never the 256 points of the plot.
#include "analysis/ChannelMeasure.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <queue>
#include <utility>

#include "model/ConfigurationModel.h"
#include "model/Derived.h"
#include "model/Language.h"
#include "model/Numeric.h"
#include "response/Response.h"

namespace gc::analysis {

using gc::model::tx;

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kInf = std::numeric_limits<double>::infinity();
// The search stops at half the promised tolerance.
const double kSearchRatio = std::pow(10.0, kExtremeToleranceDb / 2.0 / 20.0);
// Guard for the rounding of the bounds' own arithmetic.
constexpr double kRoundUp = 1.0 + 1e-12;
constexpr double kRoundDown = 1.0 - 1e-12;
constexpr long kNodeLimit = 4000000;  // never reached by a sane chain; ends a pathological search
// More alias images than any chain the analysis accepts can have (C/2 over its least Fo).
constexpr double kMaxAliasImages = 1e9;
// A level crossing is found to this fraction of its frequency.
constexpr double kCrossingTolerance = 1e-9;

double pow5(double e) {
    const double e2 = e * e;
    return e2 * e2 * e;
}

// exp(-2*pi*i*k/n) for k < count: exact every 32 steps, a rotation recurrence between.
void unitRoots(size_t n, size_t count, std::vector<double>& wr, std::vector<double>& wi) {
    wr.resize(count);
    wi.resize(count);
    const double step = -2.0 * kPi / static_cast<double>(n);
    const double incR = std::cos(step);
    const double incI = std::sin(step);
    for (size_t k0 = 0; k0 < count; k0 += 32) {
        double r = std::cos(step * static_cast<double>(k0));
        double i = std::sin(step * static_cast<double>(k0));
        for (size_t k = k0; k < k0 + 32 && k < count; ++k) {
            wr[k] = r;
            wi[k] = i;
            const double nr = r * incR - i * incI;
            i = r * incI + i * incR;
            r = nr;
        }
    }
}

// In-place radix-2 FFT of (re, im), X[k] = sum_j x[j] exp(-2*pi*i*j*k/n), n a power of two.
// Plain double arithmetic: std::complex multiplication would check for infinities per product.
void fft(std::vector<double>& re, std::vector<double>& im, std::vector<double>& wr,
         std::vector<double>& wi) {
    const size_t n = re.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) {
            std::swap(re[i], re[j]);
            std::swap(im[i], im[j]);
        }
    }
    unitRoots(n, n / 2, wr, wi);
    for (size_t len = 2; len <= n; len <<= 1) {
        const size_t half = len / 2;
        const size_t stride = n / len;
        for (size_t i = 0; i < n; i += len) {
            for (size_t k = 0; k < half; ++k) {
                const double cr = wr[k * stride];
                const double ci = wi[k * stride];
                const size_t a = i + k;
                const size_t b = a + half;
                const double vr = re[b] * cr - im[b] * ci;
                const double vi = re[b] * ci + im[b] * cr;
                re[b] = re[a] - vr;
                im[b] = im[a] - vi;
                re[a] += vr;
                im[a] += vi;
            }
        }
    }
}

// Distance of the origin from the segment p..q in the plane.
double distanceFromOrigin(double pr, double pi, double qr, double qi) {
    const double dr = qr - pr;
    const double di = qi - pi;
    const double len2 = dr * dr + di * di;
    double t = len2 == 0.0 ? 0.0 : -(pr * dr + pi * di) / len2;
    t = std::clamp(t, 0.0, 1.0);
    const double xr = pr + t * dr;
    const double xi = pi + t * di;
    return std::sqrt(xr * xr + xi * xi);
}

// Large buffers are kept for the next chain of this thread: a fresh one of this size would come
// from the system zeroed page by page, which costs more than the whole table.
using PairBuffer = std::vector<std::pair<double, double>>;
std::vector<PairBuffer>& pairPool() {
    thread_local std::vector<PairBuffer> pool;
    return pool;
}
PairBuffer takePairBuffer() {
    auto& pool = pairPool();
    if (pool.empty()) return {};
    PairBuffer b = std::move(pool.back());
    pool.pop_back();
    return b;
}
void givePairBuffer(PairBuffer&& b) {
    auto& pool = pairPool();
    if (b.capacity() > 0 && pool.size() < 6) pool.push_back(std::move(b));
}
struct Scratch {
    std::vector<double> zr, zi, wr, wi, re, im;
};
Scratch& scratch() {
    thread_local Scratch s;
    return s;
}

// One FIR stage: exact evaluation and the tabulated enclosure.
class Stage {
  public:
    Stage(const std::vector<int>& taps, double rateHz) : rateHz_(rateHz) {
        const int n = static_cast<int>(taps.size());
        n_ = n;
        odd_ = (n % 2) != 0;
        const int half = n / 2;
        centre_ = odd_ ? static_cast<double>(taps[half]) : 0.0;
        symmetric_ = true;
        p_.resize(half);
        q_.resize(half);
        for (int d = 0; d < half; ++d) {
            const int hi = odd_ ? half + 1 + d : half + d;
            const int lo = half - 1 - d;
            p_[d] = static_cast<double>(taps[hi]) + static_cast<double>(taps[lo]);
            q_[d] = static_cast<double>(taps[hi]) - static_cast<double>(taps[lo]);
            if (q_[d] != 0.0) symmetric_ = false;
        }
        buildTable(taps);
    }
    Stage(Stage&&) noexcept = default;
    Stage& operator=(Stage&&) noexcept = default;
    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;
    ~Stage() { givePairBuffer(std::move(tree_)); }

    [[nodiscard]] double rateHz() const { return rateHz_; }
    [[nodiscard]] int tapCount() const { return n_; }

    // |H_stage(F)| from the centred sums.
    [[nodiscard]] double exact(double fHz) const {
        double a = 0.0;
        double b = 0.0;
        centred(fHz, a, b);
        return std::sqrt(a * a + b * b);
    }

    // A lower bound of |H_stage| over [aHz, bHz] from the exact values at its ends: the centred
    // sum lies within M2*dtheta^2/8 of the segment joining them, so the bound closes in on the
    // function as the interval shrinks (the table's does not below its sample spacing).
    [[nodiscard]] double localLower(double aHz, double bHz) const {
        double ar = 0.0, ai = 0.0, br = 0.0, bi = 0.0;
        centred(aHz, ar, ai);
        centred(bHz, br, bi);
        const double dtheta = 2.0 * kPi * ((bHz - aHz) / rateHz_);
        const double slack = m2_ * dtheta * dtheta / 8.0 * kRoundUp + 1e-13 * sumAbs_;
        return std::max(0.0, distanceFromOrigin(ar, ai, br, bi) - slack) * kRoundDown;
    }

  private:
    // The centred sum Y at F as (a, b): Y = a - i*b.
    void centred(double fHz, double& a, double& b) const {
        const double theta = 2.0 * kPi * (fHz / rateHz_);
        const double cr = std::cos(theta);
        const double ci = std::sin(theta);
        // w = exp(i*(d+1)*theta) (odd count) or exp(i*(d+1/2)*theta) (even count)
        double wr = odd_ ? cr : std::cos(0.5 * theta);
        double wi = odd_ ? ci : std::sin(0.5 * theta);
        a = centre_;
        b = 0.0;
        const size_t half = p_.size();
        if (symmetric_) {
            for (size_t d = 0; d < half; ++d) {
                a += p_[d] * wr;
                const double nr = wr * cr - wi * ci;
                wi = wr * ci + wi * cr;
                wr = nr;
            }
        } else {
            for (size_t d = 0; d < half; ++d) {
                a += p_[d] * wr;
                b += q_[d] * wi;
                const double nr = wr * cr - wi * ci;
                wi = wr * ci + wi * cr;
                wr = nr;
            }
        }
    }

  public:
    [[nodiscard]] Bounds bounds(double aHz, double bHz) const {
        const double scale = static_cast<double>(nf_) / rateHz_;
        const double ua = std::floor(aHz * scale);
        const double ub = std::floor(bHz * scale);
        double hi = 0.0;
        double lo = kInf;
        if (!(ub - ua + 1.0 < static_cast<double>(nf_))) {
            hi = tree_[1].first;
            lo = tree_[1].second;
        } else {
            const auto n = static_cast<std::int64_t>(nf_);
            std::int64_t l = static_cast<std::int64_t>(ua) % n;
            if (l < 0) l += n;
            const std::int64_t len = static_cast<std::int64_t>(ub - ua) + 1;
            if (l + len <= n) {
                queryPeriod(l, l + len - 1, hi, lo);
            } else {
                queryPeriod(l, n - 1, hi, lo);
                queryPeriod(0, l + len - 1 - n, hi, lo);
            }
        }
        return {std::max(0.0, lo - slack_) * kRoundDown, (hi + slack_) * kRoundUp};
    }

  private:
    // Y at theta_k = 2*pi*k/nf for k = 0 .. nf/2 (the taps are real, so |Y| and the
    // segments' distances from 0 repeat mirrored over the other half period).
    void buildTable(const std::vector<int>& taps) {
        size_t nf = 1024;
        while (nf < 64 * static_cast<size_t>(n_)) nf <<= 1;
        nf_ = nf;
        half_ = nf / 2;
        const size_t m = half_;
        // The real sequence as m complex pairs, one FFT of half the length, then split.
        Scratch& sc = scratch();
        std::vector<double>& zr = sc.zr;
        std::vector<double>& zi = sc.zi;
        zr.assign(m, 0.0);
        zi.assign(m, 0.0);
        for (int j = 0; j < n_; ++j) (j % 2 == 0 ? zr : zi)[j / 2] = static_cast<double>(taps[j]);
        fft(zr, zi, sc.wr, sc.wi);
        std::vector<double>& wr = sc.wr;
        std::vector<double>& wi = sc.wi;
        unitRoots(nf, m + 1, wr, wi);
        std::vector<double>& re = sc.re;
        std::vector<double>& im = sc.im;
        re.resize(m + 1);
        im.resize(m + 1);
        for (size_t k = 0; k <= m; ++k) {
            const size_t a = k % m;
            const size_t b = (m - k) % m;
            // E = (Z[k] + conj Z[m-k]) / 2, O = (Z[k] - conj Z[m-k]) / (2i)
            const double er = 0.5 * (zr[a] + zr[b]);
            const double ei = 0.5 * (zi[a] - zi[b]);
            const double orr = 0.5 * (zi[a] + zi[b]);
            const double oi = -0.5 * (zr[a] - zr[b]);
            re[k] = er + wr[k] * orr - wi[k] * oi;
            im[k] = ei + wr[k] * oi + wi[k] * orr;
        }
        // Centre the phase: Y_k = X_k * exp(i*c*theta_k), c = (n-1)/2. Only magnitudes and
        // distances from the origin are kept, so a recurrence restarted from exact values will do.
        const double c = 0.5 * static_cast<double>(n_ - 1);
        const double step = 2.0 * kPi * c / static_cast<double>(nf);
        const double incR = std::cos(step);
        const double incI = std::sin(step);
        for (size_t k0 = 0; k0 <= m; k0 += 64) {
            double rr = std::cos(step * static_cast<double>(k0));
            double ri = std::sin(step * static_cast<double>(k0));
            for (size_t k = k0; k < k0 + 64 && k <= m; ++k) {
                const double xr = re[k] * rr - im[k] * ri;
                const double xi = re[k] * ri + im[k] * rr;
                re[k] = xr;
                im[k] = xi;
                const double nr = rr * incR - ri * incI;
                ri = rr * incI + ri * incR;
                rr = nr;
            }
        }
        double m2 = 0.0;
        sumAbs_ = 0.0;
        for (int j = 0; j < n_; ++j) {
            const double off = static_cast<double>(j) - c;
            m2 += std::abs(static_cast<double>(taps[j])) * off * off;
            sumAbs_ += std::abs(static_cast<double>(taps[j]));
        }
        m2_ = m2;
        const double dtheta = 2.0 * kPi / static_cast<double>(nf);
        slack_ = m2 * dtheta * dtheta / 8.0 * kRoundUp + 1e-12 * m2;
        // A segment tree over the sample pairs (k, k+1), k < nf/2: the larger end's magnitude
        // and the segment's distance from the origin.
        tree_ = takePairBuffer();
        tree_.resize(2 * m);
        tree_[0] = {0.0, kInf};
        double prev = std::sqrt(re[0] * re[0] + im[0] * im[0]);
        for (size_t k = 0; k < m; ++k) {
            const double next = std::sqrt(re[k + 1] * re[k + 1] + im[k + 1] * im[k + 1]);
            tree_[m + k] = {std::max(prev, next),
                            distanceFromOrigin(re[k], im[k], re[k + 1], im[k + 1])};
            prev = next;
        }
        for (size_t i = m - 1; i >= 1; --i) {
            tree_[i] = {std::max(tree_[2 * i].first, tree_[2 * i + 1].first),
                        std::min(tree_[2 * i].second, tree_[2 * i + 1].second)};
        }
    }

    // Pairs l..r of the whole period, 0 <= l <= r < nf: pair p >= nf/2 mirrors pair nf-1-p.
    void queryPeriod(std::int64_t l, std::int64_t r, double& hi, double& lo) const {
        const auto m = static_cast<std::int64_t>(half_);
        const auto n = static_cast<std::int64_t>(nf_);
        if (l < m) query(l, std::min(r, m - 1), hi, lo);
        if (r >= m) query(n - 1 - r, n - 1 - std::max(l, m), hi, lo);
    }

    void query(std::int64_t l, std::int64_t r, double& hi, double& lo) const {
        std::int64_t a = l + static_cast<std::int64_t>(half_);
        std::int64_t b = r + static_cast<std::int64_t>(half_) + 1;
        while (a < b) {
            if (a & 1) {
                hi = std::max(hi, tree_[a].first);
                lo = std::min(lo, tree_[a].second);
                ++a;
            }
            if (b & 1) {
                --b;
                hi = std::max(hi, tree_[b].first);
                lo = std::min(lo, tree_[b].second);
            }
            a >>= 1;
            b >>= 1;
        }
    }

    double rateHz_;
    int n_{0};
    bool odd_{true};
    bool symmetric_{true};
    double centre_{0.0};
    std::vector<double> p_, q_;
    size_t nf_{0};    // samples per period
    size_t half_{0};  // nf_ / 2: the tabulated pairs
    double slack_{0.0};
    double m2_{0.0};                               // sum |h_j| (j-c)^2, a bound of |Y''|
    double sumAbs_{0.0};                           // sum |h_j|, a bound of |Y|
    std::vector<std::pair<double, double>> tree_;  // (max of larger ends, min of distances)
};

}  // namespace

struct ChannelChain::Impl {
    ChainSpec spec;
    double clock{0.0};
    double halfClock{0.0};
    double d{1.0};
    double d5{1.0};
    std::vector<Stage> stages;
    double leaf{0.0};

    // |sin(pi*D*F/C) / sin(pi*F/C)|
    [[nodiscard]] double cicRatio(double f) const {
        const double den = std::sin(kPi * (f / clock));
        if (f == 0.0 || std::abs(den) < 1e-300) return d;
        return std::abs(std::sin(kPi * (d * f / clock)) / den);
    }

    [[nodiscard]] double exact(double f) const {
        double v = pow5(cicRatio(f));
        for (const Stage& s : stages) {
            if (v == 0.0) break;
            v *= s.exact(f);
        }
        return v;
    }

    [[nodiscard]] Bounds cicBounds(double a, double b) const {
        const double x = d * a / clock;
        const double y = d * b / clock;
        double lo = 0.0;
        double hi = 0.0;
        if (y <= 1.0) {
            // main lobe: the ratio falls from D at 0 to 0 at C/D
            hi = cicRatio(a);
            lo = cicRatio(b);
        } else {
            double nmax = 0.0;
            double nmin = 0.0;
            const double sx = std::abs(std::sin(kPi * x));
            const double sy = std::abs(std::sin(kPi * y));
            if (y - x >= 1.0 || std::floor(x - 0.5) != std::floor(y - 0.5))
                nmax = 1.0;
            else
                nmax = std::max(sx, sy);
            if (y - x >= 1.0 || std::floor(x) != std::floor(y) || x == std::floor(x))
                nmin = 0.0;
            else
                nmin = std::min(sx, sy);
            const double dmin = std::sin(kPi * (a / clock));
            const double dmax = std::sin(kPi * (b / clock));
            hi = dmin > 0.0 ? std::min(d, nmax / dmin) : d;
            lo = dmax > 0.0 ? nmin / dmax : 0.0;
        }
        return {pow5(lo) * kRoundDown, pow5(hi) * kRoundUp};
    }

    // A lower bound of H over [a, b] that closes in on H as the interval shrinks.
    [[nodiscard]] double localLower(double a, double b) const {
        double lo = cicBounds(a, b).lower;
        for (const Stage& s : stages) {
            if (lo == 0.0) break;
            lo *= s.localLower(a, b);
        }
        return lo;
    }

    [[nodiscard]] Bounds bounds(double a, double b) const {
        Bounds r = cicBounds(a, b);
        for (const Stage& s : stages) {
            const Bounds sb = s.bounds(a, b);
            r.lower *= sb.lower;
            r.upper *= sb.upper;
        }
        return r;
    }

    template <typename Better>
    void golden(double a, double b, Better better, Extreme& best) const {
        auto consider = [&](double f) {
            const double v = exact(f);
            if (better(v, best.value)) best = {v, f};
            return v;
        };
        consider(a);
        consider(b);
        const double g = 0.6180339887498949;
        double x1 = b - g * (b - a);
        double x2 = a + g * (b - a);
        double f1 = consider(x1);
        double f2 = consider(x2);
        for (int i = 0; i < 24 && b - a > 0.0; ++i) {
            if (better(f1, f2) || f1 == f2) {
                b = x2;
                x2 = x1;
                f2 = f1;
                x1 = b - g * (b - a);
                f1 = consider(x1);
            } else {
                a = x1;
                x1 = x2;
                f1 = f2;
                x2 = a + g * (b - a);
                f2 = consider(x2);
            }
        }
    }

    // An interval [a, b], or (m1 > m0) the group of alias intervals m0..m1 whose hull it is.
    struct Node {
        double key;
        double a, b;
        long m0, m1;
        bool operator<(const Node& o) const { return key < o.key; }
    };

    // Largest H over the union of the given nodes.
    [[nodiscard]] Extreme maximize(std::vector<Node> start, double fo, double w,
                                   double ratio) const {
        Extreme best{0.0, start.empty() ? 0.0 : start.front().a};
        std::priority_queue<Node> queue;
        auto push = [&](Node n) {
            n.key = bounds(n.a, n.b).upper;
            if (n.key > best.value * ratio) queue.push(n);
        };
        auto hull = [&](long m0, long m1) {
            return Node{0.0, std::max(0.0, m0 * fo - w), std::min(halfClock, m1 * fo + w), m0, m1};
        };
        for (const Node& n : start) push(n);
        auto greater = [](double v, double b) { return v > b; };
        long count = 0;
        while (!queue.empty() && ++count < kNodeLimit) {
            const Node n = queue.top();
            queue.pop();
            if (n.key <= best.value * ratio) break;
            if (n.m1 > n.m0) {
                const long mid = n.m0 + (n.m1 - n.m0) / 2;
                push(hull(n.m0, mid));
                push(hull(mid + 1, n.m1));
                continue;
            }
            if (n.b - n.a <= leaf) {
                golden(n.a, n.b, greater, best);
                continue;
            }
            const double mid = 0.5 * (n.a + n.b);
            const double v = exact(mid);
            if (v > best.value) best = {v, mid};
            push(Node{0.0, n.a, mid, n.m0, n.m1});
            push(Node{0.0, mid, n.b, n.m0, n.m1});
        }
        return best;
    }

    [[nodiscard]] Extreme minimize(double a0, double b0) const {
        Extreme best{kInf, a0};
        std::priority_queue<Node> queue;  // by the negated lower bound
        auto push = [&](double a, double b) {
            const double lo = bounds(a, b).lower;
            if (lo * kSearchRatio < best.value) queue.push(Node{-lo, a, b, 0, 0});
        };
        auto less = [](double v, double b) { return v < b; };
        const double v0 = exact(a0);
        best = {v0, a0};
        push(a0, b0);
        long count = 0;
        while (!queue.empty() && ++count < kNodeLimit) {
            const Node n = queue.top();
            queue.pop();
            if (-n.key * kSearchRatio >= best.value) break;
            if (n.b - n.a <= leaf) {
                golden(n.a, n.b, less, best);
                continue;
            }
            const double mid = 0.5 * (n.a + n.b);
            const double v = exact(mid);
            if (v < best.value) best = {v, mid};
            push(n.a, mid);
            push(mid, n.b);
        }
        return best;
    }

    // The first F in [a0, b0] with H(F) <= level, to 1e-9 of F; H(a0) is above the level.
    [[nodiscard]] std::optional<double> firstInLeaf(double a0, double b0, double level,
                                                    long& count) const {
        std::vector<std::pair<double, double>> stack{{a0, b0}};
        while (!stack.empty() && ++count < kNodeLimit) {
            const auto [a, b] = stack.back();
            stack.pop_back();
            if (localLower(a, b) > level) continue;
            if (exact(a) <= level) return a;
            const double mid = 0.5 * (a + b);
            if (b - a <= kCrossingTolerance * b || mid <= a || mid >= b) {
                // So narrow that H cannot dip below the level and come back unseen: the
                // crossing lies here when H reaches the level at its end.
                if (exact(b) <= level) return b;
                continue;
            }
            stack.push_back({mid, b});
            stack.push_back({a, mid});
        }
        return std::nullopt;
    }

    [[nodiscard]] std::optional<double> firstAtOrBelow(double level) const {
        std::vector<std::pair<double, double>> stack{{0.0, halfClock}};
        long count = 0;
        while (!stack.empty() && ++count < kNodeLimit) {
            const auto [a, b] = stack.back();
            stack.pop_back();
            if (bounds(a, b).lower > level) continue;
            if (exact(a) <= level) return a;
            if (b - a > leaf) {
                const double mid = 0.5 * (a + b);
                stack.push_back({mid, b});
                stack.push_back({a, mid});
                continue;
            }
            // A narrow interval: bisected left first down to 1e-9 of F, dropping the parts
            // whose local bound lies above the level, so a dip below it between any samples
            // is still the first crossing found.
            if (const auto first = firstInLeaf(a, b, level, count)) return first;
        }
        return std::nullopt;
    }
};

StageRates stageRates(const ChainSpec& chain) {
    const double c = chain.clockHz;
    const double d = std::max(1, chain.decimation);
    const double nd = std::max(1, chain.ndelay);
    StageRates r;
    switch (gc::response::responseMode(chain.mode)) {
        case 1:
            r = {2.0 * c / d, c / d, nd * c / (2.0 * d)};
            break;
        case 2:
            r = {2.0 * c / d, c / d, nd * c / d};
            break;
        default:
            r = {c / d, c / (2.0 * d), nd * c / (4.0 * d)};
            break;
    }
    return r;
}

ChainSpec chainFromModel(const gc::model::ConfigurationModel& model) {
    ChainSpec s;
    const int ch = model.currentIndex();
    s.clockHz = model.Work.WorkingClock;
    s.decimation = model.Work.CurrentDecimation;
    s.mode = gc::response::responseMode(model.Chip.ModeOfDdc);
    for (int i = 0; i < 3; ++i) s.stageEnabled[i] = model.Work.StageEnabled[i] == 1;
    s.cfirTaps.assign(model.CfirTaps[ch].begin(), model.CfirTaps[ch].end());
    s.pfirTaps.assign(model.PfirTaps[ch].begin(), model.PfirTaps[ch].end());
    const int count = std::clamp(model.Work.ResamplerTapCount, 0, gc::model::kResamplerTapMax);
    s.resamplerTaps.assign(model.ResamplerTaps.begin(), model.ResamplerTaps.begin() + count);
    s.ndelay = model.Work.Ndelay;
    // The exact rate of the chain's mode: the truncated OutputRate would move the aliases of a
    // large decimation.
    s.outputRateHz =
        gc::model::exactOutputRate(s.mode, model.Chip.CoefInterpol[0], s.clockHz, s.decimation);
    return s;
}

ChannelChain::ChannelChain(ChainSpec spec) : impl_(std::make_unique<Impl>()) {
    Impl& m = *impl_;
    m.spec = std::move(spec);
    m.spec.mode = gc::response::responseMode(m.spec.mode);
    m.clock = m.spec.clockHz > 0.0 && std::isfinite(m.spec.clockHz) ? m.spec.clockHz : 1.0;
    m.halfClock = m.clock / 2.0;
    m.d = std::max(1, m.spec.decimation);
    m.d5 = pow5(m.d);
    const StageRates rates = stageRates(m.spec);
    // The narrowest lobe: the CIC's numerator repeats every C/D, a stage of n taps at rate R
    // has lobes about R/n wide.
    double lobe = m.clock / m.d;
    auto add = [&](bool enabled, const std::vector<int>& taps, double rate) {
        if (!enabled) return;
        if (taps.empty() || !(rate > 0.0) || !std::isfinite(rate)) {
            m.stages.emplace_back(std::vector<int>{0}, 1.0);  // no taps: the stage passes nothing
            return;
        }
        m.stages.emplace_back(taps, rate);
        if (taps.size() > 1) lobe = std::min(lobe, rate / static_cast<double>(taps.size()));
    };
    add(m.spec.stageEnabled[0], m.spec.cfirTaps, rates.cfirHz);
    add(m.spec.stageEnabled[1], m.spec.pfirTaps, rates.pfirHz);
    add(m.spec.stageEnabled[2], m.spec.resamplerTaps, rates.resamplerHz);
    m.leaf = lobe / 16.0;
}

ChannelChain::~ChannelChain() = default;
ChannelChain::ChannelChain(ChannelChain&&) noexcept = default;
ChannelChain& ChannelChain::operator=(ChannelChain&&) noexcept = default;

const ChainSpec& ChannelChain::spec() const { return impl_->spec; }
double ChannelChain::magnitude(double fHz) const { return impl_->exact(fHz); }
double ChannelChain::leafWidthHz() const { return impl_->leaf; }

Bounds ChannelChain::bounds(double aHz, double bHz) const {
    const double a = std::clamp(std::min(aHz, bHz), 0.0, impl_->halfClock);
    const double b = std::clamp(std::max(aHz, bHz), 0.0, impl_->halfClock);
    return impl_->bounds(a, b);
}

Extreme ChannelChain::maximum(double aHz, double bHz) const {
    const double a = std::clamp(std::min(aHz, bHz), 0.0, impl_->halfClock);
    const double b = std::clamp(std::max(aHz, bHz), 0.0, impl_->halfClock);
    return impl_->maximize({Impl::Node{0.0, a, b, 0, 0}}, 0.0, 0.0, kSearchRatio);
}

Extreme ChannelChain::minimum(double aHz, double bHz) const {
    const double a = std::clamp(std::min(aHz, bHz), 0.0, impl_->halfClock);
    const double b = std::clamp(std::max(aHz, bHz), 0.0, impl_->halfClock);
    return impl_->minimize(a, b);
}

Extreme ChannelChain::aliasMaximum(double offsetHz) const {
    const Impl& m = *impl_;
    const double fo = m.spec.outputRateHz;
    const double w = std::max(0.0, offsetHz);
    if (!chainProblem(m.spec).empty() || fo - w > m.halfClock) return {0.0, 0.0};
    // m = 1 .. the last whose interval starts within [0, C/2]
    const double images = std::floor((m.halfClock + w) / fo);
    if (!(images >= 1.0) || !(images <= kMaxAliasImages)) return {0.0, 0.0};
    const long last = static_cast<long>(images);
    Impl::Node all{0.0, std::max(0.0, fo - w), std::min(m.halfClock, last * fo + w), 1, last};
    return m.maximize({all}, fo, w, kSearchRatio);
}

std::optional<double> ChannelChain::firstAtOrBelow(double level) const {
    return impl_->firstAtOrBelow(level);
}

double aliasMagnitude(const ChannelChain& chain, double offsetHz) {
    const double fo = chain.spec().outputRateHz;
    if (!chainProblem(chain.spec()).empty()) return 0.0;
    const double half = chain.spec().clockHz / 2.0;
    const double f = std::abs(offsetHz);
    const double images = std::floor((half + f) / fo);
    if (!(images >= 1.0) || !(images <= kMaxAliasImages)) return 0.0;
    const long last = static_cast<long>(images);
    // Groups of m by their upper bound; single m evaluated exactly at both images.
    struct Group {
        double key;
        long m0, m1;
        bool operator<(const Group& o) const { return key < o.key; }
    };
    double best = 0.0;
    auto evaluate = [&](long m) {
        const double lo = m * fo - f;
        const double hi = m * fo + f;
        if (lo >= 0.0 && lo <= half) best = std::max(best, chain.magnitude(lo));
        if (hi <= half) best = std::max(best, chain.magnitude(hi));
    };
    // The nearest image first: usually the strongest, it lets the bounds discard the others.
    evaluate(1);
    std::priority_queue<Group> queue;
    auto push = [&](long m0, long m1) {
        double ub = 0.0;
        if (m0 == m1) {
            // a single image pair: the bounds at its two points, far tighter than over the
            // interval between them
            const double lo = m0 * fo - f;
            const double hi = m0 * fo + f;
            if (lo >= 0.0 && lo <= half) ub = chain.bounds(lo, lo).upper;
            if (hi <= half) ub = std::max(ub, chain.bounds(hi, hi).upper);
        } else {
            const double a = std::max(0.0, m0 * fo - f);
            const double b = std::min(half, m1 * fo + f);
            if (a > b) return;
            ub = chain.bounds(a, b).upper;
        }
        if (ub > best) queue.push({ub, m0, m1});
    };
    push(1, last);
    while (!queue.empty()) {
        const Group g = queue.top();
        queue.pop();
        if (g.key <= best) break;
        if (g.m1 > g.m0) {
            const long mid = g.m0 + (g.m1 - g.m0) / 2;
            push(g.m0, mid);
            push(mid + 1, g.m1);
            continue;
        }
        evaluate(g.m0);
    }
    return best;
}

std::string chainProblem(const ChainSpec& chain) {
    const double fo = chain.outputRateHz;
    if (!(chain.clockHz > 0.0) || !std::isfinite(chain.clockHz))
        return tx("Тактовая частота должна быть больше 0");
    if (!(chain.clockHz >= kMinClockHz)) return tx("Тактовая частота должна быть не меньше 1 Гц");
    if (!(fo > 0.0) || !std::isfinite(fo)) return tx("Выходная частота должна быть больше 0");
    if (!(fo * kMaxClockToOutputRate >= chain.clockHz))
        return tx("Выходная частота слишком мала: меньше %1 тактовой частоты",
                  {gc::model::formatGeneral(1.0 / kMaxClockToOutputRate)});
    return {};
}

std::string validateRequirement(const ChainSpec& chain, const Requirement& req) {
    const double fo = chain.outputRateHz;
    const double half = chain.clockHz / 2.0;
    if (std::string problem = chainProblem(chain); !problem.empty()) return problem;
    const std::string foHalf = gc::model::formatGeneral(fo / 2.0);
    if (!std::isfinite(req.passbandHz) || !(req.passbandHz > 0.0) || !(req.passbandHz < fo / 2.0))
        return tx(
            "Граница полосы пропускания должна лежать между 0 и %1 Гц (половина выходной "
            "частоты), не включая их",
            {foHalf});
    const double fs = req.stopbandHz ? *req.stopbandHz : fo / 2.0;
    if (!std::isfinite(fs) || !(fs > req.passbandHz) || !(fs <= half)) {
        return tx(
            "Граница полосы задерживания должна быть больше границы полосы пропускания и не "
            "больше %1 Гц (половина тактовой частоты)",
            {gc::model::formatGeneral(half)});
    }
    if (req.rippleMaxDb && !(std::isfinite(*req.rippleMaxDb) && *req.rippleMaxDb >= 0.0))
        return tx("Допустимая неравномерность должна быть числом не меньше 0 дБ");
    if (req.stopbandMinDb && !std::isfinite(*req.stopbandMinDb))
        return tx("Подавление в полосе задерживания должно быть числом");
    if (req.aliasRejectionMinDb && !std::isfinite(*req.aliasRejectionMinDb))
        return tx("Подавление наложений должно быть числом");
    return {};
}

namespace {
double ratioDb(double num, double den) {
    if (den == 0.0) return kInf;
    return 20.0 * std::log10(num / den);
}
}  // namespace

Measurement measure(const ChannelChain& chain, const Requirement& req) {
    const ChainSpec& spec = chain.spec();
    Measurement m;
    if (!chainProblem(spec).empty()) {
        // Refused before any search: nothing measured, nothing met.
        constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
        m.outputRateHz = spec.outputRateHz;
        m.passbandHz = req.passbandHz;
        m.stopbandHz = req.stopbandHz.value_or(kNaN);
        m.referenceLevel = m.rippleDb = m.stopbandAttenuationDb = m.aliasRejectionDb = kNaN;
        if (req.rippleMaxDb) m.rippleOk = false;
        if (req.stopbandMinDb) m.stopbandOk = false;
        if (req.aliasRejectionMinDb) m.aliasOk = false;
        m.meets = false;
        return m;
    }
    const double half = spec.clockHz / 2.0;
    m.outputRateHz = spec.outputRateHz;
    m.passbandHz = req.passbandHz;
    m.stopbandHz = req.stopbandHz ? *req.stopbandHz : spec.outputRateHz / 2.0;

    const Extreme peak = chain.maximum(0.0, m.passbandHz);
    const Extreme low = chain.minimum(0.0, m.passbandHz);
    // Both searches return exact values of H; the minimum's is a lower bound of the peak too.
    const double p = std::max(peak.value, low.value);
    m.referenceLevel = p;
    m.rippleDb = p == 0.0 ? kInf : ratioDb(p, low.value);
    m.rippleWorstHz = low.atHz;
    m.bandwidth3dbHz = chain.firstAtOrBelow(p / std::sqrt(2.0));

    const Extreme stop = chain.maximum(std::min(m.stopbandHz, half), half);
    m.stopbandAttenuationDb = p == 0.0 ? kInf : ratioDb(p, stop.value);
    m.stopbandWorstHz = stop.atHz;

    const Extreme alias = chain.aliasMaximum(m.passbandHz);
    m.aliasRejectionDb = p == 0.0 ? kInf : ratioDb(p, alias.value);
    m.aliasWorstHz = alias.atHz;
    if (spec.outputRateHz > 0.0) {
        const double fo = spec.outputRateHz;
        m.aliasWorstOffsetHz = std::abs(alias.atHz - fo * std::round(alias.atHz / fo));
    }

    m.meets = true;
    if (req.rippleMaxDb) {
        m.rippleOk = m.rippleDb <= *req.rippleMaxDb;
        m.meets = m.meets && *m.rippleOk;
    }
    if (req.stopbandMinDb) {
        m.stopbandOk = m.stopbandAttenuationDb >= *req.stopbandMinDb;
        m.meets = m.meets && *m.stopbandOk;
    }
    if (req.aliasRejectionMinDb) {
        m.aliasOk = m.aliasRejectionDb >= *req.aliasRejectionMinDb;
        m.meets = m.meets && *m.aliasOk;
    }
    // A figure that is no number met nothing, whether or not a limit was given for it.
    if (std::isnan(m.referenceLevel) || std::isnan(m.rippleDb) ||
        std::isnan(m.stopbandAttenuationDb) || std::isnan(m.aliasRejectionDb))
        m.meets = false;
    return m;
}

int tapAsLoaded(int tap, int bits) {
    const std::uint32_t mask = (bits >= 32) ? 0xffffffffu : ((1u << bits) - 1u);
    std::uint32_t v = static_cast<std::uint32_t>(tap) & mask;
    const std::uint32_t sign = 1u << (bits - 1);
    if (bits < 32 && (v & sign) != 0) v |= ~mask;
    return static_cast<int>(v);
}

std::vector<std::string> tapWordWarnings(const ChainSpec& chain) {
    std::vector<std::string> lines;
    auto check = [&](const std::string& name, const std::vector<int>& taps, int bits) {
        int count = 0;
        int first = -1;
        for (size_t j = 0; j < taps.size(); ++j) {
            if (tapAsLoaded(taps[j], bits) != taps[j]) {
                if (first < 0) first = static_cast<int>(j);
                ++count;
            }
        }
        if (count == 0) return;
        const int v = taps[static_cast<size_t>(first)];
        lines.push_back(
            tx("%1: коэффициентов вне %2-разрядного слова микросхемы: %3 (первый: "
               "№%4 = %5, в микросхему попадёт %6)",
               {name, std::to_string(bits), std::to_string(count), std::to_string(first),
                std::to_string(v), std::to_string(tapAsLoaded(v, bits))}));
    };
    check("CFIR", chain.cfirTaps, 16);
    check("PFIR", chain.pfirTaps, 16);
    check(tx("Ресемплер"), chain.resamplerTaps, 12);
    return lines;
}

std::vector<std::string> channelWarnings(const gc::model::ConfigurationModel& model,
                                         const Measurement* measurement) {
    using gc::model::formatFixed;
    using gc::model::formatGeneral;
    std::vector<std::string> lines = tapWordWarnings(chainFromModel(model));
    if (model.Derived.CicGain > 1.0)
        lines.push_back(tx("Усиление CIC %1 больше 1: выход CIC может переполниться",
                           {formatFixed(model.Derived.CicGain, 6, 4)}));
    if (model.Derived.TotalGain > 1.0f)
        lines.push_back(tx("Общее усиление %1 больше 1: выходной сигнал может ограничиваться",
                           {formatFixed(model.Derived.TotalGain, 7, 3)}));
    const std::int64_t clock = model.Work.WorkingClock;
    const std::int64_t fc = model.Chip.Fc[static_cast<size_t>(model.currentIndex())];
    if (2 * fc > clock)
        lines.push_back(
            tx("Частота NCO %1 Гц выше половины тактовой частоты (%2 Гц): канал "
               "настроится на зеркальную частоту %3 Гц",
               {std::to_string(fc), formatGeneral(static_cast<double>(clock) / 2.0),
                std::to_string(clock - fc)}));
    if (measurement != nullptr && measurement->bandwidth3dbHz &&
        measurement->passbandHz > *measurement->bandwidth3dbHz)
        lines.push_back(
            tx("Граница полосы пропускания %1 Гц лежит за шириной полосы по уровню "
               "-3 дБ (%2 Гц)",
               {formatGeneral(measurement->passbandHz),
                formatGeneral(*measurement->bandwidth3dbHz, 10)}));
    return lines;
}

}  // namespace gc::analysis
