#pragma once
// The main window's loading and saving: start-up and exit with "CONFIGS/std.trv", "Считать" and
// "Записать" of a named configuration with its chip files, and the six tap-file speed buttons.
// Names are resolved against the working folder of the run (no chdir); the error windows show
// each name the way the road was given it.
#include <optional>
#include <string>
#include <vector>

#include "app/ChannelPlotSeam.h"
#include "app/MainPresenter.h"
#include "app/MainState.h"
#include "app/RequirementPresenter.h"
#include "app/Session.h"
#include "app/UiPort.h"
#include "appconfig/ConfigFile.h"
#include "appconfig/Reports.h"
#include "appconfig/TapSourceFile.h"
#include "appconfig/Workspace.h"
#include "filters/TapImport.h"

namespace gc::app {

class LoadSave {
  public:
    // `requirement` holds the channel requirement that travels with the configuration as
    // NAME.req beside NAME.trv.
    LoadSave(Session& session, MainState& state, UiPort& ui, ChannelPlotSeam& plot,
             MainPresenter& presenter, RequirementPresenter& requirement,
             gc::appconfig::Workspace workspace);

    // First show of the main window: "CONFIGS/std.trv", its chip configuration, the service
    // mode, the nine tap files from "FILTERS/", the file-source choice "CONFIGS/std.src", the
    // taps in use, the responses, the output block and the first recalculation; then the
    // requirement "CONFIGS/std.req" when there is one (a damaged one is reported and means
    // none). Sets whose writing was cut short in "CONFIGS/" or "FILTERS/" are completed first.
    // The files reported missing or damaged are reported together at the end
    // (UiPort::showErrors).
    void start();
    // The main window closes: FullDebug gets its start-up value back and "CONFIGS/std.trv" is
    // rewritten, whatever changed ("CONFIGS" is made when it is missing). A start-up file that was
    // reported damaged is first kept as "CONFIGS/std.trv.bak", or under the next free name
    // "std.trv.bak.1", "std.trv.bak.2" ... (an existing copy is never overwritten); if no copy can
    // be written, std.trv is left as it is. A start-up file that exists but could not be read, or
    // was refused unread (no regular file, far too large), is never overwritten: the exit reports
    // it not written.
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
    // responses, the output block, recalculate, and the filter control editor if open; then the
    // requirement NAME.req beside it (none when there is no such file; a damaged one is
    // reported and means none). The file-source choice NAME.src beside it ticks the radio
    // buttons before the taps in use are put together (see tapSources).
    // Returns what was read: the configuration's own status and how many of the other files
    // (chip configuration, tap files, requirement) were reported missing or damaged.
    struct LoadResult {
        gc::appconfig::ConfigReadStatus configuration{gc::appconfig::ConfigReadStatus::Ok};
        int otherFilesReported{0};
    };
    LoadResult loadConfiguration(const std::string& path);
    // The "Записать" road after the name was chosen: NAME.trv, buildRegisterImage, NAME.cfg
    // and NAME.prg beside it (the extension replaced from the last dot), with NAME.req when
    // there is a requirement and NAME.src when some filter takes its taps from its file,
    // recalculate. Does not run the save-time checks (callers do, as
    // onButton6Click does). The files are one set: all are written as temporary files before
    // any replaces its old file, so a failure leaves the whole previous set. Each file not
    // written is reported, the one that failed with the system's reason. Without a requirement
    // an old NAME.req is removed once the set is written, so it cannot come back with a
    // configuration it was not saved with (NAME.src likewise). True when all were written.
    [[nodiscard]] bool saveConfiguration(const std::string& path);

    // The file-source choice of the three radio button pairs (table or tap file). It travels
    // with the configuration as NAME.src beside NAME.trv: read by the start-up and "Считать"
    // before the taps in use are put together (no file: the tables; a damaged one is reported
    // and means the tables), written by the exit and "Записать" when some filter takes its
    // taps from a file, and removed there when none does.
    [[nodiscard]] gc::appconfig::TapSources tapSources() const;
    // Ticks the radio buttons as `sources` says and puts the taps in use of all four channels
    // and of the resampler together again from them, then recalculates.
    void chooseTapSources(const gc::appconfig::TapSources& sources);

