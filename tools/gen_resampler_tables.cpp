// Generator of the built-in resampler coefficient sets (src/filters/ResamplerTables.inc).
//
// Built with the project (it uses the design layer's integer search), run from the root:
//   cmake --build build -j2 --target gen_resampler_tables
//   build/src/design/gen_resampler_tables > src/filters/ResamplerTables.inc
// With "--report" it prints the measured figures of every set instead of the table.
//
// Each set "res_MxP_A" is the prototype low-pass filter of an M-multiply, P-phase polyphase
// interpolator: N = M * P taps, even length, symmetric, so only the first half (N / 2 taps) is
// stored. Frequencies below are in cycles per prototype sample (the prototype runs at P times
// the resampler's input rate, so the input Nyquist frequency is 1 / (2P) and the first image
// of the input spectrum is centred on 1 / P).
//
// Method:
//  1. Band edges. A set passes a signal band of B input sample rates and stops its images.
//     The transition is centred on the polyphase band edge 1 / (2P); its width comes from
//     Kaiser's length estimate N * dF = (A - 7.95) / 14.36 for an attenuation of A dB:
//       pass band [0, B / P], stop band [(1 - B) / P, 1/2], B = (1 - (A - 7.95) / (14.36 M)) / 2
//  2. Fixed taps. The six outermost and the six innermost stored taps are fixed values of the
//     library; the innermost is 2047, the full-scale 12-bit coefficient, which sets the scale
//     of the whole filter. Only the taps between them are designed.
//  3. Gain. The pass-band gain G is first found by least squares; it is then held, bounded so
//     that the sum of all taps divided by P stays inside the library window 2020..2161.
//  4. Design. The free taps minimise the largest error, |H(f) - G| in the pass band and |H(f)|
//     in the stop band, on a grid of 8 points per 1/N: a weighted least-squares solution made
//     near-minimax by Lawson's iteration (the weights grow where the error is large). The
//     transition band follows a raised-cosine path with a tiny weight, which only keeps the
//     otherwise unconstrained solution from growing wild. While a free tap lies below -419
//     (the library's lower bound), the lowest one is held at -419 and the design runs again.
//  5. Quantisation. Plain rounding and a number of dithered roundings each go through the
//     design layer's integer search (single and paired changes of the free taps kept while
//     they lower the error: stop band, and pass band weighted 1/10; first power sums of the
//     errors, then the largest); the one with the most measured stop-band attenuation wins.
//  6. Checks. Every stored value lies in -419..2047, the sum of all N taps divided by P lies in
//     2020..2161, the edge taps are the library's and the innermost is 2047; the generator
//     stops with an error otherwise.
//
// Measured stop band ("--report", and the floor asserted in tests/filters): the smallest
// attenuation 20 * log10(|H(0)| / |H(f)|) relative to the DC gain over [(1 - B) / P, 1/2],
// on a grid of 32 points per 1/N. "--report" also gives it over [1/P, 1/2], from the first
// image centre. The fixed outer taps of some sets are larger than a clean design would give
// (res_6x64_60 begins 50, 49, 45 ...), and twelve-bit taps leave a rounding-noise floor near
// -70 dB for the shorter prototypes; the figures are what those limits allow. The table ends
// with each set's measured figure (kResamplerSetStopbandDb), cut to tenths of a dB.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "design/IntegerRefine.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kFixed = 6;      // fixed taps at each end of the stored half
constexpr int kMinTap = -419;  // library range of a stored tap
constexpr int kMaxTap = 2047;
constexpr double kMinSumPerPhase = 2020.0;
constexpr double kMaxSumPerPhase = 2161.0;
constexpr double kSumMargin = 4.0;  // kept from the window's limits before quantisation
constexpr double kTransitionWeight = 1e-3;
constexpr double kDcWeight = 100.0;
constexpr int kLawsonIterations = 40;
constexpr int kRoundingCandidates = 16;
constexpr double kQuantisedPassWeight = 0.1;
constexpr int kDesignDensity = 8;  // grid points per 1/N
constexpr int kMeasureDensity = 32;

struct SetSpec {
    const char* name;               // library name, "res_MxP_A"
    const char* ident;              // C++ identifier of the table
    int multiplies;                 // M
    int phases;                     // P
    double nominalDb;               // A
    std::array<int, kFixed> first;  // stored taps 0..5 (outermost first)
    std::array<int, kFixed> last;   // stored taps h-6..h-1 (innermost last)
};

