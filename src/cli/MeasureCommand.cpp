// gc4016-cli measure: does a channel of a saved configuration meet its requirement? The
// figures of the requirement window, as NAME=VALUE lines or one JSON object.
#include <cmath>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "analysis/ChannelMeasure.h"
#include "appconfig/ConfigFile.h"
#include "appconfig/Workspace.h"
#include "cli/ChannelOptions.h"
#include "cli/CliSupport.h"
#include "cli/ExitCodes.h"
#include "cli/MeasurePrint.h"
#include "model/Numeric.h"

namespace gc::cli {

namespace {

constexpr const char* kMeasureUsage =
    "usage: gc4016-cli measure CONFIG.trv --passband HZ [--stopband HZ] [--ripple DB]\n"
    "                          [--stopband-attenuation DB] [--alias-rejection DB]\n"
    "                          [--channel N] [--file-source LIST] [--json]\n"
    "\n"
    "Reads CONFIG.trv the way \"build\" does (built-in defaults, then the configuration with\n"
    "its chip configuration and its tap files from \"../FILTERS/\"), selects channel N as the\n"
    "channel list would, and measures the channel's response H(F) against the requirement:\n"
    "\n"
    "  --passband HZ              pass-band edge Fp, 0 < Fp < Fo/2 (Fo the output rate)\n"
    "  --stopband HZ              stop-band edge Fs, Fp < Fs <= clock/2 (default Fo/2)\n"
    "  --ripple DB                largest allowed pass-band ripple\n"
    "  --stopband-attenuation DB  smallest allowed attenuation over [Fs, clock/2]\n"
    "  --alias-rejection DB       smallest allowed rejection of the aliases folded into\n"
    "                             [0, Fp] of the output\n"
    "  --channel N                channel 0..3 (default: the configuration's current one)\n"
    "  --file-source LIST         the filters whose taps come from the tap files: cfir,\n"
    "                             pfir, rfir\n"
    "  --json                     one JSON object instead of NAME=VALUE lines\n"
    "\n"
    "Figures: output_rate_hz, passband_hz, stopband_hz, ripple_db, bandwidth_3db_hz,\n"
    "stopband_attenuation_db, stopband_worst_hz, alias_rejection_db, alias_worst_hz, meets,\n"
    "and the warnings, one line each. Levels are relative to the largest H over [0, Fp];\n"
    "a figure with no value (H never falls 3 dB, or vanishes over the whole set) is \"none\"\n"
    "or \"inf\" in lines and null in JSON.\n"
    "\n"
    "Exit status: 0 the requirement is met or no limit is given, 4 a limit fails, 2 wrong\n"
    "usage (also band edges outside their ranges), 5 the configuration is missing or\n"
    "damaged.\n";

int usageError(const std::string& message) {
    std::cerr << "measure: " << message << "\n\n" << kMeasureUsage;
    return kExitUsage;
}

int runMeasure(const std::vector<std::string>& args) {
    std::string config;
    bool json = false;
    FileSources sources;
    ChannelOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kMeasureUsage;
            return kExitOk;
        }
        if (arg == "--json") {
            json = true;
            continue;
        }
        std::string error;
        const OptionTaken taken = takeChannelOption(args, i, options, error);
        if (taken == OptionTaken::Error) return usageError(error);
        if (taken == OptionTaken::Yes) continue;
        if (arg == "--file-source") {
            if (i + 1 >= args.size()) return usageError(arg + " needs a value");
            const std::string& value = args[++i];
            if (!parseFileSources(value, sources))
                return usageError("--file-source takes cfir, pfir, rfir: \"" + value + "\"");
        } else if (!arg.empty() && arg.front() == '-') {
            return usageError("unknown option " + arg);
        } else if (config.empty()) {
            config = arg;
        } else {
            return usageError("one configuration only, extra: " + arg);
        }
    }
    if (config.empty()) return usageError("no configuration file given");
    if (namesFolder(config)) return usageError("CONFIG names a folder, not a file: " + config);
    if (!options.havePassband) return usageError("--passband HZ is required");
    const gc::analysis::Requirement& req = options.requirement;

    // The configuration must be readable as a whole before anything is measured from it.
    Engine engine(gc::appconfig::Workspace::atCurrentFolder());
    if (!loadChannel(engine, config, sources, options.channel)) return kExitBadInput;
    const gc::model::ConfigurationModel& model = engine.session.model;
    const gc::analysis::ChainSpec spec = gc::analysis::chainFromModel(model);
    const std::string problem = gc::analysis::validateRequirement(spec, req);
    if (!problem.empty()) return usageError(problem);

    const gc::analysis::ChannelChain chain(spec);
    const gc::analysis::Measurement m = gc::analysis::measure(chain, req);
    const std::vector<std::string> warnings = gc::analysis::channelWarnings(model, &m);
    writeMeasurement(std::cout, m, warnings, json);
    return m.meets ? kExitOk : kExitLimitFailed;
}

}  // namespace

extern const Command kMeasureCommand{
    "measure", "measure one channel against a requirement (ripple, stop band, aliases)",
    &runMeasure};

}  // namespace gc::cli
