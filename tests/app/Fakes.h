#pragma once
// Recording stand-ins for the platform and the response work, sharing one call log so that
// tests can check the order in which a handler reaches them.
#include <optional>
#include <string>
#include <vector>

#include "app/ChannelPlotSeam.h"
#include "app/MainState.h"
#include "app/Session.h"
#include "app/UiPort.h"

namespace gc::app::testing {

inline const char* windowName(Window window) {
    switch (window) {
        case Window::Cic5:
            return "Cic5";
        case Window::Cfir:
            return "Cfir";
        case Window::Pfir:
            return "Pfir";
        case Window::Resamp:
            return "Resamp";
        case Window::InpBlock:
            return "InpBlock";
        case Window::Freq:
            return "Freq";
        case Window::Sync:
            return "Sync";
        case Window::OutBlock:
            return "OutBlock";
        case Window::Filters:
            return "Filters";
        case Window::Info:
            return "Info";
        case Window::Requirement:
            return "Requirement";
        case Window::Design:
            return "Design";
        case Window::Simulation:
            return "Simulation";
        case Window::Levels:
            return "Levels";
    }
    return "?";
}

inline const char* errorName(ErrorWindow window) {
    switch (window) {
        case ErrorWindow::ErrFileCoeff:
            return "ErrFileCoeff";
        case ErrorWindow::ErrDecim:
            return "ErrDecim";
        case ErrorWindow::ErrEqualDecim:
            return "ErrEqualDecim";
        case ErrorWindow::ErrResamp:
            return "ErrResamp";
    }
    return "?";
}

class RecordingUi : public UiPort {
  public:
    explicit RecordingUi(std::vector<std::string>& log) : log_(log) {}

    void showError(const ErrorReport& report) override {
        reports.push_back(report);
        log_.push_back(std::string("error:") + errorName(report.window));
    }
    // Reports shown together: each kept in `reports`, the window once in the log.
    void showErrors(const std::vector<ErrorReport>& batch) override {
        reports.insert(reports.end(), batch.begin(), batch.end());
        log_.push_back("errors:" + std::to_string(batch.size()));
    }
    void showConversionError(const std::string& message) override {
        conversionErrors.push_back(message);
        log_.push_back("conversion");
    }
    std::optional<std::string> askOpenFile(const FileDialogRequest&) override {
        log_.push_back("askOpen");
        return std::nullopt;
    }
    std::optional<std::string> askSaveFile(const FileDialogRequest&) override {
        log_.push_back("askSave");
        return std::nullopt;
    }
    void showWindow(Window window) override {
        log_.push_back(std::string("show:") + windowName(window));
    }
    void refreshWindow(Window window) override {
        log_.push_back(std::string("refresh:") + windowName(window));
    }
    void repaintChannelPlot() override { log_.push_back("repaint"); }
    void showNotice(const std::vector<std::string>& lines) override {
        notices.push_back(lines);
        log_.push_back("notice");
    }

    std::vector<ErrorReport> reports;
    std::vector<std::string> conversionErrors;
    std::vector<std::vector<std::string>> notices;

  private:
    std::vector<std::string>& log_;
};

// What the model and the window showed when the response work was asked for.
struct PlotCall {
    std::string what;       // "cic" or "plot"
    int currentDecimation;  // model.Work.CurrentDecimation
    std::string edit5;      // the output rate shown
    int recalculating;      // model.Work.Recalculating
};

class RecordingPlotSeam : public ChannelPlotSeam {
  public:
    RecordingPlotSeam(std::vector<std::string>& log, const Session& session, const MainState& state)
        : log_(log), session_(session), state_(state) {}

    void computeCicResponse() override { record("cic"); }
    void refreshChannelPlot() override { record("plot"); }
    void fitToChannel() override { record("fit"); }

    std::vector<PlotCall> calls;

  private:
    void record(const char* what) {
        log_.push_back(what);
        calls.push_back({what, session_.model.Work.CurrentDecimation, state_.Edit5.text,
                         session_.model.Work.Recalculating});
    }

    std::vector<std::string>& log_;
    const Session& session_;
    const MainState& state_;
};

}  // namespace gc::app::testing
