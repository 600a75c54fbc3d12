#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

#include "app/Fakes.h"
#include "app/MainPresenter.h"
#include "model/Numeric.h"

using namespace gc::app;
using gc::app::testing::RecordingPlotSeam;
using gc::app::testing::RecordingUi;
using Log = std::vector<std::string>;

namespace {

class MainPresenterTest : public ::testing::Test {
  protected:
    // Start-up without files, then forget what start-up itself logged.
    void start() {
        presenter.startWithDefaults();
        clearLog();
    }
    void clearLog() {
        log.clear();
        plot.calls.clear();
    }
    gc::model::ConfigurationModel& model() { return session.model; }

    Session session;
    MainState state;
    Log log;
    RecordingUi ui{log};
    RecordingPlotSeam plot{log, session, state};
    MainPresenter presenter{session, state, ui, plot};
};

const Log kFullRefreshAllOpen{"cic",          "refresh:Cic5",   "refresh:Cfir",
                              "refresh:Pfir", "refresh:Resamp", "plot"};

}  // namespace

TEST_F(MainPresenterTest, StartWithDefaultsShowsTheDefaultChannel) {
    presenter.startWithDefaults();
    EXPECT_EQ(log, (Log{"cic", "plot"}));
    EXPECT_EQ(model().Work.Recalculating, 0);
    // AutoScale turns Scale 5 into 4 and the CIC stage becomes unity.
    EXPECT_EQ(model().Channels[0].Scale, 4);
    EXPECT_EQ(model().Channels[0].BigScale, 4);
    EXPECT_EQ(state.Panel2.text, "1.0000");
    EXPECT_EQ(state.ComboBox2.index, 4);
    EXPECT_FALSE(state.ComboBox2.enabled);
    EXPECT_FALSE(state.ComboBox3.enabled);
    EXPECT_EQ(state.Edit1.text, "64");
    EXPECT_EQ(state.Edit3.text, "100000000");
    EXPECT_EQ(state.Edit5.text, "390625.0");
    EXPECT_EQ(state.Edit6.text, "10000000");
    EXPECT_EQ(state.Edit7.text, "0.000");
    EXPECT_EQ(state.Edit4.text, "1.0000000");
    EXPECT_EQ(state.Edit8.text, "0x04000000");
    EXPECT_EQ(state.Edit2.text, "1024");
    EXPECT_EQ(state.Panel8.text, "1.000");
    EXPECT_EQ(state.Panel12.text, "1.266");  // cfir_68: 83001 / 65536 = 1.266494
    EXPECT_EQ(state.Panel13.text, "1.469");  // pfir_gsm: 96277 / 65536
    EXPECT_EQ(state.Panel20.text, "512");    // res_8x64_60
    EXPECT_EQ(state.Panel22.text, "8");
    EXPECT_EQ(state.Panel22.colour, PanelColour::ButtonFace);
    EXPECT_EQ(state.Panel14.text, "64");
    EXPECT_EQ(state.ComboBox14.index, 4);
    EXPECT_EQ(state.Panel1.text, "sinc.cfg");
    EXPECT_EQ(state.Panel9.text, "cfir_68.taps");
    EXPECT_EQ(state.Panel9.colour, PanelColour::ButtonFace);
    EXPECT_TRUE(state.ComboBox1.enabled);
    EXPECT_FALSE(state.SpeedButton1.enabled);
    EXPECT_EQ(state.ComboBox11.index, 0);
    EXPECT_FALSE(state.ComboBox11.enabled);
    EXPECT_FALSE(state.ComboBox13.enabled);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(state.channelBox(i).checked) << i;
    EXPECT_EQ(model().Work.ActiveCount, 4);
    EXPECT_FALSE(state.Button1.visible);
    EXPECT_FALSE(state.Button10.visible);
    // Standard firmware: the output block as the chip's loader expects it.
    EXPECT_EQ(session.image.OutputMode, 0x28);
    EXPECT_EQ(session.image.OutputTag[2], 0x64);
}

TEST_F(MainPresenterTest, CicGainWithAutoScaleUntickedAndServiceButtons) {
    start();
    state.AutoScale.checked = false;
    presenter.onAutoScaleClick();
    EXPECT_TRUE(state.ComboBox2.enabled);
    state.ComboBox2.index = 5;
    state.ComboBox3.index = 4;
    presenter.onShiftGainComboChanged();
    EXPECT_EQ(model().Channels[0].Scale, 5);
    EXPECT_EQ(state.Panel2.text, "2.0000");

    model().Work.ServiceMode = true;
    presenter.recalculate();
    for (const ButtonState* b :
         {&state.Button1, &state.Button2, &state.Button3, &state.Button4, &state.Button10})
        EXPECT_TRUE(b->visible);
}

