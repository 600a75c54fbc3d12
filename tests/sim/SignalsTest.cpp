// Generated signals: the SPEC text, and samples against their closed forms.
#include <gtest/gtest.h>

#include <cmath>

#include "sim/SignalTestSupport.h"
#include "sim/Signals.h"

namespace gc::sim {
namespace {

using testing::kPi;
using testing::readAll;

SignalSpec parsed(const std::string& text) {
    std::string error;
    const std::optional<SignalSpec> spec = parseSignalSpec(text, error);
    EXPECT_TRUE(spec.has_value()) << text << ": " << error;
    return spec.value_or(SignalSpec{});
}

std::string parseError(const std::string& text) {
    std::string error;
    EXPECT_FALSE(parseSignalSpec(text, error).has_value()) << text;
    return error;
}

TEST(SignalSpecTest, ReadsEveryKindWithItsDefaults) {
    const SignalSpec tone = parsed("tone:f=21.4e6,level=-6,len=1e6");
    EXPECT_EQ(tone.kind, SignalKind::Tone);
    EXPECT_DOUBLE_EQ(tone.f1Hz, 21.4e6);
    EXPECT_DOUBLE_EQ(tone.levelDbfs, -6.0);
    EXPECT_EQ(tone.length, 1000000u);

    const SignalSpec plain = parsed(" tone : f = 1000 ");
    EXPECT_DOUBLE_EQ(plain.f1Hz, 1000.0);
    EXPECT_DOUBLE_EQ(plain.levelDbfs, -6.0);
    EXPECT_EQ(plain.length, 1000000u);

    const SignalSpec two = parsed("twotone:f1=1e6,f2=1.1e6,level=-12.5,len=4096");
    EXPECT_EQ(two.kind, SignalKind::TwoTone);
    EXPECT_DOUBLE_EQ(two.f1Hz, 1e6);
    EXPECT_DOUBLE_EQ(two.f2Hz, 1.1e6);
    EXPECT_DOUBLE_EQ(two.levelDbfs, -12.5);
    EXPECT_EQ(two.length, 4096u);

    EXPECT_EQ(parsed("noise").kind, SignalKind::Noise);
    EXPECT_EQ(parsed("noise:seed=7").seed, 7u);
    const SignalSpec sweep = parsed("sweep:f0=0,f1=5e6,len=100");
    EXPECT_EQ(sweep.kind, SignalKind::Sweep);
    EXPECT_DOUBLE_EQ(sweep.f2Hz, 5e6);

    // The text form reads back as the same signal.
    for (const char* text : {"tone:f=21.4e6,level=-6,len=1e6,phase=90", "twotone:f1=1,f2=2",
                             "noise:level=-40,len=3,seed=9", "sweep:f0=10,f1=20,level=0"}) {
        const SignalSpec a = parsed(text);
        const SignalSpec b = parsed(formatSignalSpec(a));
        EXPECT_EQ(a.kind, b.kind) << text;
        EXPECT_EQ(a.f1Hz, b.f1Hz) << text;
        EXPECT_EQ(a.f2Hz, b.f2Hz) << text;
        EXPECT_EQ(a.levelDbfs, b.levelDbfs) << text;
        EXPECT_EQ(a.length, b.length) << text;
        EXPECT_EQ(a.phaseDeg, b.phaseDeg) << text;
        EXPECT_EQ(a.seed, b.seed) << text;
    }
    EXPECT_EQ(formatSignalSpec(parsed("tone:f=21.4e6,len=1e6")),
              "tone:f=2.14e+07,level=-6,len=1e+06");
}

TEST(SignalSpecTest, RefusesMalformedText) {
    EXPECT_NE(parseError("chirp:f=1").find("unknown signal"), std::string::npos);
    EXPECT_NE(parseError("tone").find("f=HZ"), std::string::npos);
    EXPECT_NE(parseError("twotone:f1=1").find("f2=HZ"), std::string::npos);
    EXPECT_NE(parseError("sweep:f0=1").find("f1=HZ"), std::string::npos);
    EXPECT_NE(parseError("tone:f=1e6x").find("not a number"), std::string::npos);
    EXPECT_NE(parseError("tone:f=nan").find("not a number"), std::string::npos);
    EXPECT_NE(parseError("tone:f=1,len=0").find("len=0"), std::string::npos);
    EXPECT_NE(parseError("tone:f=1,len=2.5").find("len=2.5"), std::string::npos);
    EXPECT_NE(parseError("tone:f=1,len=1e12").find("len=1e12"), std::string::npos);
    EXPECT_NE(parseError("tone:f=1,level=3").find("above full scale"), std::string::npos);
    EXPECT_NE(parseError("tone:f=1,f2=3").find("\"f2\""), std::string::npos);
    EXPECT_NE(parseError("noise:f=1").find("\"f\""), std::string::npos);
    EXPECT_NE(parseError("tone:f=1,,len=3").find("empty item"), std::string::npos);
    EXPECT_NE(parseError("tone:f").find("NAME=VALUE"), std::string::npos);

    const SignalSpec tone = parsed("tone:f=60e6");
    EXPECT_NE(checkSignalForRate(tone, 100e6).find("0..50000000"), std::string::npos);
    EXPECT_EQ(checkSignalForRate(tone, 120e6), "");
    EXPECT_NE(checkSignalForRate(parsed("sweep:f0=1,f1=-5"), 100e6), "");
    EXPECT_EQ(checkSignalForRate(parsed("noise"), 100e6), "");
}

TEST(SignalSourceTest, TonesAndSweepFollowTheirClosedFormsAcrossBlocks) {
    const double rate = 100e6;
    // A real tone: A cos(2 pi f k / rate + phase), A = 10^(-6/20); read in uneven blocks so
    // that block edges fall anywhere.
    {
        const SignalSpec spec = parsed("tone:f=21.4e6,level=-6,len=300001,phase=30");
        auto source = makeSignalSource(spec, rate);
        ASSERT_EQ(source->totalSamples(), 300001u);
        EXPECT_FALSE(source->complexSamples());
        const std::vector<Sample> x = readAll(*source, 777);
        ASSERT_EQ(x.size(), 300001u);
        const double a = std::pow(10.0, -6.0 / 20.0);
        double worst = 0.0;
        for (std::size_t k = 0; k < x.size(); k += 97) {
            const double expected =
                a * std::cos(2.0 * kPi * std::fmod(21.4e6 * static_cast<double>(k) / rate, 1.0) +
                             kPi / 6.0);
            worst = std::max(worst, std::abs(x[k].real() - expected));
            ASSERT_EQ(x[k].imag(), 0.0f);
        }
        EXPECT_LT(worst, 2e-6);
    }
    // Two tones: the sum of two cosines, each at the level.
    {
        auto source = makeSignalSource(parsed("twotone:f1=1e6,f2=3.3e6,level=-20,len=50000"), rate);
        const std::vector<Sample> x = readAll(*source, 4096);
        ASSERT_EQ(x.size(), 50000u);
        for (std::size_t k = 0; k < x.size(); k += 101) {
            const double t = static_cast<double>(k) / rate;
            const double expected =
                0.1 * (std::cos(2 * kPi * 1e6 * t) + std::cos(2 * kPi * 3.3e6 * t));
            ASSERT_NEAR(x[k].real(), expected, 1e-6) << k;
        }
    }
    // A sweep from f0 to f1 over L samples: phase(k) = 2 pi (f0 k + (f1 - f0) k (k - 1) /
    // (2 (L - 1))) / rate.
    {
        const double f0 = 1e6;
        const double f1 = 11e6;
        const std::size_t length = 200000;
        auto source = makeSignalSource(parsed("sweep:f0=1e6,f1=11e6,level=0,len=200000"), rate);
        const std::vector<Sample> x = readAll(*source, 65536);
        ASSERT_EQ(x.size(), length);
        const double l1 = static_cast<double>(length - 1);
        for (std::size_t k = 0; k < length; k += 173) {
            const double kk = static_cast<double>(k);
            const double cycles = (f0 * kk + (f1 - f0) * kk * (kk - 1.0) / (2.0 * l1)) / rate;
            const double expected = std::cos(2.0 * kPi * std::fmod(cycles, 1.0));
            ASSERT_NEAR(x[k].real(), expected, 2e-5) << k;
        }
    }
}

TEST(SignalSourceTest, NoiseHasItsLevelAndRepeatsWithItsSeed) {
    // -20 dBFS noise: the power of a -20 dBFS sine, 0.01 / 2.
    auto source = makeSignalSource(parsed("noise:level=-20,len=400001,seed=3"), 10e6);
    const std::vector<Sample> x = readAll(*source, 999);
    ASSERT_EQ(x.size(), 400001u);
    double sum = 0.0;
    double power = 0.0;
    double fourth = 0.0;
    for (const Sample& s : x) {
        sum += s.real();
        power += static_cast<double>(s.real()) * s.real();
        fourth += std::pow(static_cast<double>(s.real()), 4);
    }
    const double n = static_cast<double>(x.size());
    EXPECT_NEAR(power / n, 0.005, 0.005 * 0.01);
    EXPECT_NEAR(sum / n, 0.0, 0.0003);
    // Gaussian: E[x^4] = 3 sigma^4.
    EXPECT_NEAR(fourth / n / (0.005 * 0.005), 3.0, 0.05);

    auto again = makeSignalSource(parsed("noise:level=-20,len=1000,seed=3"), 10e6);
    const std::vector<Sample> y = readAll(*again, 1000);
    EXPECT_TRUE(std::equal(y.begin(), y.end(), x.begin()));
    auto other = makeSignalSource(parsed("noise:level=-20,len=1000,seed=4"), 10e6);
    EXPECT_NE(readAll(*other, 1000).front(), x.front());
}

}  // namespace
}  // namespace gc::sim
