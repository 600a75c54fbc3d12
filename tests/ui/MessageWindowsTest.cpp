// The report windows and the about box: their labels and texts, how they are shown, and the
// Qt UiPort that shows them for the presenters.
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "UiTestSupport.h"
#include "ui/QtUiPort.h"
#include "ui/Uerrdecim.h"
#include "ui/Uerrequaldecim.h"
#include "ui/Uerrfilecoeff.h"
#include "ui/Uerrresamp.h"
#include "ui/Uinfo.h"

using gc::uitest::child;
using gc::uitest::showsWholeText;
using gc::uitest::whenModalShown;

namespace {

struct LabelText {
    const char* name;
    QString text;
};

// Every label of `window` shows the given text in full.
void checkLabels(QWidget& window, std::initializer_list<LabelText> labels) {
    for (const auto& [name, text] : labels) {
        auto* label = child<QLabel>(window, QString::fromLatin1(name));
        QVERIFY(label != nullptr);
        QCOMPARE(label->text(), text);
        QVERIFY2(showsWholeText(label), name);
    }
}

bool isRedBold(const QLabel* label) {
    return label->font().bold() &&
           label->palette().color(QPalette::WindowText) == QColor(255, 0, 0);
}

// The named children of `window` stand one below the other in the given order (their names
// do not follow it: a report's last line is Label2).
void checkTopToBottom(QWidget& window, std::initializer_list<const char*> names) {
    int lastTop = -1;
    for (const char* name : names) {
        auto* w = child<QWidget>(window, QString::fromLatin1(name));
        QVERIFY(w != nullptr);
        const int top = w->mapTo(&window, QPoint(0, 0)).y();
        QVERIFY2(top > lastTop, name);
        lastTop = top;
    }
}

}  // namespace

class MessageWindowsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void reportWindowsCarryTheirFixedTexts() {
        gc::ui::TErrDecim decim;
        decim.show();
        QVERIFY(QTest::qWaitForWindowExposed(&decim));
        checkLabels(decim,
                    {{"Label1", QStringLiteral("Минимальный коэффициент децимации CIC-фильтра")},
                     {"Label3", QStringLiteral("в этом режиме   равен")},
                     {"Label4", QStringLiteral(" 2")},
                     {"Label2", QStringLiteral("Файл не может быть записан!")}});
        QVERIFY(!decim.isModal());
        QVERIFY(decim.windowTitle().isEmpty());
        QVERIFY(!(decim.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(decim.windowFlags() & Qt::WindowMinimizeButtonHint));
        for (auto* label : decim.findChildren<QLabel*>()) QVERIFY(isRedBold(label));
        // The value sits right of its caption on the same line.
        const auto* l3 = child<QLabel>(decim, QStringLiteral("Label3"));
        const auto* l4 = child<QLabel>(decim, QStringLiteral("Label4"));
        QCOMPARE(l3->geometry().center().y(), l4->geometry().center().y());
        QVERIFY(l4->geometry().left() >= l3->geometry().right());
        checkTopToBottom(decim, {"Label1", "Label3", "Label2"});

        gc::ui::TErrEqualDecim equal;
        equal.show();
        QVERIFY(QTest::qWaitForWindowExposed(&equal));
        checkLabels(equal, {{"Label1", QStringLiteral("В синхронном режиме вывода")},
                            {"Label3", QStringLiteral("коэффициенты  децимации каналов")},
                            {"Label4", QStringLiteral(" должны быть одинаковыми!")},
                            {"Label2", QStringLiteral("Файл не может быть записан!")}});
        QVERIFY(!equal.isModal());
        checkTopToBottom(equal, {"Label1", "Label3", "Label4", "Label2"});
        QVERIFY(!(equal.windowFlags() & Qt::WindowStaysOnTopHint));

        gc::ui::TErrResamp resamp;
        resamp.show();
        QVERIFY(QTest::qWaitForWindowExposed(&resamp));
        checkLabels(resamp, {{"Label1", QStringLiteral("Установки  Resampler-фильтра")},
                             {"Label3", QStringLiteral("не корректны !")},
                             {"Label2", QStringLiteral("Файл не может быть записан!")}});
        QVERIFY(!resamp.isModal());
        // Above the main window as its dialog, never above other programs.
        QVERIFY(!(resamp.windowFlags() & Qt::WindowStaysOnTopHint));
        checkTopToBottom(resamp, {"Label1", "Label3", "Label2"});

        gc::ui::TErrFileCoeff file;
        QVERIFY(file.isModal());
        QCOMPARE(file.palette().color(QPalette::Window), QColor(0, 0, 0));
        file.show();
        QVERIFY(QTest::qWaitForWindowExposed(&file));
        checkLabels(file, {{"Label1", QStringLiteral("Файл коэфициентов CFIR")},
                           {"Label2", QStringLiteral("cfir_68.taps")},
                           {"Label3", QStringLiteral("отсутствует!")}});
        for (auto* label : file.findChildren<QLabel*>()) QVERIFY(isRedBold(label));
        checkTopToBottom(file, {"Label1", "Label2", "Label3"});
    }