TEST_F(MainPresenterTest, MultipliesOutsideSixToSixtyFourAreRed) {
    start();
    for (int n : {5, 65, 6, 64}) {
        model().Chip.NumMultiplies = n;
        presenter.recalculate();
        const bool bad = n == 5 || n == 65;
        EXPECT_EQ(model().Work.MultipliesError, bad) << n;
        EXPECT_EQ(state.Panel22.colour, bad ? PanelColour::Red : PanelColour::ButtonFace) << n;
        EXPECT_EQ(state.Panel22.text, std::to_string(n));
    }
    model().Work.ResamplerLengthError = true;
    presenter.recalculate();
    EXPECT_EQ(state.Panel20.colour, PanelColour::Red);
}

TEST_F(MainPresenterTest, NcoFrequencyAndPhaseAreClampedByCollect) {
    start();
    state.Edit7.text = "7";
    presenter.onEdit7Enter();
    EXPECT_EQ(model().Chip.Phase[0], 6.2831855f);
    EXPECT_EQ(state.Edit7.text, "6.283");
    state.Edit7.text = "-1";
    presenter.onEdit7Exit();
    EXPECT_EQ(model().Chip.Phase[0], 0.0f);
    state.Edit7.text = " 1,5 ";
    presenter.onEdit7Enter();
    EXPECT_EQ(model().Chip.Phase[0], 1.5f);
    state.Edit6.text = "250000000";
    presenter.onEdit6Enter();
    EXPECT_EQ(model().Chip.Fc[0], 100000000);
    EXPECT_EQ(state.Edit6.text, "100000000");
    // Ignored while a recalculation runs.
    model().Work.Recalculating = 1;
    state.Edit6.text = "5";
    presenter.onEdit6Exit();
    EXPECT_EQ(model().Chip.Fc[0], 100000000);
    EXPECT_TRUE(log.empty());
}

TEST_F(MainPresenterTest, DecimationEntryAndStepButtonEdges) {
    start();
    state.Edit1.text = "1";
    presenter.onEdit1Enter();
    EXPECT_EQ(model().Channels[0].Decimation, 2);
    EXPECT_EQ(state.Edit1.text, "2");
    state.Edit1.text = "99999";
    presenter.onEdit1Exit();
    EXPECT_EQ(model().Channels[0].Decimation, 4096);

    state.Edit1.text = "4095";  // "+1" reaches the largest decimation itself
    presenter.onButton8Click();
    EXPECT_EQ(state.Edit1.text, "4096");
    EXPECT_EQ(model().Channels[0].Decimation, 4096);
    state.Edit1.text = "3";  // and "-1" the smallest
    presenter.onButton9Click();
    EXPECT_EQ(model().Channels[0].Decimation, 2);
    state.Edit1.text = "4096";
    presenter.onEdit1Enter();

    clearLog();
    presenter.onButton8Click();  // 4096 "+1": nothing at all
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(state.Edit1.text, "4096");
    presenter.onButton15Click();  // "+10": stays, and the full refresh runs
    EXPECT_EQ(state.Edit1.text, "4096");
    EXPECT_EQ(log, (Log{"cic", "plot"}));

    state.Edit1.text = "2";
    presenter.onEdit1Enter();
    clearLog();
    presenter.onButton9Click();  // 2 "-1": nothing at all
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(model().Channels[0].Decimation, 2);

    state.Edit1.text = "5";  // steps start from the text, not from the model
    presenter.onButton16Click();
    EXPECT_EQ(model().Channels[0].Decimation, 2);
    presenter.onButton17Click();
    EXPECT_EQ(model().Channels[0].Decimation, 102);
    presenter.onButton7Click();
    EXPECT_EQ(model().Channels[0].Decimation, 1102);
    presenter.onButton12Click();
    EXPECT_EQ(model().Channels[0].Decimation, 102);
    presenter.onButton18Click();
    EXPECT_EQ(model().Channels[0].Decimation, 2);
    presenter.onButton8Click();
    EXPECT_EQ(model().Channels[0].Decimation, 3);

    // Text far outside the range does not overflow the step.
    state.Edit1.text = "2147483647";
    presenter.onButton7Click();
    EXPECT_EQ(model().Channels[0].Decimation, 4096);

    // Not a number: reported, nothing changed, no refresh.
    clearLog();
    state.Edit1.text = "abc";
    presenter.onButton15Click();
    EXPECT_EQ(state.Edit1.text, "4096");  // the decimation in effect again
    state.Edit1.text = "abc";
    presenter.onEdit1Enter();
    ASSERT_EQ(ui.conversionErrors.size(), 2u);
    EXPECT_NE(ui.conversionErrors[0].find("abc"), std::string::npos);
    EXPECT_EQ(log, (Log{"conversion", "conversion"}));
    EXPECT_EQ(model().Channels[0].Decimation, 4096);
}

