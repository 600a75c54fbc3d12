// What a user types into the main window and the requirement window: refused values change
// nothing and leave the value in effect on show, the clock must be a positive whole number, the
// NCO frequency survives clock changes, the output rate is the exact one, and the title's "*"
// follows the requirement as well as the configuration.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "analysis/ChannelMeasure.h"
#include "app/Fakes.h"
#include "app/LoadSaveTestSupport.h"
#include "app/MainPresenter.h"
#include "model/Derived.h"
#include "model/Numeric.h"

using namespace gc::app;
using gc::app::testing::LoadSaveRig;
using gc::app::testing::RecordingPlotSeam;
using gc::app::testing::RecordingUi;
using gc::app::testing::TempFolder;

namespace {

class TypedValuesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        presenter.startWithDefaults();
        log.clear();
    }
    gc::model::ConfigurationModel& model() { return session.model; }
    void typeClock(const std::string& text) {
        state.Edit3.text = text;
        presenter.onEdit3Enter();
    }

    Session session;
    MainState state;
    std::vector<std::string> log;
    RecordingUi ui{log};
    RecordingPlotSeam plot{log, session, state};
    MainPresenter presenter{session, state, ui, plot};
};

}  // namespace

TEST_F(TypedValuesTest, AClockThatIsNoPositiveWholeNumberIsRefusedAndChangesNothing) {
    state.Edit6.text = "21400000";
    presenter.onEdit6Enter();
    ASSERT_EQ(model().Chip.Fc[0], 21400000);
    for (const char* text : {"0", "-0", "-5", "2147483648", "99999999999", "abc", "1e6", ""}) {
        SCOPED_TRACE(text);
        ui.conversionErrors.clear();
        log.clear();
        typeClock(text);
        ASSERT_EQ(ui.conversionErrors.size(), 1u);
        EXPECT_NE(ui.conversionErrors[0].find("от 1 до 2147483647"), std::string::npos);
        EXPECT_EQ(model().Chip.Clock, 100000000);
        EXPECT_EQ(model().Chip.Fc[0], 21400000);
        EXPECT_EQ(state.Edit3.text, "100000000");                  // the clock in effect again
        EXPECT_EQ(log, (std::vector<std::string>{"conversion"}));  // no refresh
    }
    // The largest clock the fields hold is taken.
    typeClock("2147483647");
    EXPECT_EQ(model().Chip.Clock, 2147483647);
    EXPECT_EQ(model().Chip.Fc[0], 21400000);
}

TEST_F(TypedValuesTest, TheNcoFrequencySurvivesAClockBelowIt) {
    state.Edit6.text = "21400000";
    presenter.onEdit6Enter();
    // A clock below the NCO holds the NCO at the clock while it lasts ...
    typeClock("10000000");
    EXPECT_EQ(model().Chip.Fc[0], 10000000);
    EXPECT_EQ(state.Edit6.text, "10000000");
    typeClock("20000000");
    EXPECT_EQ(model().Chip.Fc[0], 20000000);
    // ... and the frequency asked for comes back with a clock that allows it.
    typeClock("80000000");
    EXPECT_EQ(model().Chip.Fc[0], 21400000);
    EXPECT_EQ(state.Edit6.text, "21400000");

    // A new frequency typed while the clock is low is the one remembered.
    typeClock("10000000");
    state.Edit6.text = "30000000";
    presenter.onEdit6Enter();
    EXPECT_EQ(model().Chip.Fc[0], 10000000);
    typeClock("100000000");
    EXPECT_EQ(model().Chip.Fc[0], 30000000);

    // Another channel keeps its own; a value loaded from a file is taken as it is.
    state.ComboBox7.index = 1;
    presenter.onComboBox7Changed();
    model().Chip.Fc[1] = 5000000;
    presenter.recalculate();
    typeClock("90000000");
    EXPECT_EQ(model().Chip.Fc[1], 5000000);
    EXPECT_EQ(model().Chip.Fc[0], 30000000);
}

