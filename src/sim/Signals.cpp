#include "sim/Signals.h"

#include <charconv>
#include <cmath>
#include <complex>
#include <cstdio>
#include <vector>

namespace gc::sim {

namespace {

constexpr double kPi = 3.14159265358979323846;

std::string trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool toNumber(const std::string& text, double& value) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    return ec == std::errc() && ptr == end && std::isfinite(value);
}

// A phasor turning by a fixed angle per sample; renormalised once a block so that its
// amplitude does not drift over billions of samples.
struct Phasor {
    std::complex<double> z{1.0, 0.0};
    std::complex<double> step{1.0, 0.0};
    void setFrequency(double cyclesPerSample) {
        step = std::polar(1.0, 2.0 * kPi * cyclesPerSample);
    }
    void renormalise() { z /= std::abs(z); }
};

// A generated signal of `spec.length` real samples at `rateHz`: each read hands the next block
// to generate(), which sees `done_` as the number of samples before the block.
class GeneratedSource : public SampleSource {
  public:
    GeneratedSource(const SignalSpec& spec, double rateHz) : spec_(spec), rateHz_(rateHz) {}
    std::size_t read(Sample* out, std::size_t max) final {
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(max, spec_.length - done_));
        generate(out, n);
        done_ += n;
        return n;
    }
    [[nodiscard]] std::uint64_t totalSamples() const final { return spec_.length; }
    [[nodiscard]] double sampleRateHz() const final { return rateHz_; }
    [[nodiscard]] bool complexSamples() const final { return false; }

  protected:
    virtual void generate(Sample* out, std::size_t n) = 0;

    SignalSpec spec_;
    double rateHz_;
    std::uint64_t done_{0};
};

class ToneSource final : public GeneratedSource {
  public:
    ToneSource(const SignalSpec& spec, double rateHz) : GeneratedSource(spec, rateHz) {
        amplitude_ = std::pow(10.0, spec.levelDbfs / 20.0);
        first_.setFrequency(spec.f1Hz / rateHz);
        first_.z = std::polar(1.0, spec.phaseDeg * kPi / 180.0);
        if (spec.kind == SignalKind::TwoTone) second_.setFrequency(spec.f2Hz / rateHz);
    }

  protected:
    void generate(Sample* out, std::size_t n) override {
        if (spec_.kind == SignalKind::TwoTone) {
            for (std::size_t i = 0; i < n; ++i) {
                out[i] = Sample(
                    static_cast<float>(amplitude_ * (first_.z.real() + second_.z.real())), 0.0f);
                first_.z *= first_.step;
                second_.z *= second_.step;
            }
            second_.renormalise();
        } else {
            for (std::size_t i = 0; i < n; ++i) {
                out[i] = Sample(static_cast<float>(amplitude_ * first_.z.real()), 0.0f);
                first_.z *= first_.step;
            }
        }
        first_.renormalise();
    }

  private:
    double amplitude_{1.0};
    Phasor first_;
    Phasor second_;
};

// Instantaneous frequency from f1 at the first sample to f2 at the last, rising linearly.
class SweepSource final : public GeneratedSource {
  public:
    SweepSource(const SignalSpec& spec, double rateHz) : GeneratedSource(spec, rateHz) {
        amplitude_ = std::pow(10.0, spec.levelDbfs / 20.0);
        const double span = spec.length > 1 ? static_cast<double>(spec.length - 1) : 1.0;
        slope_ = (spec.f2Hz - spec.f1Hz) / rateHz / span;  // cycles per sample per sample
        chirp_ = std::polar(1.0, 2.0 * kPi * slope_);
    }

  protected:
    void generate(Sample* out, std::size_t n) override {
        // The step is set exactly at each block's start; within the block it turns by the chirp.
        std::complex<double> step = std::polar(
            1.0, 2.0 * kPi * (spec_.f1Hz / rateHz_ + slope_ * static_cast<double>(done_)));
        for (std::size_t i = 0; i < n; ++i) {
            out[i] = Sample(static_cast<float>(amplitude_ * z_.real()), 0.0f);
            z_ *= step;
            step *= chirp_;
        }
        z_ /= std::abs(z_);
    }

  private:
    double amplitude_{1.0};
    double slope_{0.0};
    std::complex<double> chirp_{1.0, 0.0};
    std::complex<double> z_{1.0, 0.0};
};

