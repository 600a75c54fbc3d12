// gc4016-cli export-taps: the taps in use of a channel of a saved configuration, written in the
// formats import-taps reads.
#include <algorithm>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "appconfig/Workspace.h"
#include "cli/ChannelOptions.h"
#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "cli/ExitCodes.h"
#include "cli/TapCommands.h"
#include "filters/TapImport.h"
#include "model/ConfigurationModel.h"
#include "model/TextFile.h"

namespace gc::cli {

namespace {

namespace fl = gc::filters;

struct ExportArgs {
    std::string config;
    std::string out;
    fl::TapKind kind{fl::TapKind::Cfir};
    int channel{-1};
    int format{0};  // index into kFormats
    int radix{0};   // 0: 10, 1: 16
    FileSources sources;
};

const std::vector<std::string> kFormats{"taps", "csv", "vector", "coe"};

int runExport(const ExportArgs& args) {
    Engine engine(gc::appconfig::Workspace::atCurrentFolder());
    if (!loadChannel(engine, args.config, args.sources, args.channel)) return kExitBadInput;
    const gc::model::ConfigurationModel& model = engine.session.model;
    const int ch = model.currentIndex();
    std::vector<int> taps;
    switch (args.kind) {
        case fl::TapKind::Cfir:
            taps.assign(model.CfirTaps[ch].begin(), model.CfirTaps[ch].end());
            break;
        case fl::TapKind::Pfir:
            taps.assign(model.PfirTaps[ch].begin(), model.PfirTaps[ch].end());
            break;
        case fl::TapKind::Rfir:
            taps.assign(model.ResamplerTaps.begin(),
                        model.ResamplerTaps.begin() + std::clamp(model.Work.ResamplerTapCount, 0,
                                                                 gc::model::kResamplerTapMax));
            break;
    }
    const auto format = fl::tapTextFormatFromName(kFormats[static_cast<size_t>(args.format)]);
    const auto written = gc::model::writeFileAtomically(
        args.out, fl::tapExportText(taps, *format, args.kind, args.radix == 1 ? 16 : 10));
    if (!written) {
        printReport(
            gc::appconfig::writeFailureLabels(tapFileKind(args.kind), args.out, written.error));
        return kExitNotWritten;
    }
    return engine.ui.reportCount > 0 ? kExitBadInput : kExitOk;
}

std::function<int()> declareExport(CLI::App& app) {
    auto args = std::make_shared<ExportArgs>();
    app.description(
        "Reads CONFIG.trv the way \"build\" does, selects channel N as the channel list would and\n"
        "writes the taps in use of the chosen filter (the resampler's: its configured length)\n"
        "into FILE in a format that import-taps and other tools read:\n"
        "  taps    this program's tap file, \" %d\" per line\n"
        "  csv     the values separated by commas, on one line\n"
        "  vector  \"h = [v, v, ...];\"\n"
        "  coe     an FPGA coefficient file \"radix=R; coefdata=...;\", radix 16 as the two's\n"
        "          complement of the coefficient width (16 bits CFIR/PFIR, 12 bits resampler)\n");
    addConfigArgument(app, args->config);
    addTapKind(app, args->kind)->required();
    addInt(app, "--channel", "N", args->channel, 0, 3,
           "channel 0..3 (default: the configuration's current one)");
    addFileSources(app, args->sources);
    addChoice(app, "--format", "the format of FILE (default taps)", kFormats, args->format);
    addChoice(app, "--radix", "the radix of a coe file (default 10)", {"10", "16"}, args->radix);
    addText(app, "--out", "FILE", args->out, "the file written")->required();
    app.footer(
        "Exit status: 0 written, 1 FILE cannot be written, 2 wrong usage, 5 CONFIG.trv missing\n"
        "or damaged (nothing written), or another of its files (reported; FILE still written).\n");
    return [args] { return runExport(*args); };
}

}  // namespace

extern const Command kExportTapsCommand{
    "export-taps", "write the taps in use of a channel as a tap file, CSV, vector or FPGA file",
    &declareExport};

}  // namespace gc::cli
