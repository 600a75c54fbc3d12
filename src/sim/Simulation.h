#pragma once
// A simulation run: a source's samples through a channel block by block, the output into a
// recording (if any) and into the averaged spectrum, with progress and cancel. Memory holds a
// block, never the whole signal.
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "sim/SampleStream.h"
#include "sim/Spectrum.h"

namespace gc::sim {

// What the run needs of a channel; the fixed-point ChannelModel fits through ModelProcessor.
class BlockProcessor {
  public:
    virtual ~BlockProcessor() = default;
    [[nodiscard]] virtual double inputRateHz() const = 0;
    [[nodiscard]] virtual double outputRateHz() const = 0;
    // Appends the output of `n` more input samples to `out`.
    virtual void process(const Sample* in, std::size_t n, std::vector<Sample>& out) = 0;
};

// Any model with inputRateHz(), outputRateHz() and process(in, n, out).
template <class Model>
class ModelProcessor final : public BlockProcessor {
  public:
    explicit ModelProcessor(Model& model) : model_(model) {}
    [[nodiscard]] double inputRateHz() const override { return model_.inputRateHz(); }
    [[nodiscard]] double outputRateHz() const override { return model_.outputRateHz(); }
    void process(const Sample* in, std::size_t n, std::vector<Sample>& out) override {
        model_.process(in, n, out);
    }

  private:
    Model& model_;
};

inline constexpr std::size_t kSimulationBlock = std::size_t{1} << 16;  // input samples per block

struct RunOptions {
    std::size_t blockSize{kSimulationBlock};
    std::size_t fftSize{0};  // 0: spectrumSizeFor the expected output length
    int tones{1};            // for measureSpectrum
    // Called after every block with the fraction of the input done (0..1).
    std::function<void(double)> progress;
    // Checked before every block; set, the run stops and nothing is committed.
    const std::atomic<bool>* cancel{nullptr};
};

struct RunResult {
    bool cancelled{false};
    std::uint64_t inputSamples{0};
    std::uint64_t outputSamples{0};
    double outputRmsDbfs{0.0};  // mean |y|^2 of every output sample, in dB
    Spectrum spectrum;
    SpectrumFigures figures;
};

// Runs the whole source through the processor. The sink (may be null) is committed when the
// input ran to its end, and left uncommitted when cancelled. SignalError from the source or
// the sink passes through, the sink uncommitted.
[[nodiscard]] RunResult runSimulation(SampleSource& source, BlockProcessor& processor,
                                      SampleSink* sink, const RunOptions& options);

}  // namespace gc::sim
