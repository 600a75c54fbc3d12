#pragma once
// The application object: the session (model and register image), the presenters, the Qt
// UiPort and the windows, created in the order of the window set with the main window first.
//
// An auxiliary window joins the set by registering a factory from its own unit:
//
//   namespace {
//   const bool kRegistered = gc::ui::registerWindow(
//       gc::ui::WindowOrder::CfirForm, [](gc::ui::WindowContext& context) {
//           auto form = std::make_unique<TCFIRForm>(context);
//           TCFIRForm* f = form.get();
//           context.ui.registerWindow(gc::app::Window::Cfir, {[f] { f->showForm(); },
//                                                             [f] { f->redraw(); }});
//           return std::unique_ptr<QWidget>(std::move(form));
//       });
//   }
//
// The factories run once, at start, in WindowOrder; the windows live until the program ends.
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/ChannelPlotPresenter.h"
#include "app/FileRoads.h"
#include "app/MainPresenter.h"
#include "app/MainState.h"
#include "app/Session.h"
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
};

// What a window's factory may use. Everything lives as long as the application object.
struct WindowContext {
    gc::app::Session& session;
    gc::app::MainState& mainState;
    gc::app::MainPresenter& mainPresenter;
    gc::app::ChannelPlotPresenter& channelPlot;
    QtUiPort& ui;
    TGForm& mainWindow;
};

using WindowFactory = std::function<std::unique_ptr<QWidget>(WindowContext&)>;

// Adds a window to the set; call it from a namespace-scope initialiser of the window's unit.
// Returns true so that it can initialise a constant.
bool registerWindow(WindowOrder order, WindowFactory factory);

class Application {
  public:
    // `workspace`: the folder that "CONFIGS/" and "FILTERS/" are relative to; by default the
    // process's current folder. Creates every window of the set; none is shown yet.
    Application();
    explicit Application(gc::appconfig::Workspace workspace);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The start road (configuration, chip configuration, tap files, responses, output block,
    // first recalculation), then the main window is shown.
    void start();
    // The start road without files (the model's defaults and the built-in tables), then the
    // main window is shown.
    void startWithDefaults();

    [[nodiscard]] gc::app::Session& session() { return session_; }
    [[nodiscard]] gc::app::MainState& mainState() { return mainState_; }
    [[nodiscard]] gc::app::MainPresenter& mainPresenter() { return presenter_; }
    [[nodiscard]] gc::app::ChannelPlotPresenter& channelPlot() { return plot_; }
    [[nodiscard]] gc::app::FileRoads& fileRoads() { return fileRoads_; }
    [[nodiscard]] QtUiPort& ui() { return ui_; }
    [[nodiscard]] TGForm& mainWindow() { return *mainWindow_; }
    // A window of the set by its place; null if no unit registered one.
    [[nodiscard]] QWidget* window(WindowOrder order) const;

  private:
    void createWindows();

    gc::app::Session session_;
    gc::app::MainState mainState_;
    QtUiPort ui_;
    gc::app::ChannelPlotPresenter plot_;
    gc::app::MainPresenter presenter_;
    gc::app::FileRoads fileRoads_;
    std::unique_ptr<TGForm> mainWindow_;
    // Auxiliary windows in creation order with their places; destroyed in reverse order.
    std::vector<std::pair<WindowOrder, std::unique_ptr<QWidget>>> windows_;
};

}  // namespace gc::ui
