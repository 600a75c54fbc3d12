// The averaged spectrum and its figures, against signals whose levels are known in closed form.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "sim/SignalTestSupport.h"
#include "sim/Spectrum.h"

namespace gc::sim {
namespace {

using testing::complexTone;

Spectrum spectrumOf(const std::vector<Sample>& x, std::size_t fftSize, double rate) {
    SpectrumAnalyser analyser(fftSize, rate);
    // In uneven pieces: the segments do not depend on how the samples arrive.
    std::size_t done = 0;
    std::size_t piece = 1;
    while (done < x.size()) {
        const std::size_t n = std::min(piece, x.size() - done);
        analyser.add(x.data() + done, n);
        done += n;
        piece = piece * 3 + 1;
    }
    return analyser.spectrum();
}

TEST(SpectrumTest, ToneLevelFrequencyAndParseval) {
    const double rate = 1e6;
    const std::size_t size = 1024;
    // -10 dBFS complex tone, off the bin grid (bin 100.3), then one on it (bin -200).
    for (const double bin : {100.3, -200.0}) {
        const double a = std::pow(10.0, -10.0 / 20.0);
        const std::vector<Sample> x = complexTone(16384, bin / size, a);
        const Spectrum s = spectrumOf(x, size, rate);
        ASSERT_EQ(s.levelDb.size(), size);
        EXPECT_EQ(s.segments, 31u);  // (16384 - 1024) / 512 + 1
        EXPECT_DOUBLE_EQ(s.offsetHz.front(), -rate / 2);
        EXPECT_DOUBLE_EQ(s.offsetHz[size / 2], 0.0);
        EXPECT_DOUBLE_EQ(s.offsetHz[size / 2 + 1], rate / size);
        double total = 0.0;
        for (double p : s.power) total += p;
        EXPECT_NEAR(10 * std::log10(total), -10.0, 1e-4);  // Parseval

        const SpectrumFigures f = measureSpectrum(s, 1);
        ASSERT_TRUE(f.signalDbfs && f.signalHz && f.snrDb && f.sfdrDb);
        EXPECT_NEAR(*f.signalDbfs, -10.0, 1e-3);
        EXPECT_NEAR(*f.signalHz, bin * rate / size, 0.01 * rate / size);
        EXPECT_NEAR(f.totalDbfs, -10.0, 1e-4);
        // The peak bin reads the tone's level within the window's scalloping.
        const auto peak = *std::max_element(s.levelDb.begin(), s.levelDb.end());
        EXPECT_NEAR(peak, -10.0, bin == -200.0 ? 1e-3 : 0.6);
        // Nothing but the window's far side lobes and float rounding outside the lobe.
        EXPECT_GT(*f.snrDb, 120.0);
        EXPECT_GT(*f.sfdrDb, 120.0);
    }
}

TEST(SpectrumTest, SnrAndSfdrOfKnownMixtures) {
    const double rate = 2e6;
    const std::size_t n = 1 << 17;
    // A -6 dBFS tone, complex white noise of power -66 dBFS (SNR 60 dB) and a spur 80 dB
    // below the tone at bin -3000 of 8192.
    const double a = std::pow(10.0, -6.0 / 20.0);
    std::vector<Sample> x = complexTone(n, 1234.5 / 8192, a);
    const std::vector<Sample> spur = complexTone(n, -3000.0 / 8192, a * 1e-4);
    std::mt19937_64 random(5);
    const double sigma = std::sqrt(std::pow(10.0, -66.0 / 10.0) / 2.0);
    std::normal_distribution<double> gauss(0.0, sigma);
    for (std::size_t k = 0; k < n; ++k)
        x[k] +=
            spur[k] + Sample(static_cast<float>(gauss(random)), static_cast<float>(gauss(random)));
    const Spectrum s = spectrumOf(x, 8192, rate);
    const SpectrumFigures f = measureSpectrum(s, 1);
    ASSERT_TRUE(f.snrDb && f.sfdrDb && f.spurHz);
    // The noise also falls into the tone's lobe (17 of 8192 bins) and the spur adds 1e-8 of
    // the tone's power: both far below the tolerance.
    EXPECT_NEAR(*f.snrDb, 60.0, 0.1);
    EXPECT_NEAR(*f.signalDbfs, -6.0, 0.01);
    EXPECT_NEAR(*f.spurHz, -3000.0 * rate / 8192, 1e-6);
    // The spur reads its level at a bin centre; the tone loses up to 0.6 dB between bins.
    EXPECT_NEAR(*f.sfdrDb, 80.0, 0.7);

    // Two tones at -12 dBFS each: both are signal.
    std::vector<Sample> two = complexTone(n, 500.0 / 8192, 0.25);
    const std::vector<Sample> second = complexTone(n, 2000.0 / 8192, 0.25);
    for (std::size_t k = 0; k < n; ++k) two[k] += second[k];
    const SpectrumFigures f2 = measureSpectrum(spectrumOf(two, 8192, rate), 2);
    EXPECT_NEAR(*f2.signalDbfs, 10 * std::log10(2 * 0.0625), 1e-3);
    EXPECT_GT(*f2.sfdrDb, 120.0);
    const SpectrumFigures f1 = measureSpectrum(spectrumOf(two, 8192, rate), 1);
    EXPECT_NEAR(*f1.sfdrDb, 0.0, 1e-3);  // taken as one tone, the other is the spur
    EXPECT_NEAR(*f1.snrDb, 0.0, 1e-3);

    // No tones: only the total.
    const SpectrumFigures none = measureSpectrum(s, 0);
    EXPECT_FALSE(none.snrDb || none.sfdrDb || none.signalDbfs);
}

TEST(SpectrumTest, SizeForShortSignalsAndTheCsvText) {
    EXPECT_EQ(spectrumSizeFor(0), 16u);
    EXPECT_EQ(spectrumSizeFor(100), 16u);
    EXPECT_EQ(spectrumSizeFor(9 * 512), 1024u);  // 8 half-overlapping segments of 1024 fit
    EXPECT_EQ(spectrumSizeFor(9 * 512 - 1), 512u);
    EXPECT_EQ(spectrumSizeFor(100000000), 8192u);

    Spectrum s;
    s.rateHz = 4.0;
    s.offsetHz = {-2.0, -1.0, 0.0, 1.0};
    s.levelDb = {-120.25, -3.0, 0.0, -std::numeric_limits<double>::infinity()};
    s.power = {1e-12, 0.5, 1.0, 0.0};
    EXPECT_EQ(spectrumCsvText(s, 1e6),
              "offset_hz,frequency_hz,level_dbfs\n"
              "-2.000,999998.000,-120.250\n"
              "-1.000,999999.000,-3.000\n"
              "0.000,1000000.000,0.000\n"
              "1.000,1000001.000,-400.000\n");

    // Fewer samples than one segment: no bins, and the figures say nothing but the total.
    SpectrumAnalyser analyser(64, 1.0);
    const std::vector<Sample> x = complexTone(40, 0.1, 1.0);
    analyser.add(x.data(), x.size());
    EXPECT_TRUE(analyser.spectrum().levelDb.empty());
    EXPECT_FALSE(measureSpectrum(analyser.spectrum(), 1).snrDb);
}

}  // namespace
}  // namespace gc::sim