// White Gaussian noise: xoshiro256+ words through Marsaglia's polar method, two samples per
// accepted point.
class NoiseSource final : public GeneratedSource {
  public:
    NoiseSource(const SignalSpec& spec, double rateHz) : GeneratedSource(spec, rateHz) {
        sigma_ = static_cast<float>(std::pow(10.0, spec.levelDbfs / 20.0) / std::sqrt(2.0));
        std::uint64_t x = spec.seed;
        for (auto& word : state_) {  // splitmix64 seeding
            x += 0x9e3779b97f4a7c15ULL;
            std::uint64_t z = x;
            z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
            z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
            word = z ^ (z >> 31);
        }
    }

  protected:
    void generate(Sample* out, std::size_t n) override {
        std::size_t i = 0;
        if (havePending_ && n > 0) {
            out[i++] = Sample(pending_, 0.0f);
            havePending_ = false;
        }
        while (i < n) {
            // Marsaglia's polar method: a point uniform in the unit disc, from the two halves of
            // one 64-bit word (24 bits each), gives two independent Gaussian samples.
            const std::uint64_t word = next();
            const float u =
                static_cast<float>(static_cast<std::int32_t>(word >> 40) - (1 << 23)) * 0x1.0p-23f;
            const float v =
                static_cast<float>(static_cast<std::int32_t>((word >> 8) & 0xffffff) - (1 << 23)) *
                0x1.0p-23f;
            const float s = u * u + v * v;
            if (s >= 1.0f || s == 0.0f) continue;
            const float factor = sigma_ * std::sqrt(-2.0f * std::log(s) / s);
            out[i++] = Sample(u * factor, 0.0f);
            if (i < n) {
                out[i++] = Sample(v * factor, 0.0f);
            } else {
                pending_ = v * factor;
                havePending_ = true;
            }
        }
    }

  private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t next() {
        const std::uint64_t result = state_[0] + state_[3];
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = rotl(state_[3], 45);
        return result;
    }

    float sigma_{0.0f};
    std::uint64_t state_[4]{};
    float pending_{0.0f};
    bool havePending_{false};
};

std::string number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    // The shortest text that reads back as the same number.
    for (int digits = 1; digits <= 17; ++digits) {
        char shorter[64];
        std::snprintf(shorter, sizeof shorter, "%.*g", digits, value);
        double back = 0.0;
        if (toNumber(shorter, back) && back == value) return shorter;
    }
    return text;
}

}  // namespace

const char* signalKindName(SignalKind kind) {
    switch (kind) {
        case SignalKind::Tone:
            return "tone";
        case SignalKind::TwoTone:
            return "twotone";
        case SignalKind::Noise:
            return "noise";
        case SignalKind::Sweep:
            return "sweep";
    }
    return "tone";
}

