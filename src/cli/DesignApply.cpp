#include "cli/DesignApply.h"

#include <filesystem>
#include <iostream>
#include <system_error>

#include "appconfig/ConfigFile.h"
#include "appconfig/Reports.h"
#include "appconfig/Workspace.h"
#include "cli/CliSupport.h"
#include "cli/ExitCodes.h"
#include "model/ConfigurationModel.h"

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
    const gc::model::WriteResult written = ac::writeConfiguration(config, model);
    if (!written) {
        printReport(ac::writeFailureLabels(ac::FileKind::Configuration, config, written.error));
        return kExitNotWritten;
    }
    return kExitOk;
}

}  // namespace gc::cli
