// The window "Уровни" on an offscreen display: opened from the main window, its fields driving
// the level plan, the table following a change in the main window, and the open flag gone once
// it closes. With GC_UI_SCREENSHOTS set to a folder, a picture of the window is saved there.
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "UiTestSupport.h"
#include "ui/Application.h"
#include "ui/Ugform.h"
#include "ui/Ulevels.h"

using gc::app::Window;
using gc::ui::WindowOrder;
using gc::uitest::child;

class LevelsWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> work_;
    std::unique_ptr<gc::ui::Application> app_;

    QWidget& mainForm() { return app_->mainWindow(); }
    QWidget& form() { return *app_->window(WindowOrder::Levels); }
    QTableWidget* table() { return child<QTableWidget>(form(), QStringLiteral("TableLevels")); }

    static void type(QWidget& w, const char* name, const QString& value) {
        auto* edit = child<QLineEdit>(w, QString::fromLatin1(name));
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, value);
        QTest::keyClick(edit, Qt::Key_Return);
    }

  private Q_SLOTS:
    void init() {
        work_ = std::make_unique<QTemporaryDir>();
        app_ = std::make_unique<gc::ui::Application>(
            gc::appconfig::Workspace(work_->path().toStdString()));
        app_->startWithDefaults();
        QVERIFY(QTest::qWaitForWindowExposed(&mainForm()));
    }

    void cleanup() {
        app_.reset();
        work_.reset();
    }

    void opensAndFollowsTheInputAndTheMainWindow() {
        QVERIFY(qobject_cast<gc::ui::TLevelsForm*>(&form()));
        QVERIFY(form().isHidden());
        QTest::mouseClick(child<QPushButton>(mainForm(), QStringLiteral("ButtonLevels")),
                          Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowExposed(&form()));
        QVERIFY(app_->session().isOpen(Window::Levels));
        QCOMPARE(form().windowTitle(), QStringLiteral("Уровни"));
        QCOMPARE(table()->rowCount(), 9);
        QCOMPARE(table()->columnCount(), 9);
        QCOMPARE(table()->item(0, 0)->text(), QStringLiteral("вход"));
        QCOMPARE(table()->item(0, 3)->text(), QStringLiteral("-6.00"));
        QCOMPARE(table()->item(2, 2)->text(), QStringLiteral("1562500.0"));  // D 64
        auto* memo = child<QPlainTextEdit>(form(), QStringLiteral("MemoGain"));
        QCOMPARE(memo->toPlainText().split(QLatin1Char('\n')).size(), 10);
        QVERIFY(!child<QLabel>(form(), QStringLiteral("LabelFirstClip"))->text().isEmpty());

        // A louder input: the input row turns red.
        type(form(), "EditLevel", QStringLiteral("2"));
        QCOMPARE(table()->item(0, 3)->text(), QStringLiteral("2.00"));
        QCOMPARE(table()->item(0, 0)->foreground().color(), QColor(192, 0, 0));

        // The main window's decimation: the CIC row's rate follows at once.
        type(mainForm(), "Edit1", QStringLiteral("32"));
        QCOMPARE(table()->item(2, 2)->text(), QStringLiteral("3125000.0"));

        // Noise: the band defaults to the output rate.
        child<QComboBox>(form(), QStringLiteral("ComboKind"))->setCurrentIndex(1);
        QCOMPARE(child<QLineEdit>(form(), QStringLiteral("EditFrequency"))->text(),
                 QStringLiteral("781250"));

        // Every column shows its whole header and figures.
        form().resize(form().sizeHint().expandedTo(form().size()));
        QCoreApplication::processEvents();
        for (int c = 0; c < table()->columnCount(); ++c)
            QVERIFY(table()->columnWidth(c) >= table()->horizontalHeader()->sectionSizeHint(c));
        const QString folder = qEnvironmentVariable("GC_UI_SCREENSHOTS");
        if (!folder.isEmpty())
            QVERIFY(form().grab().save(QDir(folder).filePath(QStringLiteral("levels.png"))));

        form().close();
        QVERIFY(!app_->session().isOpen(Window::Levels));
    }
};

QTEST_MAIN(LevelsWindowTest)
#include "LevelsWindowTest.moc"
