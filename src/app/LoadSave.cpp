#include "app/LoadSave.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "appconfig/ConfigFile.h"
#include "chip/ChipConfigFile.h"
#include "chip/ProgramFile.h"
#include "chip/RegisterImage.h"
#include "filters/TapFiles.h"
#include "filters/TapSelection.h"
#include "model/TextFile.h"

namespace gc::app {

namespace ac = gc::appconfig;
namespace fl = gc::filters;
using gc::appconfig::FileKind;
using gc::appconfig::WorkspacePath;

namespace {

constexpr int kServiceKey = 347;  // FullDebug value that switches the service mode on

// Initial folders of the dialogs, relative to the working folder.
constexpr const char* kConfigsFolder = "CONFIGS";
constexpr const char* kFiltersFolder = "FILTERS";

// Filters of the tap-file dialogs ("text|pattern"): OpenDialog3 and SaveDialog3.
constexpr const char* kTapOpenFilter = "FIRFilterl(*.taps)|*.taps";
constexpr const char* kTapSaveFilter = "CFIRFilter(*.taps)|*.taps";

// The tap-file folder beside a loaded configuration, as the reports show it.
constexpr const char* kSiblingFiltersShown = "../FILTERS/";

// A name read from a file, placed in `folder` (with its trailing "/") unless it is absolute.
std::string placeIn(const std::string& folder, const std::string& name) {
    if (!name.empty() && (name.front() == '/' || std::filesystem::path(name).is_absolute()))
        return name;
    return folder + name;
}

// Whether two names reach the same file (the second one need not exist yet).
bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    const auto first = std::filesystem::weakly_canonical(a, error);
    if (error) return false;
    const auto second = std::filesystem::weakly_canonical(b, error);
    if (error) return false;
    return first == second;
}

std::vector<std::string> chipConfigReportLabels(const std::string& pathAsGiven,
                                                gc::chip::ChipConfigStatus status) {
    switch (status) {
        case gc::chip::ChipConfigStatus::Ok:
            break;
        case gc::chip::ChipConfigStatus::Missing:
            return {ac::fileKindText(FileKind::ChipConfiguration), pathAsGiven, ac::kMissingText};
        case gc::chip::ChipConfigStatus::Damaged:
            return {ac::fileKindText(FileKind::ChipConfiguration), pathAsGiven, ac::kDamagedText};
    }
    return {};
}

}  // namespace

LoadSave::LoadSave(Session& session, MainState& state, UiPort& ui, ChannelPlotSeam& plot,
                   MainPresenter& presenter, ac::Workspace workspace)
    : session_(session),
      state_(state),
      ui_(ui),
      plot_(plot),
      presenter_(presenter),
      workspace_(std::move(workspace)) {}

// --- Shared pieces -------------------------------------------------------------------------

void LoadSave::report(std::vector<std::string> labels) {
    if (!labels.empty()) ui_.showError({ErrorWindow::ErrFileCoeff, std::move(labels)});
}

ac::ConfigReadStatus LoadSave::readConfigurationReported(const WorkspacePath& path) {
    const ac::ConfigReadStatus status = ac::readConfiguration(path.resolved, session_.model);
    report(ac::configReportLabels(path.asGiven, status));
    return status;
}

void LoadSave::readChipConfigurationReported(const WorkspacePath& path) {
    const auto status = gc::chip::readChipConfiguration(path.resolved, session_.image);
    report(chipConfigReportLabels(path.asGiven, status));
}

void LoadSave::readConfigurationTaps(const std::string& shownFolder,
                                     const std::string& resolvedFolder) {
    auto& model = session_.model;
    for (int channel = 0; channel < gc::model::kChannelCount; ++channel) {
        const std::string& cfir = model.Channels[channel].NameOfCFIR;
        report(fl::tapFileReportLabels(
            fl::TapKind::Cfir, placeIn(shownFolder, cfir),
            fl::ReadCfirTapFile(model, placeIn(resolvedFolder, cfir), channel)));
        const std::string& pfir = model.Channels[channel].NameOfPFIR;
        report(fl::tapFileReportLabels(
            fl::TapKind::Pfir, placeIn(shownFolder, pfir),
            fl::ReadPfirTapFile(model, placeIn(resolvedFolder, pfir), channel)));
    }
    const std::string& rfir = model.Chip.NameOfRFIR;
    report(fl::tapFileReportLabels(fl::TapKind::Rfir, placeIn(shownFolder, rfir),
                                   fl::ReadResamplerTapFile(model, placeIn(resolvedFolder, rfir))));
}

// Every channel's taps in use follow its selected source, not only the current channel's: the
// chip files are built from all four, whichever channels the user has looked at.
void LoadSave::applyAllSelections() {
    auto& model = session_.model;
    for (int channel = 0; channel < gc::model::kChannelCount; ++channel) {
        fl::ApplyCfirSelectionFor(model, channel, presenter_.cfirSource());
        fl::ApplyPfirSelectionFor(model, channel, presenter_.pfirSource());
    }
    fl::ApplyResamplerSelection(model, session_.image, presenter_.resamplerSource());
}

