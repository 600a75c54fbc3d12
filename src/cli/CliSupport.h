#pragma once
// Pieces shared by the commands of gc4016-cli: a UiPort that writes reports
// to the error stream, a channel plot that draws nowhere, and the printing of the main window.
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ChannelPlotPresenter.h"
#include "app/ChannelPlotSeam.h"
#include "app/LoadSave.h"
#include "app/MainPresenter.h"
#include "app/MainState.h"
#include "app/Program.h"
#include "app/Session.h"
#include "app/UiPort.h"
#include "appconfig/Workspace.h"

namespace gc::cli {

// A help text in the interface language: the help is written in English and names the main
// window's controls by their Russian captions in double quotes; each such caption is replaced
// by its text in the interface language.
[[nodiscard]] std::string localisedHelp(std::string_view text);

// Reports go to the error stream, one line each: an error window's labels joined by single
// blanks, a conversion error's message. File dialogs answer with the paths set beforehand
// (nothing by default); windows are not shown.
class CliUi : public gc::app::UiPort {
  public:
    explicit CliUi(std::ostream& err);

    void showError(const gc::app::ErrorReport& report) override;
    void showConversionError(const std::string& message) override;
    std::optional<std::string> askOpenFile(const gc::app::FileDialogRequest& request) override;
    std::optional<std::string> askSaveFile(const gc::app::FileDialogRequest& request) override;
    void showWindow(gc::app::Window window) override;
    void refreshWindow(gc::app::Window window) override;
    void repaintChannelPlot() override;

    std::optional<std::string> openPath;  // answer of askOpenFile
    std::optional<std::string> savePath;  // answer of askSaveFile
    int reportCount{0};                   // reports written so far

  private:
    std::ostream& err_;
};

// A report's labels joined by single blanks, one line on the error stream, as CliUi prints the
// window's reports.
void printReport(const std::vector<std::string>& labels);

// --file-source: where the taps of each filter come from, overriding the choice saved with the
// configuration (NAME.src); a filter not named keeps that choice. true: the tap file, false:
// the built-in table.
struct FileSources {
    std::optional<bool> cfir;
    std::optional<bool> pfir;
    std::optional<bool> rfir;
};
// Adds the items of a comma-separated list to `sources`: "KIND" (its tap file) or "KIND=file" or
// "KIND=table", KIND one of cfir, pfir, rfir (also "resampler") or "all"; a later item wins.
// False on an empty list or an unknown item.
[[nodiscard]] bool parseFileSources(const std::string& list, FileSources& sources);

// A CONFIG argument that names a folder (or ends in "/") is wrong usage, not a missing file.
[[nodiscard]] bool namesFolder(const std::string& config);

// The engine as the commands run it: the program (app/Program.h) in `workspace`, reporting to
// the error stream.
struct Engine {
    explicit Engine(gc::appconfig::Workspace workspace);
    // From the built-in defaults (no start-up files), then "Считать" of `config`: its chip
    // configuration from its folder, its tap files from "../FILTERS/" beside it, its file-source
    // choice from NAME.src beside it; then `sources` override that choice.
    gc::app::LoadSave::LoadResult loadFromDefaults(const std::string& config,
                                                   const FileSources& sources);
    // The file-source choice as it stands with `sources` laid over it, put in use for every
    // channel (nothing happens when `sources` names no filter).
    void overrideSources(const FileSources& sources);

    CliUi ui;
    gc::app::Program program;
    // The program's parts by their short names.
    gc::app::Session& session{program.session};
    gc::app::MainState& state{program.state};
    gc::app::ChannelPlotPresenter& plot{program.plot};
    gc::app::MainPresenter& presenter{program.presenter};
    gc::app::LoadSave& loadSave{program.loadSave};
};

// One line per value-showing control, NAME=TEXT, in a fixed order: edits, panels, lists (the
// item text shown, empty for none), check boxes and radio buttons (1 ticked, 0 not).
void writeMainState(std::ostream& out, const gc::app::MainState& state);

}  // namespace gc::cli
