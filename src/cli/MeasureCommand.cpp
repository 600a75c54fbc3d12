// gc4016-cli measure: does a channel of a saved configuration meet its requirement? The
// figures of the requirement window, as NAME=VALUE lines or one JSON object.
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "analysis/ChannelMeasure.h"
#include "appconfig/ConfigFile.h"
#include "appconfig/Workspace.h"
#include "cli/ChannelOptions.h"
#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "cli/ExitCodes.h"
#include "cli/MeasurePrint.h"

namespace gc::cli {

namespace {

struct MeasureArgs {
    std::string config;
    bool json{false};
    FileSources sources;
    ChannelOptions options;
};

int runMeasure(const MeasureArgs& args) {
    const gc::analysis::Requirement& req = args.options.requirement;
    // The configuration must be readable as a whole before anything is measured from it.
    Engine engine(gc::appconfig::Workspace::atCurrentFolder());
    if (!loadChannel(engine, args.config, args.sources, args.options.channel)) return kExitBadInput;
    const gc::model::ConfigurationModel& model = engine.session.model;
    const gc::analysis::ChainSpec spec = gc::analysis::chainFromModel(model);
    const std::string problem = gc::analysis::validateRequirement(spec, req);
    if (!problem.empty()) throw UsageError(problem);

    const gc::analysis::ChannelChain chain(spec);
    const gc::analysis::Measurement m = gc::analysis::measure(chain, req);
    const std::vector<std::string> warnings = gc::analysis::channelWarnings(model, &m);
    writeMeasurement(std::cout, m, warnings, args.json);
    return m.meets ? kExitOk : kExitLimitFailed;
}

std::function<int()> declareMeasure(CLI::App& app) {
    auto args = std::make_shared<MeasureArgs>();
    app.description(
        "Reads CONFIG.trv the way \"build\" does (built-in defaults, then the configuration with\n"
        "its chip configuration and its tap files from \"../FILTERS/\"), selects channel N as the\n"
        "channel list would, and measures the channel's response H(F) against the requirement:\n");
    addConfigArgument(app, args->config);
    addChannelOptions(app, args->options);
    addFileSources(app, args->sources);
    app.add_flag("--json", args->json, "one JSON object instead of NAME=VALUE lines");
    app.footer(
        "Figures: output_rate_hz, passband_hz, stopband_hz, ripple_db, bandwidth_3db_hz,\n"
        "stopband_attenuation_db, stopband_worst_hz, alias_rejection_db, alias_worst_hz, meets,\n"
        "and the warnings, one line each. Levels are relative to the largest H over [0, Fp];\n"
        "a figure with no value (H never falls 3 dB, or vanishes over the whole set) is \"none\"\n"
        "or \"inf\" in lines and null in JSON.\n"
        "\n"
        "Exit status: 0 the requirement is met or no limit is given, 4 a limit fails, 2 wrong\n"
        "usage (also band edges outside their ranges), 5 the configuration is missing or\n"
        "damaged.\n");
    return [args] { return runMeasure(*args); };
}

}  // namespace

extern const Command kMeasureCommand{
    "measure", "measure one channel against a requirement (ripple, stop band, aliases)",
    &declareMeasure};

}  // namespace gc::cli
