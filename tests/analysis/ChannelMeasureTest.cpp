#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "AnalysisTestSupport.h"
#include "analysis/ChannelMeasure.h"
#include "model/ConfigurationModel.h"

namespace gc::analysis {
namespace {

using testing::db;
using testing::libraryChain;
using testing::referenceH;

constexpr double kPi = 3.141592653589793;

ChainSpec cicOnly(int d) {
    ChainSpec s;
    s.clockHz = 100e6;
    s.decimation = d;
    s.stageEnabled = {false, false, false};
    s.outputRateHz = 100e6 / d * 0.25;
    return s;
}

double cic(int d, double f, double c) {
    if (f == 0.0) return std::pow(static_cast<double>(d), 5);
    return std::pow(std::abs(std::sin(kPi * d * f / c) / std::sin(kPi * f / c)), 5);
}

TEST(ChannelMeasure, CicAloneFollowsTheClosedForm) {
    const ChannelChain chain(cicOnly(64));
    const double c = 100e6;
    EXPECT_DOUBLE_EQ(chain.magnitude(0.0), std::pow(64.0, 5));
    for (double f : {1000.0, 123456.7, 781250.0, 1562500.0, 3e6, 49.99e6, 50e6})
        EXPECT_NEAR(chain.magnitude(f), cic(64, f, c), 1e-9 * cic(64, f, c) + 1e-60) << f;

    // The main lobe falls monotonically: P is H(0), the minimum H(Fp), the -3 dB point solves
    // the closed form.
    Requirement req;
    req.passbandHz = 150000.0;
    const Measurement m = measure(chain, req);
    EXPECT_DOUBLE_EQ(m.outputRateHz, 390625.0);
    EXPECT_DOUBLE_EQ(m.referenceLevel, std::pow(64.0, 5));
    EXPECT_NEAR(m.rippleDb, db(std::pow(64.0, 5) / cic(64, 150000.0, c)), 1e-9);
    EXPECT_NEAR(m.rippleWorstHz, 150000.0, 1e-6);
    double lo = 0.0, hi = c / 64;
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (lo + hi);
        (cic(64, mid, c) > std::pow(64.0, 5) / std::sqrt(2.0) ? lo : hi) = mid;
    }
    ASSERT_TRUE(m.bandwidth3dbHz.has_value());
    EXPECT_NEAR(*m.bandwidth3dbHz, hi, 1e-3);
    // Stop band from Fo/2: the main lobe still falls until C/D, so its worst is at Fs.
    EXPECT_DOUBLE_EQ(m.stopbandHz, 195312.5);
    EXPECT_NEAR(m.stopbandAttenuationDb, db(std::pow(64.0, 5) / cic(64, 195312.5, c)), 0.01);
    EXPECT_NEAR(m.stopbandWorstHz, 195312.5, 1.0);
    // The strongest alias of [0, Fp] is the near side of the first image, Fo - Fp.
    EXPECT_NEAR(m.aliasRejectionDb, db(std::pow(64.0, 5) / cic(64, 390625.0 - 150000.0, c)), 0.01);
    EXPECT_NEAR(m.aliasWorstHz, 240625.0, 1.0);
    EXPECT_NEAR(m.aliasWorstOffsetHz, 150000.0, 1.0);
    EXPECT_TRUE(m.meets);  // no limit given
    EXPECT_FALSE(m.rippleOk.has_value());
}

TEST(ChannelMeasure, OneTapStageScalesOnlyAndSymmetricFirHasItsClosedForm) {
    ChainSpec one = cicOnly(16);
    one.stageEnabled = {true, false, false};
    one.cfirTaps = {0, 0, 0, 65536, 0};  // one tap anywhere: a constant factor
    const ChannelChain a(cicOnly(16));
    const ChannelChain b(one);
    for (double f : {0.0, 1e5, 1.7e6, 3.1e6, 4.9e7})
        EXPECT_NEAR(b.magnitude(f) / a.magnitude(f), 65536.0, 1e-6) << f;
    Requirement req;
    req.passbandHz = 500000.0;
    const Measurement ma = measure(a, req);
    const Measurement mb = measure(b, req);
    EXPECT_NEAR(ma.rippleDb, mb.rippleDb, 1e-9);
    EXPECT_NEAR(ma.stopbandAttenuationDb, mb.stopbandAttenuationDb, 0.01);
    EXPECT_NEAR(ma.aliasRejectionDb, mb.aliasRejectionDb, 0.01);

    // Taps 1, 2, 1 at the PFIR rate R = C/(2D): |H| = 4 cos^2(pi F / R), zero at R/2.
    ChainSpec sym = cicOnly(16);
    sym.stageEnabled = {false, true, false};
    sym.pfirTaps = {1, 2, 1};
    const ChannelChain s(sym);
    const double r = stageRates(sym).pfirHz;
    EXPECT_DOUBLE_EQ(r, 100e6 / 32);
    for (double f : {0.0, 2e5, 7.7e5, 1.2e6, 1.5625e6, 2.9e6}) {
        const double expected = cic(16, f, 100e6) * 4.0 * std::pow(std::cos(kPi * f / r), 2);
        EXPECT_NEAR(s.magnitude(f), expected, 1e-9 * cic(16, 0, 1) * 4) << f;
    }
    EXPECT_NEAR(s.magnitude(r / 2), 0.0, 1e-3);
    // Its minimum over [0, R] is the zero at R/2, found within the search's reach.
    const Extreme low = s.minimum(0.0, r);
    EXPECT_NEAR(low.atHz, r / 2, r * 1e-4);
    EXPECT_LT(low.value, s.magnitude(0.0) * 1e-12);
}

TEST(ChannelMeasure, BoundsEncloseTheFunction) {
    // Symmetric built-in sets, and taps without symmetry (as a tap file may hold) in mode 1.
    ChainSpec skew = libraryChain(24, 3, 7, 3, 32);
    skew.mode = 1;
    for (size_t j = 0; j < skew.pfirTaps.size(); ++j)
        skew.pfirTaps[j] = static_cast<int>((j * 7919) % 20011) - 10000;
    skew.resamplerTaps.resize(300);
    for (size_t j = 0; j < skew.resamplerTaps.size(); ++j)
        skew.resamplerTaps[j] = static_cast<int>((j * 104729) % 4001) - 2000;
    for (const ChainSpec& spec : {libraryChain(8, 3, 7, 3), skew}) {
        const ChannelChain chain(spec);
        EXPECT_NEAR(chain.magnitude(1.234e6) / referenceH(spec, 1.234e6), 1.0, 1e-9);
        const double c = 100e6;
        for (int i = 0; i < 400; ++i) {
            const double a = std::fmod(i * 1234567.891, c / 2);
            const double w = (i % 7 + 1) * 1000.0 * (i % 3 == 0 ? 100 : 1);
            const double b = std::min(c / 2, a + w);
            const Bounds bd = chain.bounds(a, b);
            for (int k = 0; k <= 20; ++k) {
                const double f = a + (b - a) * k / 20;
                const double h = chain.magnitude(f);
                EXPECT_LE(bd.lower, h * (1 + 1e-9)) << a << ' ' << b << ' ' << f;
                EXPECT_GE(bd.upper, h * (1 - 1e-9)) << a << ' ' << b << ' ' << f;
            }
        }
    }
}

// The figures of real chains in every output mode against a search of the plain sums, term by
// term with the stage rates of the response's table, on a fine grid.
TEST(ChannelMeasure, FiguresMatchABruteForceSearch) {
    for (int mode : {0, 1, 2}) {
        for (const ChainSpec& spec :
             {libraryChain(8, 3, 7, 3, 64, mode), libraryChain(12, 9, 9, 4, 64, mode)}) {
            SCOPED_TRACE("D=" + std::to_string(spec.decimation) + " mode " + std::to_string(mode));
            const ChannelChain chain(spec);
            const testing::PlainChain plain(spec);
            const double c = spec.clockHz;
            const double fo = spec.outputRateHz;
            Requirement req;
            req.passbandHz = 0.4 * fo / 2;
            req.stopbandHz = 0.6 * fo;
            const Measurement m = measure(chain, req);
            const testing::PlainFigures ref = testing::plainFigures(plain, spec, req);

            // magnitude equals the term-by-term sums
            for (double f : {0.0, 0.1 * fo, 0.77 * fo, 3.3 * fo, 0.49 * c, 0.4999 * c}) {
                EXPECT_NEAR(chain.magnitude(f) / referenceH(spec, f), 1.0, 1e-8) << f;
                EXPECT_NEAR(plain.at(f) / referenceH(spec, f), 1.0, 1e-8) << f;
            }

            EXPECT_NEAR(db(m.referenceLevel / ref.referenceLevel), 0.0, 0.01);
            EXPECT_NEAR(m.rippleDb, ref.rippleDb, 0.01);
            EXPECT_NEAR(m.stopbandAttenuationDb, ref.stopbandDb, 0.01);
            EXPECT_NEAR(m.aliasRejectionDb, ref.aliasDb, 0.01);
            // Each worst point holds the level reported for it.
            EXPECT_NEAR(db(m.referenceLevel / plain.at(m.stopbandWorstHz)), m.stopbandAttenuationDb,
                        1e-6);
            EXPECT_NEAR(db(m.referenceLevel / plain.at(m.aliasWorstHz)), m.aliasRejectionDb, 1e-6);
            EXPECT_NEAR(db(m.referenceLevel / plain.at(m.rippleWorstHz)), m.rippleDb, 1e-6);

            // the -3 dB point: the first crossing of P/sqrt(2)
            ASSERT_TRUE(m.bandwidth3dbHz.has_value());
            EXPECT_NEAR(*m.bandwidth3dbHz, plain.firstAtOrBelow(m.referenceLevel / std::sqrt(2.0)),
                        1e-6 * fo);

            // A(f) against every image
            for (double f : {0.0, 0.13 * fo, 0.37 * fo, 0.5 * fo}) {
                double a = 0.0;
                for (int k = 1; k * fo - f <= c / 2; ++k) {
                    a = std::max(a, chain.magnitude(k * fo - f));
                    if (k * fo + f <= c / 2) a = std::max(a, chain.magnitude(k * fo + f));
                }
                EXPECT_DOUBLE_EQ(aliasMagnitude(chain, f), a) << f;
            }
        }
    }
}

// At decimation 4096 (8192 images below C/2) the pruned search still finds every image's
// strongest point: A(f) against all images, the stop band against a fine grid near its edge.
TEST(ChannelMeasure, LargeDecimationAgreesWithEveryImage) {
    const ChainSpec spec = libraryChain(4096, 3, 7, 3);
    const ChannelChain chain(spec);
    const double fo = spec.outputRateHz;
    const double half = spec.clockHz / 2;
    for (double f : {0.0, 0.21 * fo, 0.5 * fo}) {
        double a = 0.0;
        for (int k = 1; k * fo - f <= half; ++k) {
            a = std::max(a, chain.magnitude(k * fo - f));
            if (k * fo + f <= half) a = std::max(a, chain.magnitude(k * fo + f));
        }
        EXPECT_DOUBLE_EQ(aliasMagnitude(chain, f), a) << f;
    }
    Requirement req;
    req.passbandHz = 0.3 * fo;
    const Measurement m = measure(chain, req);
    double near = 0.0;
    for (int i = 0; i <= 200000; ++i)
        near = std::max(near, chain.magnitude(fo / 2 + 8 * fo * i / 200000.0));
    EXPECT_LE(m.stopbandAttenuationDb, db(m.referenceLevel / near) + 0.01);
    double alias = 0.0;
    for (int i = 0; i <= 100; ++i)
        alias = std::max(alias, aliasMagnitude(chain, req.passbandHz * i / 100));
    EXPECT_LE(m.aliasRejectionDb, db(m.referenceLevel / alias) + 0.01);
    EXPECT_GE(m.aliasRejectionDb, db(m.referenceLevel / alias) - 0.05);
}

// Mode 2 at decimation 2 or 3 leaves a single image pair below C/2 (at 2 only its lower half):
// the alias figures against every image of a fine grid of offsets, with the closed CIC form.
TEST(ChannelMeasure, SingleImagePairAgreesWithEveryImage) {
    const double c = 100e6;
    for (int d : {2, 3}) {
        for (double fraction : {0.2, 0.45}) {
            ChainSpec spec = cicOnly(d);
            spec.mode = 2;
            spec.outputRateHz = c / d;
            const double fo = spec.outputRateHz;
            const ChannelChain chain(spec);
            Requirement req;
            req.passbandHz = fraction * fo;
            const Measurement m = measure(chain, req);
            double worst = 0.0, worstAt = -1.0;
            const int offsets = 20000;
            for (int i = 0; i <= offsets; ++i) {
                const double f = req.passbandHz * i / offsets;
                for (int k = 1; k * fo - f <= c / 2; ++k) {
                    for (double at : {k * fo - f, k * fo + f}) {
                        if (at > c / 2) continue;
                        const double h = cic(d, at, c);
                        if (h > worst) worst = h, worstAt = at;
                    }
                }
            }
            SCOPED_TRACE("D=" + std::to_string(d) + " Fp/Fo=" + std::to_string(fraction));
            ASSERT_GT(worst, 0.0);
            EXPECT_NEAR(m.referenceLevel, std::pow(d, 5), 1e-9 * std::pow(d, 5));
            EXPECT_NEAR(m.aliasRejectionDb, db(std::pow(d, 5) / worst), 0.01);
            EXPECT_NEAR(m.aliasWorstHz, worstAt, req.passbandHz / offsets * 2);
            EXPECT_NEAR(m.aliasWorstOffsetHz, req.passbandHz, req.passbandHz / offsets * 2);
            EXPECT_NEAR(aliasMagnitude(chain, req.passbandHz), worst, 1e-9 * worst);
        }
    }
}

TEST(ChannelMeasure, LimitsDecideMeetsAndZeroResponseIsInfinite) {
    const ChannelChain chain(libraryChain(64, 3, 7, 3));
    Requirement req;
    req.passbandHz = 80000.0;
    const Measurement free = measure(chain, req);
    req.rippleMaxDb = free.rippleDb + 0.1;
    req.stopbandMinDb = free.stopbandAttenuationDb - 0.1;
    req.aliasRejectionMinDb = free.aliasRejectionDb - 0.1;
    Measurement m = measure(chain, req);
    EXPECT_TRUE(m.meets);
    EXPECT_TRUE(*m.rippleOk && *m.stopbandOk && *m.aliasOk);
    req.aliasRejectionMinDb = free.aliasRejectionDb + 0.1;
    m = measure(chain, req);
    EXPECT_FALSE(m.meets);
    EXPECT_FALSE(*m.aliasOk);
    EXPECT_TRUE(*m.rippleOk);

    // A stage of zero taps: H vanishes everywhere, every attenuation is infinite.
    ChainSpec zero = libraryChain(64, 3, 7, 3);
    zero.pfirTaps.assign(63, 0);
    const Measurement z = measure(ChannelChain(zero), Requirement{80000.0, {}, {}, {}, {}});
    EXPECT_TRUE(std::isinf(z.stopbandAttenuationDb));
    EXPECT_TRUE(std::isinf(z.aliasRejectionDb));
}

TEST(ChannelMeasure, BandEdgesAreValidated) {
    const ChainSpec s = libraryChain(64, 3, 7, 3);  // Fo 390625, C/2 50 MHz
    auto check = [&](double fp, std::optional<double> fs) {
        Requirement r;
        r.passbandHz = fp;
        r.stopbandHz = fs;
        return validateRequirement(s, r);
    };
    EXPECT_EQ(check(100000.0, std::nullopt), "");
    EXPECT_EQ(check(100000.0, 50e6), "");
    EXPECT_NE(check(0.0, std::nullopt), "");
    EXPECT_NE(check(-5.0, std::nullopt), "");
    EXPECT_NE(check(195312.5, std::nullopt), "");  // Fp must stay below Fo/2
    EXPECT_NE(check(100000.0, 100000.0), "");      // Fs above Fp
    EXPECT_NE(check(100000.0, 50e6 + 1), "");      // Fs within C/2
    EXPECT_NE(check(std::nan(""), std::nullopt), "");
    Requirement r{100000.0, {}, -1.0, {}, {}};
    EXPECT_NE(validateRequirement(s, r), "");
    ChainSpec noRate = s;
    noRate.outputRateHz = 0;
    EXPECT_NE(validateRequirement(noRate, Requirement{100000.0, {}, {}, {}, {}}), "");
}

TEST(ChannelMeasure, ChainFromModelTakesTheCurrentChannel) {
    gc::model::ConfigurationModel model;
    model.Work.CurrentChannel = 2;
    model.Work.WorkingClock = 80000000;
    model.Work.CurrentDecimation = 100;
    model.Chip.ModeOfDdc = 7;  // counts as 0
    model.Work.StageEnabled = {1, 0, 1};
    model.CfirTaps[2][10] = 777;
    model.PfirTaps[2][31] = 555;
    model.Work.ResamplerTapCount = 3;
    model.ResamplerTaps[0] = 5;
    model.ResamplerTaps[3] = 9;  // past the count: not in use
    model.Work.Ndelay = 32;
    model.Derived.OutputRate = 200000;
    const ChainSpec s = chainFromModel(model);
    EXPECT_EQ(s.clockHz, 80e6);
    EXPECT_EQ(s.decimation, 100);
    EXPECT_EQ(s.mode, 0);
    EXPECT_EQ(s.stageEnabled, (std::array<bool, 3>{true, false, true}));
    EXPECT_EQ(s.cfirTaps.size(), 21u);
    EXPECT_EQ(s.cfirTaps[10], 777);
    EXPECT_EQ(s.pfirTaps[31], 555);
    EXPECT_EQ(s.resamplerTaps, (std::vector<int>{5, 0, 0}));
    EXPECT_EQ(s.ndelay, 32);
    EXPECT_EQ(s.outputRateHz, 200000.0);
    const StageRates r = stageRates(s);
    EXPECT_DOUBLE_EQ(r.cfirHz, 800000.0);
    EXPECT_DOUBLE_EQ(r.pfirHz, 400000.0);
    EXPECT_DOUBLE_EQ(r.resamplerHz, 32 * 80e6 / 400);
    ChainSpec m2 = s;
    m2.mode = 2;
    EXPECT_DOUBLE_EQ(stageRates(m2).cfirHz, 1600000.0);
    EXPECT_DOUBLE_EQ(stageRates(m2).pfirHz, 800000.0);
    EXPECT_DOUBLE_EQ(stageRates(m2).resamplerHz, 32 * 80e6 / 100);
}

// The -3 dB point is the first crossing of P/sqrt(2), found to 1e-9 of F even where the pass
// band sags to just below the level for a few tens of hertz between two samples of the search.
TEST(ChannelMeasure, BandwidthIsTheFirstCrossingEvenOfANarrowSag) {
    // PFIR only, |Y| = K + 2 s cos(31 theta): it falls from its peak at 0 to a dip at R/62
    // (about 100.8 kHz) and rises again. K is chosen so that the dip reaches just below the
    // level, by less than 3e-7 of it.
    const double s = 1e6;
    const auto chainFor = [s](int k) {
        ChainSpec c = cicOnly(8);
        c.stageEnabled = {false, true, false};
        c.pfirTaps.assign(63, 0);
        c.pfirTaps[0] = c.pfirTaps[62] = static_cast<int>(s);
        c.pfirTaps[31] = k;
        return c;
    };
    Requirement req;
    req.passbandHz = 150000.0;
    const double dip = stageRates(chainFor(0)).pfirHz / 62.0;
    // The dip's lowest point, by golden section of the plain sum.
    const auto lowest = [&](const ChainSpec& c) {
        double a = dip - 3000.0, b = dip + 3000.0;
        for (int i = 0; i < 200; ++i) {
            const double x1 = b - 0.618 * (b - a), x2 = a + 0.618 * (b - a);
            (referenceH(c, x1) < referenceH(c, x2) ? b : a) =
                (referenceH(c, x1) < referenceH(c, x2) ? x2 : x1);
        }
        return 0.5 * (a + b);
    };
    int lo = static_cast<int>(11.0 * s), hi = static_cast<int>(12.5 * s);
    double depth = 0.0;
    Measurement m;
    ChainSpec chain;
    for (int step = 0; step < 40 && hi - lo > 1; ++step) {
        const int k = lo + (hi - lo) / 2;
        chain = chainFor(k);
        m = measure(ChannelChain(chain), req);
        const double level = m.referenceLevel / std::sqrt(2.0);
        depth = 1.0 - referenceH(chain, lowest(chain)) / level;
        if (depth > 3e-7)
            lo = k;  // too deep: a larger K lifts the dip
        else if (depth <= 0.0)
            hi = k;
        else
            break;
    }
    ASSERT_GT(depth, 0.0);
    ASSERT_LE(depth, 3e-7);
    const double level = m.referenceLevel / std::sqrt(2.0);
    // H falls monotonically from 0 to the dip: the crossing by bisection of the plain sum.
    double a = 0.0, b = lowest(chain);
    ASSERT_GT(referenceH(chain, a), level);
    ASSERT_LE(referenceH(chain, b), level);
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (a + b);
        (referenceH(chain, mid) > level ? a : b) = mid;
    }
    ASSERT_TRUE(m.bandwidth3dbHz.has_value());
    EXPECT_NEAR(*m.bandwidth3dbHz, b, 1e-9 * b)
        << "the sag below the level is " << (b - a) << " Hz";
    EXPECT_LT(std::abs(*m.bandwidth3dbHz - dip), 200.0);

