#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>

#include "model/ConfigurationModel.h"
#include "model/Derived.h"

using namespace gc::model;

TEST(CicGain, FollowsTheChipScaling) {
    // 64^5 = 2^30: unity with the defaults' automatic pair, 2.0 with Scale 5.
    EXPECT_DOUBLE_EQ(cicGain(64, 4, 4, 4), 1.0);
    EXPECT_DOUBLE_EQ(cicGain(64, 4, 5, 4), 2.0);
    EXPECT_DOUBLE_EQ(cicGain(2, 0, 0, 0), 32.0 / 4611686018427387904.0);
    EXPECT_DOUBLE_EQ(cicGain(0, 4, 5, 4), 0.0);
    // Absurd shifts from a file do not overflow the exponent.
    EXPECT_EQ(cicGain(64, INT_MAX, INT_MAX, INT_MAX), HUGE_VAL);
}

TEST(AutoScale, PicksTheLargestScaleThatKeepsUnityOrBelow) {
    const ScalePair defaults = autoScalePair(64, 4);
    EXPECT_EQ(defaults.scale, 4);
    EXPECT_EQ(defaults.bigScale, 4);
    // D = 4096: 2^60 needs a total scale of -2, impossible: the fallback pair.
    const ScalePair none = autoScalePair(4096, 7);
    EXPECT_EQ(none.scale, 0);
    EXPECT_EQ(none.bigScale, 0);
    // D = 2: 2^5, any pair up to the largest qualifies.
    const ScalePair tiny = autoScalePair(2, 0);
    EXPECT_EQ(tiny.scale, 5);
    EXPECT_EQ(tiny.bigScale, 7);
    for (int d : {7, 100, 1000}) {
        const ScalePair p = autoScalePair(d, 2);
        EXPECT_LE(cicGain(d, 2, p.scale, p.bigScale), 1.0) << d;
        // One more bit of scale would exceed unity.
        EXPECT_GT(cicGain(d, 3, p.scale, p.bigScale), 1.0) << d;
    }
}

TEST(TapSum, AccumulatesInSinglePrecision) {
    const int big[] = {16777216, 1, 1};  // 2^24 + 1 is not a float: each +1 is lost
    EXPECT_EQ(tapSum(big, 3), 16777216.0f);
    const int taps[] = {12, -93, 32767};
    EXPECT_EQ(tapSum(taps, 3), 32686.0f);
    EXPECT_EQ(tapSum(taps, 0), 0.0f);
    EXPECT_EQ(tapSum(taps, -4), 0.0f);
}

TEST(ResamplerGain, DividesByPhasesTimes65236AndSurvivesNoPhases) {
    const int taps[] = {65236, 65236};
    EXPECT_FLOAT_EQ(resamplerGain(taps, 2, 2), 1.0f);
    EXPECT_EQ(resamplerGain(taps, 2, 0), 0.0f);
}

TEST(MaxNdelay, LargestPowerOfTwoThatFits) {
    EXPECT_EQ(maxNdelay(8), 64);
    EXPECT_EQ(maxNdelay(12), 32);
    EXPECT_EQ(maxNdelay(100), 4);
    EXPECT_EQ(maxNdelay(512), 1);
    EXPECT_EQ(maxNdelay(513), 0);
    EXPECT_EQ(maxNdelay(100000), 0);
    EXPECT_EQ(maxNdelay(0), 0);
    EXPECT_EQ(maxNdelay(-3), 0);
}

TEST(OutputRate, FormulaAndZeroDivisor) {
    EXPECT_EQ(outputRate(2, 1.0f, 100000000, 64), 1562500);
    EXPECT_EQ(outputRate(0, 1.0f, 100000000, 64), 390625);
    EXPECT_EQ(outputRate(0, 1.0f, 100000000, 62), 403225);
    EXPECT_EQ(outputRate(0, 1.0f, 100000000, 0), 0);
    EXPECT_EQ(outputRate(0, 64.0f, INT_MAX, 2), INT_MAX);  // saturates
}

TEST(DecimationForRate, InvertsTheRateAndClamps) {
    EXPECT_EQ(decimationForRate(0, 1.0f, 100000000, 400000.0f, 2, 4096), 62);
    EXPECT_EQ(decimationForRate(0, 1.0f, 100000000, 1.0f, 2, 4096), 4096);
    EXPECT_EQ(decimationForRate(0, 1.0f, 100000000, 1e9f, 2, 4096), 2);
    EXPECT_EQ(decimationForRate(0, 1.0f, 100000000, FLT_MAX, 2, 4096), 2);
    EXPECT_EQ(decimationForRate(0, 1.0f, 100000000, 0.0f, 2, 4096), 4096);
    EXPECT_EQ(decimationForRate(0, 1.0f, 100000000, -5.0f, 2, 4096), 2);
}

TEST(ResamplerRatioWord, StaysWithin31Bits) {
    EXPECT_EQ(resamplerRatioWord(1.0), 0x04000000);
    EXPECT_EQ(resamplerRatioWord(2.0), 0x02000000);
    EXPECT_EQ(resamplerRatioWord(64.0), 0x00100000);
    EXPECT_EQ(resamplerRatioWord(kInterpolationMin), 0x7FFFFFFE);
    // The float the model keeps for the lower clamp is 0.03125 exactly: 2^31 would not fit.
    EXPECT_EQ(resamplerRatioWord(static_cast<float>(kInterpolationMin)), 0x7FFFFFFF);
    EXPECT_EQ(resamplerRatioWord(0.0), 0x7FFFFFFF);
    EXPECT_EQ(resamplerRatioWord(-1.0), 0x7FFFFFFF);
    EXPECT_EQ(resamplerRatioWord(1e-300), 0x7FFFFFFF);
}

