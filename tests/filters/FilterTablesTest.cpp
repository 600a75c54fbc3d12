#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "filters/FilterTables.h"

namespace {

using gc::filters::FilterTable;

// Sum of the full odd-length symmetric filter: twice the outer taps plus the centre once.
long long mirroredSum(const FilterTable& set) {
    long long sum = set.taps[set.storedCount - 1];
    for (int i = 0; i + 1 < set.storedCount; ++i) sum += 2LL * set.taps[i];
    return sum;
}

TEST(FilterTables, CfirAndPfirSetsHaveTheirNamesLengthsAndSums) {
    const char* cfirNames[] = {"cfir_bypass", "cfir_17",  "cfir_34",  "cfir_68",   "cfir_80",
                               "cfir_100",    "cfir_150", "cfir_gsm", "cfir_is95", "cfir_umts"};
    const long long cfirSums[] = {65536, 133781, 101113, 83001,  64877,
                                  59695, 59993,  65535,  122469, 58827};
    const auto& cfir = gc::filters::cfirLibrary();
    for (int i = 0; i < gc::filters::kCfirSetCount; ++i) {
        SCOPED_TRACE(cfirNames[i]);
        EXPECT_EQ(cfir[i].name, cfirNames[i]);
        EXPECT_EQ(cfir[i].tapCount, 21);
        EXPECT_EQ(cfir[i].storedCount, 11);
        EXPECT_EQ(mirroredSum(cfir[i]), cfirSums[i]);
    }

    const char* pfirNames[] = {"pfir_bypass", "pfir_17",  "pfir_34",  "pfir_68",   "pfir_80",
                               "pfir_100",    "pfir_150", "pfir_gsm", "pfir_is95", "pfir_umts"};
    const long long pfirSums[] = {65536, 204881, 146605, 79563, 75329,
                                  60221, 41417,  96277,  89373, 61821};
    const auto& pfir = gc::filters::pfirLibrary();
    for (int i = 0; i < gc::filters::kPfirSetCount; ++i) {
        SCOPED_TRACE(pfirNames[i]);
        EXPECT_EQ(pfir[i].name, pfirNames[i]);
        EXPECT_EQ(pfir[i].tapCount, 63);
        EXPECT_EQ(pfir[i].storedCount, 32);
        EXPECT_EQ(mirroredSum(pfir[i]), pfirSums[i]);
    }
}

TEST(FilterTables, CfirAndPfirSpotValues) {
    const FilterTable& c68 = gc::filters::cfirLibrary()[3];
    const std::vector<int> expected68{12,    -93,   -62,  804,   1283, -1273,
                                      -5197, -3512, 8332, 24823, 32767};
    EXPECT_EQ(std::vector<int>(c68.taps, c68.taps + 11), expected68);
    EXPECT_EQ(gc::filters::cfirLibrary()[7].taps[10], 16785);  // cfir_gsm centre
    const FilterTable& pGsm = gc::filters::pfirLibrary()[7];
    EXPECT_EQ(pGsm.taps[0], 132);
    EXPECT_EQ(pGsm.taps[28], -650);
    EXPECT_EQ(pGsm.taps[31], 32767);
    const FilterTable& pBypass = gc::filters::pfirLibrary()[0];
    for (int i = 0; i < 31; ++i) EXPECT_EQ(pBypass.taps[i], 0);
    EXPECT_EQ(pBypass.taps[31], 65536);
}

}  // namespace
