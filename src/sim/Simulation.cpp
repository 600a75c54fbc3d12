#include "sim/Simulation.h"

#include <cmath>
#include <limits>

namespace gc::sim {

RunResult runSimulation(SampleSource& source, BlockProcessor& processor, SampleSink* sink,
                        const RunOptions& options) {
    RunResult result;
    const std::uint64_t total = source.totalSamples();
    const double ratio =
        processor.inputRateHz() > 0.0 ? processor.outputRateHz() / processor.inputRateHz() : 1.0;
    const std::size_t fftSize =
        options.fftSize > 0
            ? options.fftSize
            : spectrumSizeFor(static_cast<std::uint64_t>(static_cast<double>(total) * ratio));
    SpectrumAnalyser analyser(fftSize, processor.outputRateHz());

    const std::size_t block = options.blockSize > 0 ? options.blockSize : kSimulationBlock;
    std::vector<Sample> in(block);
    std::vector<Sample> out;
    out.reserve(block + 64);
    double energy = 0.0;
    for (;;) {
        if (options.cancel != nullptr && options.cancel->load(std::memory_order_relaxed)) {
            result.cancelled = true;
            break;
        }
        const std::size_t n = source.read(in.data(), block);
        if (n == 0) break;
        out.clear();
        processor.process(in.data(), n, out);
        result.inputSamples += n;
        result.outputSamples += out.size();
        for (const Sample& y : out) energy += std::norm(std::complex<double>(y));
        analyser.add(out.data(), out.size());
        if (sink != nullptr && !out.empty()) sink->write(out.data(), out.size());
        if (options.progress && total > 0)
            options.progress(static_cast<double>(result.inputSamples) / static_cast<double>(total));
    }
    result.outputRmsDbfs =
        result.outputSamples > 0 && energy > 0.0
            ? 10.0 * std::log10(energy / static_cast<double>(result.outputSamples))
            : -std::numeric_limits<double>::infinity();
    result.spectrum = analyser.spectrum();
    result.figures = measureSpectrum(result.spectrum, options.tones);
    if (!result.cancelled && sink != nullptr) sink->commit();
    return result;
}

}  // namespace gc::sim