TEST_F(MainPresenterTest, Edit1EnterRecalculatesBeforeTheResponses) {
    start();
    session.open[gc::app::Window::Cic5] = session.open[gc::app::Window::Cfir] = true;
    session.open[gc::app::Window::Pfir] = session.open[gc::app::Window::Resamp] = true;
    state.Edit1.text = "100";
    presenter.onEdit1Enter();
    EXPECT_EQ(log, kFullRefreshAllOpen);
    ASSERT_EQ(plot.calls.size(), 2u);
    EXPECT_EQ(plot.calls[0].currentDecimation, 100);
    EXPECT_EQ(plot.calls[0].edit5, "250000.0");  // already recalculated
    EXPECT_EQ(plot.calls[0].recalculating, 0);
}

TEST_F(MainPresenterTest, PlusOneRecalculatesAfterTheResponses) {
    start();
    session.open[gc::app::Window::Cic5] = session.open[gc::app::Window::Cfir] = true;
    session.open[gc::app::Window::Pfir] = session.open[gc::app::Window::Resamp] = true;
    presenter.onButton8Click();
    EXPECT_EQ(log, kFullRefreshAllOpen);
    ASSERT_EQ(plot.calls.size(), 2u);
    // collect has stored 65, the window still shows the rate of 64 ...
    EXPECT_EQ(plot.calls[0].currentDecimation, 65);
    EXPECT_EQ(plot.calls[0].edit5, "390625.0");
    EXPECT_EQ(plot.calls[1].edit5, "390625.0");
    // ... until the final recalculation.
    EXPECT_EQ(state.Edit5.text, "384615.4");  // 100 MHz / 65 / 4, not truncated
    EXPECT_EQ(model().Channels[0].Decimation, 65);
}

TEST_F(MainPresenterTest, OutputRateTypedIntoEdit5) {
    start();
    state.Edit5.text = "400000";
    presenter.onEdit5Enter();
    EXPECT_EQ(state.Edit1.text, "62");
    EXPECT_EQ(model().Channels[0].Decimation, 62);
    EXPECT_EQ(state.Edit5.text, "403225.8");  // the exact rate of D = 62
    EXPECT_EQ(log, (Log{"cic", "plot"}));

    // A rate of 0 (also one that is 0 as a float) would divide by zero: reported, nothing
    // changes.
    clearLog();
    for (const char* text : {"0", "0,0", "-0", "1e-60"}) {
        state.Edit5.text = text;
        presenter.onEdit5Enter();
    }
    ASSERT_EQ(ui.conversionErrors.size(), 4u);
    EXPECT_EQ(ui.conversionErrors[0], "Выходная частота не может быть равна нулю");
    EXPECT_EQ(model().Channels[0].Decimation, 62);
    EXPECT_EQ(log, (Log{"conversion", "conversion", "conversion", "conversion"}));

    // A negative rate divides fine: the negative decimation is clamped to the smallest one.
    clearLog();
    state.Edit5.text = "-5";
    presenter.onEdit5Enter();
    EXPECT_EQ(ui.conversionErrors.size(), 4u);
    EXPECT_EQ(model().Channels[0].Decimation, 2);
    EXPECT_EQ(state.Edit1.text, "2");
    EXPECT_EQ(log, (Log{"cic", "plot"}));
    state.Edit5.text = "400000";
    presenter.onEdit5Enter();

    state.Edit5.text = "fast";
    presenter.onEdit5Enter();
    EXPECT_NE(ui.conversionErrors.back().find("fast"), std::string::npos);
    state.Edit5.text = "1e300";  // beyond the float range: the smallest decimation
    presenter.onEdit5Enter();
    EXPECT_EQ(model().Channels[0].Decimation, 2);
}

TEST_F(MainPresenterTest, FineGainIsClamped) {
    start();
    state.Edit2.text = "20000";
    presenter.onEdit2Enter();
    EXPECT_EQ(model().Channels[0].FineGain, 16383);
    EXPECT_EQ(state.Edit2.text, "16383");
    state.Edit2.text = "-5";
    presenter.onEdit2Exit();
    EXPECT_EQ(model().Channels[0].FineGain, 0);
    EXPECT_EQ(state.Panel8.text, "0.000");
    EXPECT_TRUE(log.empty());  // recalculate only
}

