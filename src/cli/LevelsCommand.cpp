// gc4016-cli levels: the level plan of one channel of a saved configuration for an input level
// in dBFS, as NAME=VALUE lines or one JSON object.
#include <cmath>
#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "app/LevelsPresenter.h"
#include "appconfig/Workspace.h"
#include "cli/ChannelOptions.h"
#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "cli/ExitCodes.h"
#include "cli/JsonLine.h"

namespace gc::cli {

namespace {

struct LevelsArgs {
    std::string config;
    int channel{-1};
    double inputDbfs{0.0};
    std::optional<double> toneHz;
    std::optional<double> noiseBandHz;
    bool json{false};
    FileSources sources;
};

std::string lineNumber(double v) {
    if (std::isnan(v)) return "none";
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

// Stage and factor names as keys: "fine gain" -> "fine_gain".
std::string key(std::string name) {
    for (char& c : name)
        if (c == ' ') c = '_';
    return name;
}

void writePlan(std::ostream& out, const gc::sim::LevelPlan& plan, const LevelsArgs& args,
               int channel) {
    const bool noise = args.noiseBandHz.has_value();
    nlohmann::ordered_json o;
    o["channel"] = channel;
    o["input"] = noise ? "noise" : "tone";
    o["input_dbfs"] = args.inputDbfs;
    if (noise) {
        o["noise_band_hz"] = *args.noiseBandHz;
    } else {
        o["tone_hz"] = args.toneHz ? *args.toneHz : plan.ncoFrequencyHz;
    }
    o["input_rate_hz"] = plan.inputRateHz;
    o["nco_hz"] = plan.ncoFrequencyHz;
    o["output_rate_hz"] = plan.outputRateHz;
    o["output_frequency_hz"] = plan.outputFrequencyHz;
    nlohmann::ordered_json stages = nlohmann::ordered_json::array();
    for (const gc::sim::StageLevel& s : plan.stages) {
        nlohmann::ordered_json st;
        st["stage"] = key(s.stage);
        st["bits"] = s.wordBits;
        st["rate_hz"] = s.rateHz;
        st["signal_dbfs"] = s.signalDbfs;
        st["out_of_band_dbfs"] = s.outOfBandDbfs;
        st["peak_dbfs"] = s.peakDbfs;
        st["headroom_db"] = s.headroomDb;
        st["clip_input_dbfs"] = s.clipInputDbfs;
        st["noise_dbfs"] = s.noiseDbfs;
        st["noise_at_output_dbfs"] = s.noiseAtOutputDbfs;
        stages.push_back(st);
    }
    o["stages"] = stages;
    o["first_clip_stage"] = key(plan.firstClipStage);
    o["first_clip_input_dbfs"] = plan.firstClipInputDbfs;
    o["clips"] = plan.clips;
    o["output_signal_dbfs"] = plan.outputSignalDbfs;
    o["output_noise_dbfs"] = plan.outputNoiseDbfs;
    o["output_snr_db"] = plan.outputSnrDb;
    nlohmann::ordered_json gain = nlohmann::ordered_json::array();
    for (const gc::sim::GainFactor& f : plan.gain)
        gain.push_back({{"factor", key(f.name)}, {"formula", f.formula}, {"value", f.value}});
    o["gain"] = gain;
    o["total_gain"] = plan.totalGain;
    o["total_gain_db"] = plan.totalGainDb;

    if (args.json) {
        writeJsonLine(out, o);
        out << '\n';
        return;
    }
    // Lines: NAME=VALUE; a stage's figures as stage.NAME.FIGURE, a factor's as gain.NAME.
    for (const auto& [name, value] : o.items()) {
        if (name == "stages") {
            for (const auto& st : value) {
                const std::string prefix = "stage." + st["stage"].get<std::string>() + ".";
                for (const auto& [figure, v] : st.items()) {
                    if (figure == "stage") continue;
                    out << prefix << figure << '='
                        << (v.is_number_float() ? lineNumber(v.get<double>()) : v.dump()) << '\n';
                }
            }
        } else if (name == "gain") {
            for (const auto& f : value) {
                const std::string prefix = "gain." + f["factor"].get<std::string>();
                out << prefix << ".formula=" << f["formula"].get<std::string>() << '\n';
                out << prefix << ".value=" << lineNumber(f["value"].get<double>()) << '\n';
            }
        } else if (value.is_string()) {
            out << name << '=' << value.get<std::string>() << '\n';
        } else if (value.is_number_float()) {
            out << name << '=' << lineNumber(value.get<double>()) << '\n';
        } else {
            out << name << '=' << value.dump() << '\n';
        }
    }
}

int runLevels(const LevelsArgs& args) {
    Engine engine(gc::appconfig::Workspace::atCurrentFolder());
    if (!loadChannel(engine, args.config, args.sources, args.channel)) return kExitBadInput;
    const int channel = engine.session.model.currentIndex();
    gc::sim::LevelInput input;
    input.levelDbfs = args.inputDbfs;
    gc::sim::LevelPlan plan;
    try {
        if (args.noiseBandHz) {
            input.kind = gc::sim::LevelInput::Kind::Noise;
            input.noiseBandHz = *args.noiseBandHz;
        } else if (args.toneHz) {
            input.toneHz = *args.toneHz;
        } else {
            // A tone at the channel's centre: the NCO frequency the registers give.
            input.toneHz = gc::app::levelPlanOf(engine.session, channel, input).ncoFrequencyHz;
        }
        plan = gc::app::levelPlanOf(engine.session, channel, input);
    } catch (const std::runtime_error& e) {
        // The channel named has nothing to plan: a wrong choice of channel.
        std::cerr << "levels: " << e.what() << '\n';
        return kExitUsage;
    }
    writePlan(std::cout, plan, args, channel);
    return kExitOk;
}

std::function<int()> declareLevels(CLI::App& app) {
    auto args = std::make_shared<LevelsArgs>();
    app.description(
        "Reads CONFIG.trv the way \"build\" does, builds the program file the loader would get\n"
        "and, from its register writes, plans the levels of channel N for an input level: a\n"
        "real tone (default: at the NCO frequency) or noise over a band centred on the NCO.\n"
        "For every stage (input, mixer, cic, coarse, cfir, pfir, fine_gain, resampler, output):\n"
        "its word, rate, the wanted signal, what is left of the rest of the input (images,\n"
        "noise outside the output band), the expected peak of I or Q, the headroom, the input\n"
        "level at which it clips, and the rounding noise it adds; then the stage that clips\n"
        "first, the output SNR and the whole-channel gain equation factor by factor.\n");
    addConfigArgument(app, args->config);
    addInt(app, "--channel", "N", args->channel, 0, 3,
           "channel 0..3 (default: the configuration's current one)");
    addReal(app, "--input-dbfs", "X", args->inputDbfs,
            "input level, dBFS: a tone's amplitude, a noise's power as\nthat of a tone")
        ->required();
    auto* tone = addReal(app, "--tone", "HZ", args->toneHz, "a real tone at HZ");
    auto* noise =
        addReal(app, "--noise-band", "HZ", args->noiseBandHz, "noise over HZ around the NCO");
    tone->excludes(noise);
    addFileSources(app, args->sources);
    app.add_flag("--json", args->json, "one JSON object instead of NAME=VALUE lines");
    app.footer(
        "Levels are amplitudes relative to each stage's full scale (dBFS); noise peaks are\n"
        "taken at 4 standard deviations. The model's assumptions (word widths, rounding) are\n"
        "those listed in the README.\n"
        "\n"
        "Exit status: 0 done, 2 wrong usage (also a channel the registers give nothing to plan\n"
        "for: held in reset, or the second channel of a pair), 5 the configuration is missing\n"
        "or damaged.\n");
    return [args] { return runLevels(*args); };
}

}  // namespace

extern const Command kLevelsCommand{
    "levels", "plan the levels of one channel for an input level (headroom, clipping, SNR)",
    &declareLevels};

}  // namespace gc::cli
