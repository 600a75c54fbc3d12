#include "sim/LevelPlan.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <cstdio>
#include <limits>
#include <numeric>

namespace gc::sim {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kMinusInf = -std::numeric_limits<double>::infinity();

[[nodiscard]] double ampDb(double amplitude) {
    return amplitude > 0.0 ? 20.0 * std::log10(amplitude) : kMinusInf;
}
[[nodiscard]] double powDb(double power) {
    return power > 0.0 ? 10.0 * std::log10(power) : kMinusInf;
}

// |sum_k h[k] e^{-j 2 pi f k / rate}|
[[nodiscard]] double firMagnitude(const std::vector<double>& h, double f, double rate) {
    const double w = 2.0 * kPi * f / rate;
    double re = 0.0, im = 0.0;
    for (std::size_t k = 0; k < h.size(); ++k) {
        re += h[k] * std::cos(w * static_cast<double>(k));
        im -= h[k] * std::sin(w * static_cast<double>(k));
    }
    return std::hypot(re, im);
}

// (sin(pi D f / C) / sin(pi f / C))^5, D^5 at multiples of C.
[[nodiscard]] double cicMagnitude(int d, double f, double clock) {
    const double x = kPi * f / clock;
    const double den = std::sin(x);
    if (std::fabs(den) < 1e-12) return std::pow(static_cast<double>(d), 5);
    return std::pow(std::fabs(std::sin(d * x) / den), 5);
}

// Sum of squares of the CIC5 impulse response (five boxcars of length D).
[[nodiscard]] double cicEnergy(int d) {
    std::vector<double> h(1, 1.0);
    for (int stage = 0; stage < 5; ++stage) {
        std::vector<double> next(h.size() + static_cast<std::size_t>(d) - 1, 0.0);
        double run = 0.0;
        for (std::size_t n = 0; n < next.size(); ++n) {
            if (n < h.size()) run += h[n];
            if (n >= static_cast<std::size_t>(d) && n - static_cast<std::size_t>(d) < h.size())
                run -= h[n - static_cast<std::size_t>(d)];
            next[n] = run;
        }
        h.swap(next);
    }
    double e = 0.0;
    for (double v : h) e += v * v;
    return e;
}

[[nodiscard]] double sumOf(const std::vector<double>& h) {
    return std::accumulate(h.begin(), h.end(), 0.0);
}
[[nodiscard]] double energyOf(const std::vector<double>& h) {
    double e = 0.0;
    for (double v : h) e += v * v;
    return e;
}

[[nodiscard]] std::string num(double v, int decimals = 6) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

// One frequency component of the signal at the mixer output.
struct Component {
    double basebandHz;  // after the NCO, in (-C/2, C/2]
    double amplitude;   // at the mixer output (complex amplitude, full scale 1)
    bool wanted;
};

enum { kIn, kMix, kCic, kCoarse, kCfir, kPfir, kFine, kRes, kOut, kStageCount };

}  // namespace

