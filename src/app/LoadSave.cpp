#include "app/LoadSave.h"

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "app/FilterKinds.h"
#include "appconfig/ConfigFile.h"
#include "appconfig/RequirementFile.h"
#include "appconfig/TapSourceFile.h"
#include "chip/ChipConfigFile.h"
#include "chip/ProgramFile.h"
#include "chip/RegisterImage.h"
#include "filters/TapFiles.h"
#include "filters/TapImport.h"
#include "filters/TapSelection.h"
#include "model/Language.h"
#include "model/TextFile.h"

namespace gc::app {

namespace ac = gc::appconfig;
namespace fl = gc::filters;
using gc::appconfig::FileKind;
using gc::appconfig::WorkspacePath;

namespace {

constexpr int kServiceKey = 347;  // FullDebug value that switches the service mode on

// Names tried for the copy of a damaged start-up file: ".bak", then ".bak.1" .. ".bak.99".
constexpr int kBackupNames = 100;

// Initial folders of the dialogs, relative to the working folder.
constexpr const char* kConfigsFolder = "CONFIGS";
constexpr const char* kFiltersFolder = "FILTERS";

// Filters of the tap-file dialogs ("text|pattern"): OpenDialog3 and SaveDialog3.
// The open dialog also offers the coefficient files of other tools, whose format the readers
// recognise from the content.
constexpr const char* kTapOpenFilter =
    "FIRFilterl(*.taps)|*.taps|%1 (*.csv *.txt *.m *.coe)|*.csv;*.txt;*.m;*.coe|%2 (*)|*";
constexpr const char* kTapSaveFilter = "CFIRFilter(*.taps)|*.taps";

// The tap-file folder beside a loaded configuration, as the reports show it.
constexpr const char* kSiblingFiltersShown = "../FILTERS/";

// A name read from a file, placed in `folder` (with its trailing "/") unless it is absolute.
std::string placeIn(const std::string& folder, const std::string& name) {
    if (!name.empty() && (name.front() == '/' || std::filesystem::path(name).is_absolute()))
        return name;
    return folder + name;
}

// Whether two names reach the same file (the second one need not exist yet). A name that
// cannot be resolved (a link that leads to itself) is compared as written.
bool sameFile(const std::string& a, const std::string& b) {
    const auto resolved = [](const std::string& name) {
        std::error_code error;
        auto path = std::filesystem::weakly_canonical(name, error);
        if (error) path = std::filesystem::absolute(name, error).lexically_normal();
        return path;
    };
    return resolved(a) == resolved(b);
}

std::vector<std::string> chipConfigReportLabels(const std::string& pathAsGiven,
                                                gc::chip::ChipConfigStatus status) {
    switch (status) {
        case gc::chip::ChipConfigStatus::Ok:
            break;
        case gc::chip::ChipConfigStatus::Missing:
            return {ac::fileKindText(FileKind::ChipConfiguration), pathAsGiven, ac::missingText()};
        case gc::chip::ChipConfigStatus::Damaged:
            return {ac::fileKindText(FileKind::ChipConfiguration), pathAsGiven, ac::damagedText()};
    }
    return {};
}

}  // namespace

LoadSave::LoadSave(Session& session, MainState& state, UiPort& ui, ChannelPlotSeam& plot,
                   MainPresenter& presenter, RequirementPresenter& requirement,
                   ac::Workspace workspace)
    : session_(session),
      state_(state),
      ui_(ui),
      plot_(plot),
      presenter_(presenter),
      requirement_(requirement),
      workspace_(std::move(workspace)) {}

// --- Shared pieces -------------------------------------------------------------------------

void LoadSave::report(std::vector<std::string> labels) {
    if (labels.empty()) return;
    ErrorReport r{ErrorWindow::ErrFileCoeff, std::move(labels)};
    if (batch_ != nullptr)
        batch_->push_back(std::move(r));
    else
        ui_.showError(r);
}

ac::ConfigReadStatus LoadSave::readConfigurationReported(const WorkspacePath& path,
                                                         int* systemError) {
    int error = 0;
    const ac::ConfigReadStatus status =
        ac::readConfiguration(path.resolved, session_.model, &error);
    report(ac::configReportLabels(path.asGiven, status, error));
    if (systemError != nullptr) *systemError = error;
    return status;
}

bool LoadSave::readChipConfigurationReported(const WorkspacePath& path) {
    const auto status = gc::chip::readChipConfiguration(path.resolved, session_.image);
    report(chipConfigReportLabels(path.asGiven, status));
    return status == gc::chip::ChipConfigStatus::Ok;
}

int LoadSave::readConfigurationTaps(const std::string& shownFolder,
                                    const std::string& resolvedFolder) {
    auto& model = session_.model;
    int reported = 0;
    // A design whose writing was cut short between its files is completed first.
    gc::model::tidyFolderBeforeReading(resolvedFolder);
    const auto reportTaps = [&](fl::TapKind kind, const std::string& name,
                                fl::TapFileStatus status) {
        if (status != fl::TapFileStatus::Ok) ++reported;
        report(fl::tapFileReportLabels(kind, placeIn(shownFolder, name), status));
    };
    for (int channel = 0; channel < gc::model::kChannelCount; ++channel) {
        const std::string& cfir = model.Channels[channel].NameOfCFIR;
        reportTaps(fl::TapKind::Cfir, cfir,
                   fl::ReadCfirTapFile(model, placeIn(resolvedFolder, cfir), channel));
        const std::string& pfir = model.Channels[channel].NameOfPFIR;
        reportTaps(fl::TapKind::Pfir, pfir,
                   fl::ReadPfirTapFile(model, placeIn(resolvedFolder, pfir), channel));
    }
    const std::string& rfir = model.Chip.NameOfRFIR;
    reportTaps(fl::TapKind::Rfir, rfir,
               fl::ReadResamplerTapFile(model, placeIn(resolvedFolder, rfir)));
    return reported;
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

bool LoadSave::writeReported(gc::model::WriteResult written, FileKind kind,
                             const std::string& pathAsGiven) {
    if (!written) report(ac::writeFailureLabels(kind, pathAsGiven, written.error));
    return static_cast<bool>(written);
}

bool LoadSave::readRequirementReported(const WorkspacePath& path) {
    gc::analysis::Requirement read;
    const ac::RequirementReadStatus status = ac::readRequirement(path.resolved, read);
    if (status == ac::RequirementReadStatus::Damaged)
        report({ac::fileKindText(FileKind::Requirement), path.asGiven, ac::damagedText()});
    requirement_.setRequirement(status == ac::RequirementReadStatus::Ok
                                    ? std::optional<gc::analysis::Requirement>(read)
                                    : std::nullopt);
    return status != ac::RequirementReadStatus::Damaged;
}

bool LoadSave::removeRequirementReported(const WorkspacePath& path) {
    return removeReported(path, FileKind::Requirement);
}

bool LoadSave::removeReported(const WorkspacePath& path, FileKind kind) {
    // The requirement file's removal keeps a folder of that name, as any file beside it must.
    if (ac::removeRequirement(path.resolved)) return true;
    report({ac::fileKindText(kind), path.asGiven, ac::notRemovedText()});
    return false;
}

ac::TapSources LoadSave::tapSources() const {
    ac::TapSources sources;
    sources.cfirFromFile = presenter_.cfirSource() == fl::TapSource::File;
    sources.pfirFromFile = presenter_.pfirSource() == fl::TapSource::File;
    sources.resamplerFromFile = presenter_.resamplerSource() == fl::TapSource::File;
    return sources;
}

void LoadSave::tickSources(const ac::TapSources& sources) {
    const auto tick = [this](FilterKind kind, bool fromFile) {
        (state_.*info(kind).tableRadio).checked = !fromFile;
        (state_.*info(kind).fileRadio).checked = fromFile;
    };
    tick(FilterKind::Cfir, sources.cfirFromFile);
    tick(FilterKind::Pfir, sources.pfirFromFile);
    tick(FilterKind::Resampler, sources.resamplerFromFile);
}

void LoadSave::chooseTapSources(const ac::TapSources& sources) {
    tickSources(sources);
    applyAllSelections();
    presenter_.recalculate();
    plot_.refreshChannelPlot();
}

bool LoadSave::readTapSourcesReported(const WorkspacePath& path) {
    ac::TapSources read;
    const ac::TapSourceReadStatus status = ac::readTapSources(path.resolved, read);
    if (status == ac::TapSourceReadStatus::Damaged)
        report({ac::fileKindText(FileKind::TapSources), path.asGiven, ac::damagedText()});
    tickSources(read);  // the tables unless the file said otherwise
    return status != ac::TapSourceReadStatus::Damaged;
}

WorkspacePath LoadSave::startupPath() const {
    return workspace_.path(ac::configsDir() + kStartupName);
}

bool LoadSave::keepDamagedStartupCopy() {
    if (!damagedStartupBytes_) return true;
    const std::string first = startupPath().asGiven + ".bak";
    gc::model::WriteResult kept{EEXIST};
    WorkspacePath backup = workspace_.path(first);
    for (int n = 0; n < kBackupNames && kept.error == EEXIST; ++n) {
        backup = workspace_.path(n == 0 ? first : first + "." + std::to_string(n));
        kept = gc::model::writeNewFile(backup.resolved, *damagedStartupBytes_);
    }
    if (!writeReported(kept, FileKind::Configuration, backup.asGiven)) return false;
    damagedStartupBytes_.reset();
    return true;
}

// --- Start and exit ------------------------------------------------------------------------

void LoadSave::start() {
    // The files missing or damaged at start-up are reported together, once start-up is done.
    std::vector<ErrorReport> reports;
    batch_ = &reports;
    startFiles();
    batch_ = nullptr;
    if (!reports.empty()) ui_.showErrors(reports);
}

void LoadSave::startFiles() {
    auto& model = session_.model;

    // 1. The start-up configuration. A damaged one is kept aside so that the exit, which
    // rewrites it, does not lose what was typed into it by hand.
    const WorkspacePath startup = startupPath();
    gc::model::tidyFolderBeforeReading(workspace_.resolve(ac::configsDir()));
    switch (readConfigurationReported(startup, &startupError_)) {
        case ac::ConfigReadStatus::Ok:
        case ac::ConfigReadStatus::Missing:
            break;
        case ac::ConfigReadStatus::Unreadable:
            startupUntouchable_ = true;
            break;
        case ac::ConfigReadStatus::Damaged:
            // A name refused unread (no regular file, far too large) has no bytes to keep.
            damagedStartupBytes_ = gc::model::readFileBytes(startup.resolved);
            startupUntouchable_ = !damagedStartupBytes_;
            break;
    }
    // 2. The chip configuration it names, from the same folder.
    readChipConfigurationReported(workspace_.path(placeIn(ac::configsDir(), model.Chip.NameOfCFG)));
    // 3. Service mode; FullDebug stays 0 in memory until the exit.
    model.Work.ServiceMode = model.Chip.FullDebug == kServiceKey;
    model.Work.SavedFullDebug = model.Chip.FullDebug;
    model.Chip.FullDebug = 0;
    // 4, 5. The nine tap files.
    readConfigurationTaps(ac::filtersDir(), workspace_.resolve(ac::filtersDir()));
    // 6. The taps in use, from the sources kept beside the start-up configuration.
    startupSourcesDamaged_ =
        !readTapSourcesReported(workspace_.path(ac::tapSourcePath(startup.asGiven)));
    applyAllSelections();
    // 8.
    model.Work.ConfigFileName = kStartupName;
    // 9, 10. The first draw after the window is on screen and the working folder are the
    // window's and the workspace's business.
    presenter_.applyOutputMode();
    presenter_.recalculate();
    // The requirement kept beside the start-up configuration.
    startupRequirementDamaged_ =
        !readRequirementReported(workspace_.path(ac::requirementPath(startup.asGiven)));
    // 7. The responses follow the recalculation: the decimation they are drawn for is the
    // one recalculate derives from the loaded channel, not the defaults' one.
    plot_.computeCicResponse();
    plot_.refreshChannelPlot();
    markUnmodified();
}

void LoadSave::exit() {
    auto& model = session_.model;
    const WorkspacePath startup = startupPath();
    model.Chip.FullDebug = model.Work.SavedFullDebug;
    if (startupUntouchable_) {
        report(ac::writeFailureLabels(FileKind::Configuration, startup.asGiven, startupError_));
        return;
    }
    if (!keepDamagedStartupCopy()) {
        report(ac::writeFailureLabels(FileKind::Configuration, startup.asGiven));
        return;
    }
    // A working folder without "CONFIGS" gets one, so that the settings of this run are kept
    // (a working folder that has gone is not made again).
    std::error_code folderError;
    std::filesystem::create_directory(std::filesystem::path(startup.resolved).parent_path(),
                                      folderError);
    (void)writeReported(ac::writeConfiguration(startup.resolved, model), FileKind::Configuration,
                        startup.asGiven);
    const WorkspacePath req = workspace_.path(ac::requirementPath(startup.asGiven));
    if (const auto& r = requirement_.requirement())
        (void)writeReported(gc::model::writeFileAtomically(req.resolved, ac::requirementText(*r)),
                            FileKind::Requirement, req.asGiven);
    else if (!startupRequirementDamaged_)
        (void)removeRequirementReported(req);
    const WorkspacePath src = workspace_.path(ac::tapSourcePath(startup.asGiven));
    if (const ac::TapSources sources = tapSources(); sources.anyFromFile())
        (void)writeReported(
            gc::model::writeFileAtomically(src.resolved, ac::tapSourceText(sources)),
            FileKind::TapSources, src.asGiven);
    else if (!startupSourcesDamaged_)
        (void)removeReported(src, FileKind::TapSources);
}

// --- "Считать" and "Записать" -------------------------------------------------------------

void LoadSave::onButton5Click() {
    const auto chosen = ui_.askOpenFile({"*.trv", "", kConfigsFolder});
    if (!chosen) return;
    loadConfiguration(*chosen);
}

LoadSave::LoadResult LoadSave::loadConfiguration(const std::string& path) {
    auto& model = session_.model;
    LoadResult result;
    const std::string resolved = workspace_.resolve(path);
    const std::string name = ac::bareName(path);
    const std::string folder = ac::folderOf(resolved);
    model.Work.ConfigFileName = name;

    // Shown as the program names them from the chosen file's folder, after completing a set
    // whose writing was cut short there.
    gc::model::tidyFolderBeforeReading(folder);
    result.configuration = readConfigurationReported({name, resolved});
    if (!readChipConfigurationReported(
            {model.Chip.NameOfCFG, placeIn(folder, model.Chip.NameOfCFG)}))
        ++result.otherFilesReported;
    result.otherFilesReported +=
        readConfigurationTaps(kSiblingFiltersShown, ac::siblingFilters(resolved));
    if (!readTapSourcesReported({ac::tapSourcePath(name), ac::tapSourcePath(resolved)}))
        ++result.otherFilesReported;
    applyAllSelections();
    plot_.computeCicResponse();

    // The output block depends on the number of enabled channels, which recalculate derives
    // from the loaded masks; without the first pass it would follow the previous configuration.
    presenter_.recalculate();
    presenter_.applyOutputMode();
    presenter_.recalculate();
    plot_.refreshChannelPlot();
    presenter_.refreshOpenEditors();
    if (!readRequirementReported({ac::requirementPath(name), ac::requirementPath(resolved)}))
        ++result.otherFilesReported;
    if (session_.isOpen(Window::Requirement)) ui_.refreshWindow(Window::Requirement);
    markUnmodified();
    return result;
}

void LoadSave::onButton6Click() {
    // A report left open by the previous attempt would describe a state that may be gone.
    ui_.closeSaveReports();
    if (!presenter_.runSaveChecks()) return;
    const auto chosen = ui_.askSaveFile({"*.trv", "trv", kConfigsFolder});
    if (!chosen) return;
    (void)saveConfiguration(*chosen);
}

bool LoadSave::saveConfiguration(const std::string& path) {
    auto& model = session_.model;
    const WorkspacePath trv = workspace_.path(path);
    model.Work.ConfigFileName = ac::bareName(path);
    const WorkspacePath cfg{ac::replaceExtension(trv.asGiven, ".cfg"),
                            ac::replaceExtension(trv.resolved, ".cfg")};
    const WorkspacePath prg{ac::replaceExtension(trv.asGiven, ".prg"),
                            ac::replaceExtension(trv.resolved, ".prg")};
    const WorkspacePath req{ac::requirementPath(trv.asGiven), ac::requirementPath(trv.resolved)};
    const std::optional<gc::analysis::Requirement>& requirement = requirement_.requirement();
    const WorkspacePath src{ac::tapSourcePath(trv.asGiven), ac::tapSourcePath(trv.resolved)};
    const ac::TapSources sources = tapSources();

    // The texts first (the configuration text stores the table selections, the image is built
    // from the model), then the three files as one set.
    std::string trvText = ac::configurationText(model);
    gc::chip::buildRegisterImage(model, session_.image);
    std::vector<std::pair<std::string, std::string>> set{
        {trv.resolved, std::move(trvText)},
        {cfg.resolved, gc::chip::chipConfigurationText(session_.image)},
        {prg.resolved, gc::chip::programFileText(model, session_.image)}};
    std::vector<const WorkspacePath*> shown{&trv, &cfg, &prg};
    std::vector<FileKind> kinds{FileKind::Configuration, FileKind::ChipConfiguration,
                                FileKind::Program};
    if (requirement) {
        set.emplace_back(req.resolved, ac::requirementText(*requirement));
        shown.push_back(&req);
        kinds.push_back(FileKind::Requirement);
    }
    if (sources.anyFromFile()) {
        set.emplace_back(src.resolved, ac::tapSourceText(sources));
        shown.push_back(&src);
        kinds.push_back(FileKind::TapSources);
    }

    const bool ontoStartup = (damagedStartupBytes_ || startupUntouchable_) &&
                             sameFile(trv.resolved, startupPath().resolved);
    bool written = false;
    if (!ontoStartup || keepDamagedStartupCopy()) {
        const gc::model::SetWriteResult result = gc::model::writeFileSet(set);
        written = static_cast<bool>(result);
        if (!written) {
            for (size_t i = 0; i < set.size(); ++i)
                report(ac::writeFailureLabels(kinds[i], shown[i]->asGiven,
                                              i == result.failed ? result.files[i].error : 0));
        }
    } else {
        for (size_t i = 0; i < set.size(); ++i)
            report(ac::writeFailureLabels(kinds[i], shown[i]->asGiven));
    }
    // A requirement file left from an earlier save would come back with this configuration.
    if (written && !requirement) written = removeRequirementReported(req);
    // Likewise a file-source choice: without one the next "Считать" takes the tables.
    if (written && !sources.anyFromFile()) written = removeReported(src, FileKind::TapSources);
    // The user chose to replace the start-up file, and it now holds what the program wrote.
    if (written && ontoStartup) {
        startupUntouchable_ = false;
        startupError_ = 0;
    }
    if (written && sameFile(trv.resolved, startupPath().resolved)) {
        startupRequirementDamaged_ = false;
        startupSourcesDamaged_ = false;
    }

    presenter_.recalculate();
    if (written) markUnmodified();
    return written;
}

// What "Записать" would write, against which the title's "*" compares: the configuration as its
// file would hold it (from a copy: configurationText stores the table selections into the model
// it is given), then the requirement kept beside it. Whatever else is saved with the
// configuration belongs here too.
std::string LoadSave::currentText() const {
    gc::model::ConfigurationModel copy = session_.model;
    std::string text = ac::configurationText(copy);
    text += '\0';
    if (const auto& requirement = requirement_.requirement())
        text += ac::requirementText(*requirement);
    return text;
}

void LoadSave::markUnmodified() {
    lastText_ = currentText();
    lastSources_ = tapSources();
}

bool LoadSave::modified() const {
    return currentText() != lastText_ || tapSources() != lastSources_;
}

// --- Tap files -----------------------------------------------------------------------------

std::optional<std::string> LoadSave::askTapFile(bool save) {
    if (save) return ui_.askSaveFile({kTapSaveFilter, "taps", kFiltersFolder});
    const std::string filter =
        gc::model::tx(kTapOpenFilter,
                      {gc::model::tx("Коэффициенты других программ"), gc::model::tx("Все файлы")});
    return ui_.askOpenFile({filter, "tbl", kFiltersFolder});
}

// This program's own tap files are reported as they always were; a file of another tool also
// says which line failed, or what its import did (the scaling, the gain, the symmetry).
void LoadSave::reportTapRead(fl::TapKind kind, const std::string& name, fl::TapFileStatus status,
                             const fl::TapImport& detail) {
    report(fl::tapFileReportLabels(kind, name, status));
    if (status == fl::TapFileStatus::Missing || detail.format == fl::TapTextFormat::TapFile) return;
    if (status == fl::TapFileStatus::Damaged) {
        if (!detail.error.empty()) ui_.showConversionError(name + ": " + detail.error);
        return;
    }
    std::vector<std::string> lines{name};
    for (std::string& line : fl::tapImportSummary(detail, kind)) lines.push_back(std::move(line));
    ui_.showNotice(lines);
}

void LoadSave::onSpeedButton1Click() {
    const auto chosen = askTapFile(false);
    if (!chosen) return;
    auto& model = session_.model;
    const int channel = model.currentIndex();
    const std::string name = ac::bareName(*chosen);
    fl::TapImport detail;
    const auto status = fl::ReadCfirTapFile(model, workspace_.resolve(*chosen), channel, &detail);
    reportTapRead(fl::TapKind::Cfir, name, status, detail);
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
    fl::TapImport detail;
    const auto status = fl::ReadPfirTapFile(model, workspace_.resolve(*chosen), channel, &detail);
    reportTapRead(fl::TapKind::Pfir, name, status, detail);
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
    fl::TapImport detail;
    const auto status = fl::ReadResamplerTapFile(model, workspace_.resolve(*chosen), &detail);
    reportTapRead(fl::TapKind::Rfir, name, status, detail);
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
