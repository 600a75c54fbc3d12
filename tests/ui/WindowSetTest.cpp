// The window set of the application object: every window exists from the start, and the main
// window's actions show the auxiliary windows through their UiPort hooks and open flags.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "UiTestSupport.h"
#include "ui/Application.h"
#include "ui/Ugform.h"

using gc::ui::WindowOrder;

class WindowSetTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void everyWindowIsMadeAndTheStageWindowsOpenByDoubleClick() {
        QTemporaryDir work;
        gc::ui::Application app(gc::appconfig::Workspace(work.path().toStdString()));
        // The fifteen windows of the set exist from the start, none of the auxiliary ones shown.
        for (int order = int(WindowOrder::GForm); order <= int(WindowOrder::Info); ++order) {
            QWidget* w = app.window(WindowOrder(order));
            QVERIFY2(w != nullptr, qPrintable(QString::number(order)));
            QVERIFY(!w->isVisible());
        }

        app.startWithDefaults();
        QWidget& form = app.mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        // Double-clicks on the decimation field and the filter lists set the open flags and
        // show the stage windows registered by their units.
        QTest::mouseDClick(gc::uitest::child<QLineEdit>(form, QStringLiteral("Edit1")),
                           Qt::LeftButton);
        QVERIFY(app.session().open[gc::app::Window::Cic5]);
        QVERIFY(app.window(WindowOrder::Cic5Form)->isVisible());
        const std::pair<const char*, WindowOrder> lists[] = {
            {"ComboBox1", WindowOrder::CfirForm},
            {"ComboBox4", WindowOrder::PfirForm},
            {"ComboBox5", WindowOrder::ResampForm}};
        for (const auto& [name, order] : lists) {
            auto* list = gc::uitest::child<QComboBox>(form, QString::fromLatin1(name));
            QTest::mouseDClick(list->lineEdit(), Qt::LeftButton);
            QVERIFY2(app.window(order)->isVisible(), name);
        }
        QVERIFY(app.session().open[gc::app::Window::Cfir] &&
                app.session().open[gc::app::Window::Pfir] &&
                app.session().open[gc::app::Window::Resamp]);
        // A change in the main window leaves them open and shown.
        QTest::mouseClick(gc::uitest::child<QPushButton>(form, QStringLiteral("Button8")),
                          Qt::LeftButton);
        QVERIFY(app.window(WindowOrder::CfirForm)->isVisible());
    }

    void registerEditorsFollowTheirOpenFlags() {
        QTemporaryDir work;
        gc::ui::Application app(gc::appconfig::Workspace(work.path().toStdString()));
        app.session().model.Work.ServiceMode = true;
        app.startWithDefaults();
        QWidget& form = app.mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        const auto button = [&](const char* name) {
            return gc::uitest::child<QPushButton>(form, QString::fromLatin1(name));
        };
        // The service mode shows the five editor buttons.
        for (const char* name : {"Button1", "Button2", "Button3", "Button4", "Button10"})
            QVERIFY2(button(name)->isVisible(), name);

        QTest::mouseClick(button("Button2"), Qt::LeftButton);
        QWidget* outBlock = app.window(WindowOrder::OutBlock);
        QVERIFY(outBlock->isVisible());
        QVERIFY(app.session().open[gc::app::Window::OutBlock]);
        outBlock->close();
        QVERIFY(!app.session().open[gc::app::Window::OutBlock]);

        QTest::mouseClick(button("Button3"), Qt::LeftButton);
        QVERIFY(app.window(WindowOrder::InpBlock)->isVisible());
        QVERIFY(app.session().open[gc::app::Window::InpBlock]);
        QTest::mouseClick(button("Button4"), Qt::LeftButton);
        QVERIFY(app.window(WindowOrder::Freq)->isVisible());
        QVERIFY(app.session().open[gc::app::Window::Freq]);
        QTest::mouseClick(button("Button10"), Qt::LeftButton);
        QVERIFY(app.window(WindowOrder::Filters)->isVisible());
        QVERIFY(app.session().open[gc::app::Window::Filters]);
        // The synchronisation editor has no open flag.
        QTest::mouseClick(button("Button1"), Qt::LeftButton);
        QVERIFY(app.window(WindowOrder::Sync)->isVisible());
        // The about box.
        QTest::mouseClick(button("Button14"), Qt::LeftButton);
        QVERIFY(app.window(WindowOrder::Info)->isVisible());
    }
};

QTEST_MAIN(WindowSetTest)
#include "WindowSetTest.moc"