std::optional<SignalSpec> parseSignalSpec(const std::string& text, std::string& error) {
    const std::string spec = trim(text);
    const std::size_t colon = spec.find(':');
    const std::string kindName = trim(spec.substr(0, colon));
    SignalSpec signal;
    if (kindName == "tone") {
        signal.kind = SignalKind::Tone;
    } else if (kindName == "twotone") {
        signal.kind = SignalKind::TwoTone;
    } else if (kindName == "noise") {
        signal.kind = SignalKind::Noise;
    } else if (kindName == "sweep") {
        signal.kind = SignalKind::Sweep;
    } else {
        error = "unknown signal \"" + kindName + "\": tone, twotone, noise or sweep";
        return std::nullopt;
    }
    bool haveF1 = false;
    bool haveF2 = false;
    std::vector<std::string> items;
    if (colon != std::string::npos && !trim(spec.substr(colon + 1)).empty()) {
        const std::string rest = spec.substr(colon + 1);
        std::size_t start = 0;
        for (;;) {
            const std::size_t comma = rest.find(',', start);
            items.push_back(trim(rest.substr(start, comma - start)));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
    }
    for (const std::string& item : items) {
        if (item.empty()) {
            error = "empty item in signal \"" + spec + "\"";
            return std::nullopt;
        }
        const std::size_t equals = item.find('=');
        if (equals == std::string::npos) {
            error = "\"" + item + "\" in the signal needs NAME=VALUE";
            return std::nullopt;
        }
        const std::string name = trim(item.substr(0, equals));
        const std::string valueText = trim(item.substr(equals + 1));
        double value = 0.0;
        if (!toNumber(valueText, value)) {
            error = name + "=" + valueText + ": not a number";
            return std::nullopt;
        }
        const bool tone = signal.kind == SignalKind::Tone;
        const bool two = signal.kind == SignalKind::TwoTone;
        const bool sweep = signal.kind == SignalKind::Sweep;
        if (name == "level") {
            if (value > 0.0) {
                error = "level=" + valueText + ": above full scale (0 dBFS)";
                return std::nullopt;
            }
            signal.levelDbfs = value;
        } else if (name == "len") {
            if (value < 1.0 || value > static_cast<double>(kMaxSignalLength) ||
                value != std::floor(value)) {
                error = "len=" + valueText + ": a whole number of samples from 1 to " +
                        number(static_cast<double>(kMaxSignalLength));
                return std::nullopt;
            }
            signal.length = static_cast<std::uint64_t>(value);
        } else if ((tone && name == "f") || ((two || sweep) && name == (two ? "f1" : "f0"))) {
            signal.f1Hz = value;
            haveF1 = true;
        } else if ((two || sweep) && name == (two ? "f2" : "f1")) {
            signal.f2Hz = value;
            haveF2 = true;
        } else if (tone && name == "phase") {
            signal.phaseDeg = value;
        } else if (signal.kind == SignalKind::Noise && name == "seed") {
            if (value < 0.0 || value > 1e15 || value != std::floor(value)) {
                error = "seed=" + valueText + ": a whole number from 0";
                return std::nullopt;
            }
            signal.seed = static_cast<std::uint64_t>(value);
        } else {
            error = "\"" + name + "\" is no setting of a " + kindName + " signal";
            return std::nullopt;
        }
    }
    const char* f1 = signal.kind == SignalKind::Tone      ? "f"
                     : signal.kind == SignalKind::TwoTone ? "f1"
                                                          : "f0";
    const char* f2 = signal.kind == SignalKind::TwoTone ? "f2" : "f1";
    if (signal.kind != SignalKind::Noise && !haveF1) {
        error = "a " + kindName + " signal needs " + f1 + "=HZ";
        return std::nullopt;
    }
    if ((signal.kind == SignalKind::TwoTone || signal.kind == SignalKind::Sweep) && !haveF2) {
        error = "a " + kindName + " signal needs " + f2 + "=HZ";
        return std::nullopt;
    }
    return signal;
}

std::string formatSignalSpec(const SignalSpec& spec) {
    std::string text = signalKindName(spec.kind);
    text += ':';
    switch (spec.kind) {
        case SignalKind::Tone:
            text += "f=" + number(spec.f1Hz) + ",";
            break;
        case SignalKind::TwoTone:
            text += "f1=" + number(spec.f1Hz) + ",f2=" + number(spec.f2Hz) + ",";
            break;
        case SignalKind::Sweep:
            text += "f0=" + number(spec.f1Hz) + ",f1=" + number(spec.f2Hz) + ",";
            break;
        case SignalKind::Noise:
            break;
    }
    text += "level=" + number(spec.levelDbfs) + ",len=" + number(static_cast<double>(spec.length));
    if (spec.kind == SignalKind::Tone && spec.phaseDeg != 0.0)
        text += ",phase=" + number(spec.phaseDeg);
    if (spec.kind == SignalKind::Noise && spec.seed != 1)
        text += ",seed=" + number(static_cast<double>(spec.seed));
    return text;
}

std::string checkSignalForRate(const SignalSpec& spec, double rateHz) {
    if (!(rateHz > 0.0)) return "the channel has no input rate";
    const auto outside = [rateHz](double f) { return !(f >= 0.0 && f <= rateHz / 2.0); };
    const bool two = spec.kind == SignalKind::TwoTone || spec.kind == SignalKind::Sweep;
    if ((spec.kind != SignalKind::Noise && outside(spec.f1Hz)) || (two && outside(spec.f2Hz))) {
        char text[160];
        std::snprintf(
            text, sizeof text,
            "signal frequencies must lie within 0..%.10g Hz (half the input rate %.10g Hz)",
            rateHz / 2.0, rateHz);
        return text;
    }
    return {};
}

std::unique_ptr<SampleSource> makeSignalSource(const SignalSpec& spec, double rateHz) {
    switch (spec.kind) {
        case SignalKind::Tone:
        case SignalKind::TwoTone:
            return std::make_unique<ToneSource>(spec, rateHz);
        case SignalKind::Noise:
            return std::make_unique<NoiseSource>(spec, rateHz);
        case SignalKind::Sweep:
            return std::make_unique<SweepSource>(spec, rateHz);
    }
    return nullptr;
}

int signalToneCount(const SignalSpec& spec) {
    switch (spec.kind) {
        case SignalKind::Tone:
            return 1;
        case SignalKind::TwoTone:
            return 2;
        default:
            return 0;
    }
}

}  // namespace gc::sim
