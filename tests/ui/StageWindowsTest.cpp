// The four stage response windows on an offscreen display: opened from the main window by
// double-clicks, following its settings while open, the right-button cursor with its read-outs,
// the alias view, the stretch, the release that removes the cursor, the open flags on closing,
// and a layout in which every text is whole and the plot fills its frame.
//
// With GC_UI_SCREENSHOTS set to a folder, the layout check also saves a picture of each window
// (and of the CIC window's alias view at decimation 64) there.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "UiTestSupport.h"
#include "ui/Application.h"
#include "ui/PlotBox.h"
#include "ui/StageForm.h"
#include "ui/Ucfirform.h"
#include "ui/Ucic5form.h"
#include "ui/Ugform.h"
#include "ui/Upfirform.h"
#include "ui/Uresampform.h"

using gc::ui::WindowOrder;
using gc::uitest::child;
using gc::uitest::showsWholeText;

class StageWindowsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> work_;
    std::unique_ptr<gc::ui::Application> app_;

    QWidget& mainForm() { return app_->mainWindow(); }
    gc::app::Session& session() { return app_->session(); }
    QWidget* window(WindowOrder order) { return app_->window(order); }

    static QString text(QWidget* w, const char* name) {
        return child<QLabel>(*w, QString::fromLatin1(name))->text();
    }
    static QStringList texts(QWidget* w, std::initializer_list<const char*> names) {
        QStringList list;
        for (const char* name : names) list << text(w, name);
        return list;
    }
    static void click(QWidget* w, const char* name) {
        QTest::mouseClick(child<QAbstractButton>(*w, QString::fromLatin1(name)), Qt::LeftButton);
    }
    static gc::ui::PlotBox* plotBox(QWidget* w) {
        return child<gc::ui::PlotBox>(*w, QStringLiteral("CICPBox"));
    }
    static void rightClickPlot(QWidget* w, int x, int y) {
        gc::ui::PlotBox* box = plotBox(w);
        QTest::mouseClick(box, Qt::RightButton, {}, box->fromPlot(x, y).toPoint());
    }
    // Leftmost widget column of the first red pixel in the plot's picture, or -1.
    static int redColumn(QWidget* w) {
        const QImage picture = plotBox(w)->grab().toImage();
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixel(x, picture.height() / 2) == qRgb(255, 0, 0)) return x;
        }
        return -1;
    }

    // The main window's double-clicks that open the stage windows.
    void doubleClickMain(const char* name) {
        QWidget* w = mainForm().findChild<QWidget*>(QString::fromLatin1(name));
        QVERIFY(w != nullptr);
        if (auto* combo = qobject_cast<QComboBox*>(w)) w = combo->lineEdit();
        QTest::mouseDClick(w, Qt::LeftButton);
    }
    void typeMain(const char* name, const QString& value) {
        auto* edit = child<QLineEdit>(mainForm(), QString::fromLatin1(name));
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, value);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    void openAll() {
        doubleClickMain("Edit1");
        doubleClickMain("ComboBox1");
        doubleClickMain("ComboBox4");
        doubleClickMain("ComboBox5");
    }

    // Every text of the window is on screen in full, the frame's labels do not overlap, and
    // the plot fills the frame between them.
    static void checkLayout(QWidget* w) {
        QVERIFY(QTest::qWaitForWindowExposed(w));
        for (QLabel* label : w->findChildren<QLabel*>()) {
            if (label->text().isEmpty()) continue;
            QVERIFY2(showsWholeText(label),
                     qPrintable(w->objectName() + QLatin1Char(' ') + label->objectName()));
        }
        auto* frame = child<QWidget>(*w, QStringLiteral("Panel2"));
        gc::ui::PlotBox* box = plotBox(w);
        QVERIFY(box->width() >= 256 && box->height() >= 240);
        QVERIFY(frame->rect().contains(box->geometry()));
        const QList<QLabel*> labels = frame->findChildren<QLabel*>();
        for (QLabel* a : labels) {
            QVERIFY2(frame->rect().contains(a->geometry()), qPrintable(a->objectName()));
            QVERIFY2(!a->geometry().intersects(box->geometry()), qPrintable(a->objectName()));
            for (QLabel* b : labels) {
                if (a == b) continue;
                // Compare the inked extents: each label is as wide as its text or right-aligned.
                const auto inked = [](QLabel* l) {
                    const int tw = l->fontMetrics().horizontalAdvance(l->text());
                    QRect r = l->geometry();
                    if (l->alignment() & Qt::AlignRight) r.setLeft(r.right() - tw);
                    return r;
                };
                QVERIFY2(!inked(a).intersects(inked(b)),
                         qPrintable(a->objectName() + QLatin1Char('/') + b->objectName()));
            }
        }
        // The plot itself: a white field with the black curve.
        const QImage picture = box->grab().toImage();
        int black = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x)
                black += picture.pixel(x, y) == qRgb(0, 0, 0) ? 1 : 0;
        }
        QVERIFY(black > 100);
        QCOMPARE(picture.pixel(picture.width() - 2, 1), qRgb(255, 255, 255));
    }
    static void saveScreenshot(QWidget* w, const QString& name) {
        const QString folder = qEnvironmentVariable("GC_UI_SCREENSHOTS");
        if (folder.isEmpty()) return;
        QVERIFY(w->grab().save(QDir(folder).filePath(name + QStringLiteral(".png"))));
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

    void windowsAreMadeHiddenWithTheirControls() {
        struct Expected {
            WindowOrder order;
            const char* caption;
            bool onTop;
            bool alias;
            std::array<const char*, 4> top;
            std::array<const char*, 4> bottom;
        };
        const Expected windows[] = {
            {WindowOrder::CfirForm,
             "CFIR Фильтр",
             true,
             true,
             {"Label21", "Label22", "Label27", "Label28"},
             {"Label20", "Label23", "Label24", "Label25"}},
            {WindowOrder::PfirForm,
             "PFIR Фильтр",
             true,
             true,
             {"Label21", "Label22", "Label27", "Label28"},
             {"Label20", "Label23", "Label24", "Label25"}},
            {WindowOrder::ResampForm,
             "RESAMPLER Фильтр",
             true,
             false,
             {"Label21", "Label22", "Label29", "Label15"},
             {"Label20", "Label23", "Label24", "Label25"}},
            {WindowOrder::Cic5Form,
             "CIC Фильтр",
             false,
             true,
             {"Label19", "Label21", "Label22", "Label20"},
             {"Label14", "Label23", "Label24", "Label25"}},
        };
        QVERIFY(qobject_cast<gc::ui::TCFIRForm*>(window(WindowOrder::CfirForm)));
        QVERIFY(qobject_cast<gc::ui::TPFIRForm*>(window(WindowOrder::PfirForm)));
        QVERIFY(qobject_cast<gc::ui::TResampForm*>(window(WindowOrder::ResampForm)));
        QVERIFY(qobject_cast<gc::ui::TCIC5Form*>(window(WindowOrder::Cic5Form)));
        for (const Expected& e : windows) {
            QWidget* w = window(e.order);
            QVERIFY(w != nullptr);
            QVERIFY(w->isWindow() && w->isHidden());
            QCOMPARE(w->windowTitle(), QString::fromUtf8(e.caption));
            // A tool window of the main window: above it (all four, e.onTop or not), never
            // above other programs; its controls are its own.
            QVERIFY(!(w->windowFlags() & Qt::WindowStaysOnTopHint));
            QCOMPARE(w->windowType(), Qt::Tool);
            QCOMPARE(w->parentWidget(), static_cast<QWidget*>(&app_->mainWindow()));

            const std::pair<const char*, const char*> buttons[] = {
                {"Button5", "<"},  {"Button6", ">"},   {"Button1", "*2"},
                {"Button2", "/2"}, {"Button3", "max"}, {"Button4", "=1"}};
            for (const auto& [name, caption] : buttons)
                QCOMPARE(child<QAbstractButton>(*w, QString::fromLatin1(name))->text(),
                         QString::fromLatin1(caption));
            auto* alias = w->findChild<QCheckBox*>(QStringLiteral("CheckBox1"));
            QCOMPARE(alias != nullptr, e.alias);
            if (alias != nullptr) QCOMPARE(alias->text(), QStringLiteral("Alias"));

            // The frame's labels at design time, under this window's names.
            auto* frame = child<QWidget>(*w, QStringLiteral("Panel2"));
            const auto inFrame = [&](const char* name) {
                return child<QLabel>(*frame, QString::fromLatin1(name))->text();
            };
            QCOMPARE(inFrame("Label17"), QStringLiteral("F/Fsamp"));
            QStringList top;
            QStringList bottom;
            for (const char* name : e.top) top << inFrame(name);
            for (const char* name : e.bottom) bottom << inFrame(name);
            QCOMPARE(top, QStringList({"8", "4", "8", "2"}));
            QCOMPARE(bottom, QStringList({"12.5", "25.0", "37.5", "50.0"}));
            QStringList fixed;
            for (QLabel* l : frame->findChildren<QLabel*>()) fixed << l->text();
            for (const char* t :
                 {"dB", "0", "-20", "-40", "-60", "-80", "-100", "-120", "1/", "3/", "MHz"})
                QVERIFY2(fixed.contains(QString::fromLatin1(t)), t);
            QStringList around;
            for (QLabel* l : w->findChildren<QLabel*>()) around << l->text();
            for (const char* t : {"x=", "MHz", "y=", "dB", "Курсор", "Растяж. по X"})
                QVERIFY2(around.contains(QString::fromUtf8(t)), t);
            QCOMPARE(text(w, "Panel1"), QStringLiteral("1"));
        }
        QVERIFY(!session().open[gc::app::Window::Cic5] && !session().open[gc::app::Window::Cfir] &&
                !session().open[gc::app::Window::Pfir] && !session().open[gc::app::Window::Resamp]);
    }

    void openWindowsFollowTheMainWindow() {
        QWidget* cic = window(WindowOrder::Cic5Form);
        QWidget* cfir = window(WindowOrder::CfirForm);
        QWidget* pfir = window(WindowOrder::PfirForm);
        QWidget* resamp = window(WindowOrder::ResampForm);
        openAll();
        QVERIFY(session().open[gc::app::Window::Cic5] && session().open[gc::app::Window::Cfir] &&
                session().open[gc::app::Window::Pfir] && session().open[gc::app::Window::Resamp]);
        for (QWidget* w : {cic, cfir, pfir, resamp}) QVERIFY(w->isVisible());

        // D = 64 on a 100 MHz clock: the CFIR sees 1.5625 MHz, the PFIR half of it, the
        // resampler 64 phases of a quarter of the PFIR's output.
        QCOMPARE(session().model.Work.Ndelay, 64);
        QCOMPARE(texts(cfir, {"Label17", "Label20", "Label23", "Label24", "Label25"}),
                 QStringList({"F/Fsinp", "195.313", "390.625", "585.938", "781.250"}));
        QCOMPARE(text(cfir, "Label16"), QStringLiteral("kHz"));  // not 0.195 .. 0.781 MHz
        QCOMPARE(texts(pfir, {"Label20", "Label23", "Label24", "Label25"}),
                 QStringList({"97.656", "195.313", "292.969", "390.625"}));
        QCOMPARE(texts(resamp, {"Label20", "Label23", "Label24", "Label25"}),
                 QStringList({"3.125", "6.250", "9.375", "12.500"}));
        QCOMPARE(texts(cic, {"Label14", "Label23", "Label24", "Label25"}),
                 QStringList({"12.500", "25.000", "37.500", "50.000"}));
        QCOMPARE(texts(cic, {"Label19", "Label21", "Label22", "Label20"}),
                 QStringList({"8", "4", "8", "2"}));
        // The CIC marker in column 4 of 256, the CFIR's in column 128.
        const int cicWidth = plotBox(cic)->width();
        QCOMPARE(redColumn(cic), 4 * cicWidth / 256);
        QCOMPARE(redColumn(cfir), 128 * plotBox(cfir)->width() / 256);

        // Decimation 128 typed in the main window: every open window follows.
        typeMain("Edit1", QStringLiteral("128"));
        QCOMPARE(session().model.Work.CurrentDecimation, 128);
        QCOMPARE(texts(cfir, {"Label20", "Label23", "Label24", "Label25"}),
                 QStringList({"97.656", "195.313", "292.969", "390.625"}));
        QCOMPARE(texts(pfir, {"Label20", "Label23", "Label24", "Label25"}),
                 QStringList({"48.828", "97.656", "146.484", "195.313"}));
        QCOMPARE(texts(resamp, {"Label20", "Label23", "Label24", "Label25"}),
                 QStringList({"1.563", "3.125", "4.688", "6.250"}));
        QCOMPARE(redColumn(cic), 2 * cicWidth / 256);

        // The clock too, and a step button.
        typeMain("Edit3", QStringLiteral("50000000"));
        QCOMPARE(texts(cic, {"Label14", "Label25"}), QStringList({"6.250", "25.000"}));
        QCOMPARE(text(cfir, "Label25"), QStringLiteral("195.313"));
        QTest::mouseClick(child<QAbstractButton>(mainForm(), QStringLiteral("Button18")),
                          Qt::LeftButton);  // -100 clamps at 2
        QCOMPARE(session().model.Work.CurrentDecimation, 28);
        QCOMPARE(text(cfir, "Label25"), QStringLiteral("892.857"));
    }

    void cursorAliasAndStretch() {
        doubleClickMain("ComboBox1");
        QWidget* cfir = window(WindowOrder::CfirForm);
        QVERIFY(QTest::qWaitForWindowExposed(cfir));

        // A right click in column 128 reads half the way to Fin / 2.
        rightClickPlot(cfir, 128, 100);
        QCOMPARE(text(cfir, "Panel3"), QStringLiteral("0.3906"));
        const QString level = text(cfir, "Panel4");
        QVERIFY2(QRegularExpression(QStringLiteral("^-\\d+\\.\\d\\d$")).match(level).hasMatch(),
                 qPrintable(level));
        click(cfir, "Button6");
        QCOMPARE(text(cfir, "Panel3"), QStringLiteral("0.3937"));
        click(cfir, "Button5");
        click(cfir, "Button5");
        QCOMPARE(text(cfir, "Panel3"), QStringLiteral("0.3876"));
        // The level follows the curve: the stop band lies below the pass band.
        rightClickPlot(cfir, 10, 100);
        const double passLevel = text(cfir, "Panel4").toDouble();
        rightClickPlot(cfir, 250, 100);
        QVERIFY(text(cfir, "Panel4").toDouble() < passLevel - 20.0);

        // The alias view: the axis reads the output rate, the stretch is ignored.
        click(cfir, "CheckBox1");
        QVERIFY(child<QCheckBox>(*cfir, QStringLiteral("CheckBox1"))->isChecked());
        QCOMPARE(text(cfir, "Label17"), QStringLiteral("F/Fsout"));
        QCOMPARE(texts(cfir, {"Label21", "Label22", "Label27", "Label28"}),
                 QStringList({"8", "4", "8", "2"}));
        QCOMPARE(texts(cfir, {"Label20", "Label23", "Label24", "Label25"}),
                 QStringList({"97.656", "195.313", "292.969", "390.625"}));
        rightClickPlot(cfir, 128, 40);
        QCOMPARE(text(cfir, "Panel3"), QStringLiteral("0.1953"));
        QCOMPARE(text(cfir, "Panel4"), QStringLiteral("-20.00"));
        click(cfir, "Button1");
        QCOMPARE(text(cfir, "Panel1"), QStringLiteral("1"));
        QCOMPARE(text(cfir, "Label21"), QStringLiteral("8"));

        // Back to the normal view, at the stretch set meanwhile (the CFIR's largest is 2).
        click(cfir, "CheckBox1");
        QCOMPARE(text(cfir, "Label17"), QStringLiteral("F/Fsinp"));
        QCOMPARE(text(cfir, "Panel1"), QStringLiteral("2"));
        QCOMPARE(texts(cfir, {"Label21", "Label20"}), QStringList({"16", "97.656"}));
        click(cfir, "Button1");
        QCOMPARE(text(cfir, "Panel1"), QStringLiteral("2"));
        QCOMPARE(text(cfir, "Panel3"), QStringLiteral("0.1953"));
        click(cfir, "Button4");
        QCOMPARE(text(cfir, "Panel1"), QStringLiteral("1"));
        QCOMPARE(text(cfir, "Panel3"), QStringLiteral("0.3906"));

        // A release of any button on the frame around the plot removes the cursor.
        auto* frame = child<QWidget>(*cfir, QStringLiteral("Panel2"));
        QTest::mouseClick(frame, Qt::LeftButton, {}, QPoint(2, frame->height() / 2));
        QCOMPARE(text(cfir, "Panel3"), QString());
        QCOMPARE(text(cfir, "Panel4"), QString());
        // So does one on the window's background, but not one on a button.
        rightClickPlot(cfir, 64, 100);
        QCOMPARE(text(cfir, "Panel3"), QStringLiteral("0.1953"));
        QTest::mouseClick(child<QWidget>(*cfir, QStringLiteral("Button1")), Qt::RightButton);
        QCOMPARE(text(cfir, "Panel3"), QStringLiteral("0.1953"));
        QTest::mouseClick(child<QWidget>(*cfir, QStringLiteral("Label32")), Qt::LeftButton);
        QCOMPARE(text(cfir, "Panel3"), QString());

        // A right-button drag moves the cursor; the left button alone does not.
        gc::ui::PlotBox* box = plotBox(cfir);
        QTest::mouseClick(box, Qt::LeftButton, {}, box->fromPlot(20, 50).toPoint());
        QCOMPARE(text(cfir, "Panel3"), QString());
        QTest::mousePress(box, Qt::RightButton, {}, box->fromPlot(10, 50).toPoint());
        QTest::mouseMove(box, box->fromPlot(128, 50).toPoint());
        QCOMPARE(text(cfir, "Panel3"), QStringLiteral("0.3906"));
        QTest::mouseRelease(box, Qt::RightButton, {}, box->fromPlot(128, 50).toPoint());

        // The state survives closing and opening again.
        click(cfir, "Button1");
        click(cfir, "CheckBox1");
        cfir->close();
        QVERIFY(!session().open[gc::app::Window::Cfir]);
        doubleClickMain("ComboBox1");
        QVERIFY(session().open[gc::app::Window::Cfir] && cfir->isVisible());
        QVERIFY(child<QCheckBox>(*cfir, QStringLiteral("CheckBox1"))->isChecked());
        QCOMPARE(text(cfir, "Label17"), QStringLiteral("F/Fsout"));
        QCOMPARE(text(cfir, "Panel3"), QStringLiteral("0.1953"));
        click(cfir, "CheckBox1");
        QCOMPARE(text(cfir, "Panel1"), QStringLiteral("2"));

        // The PFIR reads frequencies with 3 decimals; the resampler's background does not
        // remove its cursor, its frame does.
        doubleClickMain("ComboBox4");
        QWidget* pfir = window(WindowOrder::PfirForm);
        rightClickPlot(pfir, 128, 100);
        QCOMPARE(text(pfir, "Panel3"), QStringLiteral("0.195"));
        doubleClickMain("ComboBox5");
        QWidget* resamp = window(WindowOrder::ResampForm);
        rightClickPlot(resamp, 128, 100);
        QCOMPARE(text(resamp, "Panel3"), QStringLiteral("6.2500"));
        QTest::mouseClick(child<QWidget>(*resamp, QStringLiteral("Label32")), Qt::RightButton);
        QCOMPARE(text(resamp, "Panel3"), QStringLiteral("6.2500"));
        auto* resampFrame = child<QWidget>(*resamp, QStringLiteral("Panel2"));
        QTest::mouseClick(resampFrame, Qt::RightButton, {}, QPoint(2, 2));
        QCOMPARE(text(resamp, "Panel3"), QString());
    }

    void closingClearsTheFlagsButTheCicWindowKeepsIt() {
        openAll();
        QWidget* cic = window(WindowOrder::Cic5Form);
        click(cic, "CheckBox1");
        for (WindowOrder order : {WindowOrder::CfirForm, WindowOrder::PfirForm,
                                  WindowOrder::ResampForm, WindowOrder::Cic5Form})
            QVERIFY(window(order)->close());
        QVERIFY(!session().open[gc::app::Window::Cfir]);
        QVERIFY(!session().open[gc::app::Window::Pfir]);
        QVERIFY(!session().open[gc::app::Window::Resamp]);
        QVERIFY(session().open[gc::app::Window::Cic5]);

        // Shown again after a change made while it was hidden, the CIC window is up to date.
        typeMain("Edit1", QStringLiteral("32"));
        doubleClickMain("Edit1");
        QVERIFY(cic->isVisible());
        QCOMPARE(texts(cic, {"Label17", "Label14", "Label24"}),
                 QStringList({"F/Fsout", "0.391", "1.172"}));
    }

    void layoutOfEveryWindow() {
        openAll();
        const std::pair<WindowOrder, const char*> windows[] = {
            {WindowOrder::CfirForm, "stage-cfir"},
            {WindowOrder::PfirForm, "stage-pfir"},
            {WindowOrder::ResampForm, "stage-resamp"},
            {WindowOrder::Cic5Form, "stage-cic"}};
        for (const auto& [order, name] : windows) {
            QWidget* w = window(order);
            rightClickPlot(w, 100, 60);
            checkLayout(w);
            saveScreenshot(w, QString::fromLatin1(name));
        }

        // The CIC window's alias view at decimation 64: the folded segments in red, and the
        // frame's texts still whole at the window's smallest size.
        QWidget* cic = window(WindowOrder::Cic5Form);
        click(cic, "CheckBox1");
        QCOMPARE(text(cic, "Label14"), QStringLiteral("195.313"));
        checkLayout(cic);
        const QImage picture = plotBox(cic)->grab().toImage();
        int red = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x)
                red += picture.pixel(x, y) == qRgb(255, 0, 0) ? 1 : 0;
        }
        QVERIFY(red > picture.width());
        saveScreenshot(cic, QStringLiteral("stage-cic-alias64"));
        cic->resize(cic->minimumSizeHint());
        QTRY_COMPARE(cic->size(), cic->minimumSizeHint());
        checkLayout(cic);
        saveScreenshot(cic, QStringLiteral("stage-cic-alias64-small"));
    }
};

QTEST_MAIN(StageWindowsTest)
#include "StageWindowsTest.moc"
