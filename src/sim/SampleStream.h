#pragma once
// Samples in blocks: where a simulation's input comes from (a generated signal, a recording)
// and where its output goes (a recording). Samples are complex floats at full scale 1.0; a real
// signal has zero imaginary parts. Nothing holds more than a block, so memory does not grow
// with the length of a signal.
#include <complex>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace gc::sim {

using Sample = std::complex<float>;

// Why a simulation cannot go on: its input is missing or damaged, or its output cannot be
// written. The message is one line for the user, naming the file.
class SignalError : public std::runtime_error {
  public:
    enum class Kind { BadInput, NotWritten };
    SignalError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
    [[nodiscard]] Kind kind() const { return kind_; }

  private:
    Kind kind_;
};

class SampleSource {
  public:
    virtual ~SampleSource() = default;
    // Up to `max` next samples into `out`; 0 only at the end. Throws SignalError when the
    // input turns out damaged while being read.
    virtual std::size_t read(Sample* out, std::size_t max) = 0;
    // How many samples the whole signal has.
    [[nodiscard]] virtual std::uint64_t totalSamples() const = 0;
    // The rate the samples were taken at (Hz), 0 when the source does not say.
    [[nodiscard]] virtual double sampleRateHz() const = 0;
    // True for I/Q samples, false for a real signal.
    [[nodiscard]] virtual bool complexSamples() const = 0;
    // The frequency that 0 Hz of the samples stands for (a recording's centre frequency).
    [[nodiscard]] virtual double centreFrequencyHz() const { return 0.0; }
};

class SampleSink {
  public:
    virtual ~SampleSink() = default;
    // Appends samples; throws SignalError(NotWritten) when they cannot be written.
    virtual void write(const Sample* samples, std::size_t n) = 0;
    // Completes the output and puts it in place; before this nothing replaces the target, and
    // a sink destroyed without commit leaves the target as it was.
    virtual void commit() = 0;
};

}  // namespace gc::sim
