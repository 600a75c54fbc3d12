#include "app/SimulationJob.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "chip/ProgramFile.h"
#include "model/Language.h"

namespace gc::app {

namespace m = gc::model;

int registerChannelFor(int outputMode, int channel) {
    if (outputMode == 2) return 0;
    if (outputMode == 1) return channel & ~1;
    return channel;
}

std::string programTextFor(const m::ConfigurationModel& model,
                           const gc::chip::RegisterImage& image) {
    gc::chip::RegisterImage copy = image;
    gc::chip::buildRegisterImage(model, copy);
    return gc::chip::programFileText(model, copy);
}

gc::sim::ModelParameters modelParametersFor(const m::ConfigurationModel& model) {
    gc::sim::ModelParameters p;
    if (model.Work.Ndelay >= 4 && model.Work.Ndelay <= 64) p.resamplerPhases = model.Work.Ndelay;
    return p;
}

SimulationOutcome runSimulationRequest(const SimulationRequest& request,
                                       const std::function<void(double)>& progress,
                                       const std::atomic<bool>* cancel) {
    std::optional<gc::sim::ChannelModel> channel;
    try {
        channel.emplace(gc::sim::ChannelModel::fromProgramFile(request.programText, request.channel,
                                                               request.parameters));
    } catch (const std::exception& e) {
        throw SimulationSetupError(m::tx("Канал не может быть смоделирован: %1", {e.what()}), true);
    }
    SimulationOutcome outcome;
    outcome.inputRateHz = channel->inputRateHz();
    outcome.outputRateHz = channel->outputRateHz();
    outcome.ncoFrequencyHz = channel->ncoFrequencyHz();

    std::unique_ptr<gc::sim::SampleSource> source;
    if (request.signal) {
        const std::string problem =
            gc::sim::checkSignalForRate(*request.signal, outcome.inputRateHz);
        if (!problem.empty()) throw SimulationSetupError(problem, false);
        source = gc::sim::makeSignalSource(*request.signal, outcome.inputRateHz);
        outcome.tones = gc::sim::signalToneCount(*request.signal);
    } else {
        source = gc::sim::openRecording(request.recordingPath);
        const double rate = source->sampleRateHz();
        if (rate > 0.0 && std::abs(rate - outcome.inputRateHz) > 1e-9 * outcome.inputRateHz) {
            char text[64];
            std::snprintf(text, sizeof text, "%.10g", rate);
            char input[64];
            std::snprintf(input, sizeof input, "%.10g", outcome.inputRateHz);
            outcome.notes.push_back(
                m::tx("запись сделана с частотой %1 Гц, канал принимает %2 Гц: её частоты "
                      "масштабируются",
                      {text, input}));
        }
    }
    outcome.centreFrequencyHz = source->centreFrequencyHz() + outcome.ncoFrequencyHz;

    std::unique_ptr<gc::sim::SampleSink> sink;
    if (!request.outputPath.empty()) {
        sink = gc::sim::createRecording(
            request.outputPath,
            {outcome.outputRateHz, outcome.centreFrequencyHz, request.description},
            request.outputFormat);
    }
    gc::sim::ModelProcessor<gc::sim::ChannelModel> processor(*channel);
    gc::sim::RunOptions options;
    options.tones = outcome.tones;
    options.progress = progress;
    options.cancel = cancel;
    outcome.run = gc::sim::runSimulation(*source, processor, sink.get(), options);
    outcome.stages = channel->stats();
    return outcome;
}

}  // namespace gc::app
