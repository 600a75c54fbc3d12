// The desktop program's start-up reports, service mode and the save-time refusals of
// "Записать", driven through the real windows.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "UiTestSupport.h"
#include "appconfig/ConfigFile.h"
#include "model/ConfigurationModel.h"
#include "ui/Application.h"
#include "ui/Ugform.h"

using gc::ui::WindowOrder;
using gc::uitest::child;

namespace {

// Closes every modal window that comes up, keeping its three lines, for as long as it lives.
class ModalCollector {
  public:
    ModalCollector() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr) return;
            // Several files in one window: one line each under the heading.
            if (auto* list = modal->findChild<QLabel*>(QStringLiteral("LabelList"));
                list != nullptr && !list->isHidden()) {
                ++windows;
                reports << list->text().split(QLatin1Char('\n'));
                modal->close();
                return;
            }
            QStringList lines;
            for (const char* name : {"Label1", "Label2", "Label3"})
                if (auto* label = modal->findChild<QLabel*>(QString::fromLatin1(name)))
                    lines << label->text();
            ++windows;
            reports << lines.join(QLatin1Char(' '));
            modal->close();
        });
        timer_.start(5);
    }
    QStringList reports;
    int windows{0};  // how many windows came up

  private:
    QTimer timer_;
};

void writeStartupConfiguration(const QString& folder, int fullDebug) {
    QVERIFY(QDir(folder).mkpath(QStringLiteral("CONFIGS")));
    gc::model::ConfigurationModel model;
    model.Chip.FullDebug = fullDebug;
    QVERIFY(gc::appconfig::writeConfiguration((folder + "/CONFIGS/std.trv").toStdString(), model));
}

}  // namespace

class StartupAndSaveTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void startInAnEmptyFolderReportsEveryFileInOrder() {
        QTemporaryDir work;
        ModalCollector modal;
        gc::ui::Application app(gc::appconfig::Workspace(work.path().toStdString()));
        // Declined, the start goes on as before, reporting every file.
        int offered = 0;
        app.setWorkingFolderQuestion([&offered](const QString&) {
            ++offered;
            return false;
        });
        app.start();
        QCOMPARE(offered, 1);
        QStringList expected{QStringLiteral("Файл конфигурации CONFIGS/std.trv отсутствует!"),
                             QStringLiteral("Файл конфигурации CONFIGS/sinc.cfg отсутствует!")};
        for (int channel = 0; channel < 4; ++channel) {
            expected << QStringLiteral("Файл коэфициентов CFIR FILTERS/cfir_68.taps отсутствует!")
                     << QStringLiteral("Файл коэфициентов PFIR FILTERS/pfir_gsm.taps отсутствует!");
        }
        expected << QStringLiteral("Файл коэфициентов RFIR FILTERS/res_8x64_60.taps отсутствует!");
        QCOMPARE(modal.reports, expected);
        QCOMPARE(modal.windows, 1);  // all in one window

        // The defaults are shown.
        QWidget& form = app.mainWindow();
        QVERIFY(form.isVisible());
        QCOMPARE(child<QLineEdit>(form, QStringLiteral("Edit1"))->text(), QStringLiteral("64"));
        QCOMPARE(child<QLineEdit>(form, QStringLiteral("Edit3"))->text(),
                 QStringLiteral("100000000"));
        QCOMPARE(child<QLabel>(form, QStringLiteral("Panel25"))->text(), QStringLiteral("std.trv"));
    }

    void serviceModeButtonsOnlyWithTheServiceKey() {
        for (const int fullDebug : {347, 346, 0}) {
            QTemporaryDir work;
            writeStartupConfiguration(work.path(), fullDebug);
            ModalCollector modal;  // the chip configuration and tap files are missing
            gc::ui::Application app(gc::appconfig::Workspace(work.path().toStdString()));
            app.start();
            QWidget& form = app.mainWindow();
            for (const char* name : {"Button1", "Button2", "Button3", "Button4", "Button10"}) {
                QCOMPARE(child<QAbstractButton>(form, QString::fromLatin1(name))->isVisible(),
                         fullDebug == 347);
            }
            QCOMPARE(app.session().model.Chip.FullDebug, 0);  // held aside until the exit
            QCOMPARE(app.session().model.Work.SavedFullDebug, fullDebug);
        }
    }

    void saveIsRefusedBelowTheModesMinimum() {
        QTemporaryDir work;
        gc::ui::Application app(gc::appconfig::Workspace(work.path().toStdString()));
        int dialogs = 0;
        app.ui().setFileChooser([&](bool, const gc::app::FileDialogRequest&) {
            ++dialogs;
            return std::optional<std::string>();
        });
        app.startWithDefaults();
        QWidget& form = app.mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto type = [&](const char* name, const QString& value) {
            auto* edit = child<QLineEdit>(form, QString::fromLatin1(name));
            edit->setFocus(Qt::MouseFocusReason);
            edit->selectAll();
            QTest::keyClicks(edit, value);
            QTest::keyClick(edit, Qt::Key_Return);
        };
        auto click = [&](const char* name) {
            QTest::mouseClick(child<QAbstractButton>(form, QString::fromLatin1(name)),
                              Qt::LeftButton);
        };
        QWidget* decim = app.window(WindowOrder::ErrDecim);

        // Four channels: channel 0 at 7 is below 8.
        type("Edit1", QStringLiteral("7"));
        click("Button6");
        QVERIFY(decim->isVisible());
        QCOMPARE(child<QLabel>(*decim, QStringLiteral("Label4"))->text(), QStringLiteral("8"));
        QCOMPARE(dialogs, 0);  // refused before any name is asked
        decim->close();

        // Two channels (combined firmware): the minimum is 4.
        click("CheckBox9");
        child<QComboBox>(form, QStringLiteral("ComboBox11"))->setCurrentIndex(1);
        QCOMPARE(app.session().model.Chip.ModeOfDdc, 1);
        type("Edit1", QStringLiteral("3"));
        click("Button6");
        QVERIFY(decim->isVisible());
        QCOMPARE(child<QLabel>(*decim, QStringLiteral("Label4"))->text(), QStringLiteral("4"));
        QCOMPARE(dialogs, 0);
        QVERIFY(QDir(work.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
    }
};

QTEST_MAIN(StartupAndSaveTest)
#include "StartupAndSaveTest.moc"
