#include "sim/Spectrum.h"

#include <liquid/liquid.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace gc::sim {

namespace {

// Modified Bessel function of the first kind, order 0 (power series; converges for any x).
double besselI0(double x) {
    double sum = 1.0;
    double term = 1.0;
    const double q = x * x / 4.0;
    for (int k = 1; k < 500; ++k) {
        term *= q / (static_cast<double>(k) * k);
        sum += term;
        if (term < sum * 1e-17) break;
    }
    return sum;
}

double toDb(double power) {
    return power > 0.0 ? 10.0 * std::log10(power) : -std::numeric_limits<double>::infinity();
}

}  // namespace

SpectrumAnalyser::SpectrumAnalyser(std::size_t fftSize, double rateHz)
    : size_(std::max<std::size_t>(16, fftSize)), rateHz_(rateHz) {
    window_.resize(size_);
    const double norm = besselI0(kSpectrumKaiserBeta);
    double sum = 0.0;
    for (std::size_t n = 0; n < size_; ++n) {
        const double t = 2.0 * static_cast<double>(n) / static_cast<double>(size_) - 1.0;
        const double w =
            besselI0(kSpectrumKaiserBeta * std::sqrt(std::max(0.0, 1.0 - t * t))) / norm;
        window_[n] = static_cast<float>(w);
        sum += window_[n];
        windowPower_ += static_cast<double>(window_[n]) * window_[n];
    }
    windowGain_ = sum * sum;
    in_.resize(size_);
    out_.resize(size_);
    sum_.assign(size_, 0.0);
    pending_.reserve(2 * size_);
    plan_ = fft_create_plan(static_cast<unsigned>(size_), in_.data(), out_.data(),
                            LIQUID_FFT_FORWARD, 0);
}

SpectrumAnalyser::~SpectrumAnalyser() {
    if (plan_ != nullptr) fft_destroy_plan(static_cast<fftplan>(plan_));
}

void SpectrumAnalyser::add(const Sample* samples, std::size_t n) {
    const std::size_t hop = size_ / 2;
    while (n > 0) {
        const std::size_t take = std::min(n, size_ - pending_.size());
        pending_.insert(pending_.end(), samples, samples + take);
        samples += take;
        n -= take;
        if (pending_.size() == size_) {
            transform();
            pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(hop));
        }
    }
}

void SpectrumAnalyser::transform() {
    for (std::size_t k = 0; k < size_; ++k) in_[k] = pending_[k] * window_[k];
    fft_execute(static_cast<fftplan>(plan_));
    for (std::size_t k = 0; k < size_; ++k) sum_[k] += std::norm(std::complex<double>(out_[k]));
    ++segments_;
}

Spectrum SpectrumAnalyser::spectrum() const {
    Spectrum s;
    s.rateHz = rateHz_;
    s.segments = segments_;
    if (segments_ == 0) return s;
    s.offsetHz.resize(size_);
    s.levelDb.resize(size_);
    s.power.resize(size_);
    const std::size_t half = size_ / 2;
    for (std::size_t i = 0; i < size_; ++i) {
        const std::size_t k = (i + half) % size_;  // bin of offset i - half
        const double mean = sum_[k] / static_cast<double>(segments_);
        s.offsetHz[i] = (static_cast<double>(i) - static_cast<double>(half)) * rateHz_ /
                        static_cast<double>(size_);
        // Parseval: the bins' powers sum to the mean |x|^2 of the windowed segment.
        s.power[i] = mean / (static_cast<double>(size_) * windowPower_);
        // A tone's peak bin holds A^2 (sum w)^2.
        s.levelDb[i] = toDb(mean / windowGain_);
    }
    return s;
}

std::size_t spectrumSizeFor(std::uint64_t samples, std::size_t largest) {
    std::size_t size = 16;
    // Segments of S samples at hop S/2 in N samples: (N - S) / (S / 2) + 1 >= 8 when 2N >= 9S.
    while (size * 2 <= largest && 2 * samples >= 9 * static_cast<std::uint64_t>(size * 2))
        size *= 2;
    return size;
}

SpectrumFigures measureSpectrum(const Spectrum& spectrum, int tones) {
    SpectrumFigures figures;
    const std::size_t n = spectrum.power.size();
    double total = 0.0;
    for (double p : spectrum.power) total += p;
    figures.totalDbfs = toDb(total);
    if (tones <= 0 || n < 4 * kToneLobeBins) return figures;

    std::vector<bool> signal(n, false);
    double signalPower = 0.0;
    std::size_t strongest = n;
    for (int t = 0; t < tones; ++t) {
        std::size_t peak = n;
        for (std::size_t i = 0; i < n; ++i)
            if (!signal[i] && (peak == n || spectrum.power[i] > spectrum.power[peak])) peak = i;
        if (peak == n) break;
        if (strongest == n) strongest = peak;
        const std::size_t from =
            peak >= static_cast<std::size_t>(kToneLobeBins) ? peak - kToneLobeBins : 0;
        const std::size_t to = std::min(n - 1, peak + kToneLobeBins);
        double lobe = 0.0;
        double moment = 0.0;
        for (std::size_t i = from; i <= to; ++i) {
            if (!signal[i]) {
                signalPower += spectrum.power[i];
                lobe += spectrum.power[i];
                moment += spectrum.power[i] * spectrum.offsetHz[i];
            }
            signal[i] = true;
        }
        // The strongest tone's frequency: the centre of its lobe's power (the window is
        // symmetric, so a lone tone's lobe centres on it, between the bins).
        if (t == 0 && lobe > 0.0) figures.signalHz = moment / lobe;
    }
    if (strongest == n || !(signalPower > 0.0)) return figures;
    figures.signalDbfs = toDb(signalPower);
    const double rest = std::max(0.0, total - signalPower);
    figures.snrDb = rest > 0.0 ? 10.0 * std::log10(signalPower / rest)
                               : std::numeric_limits<double>::infinity();
    std::size_t spur = n;
    for (std::size_t i = 0; i < n; ++i)
        if (!signal[i] && (spur == n || spectrum.levelDb[i] > spectrum.levelDb[spur])) spur = i;
    if (spur != n) {
        figures.sfdrDb = spectrum.levelDb[strongest] - spectrum.levelDb[spur];
        figures.spurHz = spectrum.offsetHz[spur];
    }
    return figures;
}

std::string spectrumCsvText(const Spectrum& spectrum, double centreHz) {
    std::string text = "offset_hz,frequency_hz,level_dbfs\n";
    char line[128];
    for (std::size_t i = 0; i < spectrum.levelDb.size(); ++i) {
        const double level = std::max(spectrum.levelDb[i], -400.0);  // -inf of an empty bin
        std::snprintf(line, sizeof line, "%.3f,%.3f,%.3f\n", spectrum.offsetHz[i],
                      centreHz + spectrum.offsetHz[i], level);
        text += line;
    }
    return text;
}

}  // namespace gc::sim
