// The main window on an offscreen display, driven through its real controls found by name:
// typed fields with Enter and exit, step buttons, output modes and channels, channel boxes,
// AutoScale, sources and double-clicks, the plot's cursor and stretches, and every control of
// the window with its caption.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <memory>
#include <variant>

#include "UiTestSupport.h"
#include "ui/Application.h"
#include "ui/PlotBox.h"
#include "ui/Ugform.h"

using gc::uitest::child;
using gc::uitest::showsWholeText;
using gc::uitest::whenModalShown;

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> work_;
    std::unique_ptr<gc::ui::Application> app_;

    QWidget& form() { return app_->mainWindow(); }

    template <class W>
    W* get(const char* name) {
        return child<W>(form(), QString::fromLatin1(name));
    }
    QString text(const char* name) {
        if (auto* edit = form().findChild<QLineEdit*>(QString::fromLatin1(name)))
            return edit->text();
        return get<QLabel>(name)->text();
    }

    // Types `value` into the field as a user does, then presses Enter.
    void type(const char* name, const QString& value) {
        auto* edit = get<QLineEdit>(name);
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, value);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    void click(const char* name) { QTest::mouseClick(get<QAbstractButton>(name), Qt::LeftButton); }
    // Picks an item as a user does from the open list.
    void pick(const char* name, int index) {
        auto* combo = get<QComboBox>(name);
        QVERIFY(combo->isEnabled());
        combo->setCurrentIndex(index);
    }
    bool checked(const char* name) { return get<QAbstractButton>(name)->isChecked(); }
    bool enabled(const char* name) { return get<QWidget>(name)->isEnabled(); }

    // A right click on the plot at plot pixel (x, y).
    void rightClickPlot(int x, int y) {
        gc::ui::PlotBox* box = app_->mainWindow().plotBox();
        QTest::mouseClick(box, Qt::RightButton, {}, box->fromPlot(x, y).toPoint());
    }

  private Q_SLOTS:
    void init() {
        work_ = std::make_unique<QTemporaryDir>();
        app_ = std::make_unique<gc::ui::Application>(
            gc::appconfig::Workspace(work_->path().toStdString()));
    }

    void cleanup() {
        app_.reset();
        work_.reset();
    }

    // The list of the controls is what the window binds: every listed control is a widget of its
    // kind, a value set in the state reaches it, and what the user enters reaches the state.
    void everyListedControlIsBoundBothWays() {
        using namespace gc::app;
        MainState& state = app_->mainState();
        auto* window = static_cast<gc::ui::TGForm*>(&form());
        for (const MainControl& control : kMainControls) {
            const QString name = QString::fromUtf8(control.name.data(), int(control.name.size()));
            QWidget* w = form().findChild<QWidget*>(name);
            QVERIFY2(w != nullptr, qPrintable(name));
            if (const auto* edit = std::get_if<EditState MainState::*>(&control.field)) {
                auto* e = qobject_cast<QLineEdit*>(w);
                QVERIFY2(e != nullptr, qPrintable(name));
                (state.*(*edit)).text = "12345";
                window->showState();
                QCOMPARE(e->text(), QStringLiteral("12345"));
            } else if (const auto* panel = std::get_if<PanelState MainState::*>(&control.field)) {
                QVERIFY2(qobject_cast<QLabel*>(w) != nullptr, qPrintable(name));
                (void)panel;
            } else if (const auto* combo = std::get_if<ComboState MainState::*>(&control.field)) {
                auto* c = qobject_cast<QComboBox*>(w);
                QVERIFY2(c != nullptr, qPrintable(name));
                QCOMPARE(c->count() > 1, true);
                QCOMPARE(c->itemText(1).toStdString(), control.itemText(1));
                (state.*(*combo)).index = 1;
                window->showState();
                QCOMPARE(c->currentIndex(), 1);
            } else if (const auto* check = std::get_if<CheckState MainState::*>(&control.field)) {
                auto* b = qobject_cast<QCheckBox*>(w);
                QVERIFY2(b != nullptr, qPrintable(name));
                (state.*(*check)).checked = !b->isChecked();
                window->showState();
                QCOMPARE(b->isChecked(), (state.*(*check)).checked);
            } else if (std::get_if<RadioState MainState::*>(&control.field)) {
                QVERIFY2(qobject_cast<QRadioButton*>(w) != nullptr, qPrintable(name));
            } else {
                QVERIFY2(qobject_cast<QAbstractButton*>(w) != nullptr, qPrintable(name));
            }
        }
        // A source picked by the user reaches the state through the list's radio fields.
        click("FileEnbPFIR");
        QVERIFY(state.FileEnbPFIR.checked && !state.TblEnbPFIR.checked);
        QVERIFY(checked("FileEnbPFIR") && !checked("TblEnbPFIR"));
    }

    void everyControlExistsWithItsCaptionAndInitialState() {
        QWidget& f = form();
        QCOMPARE(f.windowTitle(), QStringLiteral("Конфигуратор GC4016 v2.0"));
        QVERIFY(f.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(f.windowFlags() & Qt::WindowMaximizeButtonHint));

        // Captions of buttons, check boxes and radio buttons.
        const std::pair<const char*, const char*> captions[] = {
            {"Button5", "Считать"},
            {"Button6", "Записать"},
            {"CheckBox9", "Комбин. прошивка"},
            {"Button3", "Входной блок"},
            {"Button1", "Синхронизация"},
            {"Button2", "Выходной блок"},
            {"Button4", "Ресемплер"},
            {"Button10", "Фильтры"},
            {"Button13", "Применить для всех каналов"},
            {"Button8", "+1"},
            {"Button9", "-1"},
            {"Button15", "+10"},
            {"Button16", "-10"},
            {"Button17", "+100"},
            {"Button18", "-100"},
            {"Button7", "+1000"},
            {"Button12", "-1000"},
            {"AutoScale", "AutoScale"},
            {"CheckBox1", "20 бит"},
            {"TblEnbCFIR", "TblEnbCFIR"},
            {"FileEnbCFIR", "FileEnbCFIR"},
            {"TblEnbPFIR", "TblEnbPFIR"},
            {"FileEnbPFIR", "FileEnbPFIR"},
            {"TblEnbRFIR", "TblEnbRFIR"},
            {"FileEnbRFIR", "FileEnbRFIR"},
            {"CheckBox4", "on"},
            {"CheckBox5", "on"},
            {"CheckBox6", "on"},
            {"Button27", "<"},
            {"Button28", ">"},
            {"Button19", "*2"},
            {"Button20", "/2"},
            {"Button21", "max"},
            {"Button22", "=1"},
            {"Button23", "*2"},
            {"Button24", "/2"},
            {"Button25", "max"},
            {"Button26", "=1"},
            {"Button11", "R"},
            {"Button14", "Справка"},
        };
        for (const auto& [name, caption] : captions)
            QCOMPARE(get<QAbstractButton>(name)->text(), QString::fromUtf8(caption));
        for (const char* name : {"CheckBox3", "CheckBox2", "CheckBox7", "CheckBox8"})
            QVERIFY(get<QCheckBox>(name)->text().isEmpty());
        for (const char* name : {"SpeedButton1", "SpeedButton10", "SpeedButton2", "SpeedButton5",
                                 "SpeedButton3", "SpeedButton6"})
            QVERIFY(!get<QToolButton>(name)->icon().isNull());

        // Value panels and typed fields.
        for (int n : {1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20, 22, 23, 25})
            QVERIFY(child<QLabel>(f, QStringLiteral("Panel%1").arg(n)) != nullptr);
        QVERIFY(child<QWidget>(f, QStringLiteral("Panel5")) != nullptr);
        for (int n = 1; n <= 8; ++n)
            QVERIFY(child<QLineEdit>(f, QStringLiteral("Edit%1").arg(n)) != nullptr);

        // Item lists.
        const auto items = [&](const char* name) {
            QStringList list;
            auto* combo = get<QComboBox>(name);
            for (int i = 0; i < combo->count(); ++i) list << combo->itemText(i);
            return list;
        };
        const auto numbers = [](int n) {
            QStringList list;
            for (int i = 0; i < n; ++i) list << QString::number(i);
            return list;
        };
        QCOMPARE(items("ComboBox11"),
                 (QStringList{QStringLiteral(" 4 канала"), QStringLiteral(" 2 канала"),
                              QStringLiteral(" 1 канал")}));
        QCOMPARE(items("ComboBox13"),
                 (QStringList{QStringLiteral("Синхронный"), QStringLiteral("Асинхронный ")}));
        QCOMPARE(items("ComboBox7"),
                 (QStringList{QStringLiteral("Канал 0"), QStringLiteral("Канал 1"),
                              QStringLiteral("Канал 2"), QStringLiteral("Канал 3")}));
        QCOMPARE(items("ComboBox12"),
                 (QStringList{QStringLiteral("АЦП 0"), QStringLiteral("АЦП 1"),
                              QStringLiteral("АЦП 2"), QStringLiteral("АЦП 3")}));
        QCOMPARE(items("ComboBox10"), numbers(8));
        QCOMPARE(items("ComboBox2"), numbers(6));
        QCOMPARE(items("ComboBox3"), numbers(8));
        QCOMPARE(items("ComboBox6"), numbers(8));
        QCOMPARE(items("ComboBox9"), numbers(16));
        QCOMPARE(items("ComboBox14"),
                 (QStringList{QStringLiteral("4"), QStringLiteral("8"), QStringLiteral("16"),
                              QStringLiteral("32"), QStringLiteral("64")}));
        QCOMPARE(items("ComboBox1"),
                 QStringLiteral("cfir_bypass cfir_17 cfir_34 cfir_68 cfir_80 cfir_100 cfir_150 "
                                "cfir_gsm cfir_is95 cfir_umts")
                     .split(QLatin1Char(' ')));
        QCOMPARE(items("ComboBox4"),
                 QStringLiteral("pfir_bypass pfir_17 pfir_34 pfir_68 pfir_80 pfir_100 pfir_150 "
                                "pfir_gsm pfir_is95 pfir_umts")
                     .split(QLatin1Char(' ')));
        QCOMPARE(items("ComboBox5"),
                 QStringLiteral("res_bypass res_6x64_60 res_7x64_60 res_8x64_60 res_8x64_80 "
                                "res_9x32_60 res_12x32_80 res_15x32_80 res_19x16_80")
                     .split(QLatin1Char(' ')));

        // States before the start-up runs.
        QCOMPARE(text("Edit4"), QStringLiteral("1,0"));
        QCOMPARE(text("Edit8"), QStringLiteral("0x0400000"));
        QVERIFY(checked("AutoScale"));
        QVERIFY(checked("TblEnbCFIR") && checked("TblEnbPFIR") && checked("TblEnbRFIR"));
        QVERIFY(!checked("FileEnbCFIR") && !checked("FileEnbPFIR") && !checked("FileEnbRFIR"));

        app_->startWithDefaults();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        for (const char* hidden : {"CheckBox4", "CheckBox5", "CheckBox6", "Button11", "Panel14",
                                   "Button1", "Button2", "Button3", "Button4", "Button10"})
            QVERIFY2(get<QWidget>(hidden)->isHidden(), hidden);

        // Every caption is on screen in full, and the plot's named labels carry their texts.
        QStringList shown;
        for (QLabel* label : f.findChildren<QLabel*>()) {
            if (!label->isVisible() || label->text().isEmpty()) continue;
            QVERIFY2(showsWholeText(label),
                     qPrintable(label->objectName() + QLatin1Char(' ') + label->text()));
            shown << label->text();
        }
        for (const char* caption : {"Файл конфигурации",
                                    "Тактовая частота",
                                    "Hz",
                                    "Шаблон",
                                    "Режим",
                                    "Режим вывода",
                                    "Включенные каналы",
                                    "0",
                                    "1",
                                    "2",
                                    "3",
                                    "АЦП",
                                    "NCO",
                                    "Частота",
                                    "Гц",
                                    "Фаза",
                                    "рад",
                                    "CIC Фильтр",
                                    "Децимация",
                                    "Сдвиг АЦП",
                                    "Сдвиг влево 1",
                                    "Сдвиг влево 6",
                                    "Общее усил.",
                                    "CFIR Фильтр",
                                    "Усиление",
                                    "Сдвиг влево",
                                    "PFIR Фильтр",
                                    "Точно",
                                    "RESAMPLER Фильтр",
                                    "Длина фильтра",
                                    "Число умножений",
                                    "NDELAY",
                                    "Интерполяция",
                                    "Выходные параметры",
                                    "Выходная частота  ",
                                    "Усиление  "})
            QVERIFY2(shown.contains(QString::fromUtf8(caption)), caption);
        const std::pair<const char*, const char*> plotLabels[] = {{"Label61", "АЧХ канала"},
                                                                  {"Label26", "x="},
                                                                  {"Label41", "kHz"},
                                                                  {"Label39", "y="},
                                                                  {"Label40", "dB"},
                                                                  {"Label10", "dB"},
                                                                  {"Label9", "0"},
                                                                  {"Label21", "1/"},
                                                                  {"Label22", "1/"},
                                                                  {"Label23", "3/"},
                                                                  {"Label24", "1/"},
                                                                  {"Label20", "0"},
                                                                  {"Label33", "MHz"},
                                                                  {"Label50", "Курсор"},
                                                                  {"Label46", "Растяжение по X"},
                                                                  {"Label62", "Растяжение по Y"}};
        for (const auto& [name, caption] : plotLabels)
            QCOMPARE(text(name), QString::fromUtf8(caption));

        // The blocks stand from left to right: configuration, channel/CIC, CFIR and PFIR,
        // resampler and output, plot.
        const auto left = [&](const char* name) {
            QWidget* w = get<QWidget>(name);
            return w->mapTo(&f, QPoint(0, 0)).x();
        };
        QVERIFY(left("Button5") < left("ComboBox7"));
        QVERIFY(left("ComboBox7") < left("ComboBox1"));
        QCOMPARE(left("ComboBox1"), left("ComboBox4"));
        QVERIFY(get<QWidget>("ComboBox1")->mapTo(&f, QPoint(0, 0)).y() <
                get<QWidget>("ComboBox4")->mapTo(&f, QPoint(0, 0)).y());
        QVERIFY(left("ComboBox4") < left("ComboBox5"));
        QVERIFY(left("Edit5") < left("CICPBox"));
        QVERIFY(left("ComboBox5") < left("CICPBox"));
        // The plot fills its frame.
        QVERIFY(get<QWidget>("CICPBox")->width() >= 256);
        QVERIFY(get<QWidget>("CICPBox")->height() >= 240);
    }

    void decimationIsTypedSteppedAndClamped() {
        app_->startWithDefaults();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
        QCOMPARE(text("Edit1"), QStringLiteral("64"));
        QCOMPARE(text("Edit5"), QStringLiteral("390625.0"));

        type("Edit1", QStringLiteral("100"));
        QCOMPARE(text("Edit1"), QStringLiteral("100"));
        QCOMPARE(text("Edit5"), QStringLiteral("250000.0"));
        QCOMPARE(app_->session().model.Channels[0].Decimation, 100);
        type("Edit1", QStringLiteral("1"));
        QCOMPARE(text("Edit1"), QStringLiteral("2"));
        type("Edit1", QStringLiteral("99999"));
        QCOMPARE(text("Edit1"), QStringLiteral("4096"));

        // Single steps refuse to leave the range, larger ones clamp.
        click("Button8");
        QCOMPARE(text("Edit1"), QStringLiteral("4096"));
        click("Button16");
        QCOMPARE(text("Edit1"), QStringLiteral("4086"));
        click("Button15");
        QCOMPARE(text("Edit1"), QStringLiteral("4096"));
        type("Edit1", QStringLiteral("5"));
        click("Button16");
        QCOMPARE(text("Edit1"), QStringLiteral("2"));
        click("Button9");
        QCOMPARE(text("Edit1"), QStringLiteral("2"));
        click("Button7");
        QCOMPARE(text("Edit1"), QStringLiteral("1002"));
        click("Button18");
        click("Button9");
        QCOMPARE(text("Edit1"), QStringLiteral("901"));
        QCOMPARE(app_->session().model.Channels[0].Decimation, 901);

        // Leaving the field confirms it like Enter; Edit5 takes a rate on Enter.
        auto* edit1 = get<QLineEdit>("Edit1");
        edit1->setFocus(Qt::MouseFocusReason);
        edit1->selectAll();
        QTest::keyClicks(edit1, QStringLiteral("300"));
        QCOMPARE(app_->session().model.Channels[0].Decimation, 901);
        get<QLineEdit>("Edit2")->setFocus(Qt::TabFocusReason);
        QCOMPARE(app_->session().model.Channels[0].Decimation, 300);
        QCOMPARE(text("Edit5"), QStringLiteral("83333.3"));  // 100 MHz / 300 / 4, exact
        type("Edit5", QStringLiteral("400000"));
        QCOMPARE(text("Edit1"), QStringLiteral("62"));
        QCOMPARE(text("Edit5"), QStringLiteral("403225.8"));

        // A text that is no number is reported in a message box and changes nothing.
        QString message;
        whenModalShown([&](QWidget* w) {
            if (auto* box = qobject_cast<QMessageBox*>(w)) message = box->text();
        });
        type("Edit1", QStringLiteral("abc"));
        QVERIFY(!message.isEmpty());
        QCOMPARE(app_->session().model.Channels[0].Decimation, 62);
    }

    // Edit1, Edit2, Edit3, Edit4, Edit6 and Edit7 act on Enter and on leaving the field;
    // Edit5 and Edit8 on Enter only, so leaving them keeps the typed text unconfirmed.
    void typedFieldsActOnLeavingOnlyWhereTheyShould() {
        app_->startWithDefaults();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
        const auto& model = app_->session().model;
        // Types into the field and leaves it for another control, without Enter.
        const auto typeAndLeave = [&](const char* name, const QString& value) {
            auto* edit = get<QLineEdit>(name);
            edit->setFocus(Qt::MouseFocusReason);
            edit->selectAll();
            QTest::keyClicks(edit, value);
            get<QWidget>("Button13")->setFocus(Qt::MouseFocusReason);
        };

        typeAndLeave("Edit2", QStringLiteral("99999"));
        QCOMPARE(text("Edit2"), QStringLiteral("16383"));
        QCOMPARE(model.Channels[0].FineGain, 16383);
        typeAndLeave("Edit3", QStringLiteral("50000000"));
        QCOMPARE(model.Chip.Clock, 50000000);
        QCOMPARE(text("Edit5"), QStringLiteral("195312.5"));  // exact, not truncated
        typeAndLeave("Edit4", QStringLiteral("100"));
        QCOMPARE(text("Edit4"), QStringLiteral("64.0000000"));
        QCOMPARE(text("Edit8"), QStringLiteral("0x00100000"));
        typeAndLeave("Edit6", QStringLiteral("999999999"));
        QCOMPARE(text("Edit6"), QStringLiteral("50000000"));
        QCOMPARE(model.Chip.Fc[0], 50000000);
        typeAndLeave("Edit7", QStringLiteral("10"));
        QCOMPARE(text("Edit7"), QStringLiteral("6.283"));

        const QString rate = text("Edit5");
        typeAndLeave("Edit5", QStringLiteral("400000"));
        QCOMPARE(model.Channels[0].Decimation, 64);
        QCOMPARE(text("Edit1"), QStringLiteral("64"));
        // Left without Enter, the field shows the value in effect again: never a number that
        // is not used.
        QCOMPARE(text("Edit5"), rate);
        typeAndLeave("Edit8", QStringLiteral("0x02000000"));
        QCOMPARE(text("Edit4"), QStringLiteral("64.0000000"));
        QCOMPARE(text("Edit8"), QStringLiteral("0x00100000"));

        // Enter confirms both.
        type("Edit8", QStringLiteral("0x02000000"));
        QVERIFY(text("Edit4") != QStringLiteral("64.0000000"));
        type("Edit5", QStringLiteral("400000"));
        QVERIFY(model.Channels[0].Decimation != 64);
    }

    void outputModesChannelsAndChannelBoxes() {
        app_->startWithDefaults();
        QVERIFY(QTest::qWaitForWindowExposed(&form()));
        // Standard firmware: the mode lists are locked.
        QVERIFY(!enabled("ComboBox11"));
        QVERIFY(!enabled("ComboBox13"));
        click("CheckBox9");
        QVERIFY(checked("CheckBox9"));
        QVERIFY(enabled("ComboBox11") && enabled("ComboBox13"));

        // Two-channel mode: boxes 1 and 3 follow boxes 0 and 2 and cannot be clicked.
        pick("ComboBox11", 1);
        QCOMPARE(app_->session().model.Chip.ModeOfDdc, 1);
        QVERIFY(enabled("CheckBox3") && !enabled("CheckBox2"));
        QVERIFY(enabled("CheckBox7") && !enabled("CheckBox8"));
        click("CheckBox3");
        QVERIFY(!checked("CheckBox3"));
        QVERIFY(!checked("CheckBox2"));
        QVERIFY(checked("CheckBox7") && checked("CheckBox8"));
        QCOMPARE(app_->session().model.Chip.MaskChan2x, 2);
        QCOMPARE(app_->session().image.ChannelMap, 0x50);

        // One-channel mode, then back: the four-channel boxes come back from their own mask.
        pick("ComboBox11", 2);
        QVERIFY(enabled("CheckBox3"));
        for (const char* name : {"CheckBox2", "CheckBox7", "CheckBox8"}) QVERIFY(!enabled(name));
        pick("ComboBox11", 0);
        for (const char* name : {"CheckBox3", "CheckBox2", "CheckBox7", "CheckBox8"}) {
            QVERIFY(enabled(name));
            QVERIFY(checked(name));
        }
        click("CheckBox7");
        QCOMPARE(app_->session().model.Chip.MaskChan1x, 11);

        pick("ComboBox13", 1);
        QCOMPARE(app_->session().model.Chip.AsyncMode, 1);
        QCOMPARE(app_->session().image.OutputFormat, 0x48);

        // Switching the channel shows that channel's settings.
        type("Edit1", QStringLiteral("100"));
        pick("ComboBox7", 1);
        QCOMPARE(text("Edit1"), QStringLiteral("64"));
        QCOMPARE(text("Edit6"), QStringLiteral("11000000"));
        QCOMPARE(get<QComboBox>("ComboBox12")->currentIndex(), 1);
        pick("ComboBox12", 3);
        QCOMPARE(app_->session().model.Chip.InputPort[1], 3);
        pick("ComboBox7", 0);
        QCOMPARE(text("Edit1"), QStringLiteral("100"));
        QCOMPARE(get<QComboBox>("ComboBox7")->currentText(), QStringLiteral("Канал 0"));

        // Unticking the combined firmware forces the four-channel mode again.
        pick("ComboBox11", 2);
        click("CheckBox9");
        QCOMPARE(get<QComboBox>("ComboBox11")->currentIndex(), 0);
        QCOMPARE(app_->session().model.Chip.ModeOfDdc, 0);
        QVERIFY(!enabled("ComboBox11"));
    }

    void autoScaleLocksTheScalesAndSourcesSwitchPanels() {
        app_->startWithDefaults();
        QVERIFY(QTest::qWaitForWindowExposed(&form()));
        QVERIFY(!enabled("ComboBox2") && !enabled("ComboBox3"));
        QCOMPARE(get<QComboBox>("ComboBox2")->currentIndex(), 4);
        QCOMPARE(text("Panel2"), QStringLiteral("1.0000"));
        click("AutoScale");
        QVERIFY(!checked("AutoScale"));
        QVERIFY(enabled("ComboBox2") && enabled("ComboBox3"));
        pick("ComboBox2", 5);
        QCOMPARE(text("Panel2"), QStringLiteral("2.0000"));
        click("AutoScale");
        QVERIFY(!enabled("ComboBox2"));
        QCOMPARE(text("Panel2"), QStringLiteral("1.0000"));

        // The file source: the list locks, the name panel turns white, the file buttons
        // unlock; a double-click on the name panel opens the CFIR window only then.
        auto* panel9 = get<QLabel>("Panel9");
        QTest::mouseDClick(panel9, Qt::LeftButton);
        QVERIFY(!app_->session().open[gc::app::Window::Cfir]);
        click("FileEnbCFIR");
        QVERIFY(checked("FileEnbCFIR") && !checked("TblEnbCFIR"));
        QVERIFY(!enabled("ComboBox1"));
        QVERIFY(enabled("SpeedButton1") && enabled("SpeedButton10"));
        QCOMPARE(panel9->palette().color(QPalette::Window), QColor(255, 255, 255));
        QTest::mouseDClick(panel9, Qt::LeftButton);
        QVERIFY(app_->session().open[gc::app::Window::Cfir]);
        click("TblEnbCFIR");
        QVERIFY(enabled("ComboBox1") && !enabled("SpeedButton1"));
        QVERIFY(panel9->palette().color(QPalette::Window) != QColor(255, 255, 255));

        // Double-clicks on the decimation field and the filter lists open the stage windows;
        // "Справка" opens the about box.
        QTest::mouseDClick(get<QLineEdit>("Edit1"), Qt::LeftButton);
        QVERIFY(app_->session().open[gc::app::Window::Cic5]);
        QTest::mouseDClick(get<QComboBox>("ComboBox4")->lineEdit(), Qt::LeftButton);
        QVERIFY(app_->session().open[gc::app::Window::Pfir]);
        // The double-click does not open the list; a single click on the field does.
        QTest::qWait(QApplication::doubleClickInterval() + 100);
        QVERIFY(!get<QComboBox>("ComboBox4")->view()->isVisible());
        QTest::mouseClick(get<QComboBox>("ComboBox4")->lineEdit(), Qt::LeftButton);
        QTRY_VERIFY(get<QComboBox>("ComboBox4")->view()->isVisible());
        get<QComboBox>("ComboBox4")->hidePopup();
        QTest::mouseDClick(get<QComboBox>("ComboBox5")->lineEdit(), Qt::LeftButton);
        QVERIFY(app_->session().open[gc::app::Window::Resamp]);
        click("Button14");
        QVERIFY(app_->window(gc::ui::WindowOrder::Info)->isVisible());

        // A table pick reaches the model.
        pick("ComboBox1", 0);
        QCOMPARE(app_->session().model.Work.CfirSelection[0], 0);
        QCOMPARE(text("Panel12"), QStringLiteral("1.000"));
    }

    void plotCursorReadOutsAndStretches() {
        app_->startWithDefaults();
        QVERIFY(QTest::qWaitForWindowExposed(&form()));
        // After the first drawing the axis reads as the input rate's fractions.
        QTRY_COMPARE(text("Label38"), QStringLiteral("F/Fsinp"));
        QCOMPARE(text("Label34"), QStringLiteral("12.500"));
        QCOMPARE(text("Label37"), QStringLiteral("50.000"));
        QCOMPARE(text("Label11"), QStringLiteral("-20.0"));
        QCOMPARE(text("Label19"), QStringLiteral("-120.0"));
        QCOMPARE(text("Label25"), QStringLiteral("8"));
        QCOMPARE(text("Panel15"), QString());

        // The plot itself: white field, black curve, red marker.
        const QImage picture = app_->mainWindow().plotBox()->grab().toImage();
        int black = 0;
        int red = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb p = picture.pixel(x, y);
                black += p == qRgb(0, 0, 0) ? 1 : 0;
                red += p == qRgb(255, 0, 0) ? 1 : 0;
            }
        }
        QVERIFY(black > 100);
        QVERIFY(red >= picture.height());
        QCOMPARE(picture.pixel(picture.width() - 1, picture.height() * 20 / 240),
                 qRgb(255, 255, 255));

        rightClickPlot(128, 100);
        QCOMPARE(text("Panel15"), QStringLiteral("25000.000"));
        QVERIFY(!text("Panel16").isEmpty());
        click("Button28");
        QCOMPARE(text("Panel15"), QStringLiteral("25195.310"));
        click("Button27");
        click("Button27");
        QCOMPARE(text("Panel15"), QStringLiteral("24804.690"));

        // The stretches: X recomputes and rewrites the frequency axis, Y the level axis.
        click("Button19");
        QCOMPARE(text("Panel17"), QStringLiteral("2"));
        QCOMPARE(text("Label34"), QStringLiteral("6.250"));
        QCOMPARE(text("Label25"), QStringLiteral("16"));
        QCOMPARE(text("Panel15"), QStringLiteral("12402.340"));
        click("Button21");
        QCOMPARE(text("Panel17"), QStringLiteral("4096"));
        // At the largest stretch the bottom axis reads in kHz with neighbours that differ.
        QCOMPARE(text("Label33"), QStringLiteral("kHz"));
        QCOMPARE(text("Label34"), QStringLiteral("3.052"));
        click("Button22");
        QCOMPARE(text("Panel17"), QStringLiteral("1"));
        QCOMPARE(text("Label33"), QStringLiteral("MHz"));
        // "По каналу" and its key F: the span shows the channel (D 64: Fo 390.625 kHz, the
        // plot spans 781.25 kHz at a 64-fold stretch).
        click("ButtonFit");
        QCOMPARE(text("Panel17"), QStringLiteral("64"));
        QCOMPARE(text("Label37"), QStringLiteral("781.250"));
        click("Button22");
        form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
        QTest::keyClick(form().windowHandle(), Qt::Key_F);
        QTRY_COMPARE(text("Panel17"), QStringLiteral("64"));  // the button's animated click
        click("Button22");
        click("Button23");
        click("Button23");
        QCOMPARE(text("Panel18"), QStringLiteral("4"));
        QCOMPARE(text("Label11"), QStringLiteral("-5.0"));
        click("Button26");
        QCOMPARE(text("Panel18"), QStringLiteral("1"));

        // A right release on the frame outside the paint box removes the cursor.
        auto* panel5 = get<QWidget>("Panel5");
        QTest::mouseClick(panel5, Qt::RightButton, {}, QPoint(2, panel5->height() / 2));
        QCOMPARE(text("Panel15"), QString());
        QCOMPARE(text("Panel16"), QString());

        // So does one on the window's background; a left release there leaves it.
        rightClickPlot(64, 10);
        QCOMPARE(text("Panel15"), QStringLiteral("12500.000"));
        QLabel* caption = nullptr;
        for (QLabel* l : form().findChildren<QLabel*>()) {
            if (l->text() == QStringLiteral("Шаблон")) caption = l;
        }
        QVERIFY(caption != nullptr);
        QTest::mouseClick(caption, Qt::LeftButton);
        QCOMPARE(text("Panel15"), QStringLiteral("12500.000"));
        // A right click on a button is the button's, not the background's.
        QTest::mouseClick(get<QWidget>("Button5"), Qt::RightButton);
        QCOMPARE(text("Panel15"), QStringLiteral("12500.000"));
        QTest::mouseClick(caption, Qt::RightButton);
        QCOMPARE(text("Panel15"), QString());

        // Dragging with the right button moves the cursor along.
        gc::ui::PlotBox* box = app_->mainWindow().plotBox();
        QTest::mousePress(box, Qt::RightButton, {}, box->fromPlot(10, 50).toPoint());
        QTest::mouseMove(box, box->fromPlot(128, 50).toPoint());
        QCOMPARE(text("Panel15"), QStringLiteral("25000.000"));
        QTest::mouseRelease(box, Qt::RightButton, {}, box->fromPlot(128, 50).toPoint());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