const std::array<SetSpec, 8> kSets{{
    {"res_6x64_60",
     "kRes6x64_60",
     6,
     64,
     60,
     {50, 49, 45, 42, 40, 39},
     {2021, 2030, 2037, 2042, 2045, 2047}},
    {"res_7x64_60",
     "kRes7x64_60",
     7,
     64,
     60,
     {-4, -4, -4, -4, -4, -4},
     {2022, 2030, 2037, 2042, 2045, 2047}},
    {"res_8x64_60",
     "kRes8x64_60",
     8,
     64,
     60,
     {-9, -10, -10, -10, -11, -11},
     {2022, 2030, 2037, 2042, 2045, 2047}},
    {"res_8x64_80",
     "kRes8x64_80",
     8,
     64,
     80,
     {-53, -53, -55, -57, -59, -62},
     {2023, 2031, 2038, 2042, 2045, 2047}},
    {"res_9x32_60",
     "kRes9x32_60",
     9,
     32,
     60,
     {7, 6, 7, 7, 8, 8},
     {1941, 1976, 2004, 2025, 2040, 2047}},
    {"res_12x32_80",
     "kRes12x32_80",
     12,
     32,
     80,
     {-44, -40, -35, -31, -28, -27},
     {1949, 1981, 2007, 2027, 2040, 2047}},
    {"res_15x32_80",
     "kRes15x32_80",
     15,
     32,
     80,
     {-2, -2, -2, -2, -1, -1},
     {1950, 1982, 2008, 2027, 2040, 2047}},
    {"res_19x16_80",
     "kRes19x16_80",
     19,
     16,
     80,
     {-6, -1, -1, -1, -1, 0},
     {1672, 1792, 1892, 1968, 2021, 2047}},
}};

// Signal band in input sample rates (step 1).
double signalBand(const SetSpec& s) {
    return 0.5 * (1.0 - (s.nominalDb - 7.95) / (14.36 * s.multiplies));
}

// Zero-phase amplitude of the even-length symmetric filter whose first half is `half`:
// H(f) = 2 * sum_k half[k] * cos(2 pi f (h - 1/2 - k)).
template <typename T>
double amplitude(const std::vector<T>& half, double f) {
    const int h = static_cast<int>(half.size());
    double sum = 0.0;
    for (int k = 0; k < h; ++k) sum += half[k] * std::cos(2.0 * kPi * f * (h - 0.5 - k));
    return 2.0 * sum;
}

// Solves the symmetric positive definite system a x = b (Cholesky); a is n x n, row-major,
// only its lower triangle is read. The solution replaces b.
bool solveSpd(std::vector<double> a, std::vector<double>& b, int n) {
    for (int j = 0; j < n; ++j) {
        double d = a[j * n + j];
        for (int k = 0; k < j; ++k) d -= a[j * n + k] * a[j * n + k];
        if (d <= 0.0) return false;
        d = std::sqrt(d);
        a[j * n + j] = d;
        for (int i = j + 1; i < n; ++i) {
            double v = a[i * n + j];
            for (int k = 0; k < j; ++k) v -= a[i * n + k] * a[j * n + k];
            a[i * n + j] = v / d;
        }
    }
    for (int i = 0; i < n; ++i) {
        double v = b[i];
        for (int k = 0; k < i; ++k) v -= a[i * n + k] * b[k];
        b[i] = v / a[i * n + i];
    }
    for (int i = n - 1; i >= 0; --i) {
        double v = b[i];
        for (int k = i + 1; k < n; ++k) v -= a[k * n + i] * b[k];
        b[i] = v / a[i * n + i];
    }
    return true;
}

enum class Band { Pass, Transition, Stop };

// The design problem of one set: grid, bands and the basis c_k(f) = 2 cos(2 pi f (h-1/2-k)).
class Problem {
  public:
    Problem(const SetSpec& s) : spec_(s) {
        tapCount_ = s.multiplies * s.phases;
        h_ = tapCount_ / 2;
        const double band = signalBand(s);
        fPass_ = band / s.phases;
        fStop_ = (1.0 - band) / s.phases;
        const double step = 1.0 / (kDesignDensity * tapCount_);
        addBand(0.0, fPass_, Band::Pass, step);
        addBand(fPass_ + step, fStop_ - step, Band::Transition, step);
        addBand(fStop_, 0.5, Band::Stop, step);
        basis_.resize(freq_.size() * h_);
        for (size_t r = 0; r < freq_.size(); ++r)
            for (int k = 0; k < h_; ++k)
                basis_[r * h_ + k] = 2.0 * std::cos(2.0 * kPi * freq_[r] * (h_ - 0.5 - k));
    }