    // The CIC's main lobe alone: the same precision.
    const Measurement plain = measure(ChannelChain(cicOnly(64)), req);
    double x = 0.0, y = 100e6 / 64;
    const double p64 = std::pow(64.0, 5);
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (x + y);
        (cic(64, mid, 100e6) > plain.referenceLevel / std::sqrt(2.0) ? x : y) = mid;
    }
    EXPECT_DOUBLE_EQ(plain.referenceLevel, p64);
    EXPECT_NEAR(*plain.bandwidth3dbHz, y, 1e-9 * y);
}

// Chains no configuration of the chip can make (a clock below 1 Hz, an output rate that is no
// number or a vanishing part of the clock) are refused before any search, and a measurement
// refused or gone to NaN is never "met", with or without limits.
TEST(ChannelMeasure, ChainsThatCannotBeMeasuredAreRefusedAndNeverMet) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    Requirement bare;
    bare.passbandHz = 1e-9;
    Requirement limits = bare;
    limits.rippleMaxDb = 1.0;
    limits.stopbandMinDb = 0.0;
    limits.aliasRejectionMinDb = -10.0;
    struct Case {
        double clockHz, outputRateHz;
    };
    for (const Case c :
         {Case{0.0, 1.0}, Case{-1.0, 1.0}, Case{nan, 1.0}, Case{inf, 1.0}, Case{1e-300, 1e-302},
          Case{0.5, 0.01}, Case{100e6, 0.0}, Case{100e6, nan}, Case{100e6, inf},
          Case{100e6, 1e-300}, Case{100e6, 0.5}, Case{1e300, 1e-300}}) {
        ChainSpec spec = cicOnly(64);
        spec.clockHz = c.clockHz;
        spec.outputRateHz = c.outputRateHz;
        EXPECT_FALSE(chainProblem(spec).empty()) << c.clockHz << " " << c.outputRateHz;
        EXPECT_FALSE(validateRequirement(spec, bare).empty());
        const ChannelChain chain(spec);
        for (const Requirement& r : {bare, limits}) {
            const Measurement m = measure(chain, r);
            EXPECT_FALSE(m.meets) << c.clockHz << " " << c.outputRateHz;
            EXPECT_TRUE(std::isnan(m.rippleDb));
        }
        const Measurement m = measure(chain, limits);
        EXPECT_EQ(m.rippleOk, std::optional<bool>(false));
        EXPECT_EQ(m.stopbandOk, std::optional<bool>(false));
        EXPECT_EQ(m.aliasOk, std::optional<bool>(false));
        // The alias searches end at once, whatever they are asked (no overflowing count).
        EXPECT_EQ(aliasMagnitude(chain, 1e6), 0.0);
        EXPECT_EQ(chain.aliasMaximum(1e6).value, 0.0);
    }
    // The edges of what is measured: a clock of 1 Hz, an output rate of 1e-8 of the clock.
    ChainSpec edge = cicOnly(8);
    edge.clockHz = 1.0;
    edge.outputRateHz = 1.0 / 32.0;
    EXPECT_EQ(chainProblem(edge), "");
    edge.clockHz = 100e6;
    edge.outputRateHz = 1.0;
    EXPECT_EQ(chainProblem(edge), "");
    edge.outputRateHz = 0.999;
    EXPECT_NE(chainProblem(edge), "");
}
}  // namespace
}  // namespace gc::analysis
