// Generator of the built-in resampler coefficient sets (src/filters/ResamplerTables.inc).
//
// Build and run from the repository root (standard library only, no CMake needed):
//   g++ -std=c++17 -O2 -o /tmp/gen_resampler_tables tools/gen_resampler_tables.cpp
//   /tmp/gen_resampler_tables > src/filters/ResamplerTables.inc
// With "--report" it prints the measured figures of every set instead of the table.
//
// Each set "res_MxP_A" is the prototype low-pass filter of an M-multiply, P-phase polyphase
// interpolator: N = M * P taps, even length, symmetric, so only the first half (N / 2 taps) is
// stored. Frequencies below are in cycles per prototype sample (the prototype runs at P times
// the resampler's input rate, so the input Nyquist frequency is 1 / (2P) and the first image
// of the input spectrum is centred on 1 / P).
//
// Method:
//  1. Band edges. A set must pass a usable signal band of B input sample rates and stop its
//     images. The transition is centred on the polyphase band edge 1 / (2P); its width comes
//     from Kaiser's length estimate N * dF = (A - 7.95) / 14.36 for attenuation A dB, so
//       pass band [0, B / P],  stop band [(1 - B) / P, 1/2],  B = (1 - (A - 7.95) / (14.36 M)) / 2.
//  2. Fixed taps. The six outermost and six innermost stored taps of every set are fixed
//     values of the library (the innermost is 2047, the full-scale 12-bit coefficient, which
//     also sets the scale of the whole filter). Only the taps between them are designed.
//  3. Design. The free taps and the pass-band gain G minimise the weighted error
//       W(f) * (H(f) - G) in the pass band and H(f) in the stop band
//     on a dense grid. A least-squares solution is turned into a near-minimax one by Lawson's
//     iteration (the stop-band weights grow where the error is large). A free tap that falls
//     below -419 (the library's lower bound) is held at -419 and the rest are solved again.
//  4. Quantisation. The free taps are rounded to integers, then improved one step of +-1 at a
//     time while that lowers the largest stop-band error (coordinate descent on the integers).
//  5. Checks. Every stored value lies in -419..2047, the sum of all N taps divided by P lies in
//     2020..2161 and the innermost tap is 2047; the generator stops with an error otherwise.
//
// Measured stop band (the figure "--report" prints and tests/filters checks): the smallest
// attenuation over [(1 - B) / P, 1/2], 20 * log10(|H(0)| / |H(f)|), relative to the DC gain.
// The tabled outer taps of some sets are larger than a clean design would give (res_6x64_60
// begins 50, 49, 45 ...); they cost attenuation, and the figures are what the fixed taps allow.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kFixed = 6;       // fixed taps at each end of the stored half
constexpr int kMinTap = -419;   // library range of a stored tap
constexpr int kMaxTap = 2047;
constexpr double kMinSumPerPhase = 2020.0;
constexpr double kMaxSumPerPhase = 2161.0;

struct SetSpec {
    const char* name;   // library name, "res_MxP_A"
    const char* ident;  // C++ identifier of the table
    int multiplies;     // M
    int phases;         // P
    double nominalDb;   // A
    std::array<int, kFixed> first;  // stored taps 0..5 (outermost)
    std::array<int, kFixed> last;   // stored taps h-6..h-1 (innermost last)
};