bool LoadSave::writeReported(bool written, FileKind kind, const std::string& pathAsGiven) {
    if (!written) report(ac::writeFailureLabels(kind, pathAsGiven));
    return written;
}

WorkspacePath LoadSave::startupPath() const {
    return workspace_.path(ac::configsDir() + kStartupName);
}

bool LoadSave::keepDamagedStartupCopy() {
    if (!damagedStartupBytes_) return true;
    const WorkspacePath backup = workspace_.path(startupPath().asGiven + ".bak");
    if (!writeReported(gc::model::writeFileAtomically(backup.resolved, *damagedStartupBytes_),
                       FileKind::Configuration, backup.asGiven))
        return false;
    damagedStartupBytes_.reset();
    return true;
}

// --- Start and exit ------------------------------------------------------------------------

void LoadSave::start() {
    auto& model = session_.model;

    // 1. The start-up configuration. A damaged one is kept aside so that the exit, which
    // rewrites it, does not lose what was typed into it by hand.
    const WorkspacePath startup = startupPath();
    if (readConfigurationReported(startup) == ac::ConfigReadStatus::Damaged)
        damagedStartupBytes_ = gc::model::readFileBytes(startup.resolved);
    // 2. The chip configuration it names, from the same folder.
    readChipConfigurationReported(workspace_.path(placeIn(ac::configsDir(), model.Chip.NameOfCFG)));
    // 3. Service mode; FullDebug stays 0 in memory until the exit.
    model.Work.ServiceMode = model.Chip.FullDebug == kServiceKey;
    model.Work.SavedFullDebug = model.Chip.FullDebug;
    model.Chip.FullDebug = 0;
    // 4, 5. The nine tap files.
    readConfigurationTaps(ac::filtersDir(), workspace_.resolve(ac::filtersDir()));
    // 6. The taps in use.
    applyAllSelections();
    // 7.
    plot_.computeCicResponse();
    plot_.refreshChannelPlot();
    // 8.
    model.Work.ConfigFileName = kStartupName;
    // 9, 10. The first draw after the window is on screen and the working folder are the
    // window's and the workspace's business.
    presenter_.applyOutputMode();
    presenter_.recalculate();
}

void LoadSave::exit() {
    auto& model = session_.model;
    const WorkspacePath startup = startupPath();
    model.Chip.FullDebug = model.Work.SavedFullDebug;
    if (!keepDamagedStartupCopy()) {
        report(ac::writeFailureLabels(FileKind::Configuration, startup.asGiven));
        return;
    }
    (void)writeReported(ac::writeConfiguration(startup.resolved, model), FileKind::Configuration,
                        startup.asGiven);
}

// --- "Считать" and "Записать" -------------------------------------------------------------

void LoadSave::onButton5Click() {
    const auto chosen = ui_.askOpenFile({"*.trv", "", kConfigsFolder});
    if (!chosen) return;
    loadConfiguration(*chosen);
}

void LoadSave::loadConfiguration(const std::string& path) {
    auto& model = session_.model;
    const std::string resolved = workspace_.resolve(path);
    const std::string name = ac::bareName(path);
    const std::string folder = ac::folderOf(resolved);
    model.Work.ConfigFileName = name;

    // Shown as the program names them from the chosen file's folder.
    readConfigurationReported({name, resolved});
    readChipConfigurationReported({model.Chip.NameOfCFG, placeIn(folder, model.Chip.NameOfCFG)});
    readConfigurationTaps(kSiblingFiltersShown, ac::siblingFilters(resolved));
    applyAllSelections();
    plot_.computeCicResponse();

    // The output block depends on the number of enabled channels, which recalculate derives
    // from the loaded masks; without the first pass it would follow the previous configuration.
    presenter_.recalculate();
    presenter_.applyOutputMode();
    presenter_.recalculate();
    plot_.refreshChannelPlot();
    if (session_.open[Window::Filters]) ui_.refreshWindow(Window::Filters);
}

void LoadSave::onButton6Click() {
    if (!presenter_.runSaveChecks()) return;
    const auto chosen = ui_.askSaveFile({"*.trv", "trv", kConfigsFolder});
    if (!chosen) return;
    (void)saveConfiguration(*chosen);
}

