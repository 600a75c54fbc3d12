#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "app/Fakes.h"
#include "app/LevelsPresenter.h"
#include "app/MainPresenter.h"
#include "chip/ProgramFile.h"

using namespace gc::app;
using gc::app::testing::RecordingPlotSeam;
using gc::app::testing::RecordingUi;
using Log = std::vector<std::string>;

namespace {

class LevelsPresenterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        main.startWithDefaults();  // D 64 (shift 4, automatic scale: CIC 1), NCO 10 MHz
        log.clear();
    }

    Session session;
    MainState state;
    Log log;
    RecordingUi ui{log};
    RecordingPlotSeam plot{log, session, state};
    MainPresenter main{session, state, ui, plot};
    LevelsState levels;
    LevelsPresenter presenter{session, levels, ui};
};

}  // namespace

// The plan of the start-up channel: a tone at the NCO by default, nine stages, the gain equation
// with its total, and the session's image untouched by building the program text.
TEST_F(LevelsPresenterTest, ShowsThePlanOfTheCurrentChannel) {
    const gc::chip::RegisterImage before = session.image;
    presenter.refresh();
    EXPECT_EQ(levels.LabelError, "");
    EXPECT_TRUE(session.image == before);
    ASSERT_NE(presenter.plan(), nullptr);
    EXPECT_EQ(levels.EditFrequency.text, "10000000");  // the channel's NCO frequency
    ASSERT_EQ(levels.Rows.size(), 9u);
    EXPECT_EQ(levels.Rows[0].stage, "вход");
    EXPECT_EQ(levels.Rows[2].stage, "CIC");
    EXPECT_EQ(levels.Rows[0].signal, "-6.00");
    EXPECT_EQ(levels.Rows[0].headroom, "6.00");
    EXPECT_EQ(levels.Rows[1].bits, "20");
    EXPECT_EQ(levels.Rows[2].rate, "1562500.0");
    // CIC: a unity factor, so the tone sits 6.02 dB below the input (half a real tone).
    EXPECT_EQ(levels.Rows[2].signal, "-12.02");
    ASSERT_EQ(levels.MemoGain.size(), 10u);
    EXPECT_EQ(levels.MemoGain[3], "CIC: 64^5 x 2^(4+4+6x4-62) = 1.000000");
    EXPECT_EQ(levels.MemoGain[0], "действительный вход в комплексный: 1/2 = 0.500000");
    EXPECT_EQ(levels.MemoGain[9].rfind("Итого: ", 0), 0u);
    EXPECT_NE(levels.LabelFirstClip.find("Первым ограничивается каскад"), std::string::npos);
    EXPECT_NE(levels.LabelOutput.find("ОСШ"), std::string::npos);
    EXPECT_NE(levels.LabelChannel.find("Канал 0"), std::string::npos);
    EXPECT_TRUE(std::none_of(levels.Rows.begin(), levels.Rows.end(),
                             [](const LevelRowState& r) { return r.clips; }));
}

// A louder input clips (the row turns red); noise takes the output band by default; a text that
// is no number is reported and leaves no plan.
TEST_F(LevelsPresenterTest, FollowsTheTypedInput) {
    levels.EditLevel.text = "3";
    presenter.onEditLevelEnter();
    EXPECT_TRUE(levels.Rows[0].clips);  // the input itself passes full scale
    EXPECT_NE(levels.Rows[0].clipInput, "");

    levels.EditLevel.text = "-20";
    levels.ComboKind = 1;
    presenter.onComboKindChanged();
    EXPECT_EQ(levels.LabelError, "");
    EXPECT_NEAR(std::stod(levels.EditFrequency.text), 390625.0, 0.01);  // the output band

    levels.EditLevel.text = "abc";
    presenter.onEditLevelEnter();
    EXPECT_EQ(ui.conversionErrors.size(), 1u);
    EXPECT_EQ(presenter.plan(), nullptr);
    EXPECT_TRUE(levels.Rows.empty());
}

// The main window opens the window and refreshes it after each recalculation while open.
TEST_F(LevelsPresenterTest, MainWindowOpensAndRefreshesIt) {
    main.onButtonLevelsClick();
    EXPECT_TRUE(session.open[Window::Levels]);
    EXPECT_EQ(log, Log{"show:Levels"});
    log.clear();
    state.Edit1.text = "32";
    main.onEdit1Enter();
    EXPECT_NE(std::find(log.begin(), log.end(), "refresh:Levels"), log.end());
    // Its plan follows: D 32 now.
    presenter.refresh();
    EXPECT_EQ(levels.Rows[2].rate, "3125000.0");
}

// A channel the registers give nothing to plan for: the reason instead of the table.
TEST_F(LevelsPresenterTest, SaysWhyThereIsNoPlan) {
    session.model.Work.ActiveMask = 14;  // channel 0 held in reset
    presenter.refresh();
    EXPECT_EQ(levels.LabelError, "Канал 0 удерживается в сбросе (не включён)");
    EXPECT_TRUE(levels.Rows.empty());
    EXPECT_TRUE(levels.MemoGain.empty());
}
