// The program as a desktop program, on an offscreen display: the auxiliary windows belong to
// the main window, come up beside it and where they were last time, are brought back when
// minimised and follow their registers; the caption, the keys, the typed fields, the plot's
// menu, wheel and arrows, the start in a folder that is no working folder, Qt's own texts.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>
#include <memory>
#include <optional>
#include <string>

#include "UiTestSupport.h"
#include "ui/Application.h"
#include "ui/PlotBox.h"
#include "ui/PlotMenu.h"
#include "ui/PlotPanel.h"
#include "ui/QtCanvas.h"
#include "ui/QtUiPort.h"
#include "ui/StageForm.h"
#include "ui/Translations.h"
#include "ui/Ugform.h"
#include "ui/WindowPlacement.h"

using gc::ui::WindowOrder;
using gc::uitest::child;

namespace {

// The program started in `folder`; the working-folder question is answered with `yes` and
// counted.
struct Started {
    explicit Started(const QString& folder, bool yes = true)
        : app(gc::appconfig::Workspace(folder.toStdString())) {
        app.setWorkingFolderQuestion([this, yes](const QString&) {
            ++questions;
            return yes;
        });
        app.start();
    }
    gc::ui::Application app;
    int questions{0};
};

constexpr WindowOrder kOwnedWindows[] = {
    WindowOrder::CfirForm, WindowOrder::PfirForm,    WindowOrder::ResampForm, WindowOrder::Cic5Form,
    WindowOrder::InpBlock, WindowOrder::Freq,        WindowOrder::Sync,       WindowOrder::OutBlock,
    WindowOrder::Filters,  WindowOrder::Requirement, WindowOrder::Design,
};

void enter(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
}

}  // namespace

class DesktopWindowsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { QSettings().clear(); }

    void aFolderWithoutStartupFileIsOfferedAsWorkingFolder() {
        QTemporaryDir work;
        {
            Started s(work.path());
            QCOMPARE(s.questions, 1);
            QVERIFY(QFile::exists(work.filePath(QStringLiteral("CONFIGS/std.trv"))));
            QVERIFY(QFile::exists(work.filePath(QStringLiteral("CONFIGS/sinc.cfg"))));
            QVERIFY(QFile::exists(work.filePath(QStringLiteral("FILTERS/cfir_68.taps"))));
            // No report came up (a modal one would have blocked start()).
            QVERIFY(!s.app.window(WindowOrder::ErrFileCoeff)->isVisible());
        }
        // Once it is a working folder nobody asks again.
        Started again(work.path());
        QCOMPARE(again.questions, 0);
    }

    void auxiliaryWindowsBelongToTheMainWindow() {
        QTemporaryDir work;
        Started s(work.path());
        QWidget* main = &s.app.mainWindow();
        for (WindowOrder order : kOwnedWindows) {
            QWidget* w = s.app.window(order);
            QVERIFY(w != nullptr);
            QCOMPARE(w->parentWidget(), main);
            QCOMPARE(w->windowType(), Qt::Tool);
            QVERIFY(!(w->windowFlags() & Qt::WindowStaysOnTopHint));
        }
        // Dialogs and reports stack above them as the main window's dialogs.
        for (WindowOrder order : {WindowOrder::ErrFileCoeff, WindowOrder::ErrDecim,
                                  WindowOrder::ErrResamp, WindowOrder::Info}) {
            QCOMPARE(s.app.window(order)->parentWidget(), main);
            QVERIFY(!(s.app.window(order)->windowFlags() & Qt::WindowStaysOnTopHint));
        }
    }

    void openingRestoresRaisesAndPlacesBesideAndRemembers() {
        QTemporaryDir work;
        QRect kept;
        {
            Started s(work.path());
            QWidget* main = &s.app.mainWindow();
            QVERIFY(QTest::qWaitForWindowExposed(main));
            QWidget* cic = s.app.window(WindowOrder::Cic5Form);
            s.app.mainPresenter().onEdit1DoubleClick();
            QVERIFY(cic->isVisible());
            // Beside the main window, never over the plot and its read-outs.
            const QWidget* plotFrame = child<QWidget>(*main, QStringLiteral("Panel5"));
            const QRect plot(plotFrame->mapToGlobal(QPoint()), plotFrame->size());
            const QWidget* readout = child<QWidget>(*main, QStringLiteral("Panel15"));
            const QRect readoutRect(readout->mapToGlobal(QPoint()), readout->size());
            QVERIFY(!cic->frameGeometry().intersects(plot));
            QVERIFY(!cic->frameGeometry().intersects(readoutRect));
            QVERIFY(cic->frameGeometry().topLeft() != QPoint(0, 0));

            // Minimised, the opening action brings it back.
            cic->showMinimized();
            QVERIFY(cic->isMinimized());
            s.app.mainPresenter().onEdit1DoubleClick();
            QVERIFY(!cic->isMinimized());
            QVERIFY(cic->isVisible());

            cic->setGeometry(140, 150, 420, 430);
            kept = cic->geometry();
            cic->close();
            QVERIFY(QSettings().contains(QStringLiteral("windows/CIC5Form/geometry")));
        }
        Started again(work.path());
        QWidget* cic = again.app.window(WindowOrder::Cic5Form);
        again.app.mainPresenter().onEdit1DoubleClick();
        QCOMPARE(cic->geometry().size(), kept.size());
        QCOMPARE(cic->geometry().topLeft(), kept.topLeft());

        // A place kept off every screen comes back inside the visible screen.
        cic->close();
        cic->setGeometry(5000, 4000, 420, 430);
        cic->close();
        Started third(work.path());
        QWidget* moved = third.app.window(WindowOrder::Cic5Form);
        third.app.mainPresenter().onEdit1DoubleClick();
        QVERIFY(gc::ui::visibleArea(moved).contains(moved->geometry()));
    }

    void openResamplerEditorFollowsTheResamplerSet() {
        QTemporaryDir work;
        Started s(work.path());
        s.app.mainPresenter().onButton4Click();
        QWidget* freq = s.app.window(WindowOrder::Freq);
        QVERIFY(freq->isVisible());
        auto* noSym = child<QCheckBox>(*freq, QStringLiteral("CheckBox19"));
        QVERIFY(!noSym->isChecked());
        auto* list = child<QComboBox>(s.app.mainWindow(), QStringLiteral("ComboBox5"));
        list->setCurrentIndex(0);  // res_bypass
        QVERIFY(noSym->isChecked());
        list->setCurrentIndex(3);
        QVERIFY(!noSym->isChecked());
    }

    void captionKeysAndTypedFields() {
        QTemporaryDir work;
        Started s(work.path());
        gc::ui::TGForm& main = s.app.mainWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QVERIFY(main.windowTitle().startsWith(QStringLiteral("std.trv[*] - ")));
        QVERIFY(!main.isWindowModified());

        auto* edit1 = child<QLineEdit>(main, QStringLiteral("Edit1"));
        enter(edit1, QStringLiteral("100"));
        QVERIFY(main.isWindowModified());
        enter(edit1, QStringLiteral("64"));
        QVERIFY(!main.isWindowModified());
        // The file-source choice is saved with the configuration: it marks it too.
        child<QRadioButton>(main, QStringLiteral("FileEnbPFIR"))->click();
        QVERIFY(main.isWindowModified());
        child<QRadioButton>(main, QStringLiteral("TblEnbPFIR"))->click();
        QVERIFY(!main.isWindowModified());

        // Ctrl+O and Ctrl+S ask for the file to read and to write.
        QStringList asked;
        s.app.ui().setFileChooser([&](bool save, const gc::app::FileDialogRequest& r) {
            asked << QStringLiteral("%1 %2").arg(save ? "save" : "open",
                                                 QString::fromStdString(r.initialDir));
            return std::optional<std::string>();
        });
        QTest::keyClick(&main, Qt::Key_O, Qt::ControlModifier);
        QTest::keyClick(&main, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(asked,
                 (QStringList{QStringLiteral("open CONFIGS"), QStringLiteral("save CONFIGS")}));

        // "Записать" first closes the save-check report of the previous attempt.
        enter(edit1, QStringLiteral("2"));
        QTest::keyClick(&main, Qt::Key_S, Qt::ControlModifier);
        QWidget* decim = s.app.window(WindowOrder::ErrDecim);
        QVERIFY(decim->isVisible());
        enter(edit1, QStringLiteral("64"));
        QTest::keyClick(&main, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!decim->isVisible());

        // Edit5 and Edit8 left without Enter show the value in effect again.
        auto* edit5 = child<QLineEdit>(main, QStringLiteral("Edit5"));
        auto* edit8 = child<QLineEdit>(main, QStringLiteral("Edit8"));
        const QString rate = edit5->text();
        const QString word = edit8->text();
        edit5->setFocus();
        edit5->setText(QStringLiteral("777"));
        edit1->setFocus(Qt::TabFocusReason);
        QCOMPARE(edit5->text(), rate);
        edit8->setFocus();
        edit8->setText(QStringLiteral("0x1"));
        edit1->setFocus(Qt::TabFocusReason);
        QCOMPARE(edit8->text(), word);

        // "20 бит" is stored when clicked and survives a channel switch.
        auto* mix = child<QCheckBox>(main, QStringLiteral("CheckBox1"));
        QVERIFY(mix->isChecked());
        mix->click();
        QCOMPARE(s.app.session().model.Channels[0].Mix20bit, 0);
        auto* channel = child<QComboBox>(main, QStringLiteral("ComboBox7"));
        channel->setCurrentIndex(1);
        QVERIFY(mix->isChecked());
        channel->setCurrentIndex(0);
        QVERIFY(!mix->isChecked());

        // Tooltips say what a field holds and its unit.
        QVERIFY(edit5->toolTip().contains(QStringLiteral("Гц")));
        QVERIFY(child<QWidget>(main, QStringLiteral("Edit7"))
                    ->toolTip()
                    .contains(QStringLiteral("рад")));
        QVERIFY(!child<QWidget>(main, QStringLiteral("Panel9"))->toolTip().isEmpty());
    }

    void plotMenuWheelAndArrows() {
        QTemporaryDir work;
        Started s(work.path());
        gc::ui::TGForm& main = s.app.mainWindow();
        gc::ui::PlotMenu* menu = main.plotMenu();
        QVERIFY(menu != nullptr);
        QVERIFY(menu->findChild<QAction*>(QStringLiteral("SavePicture")) != nullptr);
        QVERIFY(menu->findChild<QAction*>(QStringLiteral("SaveData")) != nullptr);
        QVERIFY(menu->findChild<QAction*>(QStringLiteral("CopyPicture")) != nullptr);

        QTemporaryDir out;
        QStringList answers{out.filePath(QStringLiteral("plot")),
                            out.filePath(QStringLiteral("plot.svg")),
                            out.filePath(QStringLiteral("data"))};
        menu->setChooser([&](const QString&, const QString&) { return answers.takeFirst(); });
        menu->findChild<QAction*>(QStringLiteral("SavePicture"))->trigger();
        menu->findChild<QAction*>(QStringLiteral("SavePicture"))->trigger();
        menu->findChild<QAction*>(QStringLiteral("SaveData"))->trigger();
        QImage png(out.filePath(QStringLiteral("plot.png")));
        QVERIFY(!png.isNull());
        QCOMPARE(png.size(), child<QWidget>(main, QStringLiteral("Panel5"))->size());
        QFile svg(out.filePath(QStringLiteral("plot.svg")));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QByteArray svgText = svg.readAll();
        QVERIFY(svgText.contains("<svg"));
        // The plot only: without a cursor no line of the cursor's colour (the active caption's,
        // the focus colour) lies anywhere in the picture, also not just outside the plot.
        const QByteArray cursorColour = gc::ui::activeCaptionColour().name().toLatin1();
        QVERIFY2(!svgText.toLower().contains(cursorColour.toLower()), cursorColour.constData());
        for (int x = 0; x < png.width(); ++x) {
            for (int y = 0; y < png.height(); ++y)
                QVERIFY(png.pixelColor(x, y).rgb() != gc::ui::activeCaptionColour().rgb());
        }
        QFile csv(out.filePath(QStringLiteral("data.csv")));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QList<QByteArray> rows = csv.readAll().split('\n');
        QCOMPARE(rows.front(), QByteArray("k,freq_hz,cic,cfir,pfir,resampler,channel,level_db"));
        QCOMPARE(rows.size(), 258);  // header, 256 points, the empty rest after the last newline
        QVERIFY2(rows[129].startsWith("128,25000000,"), rows[129].constData());  // after the header
        menu->findChild<QAction*>(QStringLiteral("CopyPicture"))->trigger();
        QCOMPARE(QApplication::clipboard()->image().size(), png.size());

        // Every stage window has the same menu.
        auto* cfir = qobject_cast<gc::ui::StageForm*>(s.app.window(WindowOrder::CfirForm));
        QVERIFY(cfir->plotMenu() != nullptr);

        // The wheel steps the horizontal stretch, the arrows move the cursor.
        gc::ui::PlotBox* box = main.plotBox();
        const auto wheel = [box](int delta) {
            QWheelEvent e(QPointF(10, 10), box->mapToGlobal(QPointF(10, 10)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(box, &e);
        };
        wheel(120);
        QCOMPARE(s.app.channelPlot().state().StretchX, 2);
        wheel(240);
        QCOMPARE(s.app.channelPlot().state().StretchX, 8);
        wheel(-120);
        QCOMPARE(s.app.channelPlot().state().StretchX, 4);
        QTest::mouseClick(box, Qt::RightButton, {}, box->fromPlot(100, 50).toPoint());
        QCOMPARE(s.app.channelPlot().state().CursorX, 100);
        QTest::keyClick(box, Qt::Key_Right);
        QCOMPARE(s.app.channelPlot().state().CursorX, 101);
        QTest::keyClick(box, Qt::Key_Left);
        QTest::keyClick(box, Qt::Key_Left);
        QCOMPARE(s.app.channelPlot().state().CursorX, 99);
    }

    void qtTextsInTheInterfaceLanguage() {
        const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        if (!QFile::exists(folder + QStringLiteral("/qtbase_ru.qm")))
            QSKIP("Qt's Russian translation is not installed (qt6-translations-l10n)");
        QVERIFY(
            gc::ui::installQtTranslation(*QCoreApplication::instance(), gc::ui::interfaceLocale()));
        QVERIFY(QCoreApplication::translate("QLineEdit", "&Undo") != QStringLiteral("&Undo"));
        // A folder without Qt's translations: nothing is installed, Qt stays in English.
        QTemporaryDir empty;
        QVERIFY(!gc::ui::installQtTranslation(*QCoreApplication::instance(),
                                              gc::ui::interfaceLocale(), empty.path()));
    }
};

QTEST_MAIN(DesktopWindowsTest)
#include "DesktopWindowsTest.moc"