TEST(Clamps, TypedValuesAreBroughtIntoRange) {
    EXPECT_EQ(clampInterpolation(100.0), 64.0);
    EXPECT_EQ(clampInterpolation(0.0), kInterpolationMin);
    EXPECT_EQ(clampInterpolation(0.03125), kInterpolationMin);
    EXPECT_EQ(clampInterpolation(0.5), 0.5);
    EXPECT_EQ(clampPhase(7.0), 6.2831855f);
    EXPECT_EQ(clampPhase(-1.0), 0.0f);
    EXPECT_EQ(clampPhase(1e300), 6.2831855f);
    EXPECT_EQ(clampPhase(1.5), 1.5f);
    EXPECT_EQ(clampFrequency(200000000, 100000000), 100000000);
    EXPECT_EQ(clampFrequency(-5, 100000000), 0);
    EXPECT_EQ(clampInt(20000, 0, kFineGainMax), 16383);
    EXPECT_EQ(clampInt(-5, 0, kFineGainMax), 0);
    EXPECT_EQ(toSingle(1e300), FLT_MAX);
    EXPECT_EQ(toSingle(-1e300), -FLT_MAX);
}

TEST(ListIndexes, NdelayItemsAndOutOfRangeValues) {
    EXPECT_EQ(ndelayIndex(4), 0);
    EXPECT_EQ(ndelayIndex(32), 3);
    EXPECT_EQ(ndelayIndex(64), 4);
    EXPECT_EQ(ndelayIndex(0), -1);
    EXPECT_EQ(ndelayIndex(2), -1);
    EXPECT_EQ(ndelayIndex(128), -1);
    EXPECT_EQ(ndelayForIndex(0), 4);
    EXPECT_EQ(ndelayForIndex(4), 64);
    EXPECT_EQ(shownIndex(7, 8), 7);
    EXPECT_EQ(shownIndex(8, 8), -1);
    EXPECT_EQ(shownIndex(-2, 8), -1);
    EXPECT_EQ(shownIndex(3, std::size_t{4}), 3);
    EXPECT_EQ(shownIndex(4, std::size_t{4}), -1);
    EXPECT_EQ(shownIndex(-1, std::size_t{4}), -1);
    // Counts shown from one: no overflow at the top of the range.
    EXPECT_EQ(plusOne(0), "1");
    EXPECT_EQ(plusOne(-1), "0");
    EXPECT_EQ(plusOne(2147483647), "2147483648");
    EXPECT_EQ(activeCount(11), 3);
    EXPECT_EQ(activeCount(0xF0), 0);
}

namespace {
ConfigurationModel withDecimations(int mode, int async, int d0, int d1, int d2, int d3) {
    ConfigurationModel model;
    model.Chip.ModeOfDdc = mode;
    model.Chip.AsyncMode = async;
    const int d[] = {d0, d1, d2, d3};
    for (int i = 0; i < 4; ++i) model.Channels[i].Decimation = d[i];
    return model;
}
}  // namespace

TEST(SaveChecks, MinimumAndEqualityByMode) {
    EXPECT_TRUE(decimationAllowed(withDecimations(0, 0, 64, 64, 64, 64)));
    EXPECT_FALSE(decimationAllowed(withDecimations(0, 0, 64, 64, 64, 7)));
    EXPECT_EQ(minimumDecimation(withDecimations(0, 0, 64, 64, 64, 7)), 8);
    // Mode 1 looks at the first channel of each pair only.
    EXPECT_TRUE(decimationAllowed(withDecimations(1, 0, 4, 2, 4, 2)));
    EXPECT_FALSE(decimationAllowed(withDecimations(1, 0, 4, 8, 3, 8)));
    EXPECT_TRUE(decimationAllowed(withDecimations(2, 0, 2, 2, 2, 2)));
    EXPECT_TRUE(decimationAllowed(withDecimations(5, 0, 2, 2, 2, 2)));

    EXPECT_FALSE(decimationsEqual(withDecimations(0, 0, 64, 64, 64, 32)));
    EXPECT_TRUE(decimationsEqual(withDecimations(0, 1, 64, 64, 64, 32)));
    EXPECT_FALSE(decimationsEqual(withDecimations(1, 0, 64, 64, 32, 64)));
    EXPECT_TRUE(decimationsEqual(withDecimations(1, 0, 64, 8, 64, 16)));
    EXPECT_TRUE(decimationsEqual(withDecimations(2, 0, 64, 8, 32, 16)));
}

// Register fields: a count stored less one wraps to all ones within its field and never
// overflows; bits outside the field are kept, also in a negative register value.
TEST(Fields, RegisterFieldsAreReplacedWithoutOverflow) {
    EXPECT_EQ(withBitGroup(0, 0, 12, bitsOf(0) - 1u), 0xfff);
    EXPECT_EQ(withBitGroup(0x1000, 0, 12, bitsOf(64) - 1u), 0x103f);
    EXPECT_EQ(withBitGroup(-1, 4, 3, 0u), ~0x70);
    EXPECT_EQ(bitsOf(withBitGroup(0, 29, 3, bitsOf(INT_MIN) - 1u)), 0xe0000000u);
    EXPECT_EQ(withBitGroup(0, 7, 1, 1), 0x80);
    EXPECT_TRUE(bitSet(INT_MIN, 31));
    EXPECT_FALSE(bitSet(0x7fffffff, 31));
    EXPECT_EQ(bitGroup(-93, 0, 8), 0xa3);
}