TEST_F(MainPresenterTest, InterpolationAndRatioWord) {
    start();
    session.open[gc::app::Window::Resamp] = true;
    state.Edit4.text = "100";
    presenter.onEdit4Enter();
    EXPECT_EQ(model().Chip.CoefInterpol[0], 64.0f);
    EXPECT_EQ(state.Edit8.text, "0x00100000");
    EXPECT_EQ(state.Edit4.text, "64.0000000");
    EXPECT_EQ(log, (Log{"plot", "refresh:Resamp"}));

    state.Edit4.text = "0,5";
    presenter.onEdit4Exit();
    EXPECT_EQ(model().Chip.CoefInterpol[0], 0.5f);
    EXPECT_EQ(state.Edit8.text, "0x08000000");

    // The lower clamp: the float kept is 0.03125, whose word 2^31 does not fit 31 bits.
    state.Edit4.text = "0";
    presenter.onEdit4Enter();
    EXPECT_EQ(model().Chip.CoefInterpol[0], 0.03125f);
    EXPECT_EQ(state.Edit8.text, "0x7FFFFFFF");
    EXPECT_EQ(state.Edit4.text, "0.0312500");
    // Confirming the shown text again is stable.
    presenter.onEdit4Exit();
    EXPECT_EQ(state.Edit8.text, "0x7FFFFFFF");
    EXPECT_EQ(state.Edit4.text, "0.0312500");
}

TEST_F(MainPresenterTest, RatioWordTypedIntoEdit8) {
    start();
    state.Edit8.text = "0x02000000";
    presenter.onEdit8Enter();
    EXPECT_EQ(state.Edit4.text, "2");
    EXPECT_EQ(model().Chip.CoefInterpol[0], 1.0f);  // changes only when Edit4 is confirmed
    EXPECT_TRUE(log.empty());

    state.Edit8.text = "0x00000000";
    presenter.onEdit8Enter();
    // Refused: both fields show the interpolation in effect again.
    EXPECT_EQ(state.Edit4.text, "1.0000000");
    EXPECT_EQ(state.Edit8.text, "0x04000000");
    ASSERT_EQ(ui.conversionErrors.size(), 1u);
    state.Edit8.text = "zz";
    presenter.onEdit8Enter();
    EXPECT_EQ(ui.conversionErrors.size(), 2u);
}

TEST_F(MainPresenterTest, SaveChecksInOrder) {
    start();
    EXPECT_TRUE(presenter.runSaveChecks());
    EXPECT_TRUE(ui.reports.empty());

    model().Channels[3].Decimation = 7;
    EXPECT_FALSE(presenter.runSaveChecks());
    ASSERT_EQ(ui.reports.size(), 1u);
    EXPECT_EQ(ui.reports[0].window, ErrorWindow::ErrDecim);
    EXPECT_EQ(
        ui.reports[0].labels,
        (std::vector<std::string>{"Минимальный коэффициент децимации CIC-фильтра",
                                  "в этом режиме   равен", "8", "Файл не может быть записан!"}));

    model().Channels[3].Decimation = 32;
    EXPECT_FALSE(presenter.runSaveChecks());
    EXPECT_EQ(ui.reports.back().window, ErrorWindow::ErrEqualDecim);
    EXPECT_EQ(
        ui.reports.back().labels,
        (std::vector<std::string>{"В синхронном режиме вывода", "коэффициенты  децимации каналов",
                                  " должны быть одинаковыми!", "Файл не может быть записан!"}));
    model().Chip.AsyncMode = 1;
    EXPECT_TRUE(presenter.runSaveChecks());

    // Two-channel mode compares the first channel of each pair only.
    model().Chip.AsyncMode = 0;
    model().Chip.ModeOfDdc = 1;
    model().Channels[2].Decimation = 32;
    model().Channels[1].Decimation = 16;
    EXPECT_FALSE(presenter.runSaveChecks());
    EXPECT_EQ(ui.reports.back().window, ErrorWindow::ErrEqualDecim);
    model().Channels[0].Decimation = 3;
    EXPECT_FALSE(presenter.runSaveChecks());
    EXPECT_EQ(ui.reports.back().labels[2], "4");

    // The resampler check comes last.
    model().Chip.ModeOfDdc = 0;
    for (auto& ch : model().Channels) ch.Decimation = 64;
    model().Chip.NumMultiplies = 70;
    presenter.recalculate();
    EXPECT_EQ(state.Panel22.colour, PanelColour::Red);
    const size_t before = ui.reports.size();
    EXPECT_FALSE(presenter.runSaveChecks());
    ASSERT_EQ(ui.reports.size(), before + 1);
    EXPECT_EQ(ui.reports.back().window, ErrorWindow::ErrResamp);
    EXPECT_EQ(ui.reports.back().labels,
              (std::vector<std::string>{"Установки  Resampler-фильтра", "не корректны !",
                                        "Файл не может быть записан!"}));
}