const std::array<SetSpec, 8> kSets{{
    {"res_6x64_60", "kRes6x64_60", 6, 64, 60, {50, 49, 45, 42, 40, 39},
     {2021, 2030, 2037, 2042, 2045, 2047}},
    {"res_7x64_60", "kRes7x64_60", 7, 64, 60, {-4, -4, -4, -4, -4, -4},
     {2022, 2030, 2037, 2042, 2045, 2047}},
    {"res_8x64_60", "kRes8x64_60", 8, 64, 60, {-9, -10, -10, -10, -11, -11},
     {2022, 2030, 2037, 2042, 2045, 2047}},
    {"res_8x64_80", "kRes8x64_80", 8, 64, 80, {-53, -53, -55, -57, -59, -62},
     {2023, 2031, 2038, 2042, 2045, 2047}},
    {"res_9x32_60", "kRes9x32_60", 9, 32, 60, {7, 6, 7, 7, 8, 8},
     {1941, 1976, 2004, 2025, 2040, 2047}},
    {"res_12x32_80", "kRes12x32_80", 12, 32, 80, {-44, -40, -35, -31, -28, -27},
     {1949, 1981, 2007, 2027, 2040, 2047}},
    {"res_15x32_80", "kRes15x32_80", 15, 32, 80, {-2, -2, -2, -2, -1, -1},
     {1950, 1982, 2008, 2027, 2040, 2047}},
    {"res_19x16_80", "kRes19x16_80", 19, 16, 80, {-6, -1, -1, -1, -1, 0},
     {1672, 1792, 1892, 1968, 2021, 2047}},
}};

// Usable signal band in input sample rates (step 1 above).
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

