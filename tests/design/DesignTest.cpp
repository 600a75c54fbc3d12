// Filter design: the integer search, the equiripple core, resampler prototypes and channel
// designs for requirements, every figure checked again with the measurement code.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "analysis/AnalysisTestSupport.h"
#include "analysis/ChannelMeasure.h"
#include "design/ChannelDesign.h"
#include "design/Equiripple.h"
#include "design/IntegerRefine.h"
#include "design/ResamplerDesign.h"
#include "filters/FilterTables.h"

namespace {

using gc::analysis::ChainSpec;
using gc::analysis::Requirement;
namespace ds = gc::design;

bool symmetric(const std::vector<int>& taps) {
    for (size_t i = 0; i < taps.size(); ++i)
        if (taps[i] != taps[taps.size() - 1 - i]) return false;
    return true;
}

// |H| of a stage at f cycles per sample of its own rate.
double stageMagnitude(const std::vector<int>& taps, double f) {
    std::complex<double> sum = 0.0;
    for (size_t j = 0; j < taps.size(); ++j)
        sum += static_cast<double>(taps[j]) * std::polar(1.0, -2.0 * M_PI * f * j);
    return std::abs(sum);
}

// The stage's largest gain above its own pass band [0, fp] over its largest inside, in dB.
double gainAbovePassBandDb(const std::vector<int>& taps, double fp) {
    double pass = 0.0;
    double above = 0.0;
    for (int i = 0; i <= 200; ++i) pass = std::max(pass, stageMagnitude(taps, fp * i / 200));
    for (int i = 0; i <= 2000; ++i)
        above = std::max(above, stageMagnitude(taps, fp + (0.5 - fp) * i / 2000));
    return 20.0 * std::log10(above / pass);
}

long long sumOf(const std::vector<int>& taps) {
    long long s = 0;
    for (int v : taps) s += v;
    return s;
}

// A chain as a configuration gives it: clock 100 MHz, the library's res_8x64_60 resampler at
// 64 phases, the output at the resampler's input rate.
ChainSpec chainFor(int decimation, int mode) {
    ChainSpec c;
    c.clockHz = 100e6;
    c.decimation = decimation;
    c.mode = mode;
    const auto& set = gc::filters::resamplerLibrary()[3];
    for (int i = 0; i < set.tapCount; ++i)
        c.resamplerTaps.push_back(set.taps[i < set.tapCount / 2 ? i : set.tapCount - 1 - i]);
    c.ndelay = 64;
    c.outputRateHz = gc::analysis::stageRates(c).resamplerHz / c.ndelay;
    return c;
}

// The figures a design reports, measured again from the taps it wrote through the plain sums on
// a fine grid (no measurement code), and when it claims to meet the requirement, every limit
// held by them within the measurement's tolerance.
void expectFiguresOfTheTaps(const ChainSpec& withTaps, const Requirement& req,
                            const gc::analysis::Measurement& reported, bool met) {
    namespace t = gc::analysis::testing;
    const t::PlainFigures plain = t::plainFigures(t::PlainChain(withTaps), withTaps, req);
    EXPECT_NEAR(plain.rippleDb, reported.rippleDb, 0.01);
    EXPECT_NEAR(plain.stopbandDb, reported.stopbandAttenuationDb, 0.01);
    EXPECT_NEAR(plain.aliasDb, reported.aliasRejectionDb, 0.01);
    if (!met) return;
    if (req.rippleMaxDb) EXPECT_LE(plain.rippleDb, *req.rippleMaxDb + 0.01);
    if (req.stopbandMinDb) EXPECT_GE(plain.stopbandDb, *req.stopbandMinDb - 0.01);
    if (req.aliasRejectionMinDb) EXPECT_GE(plain.aliasDb, *req.aliasRejectionMinDb - 0.01);
}

TEST(IntegerRefine, WinsBackWhatRoundingLostWithinTheConstraints) {
    // A 63-tap low-pass at a small integer scale, where rounding costs most.
    const int n = 63;
    const auto real =
        ds::equiripple(n, {{0.0, 0.1}, {0.2, 0.5}}, [](double f, double& d, double& w) {
            d = f < 0.15 ? 1.0 : 0.0;
            w = f < 0.15 ? 1.0 : 10.0;
        });
    ASSERT_TRUE(real.has_value());
    ASSERT_EQ(real->size(), 32u);
    std::vector<double> half = *real;
    const double scale = 4096.0 / ds::zeroPhaseAmplitude(half, n, 0.0);
    for (double& v : half) v *= scale;

    ds::IntegerProblem p;
    p.length = n;
    p.minTap = -2048;
    p.maxTap = 2047;
    p.sumMin = 4096 - 8;
    p.sumMax = 4096;
    p.fixed.assign(32, false);
    p.fixed[0] = true;  // an outer tap held as it is
    for (int i = 0; i <= 400; ++i) {
        const double f = 0.5 * i / 400;
        if (f > 0.1 && f < 0.2) continue;
        p.freq.push_back(f);
        p.target.push_back(f <= 0.1 ? 4096.0 : 0.0);
        p.weight.push_back(f <= 0.1 ? 1.0 : 10.0);
    }
    std::vector<int> rounded(half.size());
    for (size_t k = 0; k < half.size(); ++k) rounded[k] = static_cast<int>(std::lround(half[k]));
    const double realStop = ds::stopbandAttenuationDb(rounded, n, 0.2);
    const ds::RefineResult r = ds::refineIntegerTaps(p, rounded);
    ASSERT_FALSE(r.cancelled);
    EXPECT_EQ(r.half[0], rounded[0]);
    const long long sum = ds::fullSum(r.half, n);
    EXPECT_GE(sum, p.sumMin);
    EXPECT_LE(sum, p.sumMax);
    for (int v : r.half) {
        EXPECT_GE(v, p.minTap);
        EXPECT_LE(v, p.maxTap);
    }
    EXPECT_GT(ds::stopbandAttenuationDb(r.half, n, 0.2), realStop + 3.0);
    const std::vector<int> full = ds::mirrorHalf(r.half, n);
    EXPECT_TRUE(symmetric(full));
    EXPECT_EQ(sumOf(full), sum);

    // quantiseAndRefine brings a start outside the sum window into it.
    ds::IntegerProblem tight = p;
    tight.sumMin = tight.sumMax = 4000;
    const ds::RefineResult q = ds::quantiseAndRefine(tight, half, 1);
    EXPECT_EQ(ds::fullSum(q.half, n), 4000);
}

TEST(ResamplerDesign, PrototypeOfFullLengthIsSymmetricTwelveBitWithTheLibraryGain) {
    ds::ResamplerRequest rq;
    rq.multiplies = 8;
    rq.phases = 64;
    rq.passEdge = 0.27 / 64;
    rq.stopEdge = 0.73 / 64;
    rq.stopbandDb = 70.0;
    std::vector<double> progress;
    ds::DesignControl control;
    control.progress = [&](double f) { progress.push_back(f); };
    const ds::ResamplerPrototype p = ds::designResamplerPrototype(rq, control);
    ASSERT_EQ(p.taps.size(), 512u);
    EXPECT_TRUE(symmetric(p.taps));
    for (int v : p.taps) {
        ASSERT_GE(v, ds::kResamplerMinTap);
        ASSERT_LE(v, ds::kResamplerMaxTap);
    }
    const double perPhase = static_cast<double>(sumOf(p.taps)) / 64.0;
    EXPECT_GE(perPhase, 2020.0);
    EXPECT_LE(perPhase, 2161.0);
    EXPECT_DOUBLE_EQ(p.sumPerPhase, perPhase);
    EXPECT_GE(p.stopbandDb, 66.0);
    EXPECT_LT(p.passRippleDb, 0.1);
    ASSERT_FALSE(progress.empty());
    EXPECT_DOUBLE_EQ(progress.back(), 1.0);

    // The figure is that of the integer taps.
    const std::vector<int> half(p.taps.begin(), p.taps.begin() + 256);
    EXPECT_NEAR(ds::stopbandAttenuationDb(half, 512, rq.stopEdge), p.stopbandDb, 1e-9);

    // Cancelled before it starts: nothing.
    std::atomic<bool> cancel{true};
    ds::DesignControl stop;
    stop.cancel = &cancel;
    const ds::ResamplerPrototype none = ds::designResamplerPrototype(rq, stop);
    EXPECT_TRUE(none.cancelled);
    EXPECT_TRUE(none.taps.empty());

    // A request that makes no sense designs nothing.
    rq.stopEdge = rq.passEdge / 2;
    EXPECT_TRUE(ds::designResamplerPrototype(rq).taps.empty());
}

struct Case {
    int decimation;
    int mode;
    double passFraction;  // Fp / Fo
    double stopFraction;  // Fs / Fo, 0 for the default Fo / 2
    double rippleDb;
    double stopDb;
    double aliasDb;  // 0: not given
};

TEST(ChannelDesign, RequirementsOfEveryModeAndWideDecimationsAreMet) {
    const Case cases[] = {
        {8, 0, 0.40, 0.0, 0.1, 75.0, 0.0},      // wide pass band, resampler droop made up
        {64, 0, 0.05, 0.0, 0.05, 90.0, 0.0},    // narrow
        {2048, 0, 0.30, 0.0, 0.2, 70.0, 90.0},  // large decimation, alias limit
        {16, 1, 0.35, 0.0, 0.1, 75.0, 0.0},
        {256, 2, 0.25, 0.6, 0.3, 70.0, 0.0},  // explicit stop edge
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("D=" + std::to_string(c.decimation) + " mode " + std::to_string(c.mode));
        const ChainSpec chain = chainFor(c.decimation, c.mode);
        Requirement req;
        req.passbandHz = c.passFraction * chain.outputRateHz;
        if (c.stopFraction > 0) req.stopbandHz = c.stopFraction * chain.outputRateHz;
        req.rippleMaxDb = c.rippleDb;
        req.stopbandMinDb = c.stopDb;
        if (c.aliasDb > 0) req.aliasRejectionMinDb = c.aliasDb;
        const ds::ChannelDesign d = ds::designChannel(chain, req);
        ASSERT_TRUE(d.error.empty()) << d.error;
        EXPECT_TRUE(d.meets) << d.message;
        EXPECT_TRUE(d.message.empty());
        ASSERT_EQ(d.cfirTaps.size(), 21u);
        ASSERT_EQ(d.pfirTaps.size(), 63u);
        EXPECT_TRUE(d.resamplerTaps.empty());
        for (const auto* taps : {&d.cfirTaps, &d.pfirTaps}) {
            EXPECT_TRUE(symmetric(*taps));
            for (int v : *taps) {
                ASSERT_GE(v, -32768);
                ASSERT_LE(v, 32767);
            }
            // Gain 1 (sum 65536) unless the largest tap had to be scaled into 16 bits, which
            // then uses most of the range.
            const long long s = sumOf(*taps);
            EXPECT_LE(s, 65536);
            EXPECT_GT(s, 0);
            int largest = 0;
            for (int v : *taps) largest = std::max(largest, std::abs(v));
            if (s < 65536 - 64) {
                EXPECT_GT(largest, 29000);
            }
        }
        // The figures are those of the integer taps on the whole chain.
        ChainSpec check = chain;
        check.cfirTaps = d.cfirTaps;
        check.pfirTaps = d.pfirTaps;
        expectFiguresOfTheTaps(check, req, d.measurement, true);
        EXPECT_EQ(d.chain.cfirTaps, d.cfirTaps);
        // Neither stage raises its gain above its own pass band where the others hide it.
        const auto rates = gc::analysis::testing::referenceRates(chain);
        EXPECT_LT(gainAbovePassBandDb(d.cfirTaps, req.passbandHz / rates[0]), 0.5);
        EXPECT_LT(gainAbovePassBandDb(d.pfirTaps, req.passbandHz / rates[1]), 0.5);
    }
}

TEST(ChannelDesign, ResamplerDesignedWithTheChannelKeepsItsLengthAndPhases) {
    const ChainSpec chain = chainFor(64, 0);
    Requirement req;
    req.passbandHz = 0.35 * chain.outputRateHz;
    req.rippleMaxDb = 0.1;
    req.stopbandMinDb = 80.0;
    ds::ChannelDesignOptions options;
    options.designResampler = true;
    const ds::ChannelDesign d = ds::designChannel(chain, req, options);
    EXPECT_TRUE(d.meets) << d.message;
    ASSERT_EQ(d.resamplerTaps.size(), 512u);
    EXPECT_TRUE(symmetric(d.resamplerTaps));
    const double perPhase = static_cast<double>(sumOf(d.resamplerTaps)) / 64.0;
    EXPECT_GE(perPhase, 2020.0);
    EXPECT_LE(perPhase, 2161.0);
    EXPECT_EQ(d.chain.resamplerTaps, d.resamplerTaps);
    ChainSpec check = chain;
    check.cfirTaps = d.cfirTaps;
    check.pfirTaps = d.pfirTaps;
    check.resamplerTaps = d.resamplerTaps;
    expectFiguresOfTheTaps(check, req, d.measurement, true);
}

TEST(ChannelDesign, InfeasibleRequirementReportsItsBestFiguresAndWhatToRelax) {
    const ChainSpec chain = chainFor(64, 0);
    Requirement req;
    req.passbandHz = 0.3 * chain.outputRateHz;
    req.stopbandHz = 0.32 * chain.outputRateHz;  // a transition far too narrow for 63 taps
    req.rippleMaxDb = 0.1;
    req.stopbandMinDb = 100.0;
    const ds::ChannelDesign d = ds::designChannel(chain, req);
    ASSERT_TRUE(d.error.empty());
    EXPECT_FALSE(d.meets);
    EXPECT_FALSE(d.measurement.meets);
    ASSERT_EQ(d.cfirTaps.size(), 21u);  // the best design is still there
    ASSERT_EQ(d.pfirTaps.size(), 63u);
    EXPECT_NE(d.message.find("Требование не выполнено"), std::string::npos);
    char figure[32];
    std::snprintf(figure, sizeof figure, "%.1f", d.measurement.stopbandAttenuationDb);
    EXPECT_NE(d.message.find(figure), std::string::npos) << d.message;
    EXPECT_NE(d.message.find("Ослабьте ограничение"), std::string::npos);
    EXPECT_NE(d.message.find("расширьте переходную полосу"), std::string::npos);
    // The figures reported are those of the taps returned.
    ChainSpec check = chain;
    check.cfirTaps = d.cfirTaps;
    check.pfirTaps = d.pfirTaps;
    expectFiguresOfTheTaps(check, req, d.measurement, false);

    // A requirement the chain cannot be measured against is refused with the reason.
    Requirement bad;
    bad.passbandHz = chain.outputRateHz;  // beyond Fo / 2
    const ds::ChannelDesign refused = ds::designChannel(chain, bad);
    EXPECT_FALSE(refused.error.empty());
    EXPECT_TRUE(refused.cfirTaps.empty());
}

TEST(ChannelDesign, ReportsProgressAndStopsWhenCancelled) {
    const ChainSpec chain = chainFor(32, 0);
    Requirement req;
    req.passbandHz = 0.2 * chain.outputRateHz;
    req.stopbandMinDb = 70.0;
    std::atomic<bool> cancel{false};
    std::vector<double> progress;
    ds::DesignControl control;
    control.cancel = &cancel;
    control.progress = [&](double f) {
        progress.push_back(f);
        cancel = true;  // the first report cancels the job
    };
    const ds::ChannelDesign d = ds::designChannel(chain, req, {}, control);
    EXPECT_TRUE(d.cancelled);
    EXPECT_TRUE(d.cfirTaps.empty());
    EXPECT_TRUE(d.pfirTaps.empty());
    EXPECT_EQ(progress.size(), 1u);

    progress.clear();
    cancel = false;
    control.progress = [&](double f) { progress.push_back(f); };
    const ds::ChannelDesign full = ds::designChannel(chain, req, {}, control);
    EXPECT_FALSE(full.cancelled);
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_DOUBLE_EQ(progress.back(), 1.0);
}

}  // namespace
