#pragma once
// The main window's file roads: start-up and exit with "CONFIGS/std.trv", "Считать" and
// "Записать" of a named configuration with its chip files, and the six tap-file speed buttons.
// Names are resolved against the working folder of the run (no chdir); the error windows show
// each name the way the road was given it.
#include <optional>
#include <string>
#include <vector>

#include "app/ChannelPlotSeam.h"
#include "app/MainPresenter.h"
#include "app/MainState.h"
#include "app/Session.h"
#include "app/UiPort.h"
#include "appconfig/ConfigFile.h"
#include "appconfig/Reports.h"
#include "appconfig/Workspace.h"

namespace gc::app {

class LoadSave {
  public:
    LoadSave(Session& session, MainState& state, UiPort& ui, ChannelPlotSeam& plot,
             MainPresenter& presenter, gc::appconfig::Workspace workspace);

    // First show of the main window: "CONFIGS/std.trv", its chip configuration, the service
    // mode, the nine tap files from "FILTERS/", the taps in use, the responses, the output
    // block and the first recalculation.
    void start();
    // The main window closes: FullDebug gets its start-up value back and "CONFIGS/std.trv" is
    // rewritten, whatever changed. A start-up file that was reported damaged is first kept as
    // "CONFIGS/std.trv.bak"; if that copy cannot be written, std.trv is left as it is.
    void exit();

    // Button5 "Считать": asks for a "*.trv" file, then loadConfiguration.
    void onButton5Click();
    // Button6 "Записать": the save-time checks, then asks for a name, then saveConfiguration.
    void onButton6Click();

    // Tap files of the current channel (CFIR, PFIR) and of the resampler.
    void onSpeedButton1Click();   // read CFIR taps
    void onSpeedButton2Click();   // read PFIR taps
    void onSpeedButton3Click();   // read resampler taps
    void onSpeedButton10Click();  // write CFIR taps
    void onSpeedButton5Click();   // write PFIR taps
    void onSpeedButton6Click();   // write resampler taps

    // The "Считать" road for a chosen file (relative names against the working folder): the
    // configuration, the chip configuration named by NameOfCFG from the same folder, the tap
    // files from the "FILTERS" folder beside it, the taps in use of all four channels, the
    // responses, the output block, recalculate, and the filter control editor if open.
    void loadConfiguration(const std::string& path);
    // The "Записать" road after the name was chosen: NAME.trv, buildRegisterImage, NAME.cfg
    // and NAME.prg beside it (the extension replaced from the last dot), recalculate. Does not
    // run the save-time checks (callers do, as onButton6Click does). Each file that cannot be
    // written is reported; true when all three were written.
    [[nodiscard]] bool saveConfiguration(const std::string& path);

    // The start-up configuration, as the loadSave name it.
    static constexpr const char* kStartupName = "std.trv";

  private:
    // Shows TErrFileCoeff with `labels`; nothing for none.
    void report(std::vector<std::string> labels);
    [[nodiscard]] gc::appconfig::WorkspacePath startupPath() const;
    gc::appconfig::ConfigReadStatus readConfigurationReported(
        const gc::appconfig::WorkspacePath& path);
    void readChipConfigurationReported(const gc::appconfig::WorkspacePath& path);
    // The nine tap files: CFIR and PFIR of channels 0..3, then the resampler. `shownFolder`
    // goes into the reports, `resolvedFolder` is read.
    void readConfigurationTaps(const std::string& shownFolder, const std::string& resolvedFolder);
    // The taps in use of all four channels and of the resampler from their chosen sources.
    void applyAllSelections();
    // Reports a file that could not be written; returns `written`.
    bool writeReported(bool written, gc::appconfig::FileKind kind, const std::string& pathAsGiven);
    // Writes the bytes of a damaged start-up file to "CONFIGS/std.trv.bak" once; false (and
    // reported) when that copy cannot be written.
    [[nodiscard]] bool keepDamagedStartupCopy();
    [[nodiscard]] std::optional<std::string> askTapFile(bool save);

    Session& session_;
    MainState& state_;
    UiPort& ui_;
    ChannelPlotSeam& plot_;
    MainPresenter& presenter_;
    gc::appconfig::Workspace workspace_;
    // The bytes of a start-up "std.trv" that was reported damaged, until they are kept.
    std::optional<std::string> damagedStartupBytes_;
};

}  // namespace gc::app
