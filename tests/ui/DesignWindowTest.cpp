// The window "Синтез фильтров": opened through UiPort::showWindow(Window::Design), a design
// running off the window's thread with its result arriving in the window, cancel, and
// "Сохранить" choosing the written tap files in the main window. With GC_SCREENSHOT_DIR set,
// the window is saved there as PNG pictures.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include "UiTestSupport.h"
#include "filters/FilterTables.h"
#include "ui/Application.h"
#include "ui/Ugform.h"

using gc::app::Window;
using gc::ui::WindowOrder;
using gc::uitest::child;

namespace {

QString text(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

// The window, and on a real display the whole screen with its frame, as PNG pictures.
void screenshot(QWidget* w, const char* name) {
    const QByteArray dir = qgetenv("GC_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    const QString base = QString::fromLocal8Bit(dir) + QLatin1Char('/');
    w->grab().save(base + QLatin1String(name));
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        QTest::qWait(200);  // the window manager's frame
        QGuiApplication::primaryScreen()->grabWindow(0).save(base + QLatin1String("screen-") +
                                                             QLatin1String(name));
    }
}

// The working folder: GC_DESIGN_WORKDIR (a folder made by "gc4016-cli init", started as the
// program starts) when set, else a fresh empty one started with the defaults.
std::string workFolder(const QTemporaryDir& temp) {
    const QByteArray dir = qgetenv("GC_DESIGN_WORKDIR");
    return dir.isEmpty() ? temp.path().toStdString() : dir.toStdString();
}

void startApp(gc::ui::Application& app) {
    if (qEnvironmentVariableIsEmpty("GC_DESIGN_WORKDIR")) {
        app.startWithDefaults();
    } else {
        app.start();
    }
}

gc::analysis::Requirement requirement() {
    gc::analysis::Requirement req;
    req.passbandHz = 80000.0;
    req.rippleMaxDb = 1.0;
    req.stopbandMinDb = 60.0;
    return req;
}

}  // namespace

class DesignWindowTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void opensRunsCancelsAndSaves() {
        QTemporaryDir temp;
        const QDir work(QString::fromStdString(workFolder(temp)));
        gc::ui::Application app{gc::appconfig::Workspace(workFolder(temp))};
        startApp(app);
        QWidget* form = app.window(WindowOrder::Design);
        QVERIFY(form != nullptr);
        QVERIFY(!form->isVisible());

        // Without a requirement the window says so and designs nothing.
        app.ui().showWindow(Window::Design);
        QVERIFY(form->isVisible());
        QVERIFY(app.session().open[Window::Design]);
        QCOMPARE(form->windowTitle(), QStringLiteral("Синтез фильтров: канал 0"));
        QCOMPARE(child<QLabel>(*form, "LabelRequirement")->text(),
                 text(gc::app::kDesignNoRequirement));
        auto* calculate = child<QPushButton>(*form, "ButtonCalculate");
        auto* cancel = child<QPushButton>(*form, "ButtonCancel");
        auto* save = child<QPushButton>(*form, "ButtonSave");
        auto* status = child<QLabel>(*form, "LabelStatus");
        auto* progress = child<QProgressBar>(*form, "ProgressBar");
        QVERIFY(!calculate->isEnabled());
        QVERIFY(!save->isEnabled());

        // With one, "Рассчитать" runs the design while the window keeps handling events.
        app.program().requirement.setRequirement(requirement());
        app.ui().refreshWindow(Window::Design);
        QVERIFY(calculate->isEnabled());
        QCOMPARE(child<QLineEdit>(*form, "EditName")->text(),
                 qEnvironmentVariableIsEmpty("GC_DESIGN_WORKDIR") ? QStringLiteral("design_ch0")
                                                                  : QStringLiteral("std_ch0"));
        QCOMPARE(form->windowTitle(), text(gc::app::kDesignChannelCaption).arg(0));
        QVERIFY(!child<QLabel>(*form, "PanelRippleNow")->text().isEmpty());
        QCOMPARE(child<QLabel>(*form, "LabelFrequency4")->text(), QStringLiteral("390.6"));
        form->resize(980, 620);
        screenshot(form, "design-before.png");