    int rows() const { return static_cast<int>(freq_.size()); }
    int half() const { return h_; }
    double fPass() const { return fPass_; }
    double fStop() const { return fStop_; }
    Band band(int r) const { return band_[r]; }
    const double* basisRow(int r) const { return &basis_[static_cast<size_t>(r) * h_]; }

    // Desired amplitude for pass-band gain g: g in the pass band, a raised-cosine fall through
    // the transition band, 0 in the stop band.
    double target(int r, double g) const {
        switch (band_[r]) {
            case Band::Pass:
                return g;
            case Band::Stop:
                return 0.0;
            case Band::Transition:
                break;
        }
        const double x = (freq_[r] - fPass_) / (fStop_ - fPass_);
        return g * 0.5 * (1.0 + std::cos(kPi * x));
    }
    double baseWeight(int r) const {
        if (band_[r] == Band::Transition) return kTransitionWeight;
        return r == 0 ? kDcWeight : 1.0;  // row 0 is f = 0: the DC gain is held at G
    }
    double response(const std::vector<double>& taps, int r) const {
        const double* c = basisRow(r);
        double v = 0.0;
        for (int k = 0; k < h_; ++k) v += taps[k] * c[k];
        return v;
    }

  private:
    void addBand(double from, double to, Band b, double step) {
        if (to < from) return;
        const int n = std::max(4, static_cast<int>(std::ceil((to - from) / step)));
        for (int i = 0; i <= n; ++i) {
            freq_.push_back(from + (to - from) * i / n);
            band_.push_back(b);
        }
    }

    const SetSpec& spec_;
    int tapCount_ = 0;
    int h_ = 0;
    double fPass_ = 0.0;
    double fStop_ = 0.0;
    std::vector<double> freq_;
    std::vector<Band> band_;
    std::vector<double> basis_;
};

// Weighted least squares over the free taps: minimises sum_r w_r (H(f_r) - target_r)^2 with
// the fixed taps as they are. When `solveGain` is set, the pass-band gain is an unknown too
// and is returned in `gain`; otherwise `gain` is the pass-band target.
void weightedLeastSquares(const Problem& p, const std::vector<double>& w,
                          const std::vector<bool>& fixed, std::vector<double>& taps, double& gain,
                          bool solveGain) {
    const int h = p.half();
    std::vector<int> freeIdx;
    for (int k = 0; k < h; ++k)
        if (!fixed[k]) freeIdx.push_back(k);
    const int nFree = static_cast<int>(freeIdx.size());
    const int n = nFree + (solveGain ? 1 : 0);
    std::vector<double> a(static_cast<size_t>(n) * n, 0.0), b(n, 0.0), row(n);
    for (int r = 0; r < p.rows(); ++r) {
        const double* c = p.basisRow(r);
        // Residual = row . x - rhs.
        double rhs = solveGain ? 0.0 : p.target(r, gain);
        for (int k = 0; k < h; ++k)
            if (fixed[k]) rhs -= taps[k] * c[k];
        for (int j = 0; j < nFree; ++j) row[j] = c[freeIdx[j]];
        if (solveGain) row[nFree] = -p.target(r, 1.0);
        const double wr = w[r];
        for (int i = 0; i < n; ++i) {
            if (row[i] == 0.0) continue;
            const double wi = wr * row[i];
            b[i] += wi * rhs;
            for (int j = 0; j <= i; ++j) a[i * n + j] += wi * row[j];
        }
    }
    double trace = 0.0;
    for (int i = 0; i < n; ++i) trace += a[i * n + i];
    for (int i = 0; i < n; ++i) a[i * n + i] += 1e-13 * trace / n;
    if (!solveSpd(a, b, n)) {
        std::fprintf(stderr, "normal equations not positive definite\n");
        std::exit(1);
    }
    for (int j = 0; j < nFree; ++j) taps[freeIdx[j]] = b[j];
    if (solveGain) gain = b[nFree];
}

struct Continuous {
    std::vector<double> taps;
    std::vector<bool> fixed;
    std::vector<double> weight;  // final Lawson weights (with the band weights)
    double gain = 0.0;
};