TEST_F(MainPresenterTest, OddValuesFromFilesNeitherCrashNorStickTheGuard) {
    start();
    model().Channels[0].Decimation = 0;
    model().Chip.Clock = 0;
    model().Chip.CoefInterpol[0] = 0.0f;
    model().Chip.NumMultiplies = 0;
    model().Work.Ndelay = 0;
    model().Work.ResamplerTapCount = 100000;
    model().Chip.ModeOfDdc = 40;
    model().Chip.CombConfigPlis = 1;
    model().Channels[0].Shift = 99;
    presenter.recalculate();
    EXPECT_EQ(model().Work.Recalculating, 0);
    EXPECT_TRUE(ui.conversionErrors.empty());
    EXPECT_EQ(state.Edit5.text, "0.0");
    EXPECT_EQ(state.Edit8.text, "0x7FFFFFFF");
    EXPECT_EQ(state.Panel14.text, "0");
    EXPECT_EQ(state.Panel6.text, "0.000");
    EXPECT_EQ(state.ComboBox14.index, -1);
    EXPECT_EQ(state.ComboBox10.index, -1);
    EXPECT_EQ(state.ComboBox11.index, -1);
    EXPECT_EQ(model().Work.ActiveCount, 0);

    // A clock of 0 from a file is refused at the next collect: nothing changes until the
    // clock is put right.
    state.Edit5.text = "1000";
    presenter.onEdit5Enter();
    ASSERT_EQ(ui.conversionErrors.size(), 1u);
    EXPECT_NE(ui.conversionErrors[0].find("Тактовая частота"), std::string::npos);
    EXPECT_EQ(model().Channels[0].Decimation, 0);
    presenter.onComboBox14Changed();  // index -1: not an item, nothing to do

    // A factor that does not format as a number: reported, and the guard is released.
    model().Chip.CoefInterpol[0] = std::numeric_limits<float>::quiet_NaN();
    presenter.recalculate();
    EXPECT_EQ(ui.conversionErrors.size(), 2u);
    EXPECT_EQ(model().Work.Recalculating, 0);
}

TEST_F(MainPresenterTest, GuardedHandlersReturnWhileRecalculating) {
    start();
    model().Work.Recalculating = 1;
    state.CheckBox7.checked = false;
    presenter.onChannelBoxClick(2);
    EXPECT_EQ(model().Chip.MaskChan1x, 15);
    state.CheckBox4.checked = false;
    presenter.onCheckBox4Click();
    EXPECT_EQ(model().Work.StageEnabled[0], 1);
    state.ComboBox11.index = 2;
    presenter.onComboBox11Changed();
    state.ComboBox12.index = 3;
    presenter.onComboBox12Changed();
    EXPECT_EQ(model().Chip.ModeOfDdc, 0);
    EXPECT_EQ(model().Chip.InputPort[0], 0);
    EXPECT_TRUE(log.empty());
}

TEST_F(MainPresenterTest, StageBoxesAndAdcInput) {
    start();
    session.open[gc::app::Window::InpBlock] = true;
    state.CheckBox5.checked = false;
    presenter.onCheckBox5Click();
    EXPECT_EQ(model().Work.StageEnabled[1], 0);
    EXPECT_FALSE(state.CheckBox5.checked);
    EXPECT_EQ(log, (Log{"plot"}));
    clearLog();
    state.ComboBox12.index = 3;
    presenter.onComboBox12Changed();
    EXPECT_EQ(model().Chip.InputPort[0], 3);
    EXPECT_EQ(log, (Log{"refresh:InpBlock"}));
}

TEST_F(MainPresenterTest, ChannelSwitchUsesTheNewChannelEverywhere) {
    start();
    session.open[gc::app::Window::Cic5] = true;
    model().Channels[1].Decimation = 8;
    state.ComboBox7.index = 1;
    presenter.onComboBox7Changed();
    EXPECT_EQ(log, (Log{"cic", "refresh:Cic5", "plot"}));
    EXPECT_EQ(plot.calls[0].currentDecimation, 8);
    EXPECT_EQ(plot.calls[1].currentDecimation, 8);
    EXPECT_EQ(state.Edit1.text, "8");
    EXPECT_EQ(state.Edit6.text, "11000000");
    EXPECT_EQ(state.ComboBox1.index, 2);  // channel 1 starts with cfir_34
    EXPECT_EQ(model().CfirTaps[1][10], 32767);
    EXPECT_EQ(model().CfirTaps[1][0], -24);
    EXPECT_EQ(model().CfirTaps[1][20], -24);
}

