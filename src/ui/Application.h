#pragma once
// The application object: the program (app/Program.h) with the Qt UiPort, and the windows,
// created in the order of the window set with the main window first.
//
// The windows are listed in Application.cpp (windowList); they live until the program ends.
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Program.h"
#include "appconfig/Workspace.h"
#include "ui/QtUiPort.h"

namespace gc::ui {

class TGForm;

// Place of each window in the window set.
enum class WindowOrder {
    GForm = 1,
    CfirForm = 2,
    PfirForm = 3,
    ResampForm = 4,
    Cic5Form = 5,
    InpBlock = 6,
    Freq = 7,
    Sync = 8,
    OutBlock = 9,
    ErrFileCoeff = 10,
    Filters = 11,
    ErrDecim = 12,
    ErrEqualDecim = 13,
    ErrResamp = 14,
    Info = 15,
    Requirement = 16,  // TRequirementForm, "Требования к каналу"
    Design = 17,       // "Синтез фильтров"
    Levels = 18,       // TLevelsForm, "Уровни"
};

// What a window's factory may use. Everything lives as long as the application object.
struct WindowContext {
    gc::app::Session& session;
    gc::app::MainState& mainState;
    gc::app::MainPresenter& mainPresenter;
    gc::app::ChannelPlotPresenter& channelPlot;
    gc::app::RequirementState& requirementState;
    gc::app::RequirementPresenter& requirement;
    QtUiPort& ui;
    TGForm& mainWindow;
    gc::app::Program& program;
};

class Application {
  public:
    // `workspace`: the folder that "CONFIGS/" and "FILTERS/" are relative to; by default the
    // process's current folder. Creates every window of the set; none is shown yet.
    Application();
    explicit Application(gc::appconfig::Workspace workspace);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The start-up (configuration, chip configuration, tap files, responses, output block,
    // first recalculation), then the main window is shown. In a folder without
    // "CONFIGS/std.trv" the user is first offered to make it a working folder (the files of
    // "gc4016-cli init"); declined, the start goes on without them.
    void start();
    // Asks whether to make `folder` a working folder; true for yes. By default a question box.
    using WorkingFolderQuestion = std::function<bool(const QString& folder)>;
    void setWorkingFolderQuestion(WorkingFolderQuestion ask) { askWorkingFolder_ = std::move(ask); }
    // The main window's caption: the configuration's name, "*" while it differs from what was
    // last read or written, and the program's title.
    void updateTitle();
    // The start-up without files (the model's defaults and the built-in tables), then the
    // main window is shown.
    void startWithDefaults();

    [[nodiscard]] gc::app::Session& session() { return program_.session; }
    [[nodiscard]] gc::app::MainState& mainState() { return program_.state; }
    [[nodiscard]] gc::app::MainPresenter& mainPresenter() { return program_.presenter; }
    [[nodiscard]] gc::app::ChannelPlotPresenter& channelPlot() { return program_.plot; }
    [[nodiscard]] gc::app::LoadSave& loadSave() { return program_.loadSave; }
    [[nodiscard]] gc::app::RequirementPresenter& requirement() { return program_.requirement; }
    [[nodiscard]] gc::app::RequirementState& requirementState() {
        return program_.requirementState;
    }
    [[nodiscard]] gc::app::Program& program() { return program_; }
    [[nodiscard]] QtUiPort& ui() { return ui_; }
    [[nodiscard]] TGForm& mainWindow() { return *mainWindow_; }
    // A window of the set by its place; null if the list has none there.
    [[nodiscard]] QWidget* window(WindowOrder order) const;

  private:
    void createWindows();
    void placeWindows();
    void afterChange();
    void offerWorkingFolder();

    std::string root_;  // the working folder
    QtUiPort ui_;
    gc::app::Program program_;
    WorkingFolderQuestion askWorkingFolder_;  // the part shared with the command-line tool
    std::unique_ptr<TGForm> mainWindow_;
    // Auxiliary windows in creation order with their places; destroyed in reverse order.
    std::vector<std::pair<WindowOrder, std::unique_ptr<QWidget>>> windows_;
};

}  // namespace gc::ui
