#include "design/ChannelDesign.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <cstdio>
#include <limits>
#include <optional>

#include "design/Equiripple.h"
#include "design/ResamplerDesign.h"
#include "model/Language.h"

namespace gc::design {

namespace {

using gc::analysis::ChainSpec;
using gc::analysis::Measurement;
using gc::analysis::Requirement;
using gc::model::tx;

constexpr double kPi = 3.14159265358979323846;
constexpr double kDefaultRippleDb = 0.2;  // design goals where the requirement sets none
constexpr double kDefaultStopbandDb = 60.0;
constexpr int kRowsPerTap = 8;              // integer-search rows per 1/L of the band
constexpr int kImagesNear = 24;             // images evaluated from the bottom of the stop set
constexpr double kCapPenalty = 10.0;        // cost of a gain above the cap, per unit of cap
constexpr int kSumSlack = 64;               // tap sum window below the target
constexpr int kCapBins = 64;                // resolution of the weights raised to hold the cap
constexpr int kCapPasses = 5;               // designs per stage at most while the cap is broken
constexpr double kCapAllowance = 1.05;      // a gain above the cap by this much is tolerated
constexpr double kGapWeight = 0.1;          // weight of the transition path, per 1/cap
constexpr double kLeastCompensated = 0.05;  // others' magnitude the pass band makes up for
constexpr double kResamplerMaxDb = 90.0;    // beyond this 12-bit taps add nothing
constexpr double kLeastGoal = 0.3;          // the lowest stop-band goal, about 10 dB
// Stop-band goals of the attempts, lowered by these when the requirement is missed.
constexpr std::array<double, 7> kRelaxDb{0.0, 10.0, 20.0, 35.0, 50.0, 70.0, 90.0};

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
            const std::complex<double> z = std::polar(1.0, -kPi * i / points);
            std::complex<double> acc = 0.0;
            for (size_t j = taps.size(); j-- > 0;) acc = acc * z + static_cast<double>(taps[j]);
            mag_[i] = std::abs(acc) / norm;
        }
    }
    bool empty() const { return mag_.empty(); }
    double operator()(double fHz) const {
        if (mag_.empty()) return 1.0;
        double x = std::fmod(std::fabs(fHz) / rate_, 1.0);
        if (x > 0.5) x = 1.0 - x;
        const double pos = x * 2.0 * (mag_.size() - 1);
        const size_t i = std::min(static_cast<size_t>(pos), mag_.size() - 2);
        const double t = pos - i;
        return mag_[i] * (1.0 - t) + mag_[i + 1] * t;
    }

  private:
    double rate_{1.0};
    std::vector<double> mag_;
};

// The chain as the design sees it: normalised stage magnitudes (1 at F = 0).
struct ChainModel {
    double clock{0.0};
    int decimation{2};
    double cfirRate{0.0}, pfirRate{0.0}, resamplerRate{0.0};
    double outputRate{0.0};
    StageTable cfir, pfir, resampler;

    double cic(double f) const {
        const double x = kPi * f / clock;
        const double s = std::sin(x);
        if (std::fabs(s) < 1e-300) return 1.0;
        const double e = std::fabs(std::sin(decimation * x) / (decimation * s));
        return e * e * e * e * e;
    }
};

struct Targets {
    double passHz{0.0};
    double stopHz{0.0};    // Fs of the whole chain
    double passTol{0.0};   // amplitude tolerance in the pass band
    double stopTol{0.0};   // amplitude allowed over the stop band
    double aliasTol{0.0};  // allowed on frequencies that fold onto the pass band
};

double stopTolAt(const ChainModel& m, const Targets& t, double f) {
    if (t.aliasTol < t.stopTol && m.outputRate > 0.0) {
        const double r = std::fmod(f, m.outputRate);
        if (r <= t.passHz || m.outputRate - r <= t.passHz) return t.aliasTol;
    }
    return t.stopTol;
}

enum class Which { Cfir, Pfir };

// What the designed stage must do at its own frequency x (0..R/2).
struct StageView {
    const ChainModel* m;
    const Targets* t;
    Which which;
    double rate;

