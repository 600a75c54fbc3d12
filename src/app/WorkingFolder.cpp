#include "app/WorkingFolder.h"

#include <filesystem>
#include <system_error>

#include "app/Program.h"
#include "appconfig/ConfigFile.h"
#include "appconfig/Workspace.h"
#include "chip/ChipConfigFile.h"
#include "chip/RegisterImage.h"
#include "filters/FilterTables.h"
#include "filters/TapFiles.h"
#include "filters/TapSelection.h"
#include "model/TextFile.h"

namespace gc::app {

namespace {

namespace fs = std::filesystem;
namespace fl = gc::filters;
using gc::appconfig::FileKind;

// Reports nothing: the defaults read no file.
class SilentUi final : public UiPort {
  public:
    void showError(const ErrorReport&) override {}
    void showConversionError(const std::string&) override {}
    std::optional<std::string> askOpenFile(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> askSaveFile(const FileDialogRequest&) override { return {}; }
    void showWindow(Window) override {}
    void refreshWindow(Window) override {}
    void repaintChannelPlot() override {}
};

bool fitsBits(const int* taps, int count, int bits) {
    const long long high = (1LL << (bits - 1)) - 1;
    const long long low = -(1LL << (bits - 1));
    for (int i = 0; i < count; ++i) {
        if (taps[i] < low || taps[i] > high) return false;
    }
    return true;
}

// Each library set as a tap file of its full filter, in the order of the selection lists;
// sets that do not fit the chip's coefficient width are left out.
void addTapFiles(const std::string& folder, std::vector<WorkingFolderFile>& files) {
    gc::model::ConfigurationModel scratch;
    gc::chip::RegisterImage image;
    for (int i = 0; i < fl::kCfirSetCount; ++i) {
        scratch.Work.CfirSelection[0] = i;
        fl::ApplyCfirSelectionFor(scratch, 0, fl::TapSource::Table);
        const auto& taps = scratch.CfirTaps[0];
        if (!fitsBits(taps.data(), gc::model::kCfirTapCount, fl::kFirTapBits)) continue;
        files.push_back({folder + std::string(fl::cfirLibrary()[i].name) + ".taps",
                         fl::tapFileText(taps.data(), gc::model::kCfirTapCount),
                         FileKind::CfirTaps});
    }
    for (int i = 0; i < fl::kPfirSetCount; ++i) {
        scratch.Work.PfirSelection[0] = i;
        fl::ApplyPfirSelectionFor(scratch, 0, fl::TapSource::Table);
        const auto& taps = scratch.PfirTaps[0];
        if (!fitsBits(taps.data(), gc::model::kPfirTapCount, fl::kFirTapBits)) continue;
        files.push_back({folder + std::string(fl::pfirLibrary()[i].name) + ".taps",
                         fl::tapFileText(taps.data(), gc::model::kPfirTapCount),
                         FileKind::PfirTaps});
    }
    for (int i = 0; i < fl::kResamplerSetCount; ++i) {
        scratch.Work.RfirSelection = i;
        fl::ApplyResamplerSelection(scratch, image, fl::TapSource::Table);
        // The set's own length: the one-tap bypass stays one tap, so that reading the file
        // back gives the same filter as the table.
        const int count = fl::resamplerLibrary()[i].tapCount;
        const int* taps = scratch.ResamplerTaps.data();
        if (!fitsBits(taps, count, fl::kResamplerTapBits)) continue;
        files.push_back({folder + std::string(fl::resamplerLibrary()[i].name) + ".taps",
                         fl::tapFileText(taps, count), FileKind::RfirTaps});
    }
}

}  // namespace

std::vector<WorkingFolderFile> workingFolderFiles(const std::string& dir) {
    const std::string configs = dir + "/" + gc::appconfig::configsDir();
    const std::string filters = dir + "/" + gc::appconfig::filtersDir();

    // The defaults as the program would write them at exit after a start without files.
    SilentUi ui;
    Program program(ui, gc::appconfig::Workspace::atCurrentFolder());
    program.presenter.startWithDefaults();
    Session& session = program.session;
    gc::chip::buildRegisterImage(session.model, session.image);

    std::vector<WorkingFolderFile> files;
    files.push_back({configs + "std.trv", gc::appconfig::configurationText(session.model),
                     FileKind::Configuration});
    files.push_back({configs + session.model.Chip.NameOfCFG,
                     gc::chip::chipConfigurationText(session.image), FileKind::ChipConfiguration});
    addTapFiles(filters, files);
    return files;
}

std::vector<std::string> existingFiles(const std::vector<WorkingFolderFile>& files) {
    std::vector<std::string> existing;
    for (const WorkingFolderFile& file : files) {
        std::error_code error;
        if (fs::exists(file.path, error) || error) existing.push_back(file.path);
    }
    return existing;
}

bool writeWorkingFolder(const std::vector<WorkingFolderFile>& files, UiPort& ui) {
    bool allWritten = true;
    for (const WorkingFolderFile& file : files) {
        std::error_code ignored;  // a folder that cannot be made shows up as a file not written
        fs::create_directories(fs::path(file.path).parent_path(), ignored);
        const gc::model::WriteResult written = gc::model::writeFileAtomically(file.path, file.text);
        if (written) continue;
        ui.showError({ErrorWindow::ErrFileCoeff,
                      gc::appconfig::writeFailureLabels(file.kind, file.path, written.error)});
        allWritten = false;
    }
    return allWritten;
}

}  // namespace gc::app
