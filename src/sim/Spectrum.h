#pragma once
// The spectrum of a complex signal, averaged over its length (Welch: Kaiser-windowed FFTs of
// half-overlapping segments, their powers averaged), and the figures measured from it.
//
// Levels are in dB relative to full scale: a complex tone of amplitude A reads 20 log10(A) at
// its peak bin whatever the window (0 dBFS = a tone whose I and Q swing from -1 to 1). The
// window is Kaiser with beta 20: its side lobes lie below -170 dB, so the figures see the
// chip's own noise and spurs, not the window's.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/SampleStream.h"

namespace gc::sim {

inline constexpr double kSpectrumKaiserBeta = 20.0;
// Half-width of a tone's main lobe under that window, in bins (the lobe's first zeros lie at
// +-6.4 bins; a little more takes in the shoulders).
inline constexpr int kToneLobeBins = 8;

struct Spectrum {
    double rateHz{0.0};
    std::vector<double> offsetHz;  // bin centres, -rate/2 .. rate/2, rising
    std::vector<double> levelDb;   // tone-calibrated level per bin, dBFS
    std::vector<double> power;     // power per bin (sums to the signal's mean |x|^2)
    std::uint64_t segments{0};     // FFTs averaged
};

// Averages segments of `fftSize` samples (a power of two from 16) as they come.
class SpectrumAnalyser {
  public:
    SpectrumAnalyser(std::size_t fftSize, double rateHz);
    ~SpectrumAnalyser();
    SpectrumAnalyser(const SpectrumAnalyser&) = delete;
    SpectrumAnalyser& operator=(const SpectrumAnalyser&) = delete;

    void add(const Sample* samples, std::size_t n);
    // The average so far; no bins when not one segment was complete.
    [[nodiscard]] Spectrum spectrum() const;
    [[nodiscard]] std::size_t fftSize() const { return size_; }

  private:
    void transform();

    std::size_t size_;
    double rateHz_;
    std::vector<float> window_;
    std::vector<Sample> pending_;  // samples not yet in a segment (the overlap included)
    std::vector<Sample> in_;
    std::vector<Sample> out_;
    std::vector<double> sum_;
    std::uint64_t segments_{0};
    double windowPower_{0.0};  // sum of w^2
    double windowGain_{0.0};   // (sum of w)^2
    void* plan_{nullptr};
};

// The FFT size for a signal of `samples` samples: the largest power of two up to `largest`
// that leaves at least 8 averaged segments, 16 at least.
[[nodiscard]] std::size_t spectrumSizeFor(std::uint64_t samples, std::size_t largest = 8192);

// What the output spectrum shows. With `tones` > 0 the strongest peaks (that many, each with
// its main lobe) are the signal: its level, the noise and distortion over the rest of the band
// (SNR) and the strongest remaining bin (SFDR, dBc against the strongest tone). With no tones
// only the total level is measured.
struct SpectrumFigures {
    double totalDbfs{0.0};             // the whole output's power
    std::optional<double> signalDbfs;  // the tones' power
    std::optional<double> signalHz;    // the strongest tone's offset
    std::optional<double> snrDb;       // signal over everything else in the band
    std::optional<double> sfdrDb;      // strongest tone over the strongest spur
    std::optional<double> spurHz;      // where that spur is
};
[[nodiscard]] SpectrumFigures measureSpectrum(const Spectrum& spectrum, int tones);

// The spectrum as CSV: "offset_hz,frequency_hz,level_dbfs", one line per bin, the frequency
// being centreHz + offset.
[[nodiscard]] std::string spectrumCsvText(const Spectrum& spectrum, double centreHz);

}  // namespace gc::sim