// Steps 2 to 4.
Continuous designContinuous(const SetSpec& s, const Problem& p) {
    const int h = p.half();
    Continuous c;
    c.taps.assign(h, 0.0);
    c.fixed.assign(h, false);
    for (int i = 0; i < kFixed; ++i) {
        c.taps[i] = s.first[i];
        c.taps[h - kFixed + i] = s.last[i];
        c.fixed[i] = c.fixed[h - kFixed + i] = true;
    }
    std::vector<double> base(p.rows());
    for (int r = 0; r < p.rows(); ++r) base[r] = p.baseWeight(r) * p.baseWeight(r);

    // Step 3: the least-squares gain, bounded to the window.
    weightedLeastSquares(p, base, c.fixed, c.taps, c.gain, true);
    c.gain = std::clamp(c.gain, (kMinSumPerPhase + kSumMargin) * s.phases,
                        (kMaxSumPerPhase - kSumMargin) * s.phases);

    // Step 4: Lawson's iteration, restarted whenever a tap had to be held at the lower bound.
    for (;;) {
        std::vector<double> lawson(p.rows(), 1.0);
        std::vector<double> w(p.rows());
        for (int it = 0; it < kLawsonIterations; ++it) {
            for (int r = 0; r < p.rows(); ++r) w[r] = base[r] * lawson[r];
            weightedLeastSquares(p, w, c.fixed, c.taps, c.gain, false);
            double total = 0.0;
            // Row 0 (the DC gain) and the transition band keep their weights.
            for (int r = 1; r < p.rows(); ++r) {
                if (p.band(r) == Band::Transition) continue;
                lawson[r] *= std::fabs(p.response(c.taps, r) - p.target(r, c.gain));
                total += lawson[r];
            }
            const double mean = total / p.rows();
            for (int r = 1; r < p.rows(); ++r)
                if (p.band(r) != Band::Transition) lawson[r] /= mean;
        }
        c.weight = w;
        // Only the lowest tap is held per round: holding one often lifts its neighbours.
        int lowest = -1;
        for (int k = 0; k < h; ++k)
            if (!c.fixed[k] && c.taps[k] < kMinTap && (lowest < 0 || c.taps[k] < c.taps[lowest]))
                lowest = k;
        if (lowest < 0) return c;
        c.taps[lowest] = kMinTap;
        c.fixed[lowest] = true;
    }
}

template <typename T>
double attenuationDb(const std::vector<T>& half, double from);

// Step 5: integer taps. The error of the integer taps on a grid of 16 points per 1/N is
// (H(f) - G) / 10 over the pass band (a pass-band ripple ten times the stop-band level, still
// below 0.1 dB, is allowed) and H(f) over the stop band; the design layer's integer search
// (plain rounding and dithered roundings, each refined by single and paired changes of the
// free taps within the tap range and the sum window) keeps the largest of it as low as the
// integers allow.
std::vector<int> quantise(const SetSpec& s, const Problem& p, const Continuous& c) {
    const int h = p.half();
    const int n = 2 * h;
    gc::design::IntegerProblem q;
    q.length = n;
    q.minTap = kMinTap;
    q.maxTap = kMaxTap;
    q.sumMin = static_cast<long long>(std::ceil(kMinSumPerPhase * s.phases));
    q.sumMax = static_cast<long long>(std::floor(kMaxSumPerPhase * s.phases));
    q.fixed = c.fixed;
    // Only the library's fixed taps stay: a tap held at the lower bound by the real-valued
    // design is free again for the integers.
    for (int k = kFixed; k < h - kFixed; ++k) q.fixed[k] = false;
    q.pairRounds = 4;
    auto add = [&](double from, double to, double target, double weight) {
        const int count = std::max(4, static_cast<int>(std::ceil((to - from) * 16 * n)));
        for (int i = 0; i <= count; ++i) {
            q.freq.push_back(from + (to - from) * i / count);
            q.target.push_back(target);
            q.weight.push_back(weight);
        }
    };
    add(0.0, p.fPass(), c.gain, kQuantisedPassWeight);
    add(p.fStop(), 0.5, 0.0, 1.0);
    // Plain rounding and dithered roundings (a fixed-seed generator, so the output is
    // reproducible), each refined; the one with the most measured stop-band attenuation wins.
    std::mt19937 random(12345u);
    std::vector<int> best;
    double bestDb = 0.0;
    for (int candidate = 0; candidate < kRoundingCandidates; ++candidate) {
        std::vector<int> start(h);
        for (int k = 0; k < h; ++k) {
            double x = c.taps[k];
            if (candidate > 0 && !q.fixed[k]) x += (random() / 4294967296.0) - 0.5;
            start[k] = std::clamp(static_cast<int>(std::lround(x)), kMinTap, kMaxTap);
        }
        const long long sum = gc::design::fullSum(start, n);
        if (sum < q.sumMin || sum > q.sumMax) continue;
        const std::vector<int> refined = gc::design::refineIntegerTaps(q, start).half;
        const double db = attenuationDb(refined, p.fStop());
        if (best.empty() || db > bestDb) {
            best = refined;
            bestDb = db;
        }
    }
    return best;
}