// Solves the symmetric positive definite system a x = b in place (Cholesky).
bool solveSpd(std::vector<double>& a, std::vector<double>& b, int n) {
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

struct Grid {
    std::vector<double> freq;
    std::vector<bool> pass;  // pass band point (else stop band)
};

Grid makeGrid(int tapCount, double fPass, double fStop, int density) {
    Grid g;
    const double step = 1.0 / (density * tapCount);
    const int nPass = std::max(8, static_cast<int>(std::ceil(fPass / step)));
    for (int i = 0; i <= nPass; ++i) {
        g.freq.push_back(fPass * i / nPass);
        g.pass.push_back(true);
    }
    const int nStop = static_cast<int>(std::ceil((0.5 - fStop) / step));
    for (int i = 0; i <= nStop; ++i) {
        g.freq.push_back(fStop + (0.5 - fStop) * i / nStop);
        g.pass.push_back(false);
    }
    return g;
}

struct Design {
    std::vector<int> half;  // stored taps
    double stopDb;          // attenuation over the designed stop band
    double imageDb;         // attenuation over [1/P, 1/2]
    double passRippleDb;    // peak-to-peak over the pass band
    double sumPerPhase;
};

// Largest |H| over the stop band relative to |H(0)|, in dB of attenuation, on a grid of
// `density` points per 1/N.
double attenuationDb(const std::vector<int>& half, double fStop, int density) {
    const int n = 2 * static_cast<int>(half.size());
    const double dc = std::fabs(amplitude(half, 0.0));
    const int count = static_cast<int>(std::ceil((0.5 - fStop) * density * n));
    double worst = 0.0;
    for (int i = 0; i <= count; ++i) {
        const double f = fStop + (0.5 - fStop) * i / count;
        worst = std::max(worst, std::fabs(amplitude(half, f)));
    }
    return 20.0 * std::log10(dc / worst);
}

double passRippleDb(const std::vector<int>& half, double fPass) {
    double lo = 1e300, hi = 0.0;
    for (int i = 0; i <= 200; ++i) {
        const double a = std::fabs(amplitude(half, fPass * i / 200));
        lo = std::min(lo, a);
        hi = std::max(hi, a);
    }
    return 20.0 * std::log10(hi / lo);
}

Design design(const SetSpec& s) {
    const int tapCount = s.multiplies * s.phases;
    const int h = tapCount / 2;
    const double band = signalBand(s);
    const double fPass = band / s.phases;
    const double fStop = (1.0 - band) / s.phases;
    const Grid grid = makeGrid(tapCount, fPass, fStop, 8);
    const int rows = static_cast<int>(grid.freq.size());

    // Stored half: fixed values at both ends, free ones between (index kFixed..h-kFixed-1).
    std::vector<double> half(h, 0.0);
    std::vector<bool> fixed(h, false);
    for (int i = 0; i < kFixed; ++i) {
        half[i] = s.first[i];
        half[h - kFixed + i] = s.last[i];
        fixed[i] = fixed[h - kFixed + i] = true;
    }

    // Basis values c_k(f) = 2 cos(2 pi f (h - 1/2 - k)).
    std::vector<double> basis(static_cast<size_t>(rows) * h);
    for (int r = 0; r < rows; ++r)
        for (int k = 0; k < h; ++k)
            basis[static_cast<size_t>(r) * h + k] =
                2.0 * std::cos(2.0 * kPi * grid.freq[r] * (h - 0.5 - k));

    // The pass band and the stop band are weighted alike.
    const double passWeight = 1.0;
    std::vector<double> weight(rows, 1.0);
    for (int r = 0; r < rows; ++r) weight[r] = grid.pass[r] ? passWeight : 1.0;
    std::vector<double> lawson(rows, 1.0 / rows);
    // The pass-band gain is free while it keeps the sum of the taps divided by P inside the
    // library window (with a margin for the quantisation); otherwise it is held at the limit.
    bool gainFree = true;
    double gain = 0.0;
    const double gainLo = (kMinSumPerPhase + 5.0) * s.phases;
    const double gainHi = (kMaxSumPerPhase - 5.0) * s.phases;

    for (int iteration = 0; iteration < 60; ++iteration) {
        std::vector<int> freeIdx;
        for (int k = 0; k < h; ++k)
            if (!fixed[k]) freeIdx.push_back(k);
        const int nFree = static_cast<int>(freeIdx.size());
        const int n = nFree + (gainFree ? 1 : 0);  // free taps, and the gain G while free
        std::vector<double> a(static_cast<size_t>(n) * n, 0.0), b(n, 0.0), row(n);
        for (int r = 0; r < rows; ++r) {
            const double* c = &basis[static_cast<size_t>(r) * h];
            double known = grid.pass[r] && !gainFree ? -gain : 0.0;
            for (int k = 0; k < h; ++k)
                if (fixed[k]) known += half[k] * c[k];
            for (int j = 0; j < nFree; ++j) row[j] = c[freeIdx[j]];
            if (gainFree) row[nFree] = grid.pass[r] ? -1.0 : 0.0;
            const double w = lawson[r] * weight[r] * weight[r];
            for (int i = 0; i < n; ++i) {
                if (row[i] == 0.0) continue;
                const double wi = w * row[i];
                b[i] -= wi * known;
                for (int j = 0; j <= i; ++j) a[i * n + j] += wi * row[j];
            }
        }
        double trace = 0.0;
        for (int i = 0; i < n; ++i) trace += a[i * n + i];
        for (int i = 0; i < n; ++i) {
            a[i * n + i] += 1e-12 * trace / n;  // keeps the don't-care transition band tame
            for (int j = i + 1; j < n; ++j) a[i * n + j] = a[j * n + i];
        }
        if (!solveSpd(a, b, n)) {
            std::fprintf(stderr, "%s: normal equations not positive definite\n", s.name);
            std::exit(1);
        }
        for (int j = 0; j < nFree; ++j) half[freeIdx[j]] = b[j];
        if (gainFree) {
            gain = b[nFree];
            if (gain < gainLo || gain > gainHi) {
                gain = std::clamp(gain, gainLo, gainHi);
                gainFree = false;
                continue;
            }
        }

        // Hold taps below the library's lower bound at the bound.
        bool clamped = false;
        for (int k = 0; k < h; ++k) {
            if (!fixed[k] && half[k] < kMinTap) {
                half[k] = kMinTap;
                fixed[k] = true;
                clamped = true;
            }
        }
        if (clamped) continue;

        // Lawson's update of the weights from the weighted error.
        double total = 0.0;
        for (int r = 0; r < rows; ++r) {
            const double* c = &basis[static_cast<size_t>(r) * h];
            double v = 0.0;
            for (int k = 0; k < h; ++k) v += half[k] * c[k];
            const double err = weight[r] * std::fabs(grid.pass[r] ? v - gain : v);
            lawson[r] *= err;
            total += lawson[r];
        }
        for (double& l : lawson) l /= total;
    }

    // Quantisation and integer coordinate descent on the largest stop-band error.
    std::vector<int> q(h);
    for (int k = 0; k < h; ++k) q[k] = static_cast<int>(std::lround(half[k]));
    std::vector<double> stopF;
    for (int r = 0; r < rows; ++r)
        if (!grid.pass[r]) stopF.push_back(grid.freq[r]);
    const int nStop = static_cast<int>(stopF.size());
    std::vector<double> resp(nStop);
    for (int r = 0; r < nStop; ++r) resp[r] = amplitude(q, stopF[r]);
    auto worstOf = [&](const std::vector<double>& v) {
        double w = 0.0;
        for (double x : v) w = std::max(w, std::fabs(x));
        return w;
    };
    double worst = worstOf(resp);
    std::vector<double> trial(nStop);
    for (int sweep = 0; sweep < 40; ++sweep) {
        bool improved = false;
        for (int k = kFixed; k < h - kFixed; ++k) {
            for (const int step : {1, -1}) {
                const int v = q[k] + step;
                if (v < kMinTap || v > kMaxTap) continue;
                double w = 0.0;
                for (int r = 0; r < nStop; ++r) {
                    trial[r] = resp[r] + step * 2.0 * std::cos(2.0 * kPi * stopF[r] * (h - 0.5 - k));
                    w = std::max(w, std::fabs(trial[r]));
                }
                if (w < worst) {
                    worst = w;
                    q[k] = v;
                    resp.swap(trial);
                    improved = true;
                    break;
                }
            }
        }
        if (!improved) break;
    }

    Design d;
    d.half = q;
    d.stopDb = attenuationDb(q, fStop, 32);
    d.imageDb = attenuationDb(q, 1.0 / s.phases, 32);
    d.passRippleDb = passRippleDb(q, fPass);
    d.sumPerPhase = amplitude(q, 0.0) / s.phases;
    return d;
}

// The library's constraints; a violation stops the generator.
void check(const SetSpec& s, const Design& d) {
    const int h = static_cast<int>(d.half.size());
    bool ok = d.sumPerPhase >= kMinSumPerPhase && d.sumPerPhase <= kMaxSumPerPhase &&
              d.half[h - 1] == kMaxTap;
    for (int v : d.half) ok = ok && v >= kMinTap && v <= kMaxTap;
    for (int i = 0; i < kFixed; ++i)
        ok = ok && d.half[i] == s.first[i] && d.half[h - kFixed + i] == s.last[i];
    if (!ok) {
        std::fprintf(stderr, "%s: constraints not met (sum/P %.1f)\n", s.name, d.sumPerPhase);
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
    for (const SetSpec& s : kSets) {
        const Design d = design(s);
        check(s, d);
        if (report) {
            const double band = signalBand(s);
            std::printf("%-13s B=%.3f stop from %.3f/P: %6.2f dB  from 1/P: %6.2f dB  "
                        "pass ripple %.3f dB  sum/P %.1f  min %d\n",
                        s.name, band, 1.0 - band, d.stopDb, d.imageDb, d.passRippleDb,
                        d.sumPerPhase, *std::min_element(d.half.begin(), d.half.end()));
            continue;
        }
        std::printf("// %s: %d taps, %d phases, stop band from %.4f/P\n", s.name,
                    s.multiplies * s.phases, s.phases, 1.0 - signalBand(s));
        std::printf("constexpr std::array<int, %zu> %s{\n", d.half.size(), s.ident);
        for (size_t i = 0; i < d.half.size(); ++i) {
            std::printf("%s%d,", i % 12 == 0 ? "    " : " ", d.half[i]);
            if (i % 12 == 11 || i + 1 == d.half.size()) std::printf("\n");
        }
        std::printf("};\n");
    }
    return 0;
}