TEST_F(MainPresenterTest, NdelayListSetsPhasesAndMultiplies) {
    start();
    session.open[gc::app::Window::Resamp] = true;
    state.ComboBox14.index = 2;
    presenter.onComboBox14Changed();
    EXPECT_EQ(model().Work.Ndelay, 16);
    EXPECT_EQ(model().Chip.NumMultiplies, 32);
    EXPECT_EQ(state.Panel22.text, "32");
    EXPECT_EQ(state.Panel14.text, "16");
    EXPECT_EQ(log, (Log{"refresh:Resamp", "plot"}));
}

TEST_F(MainPresenterTest, TableListsAndSourceButtons) {
    start();
    session.open[gc::app::Window::Cfir] = true;
    state.ComboBox1.index = 0;  // cfir_bypass
    presenter.onComboBox1Changed();
    EXPECT_EQ(model().Work.CfirSelection[0], 0);
    EXPECT_EQ(state.Panel12.text, "1.000");
    EXPECT_EQ(log, (Log{"plot", "refresh:Cfir"}));

    // The file source before any file was read: all taps 0.
    clearLog();
    state.TblEnbCFIR.checked = false;
    state.FileEnbCFIR.checked = true;
    presenter.onFileEnbCFIRClick();
    EXPECT_EQ(state.Panel12.text, "0.000");
    EXPECT_EQ(state.Panel9.colour, PanelColour::White);
    EXPECT_FALSE(state.ComboBox1.enabled);
    EXPECT_TRUE(state.SpeedButton1.enabled);
    EXPECT_TRUE(state.SpeedButton10.enabled);
    EXPECT_EQ(log, (Log{"plot", "refresh:Cfir"}));

    clearLog();
    state.ComboBox4.index = 0;  // pfir_bypass
    presenter.onComboBox4Changed();
    EXPECT_EQ(state.Panel13.text, "1.000");
    presenter.onTblEnbPFIRClick();
    EXPECT_EQ(log, (Log{"plot", "plot", "repaint"}));

    clearLog();
    state.ComboBox5.index = 0;  // res_bypass
    presenter.onComboBox5Changed();
    EXPECT_EQ(model().Work.ResamplerTapCount, 224);
    EXPECT_EQ(state.Panel20.text, "224");
    EXPECT_EQ(state.Panel22.text, "7");
    EXPECT_EQ(state.ComboBox14.index, 3);  // 32 phases
    state.ComboBox5.index = -1;
    presenter.onComboBox5Changed();  // not an item: ignored
    EXPECT_EQ(model().Work.RfirSelection, 0);
}

TEST_F(MainPresenterTest, WindowsOpenWithTheirFlags) {
    start();
    presenter.onPanel9DoubleClick();  // table source: nothing
    EXPECT_FALSE(session.open[gc::app::Window::Cfir]);
    EXPECT_TRUE(log.empty());
    state.TblEnbCFIR.checked = false;
    state.FileEnbCFIR.checked = true;
    presenter.onPanel9DoubleClick();
    EXPECT_TRUE(session.open[gc::app::Window::Cfir]);

    presenter.onEdit1DoubleClick();
    presenter.onComboBox4DoubleClick();
    presenter.onComboBox5DoubleClick();
    presenter.onButton1Click();
    presenter.onButton2Click();
    presenter.onButton3Click();
    presenter.onButton4Click();
    presenter.onButton10Click();
    presenter.onButton14Click();
    EXPECT_TRUE(session.open[gc::app::Window::Cic5] && session.open[gc::app::Window::Pfir] &&
                session.open[gc::app::Window::Resamp]);
    EXPECT_TRUE(session.open[gc::app::Window::OutBlock] &&
                session.open[gc::app::Window::InpBlock] && session.open[gc::app::Window::Freq] &&
                session.open[gc::app::Window::Filters]);
    EXPECT_EQ(log,
              (Log{"show:Cfir", "show:Cic5", "show:Pfir", "show:Resamp", "show:Sync",
                   "show:OutBlock", "show:InpBlock", "show:Freq", "show:Filters", "show:Info"}));
}

