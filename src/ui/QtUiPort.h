#pragma once
// UiPort on Qt: the report windows, the conversion-error message box, file dialogs, and the
// auxiliary windows, which register how they are shown and refreshed.
#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "app/UiPort.h"

class QWidget;

namespace gc::ui {

class TErrFileCoeff;
class TErrDecim;
class TErrEqualDecim;
class TErrResamp;

class QtUiPort final : public gc::app::UiPort {
  public:
    // How a window is shown and refreshed. `refresh` may be empty for a window that has
    // nothing to refill.
    struct WindowHooks {
        std::function<void()> show;
        std::function<void()> refresh;
    };
    // Stands in for the file dialogs (tests, scripted runs): save or open, the request, and
    // the chosen path or nothing.
    using FileChooser =
        std::function<std::optional<std::string>(bool save, const gc::app::FileDialogRequest&)>;

    // `workingFolder`: the folder the initial folders of the file dialogs are resolved against.
    explicit QtUiPort(std::string workingFolder);
    ~QtUiPort() override;

    // Owner of the dialogs and message boxes (the main window).
    void setMainWindow(QWidget* window);
    void setReportWindows(TErrFileCoeff* fileCoeff, TErrDecim* decim, TErrEqualDecim* equalDecim,
                          TErrResamp* resamp);
    // The widget that paints the main response plot.
    void setChannelPlot(QWidget* plot);
    // Registers (or replaces) the hooks of an auxiliary window.
    void registerWindow(gc::app::Window window, WindowHooks hooks);
    [[nodiscard]] bool hasWindow(gc::app::Window window) const;
    void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }

    void showError(const gc::app::ErrorReport& report) override;
    void showErrors(const std::vector<gc::app::ErrorReport>& reports) override;
    void showConversionError(const std::string& message) override;
    void showNotice(const std::vector<std::string>& lines) override;
    std::optional<std::string> askOpenFile(const gc::app::FileDialogRequest& request) override;
    std::optional<std::string> askSaveFile(const gc::app::FileDialogRequest& request) override;
    void showWindow(gc::app::Window window) override;
    void refreshWindow(gc::app::Window window) override;
    void repaintChannelPlot() override;
    void closeSaveReports() override;

    // The Qt name filter for a request's filter: "*.trv" stays as it is, "Описание|*.trv"
    // becomes "Описание (*.trv)", several "text|pattern" pairs become several filters.
    [[nodiscard]] static QString nameFilter(const std::string& filter);

  private:
    std::optional<std::string> askFile(bool save, const gc::app::FileDialogRequest& request);

    std::string workingFolder_;
    QPointer<QWidget> mainWindow_;
    QPointer<QWidget> plot_;
    QPointer<TErrFileCoeff> fileCoeff_;
    QPointer<TErrDecim> decim_;
    QPointer<TErrEqualDecim> equalDecim_;
    QPointer<TErrResamp> resamp_;
    std::array<WindowHooks, gc::app::kWindowCount> windows_{};
    FileChooser chooser_;
};

}  // namespace gc::ui
