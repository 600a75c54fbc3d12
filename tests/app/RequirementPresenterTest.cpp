#include <gtest/gtest.h>

#include <limits>

#include "app/Fakes.h"
#include "app/MainPresenter.h"
#include "app/RequirementPresenter.h"
#include "response/RecordingCanvas.h"

using namespace gc::app;
using gc::app::testing::RecordingPlotSeam;
using gc::app::testing::RecordingUi;
using Log = std::vector<std::string>;

namespace {

class RequirementPresenterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        main.startWithDefaults();  // cfir_68, pfir_gsm, res_8x64_60, D 64, Fo 390625 Hz
        log.clear();
    }
    void type(const char* fp, const char* fs, const char* rmax, const char* as, const char* aa) {
        req.EditFp.text = fp;
        req.EditFs.text = fs;
        req.EditRmax.text = rmax;
        req.EditAs.text = as;
        req.EditAa.text = aa;
    }

    Session session;
    MainState state;
    Log log;
    RecordingUi ui{log};
    RecordingPlotSeam plot{log, session, state};
    MainPresenter main{session, state, ui, plot};
    RequirementState req;
    RequirementPresenter presenter{session, req, ui};
};

}  // namespace

TEST(RequirementTexts, FiguresAreFormatted) {
    EXPECT_EQ(formatDb(std::numeric_limits<double>::infinity()), "∞");
    EXPECT_EQ(formatDb(-3.14159), "-3.14");
    EXPECT_EQ(formatDb(80.0), "80.00");
    EXPECT_EQ(formatHz(195312.5), "195312.5");
    EXPECT_EQ(kRequirementCaption, "Требования к каналу");
}

TEST_F(RequirementPresenterTest, NoRequirementShowsRateAndWarningsOnly) {
    presenter.refresh();
    EXPECT_EQ(req.PanelOutputRate, "390625.0");
    EXPECT_EQ(req.LabelVerdict.text, kVerdictNoRequirement);
    EXPECT_EQ(req.PanelRipple.text, "");
    EXPECT_EQ(req.LabelError, "");
    EXPECT_FALSE(presenter.measurement().has_value());
    // The model's warnings come without a requirement too.
    session.model.Derived.CicGain = 2.0;
    presenter.refresh();
    ASSERT_EQ(req.MemoWarnings.size(), 1u);
    EXPECT_EQ(req.MemoWarnings[0], "Усиление CIC 2.0000 больше 1: выход CIC может переполниться");
}

TEST_F(RequirementPresenterTest, TypedRequirementIsMeasuredAndColoured) {
    // Comma as the separator, blanks around, an empty Fs (Fo/2) and a limit the chain misses.
    type(" 80000 ", "", "10,5", "300", "");
    presenter.onEditRmaxEnter();
    EXPECT_EQ(log, (Log{"repaint"}));
    ASSERT_TRUE(presenter.requirement().has_value());
    EXPECT_EQ(presenter.requirement()->passbandHz, 80000.0);
    EXPECT_EQ(presenter.requirement()->rippleMaxDb, 10.5);
    EXPECT_FALSE(presenter.requirement()->stopbandHz.has_value());
    EXPECT_FALSE(presenter.requirement()->aliasRejectionMinDb.has_value());

    ASSERT_TRUE(presenter.measurement().has_value());
    const auto& m = *presenter.measurement();
    EXPECT_EQ(req.PanelStopbandEdge, "195312.5");
    EXPECT_EQ(req.PanelRipple.text, formatDb(m.rippleDb));
    EXPECT_EQ(req.PanelRipple.colour, LimitColour::Green);
    EXPECT_EQ(req.PanelRippleAt, formatHz(m.rippleWorstHz));
    EXPECT_EQ(req.PanelStopband.text, formatDb(m.stopbandAttenuationDb));
    EXPECT_EQ(req.PanelStopband.colour, LimitColour::Red);
    EXPECT_EQ(req.PanelStopbandAt, formatHz(m.stopbandWorstHz));
    EXPECT_EQ(req.PanelAlias.colour, LimitColour::Neutral);
    EXPECT_EQ(req.PanelAliasAt, formatHz(m.aliasWorstHz));
    EXPECT_EQ(req.PanelBandwidth, formatHz(*m.bandwidth3dbHz));
    EXPECT_EQ(req.LabelVerdict.text, kVerdictFailed);
    EXPECT_EQ(req.LabelVerdict.colour, LimitColour::Red);

    // The limits the chain meets turn the verdict green; none given is neutral.
    type("80000", "", "10.5", "", "20");
    presenter.onEditAaEnter();
    EXPECT_EQ(req.PanelStopband.colour, LimitColour::Neutral);
    EXPECT_EQ(req.PanelAlias.colour, LimitColour::Green);
    EXPECT_EQ(req.LabelVerdict.text, kVerdictMet);
    type("80000", "", "", "", "");
    presenter.onEditFpEnter();
    EXPECT_EQ(req.LabelVerdict.text, kVerdictNoLimits);
    EXPECT_EQ(req.LabelVerdict.colour, LimitColour::Neutral);
}

