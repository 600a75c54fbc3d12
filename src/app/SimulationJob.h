#pragma once
// One simulation as the window and the command line run it: the configuration as it stands
// written as the program file's text (in memory, exactly as "Записать" would write it), the
// fixed-point channel model set up from that text, a signal or a recording streamed through
// it, the output written as a recording and measured.
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "chip/RegisterImage.h"
#include "model/ConfigurationModel.h"
#include "sim/ChannelModel.h"
#include "sim/Recording.h"
#include "sim/Signals.h"
#include "sim/Simulation.h"

namespace gc::app {

// The register channel the model takes for entry `channel` of the channel list: in the
// two-channel output the pair's first channel (0 or 2), in the one-channel output channel 0.
[[nodiscard]] int registerChannelFor(int outputMode, int channel);

// The program file's text for the model and register image as they stand (the image is built
// on a copy, so the session's image is left alone).
[[nodiscard]] std::string programTextFor(const gc::model::ConfigurationModel& model,
                                         const gc::chip::RegisterImage& image);

// The model's assumptions that the configuration decides rather than its program file: the
// resampler's phase count NDELAY (the registers hold only NMULT).
[[nodiscard]] gc::sim::ModelParameters modelParametersFor(
    const gc::model::ConfigurationModel& model);

struct SimulationRequest {
    std::string programText;
    int channel{0};                       // register channel
    gc::sim::ModelParameters parameters;  // modelParametersFor the configuration
    // Either a generated signal or a recording (NAME.sigmf-meta or NAME.wav).
    std::optional<gc::sim::SignalSpec> signal;
    std::string recordingPath;
    // The output recording (NAME.sigmf-meta or NAME.wav); empty: none.
    std::string outputPath;
    gc::sim::OutputSampleFormat outputFormat{gc::sim::OutputSampleFormat::Float32};
    std::string description;  // the output's SigMF description
};

struct SimulationOutcome {
    gc::sim::RunResult run;
    std::vector<gc::sim::StageStats> stages;
    double inputRateHz{0.0};
    double outputRateHz{0.0};
    double ncoFrequencyHz{0.0};
    double centreFrequencyHz{0.0};  // of the output: the input's centre plus the NCO frequency
    int tones{1};                   // tones measured as signal
    // Remarks on the run (a recording taken at another rate than the channel's input), one
    // line each.
    std::vector<std::string> notes;
};

// Why a simulation cannot start: the program text cannot set up the model (`inConfiguration`),
// or a signal lies outside the input band. One line.
class SimulationSetupError : public std::runtime_error {
  public:
    SimulationSetupError(const std::string& message, bool inConfiguration)
        : std::runtime_error(message), inConfiguration_(inConfiguration) {}
    [[nodiscard]] bool inConfiguration() const { return inConfiguration_; }

  private:
    bool inConfiguration_;
};

// Runs the request. Throws SimulationSetupError before anything is read or written,
// gc::sim::SignalError for a bad input or an output that cannot be written (nothing is left
// behind then). Cancelled, the outcome says so and no output is written.
[[nodiscard]] SimulationOutcome runSimulationRequest(const SimulationRequest& request,
                                                     const std::function<void(double)>& progress,
                                                     const std::atomic<bool>* cancel);

}  // namespace gc::app
