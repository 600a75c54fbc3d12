// The window "Моделирование": opened with the main window's button, a tone run off the window's
// thread with the figures, the stage table and the plot arriving in the window, stop, and a
// recording written. With GC_SCREENSHOT_DIR set, the window is saved there as a PNG picture.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "UiTestSupport.h"
#include "ui/Application.h"
#include "ui/Ugform.h"

using gc::app::Window;
using gc::ui::WindowOrder;
using gc::uitest::child;

namespace {

QString text(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

}  // namespace

class SimulationWindowTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void opensRunsStopsAndWrites() {
        QTemporaryDir work;
        gc::ui::Application app(gc::appconfig::Workspace(work.path().toStdString()));
        app.startWithDefaults();
        QWidget* form = app.window(WindowOrder::Simulation);
        QVERIFY(form != nullptr);
        QVERIFY(!form->isVisible());
        QTest::mouseClick(child<QPushButton>(app.mainWindow(), "ButtonSimulation"), Qt::LeftButton);
        QVERIFY(form->isVisible());
        QVERIFY(app.session().open[Window::Simulation]);
        QCOMPARE(form->windowTitle(), QStringLiteral("Моделирование"));
        QVERIFY(
            child<QLabel>(*form, "LabelChannel")->text().contains(QStringLiteral("390625.000")));
        auto* run = child<QPushButton>(*form, "ButtonRun");
        auto* stop = child<QPushButton>(*form, "ButtonCancel");
        auto* status = child<QLabel>(*form, "LabelStatus");
        auto* kind = child<QComboBox>(*form, "ComboSignal");
        QCOMPARE(kind->count(), 5);
        QVERIFY(child<QLineEdit>(*form, "EditF1")->isEnabled());
        QVERIFY(!child<QLineEdit>(*form, "EditF2")->isEnabled());
        QVERIFY(!stop->isEnabled());

        child<QLineEdit>(*form, "EditLength")->setText(QStringLiteral("400000"));
        child<QLineEdit>(*form, "EditOutput")->setText(QStringLiteral("out.wav"));
        QTest::mouseClick(run, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(run->isEnabled(), 30000);
        QCOMPARE(status->text(), QStringLiteral("Готово, выход записан: out.wav"));
        QVERIFY(QFile::exists(QDir(work.path()).filePath("out.wav")));
        QCOMPARE(child<QProgressBar>(*form, "ProgressBar")->value(), 100);
        QCOMPARE(child<QLabel>(*form, "PanelOutputRate")->text(), QStringLiteral("390625.000"));
        QVERIFY(child<QLabel>(*form, "PanelSnr")->text().toDouble() > 80.0);
        auto* table = child<QTableWidget>(*form, "TableStages");
        QCOMPARE(table->rowCount(), 9);
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("вход"));
        QCOMPARE(table->item(0, 2)->text(), QStringLiteral("-6.00"));
        QCOMPARE(child<QLabel>(*form, "LabelFrequency0")->text(), QStringLiteral("-195.3"));
        QVERIFY(child<QPushButton>(*form, "ButtonSaveSpectrum")->isEnabled());
        form->resize(1000, 640);
        const QByteArray dir = qgetenv("GC_SCREENSHOT_DIR");
        if (!dir.isEmpty()) form->grab().save(QString::fromLocal8Bit(dir) + "/simulation.png");

        // Two tones: both frequency fields.
        kind->setCurrentIndex(1);
        emit kind->activated(1);
        QVERIFY(child<QLineEdit>(*form, "EditF2")->isEnabled());

        // A long run stopped at once: nothing of it arrives later, nothing is written.
        child<QLineEdit>(*form, "EditLength")->setText(QStringLiteral("2000000000"));
        child<QLineEdit>(*form, "EditOutput")->setText(QStringLiteral("stopped.wav"));
        QTest::mouseClick(run, Qt::LeftButton);
        QVERIFY(stop->isEnabled());
        QTest::mouseClick(stop, Qt::LeftButton);
        QCOMPARE(status->text(), text(gc::app::kSimulationCancelled));
        QTest::qWait(300);
        QCOMPARE(status->text(), text(gc::app::kSimulationCancelled));
        QVERIFY(run->isEnabled());
        QVERIFY(!QFile::exists(QDir(work.path()).filePath("stopped.wav")));

        // Closing the window during a run stops it and clears the open flag.
        QTest::mouseClick(run, Qt::LeftButton);
        QVERIFY(app.program().simulation.running());
        form->close();
        QVERIFY(!app.program().simulation.running());
        QVERIFY(!app.session().open[Window::Simulation]);
    }
};

QTEST_MAIN(SimulationWindowTest)
#include "SimulationWindowTest.moc"