TEST_F(RequirementPresenterTest, BadInputChangesNothingAndBadEdgesAreExplained) {
    type("80000", "", "1", "", "");
    presenter.onEditFpEnter();
    const std::string ripple = req.PanelRipple.text;
    log.clear();

    type("80000", "", "1", "8O", "");
    presenter.onEditAsEnter();
    EXPECT_EQ(log, (Log{"conversion"}));
    ASSERT_EQ(ui.conversionErrors.size(), 1u);
    EXPECT_EQ(ui.conversionErrors[0], "\"8O\" не является числом");
    EXPECT_FALSE(presenter.requirement()->stopbandMinDb.has_value());
    EXPECT_EQ(req.PanelRipple.text, ripple);
    EXPECT_EQ(req.EditAs.text, "");  // the field shows the requirement in effect again

    // Fp at Fo/2: explained, no figures, no mask.
    type("195312,5", "", "1", "", "");
    presenter.onEditFpEnter();
    EXPECT_NE(req.LabelError, "");
    EXPECT_EQ(req.PanelRipple.text, "");
    EXPECT_EQ(req.LabelVerdict.text, "");
    EXPECT_FALSE(presenter.measurement().has_value());
    gc::testing::RecordingCanvas canvas;
    gc::response::ResponseArray channel{};
    channel.fill(1.0);
    presenter.drawOnChannelPlot(canvas, channel, 64, 1);
    EXPECT_TRUE(canvas.calls.empty());

    // An empty Fp clears the requirement.
    type("", "1", "", "", "");
    presenter.onEditFpEnter();
    EXPECT_FALSE(presenter.requirement().has_value());
    EXPECT_EQ(req.LabelVerdict.text, kVerdictNoRequirement);
}

TEST_F(RequirementPresenterTest, RefreshFollowsTheModelAndTheOverlayDraws) {
    gc::analysis::Requirement r;
    r.passbandHz = 80000.0;
    r.stopbandMinDb = 60.0;
    presenter.setRequirement(r);
    EXPECT_EQ(req.EditFp.text, "80000");
    EXPECT_EQ(req.EditAs.text, "60");
    EXPECT_EQ(req.EditFs.text, "");
    EXPECT_EQ(req.LabelError, "");

    gc::testing::RecordingCanvas canvas;
    gc::response::ResponseArray channel{};
    channel.fill(presenter.measurement()->referenceLevel);
    presenter.drawOnChannelPlot(canvas, channel, 64, 1);
    EXPECT_FALSE(canvas.linesIn(gc::analysis::kMaskColour).empty());
    // Fo/2 lies on column 64 at stretch 64: the alias curve spans columns 0..64.
    EXPECT_EQ(canvas.linesIn(gc::analysis::kAliasColour).size(), 64u);
    EXPECT_EQ(presenter.aliasCurve(64).columns, 65);

    // Decimation 256: Fo/2 = 48828 Hz, and Fp = 80000 lies beyond it.
    state.Edit1.text = "256";
    main.onEdit1Enter();
    presenter.refresh();
    EXPECT_EQ(req.PanelOutputRate, "97656.3");  // 97656.25 exactly, not truncated
    EXPECT_NE(req.LabelError, "");
    EXPECT_EQ(presenter.aliasCurve(64).columns, 0);

    presenter.setRequirement(std::nullopt);
    EXPECT_EQ(req.EditFp.text, "");
    EXPECT_EQ(req.EditAs.text, "");
    EXPECT_EQ(req.LabelError, "");
}
