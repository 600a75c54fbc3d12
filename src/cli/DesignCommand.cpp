// gc4016-cli design: CFIR and PFIR taps (and on request a resampler prototype) designed for a
// channel requirement on a saved configuration, written as tap files, with the figures the
// measurement code gives for the whole chain with the new taps.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "analysis/ChannelMeasure.h"
#include "app/DesignFiles.h"
#include "appconfig/ConfigFile.h"
#include "appconfig/Reports.h"
#include "appconfig/Workspace.h"
#include "cli/ChannelOptions.h"
#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "cli/DesignApply.h"
#include "cli/ExitCodes.h"
#include "cli/JsonLine.h"
#include "cli/MeasurePrint.h"
#include "design/ChannelDesign.h"
#include "filters/TapFiles.h"
#include "model/ConfigurationModel.h"
#include "model/Language.h"
#include "model/Numeric.h"
#include "model/TextFile.h"

namespace gc::cli {

namespace {

struct DesignArgs {
    std::string config;
    std::string out;
    std::string name;
    bool resampler{false};
    bool json{false};
    bool best{false};
    bool apply{false};
    FileSources sources;
    ChannelOptions options;
};

// A figure as the measurement lines print it: full precision, "none" for no value.
std::string figure(const std::optional<double>& v) {
    if (!v) return "none";
    if (std::isinf(*v)) return *v > 0 ? "inf" : "-inf";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", *v);
    return buf;
}

// The figures of the design, and the numbers to act on: the most stop-band attenuation the
// designer reaches at the required ripple and the stop-band edge at which it meets the
// required attenuation (when it misses it).
void writeDesign(std::ostream& out, const gc::design::ChannelDesign& design,
                 const std::vector<std::string>& warnings, bool json) {
    std::ostringstream figures;
    writeMeasurement(figures, design.measurement, warnings, json);
    if (!json) {
        out << figures.str()
            << "reachable_stopband_attenuation_db=" << figure(design.reachableStopbandDb) << "\n"
            << "stopband_edge_for_attenuation_hz=" << figure(design.stopbandEdgeHz) << '\n';
        return;
    }
    auto object = nlohmann::ordered_json::parse(figures.str());
    auto number = [](const std::optional<double>& v) {
        return v && std::isfinite(*v) ? nlohmann::ordered_json(*v) : nlohmann::ordered_json();
    };
    object["reachable_stopband_attenuation_db"] = number(design.reachableStopbandDb);
    object["stopband_edge_for_attenuation_hz"] = number(design.stopbandEdgeHz);
    writeJsonLine(out, object);
}

int runDesign(const DesignArgs& args) {
    const std::string& out = args.out;
    const std::string& name = args.name;
    const bool resampler = args.resampler;
    const ChannelOptions& options = args.options;
    const gc::analysis::Requirement& req = options.requirement;
    if (args.apply) {
        const std::string problem = applyFolderProblem(args.config, out);
        if (!problem.empty()) throw UsageError(problem);
    }

    Engine engine(gc::appconfig::Workspace::atCurrentFolder());
    if (!loadChannel(engine, args.config, args.sources, options.channel)) return kExitBadInput;
    auto& model = engine.session.model;
    const gc::analysis::ChainSpec chain = gc::analysis::chainFromModel(model);
    gc::design::ChannelDesignOptions designOptions;
    designOptions.designResampler = resampler;
    designOptions.best = args.best;
    const gc::design::ChannelDesign design = gc::design::designChannel(chain, req, designOptions);
    if (!design.error.empty()) throw UsageError(design.error);

    // The designed taps become the taps in use of the channel, for its warnings.
    const int ch = model.currentIndex();
    for (int i = 0; i < gc::model::kCfirTapCount; ++i) model.CfirTaps[ch][i] = design.cfirTaps[i];
    for (int i = 0; i < gc::model::kPfirTapCount; ++i) model.PfirTaps[ch][i] = design.pfirTaps[i];
    if (!design.resamplerTaps.empty()) {
        model.ResamplerTaps.fill(0);
        for (size_t i = 0; i < design.resamplerTaps.size(); ++i)
            model.ResamplerTaps[i] = design.resamplerTaps[i];
        model.Work.ResamplerTapCount = static_cast<int>(design.resamplerTaps.size());
    }
    std::error_code ignored;  // a folder that cannot be made shows up as files not written
    std::filesystem::create_directories(out, ignored);
    // The files of the design as one set: all or none replace their old versions, so the CFIR
    // of one design never stays beside the PFIR of another.
    const std::vector<gc::app::DesignFile> files = gc::app::designFiles(design, name);
    std::vector<std::pair<std::string, std::string>> set;
    for (const gc::app::DesignFile& f : files) set.emplace_back(out + "/" + f.bare, f.text);
    const gc::model::SetWriteResult result = gc::model::writeFileSet(set);
    const bool written = static_cast<bool>(result);
    // Asked for but not designed (the resampler is off in the channel, or its length holds
    // fewer taps than phases): the channel was designed with the resampler as configured.
    const bool resamplerMissing = resampler && design.resamplerTaps.empty();
    if (resamplerMissing)
        std::cerr << gc::model::tx(
                         "Прототип ресемплера не рассчитан: ресемплер выключен или его "
                         "длина меньше числа фаз; CFIR и PFIR рассчитаны для ресемплера "
                         "конфигурации.")
                  << '\n';

    writeDesign(std::cout, design, gc::analysis::channelWarnings(model, &design.measurement),
                args.json);
    if (!design.message.empty()) std::cerr << design.message << '\n';
    if (!written) {
        // Each file not written, the one that failed with the system's reason.
        for (size_t i = 0; i < files.size(); ++i) {
            std::string line;
            for (const std::string& label : gc::appconfig::writeFailureLabels(
                     files[i].kind, set[i].first, i == result.failed ? result.files[i].error : 0))
                line += (line.empty() ? "" : " ") + label;
            std::cerr << line << '\n';
        }
        return kExitNotWritten;
    }
    if (args.apply) {
        const int applied = applyDesign(args.config, ch, name, resampler && !resamplerMissing);
        if (applied != kExitOk) return applied;
    }
    return design.meets && !resamplerMissing ? kExitOk : kExitLimitFailed;
}

std::function<int()> declareDesign(CLI::App& app) {
    auto args = std::make_shared<DesignArgs>();
    app.description(
        "Reads CONFIG.trv the way \"build\" does, designs the 21-tap CFIR and the 63-tap PFIR of\n"
        "channel N (and with --resampler a resampler prototype of the configured length and phase\n"
        "count) for the requirement, writes NAME_cfir.taps, NAME_pfir.taps (and NAME_res.taps) "
        "into\n"
        "DIR and prints the figures of the whole channel with the new taps as \"measure\" does,\n"
        "then reachable_stopband_attenuation_db (the most attenuation the designer reaches at\n"
        "the required ripple) and stopband_edge_for_attenuation_hz (when the attenuation is\n"
        "missed: the stop-band edge at which it is met), \"none\" when there is no such figure.\n");
    addConfigArgument(app, args->config);
    addChannelOptions(app, args->options);
    app.add_flag("--resampler", args->resampler, "also design the resampler prototype");
    app.add_flag("--json", args->json, "the figures as one JSON object");
    app.add_flag("--best", args->best,
                 "the most stop-band attenuation at the ripple\n"
                 "(--stopband-attenuation is then no limit)");
    app.add_flag("--apply", args->apply,
                 "name the written files as the channel's tap files (and the resampler's)\n"
                 "in CONFIG.trv and choose the tap files as their source in NAME.src;\n"
                 "both are saved again as one set. DIR must be \"../FILTERS\" beside CONFIG");
    addText(app, "--out", "DIR", args->out, "folder of the tap files (made if it does not exist)")
        ->required();
    addValue(app, "--name", "NAME", "base name of the tap files", [args](const std::string& v) {
        if (!gc::app::validDesignName(v))
            throw UsageError("--name NAME is required (a bare name, not \".\" or \"..\")");
        args->name = v;
    })->required();
    addFileSources(app, args->sources);
    app.footer(
        "Exit status: 0 the requirement is met, 4 the best design misses it (the files are still\n"
        "written), 1 a file cannot be written (none of them is then replaced), 2 wrong usage\n"
        "(also a negative attenuation or alias rejection), 5 CONFIG.trv missing or damaged.\n");
    return [args] { return runDesign(*args); };
}

}  // namespace

extern const Command kDesignCommand{
    "design", "design CFIR/PFIR (and resampler) taps for a requirement, write tap files",
    &declareDesign};

}  // namespace gc::cli
