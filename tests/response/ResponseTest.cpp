#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "ReferenceResponse.h"
#include "response/Response.h"

namespace gc::response {
namespace {

// A windowed-sinc low-pass of `count` integer taps scaled to about 2^15, as the chip's
// coefficient sets are; `skew` makes it asymmetric.
std::vector<int> lowPassTaps(int count, double cutoff, double skew = 0.0) {
    std::vector<int> h(static_cast<size_t>(count));
    const double c = (count - 1) / 2.0;
    for (int j = 0; j < count; ++j) {
        const double t = j - c;
        const double sinc = t == 0 ? 2 * cutoff : std::sin(2 * kPi * cutoff * t) / (kPi * t);
        const double win = count == 1 ? 1.0 : 0.54 - 0.46 * std::cos(2 * kPi * j / (count - 1));
        h[static_cast<size_t>(j)] =
            static_cast<int>(std::lround(32768.0 * sinc * win * (1 + skew * j)));
    }
    return h;
}

std::vector<int> randomTaps(std::mt19937& rng, int count, int range) {
    std::uniform_int_distribution<int> dist(-range, range);
    std::vector<int> h(static_cast<size_t>(count));
    for (int& v : h) v = dist(rng);
    return h;
}

// The plain sum rounds each angle j * theta on its own; with angles up to 1e5 radians that
// alone moves it by up to about eps * sum|h| * (count-1) * theta, which deep in a stop band is
// far more than 1e-9 of the value. So the fast sums must agree to 1e-9 of the value plus that
// rounding allowance of the plain sum (a long-double check below shows which side is closer).
double plainSumNoise(const int* h, int count, double theta) {
    double sumAbs = 0.0;
    for (int j = 0; j < count; ++j) sumAbs += std::abs(static_cast<double>(h[j]));
    return 4 * 2.2e-16 * sumAbs * (1 + (count - 1) * std::abs(theta));
}

// The largest ratio of the difference to its allowance; below 1 passes.
double worstError(const ResponseArray& fast, const ResponseArray& ref, const int* h, int count,
                  double x, int a, int b) {
    double worst = 0.0;
    for (int k = 0; k < PlotPoints; ++k) {
        const double allowed = 1e-9 * ref[k] + plainSumNoise(h, count, x * (k + a) / b);
        worst = std::max(worst, std::abs(fast[k] - ref[k]) / allowed);
    }
    return worst;
}

// Plot rows of two arrays against their own peaks, for several vertical stretches, wherever a
// row lies on the plot or a quarter of its height below. Further down (below about -200 dB of
// a channel) the plain sums are rounding noise, and nothing there is visible anyway.
void expectSameRows(const ResponseArray& fast, const ResponseArray& ref, const char* what) {
    const double pf = ResponsePeak(fast);
    const double pr = ResponsePeak(ref);
    for (int y = 1; y <= 512; y *= 8)
        for (int k = 0; k < PlotPoints; ++k) {
            const int rf = ResponseRow(fast[k], pf, y);
            const int rr = reference::row(ref[k], pr, y);
            if (std::min(rf, rr) <= 300) {
                ASSERT_EQ(rf, rr) << what << " k=" << k << " Y=" << y;
            }
        }
}

TEST(CicResponse, EdgesNullsAndFloor) {
    ResponseArray a{};
    // k = 0 repeats k = 1 for every decimation and stretch.
    for (int d : {2, 3, 64, 4096})
        for (int s : {1, 8, 4096}) {
            ComputeCicResponse(d, s, a);
            EXPECT_EQ(a[0], a[1]) << d << " " << s;
        }
    // D = 64, S = 1: the nulls sin(pi D f) = 0 fall on k = 8, 16, ... and store 0.0001^5.
    ComputeCicResponse(64, 1, a);
    for (int k = 8; k < PlotPoints; k += 8) EXPECT_DOUBLE_EQ(a[k], 1e-20) << k;
    EXPECT_GT(a[7], 1e-20);
    // The ratio rule: (0, 0.001) floors, a small negative ratio keeps its magnitude.
    EXPECT_EQ(rectifyCicRatio(0.0005), 0.0001);
    EXPECT_EQ(rectifyCicRatio(0.0), 0.0001);
    EXPECT_EQ(rectifyCicRatio(-0.0005), 0.0005);
    EXPECT_EQ(rectifyCicRatio(-0.00001), 0.0001);
    EXPECT_EQ(rectifyCicRatio(0.001), 0.001);
    EXPECT_EQ(rectifyCicRatio(-3.5), 3.5);
    EXPECT_EQ(rectifyCicRatio(std::nan("")), 0.0001);
    // D = 2, S = 1: (2 cos(pi f))^5, largest at k = 0 and 1, just under 32.
    ComputeCicResponse(2, 1, a);
    const double top = std::pow(2 * std::cos(kPi / 512), 5);
    EXPECT_NEAR(a[1], top, 1e-12);
    EXPECT_LT(a[1], 32.0);
    EXPECT_EQ(ResponsePeak(a), a[1]);
    for (int k = 2; k < PlotPoints; ++k) EXPECT_LT(a[k], a[1]);
}

TEST(CicResponse, StretchBeyondDecimationIsARealRatio) {
    // D / S with S > D: an integer quotient would be 0 and flatten the curve to the floor.
    ResponseArray a{}, ref{};
    for (int d : {2, 5, 64, 100, 4096})
        for (int s = 1; s <= 4096; s *= 2) {
            ComputeCicResponse(d, s, a);
            reference::cicResponse(d, s, ref);
            ASSERT_EQ(a, ref) << d << " " << s;
        }
    ComputeCicResponse(64, 128, a);
    // Half the band of a 64/128 stretch is DC-like: near D^5 and smoothly falling, no floor.
    EXPECT_GT(a[255], 1e-3 * std::pow(64.0, 5));
}

TEST(CicSegment, TableEqualsPlainSumsAndSegmentsTileTheBand) {
    ResponseArray direct{}, fast{}, ref{};
    for (int d : {2, 3, 7, 64, 1000, 4096}) {
        const CicSegmentTable table(d);
        for (int m : {0, 1, 2, 3, 5, d / 2, d - 2, d - 1}) {
            if (m < 0 || m >= d) continue;
            ComputeCicSegment(d, m * PlotPoints, direct);
            reference::cicSegment(d, m * PlotPoints, ref);
            table.segment(m * PlotPoints, fast);
            EXPECT_EQ(direct[0], direct[1]);
            EXPECT_EQ(fast[0], fast[1]);
            for (int k = 0; k < PlotPoints; ++k) {
                ASSERT_NEAR(direct[k], ref[k], 1e-9 * ref[k]) << d << " " << m << " " << k;
                ASSERT_NEAR(fast[k], ref[k], 1e-9 * ref[k]) << d << " " << m << " " << k;
            }
            // Rows against the first segment's peak, as the alias view draws them.
            ResponseArray first{};
            reference::cicSegment(d, 0, first);
            const double p = ResponsePeak(first);
            for (int k = 0; k < PlotPoints; ++k)
                ASSERT_EQ(ResponseRow(fast[k], p, 1), ResponseRow(ref[k], p, 1)) << d << " " << m;
        }
    }
    // Segment 0 of D = 64 is the CIC response of a 64-fold stretch: the same frequencies.
    ResponseArray stretched{};
    ComputeCicResponse(64, 64, stretched);
    ComputeCicSegment(64, 0, direct);
    for (int k = 0; k < PlotPoints; ++k) EXPECT_NEAR(direct[k], stretched[k], 1e-9 * direct[k]);
}

TEST(FirResponse, BypassZerosAndGuards) {
    ResponseArray a{};
    // One nonzero tap anywhere: a constant magnitude equal to the tap's size.
    for (int pos : {0, 5, 20}) {
        std::vector<int> h(21, 0);
        h[static_cast<size_t>(pos)] = -37;
        ComputeFirResponse(h.data(), 21, 64 * kPi / 256, 0, 1, a);
        for (double v : a) ASSERT_NEAR(v, 37.0, 1e-12) << pos;
    }
    const std::vector<int> one{1};
    ComputeFirResponseFixedStep(one.data(), 1, 0, 1, a);
    for (double v : a) EXPECT_EQ(v, 1.0);
    // No taps, all-zero taps: zeros. A zero divisor counts as 1. A non-finite step: zeros.
    const std::vector<int> zeros(63, 0);
    ComputeFirResponse(zeros.data(), 63, 1.0, 0, 1, a);
    for (double v : a) EXPECT_EQ(v, 0.0);
    ComputeFirResponse(one.data(), 0, 1.0, 0, 1, a);
    for (double v : a) EXPECT_EQ(v, 0.0);
    const auto lp = lowPassTaps(21, 0.2);
    ResponseArray b{};
    ComputeFirResponse(lp.data(), 21, 0.1, 0, 0, a);
    ComputeFirResponse(lp.data(), 21, 0.1, 0, 1, b);
    EXPECT_EQ(a, b);
    ComputeFirResponse(lp.data(), 21, std::numeric_limits<double>::infinity(), 0, 1, a);
    for (double v : a) EXPECT_EQ(v, 0.0);
    // At theta = 0 the magnitude is the tap sum.
    ComputeFirResponse(lp.data(), 21, 0.1, 0, 1, a);
    double sum = 0;
    for (int v : lp) sum += v;
    EXPECT_NEAR(a[0], std::abs(sum), 1e-9 * std::abs(sum));
}

TEST(FirResponse, EqualsPlainSumsOverTapsStepsOffsetsAndDivisors) {
    std::mt19937 rng(12345);
    ResponseArray fast{}, ref{};
    struct Case {
        std::vector<int> taps;
        const char* what;
    };
    std::vector<Case> cases;
    for (int count : {1, 2, 3, 21, 22, 63, 64, 255, 256, 511, 512}) {
        cases.push_back({lowPassTaps(count, 0.1), "symmetric low-pass"});
        cases.push_back({lowPassTaps(count, 0.3, 0.01), "asymmetric low-pass"});
        cases.push_back({randomTaps(rng, count, 131071), "random"});
    }
    const double steps[] = {kPi / 256,
                            64 * kPi / 256,
                            0.5 * 4096 * kPi / 256,
                            4 * 4096 * kPi / (256 * 64),
                            2 * 7 * kPi / (256 * 16),
                            1e-4};
    for (const auto& c : cases)
        for (double x : steps)
            for (const auto& [a, b] : {std::pair{0, 1}, std::pair{0, 4096}, std::pair{256, 2}}) {
                const int n = static_cast<int>(c.taps.size());
                ComputeFirResponse(c.taps.data(), n, x, a, b, fast);
                reference::firResponse(c.taps.data(), n, x, a, b, ref);
                ASSERT_LT(worstError(fast, ref, c.taps.data(), n, x, a, b), 1.0)
                    << c.what << " n=" << n << " x=" << x << " a=" << a << " b=" << b;
            }
}

TEST(FirResponse, CloserToExtendedPrecisionThanThePlainSum) {
    // Where the plain double sum loses digits (a stop band evaluated at large angles), the
    // fast sum stays within 1e-9 of the value plus eps * sum|h| of a long-double evaluation.
    struct Case {
        std::vector<int> taps;
        double x;
        int a;
        int b;
    };
    // Angles j * theta stay below a few thousand radians here, so that the long-double sum
    // itself is exact to far better than eps * sum|h|.
    const Case cases[] = {{lowPassTaps(255, 0.1), kPi / 256, 256, 2},
                          {lowPassTaps(512, 1.0 / 128), 4 * 64 * kPi / (256 * 64), 0, 1},
                          {lowPassTaps(63, 0.2, 0.01), 2 * 64 * kPi / 256, 0, 4}};
    ResponseArray fast{};
    for (const auto& c : cases) {
        const int n = static_cast<int>(c.taps.size());
        ComputeFirResponse(c.taps.data(), n, c.x, c.a, c.b, fast);
        double sumAbs = 0.0;
        for (int v : c.taps) sumAbs += std::abs(v);
        for (int k = 0; k < PlotPoints; ++k) {
            const long double theta = static_cast<long double>(c.x) * (k + c.a) / c.b;
            long double re = 0.0L, im = 0.0L;
            for (int j = 0; j < n; ++j) {
                re += c.taps[static_cast<size_t>(j)] * std::cos(j * theta);
                im += c.taps[static_cast<size_t>(j)] * std::sin(j * theta);
            }
            const double exact = static_cast<double>(std::sqrt(re * re + im * im));
            ASSERT_NEAR(fast[k], exact, 1e-9 * exact + 16 * 2.2e-16 * sumAbs) << n << " k=" << k;
        }
    }
}

TEST(ChannelResponse, EqualsPlainSumsAndRowsAgree) {
    gc::model::ConfigurationModel m;
    std::mt19937 rng(777);
    for (int ch = 0; ch < 4; ++ch) {
        const auto c = lowPassTaps(21, 0.12 + 0.05 * ch);
        const auto p = ch == 3 ? randomTaps(rng, 63, 40000) : lowPassTaps(63, 0.2);
        std::copy(c.begin(), c.end(), m.CfirTaps[ch].begin());
        std::copy(p.begin(), p.end(), m.PfirTaps[ch].begin());
    }
    ResponseArrays fast, ref;
    for (int taps : {512, 63})
        for (int nd : {64, 4}) {
            const auto r = lowPassTaps(taps, 0.5 / nd);
            m.ResamplerTaps.fill(0);
            std::copy(r.begin(), r.end(), m.ResamplerTaps.begin());
            m.Work.ResamplerTapCount = taps;
            m.Work.Ndelay = nd;
            for (int mode = 0; mode <= 2; ++mode)
                for (int d : {2, 64, 333, 4096})
                    for (int s : {1, 4, 4096}) {
                        m.Chip.ModeOfDdc = mode;
                        m.Work.CurrentDecimation = d;
                        m.Work.CurrentChannel = (d + s) % 4;
                        ComputeChannelResponse(m, s, fast);
                        reference::channelResponse(m, s, ref);
                        const auto tag = ::testing::Message()
                                         << "taps=" << taps << " nd=" << nd << " mode=" << mode
                                         << " D=" << d << " S=" << s;
                        ASSERT_EQ(fast.CicResponse, ref.CicResponse) << tag;
                        const int ch = m.Work.CurrentChannel;
                        const StageSteps x = channelStageSteps(d, mode, nd);
                        ASSERT_LT(worstError(fast.CfirResponse, ref.CfirResponse,
                                             m.CfirTaps[ch].data(), 21, x.cfir, 0, s),
                                  1.0)
                            << tag;
                        ASSERT_LT(worstError(fast.PfirResponse, ref.PfirResponse,
                                             m.PfirTaps[ch].data(), 63, x.pfir, 0, s),
                                  1.0)
                            << tag;
                        ASSERT_LT(worstError(fast.ResamplerResponse, ref.ResamplerResponse,
                                             m.ResamplerTaps.data(), taps, x.resampler, 0, s),
                                  1.0)
                            << tag;
                        expectSameRows(fast.ChannelResponse, ref.ChannelResponse, "channel");
                    }
        }
}

TEST(ChannelResponse, StagesFlagsAndModes) {
    gc::model::ConfigurationModel m;
    const auto c = lowPassTaps(21, 0.2);
    const auto p = lowPassTaps(63, 0.15);
    const auto r = lowPassTaps(512, 1.0 / 128);
    std::copy(c.begin(), c.end(), m.CfirTaps[0].begin());
    std::copy(p.begin(), p.end(), m.PfirTaps[0].begin());
    std::copy(r.begin(), r.end(), m.ResamplerTaps.begin());
    m.Work.ResamplerTapCount = 512;
    m.Work.Ndelay = 64;
    ResponseArrays a;
    // All stages left out: the channel is the CIC alone, and the stage arrays stay untouched.
    m.Work.StageEnabled = {0, 0, 0};
    a.CfirResponse.fill(-1.0);
    ComputeChannelResponse(m, 1, a);
    EXPECT_EQ(a.ChannelResponse, a.CicResponse);
    EXPECT_EQ(a.CfirResponse[7], -1.0);
    // Only the PFIR: the channel is CIC times PFIR.
    m.Work.StageEnabled = {0, 1, 0};
    ComputeChannelResponse(m, 2, a);
    for (int k = 0; k < PlotPoints; ++k)
        EXPECT_EQ(a.ChannelResponse[k], a.CicResponse[k] * a.PfirResponse[k]);

    // Mode 1 halves every FIR step; mode 2 halves the resampler's once more.
    const StageSteps s0 = channelStageSteps(64, 0, 64);
    const StageSteps s1 = channelStageSteps(64, 1, 64);
    const StageSteps s2 = channelStageSteps(64, 2, 64);
    EXPECT_DOUBLE_EQ(s0.cfir, 64 * kPi / 256);
    EXPECT_DOUBLE_EQ(s1.cfir, s0.cfir / 2);
    EXPECT_DOUBLE_EQ(s1.pfir, s0.pfir / 2);
    EXPECT_DOUBLE_EQ(s1.resampler, s0.resampler / 2);
    EXPECT_DOUBLE_EQ(s2.cfir, s1.cfir);
    EXPECT_DOUBLE_EQ(s2.resampler, s1.resampler / 2);
    // So the mode-1 CFIR at point 2k is the mode-0 CFIR at point k.
    m.Work.StageEnabled = {1, 1, 1};
    ResponseArrays b;
    m.Chip.ModeOfDdc = 0;
    ComputeChannelResponse(m, 1, a);
    m.Chip.ModeOfDdc = 1;
    ComputeChannelResponse(m, 1, b);
    for (int k = 0; k < PlotPoints / 2; ++k)
        EXPECT_NEAR(b.CfirResponse[2 * k], a.CfirResponse[k], 1e-9 * a.CfirResponse[0]);

    // A mode outside 0..2 is taken as mode 0: every stage is recomputed, nothing stale.
    for (int bad : {3, -1, 99}) {
        m.Chip.ModeOfDdc = bad;
        b.CfirResponse.fill(-5.0);
        b.PfirResponse.fill(-5.0);
        b.ResamplerResponse.fill(-5.0);
        ComputeChannelResponse(m, 1, b);
        EXPECT_EQ(b.ChannelResponse, a.ChannelResponse) << bad;
        EXPECT_EQ(b.ResamplerResponse, a.ResamplerResponse) << bad;
    }
    // The resampler not yet set up (no phases): finite values, no NaN anywhere.
    m.Chip.ModeOfDdc = 0;
    m.Work.Ndelay = 0;
    ComputeChannelResponse(m, 1, a);
    for (double v : a.ChannelResponse) EXPECT_TRUE(std::isfinite(v));
    // More taps than the array holds are bounded to it.
    m.Work.Ndelay = 64;
    m.Work.ResamplerTapCount = 100000;
    ComputeChannelResponse(m, 1, a);
    for (double v : a.ChannelResponse) EXPECT_TRUE(std::isfinite(v));
}

TEST(Levels, PeakRowsAndTheFloor) {
    ResponseArray a{};
    EXPECT_EQ(ResponsePeak(a), 0.0);
    a.fill(-3.0);
    EXPECT_EQ(ResponsePeak(a), 0.0);
    a[17] = 2.0;
    a[200] = 2.0;
    a[201] = 1.5;
    EXPECT_EQ(ResponsePeak(a), 2.0);

    // Two pixels per dB; -20 dB on row 40, -120 dB on row 240; Y stretches.
    EXPECT_EQ(ResponseRow(1.0, 1.0, 1), 0);
    EXPECT_EQ(ResponseRow(0.1, 1.0, 1), 40);
    EXPECT_EQ(ResponseRow(1e-6, 1.0, 1), 240);
    EXPECT_EQ(ResponseRow(0.1, 1.0, 4), 160);
    EXPECT_EQ(ResponseRow(0.5, 1.0, 1), 12);    // -6.02 dB: 12.04 rows, truncated
    EXPECT_EQ(ResponseRow(1e-9, 1.0, 1), 360);  // not clamped to the plot
    EXPECT_EQ(ResponseRow(4.0, 2.0, 1), -12);   // above the peak: negative row
    EXPECT_FLOAT_EQ(cursorLevel(0.5, 1.0), -6.0206f);
    EXPECT_EQ(cursorRow(cursorLevel(0.5, 1.0), 1), 12);
    EXPECT_EQ(cursorRow(-20.0f, 1), 40);
    EXPECT_EQ(cursorRow(-20.0f, 512), 20480);

    // A zero, or an all-zero array (peak 0), reads as the -1000 dB floor: below the bottom
    // row at every stretch, a finite level, never NaN.
    for (int y : {1, 2, 512}) {
        EXPECT_EQ(ResponseRow(0.0, 1.0, y), 2000 * y);
        EXPECT_EQ(ResponseRow(0.0, 0.0, y), 2000 * y);
        EXPECT_GT(ResponseRow(0.0, 5.0, y), 240 * y);
    }
    EXPECT_EQ(levelDb(0.0, 1.0), kLevelFloorDb);
    EXPECT_EQ(cursorLevel(0.0, 0.0), -1000.0f);
    EXPECT_EQ(cursorLevel(std::nan(""), 1.0), -1000.0f);
    EXPECT_EQ(ResponseRow(1e-300, 1e100, 1), 2000);  // the ratio itself underflows to zero
    // Every nonzero ratio has its own level, also below -1000 dB (a deep CIC null times FIR
    // stop bands reaches that): the floor stands only for a level that does not exist.
    EXPECT_EQ(ResponseRow(1e-30, 1.0, 1), 1200);
    EXPECT_EQ(ResponseRow(1e-60, 1.0, 1), 2400);
    EXPECT_EQ(ResponseRow(1e-60, 1.0, 512), 1228800);
    EXPECT_EQ(ResponseRow(1e-320, 1.0, 1), reference::row(1e-320, 1.0, 1));  // subnormal
    EXPECT_DOUBLE_EQ(levelDb(1e-60, 1.0), -1200.0);
    EXPECT_EQ(cursorLevel(1e-60, 1.0), -1200.0f);
    EXPECT_EQ(cursorRow(cursorLevel(1e-60, 1.0), 1), 2400);
    // Saturated, not undefined, for an absurd stretch.
    EXPECT_EQ(ResponseRow(0.0, 1.0, 1 << 30), std::numeric_limits<int>::max());

    EXPECT_EQ(plotColumn(-40), 0);
    EXPECT_EQ(plotColumn(-1), 0);
    EXPECT_EQ(plotColumn(128), 128);
    EXPECT_EQ(plotColumn(300), 255);
    EXPECT_EQ(responseMode(2), 2);
    EXPECT_EQ(responseMode(3), 0);
    EXPECT_EQ(responseMode(-2), 0);
}

}  // namespace
}  // namespace gc::response
