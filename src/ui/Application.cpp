#include "ui/Application.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <utility>

#include "ui/PlotBox.h"
#include "ui/Ucfirform.h"
#include "ui/Ucic5form.h"
#include "ui/Udesign.h"
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
#include "ui/Upfirform.h"
#include "ui/Urequirement.h"
#include "ui/Uresampform.h"
#include "ui/Usync.h"

namespace gc::ui {
namespace {

using gc::app::Window;

// A register block window: filled and shown by the main window's button, refreshed while its
// open flag is set, the flag cleared when it closes (TSync has none).
template <class EditorWindow, class Image>
std::unique_ptr<QWidget> makeEditor(WindowContext& c, Window window, Image& image) {
    auto editor = std::make_unique<EditorWindow>(image, c.session.model);
    EditorWindow* e = editor.get();
    if (bool* flag = c.session.openFlag(window)) e->setCloseHandler([flag] { *flag = false; });
    c.ui.registerWindow(window, {[e] { e->showWindow(); }, [e] { e->refresh(); }});
    return editor;
}

// A stage response window: created hidden, shown by UiPort::showWindow and refreshed by
// UiPort::refreshWindow.
template <class Form>
std::unique_ptr<QWidget> makeStageForm(WindowContext& c) {
    auto form = std::make_unique<Form>(c.session, c.ui);
    Form* f = form.get();
    c.ui.registerWindow(f->window(), {[f] { f->showForm(); }, [f] { f->refresh(); }});
    return form;
}

using WindowFactory = std::unique_ptr<QWidget> (*)(WindowContext&);

// The auxiliary windows of the set, in the order they are created. A new window is one line
// here.
std::vector<std::pair<WindowOrder, WindowFactory>> windowList() {
    std::vector<std::pair<WindowOrder, WindowFactory>> f;
    f.emplace_back(WindowOrder::CfirForm, &makeStageForm<TCFIRForm>);
    f.emplace_back(WindowOrder::PfirForm, &makeStageForm<TPFIRForm>);
    f.emplace_back(WindowOrder::ResampForm, &makeStageForm<TResampForm>);
    f.emplace_back(WindowOrder::Cic5Form, &makeStageForm<TCIC5Form>);
    f.emplace_back(WindowOrder::InpBlock, [](WindowContext& c) {
        return makeEditor<TInpBlock>(c, Window::InpBlock, std::as_const(c.session.image));
    });
    f.emplace_back(WindowOrder::Freq, [](WindowContext& c) {
        return makeEditor<TFreq>(c, Window::Freq, std::as_const(c.session.image));
    });
    f.emplace_back(WindowOrder::Sync, [](WindowContext& c) {
        return makeEditor<TSync>(c, Window::Sync, std::as_const(c.session.image));
    });
    f.emplace_back(WindowOrder::OutBlock, [](WindowContext& c) {
        return makeEditor<TOutBlock>(c, Window::OutBlock, std::as_const(c.session.image));
    });
    f.emplace_back(WindowOrder::ErrFileCoeff, [](WindowContext& c) {
        return std::unique_ptr<QWidget>(std::make_unique<TErrFileCoeff>(&c.mainWindow));
    });
    f.emplace_back(WindowOrder::Filters, [](WindowContext& c) {
        return makeEditor<TFilters>(c, Window::Filters, c.session.image);
    });
    f.emplace_back(WindowOrder::ErrDecim, [](WindowContext& c) {
        return std::unique_ptr<QWidget>(std::make_unique<TErrDecim>(&c.mainWindow));
    });
    f.emplace_back(WindowOrder::ErrEqualDecim, [](WindowContext& c) {
        return std::unique_ptr<QWidget>(std::make_unique<TErrEqualDecim>(&c.mainWindow));
    });
    f.emplace_back(WindowOrder::ErrResamp, [](WindowContext& c) {
        return std::unique_ptr<QWidget>(std::make_unique<TErrResamp>(&c.mainWindow));
    });
    f.emplace_back(WindowOrder::Info, [](WindowContext& c) {
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
    f.emplace_back(WindowOrder::Requirement, [](WindowContext& c) {
        auto form =
            std::make_unique<TRequirementForm>(c.session, c.requirementState, c.requirement, c.ui);
        TRequirementForm* r = form.get();
        c.ui.registerWindow(Window::Requirement, {[r] { r->showForm(); }, [r] { r->refresh(); }});
        return std::unique_ptr<QWidget>(std::move(form));
    });
    f.emplace_back(WindowOrder::Design, [](WindowContext& c) {
        auto form = std::make_unique<TDesignForm>(c.program.designState, c.program.design);
        TDesignForm* d = form.get();
        d->setMainStateChanged([&main = c.mainWindow] { main.showState(); });
        c.ui.registerWindow(Window::Design, {[d] { d->showForm(); }, [d] { d->refresh(); }});
        return std::unique_ptr<QWidget>(std::move(form));
    });
    return f;
}

}  // namespace

Application::Application() : Application(gc::appconfig::Workspace::atCurrentFolder()) {}

Application::Application(gc::appconfig::Workspace workspace)
    : ui_(workspace.root()), program_(ui_, std::move(workspace)) {
    createWindows();
}

Application::~Application() {
    // Later windows first; the main window last.
    while (!windows_.empty()) windows_.pop_back();
    mainWindow_.reset();
}

void Application::createWindows() {
    mainWindow_ = std::make_unique<TGForm>(program_.state, program_.presenter, program_.plot);
    TGForm& form = *mainWindow_;
    ui_.setMainWindow(&form);
    ui_.setChannelPlot(form.plotBox());

    using C = TGForm::FileCommand;
    auto& loadSave = program_.loadSave;
    form.setFileCommand(C::ReadConfiguration, [&loadSave] { loadSave.onButton5Click(); });
    form.setFileCommand(C::WriteConfiguration, [&loadSave] { loadSave.onButton6Click(); });
    form.setFileCommand(C::ReadCfirTaps, [&loadSave] { loadSave.onSpeedButton1Click(); });
    form.setFileCommand(C::WriteCfirTaps, [&loadSave] { loadSave.onSpeedButton10Click(); });
    form.setFileCommand(C::ReadPfirTaps, [&loadSave] { loadSave.onSpeedButton2Click(); });
    form.setFileCommand(C::WritePfirTaps, [&loadSave] { loadSave.onSpeedButton5Click(); });
    form.setFileCommand(C::ReadRfirTaps, [&loadSave] { loadSave.onSpeedButton3Click(); });
    form.setFileCommand(C::WriteRfirTaps, [&loadSave] { loadSave.onSpeedButton6Click(); });
    // Closing the main window writes the start-up configuration back and ends the program,
    // whatever other windows are open.
    form.setCloseHandler([&loadSave] {
        loadSave.exit();
        QCoreApplication::quit();
    });
    // The requirement's mask and alias curve over the channel curve, while its window is open.
    form.setPlotOverlay([this](gc::response::Canvas& canvas) {
        if (!program_.session.isOpen(gc::app::Window::Requirement)) return;
        const auto& plotState = program_.plot.state();
        program_.requirement.drawOnChannelPlot(canvas, program_.plot.arrays().ChannelResponse,
                                               plotState.StretchX, plotState.StretchY);
    });

    WindowContext context{program_.session,
                          program_.state,
                          program_.presenter,
                          program_.plot,
                          program_.requirementState,
                          program_.requirement,
                          ui_,
                          form,
                          program_};
    for (const auto& [order, factory] : windowList()) {
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
    program_.loadSave.start();
    showMainWindow(*mainWindow_);
}

void Application::startWithDefaults() {
    program_.presenter.startWithDefaults();
    showMainWindow(*mainWindow_);
}

}  // namespace gc::ui