    double others(double f) const {
        double v = m->cic(f) * m->resampler(f);
        v *= which == Which::Cfir ? m->pfir(f) : m->cfir(f);
        return v;
    }
    // Largest others(F) / tolerance(F) over the images F = k R +- x of the stop set.
    double stopWeight(double x) const {
        const double top = m->clock / 2.0;
        double best = 0.0;
        auto visit = [&](double f) {
            if (f < t->stopHz || f > top) return;
            best = std::max(best, others(f) / stopTolAt(*m, *t, f));
        };
        const int kMax = static_cast<int>(top / rate) + 1;
        auto around = [&](int k) {
            if (k < 0 || k > kMax) return;
            visit(k * rate + x);
            if (k > 0) visit(k * rate - x);
        };
        // The lowest images (where the CIC is strongest) and those near every multiple of the
        // resampler prototype's rate (where it passes again).
        const int k0 = std::max(0, static_cast<int>(t->stopHz / rate) - 1);
        for (int k = k0; k <= std::min(kMax, k0 + kImagesNear); ++k) around(k);
        if (m->resampler.empty() || m->resamplerRate <= 0.0) return best;
        for (double c = m->resamplerRate; c <= top + rate; c += m->resamplerRate) {
            const int kc = static_cast<int>(c / rate);
            for (int k = kc - 2; k <= kc + 2; ++k)
                if (k > k0 + kImagesNear) around(k);
        }
        return best;
    }
};

struct StageResult {
    std::vector<int> taps;  // full filter
    bool ok{false};
    bool cancelled{false};
};

