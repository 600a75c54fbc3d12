#include "cli/DesignApply.h"

#include <filesystem>
#include <iostream>
#include <system_error>

#include "appconfig/ConfigFile.h"
#include "appconfig/Reports.h"
#include "appconfig/TapSourceFile.h"
#include "appconfig/Workspace.h"
#include "cli/CliSupport.h"
#include "cli/ExitCodes.h"
#include "model/ConfigurationModel.h"
#include "model/TextFile.h"

namespace gc::cli {

namespace {

namespace fs = std::filesystem;
namespace ac = gc::appconfig;

}  // namespace

std::string applyFolderProblem(const std::string& config, const std::string& out) {
    std::error_code error;
    const fs::path filters =
        fs::weakly_canonical(fs::absolute(config, error).parent_path() / ".." / "FILTERS", error);
    const fs::path target = fs::weakly_canonical(fs::absolute(out, error), error);
    if (!error && filters == target) return {};
    return "with --apply, --out must be the FILTERS folder beside the configuration (" +
           ac::folderOf(config) + "../FILTERS)";
}

int applyDesign(const std::string& config, int channel, const std::string& name, bool resampler) {
    gc::model::ConfigurationModel model;
    int systemError = 0;
    const ac::ConfigReadStatus read = ac::readConfiguration(config, model, &systemError);
    if (read != ac::ConfigReadStatus::Ok) {
        printReport(
            {ac::fileKindText(ac::FileKind::Configuration), config,
             read == ac::ConfigReadStatus::Damaged ? ac::damagedText() : ac::missingText()});
        return kExitBadInput;
    }
    model.Channels[channel].NameOfCFIR = name + "_cfir.taps";
    model.Channels[channel].NameOfPFIR = name + "_pfir.taps";
    if (resampler) model.Chip.NameOfRFIR = name + "_res.taps";
    // The taps come from the tap files; the choice of the filters not designed stays. A damaged
    // NAME.src counts as none, as the loaders take it.
    ac::TapSources sources;
    const std::string sourcePath = ac::tapSourcePath(config);
    (void)ac::readTapSources(sourcePath, sources);
    sources.cfirFromFile = true;
    sources.pfirFromFile = true;
    if (resampler) sources.resamplerFromFile = true;
    // The configuration and its tap sources as one set: both or neither replace the old ones.
    const gc::model::SetWriteResult written = gc::model::writeFileSet(
        {{config, ac::configurationText(model)}, {sourcePath, ac::tapSourceText(sources)}});
    if (!written) {
        const ac::FileKind kinds[] = {ac::FileKind::Configuration, ac::FileKind::TapSources};
        const std::string paths[] = {config, sourcePath};
        for (size_t i = 0; i < written.files.size(); ++i)
            printReport(ac::writeFailureLabels(kinds[i], paths[i],
                                               i == written.failed ? written.files[i].error : 0));
        return kExitNotWritten;
    }
    return kExitOk;
}

}  // namespace gc::cli
