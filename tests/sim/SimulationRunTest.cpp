// The run: blocks through a processor into a recording and the spectrum, with progress, cancel,
// failures that leave nothing behind, and memory that does not grow with the input.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "sim/Recording.h"
#include "sim/SignalTestSupport.h"
#include "sim/Signals.h"
#include "sim/Simulation.h"

namespace gc::sim {
namespace {

using testing::DecimatingProcessor;
using testing::readAll;
using testing::ScratchFolder;

long peakResidentKb() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Throws after `good` samples, as a recording that turns out damaged half-way.
class FailingSource final : public SampleSource {
  public:
    explicit FailingSource(std::uint64_t good) : good_(good) {}
    std::size_t read(Sample* out, std::size_t max) override {
        if (done_ >= good_) throw SignalError(SignalError::Kind::BadInput, "damaged half-way");
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(max, good_ - done_));
        std::fill_n(out, n, Sample(0.5f, 0.0f));
        done_ += n;
        return n;
    }
    [[nodiscard]] std::uint64_t totalSamples() const override { return 2 * good_; }
    [[nodiscard]] double sampleRateHz() const override { return 1.0; }
    [[nodiscard]] bool complexSamples() const override { return false; }

  private:
    std::uint64_t good_;
    std::uint64_t done_{0};
};

TEST(SimulationRunTest, ToneThroughAChannelIntoARecording) {
    ScratchFolder folder("gc-sim-run");
    // A real -6 dBFS tone (a cosine of amplitude a) at 0.3 MHz sampled at 10 MHz, every 4th
    // sample kept at gain 2: a cosine of amplitude 2a at 2.5 MHz, i.e. two complex tones of
    // amplitude a at +-0.3 MHz, 2a^2 in all.
    const auto signal = makeSignalSource(SignalSpec{SignalKind::Tone, 0.3e6, 0, -6, 400000}, 10e6);
    DecimatingProcessor channel(10e6, 4, 2.0f);
    auto sink = createRecording(folder.file("out.sigmf-meta"), {2.5e6, 0.0, ""},
                                OutputSampleFormat::Float32);
    std::vector<double> progress;
    RunOptions options;
    options.blockSize = 3000;
    options.tones = 2;
    options.progress = [&progress](double f) { progress.push_back(f); };
    const RunResult result = runSimulation(*signal, channel, sink.get(), options);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(result.inputSamples, 400000u);
    EXPECT_EQ(result.outputSamples, 100000u);
    ASSERT_EQ(progress.size(), 134u);  // 400000 / 3000 rounded up
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_DOUBLE_EQ(progress.back(), 1.0);
    const double a = std::pow(10.0, -6.0 / 20.0);
    EXPECT_NEAR(result.outputRmsDbfs, 10 * std::log10(2 * a * a), 1e-3);
    ASSERT_TRUE(result.figures.signalDbfs);
    EXPECT_NEAR(*result.figures.signalDbfs, 10 * std::log10(2 * a * a), 1e-3);
    EXPECT_NEAR(std::abs(*result.figures.signalHz), 0.3e6, 2.5e6 / 8192);
    EXPECT_EQ(result.spectrum.levelDb.size(), 8192u);

    auto back = openRecording(folder.file("out.sigmf-meta"));
    const std::vector<Sample> y = readAll(*back, 5000);
    ASSERT_EQ(y.size(), 100000u);
    EXPECT_NEAR(y[0].real(), 2 * a, 1e-6);
    EXPECT_NEAR(y[1].real(), 2 * a * std::cos(2 * testing::kPi * 0.3e6 * 4 / 10e6), 1e-6);
}

TEST(SimulationRunTest, CancelAndFailureLeaveNoOutput) {
    ScratchFolder folder("gc-sim-cancel");
    std::atomic<bool> cancel{false};
    const auto noise = makeSignalSource(SignalSpec{SignalKind::Noise, 0, 0, -20, 1000000}, 1e6);
    DecimatingProcessor channel(1e6, 1);
    auto sink = createRecording(folder.file("out.wav"), {1e6, 0, ""}, OutputSampleFormat::Int16);
    RunOptions options;
    options.blockSize = 1000;
    options.cancel = &cancel;
    int blocks = 0;
    options.progress = [&](double) {
        if (++blocks == 5) cancel = true;
    };
    const RunResult result = runSimulation(*noise, channel, sink.get(), options);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.inputSamples, 5000u);
    sink.reset();
    EXPECT_TRUE(folder.names().empty());

    FailingSource failing(50000);
    auto second =
        createRecording(folder.file("out.sigmf-meta"), {1, 0, ""}, OutputSampleFormat::Float32);
    EXPECT_THROW((void)runSimulation(failing, channel, second.get(), RunOptions{}), SignalError);
    second.reset();
    EXPECT_TRUE(folder.names().empty());
}

TEST(SimulationRunTest, MemoryDoesNotGrowWithTheInput) {
    ScratchFolder folder("gc-sim-memory");
    // 6 million samples: 48 MB as complex floats, 24 MB of output at 4 bytes per sample.
    // Streamed, the peak resident size grows by a few blocks at most.
    const long before = peakResidentKb();
    const auto tone = makeSignalSource(SignalSpec{SignalKind::Tone, 1e5, 0, -3, 6000000}, 1e7);
    DecimatingProcessor channel(1e7, 1);
    auto sink =
        createRecording(folder.file("big.sigmf-meta"), {1e7, 0, ""}, OutputSampleFormat::Int16);
    RunOptions options;
    options.fftSize = 1024;
    const RunResult result = runSimulation(*tone, channel, sink.get(), options);
    EXPECT_EQ(result.outputSamples, 6000000u);
    EXPECT_LT(peakResidentKb() - before, 12 * 1024);
    EXPECT_EQ(std::filesystem::file_size(folder.file("big.sigmf-data")), 24000000u);
}

}  // namespace
}  // namespace gc::sim
