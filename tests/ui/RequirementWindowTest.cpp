// The window "Требования к каналу" on an offscreen display: opened from the main window, its
// fields driving the requirement presenter, the limit colours, the figures following a change
// in the main window, the mask and alias curve on the main plot while it is open, and the open
// flag and overlay gone once it closes.
//
// With GC_UI_SCREENSHOTS set to a folder, the layout check saves pictures of the window and of
// the main window with the overlay there.
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "UiTestSupport.h"
#include "ui/Application.h"
#include "ui/PlotBox.h"
#include "ui/Ugform.h"
#include "ui/Urequirement.h"
#include "ui/Widgets.h"

using gc::app::Window;
using gc::ui::PanelColour;
using gc::ui::ValuePanel;
using gc::ui::WindowOrder;
using gc::uitest::child;
using gc::uitest::showsWholeText;

class RequirementWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> work_;
    std::unique_ptr<gc::ui::Application> app_;

    QWidget& mainForm() { return app_->mainWindow(); }
    QWidget& form() { return *app_->window(WindowOrder::Requirement); }

    static void type(QWidget& w, const char* name, const QString& value) {
        auto* edit = child<QLineEdit>(w, QString::fromLatin1(name));
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        if (value.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            QTest::keyClicks(edit, value);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    ValuePanel* panel(const char* name) {
        return child<ValuePanel>(form(), QString::fromLatin1(name));
    }
    void open() {
        QTest::mouseClick(child<QPushButton>(mainForm(), QStringLiteral("ButtonRequirement")),
                          Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowExposed(&form()));
    }
    // Pixels of the main plot in the mask's green and in the alias curve's magenta (the lines
    // are antialiased, so by hue rather than by exact value).
    std::pair<int, int> overlayPixels() {
        QCoreApplication::processEvents();
        auto* box = child<gc::ui::PlotBox>(mainForm(), QStringLiteral("CICPBox"));
        const QImage picture = box->grab().toImage();
        int green = 0;
        int magenta = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const QColor c = picture.pixelColor(x, y);
                if (c.green() > c.red() + 60 && c.green() > c.blue() + 60) ++green;
                if (c.red() > c.green() + 60 && c.blue() > c.green() + 60) ++magenta;
            }
        }
        return {green, magenta};
    }
    static void saveScreenshot(QWidget& w, const QString& name) {
        const QString folder = qEnvironmentVariable("GC_UI_SCREENSHOTS");
        if (folder.isEmpty()) return;
        QVERIFY(w.grab().save(QDir(folder).filePath(name + QStringLiteral(".png"))));
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

    void opensFromTheMainWindowAndFieldsDriveThePresenter() {
        QVERIFY(qobject_cast<gc::ui::TRequirementForm*>(&form()));
        QVERIFY(form().isHidden());
        QVERIFY(!app_->session().isOpen(Window::Requirement));
        open();
        QVERIFY(app_->session().isOpen(Window::Requirement));
        QCOMPARE(form().windowTitle(), QStringLiteral("Требования к каналу 0"));
        QCOMPARE(panel("PanelOutputRate")->text(), QStringLiteral("390625.0"));
        QCOMPARE(panel("LabelVerdict")->text(), QStringLiteral("Требование не задано"));
        // The warnings, one line each, are there even without a requirement.
        auto* memo = child<QPlainTextEdit>(form(), QStringLiteral("MemoWarnings"));
        const auto memoLines = [&] {
            QStringList lines;
            for (const std::string& line : app_->requirementState().MemoWarnings)
                lines << QString::fromStdString(line);
            return lines;
        };
        QCOMPARE(memo->toPlainText(), memoLines().join(QLatin1Char('\n')));
        // The largest PFIR gains in the main window: the total gain warning appears at once.
        child<QComboBox>(mainForm(), QStringLiteral("ComboBox6"))->setCurrentIndex(7);
        type(mainForm(), "Edit2", QStringLiteral("16383"));
        QVERIFY(!memoLines().isEmpty());
        QCOMPARE(memo->toPlainText(), memoLines().join(QLatin1Char('\n')));

        type(form(), "EditFp", QStringLiteral("80000"));
        QVERIFY(app_->requirement().requirement().has_value());
        QCOMPARE(app_->requirement().requirement()->passbandHz, 80000.0);
        QCOMPARE(panel("LabelVerdict")->text(), QStringLiteral("Ограничения не заданы"));
        QCOMPARE(panel("PanelRipple")->colour(), PanelColour::ButtonFace);
        QVERIFY(!panel("PanelRippleAt")->text().isEmpty());

        // A limit that is met is light green, one that fails light red, under dark text of
        // the same hue and with a mark beside the figure; the verdict with them in words.
        type(form(), "EditAs", QStringLiteral("20"));
        QCOMPARE(panel("PanelStopband")->colour(), PanelColour::Met);
        QVERIFY(panel("PanelStopband")->text().endsWith(QStringLiteral(" ✓")));
        QCOMPARE(panel("LabelVerdict")->colour(), PanelColour::Met);
        QCOMPARE(panel("LabelVerdict")->text(), QStringLiteral("Требования выполнены"));
        type(form(), "EditAs", QStringLiteral("300"));
        QCOMPARE(panel("PanelStopband")->colour(), PanelColour::Failed);
        QVERIFY(panel("PanelStopband")->text().endsWith(QStringLiteral(" ✗")));
        QCOMPARE(panel("LabelVerdict")->colour(), PanelColour::Failed);
        // Readable: the text stands out from its background by a wide margin.
        const QPalette failed = panel("PanelStopband")->palette();
        QVERIFY(failed.color(QPalette::Window).lightness() -
                    failed.color(QPalette::WindowText).lightness() >
                150);
        QCOMPARE(panel("PanelRipple")->colour(), PanelColour::ButtonFace);
        QCOMPARE(app_->requirement().requirement()->stopbandMinDb.value_or(0), 300.0);

        // A text that is no number is reported and changes nothing.
        QString message;
        gc::uitest::whenModalShown([&](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) message = box->text();
        });
        type(form(), "EditAa", QStringLiteral("abc"));
        QVERIFY(!message.isEmpty());
        QVERIFY(!app_->requirement().requirement()->aliasRejectionMinDb.has_value());

        // "Синтез фильтров..." asks for the design window.
        QTest::mouseClick(child<QPushButton>(form(), QStringLiteral("ButtonDesign")),
                          Qt::LeftButton);
        QVERIFY(app_->session().isOpen(Window::Design));
    }

    void followsTheMainWindowAndDrawsOnItsPlotWhileOpen() {
        // A requirement set before the window opens draws nothing yet.
        gc::analysis::Requirement r;
        r.passbandHz = 80000.0;
        r.stopbandMinDb = 60.0;
        r.aliasRejectionMinDb = 60.0;
        app_->requirement().setRequirement(r);
        QCOMPARE(overlayPixels(), std::make_pair(0, 0));

        open();
        QCOMPARE(child<QLineEdit>(form(), QStringLiteral("EditFp"))->text(),
                 QStringLiteral("80000"));
        const auto [green, magenta] = overlayPixels();
        QVERIFY2(green > 50, qPrintable(QString::number(green)));
        QVERIFY2(magenta > 50, qPrintable(QString::number(magenta)));

        // Decimation 128 in the main window: Fo halves, and the window follows at once.
        const QString before = panel("PanelAlias")->text();
        type(mainForm(), "Edit1", QStringLiteral("128"));
        QCOMPARE(panel("PanelOutputRate")->text(), QStringLiteral("195312.5"));
        QVERIFY(panel("PanelAlias")->text() != before);

        // Closing clears the flag and the overlay; the requirement stays for the files.
        form().close();
        QVERIFY(!app_->session().isOpen(Window::Requirement));
        QCOMPARE(overlayPixels(), std::make_pair(0, 0));
        QVERIFY(app_->requirement().requirement().has_value());
    }

    void everyTextIsWholeAndNothingOverlaps() {
        gc::analysis::Requirement r;
        r.passbandHz = 80000.0;
        r.rippleMaxDb = 1.0;
        r.stopbandMinDb = 60.0;
        r.aliasRejectionMinDb = 80.0;
        app_->requirement().setRequirement(r);
        open();
        for (QLabel* label : form().findChildren<QLabel*>()) {
            if (label->text().isEmpty() || !label->isVisible() || label->wordWrap()) continue;
            QVERIFY2(showsWholeText(label),
                     qPrintable(label->objectName() + QLatin1Char(' ') + label->text()));
        }
        const QList<QWidget*> widgets = form().findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* a : widgets) {
            if (!a->isVisible()) continue;
            for (QWidget* b : widgets) {
                if (a == b || !b->isVisible()) continue;
                QVERIFY2(!a->geometry().intersects(b->geometry()),
                         qPrintable(a->objectName() + QLatin1Char('/') + b->objectName()));
            }
        }
        // The main window's button is whole in its block.
        auto* button = child<QPushButton>(mainForm(), QStringLiteral("ButtonRequirement"));
        QVERIFY(button->isVisible());
        QVERIFY(button->width() >= button->sizeHint().width());
        QVERIFY(button->parentWidget()->rect().contains(button->geometry()));
        saveScreenshot(form(), QStringLiteral("requirement"));
        saveScreenshot(mainForm(), QStringLiteral("main-with-requirement"));
    }
};

QTEST_MAIN(RequirementWindowTest)
#include "RequirementWindowTest.moc"
