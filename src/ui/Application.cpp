#include "ui/Application.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "app/WorkingFolder.h"
#include "response/ResponseCsv.h"
#include "ui/PlotBox.h"
#include "ui/PlotMenu.h"
#include "ui/ProgramInfo.h"
#include "ui/RegisterEditorForm.h"
#include "ui/StageForm.h"
#include "ui/Translations.h"
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
#include "ui/Ulevels.h"
#include "ui/Uoutblock.h"
#include "ui/Upfirform.h"
#include "ui/Urequirement.h"
#include "ui/Uresampform.h"
#include "ui/Usimulation.h"
#include "ui/Usync.h"
#include "ui/WindowPlacement.h"

namespace gc::ui {
namespace {

using gc::app::Window;

// Object names of the register windows: their class names without the T, as the main window
// is GForm; the kept window places are filed under them.
const char* editorName(Window window) {
    switch (window) {
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
        default:
            return "Editor";
    }
}

// A register block window: filled and shown by the main window's button, refreshed while its
// open flag is set, the flag cleared when it closes (TSync has none).
template <class EditorWindow, class Image>
std::unique_ptr<QWidget> makeEditor(WindowContext& c, Window window, Image& image) {
    auto editor = std::make_unique<EditorWindow>(image, c.session.model, &c.mainWindow);
    EditorWindow* e = editor.get();
    e->setObjectName(QString::fromLatin1(editorName(window)));
    if (bool* flag = c.session.openFlag(window)) e->setCloseHandler([flag] { *flag = false; });
    c.ui.registerWindow(window, {[e] { e->showWindow(); }, [e] { e->refresh(); }});
    return editor;
}

// A stage response window: created hidden, shown by UiPort::showWindow and refreshed by
// UiPort::refreshWindow.
template <class Form>
std::unique_ptr<QWidget> makeStageForm(WindowContext& c) {
    auto form = std::make_unique<Form>(c.session, c.ui, &c.mainWindow);
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
        i->setLanguageHandler(&rememberLanguage);
        c.ui.registerWindow(Window::Info, {[i] {
                                               i->show();
                                               i->raise();
                                               i->activateWindow();
                                           },
                                           {}});
        return std::unique_ptr<QWidget>(std::move(info));
    });
    f.emplace_back(WindowOrder::Requirement, [](WindowContext& c) {
        auto form = std::make_unique<TRequirementForm>(c.session, c.requirementState, c.requirement,
                                                       c.ui, &c.mainWindow);
        TRequirementForm* r = form.get();
        r->setAfterChange([&main = c.mainWindow] { main.showState(); });
        c.ui.registerWindow(Window::Requirement, {[r] { r->showForm(); }, [r] { r->refresh(); }});
        return std::unique_ptr<QWidget>(std::move(form));
    });
    f.emplace_back(WindowOrder::Design, [](WindowContext& c) {
        auto form =
            std::make_unique<TDesignForm>(c.program.designState, c.program.design, &c.mainWindow);
        TDesignForm* d = form.get();
        d->setMainStateChanged([&main = c.mainWindow] { main.showState(); });
        c.ui.registerWindow(Window::Design, {[d] { d->showForm(); }, [d] { d->refresh(); }});
        return std::unique_ptr<QWidget>(std::move(form));
    });
    f.emplace_back(WindowOrder::Simulation, [](WindowContext& c) {
        auto form = std::make_unique<TSimulationForm>(c.program.simulationState,
                                                      c.program.simulation, &c.mainWindow);
        TSimulationForm* s = form.get();
        c.ui.registerWindow(Window::Simulation, {[s] { s->showForm(); }, [s] { s->refresh(); }});
        return std::unique_ptr<QWidget>(std::move(form));
    });
    f.emplace_back(WindowOrder::Levels, [](WindowContext& c) {
        auto form = std::make_unique<TLevelsForm>(c.session, c.program.levelsState,
                                                  c.program.levels, &c.mainWindow);
        TLevelsForm* l = form.get();
        c.ui.registerWindow(Window::Levels, {[l] { l->showForm(); }, [l] { l->refresh(); }});
        return std::unique_ptr<QWidget>(std::move(form));
    });
    return f;
}

}  // namespace

Application::Application() : Application(gc::appconfig::Workspace::atCurrentFolder()) {}

Application::Application(gc::appconfig::Workspace workspace)
    : root_(workspace.root()), ui_(root_), program_(ui_, std::move(workspace)) {
    createWindows();
}

