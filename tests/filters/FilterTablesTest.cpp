#include <gtest/gtest.h>

#include <algorithm>
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

TEST(FilterTables, ResamplerSetsHaveTheirNamesCountsAndEdges) {
    struct Expected {
        const char* name;
        int count;
        int phases;
        std::vector<int> first;
        std::vector<int> last;
    };
    const Expected expected[] = {
        {"res_6x64_60", 384, 64, {50, 49, 45, 42, 40, 39}, {2021, 2030, 2037, 2042, 2045, 2047}},
        {"res_7x64_60", 448, 64, {-4, -4, -4, -4, -4, -4}, {2022, 2030, 2037, 2042, 2045, 2047}},
        {"res_8x64_60",
         512,
         64,
         {-9, -10, -10, -10, -11, -11},
         {2022, 2030, 2037, 2042, 2045, 2047}},
        {"res_8x64_80",
         512,
         64,
         {-53, -53, -55, -57, -59, -62},
         {2023, 2031, 2038, 2042, 2045, 2047}},
        {"res_9x32_60", 288, 32, {7, 6, 7, 7, 8, 8}, {1941, 1976, 2004, 2025, 2040, 2047}},
        {"res_12x32_80",
         384,
         32,
         {-44, -40, -35, -31, -28, -27},
         {1949, 1981, 2007, 2027, 2040, 2047}},
        {"res_15x32_80", 480, 32, {-2, -2, -2, -2, -1, -1}, {1950, 1982, 2008, 2027, 2040, 2047}},
        {"res_19x16_80", 304, 16, {-6, -1, -1, -1, -1, 0}, {1672, 1792, 1892, 1968, 2021, 2047}},
    };
    const auto& library = gc::filters::resamplerLibrary();
    EXPECT_EQ(library[0].name, "res_bypass");
    EXPECT_EQ(library[0].tapCount, 1);
    EXPECT_EQ(library[0].storedCount, 1);
    EXPECT_EQ(library[0].taps[0], 1024);
    int smallest = 0;
    for (int i = 1; i < gc::filters::kResamplerSetCount; ++i) {
        const Expected& e = expected[i - 1];
        const FilterTable& set = library[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(set.name, e.name);
        EXPECT_EQ(set.tapCount, e.count);
        ASSERT_EQ(set.storedCount, e.count / 2);
        const int n = set.storedCount;
        EXPECT_EQ(std::vector<int>(set.taps, set.taps + 6), e.first);
        EXPECT_EQ(std::vector<int>(set.taps + n - 6, set.taps + n), e.last);
        long long sum = 0;
        for (int j = 0; j < n; ++j) {
            EXPECT_GE(set.taps[j], -2048) << j;
            EXPECT_LE(set.taps[j], 2047) << j;
            smallest = std::min(smallest, set.taps[j]);
            sum += 2LL * set.taps[j];  // the even-length mirror doubles every stored tap
        }
        EXPECT_GE(sum, 2020LL * e.phases);
        EXPECT_LE(sum, 2161LL * e.phases);
    }
    EXPECT_EQ(smallest, -419);
}

}  // namespace