    void aboutBoxNamesThisProgramAndClosesWithOk() {
        gc::ui::TInfo info;
        info.show();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
        QVERIFY(!info.isModal());
        checkLabels(info,
                    {{"Label3", QStringLiteral("Программа для конфигурирования  микросхемы ")},
                     {"Label4", QStringLiteral("  GC4016 фирмы \"Texas Instruments\"")}});
        const QString maker = child<QLabel>(info, QStringLiteral("Label1"))->text();
        QVERIFY(maker.contains(QStringLiteral("Конфигуратор GC4016")));
        QVERIFY(maker.contains(QStringLiteral("2.0")));
        QVERIFY(maker.contains(QStringLiteral("2026")));
        for (const char* name : {"Label1", "Label2", "Label5"}) {
            auto* label = child<QLabel>(info, QString::fromLatin1(name));
            QVERIFY(!label->text().trimmed().isEmpty());
            QVERIFY2(showsWholeText(label), name);
            QVERIFY(!label->font().bold());
        }
        checkTopToBottom(info, {"Label3", "Label4", "Label1", "Label2", "Label5", "Button1"});
        auto* ok = child<QPushButton>(info, QStringLiteral("Button1"));
        QCOMPARE(ok->text(), QStringLiteral("ОК"));
        QVERIFY(ok->width() >= ok->fontMetrics().horizontalAdvance(ok->text()));
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!info.isVisible());
        // It keeps its state and shows again.
        info.show();
        QVERIFY(info.isVisible());
    }

    void reportsReachTheirWindowsThroughUiPort() {
        gc::ui::TErrFileCoeff file;
        gc::ui::TErrDecim decim;
        gc::ui::TErrEqualDecim equal;
        gc::ui::TErrResamp resamp;
        gc::ui::QtUiPort ui(QDir::currentPath().toStdString());
        ui.setReportWindows(&file, &decim, &equal, &resamp);

        // A file report is modal: showError returns once the user has closed it, and the
        // three lines are the caller's, whatever an earlier caller wrote.
        QStringList seen;
        bool modal = false;
        for (const char* verdict : {"поврежден!", "отсутствует!"}) {
            whenModalShown([&](QWidget* w) {
                modal = w == &file;
                for (const char* name : {"Label1", "Label2", "Label3"})
                    seen << child<QLabel>(file, QString::fromLatin1(name))->text();
            });
            ui.showError({gc::app::ErrorWindow::ErrFileCoeff,
                          {"Файл конфигурации", "CONFIGS/std.trv", verdict}});
            QVERIFY(modal);
            QVERIFY(!file.isVisible());
        }
        QCOMPARE(seen, (QStringList{
                           QStringLiteral("Файл конфигурации"), QStringLiteral("CONFIGS/std.trv"),
                           QStringLiteral("поврежден!"), QStringLiteral("Файл конфигурации"),
                           QStringLiteral("CONFIGS/std.trv"), QStringLiteral("отсутствует!")}));

        // The decimation report takes the mode's minimum into Label4 and stays open.
        ui.showError({gc::app::ErrorWindow::ErrDecim,
                      {"Минимальный коэффициент децимации CIC-фильтра", "в этом режиме   равен",
                       "4", "Файл не может быть записан!"}});
        QVERIFY(decim.isVisible());
        QCOMPARE(child<QLabel>(decim, QStringLiteral("Label4"))->text(), QStringLiteral("4"));
        QCOMPARE(child<QLabel>(decim, QStringLiteral("Label2"))->text(),
                 QStringLiteral("Файл не может быть записан!"));

        ui.showError({gc::app::ErrorWindow::ErrEqualDecim, {}});
        QVERIFY(equal.isVisible());
        QCOMPARE(child<QLabel>(equal, QStringLiteral("Label4"))->text(),
                 QStringLiteral(" должны быть одинаковыми!"));
        ui.showError({gc::app::ErrorWindow::ErrResamp, {}});
        QVERIFY(resamp.isVisible());
    }

    void uiPortRoutesWindowsDialogsAndMessages() {
        gc::ui::QtUiPort ui(QDir::tempPath().toStdString());
        QStringList calls;
        ui.registerWindow(gc::app::Window::Cfir,
                          {[&] { calls << QStringLiteral("show cfir"); },
                           [&] { calls << QStringLiteral("refresh cfir"); }});
        QVERIFY(ui.hasWindow(gc::app::Window::Cfir));
        QVERIFY(!ui.hasWindow(gc::app::Window::Pfir));
        ui.showWindow(gc::app::Window::Cfir);
        ui.refreshWindow(gc::app::Window::Cfir);
        ui.showWindow(gc::app::Window::Pfir);  // nobody registered: nothing happens
        QCOMPARE(calls, (QStringList{QStringLiteral("show cfir"), QStringLiteral("refresh cfir")}));

        QCOMPARE(gc::ui::QtUiPort::nameFilter("*.trv"), QStringLiteral("*.trv"));
        QCOMPARE(gc::ui::QtUiPort::nameFilter("Конфигурация|*.trv"),
                 QStringLiteral("Конфигурация (*.trv)"));
        QCOMPARE(gc::ui::QtUiPort::nameFilter("Taps|*.taps|All|*.*"),
                 QStringLiteral("Taps (*.taps);;All (*.*)"));
        // A description that already names its pattern is kept as it is.
        QCOMPARE(gc::ui::QtUiPort::nameFilter("FIRFilterl(*.taps)|*.taps"),
                 QStringLiteral("FIRFilterl(*.taps)"));

        // The real file dialog: initial folder resolved against the working folder, the
        // default extension appended to a typed name, cancel gives nothing. The dialog is
        // answered by its configuration alone: an absolute name of a file that does not exist
        // and done(), so nothing waits for the dialog's file list, which loads in the
        // background at its own pace.
        QTemporaryDir work;
        QVERIFY(QDir(work.path()).mkpath(QStringLiteral("CONFIGS")));
        gc::ui::QtUiPort files(work.path().toStdString());
        QString shownFolder;
        whenModalShown([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog != nullptr);
            shownFolder = dialog->directory().absolutePath();
            QCOMPARE(dialog->defaultSuffix(), QStringLiteral("trv"));
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            // selectFile leaves the name field alone while it has the focus, which the shown
            // dialog may give it or not: the name is typed into the field itself.
            const QString saved = QDir(shownFolder).absoluteFilePath(QStringLiteral("saved"));
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(saved);
            else
                dialog->selectFile(saved);
            static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
        });
        const auto chosen = files.askSaveFile({"*.trv", "trv", "CONFIGS"});
        QCOMPARE(shownFolder, QDir(work.path()).absoluteFilePath(QStringLiteral("CONFIGS")));
        QVERIFY(chosen.has_value());
        QCOMPARE(QString::fromStdString(*chosen),
                 QDir(work.path()).absoluteFilePath(QStringLiteral("CONFIGS/saved.trv")));
        whenModalShown([](QWidget*) {});
        QVERIFY(!files.askOpenFile({"*.taps", "taps", "FILTERS"}).has_value());

        // A scripted chooser stands in for the dialogs.
        files.setFileChooser([](bool save, const gc::app::FileDialogRequest& r) {
            return std::optional<std::string>((save ? "save:" : "open:") + r.initialDir);
        });
        QCOMPARE(files.askOpenFile({"*.taps", "taps", "FILTERS"}).value(),
                 std::string("open:FILTERS"));

        // The conversion error is a modal message box with the message.
        QString message;
        whenModalShown([&](QWidget* w) {
            if (auto* box = qobject_cast<QMessageBox*>(w)) message = box->text();
        });
        ui.showConversionError("\"abc\" не является целым числом");
        QCOMPARE(message, QStringLiteral("\"abc\" не является целым числом"));
    }
};

QTEST_MAIN(MessageWindowsTest)
#include "MessageWindowsTest.moc"