        QTest::mouseClick(calculate, Qt::LeftButton);
        QCOMPARE(status->text(), text(gc::app::kDesignRunning));
        QVERIFY(cancel->isEnabled());
        QVERIFY(!calculate->isEnabled());
        QVERIFY(progress->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(save->isEnabled(), 60000);
        QCOMPARE(status->text(), text(gc::app::kDesignMet));
        QVERIFY(!progress->isEnabled());
        QCOMPARE(progress->value(), 100);
        QVERIFY(!child<QPlainTextEdit>(*form, "MemoShortfall")->isVisible());  // met
        QVERIFY(!cancel->isEnabled());
        QVERIFY(!child<QLabel>(*form, "PanelRipple")->text().isEmpty());
        QVERIFY(child<QLabel>(*form, "PanelStopband")->styleSheet().contains("#007000"));
        screenshot(form, "design-result.png");

        // "Отмена" stops a running design at once; nothing of it arrives later.
        QTest::mouseClick(calculate, Qt::LeftButton);
        QVERIFY(cancel->isEnabled());
        QTest::mouseClick(cancel, Qt::LeftButton);
        QCOMPARE(status->text(), text(gc::app::kDesignCancelled));
        QVERIFY(calculate->isEnabled());
        QTest::qWait(300);
        QCOMPARE(status->text(), text(gc::app::kDesignCancelled));
        QVERIFY(!save->isEnabled());

        // A new design, then "Сохранить": the files are written and chosen in the main window.
        QTest::mouseClick(calculate, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(save->isEnabled(), 60000);
        auto* name = child<QLineEdit>(*form, "EditName");
        name->setText(QStringLiteral("rx"));
        QTest::mouseClick(save, Qt::LeftButton);
        QVERIFY(QFile::exists(work.filePath("FILTERS/rx_cfir.taps")));
        QVERIFY(QFile::exists(work.filePath("FILTERS/rx_pfir.taps")));
        QWidget& main = app.mainWindow();
        QVERIFY(child<QRadioButton>(main, "FileEnbCFIR")->isChecked());
        QVERIFY(child<QRadioButton>(main, "FileEnbPFIR")->isChecked());
        QVERIFY(!child<QRadioButton>(main, "TblEnbCFIR")->isChecked());
        QCOMPARE(app.session().model.Channels[0].NameOfCFIR, std::string("rx_cfir.taps"));
        QVERIFY(status->text().startsWith(text(gc::app::kDesignSaved)));
        screenshot(form, "design-saved.png");

        // A requirement out of reach: the best figures, red verdicts and what to relax.
        gc::analysis::Requirement hard;
        hard.passbandHz = 150000.0;
        hard.stopbandHz = 160000.0;
        hard.rippleMaxDb = 0.01;
        hard.stopbandMinDb = 140.0;
        hard.aliasRejectionMinDb = 100.0;
        app.program().requirement.setRequirement(hard);
        app.ui().refreshWindow(Window::Design);
        QTest::mouseClick(calculate, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(save->isEnabled(), 60000);
        QCOMPARE(status->text(), text(gc::app::kDesignMissed));
        auto* memo = child<QPlainTextEdit>(*form, "MemoShortfall");
        QVERIFY(memo->isVisible());
        QCOMPARE(memo->toPlainText(),
                 QString::fromStdString(app.program().design.result()->message));
        screenshot(form, "design-missed.png");

        // Closing the window during a design cancels it and clears the open flag.
        QTest::mouseClick(calculate, Qt::LeftButton);
        QVERIFY(app.program().design.running());
        form->close();
        QVERIFY(!app.program().design.running());
        QVERIFY(!app.session().open[Window::Design]);
    }

    void opensFromTheRequirementWindowAndFollowsItsRequirement() {
        QTemporaryDir work;
        gc::ui::Application app(gc::appconfig::Workspace(work.path().toStdString()));
        app.startWithDefaults();
        app.ui().showWindow(Window::Requirement);
        QWidget* requirementForm = app.window(WindowOrder::Requirement);
        QVERIFY(requirementForm != nullptr && requirementForm->isVisible());
        QTest::mouseClick(child<QPushButton>(*requirementForm, "ButtonDesign"), Qt::LeftButton);
        QWidget* form = app.window(WindowOrder::Design);
        QVERIFY(form->isVisible());
        auto* label = child<QLabel>(*form, "LabelRequirement");
        QCOMPARE(label->text(), text(gc::app::kDesignNoRequirement));
        // A requirement typed in its window reaches the open design window at once.
        auto* fp = child<QLineEdit>(*requirementForm, "EditFp");
        fp->setText(QStringLiteral("80000"));
        QTest::keyClick(fp, Qt::Key_Return);
        QVERIFY(app.program().requirement.requirement().has_value());
        QVERIFY(label->text().startsWith(QStringLiteral("Fp 80000.0 Гц")));
        QVERIFY(child<QPushButton>(*form, "ButtonCalculate")->isEnabled());
    }

    void resamplerSetsTellTheirStopband() {
        QTemporaryDir work;
        gc::ui::Application app(gc::appconfig::Workspace(work.path().toStdString()));
        app.startWithDefaults();
        auto* list = child<QComboBox>(app.mainWindow(), "ComboBox5");
        const auto db = gc::filters::resamplerStopbandDb(1);
        QVERIFY(db.has_value());
        QCOMPARE(list->itemData(1, Qt::ToolTipRole).toString(),
                 QStringLiteral("Подавление в полосе заграждения: %1 дБ")
                     .arg(QString::number(*db, 'f', 1)));
        QVERIFY(list->itemData(0, Qt::ToolTipRole).toString().isEmpty());  // the bypass
        QVERIFY(!list->itemData(list->count() - 1, Qt::ToolTipRole).toString().isEmpty());
    }
};

QTEST_MAIN(DesignWindowTest)
#include "DesignWindowTest.moc"