// The same integer search started from plain rounding alone, without refinement: the
// figure "--report" compares against.
std::vector<int> roundOnly(const Continuous& c) {
    std::vector<int> q(c.taps.size());
    for (size_t k = 0; k < q.size(); ++k)
        q[k] = std::clamp(static_cast<int>(std::lround(c.taps[k])), kMinTap, kMaxTap);
    return q;
}

// Smallest attenuation relative to |H(0)| over [from, 1/2], in dB.
template <typename T>
double attenuationDb(const std::vector<T>& half, double from) {
    const int n = 2 * static_cast<int>(half.size());
    const double dc = std::fabs(amplitude(half, 0.0));
    const int count = static_cast<int>(std::ceil((0.5 - from) * kMeasureDensity * n));
    double worst = 0.0;
    for (int i = 0; i <= count; ++i)
        worst = std::max(worst, std::fabs(amplitude(half, from + (0.5 - from) * i / count)));
    return 20.0 * std::log10(dc / worst);
}

// Peak-to-peak pass-band ripple in dB.
double passRippleDb(const std::vector<int>& half, double fPass) {
    double lo = 1e300, hi = 0.0;
    for (int i = 0; i <= 400; ++i) {
        const double a = std::fabs(amplitude(half, fPass * i / 400));
        lo = std::min(lo, a);
        hi = std::max(hi, a);
    }
    return 20.0 * std::log10(hi / lo);
}

// Step 6.
void check(const SetSpec& s, const std::vector<int>& q) {
    const int h = static_cast<int>(q.size());
    const double sumPerPhase = amplitude(q, 0.0) / s.phases;
    bool ok = h == s.multiplies * s.phases / 2 && sumPerPhase >= kMinSumPerPhase &&
              sumPerPhase <= kMaxSumPerPhase && q[h - 1] == kMaxTap;
    for (int v : q) ok = ok && v >= kMinTap && v <= kMaxTap;
    for (int i = 0; i < kFixed; ++i)
        ok = ok && q[i] == s.first[i] && q[h - kFixed + i] == s.last[i];
    if (!ok) {
        std::fprintf(stderr, "%s: constraints not met (sum/P %.1f)\n", s.name, sumPerPhase);
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool report = argc > 1 && std::string(argv[1]) == "--report";
    if (!report) {
        std::printf("// generated by tools/gen_resampler_tables.cpp\n");
        std::printf("// First halves of the even-length symmetric resampler prototypes.\n");
    }
    std::vector<double> figures;
    for (const SetSpec& s : kSets) {
        const Problem p(s);
        const Continuous c = designContinuous(s, p);
        const std::vector<int> q = quantise(s, p, c);
        check(s, q);
        const double band = signalBand(s);
        figures.push_back(attenuationDb(q, p.fStop()));
        if (report) {
            std::printf(
                "%-13s B=%.3f stop from %.3f/P: %6.2f dB (real-valued taps %6.2f, rounded "
                "%6.2f)  from 1/P: %6.2f dB  pass ripple %.3f dB  sum/P %.1f  min %d\n",
                s.name, band, 1.0 - band, figures.back(), attenuationDb(c.taps, p.fStop()),
                attenuationDb(roundOnly(c), p.fStop()), attenuationDb(q, 1.0 / s.phases),
                passRippleDb(q, p.fPass()), amplitude(q, 0.0) / s.phases,
                *std::min_element(q.begin(), q.end()));
            std::fflush(stdout);
            continue;
        }
        std::printf("// %s: %d taps, %d phases, stop band from %.4f/P\n", s.name,
                    s.multiplies * s.phases, s.phases, 1.0 - band);
        std::printf("constexpr std::array<int, %zu> %s{\n", q.size(), s.ident);
        for (size_t i = 0; i < q.size(); ++i) {
            std::printf("%s%d,", i % 12 == 0 ? "    " : " ", q[i]);
            if (i % 12 == 11 || i + 1 == q.size()) std::printf("\n");
        }
        std::printf("};\n");
    }
    if (!report) {
        std::printf(
            "// Smallest stop-band attenuation of each set above, in dB relative to its DC gain,\n"
            "// over [(1 - B)/P, 1/2] on a grid of 32 points per 1/N (tools/README.md).\n");
        std::printf("constexpr std::array<double, %zu> kResamplerSetStopbandDb{", figures.size());
        for (size_t i = 0; i < figures.size(); ++i)
            std::printf("%s%.1f", i == 0 ? "" : ", ", std::floor(figures[i] * 10.0) / 10.0);
        std::printf("};\n");
    }
    return 0;
}
