#include "ui/Application.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <map>
#include <utility>

#include "ui/PlotBox.h"
#include "ui/Uerrdecim.h"
#include "ui/Uerrequaldecim.h"
#include "ui/Uerrfilecoeff.h"
#include "ui/Uerrresamp.h"
#include "ui/Ufilters.h"
#include "ui/Ufreq.h"
#include "ui/Ugform.h"
#include "ui/Uinfo.h"
#include "ui/Uinpblock.h"
#include "ui/Uoutblock.h"
#include "ui/Usync.h"

namespace gc::ui {
namespace {

using gc::app::Window;

// Factories registered by the window units, by their place in the window set.
std::multimap<WindowOrder, WindowFactory>& registeredFactories() {
    static std::multimap<WindowOrder, WindowFactory> factories;
    return factories;
}

// A register block window: filled and shown by the main window's button, refreshed while its
// open flag is set, the flag cleared when it closes. `flag` is null for a window without one.
template <class EditorWindow, class Image>
std::unique_ptr<QWidget> makeEditor(WindowContext& c, Window window, Image& image, bool* flag) {
    auto editor = std::make_unique<EditorWindow>(image, c.session.model);
    EditorWindow* e = editor.get();
    if (flag != nullptr) e->setCloseHandler([flag] { *flag = false; });
    c.ui.registerWindow(window, {[e] { e->showWindow(); }, [e] { e->refresh(); }});
    return editor;
}

// The windows of this unit's own making and the register block windows, in their places.
std::multimap<WindowOrder, WindowFactory> builtInFactories() {
    std::multimap<WindowOrder, WindowFactory> f;
    f.emplace(WindowOrder::InpBlock, [](WindowContext& c) {
        return makeEditor<TInpBlock>(c, Window::InpBlock, std::as_const(c.session.image),
                                     &c.session.InpBlockOpen);
    });
    f.emplace(WindowOrder::Freq, [](WindowContext& c) {
        return makeEditor<TFreq>(c, Window::Freq, std::as_const(c.session.image),
                                 &c.session.FreqOpen);
    });
    f.emplace(WindowOrder::Sync, [](WindowContext& c) {
        return makeEditor<TSync>(c, Window::Sync, std::as_const(c.session.image), nullptr);
    });
    f.emplace(WindowOrder::OutBlock, [](WindowContext& c) {
        return makeEditor<TOutBlock>(c, Window::OutBlock, std::as_const(c.session.image),
                                     &c.session.OutBlockOpen);
    });
    f.emplace(WindowOrder::ErrFileCoeff, [](WindowContext& c) {
        return std::unique_ptr<QWidget>(std::make_unique<TErrFileCoeff>(&c.mainWindow));
    });
    f.emplace(WindowOrder::Filters, [](WindowContext& c) {
        return makeEditor<TFilters>(c, Window::Filters, c.session.image, &c.session.FiltersOpen);
    });
    f.emplace(WindowOrder::ErrDecim, [](WindowContext& c) {
        return std::unique_ptr<QWidget>(std::make_unique<TErrDecim>(&c.mainWindow));
    });
    f.emplace(WindowOrder::ErrEqualDecim, [](WindowContext& c) {
        return std::unique_ptr<QWidget>(std::make_unique<TErrEqualDecim>(&c.mainWindow));
    });
    f.emplace(WindowOrder::ErrResamp, [](WindowContext& c) {
        return std::unique_ptr<QWidget>(std::make_unique<TErrResamp>(&c.mainWindow));
    });
    f.emplace(WindowOrder::Info, [](WindowContext& c) {
        auto info = std::make_unique<TInfo>(&c.mainWindow);
        TInfo* i = info.get();
        c.ui.registerWindow(Window::Info, {[i] {
                                               i->show();
                                               i->raise();
                                               i->activateWindow();
                                           },
                                           {}});
        return std::unique_ptr<QWidget>(std::move(info));
    });
    return f;
}

}  // namespace

bool registerWindow(WindowOrder order, WindowFactory factory) {
    registeredFactories().emplace(order, std::move(factory));
    return true;
}

Application::Application() : Application(gc::appconfig::Workspace::atCurrentFolder()) {}

Application::Application(gc::appconfig::Workspace workspace)
    : ui_(workspace.root()),
      plot_(session_.model, ui_),
      presenter_(session_, mainState_, ui_, plot_),
      fileRoads_(session_, mainState_, ui_, plot_, presenter_, std::move(workspace)) {
    createWindows();
}

Application::~Application() {
    // Later windows first; the main window last.
    while (!windows_.empty()) windows_.pop_back();
    mainWindow_.reset();
}

void Application::createWindows() {
    mainWindow_ = std::make_unique<TGForm>(mainState_, presenter_, plot_);
    TGForm& form = *mainWindow_;
    ui_.setMainWindow(&form);
    ui_.setChannelPlot(form.plotBox());

    using C = TGForm::FileCommand;
    auto& roads = fileRoads_;
    form.setFileCommand(C::ReadConfiguration, [&roads] { roads.onButton5Click(); });
    form.setFileCommand(C::WriteConfiguration, [&roads] { roads.onButton6Click(); });
    form.setFileCommand(C::ReadCfirTaps, [&roads] { roads.onSpeedButton1Click(); });
    form.setFileCommand(C::WriteCfirTaps, [&roads] { roads.onSpeedButton10Click(); });
    form.setFileCommand(C::ReadPfirTaps, [&roads] { roads.onSpeedButton2Click(); });
    form.setFileCommand(C::WritePfirTaps, [&roads] { roads.onSpeedButton5Click(); });
    form.setFileCommand(C::ReadRfirTaps, [&roads] { roads.onSpeedButton3Click(); });
    form.setFileCommand(C::WriteRfirTaps, [&roads] { roads.onSpeedButton6Click(); });
    // Closing the main window writes the start-up configuration back and ends the program,
    // whatever other windows are open.
    form.setCloseHandler([&roads] {
        roads.exit();
        QCoreApplication::quit();
    });

    // The auxiliary windows in the order of the window set; a window's own unit may replace a
    // built-in one by registering the same place.
    std::multimap<WindowOrder, WindowFactory> factories = builtInFactories();
    for (const auto& [order, factory] : registeredFactories()) {
        factories.erase(order);
    }
    for (const auto& entry : registeredFactories()) factories.insert(entry);

    WindowContext context{session_, mainState_, presenter_, plot_, ui_, form};
    for (const auto& [order, factory] : factories) {
        if (std::unique_ptr<QWidget> w = factory(context))
            windows_.emplace_back(order, std::move(w));
    }

    ui_.setReportWindows(qobject_cast<TErrFileCoeff*>(window(WindowOrder::ErrFileCoeff)),
                         qobject_cast<TErrDecim*>(window(WindowOrder::ErrDecim)),
                         qobject_cast<TErrEqualDecim*>(window(WindowOrder::ErrEqualDecim)),
                         qobject_cast<TErrResamp*>(window(WindowOrder::ErrResamp)));
}

QWidget* Application::window(WindowOrder order) const {
    if (order == WindowOrder::GForm) return mainWindow_.get();
    for (const auto& [o, w] : windows_) {
        if (o == order) return w.get();
    }
    return nullptr;
}

namespace {

void showMainWindow(TGForm& form) {
    form.showState();
    QSize size = form.sizeHint();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size());
    }
    form.resize(size);
    form.show();
}

}  // namespace

void Application::start() {
    fileRoads_.start();
    showMainWindow(*mainWindow_);
}

void Application::startWithDefaults() {
    presenter_.startWithDefaults();
    showMainWindow(*mainWindow_);
}

}  // namespace gc::ui
