// The built-in resampler prototypes: the library's constraints on every set and the stop-band
// attenuation each design reaches, measured here with a direct DFT of the full filter as the
// selection puts it in use.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <vector>

#include "chip/RegisterImage.h"
#include "filters/FilterTables.h"
#include "filters/TapSelection.h"
#include "model/ConfigurationModel.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct ResamplerSpec {
    const char* name;
    int multiplies;  // M
    int phases;      // P
    double nominalDb;
    std::array<int, 6> first;  // outermost stored taps
    std::array<int, 6> last;   // innermost stored taps
    double floorDb;            // attenuation the earlier design reached; the redesign keeps it
};

const ResamplerSpec kSpecs[] = {
    {"res_6x64_60",
     6,
     64,
     60,
     {50, 49, 45, 42, 40, 39},
     {2021, 2030, 2037, 2042, 2045, 2047},
     54.0},
    {"res_7x64_60",
     7,
     64,
     60,
     {-4, -4, -4, -4, -4, -4},
     {2022, 2030, 2037, 2042, 2045, 2047},
     62.0},
    {"res_8x64_60",
     8,
     64,
     60,
     {-9, -10, -10, -10, -11, -11},
     {2022, 2030, 2037, 2042, 2045, 2047},
     65.5},
    {"res_8x64_80",
     8,
     64,
     80,
     {-53, -53, -55, -57, -59, -62},
     {2023, 2031, 2038, 2042, 2045, 2047},
     51.5},
    {"res_9x32_60", 9, 32, 60, {7, 6, 7, 7, 8, 8}, {1941, 1976, 2004, 2025, 2040, 2047}, 61.5},
    {"res_12x32_80",
     12,
     32,
     80,
     {-44, -40, -35, -31, -28, -27},
     {1949, 1981, 2007, 2027, 2040, 2047},
     50.0},
    {"res_15x32_80",
     15,
     32,
     80,
     {-2, -2, -2, -2, -1, -1},
     {1950, 1982, 2008, 2027, 2040, 2047},
     72.0},
    {"res_19x16_80",
     19,
     16,
     80,
     {-6, -1, -1, -1, -1, 0},
     {1672, 1792, 1892, 1968, 2021, 2047},
     64.5},
};

// Signal band B in input sample rates, from Kaiser's transition-width estimate for M
// multiplies and A dB. The pass band is [0, B/P] and the stop band [(1-B)/P, 1/2], in cycles
// per prototype sample.
double signalBand(const ResamplerSpec& s) {
    return 0.5 * (1.0 - (s.nominalDb - 7.95) / (14.36 * s.multiplies));
}

double magnitude(const std::vector<int>& taps, double f) {
    std::complex<double> sum = 0.0;
    for (size_t n = 0; n < taps.size(); ++n)
        sum += static_cast<double>(taps[n]) * std::polar(1.0, -2.0 * kPi * f * n);
    return std::abs(sum);
}

// Smallest attenuation relative to the DC gain over [from, 1/2], 32 points per 1/N.
double stopBandAttenuationDb(const std::vector<int>& taps, double from) {
    const double dc = magnitude(taps, 0.0);
    const int count = static_cast<int>(std::ceil((0.5 - from) * 32 * taps.size()));
    double worst = 0.0;
    for (int i = 0; i <= count; ++i)
        worst = std::max(worst, magnitude(taps, from + (0.5 - from) * i / count));
    return 20.0 * std::log10(dc / worst);
}

TEST(ResamplerTables, BypassSetIsTheSingleTap1024) {
    const auto& set = gc::filters::resamplerLibrary()[0];
    EXPECT_EQ(set.name, "res_bypass");
    EXPECT_EQ(set.tapCount, 1);
    EXPECT_EQ(set.storedCount, 1);
    EXPECT_EQ(set.taps[0], 1024);
    // No stop band to publish for it, nor for an index outside the library.
    EXPECT_FALSE(gc::filters::resamplerStopbandDb(0).has_value());
    EXPECT_FALSE(gc::filters::resamplerStopbandDb(-1).has_value());
    EXPECT_FALSE(gc::filters::resamplerStopbandDb(gc::filters::kResamplerSetCount).has_value());
}

TEST(ResamplerTables, EverySetMeetsTheLibraryConstraintsAndItsStopBand) {
    const auto& library = gc::filters::resamplerLibrary();
    for (int index = 1; index < gc::filters::kResamplerSetCount; ++index) {
        const ResamplerSpec& spec = kSpecs[index - 1];
        SCOPED_TRACE(spec.name);
        const auto& set = library[index];
        const int count = spec.multiplies * spec.phases;
        ASSERT_EQ(set.name, spec.name);
        ASSERT_EQ(set.tapCount, count);
        ASSERT_EQ(set.storedCount, count / 2);
        const std::vector<int> stored(set.taps, set.taps + set.storedCount);
        EXPECT_TRUE(std::equal(spec.first.begin(), spec.first.end(), stored.begin()));
        EXPECT_TRUE(std::equal(spec.last.begin(), spec.last.end(), stored.end() - 6));
        EXPECT_EQ(stored.back(), 2047);
        EXPECT_GE(*std::min_element(stored.begin(), stored.end()), -419);
        EXPECT_LE(*std::max_element(stored.begin(), stored.end()), 2047);

        // The full filter as the selection builds it.
        gc::model::ConfigurationModel model;
        gc::chip::RegisterImage image;
        model.Work.RfirSelection = index;
        gc::filters::ApplyResamplerSelection(model, image, gc::filters::TapSource::Table);
        const std::vector<int> taps(model.ResamplerTaps.begin(),
                                    model.ResamplerTaps.begin() + count);
        long long sum = 0;
        for (int t : taps) sum += t;
        const double sumPerPhase = static_cast<double>(sum) / spec.phases;
        EXPECT_GE(sumPerPhase, 2020.0);
        EXPECT_LE(sumPerPhase, 2161.0);

        const double band = signalBand(spec);
        const double stopDb = stopBandAttenuationDb(taps, (1.0 - band) / spec.phases);
        EXPECT_GE(stopDb, spec.floorDb);
        // The figure the filters layer publishes for the set is the measured one, cut to
        // tenths of a dB.
        const auto published = gc::filters::resamplerStopbandDb(index);
        ASSERT_TRUE(published.has_value());
        EXPECT_LE(*published, stopDb + 1e-9);
        EXPECT_GT(*published, stopDb - 0.1);
        // The images from the first image centre on are stopped at least as well.
        EXPECT_GE(stopBandAttenuationDb(taps, 1.0 / spec.phases), spec.floorDb);

        // The pass band stays flat within 0.1 dB.
        double lo = 1e300, hi = 0.0;
        for (int i = 0; i <= 100; ++i) {
            const double m = magnitude(taps, band / spec.phases * i / 100);
            lo = std::min(lo, m);
            hi = std::max(hi, m);
        }
        EXPECT_LT(20.0 * std::log10(hi / lo), 0.1);
    }
}

}  // namespace
