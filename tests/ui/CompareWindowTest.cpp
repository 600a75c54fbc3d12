// "Сравнить с..." in the window program on an offscreen display: the plot menu's action asks
// for a second configuration, the main plot draws its channel with a legend of both names, the
// requirement window shows its figures in a column beside the current ones, and "Убрать
// сравнение" takes it all away again; choosing once more brings it back.
#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "app/Fakes.h"
#include "app/WorkingFolder.h"
#include "response/ComparisonPlot.h"
#include "response/RecordingCanvas.h"
#include "ui/Application.h"
#include "ui/PlotBox.h"
#include "ui/PlotMenu.h"
#include "ui/Ugform.h"
#include "ui/Widgets.h"

using gc::testing::RecordingCanvas;
using gc::ui::ValuePanel;
using gc::ui::WindowOrder;
using gc::uitest::child;

class CompareWindowTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir work_;
    std::unique_ptr<gc::ui::Application> app_;
    std::vector<gc::app::FileDialogRequest> asked_;
    std::optional<std::string> answer_;

    QWidget& mainForm() { return app_->mainWindow(); }
    QWidget& requirementForm() { return *app_->window(WindowOrder::Requirement); }
    QAction* action(const char* name) {
        auto* form = qobject_cast<gc::ui::TGForm*>(&mainForm());
        QAction* a = form->plotMenu()->findChild<QAction*>(QString::fromLatin1(name));
        if (a == nullptr) QTest::qFail(name, __FILE__, __LINE__);
        return a;
    }
    // Opens the plot menu as the user would (its actions are enabled when it comes up), then
    // chooses `name`.
    void choose(const char* name) {
        QMenu* menu = qobject_cast<gc::ui::TGForm*>(&mainForm())->plotMenu();
        menu->popup(QPoint(0, 0));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QAction* a = action(name);
        QVERIFY(a->isEnabled());
        menu->hide();
        a->trigger();
        QCoreApplication::processEvents();
    }
    bool offEnabled() {
        QMenu* menu = qobject_cast<gc::ui::TGForm*>(&mainForm())->plotMenu();
        menu->popup(QPoint(0, 0));
        const bool enabled = action("ActionCompareOff")->isEnabled();
        menu->hide();
        return enabled;
    }
    // Pixels of the main plot in the compared curve's colour (antialiased: near it).
    int comparedPixels() {
        QCoreApplication::processEvents();
        auto* box = child<gc::ui::PlotBox>(mainForm(), QStringLiteral("CICPBox"));
        const QImage picture = box->grab().toImage();
        const QColor want(gc::response::kComparisonColour.r, gc::response::kComparisonColour.g,
                          gc::response::kComparisonColour.b);
        int n = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const QColor c = picture.pixelColor(x, y);
                if (std::abs(c.red() - want.red()) < 32 &&
                    std::abs(c.green() - want.green()) < 32 &&
                    std::abs(c.blue() - want.blue()) < 32)
                    ++n;
            }
        }
        return n;
    }
    // The texts the main plot draws (the legend's names).
    std::vector<std::string> plotTexts() {
        RecordingCanvas canvas;
        app_->channelPlot().draw(canvas);
        std::vector<std::string> texts;
        for (const auto& t : canvas.texts) texts.push_back(t.text);
        return texts;
    }
    QString cmp(const char* name) {
        return child<ValuePanel>(requirementForm(), QString::fromLatin1(name))->text();
    }

  private slots:
    void initTestCase() {
        std::vector<std::string> log;
        gc::app::testing::RecordingUi quiet(log);
        const std::string folder = work_.path().toStdString();
        QVERIFY(gc::app::writeWorkingFolder(gc::app::workingFolderFiles(folder), quiet));
        // A second configuration: channel 0 decimating by 128 instead of 64.
        QFile std(work_.filePath(QStringLiteral("CONFIGS/std.trv")));
        QVERIFY(std.open(QIODevice::ReadOnly));
        QByteArray text = std.readAll();
        const qsizetype at = text.indexOf("Decimation= 64 ");
        QVERIFY(at >= 0);
        text.replace(at, 15, "Decimation= 128 ");
        QFile narrow(work_.filePath(QStringLiteral("CONFIGS/narrow.trv")));
        QVERIFY(narrow.open(QIODevice::WriteOnly));
        narrow.write(text);
        narrow.close();

        app_ = std::make_unique<gc::ui::Application>(gc::appconfig::Workspace(folder));
        app_->ui().setFileChooser([this](bool save, const gc::app::FileDialogRequest& request) {
            if (save) return std::optional<std::string>();
            asked_.push_back(request);
            return answer_;
        });
        app_->start();
        QVERIFY(QTest::qWaitForWindowExposed(&mainForm()));
        QCOMPARE(app_->session().model.Work.ConfigFileName, std::string("std.trv"));
    }

    void cleanupTestCase() { app_.reset(); }

    void choosesClearsAndChoosesAgain() {
        QVERIFY(!offEnabled());
        QCOMPARE(comparedPixels(), 0);
        QVERIFY(plotTexts().empty());

        // The requirement window open, with a pass band to measure.
        QTest::mouseClick(child<QPushButton>(mainForm(), QStringLiteral("ButtonRequirement")),
                          Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowExposed(&requirementForm()));
        auto* fp = child<QLineEdit>(requirementForm(), QStringLiteral("EditFp"));
        fp->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(fp, QStringLiteral("80000"));
        QTest::keyClick(fp, Qt::Key_Return);
        auto* name = child<QLabel>(requirementForm(), QStringLiteral("LabelComparisonName"));
        QVERIFY(!name->isVisible());

        // Cancelling the file dialog changes nothing.
        answer_.reset();
        choose("ActionCompare");
        QCOMPARE(asked_.size(), size_t{1});
        QCOMPARE(asked_.back().filter, std::string("*.trv"));
        QVERIFY(!offEnabled());
        QCOMPARE(comparedPixels(), 0);

        answer_ = "CONFIGS/narrow.trv";
        for (int round = 0; round < 2; ++round) {
            choose("ActionCompare");
            QCOMPARE(plotTexts(), (std::vector<std::string>{"std.trv", "narrow.trv"}));
            QVERIFY(comparedPixels() > 50);
            QVERIFY(offEnabled());
            // The current configuration itself is untouched.
            QCOMPARE(app_->session().model.Work.ConfigFileName, std::string("std.trv"));

            // The comparison column: decimating by 128 instead of 64 halves the output rate.
            QVERIFY(name->isVisible());
            QCOMPARE(name->text(), QStringLiteral("narrow.trv"));
            QVERIFY(
                child<QLabel>(requirementForm(), QStringLiteral("LabelCurrentName"))->isVisible());
            QCOMPARE(cmp("PanelOutputRate"), QStringLiteral("390625.0"));
            QCOMPARE(cmp("PanelCmpOutputRate"), QStringLiteral("195312.5"));
            QVERIFY(!cmp("PanelCmpRipple").isEmpty());
            QVERIFY(!cmp("PanelCmpStopband").isEmpty());
            QVERIFY(child<ValuePanel>(requirementForm(), QStringLiteral("PanelCmpRipple"))
                        ->isVisible());

            choose("ActionCompareOff");
            QVERIFY(plotTexts().empty());
            QCOMPARE(comparedPixels(), 0);
            QVERIFY(!offEnabled());
            QVERIFY(!name->isVisible());
            QCOMPARE(cmp("PanelCmpOutputRate"), QString());
        }
        QCOMPARE(asked_.size(), size_t{3});
    }
};

QTEST_MAIN(CompareWindowTest)
#include "CompareWindowTest.moc"