StageResult designStage(const StageView& v, int length, double stopEdgeHz,
                        const DesignControl& control) {
    StageResult out;
    const double R = v.rate;
    const double fp = v.t->passHz / R;
    const double fs = std::clamp(stopEdgeHz / R, fp + 1e-4, 0.5);
    // Desired amplitude and weight in the stage's own units (DC gain 1).
    double maxPassGain = 1.0;
    auto passAt = [&](double f, double& d, double& w) {
        // A null of the other stages inside the pass band cannot be compensated.
        const double o = std::max(v.others(f * R), kLeastCompensated);
        d = 1.0 / o;
        w = o / v.t->passTol;
    };
    {
        double d = 0, w = 0;
        for (int i = 0; i <= 64; ++i) {
            passAt(fp * i / 64, d, w);
            maxPassGain = std::max(maxPassGain, d);
        }
    }
    const double cap = maxPassGain;  // no gain above the pass band's own
    const double floorWeight = 1.0 / cap;
    // Weights raised where a design broke the cap: the other stages hide a gain there, which
    // a design for the chain alone would otherwise take (costing headroom in the chip).
    std::vector<double> capBoost(kCapBins + 1, 1.0);
    auto boostAt = [&](double f) {
        return capBoost[std::min(static_cast<size_t>(f / 0.5 * kCapBins), capBoost.size() - 1)];
    };
    auto stopAt = [&](double f, double& d, double& w) {
        d = 0.0;
        w = std::max(v.stopWeight(f * R), floorWeight) * boostAt(f);
    };
    // Between the bands the desired amplitude falls along a raised cosine from the pass band's
    // edge to 0, with a small weight: left free, an exchange design of a short filter with a
    // wide transition grows without bound there.
    double edgeGain = 1.0;
    {
        double w = 0.0;
        passAt(fp, edgeGain, w);
    }
    const double eps = std::min(2e-3, (fs - fp) / 10.0);
    double gapWeight = kGapWeight / cap;
    auto gapAt = [&](double f, double& d, double& w) {
        const double u = std::clamp((f - fp) / (fs - fp), 0.0, 1.0);
        d = edgeGain * 0.5 * (1.0 + std::cos(kPi * u));
        w = gapWeight * boostAt(f);
    };
    std::vector<Band> bands{{0.0, fp}};
    const bool gap = fs - fp > 4.0 * eps;
    if (gap) bands.push_back({fp + eps, fs - eps});
    bands.push_back({fs, 0.5});
    // A design whose pass band misses its desired gain by half has lost its way (the exchange
    // algorithm with weights this uneven sometimes does): retried with a firmer transition.
    auto sane = [&](const std::vector<double>& h) {
        for (int i = 0; i <= 32; ++i) {
            const double f = fp * i / 32;
            double d = 0.0, w = 0.0;
            passAt(f, d, w);
            if (!(std::fabs(zeroPhaseAmplitude(h, length, f) - d) <= 0.5 * d)) return false;
        }
        return true;
    };
    std::optional<std::vector<double>> real;
    for (int pass = 0; pass < kCapPasses; ++pass) {
        for (const double boost : {1.0, 10.0, 40.0, 160.0}) {
            gapWeight = kGapWeight * boost / cap;
            real = equiripple(length, bands, [&](double f, double& d, double& w) {
                if (f <= fp + 0.5 * eps)
                    passAt(f, d, w);
                else if (f < fs - 0.5 * eps)
                    gapAt(f, d, w);
                else
                    stopAt(f, d, w);
            });
            if (real && sane(*real)) break;
            real.reset();
        }
        if (!real) break;
        bool broken = false;
        for (int i = 0; i <= 4 * kCapBins; ++i) {
            const double f = fp + (0.5 - fp) * i / (4 * kCapBins);
            const double a = std::fabs(zeroPhaseAmplitude(*real, length, f)) / cap;
            if (a <= kCapAllowance) continue;
            broken = true;
            const size_t bin =
                std::min(static_cast<size_t>(f / 0.5 * kCapBins), capBoost.size() - 1);
            const double raise = std::max(4.0, a * a);
            for (size_t b = (bin > 0 ? bin - 1 : 0); b <= std::min(bin + 1, capBoost.size() - 1);
                 ++b)
                capBoost[b] = std::max(capBoost[b], capBoost[b] * raise);
        }
        if (!broken) break;
    }
    if (!real) return out;
    if (control.cancelled()) {
        out.cancelled = true;
        return out;
    }

    // Integer scale: the tap sum 65536 (gain 1), lowered when a tap would not fit 16 bits.
    std::vector<double> half = *real;
    const double dc = zeroPhaseAmplitude(half, length, 0.0);
    if (!(std::fabs(dc) > 0.0)) return out;
    double scale = static_cast<double>(kUnityTapSum) / dc;
    double largest = 0.0;
    for (double x : half) largest = std::max(largest, std::fabs(x));
    if (largest * std::fabs(scale) > kFirMaxTap - 1.0)
        scale = (kFirMaxTap - 1.0) / largest * (scale < 0 ? -1 : 1);
    for (double& x : half) x *= scale;
    const long long sumTarget = std::llround(zeroPhaseAmplitude(half, length, 0.0));

    IntegerProblem p;
    p.length = length;
    p.minTap = kFirMinTap;
    p.maxTap = kFirMaxTap;
    p.sumMin = sumTarget - kSumSlack;
    p.sumMax = sumTarget;
    p.pairRounds = 4;
    p.maxSweeps = 100;
    auto addRows = [&](double from, double to, int kind) {
        const int count =
            std::max(8, static_cast<int>(std::ceil((to - from) * kRowsPerTap * length)));
        for (int i = 0; i <= count; ++i) {
            const double f = from + (to - from) * i / count;
            double d = 0.0, w = 1.0, slack = 0.0;
            if (kind == 0) {
                passAt(f, d, w);
            } else if (kind == 1) {
                stopAt(f, d, w);
            } else {  // between the bands: only a gain above the cap costs
                d = 0.0;
                w = kCapPenalty / cap;
                slack = kCapPenalty;
            }
            p.freq.push_back(f);
            p.target.push_back(d * scale);
            p.weight.push_back(w / scale);
            p.slack.push_back(slack);
        }
    };
    addRows(0.0, fp, 0);
    if (fs - fp > 2e-3) addRows(fp + 1e-3, fs - 1e-3, 2);
    addRows(fs, 0.5, 1);
    addRows(fs, 0.5, 2);  // the cap holds over the stop band too
    const RefineResult r = quantiseAndRefine(p, half, 1, control);
    if (r.cancelled) {
        out.cancelled = true;
        return out;
    }
    out.taps = mirrorHalf(r.half, length);
    out.ok = true;
    return out;
}

// The order of designs: one that meets the requirement first, then one whose pass band is as
// flat as required, then the largest smallest margin of the attenuation limits (dB; the
// ripple's margin counts ten times, 0.1 dB of ripple weighing as 1 dB of stop band).
struct Rank {
    bool meets{false};
    bool rippleOk{false};
    double margin{-std::numeric_limits<double>::infinity()};

    bool operator<(const Rank& o) const {
        if (meets != o.meets) return o.meets;
        if (rippleOk != o.rippleOk) return o.rippleOk;
        return margin < o.margin;
    }
};