TEST_F(MainPresenterTest, ApplyToAllChannelsLeavesTheDisplay) {
    start();
    state.ComboBox7.index = 2;
    presenter.onComboBox7Changed();
    model().Channels[2].Decimation = 100;
    clearLog();
    const MainState before = state;
    presenter.onButton13Click();
    EXPECT_EQ(model().Channels[0].Decimation, 100);
    EXPECT_EQ(model().Chip.Fc[0], 12000000);
    EXPECT_EQ(state.Edit1.text, before.Edit1.text);
    EXPECT_TRUE(log.empty());
}

namespace {

// Logs "recalc" where a recalculation ran between two calls of the response work or the window
// layer: the hidden Panel14 is written by recalculate only, so a sentinel left in it shows
// whether one ran since the last call.
class OrderRecorder {
  public:
    OrderRecorder(MainState& state, Log& log) : state_(state), log_(log) {}
    void arm() { state_.Panel14.text = kSentinel; }
    void note() {
        if (state_.Panel14.text == kSentinel) return;
        log_.push_back("recalc");
        arm();
    }

  private:
    static constexpr const char* kSentinel = "?";
    MainState& state_;
    Log& log_;
};

class OrderUi : public RecordingUi {
  public:
    OrderUi(Log& log, OrderRecorder& order) : RecordingUi(log), order_(order) {}
    void showWindow(Window w) override {
        order_.note();
        RecordingUi::showWindow(w);
    }
    void refreshWindow(Window w) override {
        order_.note();
        RecordingUi::refreshWindow(w);
    }
    void repaintChannelPlot() override {
        order_.note();
        RecordingUi::repaintChannelPlot();
    }

  private:
    OrderRecorder& order_;
};

class OrderSeam : public RecordingPlotSeam {
  public:
    OrderSeam(Log& log, Session& session, MainState& state, OrderRecorder& order)
        : RecordingPlotSeam(log, session, state), order_(order) {}
    void computeCicResponse() override {
        order_.note();
        RecordingPlotSeam::computeCicResponse();
    }
    void refreshChannelPlot() override {
        order_.note();
        RecordingPlotSeam::refreshChannelPlot();
    }

  private:
    OrderRecorder& order_;
};

// A started main window with every auxiliary window open and the combined firmware on, so
// that every refresh a handler asks for shows in the log.
struct OrderBench {
    OrderBench() {
        presenter.startWithDefaults();
        state.CheckBox9.checked = true;
        presenter.onCheckBox9Click();
        session.open[gc::app::Window::Cic5] = session.open[gc::app::Window::Cfir] =
            session.open[gc::app::Window::Pfir] = true;
        session.open[gc::app::Window::Resamp] = session.open[gc::app::Window::InpBlock] =
            session.open[gc::app::Window::Freq] = true;
        session.open[gc::app::Window::OutBlock] = session.open[gc::app::Window::Filters] = true;
        log.clear();
        order.arm();
    }
    Log run(const std::function<void(MainState&, MainPresenter&)>& handler) {
        handler(state, presenter);
        order.note();
        return log;
    }

    Session session;
    MainState state;
    Log log;
    OrderRecorder order{state, log};
    OrderUi ui{log, order};
    OrderSeam plot{log, session, state, order};
    MainPresenter presenter{session, state, ui, plot};
};

}  // namespace

