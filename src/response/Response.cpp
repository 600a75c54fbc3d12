#include "response/Response.h"

#include <algorithm>
#include <cmath>

#include "model/Numeric.h"

namespace gc::response {

namespace {

constexpr int N = PlotPoints;

// The level of a ratio that has none, as log10 of the ratio to the peak (-1000 dB).
constexpr double kLogFloor = kLevelFloorDb / 20.0;

int atLeastOne(int v) { return v < 1 ? 1 : v; }

// log10(v / peak), or the floor when the ratio is zero (also after underflow), negative or not
// a number. Every positive ratio keeps its own logarithm, however small: at worst about -324,
// which a row holds even at the largest vertical stretch.
double logRatio(double v, double peak) {
    if (!(peak > 0.0) || !(v > 0.0)) return kLogFloor;
    const double ratio = v / peak;
    if (!(ratio > 0.0)) return kLogFloor;
    return std::log10(ratio);
}

// Blocks of this many points keep the rotation state of the FIR sums in registers.
constexpr int kBlock = 8;

// The pair sums of ComputeFirResponse for every point, from the half-angle units
// (ur, ui) = e^{i theta_k / 2}. Pair d has the coefficients p = h[hi] + h[lo] and
// q = h[hi] - h[lo] and the phase e^{i (d+1) theta} (odd count) or e^{i (d+1/2) theta} (even).
// On x86-64 a second copy is built for processors with AVX2 and FMA and picked at load time.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
__attribute__((target_clones("arch=haswell", "default")))
#endif
void firSums(const int* taps, int half, bool odd, bool symmetric, double centre,
             const double* ur, const double* ui, double* out) {
    for (int k0 = 0; k0 < N; k0 += kBlock) {
        double rr[kBlock], ri[kBlock], zr[kBlock], zi[kBlock], a[kBlock], bs[kBlock];
        for (int i = 0; i < kBlock; ++i) {
            const double cr = ur[k0 + i];
            const double ci = ui[k0 + i];
            rr[i] = cr * cr - ci * ci;  // e^{i theta}
            ri[i] = 2.0 * cr * ci;
            zr[i] = odd ? rr[i] : cr;
            zi[i] = odd ? ri[i] : ci;
            a[i] = centre;
            bs[i] = 0.0;
        }
        for (int d = 0; d < half; ++d) {
            const int hi = odd ? half + 1 + d : half + d;
            const int lo = half - 1 - d;
            const double pd = static_cast<double>(taps[hi]) + static_cast<double>(taps[lo]);
            if (symmetric) {
                for (int i = 0; i < kBlock; ++i) a[i] += pd * zr[i];
            } else {
                const double qd = static_cast<double>(taps[hi]) - static_cast<double>(taps[lo]);
                for (int i = 0; i < kBlock; ++i) {
                    a[i] += pd * zr[i];
                    bs[i] += qd * zi[i];
                }
            }
            for (int i = 0; i < kBlock; ++i) {
                const double nr = zr[i] * rr[i] - zi[i] * ri[i];
                const double ni = zr[i] * ri[i] + zi[i] * rr[i];
                zr[i] = nr;
                zi[i] = ni;
            }
        }
        for (int i = 0; i < kBlock; ++i) out[k0 + i] = std::sqrt(a[i] * a[i] + bs[i] * bs[i]);
    }
}

}  // namespace

int responseMode(int modeOfDdc) { return (modeOfDdc >= 0 && modeOfDdc <= 2) ? modeOfDdc : 0; }

double rectifyCicRatio(double e) {
    if (e < 0.001) e = -e;
    if (e == 0.0) e = 0.0001;
    if (e < 0.0001) e = 0.0001;
    if (std::isnan(e)) e = 0.0001;  // 0/0: treated as a null
    return e;
}

void ComputeCicResponse(int decimation, int stretch, ResponseArray& out) {
    const int s = atLeastOne(stretch);
    const double w = kPi / (2.0 * N);
    // A real division: D / S stays exact for every stretch, also those larger than D.
    const double dOverS = static_cast<double>(decimation) / s;
    for (int k = 1; k < N; ++k) {
        const double e = rectifyCicRatio(std::sin(dOverS * k * w) / std::sin(k * w / s));
        out[k] = e * e * e * e * e;
    }
    out[0] = out[1];
}

void ComputeCicSegment(int decimation, int offset, ResponseArray& out) {
    const int d = atLeastOne(decimation);
    const double w = kPi / (static_cast<double>(d) * 2.0 * N);
    for (int k = 1; k < N; ++k) {
        const double n = static_cast<double>(k) + offset;  // in floating point: (k + a) * D
        const double e = rectifyCicRatio(std::sin(n * d * w) / std::sin(n * w));
        out[k] = e * e * e * e * e;
    }
    out[0] = out[1];
}

CicSegmentTable::CicSegmentTable(int decimation)
    : decimation_(atLeastOne(decimation)), w_(kPi / (static_cast<double>(decimation_) * 2.0 * N)) {
    // (k + a) * D * w is pi * (k + a) / 512 whatever D is: one table period of 1024 points,
    // extended so that any 256 consecutive entries lie side by side.
    for (int n = 0; n < static_cast<int>(numerator_.size()); ++n)
        numerator_[n] = (n % 512 == 0) ? 0.0 : std::sin(kPi * n / 512.0);
    for (int k = 0; k < N; ++k) {
        sinKw_[k] = std::sin(k * w_);
        cosKw_[k] = std::cos(k * w_);
    }
}

void CicSegmentTable::segment(int offset, ResponseArray& out) const {
    // sin((k + a) w) = sin(a w) cos(k w) + cos(a w) sin(k w)
    const double aw = static_cast<double>(offset) * w_;
    const double sa = std::sin(aw);
    const double ca = std::cos(aw);
    const double* num = numerator_.data() + ((offset % 1024) + 1024) % 1024;
    for (int k = 1; k < N; ++k) {
        double e = num[k] / (sa * cosKw_[k] + ca * sinKw_[k]);
        // rectifyCicRatio, written without branches so that the loop vectorises
        e = e < 0.001 ? -e : e;
        e = e < 0.0001 ? 0.0001 : e;
        e = e == e ? e : 0.0001;
        out[k] = e * e * e * e * e;
    }
    out[0] = out[1];
}

void ComputeFirResponse(const int* taps, int count, double step, int offset, int divisor,
                        ResponseArray& out) {
    out.fill(0.0);
    if (taps == nullptr || count <= 0) return;
    const int b = atLeastOne(divisor);
    const double halfStep = step / b * 0.5;
    if (!std::isfinite(halfStep * (static_cast<double>(offset) + N))) return;

    // Centred on the middle tap, the pair j, count-1-j contributes
    //   (h[j] + h[count-1-j]) cos(d theta) + i (h[j] - h[count-1-j]) sin(d theta)
    // up to a common phase, with d = j - (count-1)/2 a whole or half number. So
    // |H| = sqrt(A^2 + B^2) with a cosine sum A and a sine sum B that vanishes for symmetric taps.
    // cos(d theta), sin(d theta) come from rotating by e^{i theta}, starting from 1 (odd count)
    // or e^{i theta/2} (even count): no sine or cosine per tap.
    const int half = count / 2;
    const bool odd = (count % 2) != 0;
    bool symmetric = true;
    for (int d = 0; d < half; ++d)
        if (taps[count - 1 - d] != taps[d]) symmetric = false;
    const double centre = odd ? static_cast<double>(taps[half]) : 0.0;

    // The half-angle e^{i theta_k / 2} of every point, from two short tables: 32 sine/cosine pairs.
    alignas(64) std::array<double, N> ur{};
    alignas(64) std::array<double, N> ui{};
    {
        std::array<double, 16> loC{}, loS{};
        for (int l = 0; l < 16; ++l) {
            loC[l] = std::cos(l * halfStep);
            loS[l] = std::sin(l * halfStep);
        }
        for (int h = 0; h < N / 16; ++h) {
            const double base = (static_cast<double>(offset) + 16.0 * h) * halfStep;
            const double hc = std::cos(base);
            const double hs = std::sin(base);
            for (int l = 0; l < 16; ++l) {
                ur[16 * h + l] = hc * loC[l] - hs * loS[l];
                ui[16 * h + l] = hc * loS[l] + hs * loC[l];
            }
        }
    }

    firSums(taps, half, odd, symmetric, centre, ur.data(), ui.data(), out.data());
}

void ComputeFirResponseFixedStep(const int* taps, int count, int offset, int divisor,
                                 ResponseArray& out) {
    ComputeFirResponse(taps, count, kPi / N, offset, divisor, out);
}

StageSteps channelStageSteps(int decimation, int modeOfDdc, int ndelay) {
    const double d = decimation;
    const double nd = static_cast<double>(N) * atLeastOne(ndelay);
    StageSteps s;
    switch (responseMode(modeOfDdc)) {
        case 1:
            s.cfir = 0.5 * d * kPi / N;
            s.pfir = d * kPi / N;
            s.resampler = 2.0 * d * kPi / nd;
            break;
        case 2:
            s.cfir = 0.5 * d * kPi / N;
            s.pfir = d * kPi / N;
            s.resampler = d * kPi / nd;
            break;
        default:
            s.cfir = d * kPi / N;
            s.pfir = 2.0 * d * kPi / N;
            s.resampler = 4.0 * d * kPi / nd;
            break;
    }
    return s;
}

void ComputeChannelResponse(const gc::model::ConfigurationModel& model, int stretch,
                            ResponseArrays& arrays) {
    const int s = atLeastOne(stretch);
    const int d = model.Work.CurrentDecimation;
    const int ch = model.currentIndex();
    const StageSteps steps = channelStageSteps(d, model.Chip.ModeOfDdc, model.Work.Ndelay);

    ComputeCicResponse(d, s, arrays.CicResponse);
    arrays.ChannelResponse = arrays.CicResponse;
    auto multiplyIn = [&arrays](const ResponseArray& stage) {
        for (int k = 0; k < N; ++k) arrays.ChannelResponse[k] *= stage[k];
    };
    const auto& enabled = model.Work.StageEnabled;
    if (enabled[0] == 1) {
        ComputeFirResponse(model.CfirTaps[ch].data(), gc::model::kCfirTapCount, steps.cfir, 0, s,
                           arrays.CfirResponse);
        multiplyIn(arrays.CfirResponse);
    }
    if (enabled[1] == 1) {
        ComputeFirResponse(model.PfirTaps[ch].data(), gc::model::kPfirTapCount, steps.pfir, 0, s,
                           arrays.PfirResponse);
        multiplyIn(arrays.PfirResponse);
    }
    if (enabled[2] == 1) {
        const int count = std::clamp(model.Work.ResamplerTapCount, 0, gc::model::kResamplerTapMax);
        ComputeFirResponse(model.ResamplerTaps.data(), count, steps.resampler, 0, s,
                           arrays.ResamplerResponse);
        multiplyIn(arrays.ResamplerResponse);
    }
}

double ResponsePeak(const ResponseArray& a) {
    double peak = 0.0;
    for (double v : a)
        if (v > peak) peak = v;
    return peak;
}

double levelDb(double v, double peak) { return 20.0 * logRatio(v, peak); }

int ResponseRow(double v, double peak, int stretchY) {
    // -trunc(x) written as trunc(-x), which cannot overflow when the value saturates.
    return gc::model::truncToInt(-(logRatio(v, peak) * 40.0 * atLeastOne(stretchY)));
}

float cursorLevel(double v, double peak) { return static_cast<float>(20.0 * logRatio(v, peak)); }

int cursorRow(float level, int stretchY) {
    return gc::model::truncToInt(static_cast<double>(level) * -2.0 * atLeastOne(stretchY));
}

int plotColumn(int x) { return std::clamp(x, 0, N - 1); }

}  // namespace gc::response