TEST_F(TypedValuesTest, RefusedEntriesPutBackTheValuesInEffect) {
    struct Case {
        EditState MainState::*field;
        const char* text;
        void (MainPresenter::*enter)();
        const char* shown;
    };
    const Case cases[] = {
        {&MainState::Edit1, "abc", &MainPresenter::onEdit1Enter, "64"},
        {&MainState::Edit1, "99999999999", &MainPresenter::onEdit1Exit, "64"},
        {&MainState::Edit2, "1,5", &MainPresenter::onEdit2Enter, "1024"},
        {&MainState::Edit4, "1e400", &MainPresenter::onEdit4Enter, "1.0000000"},
        {&MainState::Edit4, "nan", &MainPresenter::onEdit4Exit, "1.0000000"},
        {&MainState::Edit5, "abc", &MainPresenter::onEdit5Enter, "390625.0"},
        {&MainState::Edit6, "x1", &MainPresenter::onEdit6Enter, "10000000"},
        {&MainState::Edit7, "nan", &MainPresenter::onEdit7Enter, "0.000"},
        {&MainState::Edit8, "0x123456789", &MainPresenter::onEdit8Enter, "0x04000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ui.conversionErrors.clear();
        (state.*c.field).text = c.text;
        (presenter.*c.enter)();
        EXPECT_EQ(ui.conversionErrors.size(), 1u);
        EXPECT_EQ((state.*c.field).text, c.shown);
    }
    EXPECT_EQ(model().Channels[0].Decimation, 64);
    EXPECT_EQ(model().Channels[0].FineGain, 1024);
    EXPECT_EQ(model().Chip.CoefInterpol[0], 1.0f);
    EXPECT_EQ(model().Chip.Fc[0], 10000000);
}

TEST(TypedNumbers, AWholeNumberTooLargeIsOutOfRangeNotNoInteger) {
    const auto message = [](const std::string& text) {
        try {
            (void)gc::model::parseInt(text);
        } catch (const gc::model::ConversionError& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(message("2147483648"),
              "Число \"2147483648\" вне допустимого диапазона -2147483648..2147483647");
    EXPECT_EQ(message("-2147483649"),
              "Число \"-2147483649\" вне допустимого диапазона -2147483648..2147483647");
    EXPECT_EQ(message("123456789012345678901234567890"),
              "Число \"123456789012345678901234567890\" вне допустимого диапазона "
              "-2147483648..2147483647");
    EXPECT_EQ(message("0x100000000"),
              "Число \"0x100000000\" вне допустимого диапазона 0x00000000..0xFFFFFFFF");
    // Not a number at all stays "no integer", also when it starts with many digits.
    EXPECT_EQ(message("99999999999x"), "\"99999999999x\" не является целым числом");
    EXPECT_EQ(message("12a"), "\"12a\" не является целым числом");
    EXPECT_EQ(message("-2147483648"), "accepted");
}

// The output rate 2^mode * interpolation * C / (4 D), worked by hand for each mode.
TEST_F(TypedValuesTest, TheOutputRateShownAndMeasuredIsTheExactOne) {
    // C 100 MHz, D 128, mode 0: 195312.5 Hz (OutputRate keeps 195312).
    state.Edit1.text = "128";
    presenter.onEdit1Enter();
    EXPECT_EQ(state.Edit5.text, "195312.5");
    EXPECT_EQ(model().Derived.OutputRate, 195312);
    EXPECT_DOUBLE_EQ(gc::analysis::chainFromModel(model()).outputRateHz, 195312.5);
    presenter.onEdit5Exit();
    EXPECT_EQ(state.Edit5.text, "195312.5");
    // D 2048: 12207.03125 Hz, where the truncated rate would put the aliases 0.03 Hz per image
    // off (128 Hz at the 4096th).
    state.Edit1.text = "2048";
    presenter.onEdit1Enter();
    EXPECT_EQ(state.Edit5.text, "12207.0");
    EXPECT_DOUBLE_EQ(gc::analysis::chainFromModel(model()).outputRateHz, 12207.03125);

    // Mode 1 (two channels) and mode 2 (one channel), D 2048, C 80 MHz, factor 0.75.
    EXPECT_DOUBLE_EQ(gc::model::exactOutputRate(0, 0.75f, 80e6, 2048), 7324.21875);
    EXPECT_DOUBLE_EQ(gc::model::exactOutputRate(1, 0.75f, 80e6, 2048), 14648.4375);
    EXPECT_DOUBLE_EQ(gc::model::exactOutputRate(2, 0.75f, 80e6, 2048), 29296.875);
    EXPECT_EQ(gc::model::outputRate(2, 0.75f, 80000000, 2048), 29296);
    EXPECT_EQ(gc::model::exactOutputRate(0, 1.0f, 80e6, 0), 0.0);

    state.CheckBox9.checked = true;
    presenter.onCheckBox9Click();
    state.ComboBox11.index = 2;
    presenter.onComboBox11Changed();
    typeClock("80000000");
    state.Edit1.text = "2048";
    presenter.onEdit1Enter();
    EXPECT_EQ(state.Edit5.text, "39062.5");  // 4 * 80 MHz / 8192
    EXPECT_DOUBLE_EQ(gc::analysis::chainFromModel(model()).outputRateHz, 39062.5);

    // The typed rate keeps its rule: D = trunc(4 * C / rate / 4).
    state.Edit5.text = "39000";
    presenter.onEdit5Enter();
    EXPECT_EQ(state.Edit1.text, "2051");
    EXPECT_EQ(state.Edit5.text, "39005.4");  // 80e6 / 2051
}

TEST(TitleMark, FollowsTheRequirementAsWellAsTheConfiguration) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "CONFIGS");
    LoadSaveRig rig(folder.str());
    rig.loadSave.start();
    EXPECT_FALSE(rig.loadSave.modified());

    // A typed requirement marks it ...
    rig.requirementState.EditFp.text = "100000";
    rig.requirement.onEditFpEnter();
    EXPECT_TRUE(rig.loadSave.modified());
    // ... taking it back clears the mark again ...
    rig.requirementState.EditFp.text = "";
    rig.requirement.onEditFpEnter();
    EXPECT_FALSE(rig.loadSave.modified());
    // ... and "Записать" saves it and clears the mark.
    rig.requirementState.EditFp.text = "100000";
    rig.requirementState.EditAs.text = "80";
    rig.requirement.onEditAsEnter();
    EXPECT_TRUE(rig.loadSave.modified());
    ASSERT_TRUE(rig.loadSave.saveConfiguration(folder / "CONFIGS/a.trv"));
    EXPECT_FALSE(rig.loadSave.modified());
    rig.requirementState.EditAs.text = "90";
    rig.requirement.onEditAsEnter();
    EXPECT_TRUE(rig.loadSave.modified());
    // Reading it back clears the mark.
    rig.loadSave.loadConfiguration(folder / "CONFIGS/a.trv");
    EXPECT_FALSE(rig.loadSave.modified());
    EXPECT_EQ(rig.requirement.requirement()->stopbandMinDb, 80.0);
}

TEST(ExitFolder, TheExitMakesAMissingConfigsFolder) {
    TempFolder folder;
    LoadSaveRig rig(folder.str());
    rig.loadSave.start();
    rig.ui.reports.clear();
    rig.state.Edit3.text = "80000000";
    rig.presenter.onEdit3Enter();
    rig.loadSave.exit();
    EXPECT_TRUE(rig.ui.reports.empty());
    const std::string text = gc::app::testing::fileText(folder / "CONFIGS/std.trv");
    EXPECT_NE(text.find("80000000"), std::string::npos);
}

TEST(VerdictMarks, AFigureIsNotToldByColourAlone) {
    EXPECT_EQ(limitMark(LimitColour::Green), "✓");
    EXPECT_EQ(limitMark(LimitColour::Red), "✗");
    EXPECT_EQ(limitMark(LimitColour::Neutral), "");
}
