// The register block windows on an offscreen display: each opens filled from the register
// image, the read-only ones with every control disabled, and "Filters" edits a bit.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionButton>
#include <QtTest>

#include "chip/RegisterImage.h"
#include "model/ConfigurationModel.h"
#include "ui/Ufilters.h"
#include "ui/Ufreq.h"
#include "ui/Uinpblock.h"
#include "ui/Uoutblock.h"
#include "ui/Usync.h"

using gc::chip::RegisterImage;
using gc::model::ConfigurationModel;

class RegisterEditorsTest : public QObject {
    Q_OBJECT

  private:
    template <class W>
    static W* child(QWidget& window, const char* name) {
        auto* w = window.findChild<W*>(QString::fromLatin1(name));
        if (w == nullptr) qFatal("no control %s", name);
        return w;
    }

    // Every control of a read-only window is disabled; labels stay enabled.
    static int enabledControls(QWidget& window) {
        int enabled = 0;
        for (auto* w : window.findChildren<QWidget*>()) {
            if (!w->objectName().isEmpty() && w->isEnabled()) ++enabled;
        }
        return enabled;
    }

  private slots:
    void inputBlockShowsChannelsAndCloses() {
        RegisterImage image;
        ConfigurationModel model;
        model.Work.ActiveMask = 0x1;
        image.Channels[0].Input = 0x98;
        bool open = true;
        gc::ui::TInpBlock window(image, model);
        window.setCloseHandler([&open] { open = false; });
        window.showWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("Входной блок"));
        // Never above other programs; with the main window as parent it is its tool window.
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(child<QComboBox>(window, "ComboBox3")->currentText(), QStringLiteral("16 bit"));
        QVERIFY(child<QCheckBox>(window, "CheckBox3")->isChecked());
        QVERIFY(!child<QCheckBox>(window, "CheckBox1")->isChecked());
        QVERIFY(child<QCheckBox>(window, "CheckBox6")->isChecked());  // channel 1 not in use
        QCOMPARE(child<QComboBox>(window, "ComboBox13")->currentText(), QStringLiteral("D"));
        QCOMPARE(child<QComboBox>(window, "ComboBox13")->count(), 8);
        QCOMPARE(enabledControls(window), 0);

        // A refresh shows a change of the model.
        model.Work.ActiveMask = 0x3;
        window.refresh();
        QVERIFY(!child<QCheckBox>(window, "CheckBox6")->isChecked());

        const RegisterImage before = image;
        window.close();
        QVERIFY(!open);
        QVERIFY(image == before);
    }

    void resamplerSyncAndOutputBlocksShowTheImage() {
        RegisterImage image;
        ConfigurationModel model;
        image.NChannels = 0x23;
        image.ClockDivide = 5;

        gc::ui::TFreq freq(image, model);
        freq.showWindow();
        QCOMPARE(freq.windowTitle(), QStringLiteral("Ресемплер"));
        QCOMPARE(child<QComboBox>(freq, "ComboBox11")->currentIndex(), 3);
        QCOMPARE(child<QLabel>(freq, "Panel4")->text(), QStringLiteral("4"));
        QCOMPARE(child<QLineEdit>(freq, "Edit4")->text(), QStringLiteral("5"));
        QCOMPARE(child<QLabel>(freq, "Panel17")->text(), QStringLiteral("6"));
        QCOMPARE(child<QComboBox>(freq, "ComboBox15")->currentText(), QStringLiteral("24 bit"));
        QCOMPARE(enabledControls(freq), 0);

        gc::ui::TSync sync(image, model);
        sync.showWindow();
        QCOMPARE(sync.windowTitle(), QStringLiteral("Синхронизация"));
        QCOMPARE(child<QComboBox>(sync, "ComboBox2")->currentText(), QStringLiteral("SIA"));
        QCOMPARE(child<QComboBox>(sync, "ComboBox4")->currentText(), QStringLiteral("ON"));
        QCOMPARE(child<QComboBox>(sync, "ComboBox37")->currentText(), QStringLiteral("SIA"));
        QCOMPARE(enabledControls(sync), 0);

        gc::ui::TOutBlock out(image, model);
        bool open = true;
        out.setCloseHandler([&open] { open = false; });
        out.showWindow();
        QCOMPARE(out.windowTitle(), QStringLiteral("Выходной блок"));
        QCOMPARE(child<QLabel>(out, "Panel5")->text(), QStringLiteral("16 bit"));
        QCOMPARE(child<QLabel>(out, "Panel1")->text(), QStringLiteral("4 pins"));
        QCOMPARE(child<QComboBox>(out, "ComboBox41")->currentText(), QStringLiteral("Serial"));
        QCOMPARE(child<QCheckBox>(out, "CheckBox7")->text(), QStringLiteral("Enable P0"));
        QVERIFY(child<QCheckBox>(out, "CheckBox7")->isChecked());
        QVERIFY(!child<QCheckBox>(out, "CheckBox30")->isChecked());
        QCOMPARE(enabledControls(out), 0);
        out.close();
        QVERIFY(!open);
    }

    void filtersEditsOneBit() {
        RegisterImage image;
        ConfigurationModel model;
        image.Channels[2].CFIRControl = 0x50;
        image.Channels[0].PFIRControl = 0x07;
        gc::ui::TFilters window(image, model);
        bool open = true;
        window.setCloseHandler([&open] { open = false; });
        window.showWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("Filters"));

        // "NoSym" of the CFIR group, channel 2, ticked by the user.
        auto* noSym = child<QCheckBox>(window, "CheckBox23");
        QVERIFY(noSym->isEnabled());
        RegisterImage expected = image;
        expected.Channels[2].CFIRControl = 0x51;
        QStyleOptionButton option;
        option.initFrom(noSym);
        const QRect indicator =
            noSym->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, noSym);
        QTest::mouseClick(noSym, Qt::LeftButton, {}, indicator.center());
        QVERIFY(noSym->isChecked());
        QVERIFY(image == expected);

        // "PeakSelect" of channel 0 moved by the keyboard to "COARSE_GAIN" (item 1).
        auto* peakSelect = child<QComboBox>(window, "ComboBox8");
        QCOMPARE(peakSelect->currentText(), QStringLiteral("CFIR"));
        QCOMPARE(peakSelect->itemText(peakSelect->count() - 1), QString());
        peakSelect->setFocus();
        QTest::keyClick(peakSelect, Qt::Key_Down);
        expected.Channels[0].PFIRControl = 0x0f;
        QVERIFY(image == expected);
        QCOMPARE(peakSelect->currentText(), QStringLiteral("COARSE_GAIN"));

        // A change of the image from elsewhere shows after a refresh.
        image.Channels[3].SplitIQ = 0x1c;
        window.refresh();
        QVERIFY(child<QCheckBox>(window, "CheckBox44")->isChecked());
        QCOMPARE(child<QComboBox>(window, "ComboBox12")->currentText(), QStringLiteral("12"));

        window.close();
        QVERIFY(!open);
    }
};

QTEST_MAIN(RegisterEditorsTest)
#include "RegisterEditorsTest.moc"