bool LoadSave::saveConfiguration(const std::string& path) {
    auto& model = session_.model;
    const WorkspacePath trv = workspace_.path(path);
    model.Work.ConfigFileName = ac::bareName(path);

    bool trvWritten = true;
    if (damagedStartupBytes_ && sameFile(trv.resolved, startupPath().resolved))
        trvWritten = keepDamagedStartupCopy();
    if (trvWritten) trvWritten = ac::writeConfiguration(trv.resolved, model);
    (void)writeReported(trvWritten, FileKind::Configuration, trv.asGiven);

    gc::chip::buildRegisterImage(model, session_.image);
    const WorkspacePath cfg{ac::replaceExtension(trv.asGiven, ".cfg"),
                            ac::replaceExtension(trv.resolved, ".cfg")};
    const bool cfgWritten =
        writeReported(gc::chip::writeChipConfiguration(cfg.resolved, session_.image),
                      FileKind::ChipConfiguration, cfg.asGiven);
    const WorkspacePath prg{ac::replaceExtension(trv.asGiven, ".prg"),
                            ac::replaceExtension(trv.resolved, ".prg")};
    const bool prgWritten =
        writeReported(gc::chip::writeProgramFile(prg.resolved, model, session_.image),
                      FileKind::Program, prg.asGiven);

    presenter_.recalculate();
    return trvWritten && cfgWritten && prgWritten;
}

// --- Tap files -----------------------------------------------------------------------------

std::optional<std::string> LoadSave::askTapFile(bool save) {
    if (save) return ui_.askSaveFile({kTapSaveFilter, "taps", kFiltersFolder});
    return ui_.askOpenFile({kTapOpenFilter, "tbl", kFiltersFolder});
}

void LoadSave::onSpeedButton1Click() {
    const auto chosen = askTapFile(false);
    if (!chosen) return;
    auto& model = session_.model;
    const int channel = model.currentIndex();
    const std::string name = ac::bareName(*chosen);
    const auto status = fl::ReadCfirTapFile(model, workspace_.resolve(*chosen), channel);
    report(fl::tapFileReportLabels(fl::TapKind::Cfir, name, status));
    if (status != fl::TapFileStatus::Ok) return;
    model.Channels[channel].NameOfCFIR = name;
    fl::ApplyCfirSelection(model, presenter_.cfirSource());
    plot_.refreshChannelPlot();
    if (session_.open[Window::Cfir]) ui_.refreshWindow(Window::Cfir);
    presenter_.recalculate();
}

void LoadSave::onSpeedButton2Click() {
    const auto chosen = askTapFile(false);
    if (!chosen) return;
    auto& model = session_.model;
    const int channel = model.currentIndex();
    const std::string name = ac::bareName(*chosen);
    const auto status = fl::ReadPfirTapFile(model, workspace_.resolve(*chosen), channel);
    report(fl::tapFileReportLabels(fl::TapKind::Pfir, name, status));
    if (status != fl::TapFileStatus::Ok) return;
    model.Channels[channel].NameOfPFIR = name;
    fl::ApplyPfirSelection(model, presenter_.pfirSource());
    plot_.refreshChannelPlot();
    if (session_.open[Window::Pfir]) ui_.refreshWindow(Window::Pfir);
    presenter_.recalculate();
}

void LoadSave::onSpeedButton3Click() {
    const auto chosen = askTapFile(false);
    if (!chosen) return;
    auto& model = session_.model;
    const std::string name = ac::bareName(*chosen);
    const auto status = fl::ReadResamplerTapFile(model, workspace_.resolve(*chosen));
    report(fl::tapFileReportLabels(fl::TapKind::Rfir, name, status));
    if (status != fl::TapFileStatus::Ok) return;
    model.Chip.NameOfRFIR = name;
    fl::ApplyResamplerSelection(model, session_.image, presenter_.resamplerSource());
    plot_.refreshChannelPlot();
    presenter_.recalculate();
    if (session_.open[Window::Resamp]) ui_.refreshWindow(Window::Resamp);
}

// The configuration keeps naming the file only when it was written, so that it never names a
// tap file that does not exist.
void LoadSave::onSpeedButton10Click() {
    const auto chosen = askTapFile(true);
    if (!chosen) return;
    auto& model = session_.model;
    std::string& name = model.current().NameOfCFIR;
    std::string previous = std::exchange(name, ac::bareName(*chosen));
    if (!writeReported(fl::WriteCfirTapFile(model, workspace_.resolve(*chosen)), FileKind::CfirTaps,
                       *chosen))
        name = std::move(previous);
    presenter_.recalculate();
}

void LoadSave::onSpeedButton5Click() {
    const auto chosen = askTapFile(true);
    if (!chosen) return;
    auto& model = session_.model;
    std::string& name = model.current().NameOfPFIR;
    std::string previous = std::exchange(name, ac::bareName(*chosen));
    if (!writeReported(fl::WritePfirTapFile(model, workspace_.resolve(*chosen)), FileKind::PfirTaps,
                       *chosen))
        name = std::move(previous);
    presenter_.recalculate();
}

void LoadSave::onSpeedButton6Click() {
    const auto chosen = askTapFile(true);
    if (!chosen) return;
    auto& model = session_.model;
    std::string& name = model.Chip.NameOfRFIR;
    std::string previous = std::exchange(name, ac::bareName(*chosen));
    if (!writeReported(fl::WriteResamplerTapFile(model, workspace_.resolve(*chosen)),
                       FileKind::RfirTaps, *chosen))
        name = std::move(previous);
    presenter_.recalculate();
}

}  // namespace gc::app