    // Whether the configuration, its requirement or its file-source choice differs from what
    // was last read (start-up, "Считать") or written ("Записать"), as their files would hold
    // them.
    [[nodiscard]] bool modified() const;
    // The configuration as it stands counts as read or written.
    void markUnmodified();

    // The start-up configuration, as the loadSave name it.
    static constexpr const char* kStartupName = "std.trv";

  private:
    // Shows TErrFileCoeff with `labels` (or adds it to the reports being gathered); nothing for
    // none.
    void report(std::vector<std::string> labels);
    // The files of start(), their reports gathered.
    void startFiles();
    [[nodiscard]] gc::appconfig::WorkspacePath startupPath() const;
    gc::appconfig::ConfigReadStatus readConfigurationReported(
        const gc::appconfig::WorkspacePath& path, int* systemError = nullptr);
    // True when the file was read.
    bool readChipConfigurationReported(const gc::appconfig::WorkspacePath& path);
    // The nine tap files: CFIR and PFIR of channels 0..3, then the resampler. `shownFolder`
    // goes into the reports, `resolvedFolder` is read. Returns how many were reported.
    int readConfigurationTaps(const std::string& shownFolder, const std::string& resolvedFolder);
    // The taps in use of all four channels and of the resampler from their chosen sources.
    void applyAllSelections();
    // Reports a file that could not be written, with the system's reason; true when written.
    bool writeReported(gc::model::WriteResult written, gc::appconfig::FileKind kind,
                       const std::string& pathAsGiven);
    // Writes the bytes of a damaged start-up file once, to "CONFIGS/std.trv.bak" or the next
    // free name after it; false (and reported) when no copy can be written.
    [[nodiscard]] bool keepDamagedStartupCopy();
    [[nodiscard]] std::optional<std::string> askTapFile(bool save);
    void reportTapRead(gc::filters::TapKind kind, const std::string& name,
                       gc::filters::TapFileStatus status, const gc::filters::TapImport& detail);
    // Reads the requirement at `path` into the requirement presenter (none when missing or
    // damaged); reports a damaged one and returns false for it.
    bool readRequirementReported(const gc::appconfig::WorkspacePath& path);
    // Removes the requirement file at `path`; reports and returns false when it stays.
    bool removeRequirementReported(const gc::appconfig::WorkspacePath& path);
    // Reads NAME.src at `path` into the radio buttons (the tables when missing or damaged);
    // reports a damaged one and returns false for it. The taps in use are not touched.
    bool readTapSourcesReported(const gc::appconfig::WorkspacePath& path);
    // The radio buttons as `sources` says.
    void tickSources(const gc::appconfig::TapSources& sources);
    // Removes the file at `path` of `kind`; reports and returns false when it stays.
    bool removeReported(const gc::appconfig::WorkspacePath& path, gc::appconfig::FileKind kind);

    Session& session_;
    MainState& state_;
    UiPort& ui_;
    ChannelPlotSeam& plot_;
    MainPresenter& presenter_;
    RequirementPresenter& requirement_;
    gc::appconfig::Workspace workspace_;
    // The bytes of a start-up "std.trv" that was reported damaged, until they are kept.
    std::optional<std::string> damagedStartupBytes_;
    // A start-up "std.trv" that exists but was not read (unreadable, no regular file, far too
    // large, or damaged and its bytes could not be kept): the exit leaves it alone.
    bool startupUntouchable_{false};
    int startupError_{0};  // the system's reason it could not be read, if any
    // "CONFIGS/std.req" was reported damaged at start-up and nothing has replaced it since.
    bool startupRequirementDamaged_{false};
    // The same for "CONFIGS/std.src".
    bool startupSourcesDamaged_{false};
    // The file-source choice at the last read or write.
    gc::appconfig::TapSources lastSources_;
    // Where report() gathers the reports of start-up; null: each is shown at once.
    std::vector<ErrorReport>* batch_{nullptr};
    // The configuration file text at the last read or write, against which modified() compares.
    std::string lastText_;
    [[nodiscard]] std::string currentText() const;
};

}  // namespace gc::app