TEST(MainPresenterOrder, EveryHandlerRefreshesInItsOwnOrder) {
    using Handler = std::function<void(MainState&, MainPresenter&)>;
    const auto call = [](void (MainPresenter::*method)()) -> Handler {
        return [method](MainState&, MainPresenter& p) { (p.*method)(); };
    };
    const Log stages{"refresh:Cic5", "refresh:Cfir", "refresh:Pfir", "refresh:Resamp"};
    const auto join = [](std::initializer_list<Log> parts) {
        Log all;
        for (const Log& part : parts) all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    const Log full = join({{"recalc", "cic"}, stages, {"plot"}});
    const Log editors{"refresh:Filters", "refresh:Freq", "refresh:OutBlock"};
    struct Case {
        const char* name;
        Handler handler;
        Log expected;
    };
    const Case cases[] = {
        {"Edit1 Enter",
         [](MainState& s, MainPresenter& p) {
             s.Edit1.text = "100";
             p.onEdit1Enter();
         },
         full},
        {"Edit1 exit", call(&MainPresenter::onEdit1Exit), full},
        {"+1", call(&MainPresenter::onButton8Click), join({{"cic"}, stages, {"plot", "recalc"}})},
        {"-1", call(&MainPresenter::onButton9Click), full},
        {"+10", call(&MainPresenter::onButton15Click), full},
        {"-10", call(&MainPresenter::onButton16Click), full},
        {"+100", call(&MainPresenter::onButton17Click), full},
        {"-100", call(&MainPresenter::onButton18Click), full},
        {"+1000", call(&MainPresenter::onButton7Click), full},
        {"-1000", call(&MainPresenter::onButton12Click), full},
        {"Edit5",
         [](MainState& s, MainPresenter& p) {
             s.Edit5.text = "400000";
             p.onEdit5Enter();
         },
         full},
        {"Edit3 Enter", call(&MainPresenter::onEdit3Enter), full},
        {"Edit3 exit", call(&MainPresenter::onEdit3Exit), full},
        {"Edit4 Enter", call(&MainPresenter::onEdit4Enter), {"plot", "refresh:Resamp", "recalc"}},
        {"Edit4 exit", call(&MainPresenter::onEdit4Exit), {"plot", "refresh:Resamp", "recalc"}},
        {"Edit8", call(&MainPresenter::onEdit8Enter), {}},
        {"Edit2 Enter", call(&MainPresenter::onEdit2Enter), {"recalc"}},
        {"Edit2 exit", call(&MainPresenter::onEdit2Exit), {"recalc"}},
        {"shift and gain lists", call(&MainPresenter::onShiftGainComboChanged), {"recalc"}},
        {"AutoScale", call(&MainPresenter::onAutoScaleClick), {"recalc"}},
        {"Edit6", call(&MainPresenter::onEdit6Enter), {"recalc"}},
        {"Edit7", call(&MainPresenter::onEdit7Exit), {"recalc"}},
        {"ComboBox11",
         [](MainState& s, MainPresenter& p) {
             s.ComboBox11.index = 1;
             p.onComboBox11Changed();
         },
         join({{"recalc"}, editors, {"plot"}, stages})},
        {"ComboBox13", call(&MainPresenter::onComboBox13Changed), join({{"recalc"}, editors})},
        {"CheckBox9", call(&MainPresenter::onCheckBox9Click), join({{"recalc"}, editors})},
        {"channel box",
         [](MainState& s, MainPresenter& p) {
             s.CheckBox8.checked = false;
             p.onChannelBoxClick(3);
         },
         join({{"recalc"}, editors, {"refresh:InpBlock"}})},
        {"ComboBox12", call(&MainPresenter::onComboBox12Changed), {"recalc", "refresh:InpBlock"}},
        {"ComboBox7",
         [](MainState& s, MainPresenter& p) {
             s.ComboBox7.index = 1;
             p.onComboBox7Changed();
         },
         join({{"cic"}, stages, {"plot", "recalc"}})},
        {"ComboBox14",
         call(&MainPresenter::onComboBox14Changed),
         {"recalc", "refresh:Resamp", "plot"}},
        {"CheckBox4", call(&MainPresenter::onCheckBox4Click), {"recalc", "plot"}},
        {"CheckBox5", call(&MainPresenter::onCheckBox5Click), {"recalc", "plot"}},
        {"CheckBox6", call(&MainPresenter::onCheckBox6Click), {"recalc", "plot"}},
        // A list choice redraws before it recalculates, a source choice after.
        {"ComboBox1", call(&MainPresenter::onComboBox1Changed), {"plot", "refresh:Cfir", "recalc"}},
        {"ComboBox4", call(&MainPresenter::onComboBox4Changed), {"plot", "refresh:Pfir", "recalc"}},
        {"ComboBox5",
         call(&MainPresenter::onComboBox5Changed),
         {"plot", "refresh:Resamp", "recalc"}},
        {"TblEnbCFIR", call(&MainPresenter::onTblEnbCFIRClick), {"recalc", "plot", "refresh:Cfir"}},
        {"FileEnbCFIR",
         call(&MainPresenter::onFileEnbCFIRClick),
         {"recalc", "plot", "refresh:Cfir"}},
        {"TblEnbPFIR",
         call(&MainPresenter::onTblEnbPFIRClick),
         {"recalc", "plot", "refresh:Pfir", "repaint"}},
        {"FileEnbPFIR",
         call(&MainPresenter::onFileEnbPFIRClick),
         {"recalc", "plot", "refresh:Pfir"}},
        {"TblEnbRFIR",
         call(&MainPresenter::onTblEnbRFIRClick),
         {"recalc", "plot", "refresh:Resamp", "repaint"}},
        {"FileEnbRFIR",
         call(&MainPresenter::onFileEnbRFIRClick),
         {"recalc", "plot", "refresh:Resamp"}},
        {"Button13", call(&MainPresenter::onButton13Click), {}},
    };
    for (const Case& c : cases) {
        OrderBench bench;
        EXPECT_EQ(bench.run(c.handler), c.expected) << c.name;
    }
}
