// gc4016-cli simulate: a signal or a recording through the fixed-point model of one channel,
// set up from the program file the configuration would write; the output written as a
// recording and measured.
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/SimulationJob.h"
#include "appconfig/ConfigFile.h"
#include "appconfig/Workspace.h"
#include "cli/ChannelOptions.h"
#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "cli/ExitCodes.h"
#include "cli/JsonLine.h"
#include "model/TextFile.h"
#include "sim/Recording.h"
#include "sim/Signals.h"

namespace gc::cli {

namespace {

namespace sim = gc::sim;

struct SimulateArgs {
    std::string config;
    int channel{-1};
    std::optional<sim::SignalSpec> signal;
    std::string input;
    std::string out;
    std::string spectrum;
    sim::OutputSampleFormat format{sim::OutputSampleFormat::Float32};
    FileSources sources;
    bool json{false};
};

std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) { interrupted.store(true); }

std::string number(double value) {
    if (std::isnan(value)) return "none";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

double orNan(const std::optional<double>& value) { return value ? *value : std::nan(""); }

void printOutcome(const gc::app::SimulationOutcome& o, bool json) {
    const sim::SpectrumFigures& f = o.run.figures;
    struct Figure {
        const char* name;
        double value;
    };
    const Figure figures[] = {{"input_rate_hz", o.inputRateHz},
                              {"output_rate_hz", o.outputRateHz},
                              {"nco_frequency_hz", o.ncoFrequencyHz},
                              {"centre_frequency_hz", o.centreFrequencyHz},
                              {"input_samples", static_cast<double>(o.run.inputSamples)},
                              {"output_samples", static_cast<double>(o.run.outputSamples)},
                              {"output_rms_dbfs", o.run.outputRmsDbfs},
                              {"output_level_dbfs", orNan(f.signalDbfs)},
                              {"signal_offset_hz", orNan(f.signalHz)},
                              {"snr_db", orNan(f.snrDb)},
                              {"sfdr_db", orNan(f.sfdrDb)},
                              {"spur_offset_hz", orNan(f.spurHz)}};
    if (json) {
        nlohmann::ordered_json object;
        for (const Figure& fig : figures) {
            if (fig.name == std::string("input_samples") ||
                fig.name == std::string("output_samples"))
                object[fig.name] = static_cast<std::uint64_t>(fig.value);
            else
                object[fig.name] = fig.value;
        }
        nlohmann::ordered_json stages = nlohmann::ordered_json::array();
        for (const sim::StageStats& s : o.stages) {
            nlohmann::ordered_json stage;
            stage["stage"] = s.stage;
            stage["overflows"] = s.overflows;
            stage["peak_dbfs"] = s.peakDbfs;
            stages.push_back(stage);
        }
        object["stages"] = stages;
        object["notes"] = o.notes;
        writeJsonLine(std::cout, object);
        std::cout << '\n';
        return;
    }
    for (const Figure& fig : figures) std::cout << fig.name << '=' << number(fig.value) << '\n';
    for (const std::string& note : o.notes) std::cout << "note=" << note << '\n';
    char line[128];
    std::snprintf(line, sizeof line, "%-10s %12s %10s\n", "stage", "overflows", "peak_dbfs");
    std::cout << line;
    for (const sim::StageStats& s : o.stages) {
        std::snprintf(line, sizeof line, "%-10s %12llu %10s\n", s.stage.c_str(),
                      static_cast<unsigned long long>(s.overflows),
                      std::isfinite(s.peakDbfs)
                          ? gc::model::formatString("%.2f", s.peakDbfs).c_str()
                          : "-inf");
        std::cout << line;
    }
}

int runSimulate(const SimulateArgs& args) {
    if (args.signal.has_value() == !args.input.empty())
        throw UsageError("give either --signal SPEC or --input NAME");
    if (!args.input.empty() && sim::recordingType(args.input) == sim::RecordingType::Unknown)
        throw UsageError("--input takes NAME.sigmf-meta or NAME.wav: " + args.input);

    Engine engine(gc::appconfig::Workspace::atCurrentFolder());
    if (!loadChannel(engine, args.config, args.sources, args.channel)) return kExitBadInput;
    const gc::model::ConfigurationModel& model = engine.session.model;

    gc::app::SimulationRequest request;
    request.programText = gc::app::programTextFor(model, engine.session.image);
    request.channel = gc::app::registerChannelFor(model.Chip.ModeOfDdc, model.currentIndex());
    request.parameters = gc::app::modelParametersFor(model);
    request.signal = args.signal;
    request.recordingPath = args.input;
    request.outputPath = args.out;
    request.outputFormat = args.format;
    request.description = "gc4016 channel " + std::to_string(model.currentIndex()) + " of " +
                          gc::appconfig::bareName(args.config) + ", input " +
                          (args.signal ? sim::formatSignalSpec(*args.signal) : args.input);

    // Progress on a terminal; Ctrl-C stops the run and nothing is written.
    const bool terminal = ::isatty(STDERR_FILENO) != 0;
    int shown = -1;
    const auto progress = [terminal, &shown](double fraction) {
        const int percent = static_cast<int>(fraction * 100.0);
        if (!terminal || percent == shown) return;
        shown = percent;
        std::cerr << "\rsimulate: " << percent << "%" << std::flush;
    };
    interrupted = false;
    const auto previous = std::signal(SIGINT, onInterrupt);
    gc::app::SimulationOutcome outcome;
    int status = kExitOk;
    try {
        outcome = gc::app::runSimulationRequest(request, progress, &interrupted);
    } catch (const gc::app::SimulationSetupError& e) {
        status = e.inConfiguration() ? kExitBadInput : kExitUsage;
        std::cerr << (terminal && shown >= 0 ? "\n" : "") << "simulate: " << e.what() << '\n';
    } catch (const sim::SignalError& e) {
        status = e.kind() == sim::SignalError::Kind::BadInput ? kExitBadInput : kExitNotWritten;
        std::cerr << (terminal && shown >= 0 ? "\n" : "") << "simulate: " << e.what() << '\n';
    }
    std::signal(SIGINT, previous);
    if (terminal && shown >= 0 && status == kExitOk) std::cerr << '\n';
    if (status != kExitOk) return status;
    if (outcome.run.cancelled) {
        std::cerr << "simulate: cancelled, nothing written\n";
        return kExitNotWritten;
    }
    if (!args.spectrum.empty()) {
        const gc::model::WriteResult written = gc::model::writeFileAtomically(
            args.spectrum, sim::spectrumCsvText(outcome.run.spectrum, outcome.centreFrequencyHz));
        if (!written) {
            std::cerr << "simulate: " << args.spectrum << ": "
                      << gc::model::systemErrorText(written.error) << '\n';
            status = kExitNotWritten;
        }
    }
    printOutcome(outcome, args.json);
    return status;
}

std::function<int()> declareSimulate(CLI::App& app) {
    auto args = std::make_shared<SimulateArgs>();
    app.description(
        "Reads CONFIG.trv the way \"build\" does, writes the program file's text in memory from\n"
        "its register image (as \"Записать\" would write it), sets the fixed-point model of\n"
        "channel N up from that text and streams a signal or a recording through it. Writes the\n"
        "channel's output as a recording and prints the output level, SNR and SFDR measured on\n"
        "its averaged spectrum, and every stage's overflow count and peak level.\n");
    addConfigArgument(app, args->config);
    addInt(app, "--channel", "N", args->channel, 0, 3,
           "channel 0..3 (default: the configuration's current channel)");
    addValue(app, "--signal", "SPEC", "a generated signal at the channel's input rate (below)",
             [args](const std::string& value) {
                 std::string error;
                 args->signal = sim::parseSignalSpec(value, error);
                 if (!args->signal) throw UsageError("--signal: " + error);
             });
    addText(app, "--input", "NAME", args->input,
            "a recording: NAME.sigmf-meta (samples in\n"
            "NAME.sigmf-data beside it) or NAME.wav (one\n"
            "channel: real, two: I and Q)");
    addValue(app, "--out", "NAME",
             "the output recording at the output rate:\n"
             "NAME.sigmf-meta (with NAME.sigmf-data) or\n"
             "NAME.wav (two channels, I and Q)",
             [args](const std::string& value) {
                 if (sim::recordingType(value) == sim::RecordingType::Unknown)
                     throw UsageError("--out takes NAME.sigmf-meta or NAME.wav: " + value);
                 args->out = value;
             })
        ->required();
    addValue(app, "--out-format", "float|int16",
             "output samples: 32-bit float (default) or 16-bit integer\n"
             "(SigMF cf32_le or ci16_le)",
             [args](const std::string& value) {
                 if (value == "float")
                     args->format = sim::OutputSampleFormat::Float32;
                 else if (value == "int16")
                     args->format = sim::OutputSampleFormat::Int16;
                 else
                     throw UsageError("--out-format takes float or int16");
             });
    addText(app, "--spectrum", "NAME.csv", args->spectrum,
            "also writes the averaged output spectrum as CSV:\n"
            "offset_hz,frequency_hz,level_dbfs");
    addFileSources(app, args->sources);
    app.add_flag("--json", args->json, "one JSON object instead of NAME=VALUE lines");
    app.footer(
        "SPEC is KIND:NAME=VALUE,... with levels in dBFS and lengths in samples:\n"
        "  tone:f=HZ[,level=DB][,len=N][,phase=DEG]     a sine, level = its amplitude\n"
        "  twotone:f1=HZ,f2=HZ[,level=DB][,len=N]       two sines, each at the level\n"
        "  noise[:level=DB][,len=N][,seed=S]            white Gaussian noise, level = its\n"
        "                                               power against a full-scale sine's\n"
        "  sweep:f0=HZ,f1=HZ[,level=DB][,len=N]         a linear sweep from f0 to f1\n"
        "Defaults: level=-6, len=1000000. For example tone:f=21.4e6,level=-6,len=1e6.\n"
        "\n"
        "Figures: input_rate_hz, output_rate_hz, nco_frequency_hz, centre_frequency_hz (the\n"
        "output's centre, also in its SigMF meta), input_samples, output_samples,\n"
        "output_rms_dbfs (all of the output), output_level_dbfs (the tones), signal_offset_hz,\n"
        "snr_db (the tones over everything else in the output band), sfdr_db (the strongest\n"
        "tone over the strongest other bin, dBc), spur_offset_hz; then the stage table: stage,\n"
        "overflows, peak_dbfs. Offsets are frequencies of the output (-Fo/2..Fo/2); 0 dBFS is a\n"
        "complex full-scale tone. A noise or sweep input has no tones: its SNR and SFDR are\n"
        "\"none\" (null in JSON).\n"
        "\n"
        "The outputs are written only when the whole input ran through: into temporary files,\n"
        "renamed over the old ones at the end. A missing, unreadable or damaged recording, data\n"
        "shorter than its meta says, an unknown datatype, a FIFO or a device as input: one line,\n"
        "nothing written. Ctrl-C stops the run; nothing is written.\n"
        "\n"
        "Exit status: 0 done, 1 an output cannot be written (or the run was stopped), 2 wrong\n"
        "usage (also a signal frequency outside 0..input rate/2), 5 the configuration or the\n"
        "input recording is missing or damaged, or the channel's registers cannot be run.\n");
    return [args] { return runSimulate(*args); };
}

}  // namespace

extern const Command kSimulateCommand{
    "simulate", "stream a signal or a recording through the fixed-point model of one channel",
    &declareSimulate};

}  // namespace gc::cli
