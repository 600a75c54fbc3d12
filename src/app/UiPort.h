#pragma once
// Everything a presenter needs from the platform. The Qt layer implements it with real
// windows and dialogs; tests and the command-line tool implement it with recorders.
#include <optional>
#include <string>
#include <vector>

namespace gc::app {

// The fixed report windows.
enum class ErrorWindow {
    ErrFileCoeff,   // file missing or damaged (modal)
    ErrDecim,       // decimation below the output mode's minimum (non-modal)
    ErrEqualDecim,  // synchronous output needs equal decimations (non-modal)
    ErrResamp,      // resampler settings inconsistent (non-modal, on top)
};

// A report: the window and its label texts from top to bottom, exactly as shown.
struct ErrorReport {
    ErrorWindow window{ErrorWindow::ErrFileCoeff};
    std::vector<std::string> labels;
};

// The auxiliary windows that the main window shows or refreshes.
enum class Window {
    Cic5,         // TCIC5Form
    Cfir,         // TCFIRForm
    Pfir,         // TPFIRForm
    Resamp,       // TResampForm
    InpBlock,     // TInpBlock
    Freq,         // TFreq
    Sync,         // TSync
    OutBlock,     // TOutBlock
    Filters,      // TFilters
    Info,         // TInfo
    Requirement,  // TRequirementForm, "Требования к каналу"
    Design,       // TDesignForm, "Синтез фильтров"
    Simulation,   // TSimulationForm, "Моделирование"
    Levels,       // TLevelsForm, "Уровни"
};
inline constexpr int kWindowCount = 14;

struct FileDialogRequest {
    std::string filter;      // for example "*.trv"
    std::string defaultExt;  // without the dot, for example "trv"; empty for none
    std::string initialDir;  // resolved against the workspace, for example "CONFIGS"
};

class UiPort {
  public:
    virtual ~UiPort() = default;

    // Shows a report window with its label texts; ErrFileCoeff returns after the user closed it.
    virtual void showError(const ErrorReport& report) = 0;
    // Several reports of one action at once (the start-up's missing or damaged files): one
    // window listing them all where reports are windows; by default each report on its own,
    // in order.
    virtual void showErrors(const std::vector<ErrorReport>& reports) {
        for (const ErrorReport& report : reports) showError(report);
    }
    // The message box for a text that does not convert to a number.
    virtual void showConversionError(const std::string& message) = 0;
    // File dialogs: the chosen path, or nothing when the user cancels.
    virtual std::optional<std::string> askOpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> askSaveFile(const FileDialogRequest& request) = 0;
    // Shows an auxiliary window (the presenter has set its open flag already).
    virtual void showWindow(Window window) = 0;
    // Redraws or refills an open auxiliary window from the model.
    virtual void refreshWindow(Window window) = 0;
    // Repaints the main window's response plot from the plot state as it stands.
    virtual void repaintChannelPlot() = 0;
    // An informative message of a few lines (what an import of taps did); returns after the
    // user read it. Nothing where messages are not windows.
    virtual void showNotice(const std::vector<std::string>& lines) { (void)lines; }
    // Closes the save-check reports (ErrDecim, ErrEqualDecim, ErrResamp) still open from an
    // earlier "Записать"; nothing where reports are not windows.
    virtual void closeSaveReports() {}
};

}  // namespace gc::app
