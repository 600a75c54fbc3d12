// gc4016-cli response: the magnitude responses of one channel, as the main window's plot holds
// them, printed as CSV for scripts and spreadsheets.
#include <iostream>
#include <string>
#include <vector>

#include "analysis/ChannelMeasure.h"
#include "analysis/RequirementPlot.h"
#include "appconfig/Workspace.h"
#include "cli/CliSupport.h"
#include "cli/ExitCodes.h"
#include "model/Numeric.h"
#include "response/ResponseCsv.h"

namespace gc::cli {

namespace {

constexpr int kStretchMax = 4096;

constexpr const char* kResponseUsage =
    "usage: gc4016-cli response CONFIG.trv [--channel N] [--stretch S] [--file-source LIST]\n"
    "                           [--alias]\n"
    "\n"
    "Reads CONFIG.trv the way \"build\" does (built-in defaults, then the configuration with\n"
    "its chip configuration and its tap files from \"../FILTERS/\"), selects channel N as the\n"
    "channel list would, and prints the channel plot's arrays as CSV: a header line and one\n"
    "row per plot point,\n"
    "  k,freq_hz,cic,cfir,pfir,resampler,channel,level_db\n"
    "with the linear magnitudes as the plot holds them (not normalised), the absolute\n"
    "frequency of the point in Hz and the channel level relative to its peak in dB.\n"
    "\n"
    "  --channel N        channel 0..3 (default: the configuration's current channel, 0)\n"
    "  --stretch S        horizontal stretch, a power of two 1..4096 (default 1): the plot\n"
    "                     spans 0 to clock / (2 S)\n"
    "  --file-source LIST the filters whose taps come from the tap files: cfir, pfir, rfir\n"
    "  --alias            adds a column \"alias\": the strongest alias A(f) landing on the\n"
    "                     point's output offset f (0 beyond half the output rate)\n"
    "\n"
    "Reports go to the error stream, one line each. Exit status: 0 printed, 2 wrong usage.\n";

int usageError(const std::string& message) {
    std::cerr << "response: " << message << "\n\n" << kResponseUsage;
    return kExitUsage;
}

bool isPowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

int runResponse(const std::vector<std::string>& args) {
    std::string config;
    int channel = -1;
    int stretch = 1;
    FileSources sources;
    bool alias = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kResponseUsage;
            return kExitOk;
        }
        if (arg == "--alias") {
            alias = true;
            continue;
        }
        if (arg == "--channel" || arg == "--stretch" || arg == "--file-source") {
            if (i + 1 >= args.size()) return usageError(arg + " needs a value");
            const std::string& value = args[++i];
            try {
                if (arg == "--channel") {
                    channel = gc::model::parseInt(value);
                    if (channel < 0 || channel > 3) return usageError("--channel takes 0..3");
                } else if (arg == "--stretch") {
                    stretch = gc::model::parseInt(value);
                    if (!isPowerOfTwo(stretch) || stretch > kStretchMax)
                        return usageError("--stretch takes a power of two 1..4096");
                } else if (!parseFileSources(value, sources)) {
                    return usageError("--file-source takes cfir, pfir, rfir: \"" + value + "\"");
                }
            } catch (const gc::model::ConversionError& e) {
                return usageError(arg + ": " + e.what());
            }
        } else if (!arg.empty() && arg.front() == '-') {
            return usageError("unknown option " + arg);
        } else if (config.empty()) {
            config = arg;
        } else {
            return usageError("one configuration only, extra: " + arg);
        }
    }
    if (config.empty()) return usageError("no configuration file given");

    Engine engine(gc::appconfig::Workspace::atCurrentFolder());
    engine.loadFromDefaults(config, sources);
    if (channel >= 0) {
        engine.state.ComboBox7.index = channel;
        engine.presenter.onComboBox7Changed();
    }
    for (int s = 1; s < stretch; s *= 2) engine.plot.onButton19Click();  // X "*2"

    const int shownStretch = engine.plot.state().StretchX;
    gc::analysis::AliasCurve aliases;
    if (alias) {
        const gc::analysis::ChannelChain chain(gc::analysis::chainFromModel(engine.session.model));
        aliases = gc::analysis::aliasCurve(chain, shownStretch);
    }
    std::cout << gc::response::responseCsv(engine.plot.arrays(),
                                           engine.session.model.Work.WorkingClock, shownStretch,
                                           alias ? &aliases.values : nullptr);
    return kExitOk;
}

}  // namespace

extern const Command kResponseCommand{
    "response", "print one channel's stage and channel responses as CSV", &runResponse};

}  // namespace gc::cli