Application::~Application() {
    // The places of the windows still open are kept for the next run.
    for (auto& [order, w] : windows_) {
        if (auto* placement = w->findChild<WindowPlacement*>(QString(), Qt::FindDirectChildrenOnly);
            placement != nullptr && w->isVisible())
            placement->save();
    }
    if (auto* placement =
            mainWindow_->findChild<WindowPlacement*>(QString(), Qt::FindDirectChildrenOnly);
        placement != nullptr && mainWindow_->isVisible())
        placement->save();
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

    placeWindows();
    // The plots' menus: the data are the main plot's arrays in the command-line tool's CSV.
    auto& plot = program_.plot;
    auto& model = program_.session.model;
    const auto csv = [&plot, &model] {
        return gc::response::responseCsv(plot.arrays(), model.Work.WorkingClock,
                                         plot.state().StretchX);
    };
    form.installPlotMenu(csv);
    // "Сравнить с...": a second configuration over the main plot, until "Убрать сравнение".
    auto& compare = program_.compare;
    QMenu* menu = form.plotMenu();
    menu->addSeparator();
    QAction* compareWith =
        menu->addAction(QCoreApplication::translate("gc::ui::Application", "Сравнить с..."));
    compareWith->setObjectName(QStringLiteral("ActionCompare"));
    QAction* compareOff =
        menu->addAction(QCoreApplication::translate("gc::ui::Application", "Убрать сравнение"));
    compareOff->setObjectName(QStringLiteral("ActionCompareOff"));
    QObject::connect(menu, &QMenu::aboutToShow, menu,
                     [compareOff, &compare] { compareOff->setEnabled(compare.comparing()); });
    QObject::connect(compareWith, &QAction::triggered, menu, [this, &compare] {
        compare.onCompareClick();
        afterChange();
    });
    QObject::connect(compareOff, &QAction::triggered, menu, [this, &compare] {
        compare.onCompareOffClick();
        afterChange();
    });
    for (auto& [order, w] : windows_) {
        if (auto* stage = qobject_cast<StageForm*>(w.get())) stage->installPlotMenu(csv);
    }
    form.setAfterChange([this] { afterChange(); });
}

void Application::placeWindows() {
    // The main window comes up where it was, else centred; the others beside it.
    new WindowPlacement(mainWindow_.get(), nullptr, 0);
    int slot = 0;
    for (auto& [order, w] : windows_) {
        if (qobject_cast<StageForm*>(w.get()) != nullptr ||
            qobject_cast<RegisterEditorForm*>(w.get()) != nullptr ||
            qobject_cast<TRequirementForm*>(w.get()) != nullptr ||
            qobject_cast<TDesignForm*>(w.get()) != nullptr ||
            qobject_cast<TSimulationForm*>(w.get()) != nullptr ||
            qobject_cast<TLevelsForm*>(w.get()) != nullptr)
            new WindowPlacement(w.get(), mainWindow_.get(), slot++);
    }
}

void Application::afterChange() {
    // Every open register window follows every change of its registers; the synchronisation
    // window has no open flag and is refilled while it is shown.
    program_.presenter.refreshOpenEditors();
    if (QWidget* sync = window(WindowOrder::Sync); sync != nullptr && sync->isVisible())
        ui_.refreshWindow(gc::app::Window::Sync);
    updateTitle();
}

void Application::updateTitle() {
    TGForm& form = *mainWindow_;
    const QString name = QString::fromStdString(program_.session.model.Work.ConfigFileName);
    // "[*]" is where the window shows "*" while it is marked modified.
    form.setWindowTitle(QStringLiteral("%1[*] - %2").arg(name, programTitle()));
    form.setWindowModified(program_.loadSave.modified());
}

void Application::offerWorkingFolder() {
    const QString folder = QDir(QString::fromStdString(root_)).absolutePath();
    const bool yes =
        askWorkingFolder_
            ? askWorkingFolder_(folder)
            : QMessageBox::question(
                  mainWindow_.get(), programTitle(),
                  QCoreApplication::translate(
                      "gc::ui::Application",
                      "В папке %1 нет конфигурации CONFIGS/std.trv.\n\n"
                      "Сделать её рабочей папкой программы: записать "
                      "конфигурацию по умолчанию (CONFIGS/std.trv, CONFIGS/sinc.cfg) "
                      "и встроенные наборы коэффициентов (FILTERS/*.taps)?")
                      .arg(QDir::toNativeSeparators(folder)),
                  QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
    if (!yes) return;
    const auto files = gc::app::workingFolderFiles(root_);
    // Files already there (a FILTERS folder of the user's own) are kept as they are.
    const auto existing = gc::app::existingFiles(files);
    std::vector<gc::app::WorkingFolderFile> missing;
    for (const auto& f : files) {
        if (std::find(existing.begin(), existing.end(), f.path) == existing.end())
            missing.push_back(f);
    }
    (void)gc::app::writeWorkingFolder(missing, ui_);
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
    // The kept place and size, if any, replace these on the first show (WindowPlacement).
    QSize size = form.sizeHint();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size());
    }
    form.resize(size);
    form.show();
}

}  // namespace

void Application::start() {
    const std::string startup =
        (std::filesystem::path(root_) / gc::appconfig::configsDir() / "std.trv").string();
    std::error_code error;
    if (!std::filesystem::exists(startup, error) && !error) offerWorkingFolder();
    program_.loadSave.start();
    showMainWindow(*mainWindow_);
    updateTitle();
}

void Application::startWithDefaults() {
    program_.presenter.startWithDefaults();
    program_.loadSave.markUnmodified();
    showMainWindow(*mainWindow_);
    updateTitle();
}

}  // namespace gc::ui
