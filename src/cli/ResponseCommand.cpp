// gc4016-cli response: the magnitude responses of one channel, as the main window's plot holds
// them, printed as CSV for scripts and spreadsheets.
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "analysis/ChannelMeasure.h"
#include "analysis/RequirementPlot.h"
#include "appconfig/Workspace.h"
#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "cli/ExitCodes.h"
#include "model/Numeric.h"
#include "response/ResponseCsv.h"

namespace gc::cli {

namespace {

constexpr int kStretchMax = 4096;

bool isPowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

struct ResponseArgs {
    std::string config;
    int channel{-1};
    int stretch{1};
    FileSources sources;
    bool alias{false};
};

int runResponse(const ResponseArgs& args) {
    const int channel = args.channel;
    const int stretch = args.stretch;
    const bool alias = args.alias;
    Engine engine(gc::appconfig::Workspace::atCurrentFolder());
    engine.loadFromDefaults(args.config, args.sources);
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

std::function<int()> declareResponse(CLI::App& app) {
    auto args = std::make_shared<ResponseArgs>();
    app.description(
        "Reads CONFIG.trv the way \"build\" does (built-in defaults, then the configuration with\n"
        "its chip configuration and its tap files from \"../FILTERS/\"), selects channel N as the\n"
        "channel list would, and prints the channel plot's arrays as CSV: a header line and one\n"
        "row per plot point,\n"
        "  k,freq_hz,cic,cfir,pfir,resampler,channel,level_db\n"
        "with the linear magnitudes as the plot holds them (not normalised), the absolute\n"
        "frequency of the point in Hz and the channel level relative to its peak in dB.\n");
    addConfigArgument(app, args->config);
    addInt(app, "--channel", "N", args->channel, 0, 3,
           "channel 0..3 (default: the configuration's current channel, 0)");
    addValue(app, "--stretch", "S",
             "horizontal stretch, a power of two 1..4096 (default 1): the plot\n"
             "spans 0 to clock / (2 S)",
             [args](const std::string& value) {
                 const int stretch = gc::model::parseInt(value);
                 if (!isPowerOfTwo(stretch) || stretch > kStretchMax)
                     throw UsageError("--stretch takes a power of two 1..4096");
                 args->stretch = stretch;
             });
    addFileSources(app, args->sources);
    app.add_flag("--alias", args->alias,
                 "adds a column \"alias\": the strongest alias A(f) landing on the\n"
                 "point's output offset f (0 beyond half the output rate)");
    app.footer(
        "Reports go to the error stream, one line each. Exit status: 0 printed, 2 wrong "
        "usage.\n");
    return [args] { return runResponse(*args); };
}

}  // namespace

extern const Command kResponseCommand{
    "response", "print one channel's stage and channel responses as CSV", &declareResponse};

}  // namespace gc::cli