LevelPlan computeLevelPlan(const ChannelSetup& s, const ModelParameters& p,
                           const LevelInput& input) {
    LevelPlan plan;
    const double clock = s.clockHz;
    const int z = s.zeroCount;
    const double fin = clock / (1.0 + z);
    const double nco = clock * static_cast<double>(s.frequencyWord) / 4294967296.0;
    const int d = s.decimation;
    const bool pair = s.outputMode != 0;
    const double cicRate = clock * (pair ? 2.0 : 1.0) / d;
    const double pfirRate = cicRate / 2.0;
    const double resInRate = pfirRate / (s.pfirDecimates ? 2.0 : 1.0);
    const double ratio = static_cast<double>(s.ratioWord) / 67108864.0;
    const double fout = resInRate / ratio;
    plan.inputRateHz = fin;
    plan.outputRateHz = fout;
    plan.ncoFrequencyHz = nco;

    // Stage factors in full-scale units.
    const double ncoAmp =
        (std::ldexp(1.0, p.ncoAmplitudeBits - 1) - 1.0) / std::ldexp(1.0, p.ncoAmplitudeBits - 1);
    const int preScale = s.shift + s.scale + 6 * s.bigScale - 62;
    const double cicScale = std::ldexp(1.0, preScale);
    const double coarse = std::ldexp(1.0, s.coarse);
    const std::vector<double> cfir(s.cfirTaps.begin(), s.cfirTaps.end());
    const std::vector<double> pfir(s.pfirTaps.begin(), s.pfirTaps.end());
    const double fine = s.fineGain / 1024.0;
    const double resScale = std::ldexp(1.0, s.finalShift - 15);
    const int nd = s.resamplerPhases;
    const std::vector<double> proto(s.resamplerTaps.begin(), s.resamplerTaps.end());
    // At a ratio of exactly 1 every output instant falls on an input sample: only branch 0
    // (taps 0, NDELAY, 2 NDELAY, ...) is ever used.
    const bool branchZeroOnly = (s.ratioWord & 0x3ffffffu) == 0;
    std::vector<double> branch0;
    for (std::size_t k = 0; k < proto.size(); k += static_cast<std::size_t>(nd))
        branch0.push_back(proto[k]);

    // Linear gain from the mixer output to the output of each stage at baseband frequency f.
    const auto gainsAt = [&](double f) {
        std::array<double, kStageCount> g{};
        g[kIn] = 1.0;
        g[kMix] = 1.0;
        g[kCic] = cicMagnitude(d, f, clock) * cicScale;
        g[kCoarse] = g[kCic] * coarse;
        g[kCfir] = g[kCoarse] * firMagnitude(cfir, f, cicRate) / 65536.0;
        g[kPfir] = g[kCfir] * firMagnitude(pfir, f, pfirRate) / 65536.0;
        g[kFine] = g[kPfir] * fine;
        const double res = branchZeroOnly ? firMagnitude(branch0, f, resInRate)
                                          : firMagnitude(proto, f, resInRate * nd) / nd;
        g[kRes] = g[kFine] * res * resScale;
        g[kOut] = g[kRes];
        return g;
    };

    // The input as components at the mixer output. A real tone cos(2 pi f t) is two complex
    // components of half its amplitude; zero padding repeats each at multiples of the input
    // rate with 1/(1+NZERO) of it; the NCO moves everything down by its frequency.
    const double inputAmplitude = std::pow(10.0, input.levelDbfs / 20.0);
    std::vector<Component> comps;
    const auto wrap = [clock](double f) {
        double w = std::fmod(f, clock);
        if (w > clock / 2.0) w -= clock;
        if (w <= -clock / 2.0) w += clock;
        return w;
    };
    const auto addReal = [&](double f, double amplitude, bool wantedSide) {
        for (int k = 0; k <= z; ++k) {
            for (int sign : {1, -1}) {
                const double fb = wrap(sign * f + k * fin - nco);
                const double a = amplitude / 2.0 / (1.0 + z) * ncoAmp;
                const bool wanted = wantedSide && sign == 1 && k == 0;
                // Components on the same frequency add in phase (a tone of phase 0).
                auto same = std::find_if(comps.begin(), comps.end(), [&](const Component& c) {
                    return std::fabs(c.basebandHz - fb) < 1e-9 * clock;
                });
                if (same != comps.end()) {
                    same->amplitude += a;
                    same->wanted = same->wanted || wanted;
                } else {
                    comps.push_back({fb, a, wanted});
                }
            }
        }
    };
    const bool noise = input.kind == LevelInput::Kind::Noise;
    constexpr int kNoiseLines = 512;
    if (!noise) {
        addReal(input.toneHz, inputAmplitude, true);
    } else {
        // Equal lines across the band, the band kept within 0 .. Fin/2.
        const double lo = std::clamp(nco - input.noiseBandHz / 2.0, 0.0, fin / 2.0);
        const double hi = std::clamp(nco + input.noiseBandHz / 2.0, 0.0, fin / 2.0);
        const double lineAmplitude = inputAmplitude / std::sqrt(static_cast<double>(kNoiseLines));
        for (int k = 0; k < kNoiseLines; ++k)
            addReal(lo + (hi - lo) * (k + 0.5) / kNoiseLines, lineAmplitude, true);
    }

    // Stage levels.
    std::array<double, kStageCount> signal{}, rest{}, peak{};
    for (const Component& c : comps) {
        const auto g = gainsAt(c.basebandHz);
        const bool inBand = noise ? std::fabs(c.basebandHz) < fout / 2.0 && c.wanted : c.wanted;
        for (int st = kMix; st < kStageCount; ++st) {
            const double a = c.amplitude * g[st];
            if (noise) {
                (inBand ? signal[st] : rest[st]) += a * a;  // powers
            } else {
                (inBand ? signal[st] : rest[st]) += a;  // amplitudes, for the worst-case peak
                peak[st] += a;
            }
        }
    }
    signal[kIn] = noise ? inputAmplitude * inputAmplitude : inputAmplitude;
    if (noise && signal[kMix] + rest[kMix] > 0.0) {
        // The input's noise split as the mixer splits it: inside the output band and outside.
        const double inBand = signal[kMix] / (signal[kMix] + rest[kMix]);
        rest[kIn] = signal[kIn] * (1.0 - inBand);
        signal[kIn] *= inBand;
    }
    peak[kIn] = inputAmplitude * (noise ? kNoiseCrestSigma / std::sqrt(2.0) : 1.0);
    if (noise) {
        for (int st = kMix; st < kStageCount; ++st) {
            const double power = signal[st] + rest[st];
            peak[st] = kNoiseCrestSigma * std::sqrt(power / 2.0);
        }
    }

    // Word widths and the rounding noise each stage adds, carried to the output.
    const int mixBits = s.mixer20Bit ? 20 : p.mixerNarrowBits;
    const std::array<int, kStageCount> bits{
        s.inputBits,      mixBits,          p.cicOutputBits,      p.coarseOutputBits,
        p.cfirOutputBits, p.pfirOutputBits, p.resamplerInputBits, p.resamplerOutputBits,
        s.outputBits};
    const std::array<double, kStageCount> rates{fin,       clock,     cicRate, cicRate, pfirRate,
                                                resInRate, resInRate, fout,    fout};
    // Does the stage round (drop bits)? The coarse gain only shifts left when it keeps the
    // width; the output drops bits only when narrower than the resampler word.
    const std::array<bool, kStageCount> rounds{true,
                                               true,
                                               true,
                                               s.coarse + p.coarseOutputBits - p.cicOutputBits < 0,
                                               true,
                                               true,
                                               true,
                                               true,
                                               s.outputBits < p.resamplerOutputBits};
    // Noise power gain from a stage's output to the channel output (white noise).
    const double resEnergy =
        (branchZeroOnly ? energyOf(branch0) : energyOf(proto) / nd) * resScale * resScale;
    std::array<double, kStageCount> toOut{};
    toOut[kOut] = 1.0;
    toOut[kRes] = 1.0;
    toOut[kFine] = resEnergy;
    toOut[kPfir] = toOut[kFine] * fine * fine;
    toOut[kCfir] = toOut[kPfir] * energyOf(pfir) / (65536.0 * 65536.0);
    toOut[kCoarse] = toOut[kCfir] * energyOf(cfir) / (65536.0 * 65536.0);
    toOut[kCic] = toOut[kCoarse] * coarse * coarse;
    toOut[kMix] = toOut[kCic] * cicEnergy(d) * cicScale * cicScale;
    toOut[kIn] = toOut[kMix] / (1.0 + z);  // the zeros carry no noise

    double noiseOut = 0.0;
    plan.firstClipInputDbfs = std::numeric_limits<double>::infinity();
    static constexpr std::array<const char*, kStageCount> kNames{
        "input", "mixer", "cic", "coarse", "cfir", "pfir", "fine gain", "resampler", "output"};
    for (int st = 0; st < kStageCount; ++st) {
        StageLevel level;
        level.stage = kNames[static_cast<std::size_t>(st)];
        level.wordBits = bits[static_cast<std::size_t>(st)];
        level.rateHz = rates[static_cast<std::size_t>(st)];
        if (noise) {
            level.signalDbfs = powDb(signal[st]);
            level.outOfBandDbfs = powDb(rest[st]);
        } else {
            level.signalDbfs = ampDb(signal[st]);
            level.outOfBandDbfs = ampDb(rest[st]);
        }
        level.peakDbfs = ampDb(peak[st]);
        if (st == kIn && !noise) level.signalDbfs = level.peakDbfs = input.levelDbfs;
        level.headroomDb = -level.peakDbfs;
        level.clipInputDbfs = input.levelDbfs + level.headroomDb;
        // The NCO's largest word is below full scale, so a real input cannot clip the mixer.
        if (st == kMix && s.inputBits <= 19)
            level.clipInputDbfs = std::numeric_limits<double>::infinity();
        if (rounds[static_cast<std::size_t>(st)]) {
            const double lsb = std::ldexp(1.0, -(level.wordBits - 1));
            // Real at the input, I and Q afterwards.
            const double added = lsb * lsb / 12.0 * (st == kIn ? 1.0 : 2.0);
            level.noiseDbfs = powDb(added);
            level.noiseAtOutputDbfs = powDb(added * toOut[static_cast<std::size_t>(st)]);
            noiseOut += added * toOut[static_cast<std::size_t>(st)];
        } else {
            level.noiseDbfs = kMinusInf;
            level.noiseAtOutputDbfs = kMinusInf;
        }
        if (st != kIn && level.clipInputDbfs < plan.firstClipInputDbfs) {
            plan.firstClipInputDbfs = level.clipInputDbfs;
            plan.firstClipStage = level.stage;
        }
        if (level.peakDbfs > 0.0) plan.clips = true;
        plan.stages.push_back(level);
    }
    plan.outputSignalDbfs = plan.stages[kOut].signalDbfs;
    plan.outputNoiseDbfs = powDb(noiseOut);
    plan.outputSnrDb = plan.outputSignalDbfs - plan.outputNoiseDbfs;

    // The tone's place in the output band.
    const double fb = noise ? 0.0 : wrap(input.toneHz - nco);
    double fo = std::fmod(fb, fout);
    if (fo > fout / 2.0) fo -= fout;
    if (fo <= -fout / 2.0) fo += fout;
    plan.outputFrequencyHz = fo;

    // The gain equation.
    const double cfirSum = sumOf(cfir), pfirSum = sumOf(pfir);
    const double resGain = (branchZeroOnly ? sumOf(branch0) : sumOf(proto) / nd) * resScale;
    plan.gain = {
        {"real input to complex", "1/2", 0.5},
        {"zero pad", "1/(1+" + std::to_string(z) + ")", 1.0 / (1.0 + z)},
        {"NCO amplitude",
         "(2^" + std::to_string(p.ncoAmplitudeBits - 1) + "-1)/2^" +
             std::to_string(p.ncoAmplitudeBits - 1),
         ncoAmp},
        {"CIC",
         std::to_string(d) + "^5 x 2^(" + std::to_string(s.shift) + "+" + std::to_string(s.scale) +
             "+6x" + std::to_string(s.bigScale) + "-62)",
         std::pow(static_cast<double>(d), 5) * cicScale},
        {"coarse gain", "2^" + std::to_string(s.coarse), coarse},
        {"CFIR", num(cfirSum, 0) + "/65536", cfirSum / 65536.0},
        {"PFIR", num(pfirSum, 0) + "/65536", pfirSum / 65536.0},
        {"fine gain", std::to_string(s.fineGain) + "/1024", fine},
        {"resampler",
         branchZeroOnly ? "(branch 0 sum " + num(sumOf(branch0), 0) + ") x 2^(" +
                              std::to_string(s.finalShift) + "-15)"
                        : "(" + num(sumOf(proto), 0) + "/" + std::to_string(nd) + ") x 2^(" +
                              std::to_string(s.finalShift) + "-15)",
         resGain},
    };
    plan.totalGain = 1.0;
    for (const GainFactor& f : plan.gain) plan.totalGain *= f.value;
    plan.totalGainDb = ampDb(std::fabs(plan.totalGain));
    return plan;
}

}  // namespace gc::sim
