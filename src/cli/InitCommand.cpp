// gc4016-cli init: a working folder the configurator starts from without a single report:
// CONFIGS/std.trv and CONFIGS/sinc.cfg of the built-in defaults and FILTERS/ with the built-in
// coefficient sets as tap files.
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "app/Session.h"
#include "appconfig/ConfigFile.h"
#include "appconfig/Reports.h"
#include "appconfig/Workspace.h"
#include "chip/ChipConfigFile.h"
#include "chip/RegisterImage.h"
#include "cli/CliSupport.h"
#include "filters/FilterTables.h"
#include "filters/TapFiles.h"
#include "filters/TapSelection.h"
#include "model/TextFile.h"

namespace gc::cli {

namespace {

namespace fs = std::filesystem;
namespace fl = gc::filters;
using gc::appconfig::FileKind;

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

constexpr const char* kInitUsage =
    "usage: gc4016-cli init DIR [--force]\n"
    "\n"
    "Makes DIR a working folder of the configurator:\n"
    "  DIR/CONFIGS/std.trv   the start-up configuration of the built-in defaults\n"
    "  DIR/CONFIGS/sinc.cfg  the chip configuration it names, built from the same defaults\n"
    "  DIR/FILTERS/NAME.taps every built-in CFIR, PFIR and resampler set whose taps fit the\n"
    "                        chip's coefficient width (16 bits CFIR/PFIR, 12 bits resampler)\n"
    "\n"
    "Existing files are not overwritten unless --force is given. Exit status: 0 written,\n"
    "1 a file exists or cannot be written, 2 wrong usage.\n";

int usageError(const std::string& message) {
    std::cerr << "init: " << message << "\n\n" << kInitUsage;
    return kUsage;
}

struct PlannedFile {
    std::string path;
    std::string text;
    FileKind kind;
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
void planTapFiles(const std::string& folder, std::vector<PlannedFile>& files) {
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

int runInit(const std::vector<std::string>& args) {
    std::string dir;
    bool force = false;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::cout << kInitUsage;
            return kOk;
        }
        if (arg == "--force") {
            force = true;
        } else if (!arg.empty() && arg.front() == '-') {
            return usageError("unknown option " + arg);
        } else if (dir.empty()) {
            dir = arg;
        } else {
            return usageError("one folder only, extra: " + arg);
        }
    }
    if (dir.empty()) return usageError("no folder given");

    const std::string configs = dir + "/" + gc::appconfig::configsDir();
    const std::string filters = dir + "/" + gc::appconfig::filtersDir();

    // The defaults as the program would write them at exit after a start without files.
    Engine engine(gc::appconfig::Workspace::atCurrentFolder());
    engine.presenter.startWithDefaults();
    gc::app::Session& session = engine.session;
    gc::chip::buildRegisterImage(session.model, session.image);

    std::vector<PlannedFile> files;
    files.push_back({configs + "std.trv", gc::appconfig::configurationText(session.model),
                     FileKind::Configuration});
    files.push_back({configs + session.model.Chip.NameOfCFG,
                     gc::chip::chipConfigurationText(session.image), FileKind::ChipConfiguration});
    planTapFiles(filters, files);

    if (!force) {
        bool exists = false;
        for (const PlannedFile& file : files) {
            std::error_code error;
            if (fs::exists(file.path, error) || error) {
                std::cerr << "init: " << file.path << " exists\n";
                exists = true;
            }
        }
        if (exists) {
            std::cerr << "init: nothing written; --force overwrites\n";
            return kFailed;
        }
    }

    std::error_code ignored;  // a folder that cannot be made shows up as files not written
    fs::create_directories(configs, ignored);
    fs::create_directories(filters, ignored);
    bool allWritten = true;
    for (const PlannedFile& file : files) {
        const gc::model::WriteResult written = gc::model::writeFileAtomically(file.path, file.text);
        if (written) continue;
        engine.ui.showError(
            {gc::app::ErrorWindow::ErrFileCoeff,
             gc::appconfig::writeFailureLabels(file.kind, file.path, written.error)});
        allWritten = false;
    }
    return allWritten ? kOk : kFailed;
}

}  // namespace

extern const Command kInitCommand{
    "init", "make DIR a working folder: CONFIGS/std.trv, CONFIGS/sinc.cfg and FILTERS/*.taps",
    &runInit};

}  // namespace gc::cli
