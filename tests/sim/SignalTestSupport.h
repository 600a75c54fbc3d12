#pragma once
// What the signal, recording and spectrum tests share: a scratch folder, byte files, and
// sources and processors simple enough to check by hand.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sim/SampleStream.h"
#include "sim/Simulation.h"

namespace gc::sim::testing {

class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& name)
        : path_(std::filesystem::temp_directory_path() /
                (name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    [[nodiscard]] std::string file(const std::string& name) const {
        return (path_ / name).string();
    }
    // The names in the folder, sorted.
    [[nodiscard]] std::vector<std::string> names() const {
        std::vector<std::string> list;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            list.push_back(entry.path().filename().string());
        std::sort(list.begin(), list.end());
        return list;
    }

  private:
    std::filesystem::path path_;
};

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Reads a whole source in blocks of `block` samples.
inline std::vector<Sample> readAll(SampleSource& source, std::size_t block = 1000) {
    std::vector<Sample> all;
    std::vector<Sample> buffer(block);
    for (;;) {
        const std::size_t n = source.read(buffer.data(), block);
        if (n == 0) return all;
        all.insert(all.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(n));
    }
}

// Samples from a vector.
class VectorSource final : public SampleSource {
  public:
    VectorSource(std::vector<Sample> samples, double rateHz, bool complex = true)
        : samples_(std::move(samples)), rateHz_(rateHz), complex_(complex) {}
    std::size_t read(Sample* out, std::size_t max) override {
        const std::size_t n = std::min(max, samples_.size() - done_);
        std::copy_n(samples_.begin() + static_cast<std::ptrdiff_t>(done_), n, out);
        done_ += n;
        return n;
    }
    [[nodiscard]] std::uint64_t totalSamples() const override { return samples_.size(); }
    [[nodiscard]] double sampleRateHz() const override { return rateHz_; }
    [[nodiscard]] bool complexSamples() const override { return complex_; }

  private:
    std::vector<Sample> samples_;
    double rateHz_;
    bool complex_;
    std::size_t done_{0};
};

// Passes every `decimation`-th sample on, times `gain`.
class DecimatingProcessor final : public BlockProcessor {
  public:
    DecimatingProcessor(double inputRateHz, int decimation, float gain = 1.0f)
        : rateHz_(inputRateHz), decimation_(decimation), gain_(gain) {}
    [[nodiscard]] double inputRateHz() const override { return rateHz_; }
    [[nodiscard]] double outputRateHz() const override { return rateHz_ / decimation_; }
    void process(const Sample* in, std::size_t n, std::vector<Sample>& out) override {
        for (std::size_t i = 0; i < n; ++i, ++phase_)
            if (phase_ % decimation_ == 0) out.push_back(in[i] * gain_);
    }

  private:
    double rateHz_;
    int decimation_;
    float gain_;
    long long phase_{0};
};

inline constexpr double kPi = 3.14159265358979323846;

// A complex tone sampled directly from its closed form.
inline std::vector<Sample> complexTone(std::size_t n, double cyclesPerSample, double amplitude,
                                       double phase = 0.0) {
    std::vector<Sample> x(n);
    for (std::size_t k = 0; k < n; ++k)
        x[k] = Sample(
            std::polar(amplitude, 2.0 * kPi * cyclesPerSample * static_cast<double>(k) + phase));
    return x;
}

}  // namespace gc::sim::testing