Rank rankOf(const Measurement& m, const Requirement& req) {
    Rank r;
    r.meets = m.meets;
    r.rippleOk = m.rippleDb <= req.rippleMaxDb.value_or(kDefaultRippleDb);
    double margin = m.stopbandAttenuationDb - req.stopbandMinDb.value_or(kDefaultStopbandDb);
    if (req.aliasRejectionMinDb)
        margin = std::min(margin, m.aliasRejectionDb - *req.aliasRejectionMinDb);
    if (!r.rippleOk)
        margin = std::min(margin, 10.0 * (req.rippleMaxDb.value_or(kDefaultRippleDb) - m.rippleDb));
    r.margin = margin;
    return r;
}

std::string fixed(double v, int decimals) {
    if (std::isinf(v)) return v > 0 ? "∞" : "-∞";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

}  // namespace

std::string shortfallMessage(const ChainSpec& chain, const Requirement& req, const Measurement& m) {
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
                   {fixed(m.rippleDb, 2), fixed(*req.rippleMaxDb, 2)});
    }
    if (m.stopbandOk && !*m.stopbandOk) {
        stopShort = true;
        text += tx(" подавление в полосе задерживания %1 дБ (требуется не менее %2 дБ);",
                   {fixed(m.stopbandAttenuationDb, 1), fixed(*req.stopbandMinDb, 1)});
    }
    if (m.aliasOk && !*m.aliasOk) {
        stopShort = true;
        text += tx(" подавление наложений %1 дБ (требуется не менее %2 дБ);",
                   {fixed(m.aliasRejectionDb, 1), fixed(*req.aliasRejectionMinDb, 1)});
    }
    if (text.back() == ';') text.back() = '.';
    text += tx(" Ослабьте ограничение:");
    if (stopShort) {
        // Where the worst frequency folds into the FIR stages' pass band only the CIC
        // attenuates it: a lower decimation or another output mode helps, a wider transition
        // does not.
        const double worst = (m.stopbandOk && !*m.stopbandOk) ? m.stopbandWorstHz : m.aliasWorstHz;
        const auto rates = gc::analysis::stageRates(chain);
        double x = rates.pfirHz > 0.0 ? std::fmod(worst, rates.pfirHz) : worst;
        x = std::min(x, rates.pfirHz - x);
        if (x <= m.passbandHz * 1.05)
            text +=
                tx(" уменьшите децимацию или выберите другой режим выхода, либо уменьшите "
                   "требуемое подавление");
        else
            text +=
                tx(" расширьте переходную полосу (повысьте частоту начала полосы "
                   "задерживания) или уменьшите требуемое подавление");
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
    if (!out.error.empty()) return out;

    const auto rates = gc::analysis::stageRates(chain);
    ChainModel model;
    model.clock = chain.clockHz;
    model.decimation = chain.decimation;
    model.cfirRate = rates.cfirHz;
    model.pfirRate = rates.pfirHz;
    model.resamplerRate = rates.resamplerHz;
    model.outputRate = chain.outputRateHz > 0.0 ? chain.outputRateHz : rates.pfirHz / 2.0;

    Targets t;
    t.passHz = req.passbandHz;
    t.stopHz = req.stopbandHz.value_or(model.outputRate / 2.0);
    t.passTol = toleranceFromRipple(req.rippleMaxDb.value_or(kDefaultRippleDb));
    t.stopTol = std::pow(10.0, -req.stopbandMinDb.value_or(kDefaultStopbandDb) / 20.0);
    t.aliasTol = t.stopTol;
    if (req.aliasRejectionMinDb)
        t.aliasTol = std::min(t.stopTol, std::pow(10.0, -*req.aliasRejectionMinDb / 20.0));

    const double resamplerInput = rates.resamplerHz / std::max(1, chain.ndelay);
    const int phases = std::max(1, chain.ndelay);
    if (options.designResampler && chain.stageEnabled[2]) {
        const int count = static_cast<int>(chain.resamplerTaps.size());
        ResamplerRequest rq;
        rq.phases = phases;
        rq.multiplies = count / phases;
        // Like the library's sets: a transition centred on half the resampler's input rate
        // (or its output rate, when lower) whose width follows Kaiser's estimate for the
        // attenuation wanted; a droop of the prototype inside the channel's pass band is made
        // up by the CFIR and PFIR designed after it.
        const double protoRate = rates.resamplerHz;
        const double band = std::min(resamplerInput, model.outputRate);
        rq.stopbandDb =
            std::min(-20.0 * std::log10(std::min(t.stopTol, t.aliasTol)), kResamplerMaxDb);
        const double b =
            std::clamp(0.5 * (1.0 - (rq.stopbandDb - 7.95) / (14.36 * std::max(1, rq.multiplies))),
                       0.05, 0.45);
        rq.passEdge = b * band / protoRate;
        rq.stopEdge = (1.0 - b) * band / protoRate;
        rq.rippleDb = req.rippleMaxDb.value_or(kDefaultRippleDb) / 4.0;
        DesignControl sub;
        sub.cancel = control.cancel;
        sub.progress = [&](double f) { control.report(0.4 * f); };
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
    if (chain.stageEnabled[2] && !chain.resamplerTaps.empty())
        model.resampler =
            StageTable(chain.resamplerTaps, rates.resamplerHz,
                       std::max(1024, 8 * static_cast<int>(chain.resamplerTaps.size())));

    // Stop edges: the PFIR attenuates from the chain's Fs or from what its decimation folds
    // onto the pass band, whichever is lower; the CFIR attenuates the PFIR's image band, which
    // its own decimation would fold onto the pass band.
    const double pfirStop =
        std::max(std::min(t.stopHz, rates.pfirHz / 2.0 - t.passHz), t.passHz * 1.02);
    const double cfirStop = std::max(rates.pfirHz - pfirStop, t.passHz * 1.02);

    // When the requirement is missed, the stop-band goal is lowered step by step: a weighted
    // minimax design that cannot meet both bands gives up pass-band flatness in proportion
    // to the stop band's weight, and the best figures to report are those of a flat pass band
    // with the most attenuation the taps allow.
    Rank best;
    const int rounds = std::max(1, options.rounds);
    const double firShare = out.resamplerTaps.empty() ? 1.0 : 0.6;
    const double firStart = 1.0 - firShare;
    const double baseStopTol = t.stopTol;
    const double baseAliasTol = t.aliasTol;
    for (size_t attempt = 0; attempt < kRelaxDb.size(); ++attempt) {
        const double relax = std::pow(10.0, kRelaxDb[attempt] / 20.0);
        t.stopTol = std::min(baseStopTol * relax, kLeastGoal);
        t.aliasTol = std::min(baseAliasTol * relax, kLeastGoal);
        model.cfir = StageTable();
        model.pfir = StageTable();
        chain.cfirTaps.clear();
        chain.pfirTaps.clear();
        for (int round = 0; round < rounds; ++round) {
            for (const Which which : {Which::Cfir, Which::Pfir}) {
                StageView view{&model, &t, which,
                               which == Which::Cfir ? rates.cfirHz : rates.pfirHz};
                const StageResult s =
                    designStage(view, which == Which::Cfir ? kCfirLength : kPfirLength,
                                which == Which::Cfir ? cfirStop : pfirStop, control);
                if (s.cancelled || control.cancelled()) {
                    out.cancelled = true;
                    out.cfirTaps.clear();
                    out.pfirTaps.clear();
                    out.resamplerTaps.clear();
                    return out;
                }
                if (!s.ok) continue;
                if (which == Which::Cfir) {
                    chain.cfirTaps = s.taps;
                    model.cfir = StageTable(s.taps, rates.cfirHz, 1024);
                } else {
                    chain.pfirTaps = s.taps;
                    model.pfir = StageTable(s.taps, rates.pfirHz, 2048);
                }
                if (model.cfir.empty() || model.pfir.empty()) continue;
                const gc::analysis::ChannelChain measured(chain);
                const Measurement m = gc::analysis::measure(measured, req);
                const Rank rank = rankOf(m, req);
                if (out.cfirTaps.empty() || best < rank) {
                    best = rank;
                    out.cfirTaps = chain.cfirTaps;
                    out.pfirTaps = chain.pfirTaps;
                    out.measurement = m;
                }
            }
            control.report(firStart + firShare * (attempt * rounds + round + 1) /
                                          (static_cast<double>(kRelaxDb.size()) * rounds));
        }
        // Lowering the goal further only trades attenuation away once the pass band is flat.
        if (best.meets || best.rippleOk) break;
    }
    if (out.cfirTaps.empty()) {
        out.error = tx("Не удалось рассчитать фильтры для этого требования.");
        return out;
    }
    chain.cfirTaps = out.cfirTaps;
    chain.pfirTaps = out.pfirTaps;
    out.chain = chain;
    out.meets = out.measurement.meets;
    out.message = shortfallMessage(chain, req, out.measurement);
    control.report(1.0);
    return out;
}

}  // namespace gc::design
