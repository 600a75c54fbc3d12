#include "app/WorkingFolder.h"

#include <filesystem>
#include <optional>
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

namespace fl = gc::filters;
using gc::appconfig::FileKind;

// The start from defaults reports nothing and asks nothing; a port that does neither.
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
void planTapFiles(const std::string& folder, std::vector<FolderFile>& files) {
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

std::vector<FolderFile> workingFolderFiles(const std::string& dir) {
    const std::string configs = dir + "/" + gc::appconfig::configsDir();
    const std::string filters = dir + "/" + gc::appconfig::filtersDir();

    // The defaults as the program would write them at exit after a start without files.
    SilentUi ui;
    Program program(ui, gc::appconfig::Workspace(dir));
    program.presenter.startWithDefaults();
    Session& session = program.session;
    gc::chip::buildRegisterImage(session.model, session.image);

    std::vector<FolderFile> files;
    files.push_back({configs + "std.trv", gc::appconfig::configurationText(session.model),
                     FileKind::Configuration});
    files.push_back({configs + session.model.Chip.NameOfCFG,
                     gc::chip::chipConfigurationText(session.image), FileKind::ChipConfiguration});
    planTapFiles(filters, files);
    return files;
}

bool writeWorkingFolder(const std::string& dir, const std::vector<FolderFile>& files, UiPort& ui) {
    std::error_code ignored;  // a folder that cannot be made shows up as files not written
    std::filesystem::create_directories(dir + "/" + gc::appconfig::configsDir(), ignored);
    std::filesystem::create_directories(dir + "/" + gc::appconfig::filtersDir(), ignored);
    bool allWritten = true;
    for (const FolderFile& file : files) {
        const gc::model::WriteResult written = gc::model::writeFileAtomically(file.path, file.text);
        if (written) continue;
        ui.showError({ErrorWindow::ErrFileCoeff,
                      gc::appconfig::writeFailureLabels(file.kind, file.path, written.error)});
        allWritten = false;
    }
    return allWritten;
}

}  // namespace gc::app
