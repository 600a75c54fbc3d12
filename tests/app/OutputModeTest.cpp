#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Fakes.h"
#include "app/MainPresenter.h"
#include "chip/OutputMode.h"
#include "chip/RegisterImage.h"

using namespace gc::app;
using gc::app::testing::RecordingPlotSeam;
using gc::app::testing::RecordingUi;
using gc::chip::RegisterImage;
using Log = std::vector<std::string>;

namespace {

std::array<int, 4> splitIQ(const RegisterImage& image) {
    return {image.Channels[0].SplitIQ, image.Channels[1].SplitIQ, image.Channels[2].SplitIQ,
            image.Channels[3].SplitIQ};
}

void expectStandardFirmware(const RegisterImage& image) {
    EXPECT_EQ(image.TristateControl, 0x7F);
    EXPECT_EQ(image.OutputFormat, 0x40);
    EXPECT_EQ(image.OutputMode, 0x28);
    EXPECT_EQ(image.OutputFrameControl, 0x01);
    EXPECT_EQ(image.OutputWordSize, 0xD9);
    EXPECT_EQ(image.OutputClockControl, 0xB0);
    EXPECT_EQ(image.SerialMixControl, 0xE4);
    EXPECT_EQ(image.OutputTag, (std::array<int, 4>{0x10, 0x32, 0x64, 0x76}));
    EXPECT_EQ(image.Miscell, 0x02);
    EXPECT_EQ(splitIQ(image), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(image.ChannelMap, 0xE4);
    EXPECT_EQ(image.Channels[0].PFIRControl, 0);
    EXPECT_EQ(image.Channels[1].PFIRControl, 0);
    EXPECT_EQ(image.OddChannelPhaseOffset, 0);
}

}  // namespace

TEST(ApplyOutputMode, StandardFirmwareIgnoresModeAndAsync) {
    RegisterImage image;
    gc::chip::applyOutputMode(image, 1, 2, 1, 4);
    gc::chip::applyOutputMode(image, 0, 2, 1, 4);
    expectStandardFirmware(image);
}

TEST(ApplyOutputMode, CombinedFirmwareByEnabledOutputsAndMode) {
    const int frame[] = {0x01, 0x02, 0x04, 0x06, 0x08};
    const int word[] = {0x01, 0x01, 0x03, 0x05, 0x07};
    for (int n = 0; n <= 4; ++n) {
        RegisterImage image;
        gc::chip::applyOutputMode(image, 1, 0, 0, n);
        EXPECT_EQ(image.OutputFrameControl, frame[n]) << n;
        EXPECT_EQ(image.OutputWordSize, word[n]) << n;
        EXPECT_EQ(image.OutputMode, 0x4A);
        EXPECT_EQ(image.OutputClockControl, 0x00);
        EXPECT_EQ(image.OutputTag, (std::array<int, 4>{0x11, 0x22, 0x44, 0x88}));
        EXPECT_EQ(image.Miscell, 0x03);
        EXPECT_EQ(image.OutputFormat, 0x40);
    }
    // More outputs than the table knows leave frame control and word size alone.
    RegisterImage image;
    image.OutputFrameControl = 0x55;
    image.OutputWordSize = 0x66;
    gc::chip::applyOutputMode(image, 1, 0, 0, 5);
    EXPECT_EQ(image.OutputFrameControl, 0x55);
    EXPECT_EQ(image.OutputWordSize, 0x66);

    // One-channel mode: four DDC channels make one output.
    gc::chip::applyOutputMode(image, 1, 2, 0, 4);
    EXPECT_EQ(image.OutputFrameControl, 0x02);
    EXPECT_EQ(splitIQ(image), (std::array<int, 4>{0x30, 0x50, 0x30, 0x50}));
    EXPECT_EQ(image.ChannelMap, 0x00);
    EXPECT_EQ(image.Channels[0].PFIRControl, 0x06);
    EXPECT_EQ(image.Channels[1].PFIRControl, 0x06);
    EXPECT_EQ(image.OddChannelPhaseOffset, 0x4000);

    // Asynchronous output, whatever is enabled; a mode no list offers skips the mode part.
    RegisterImage async;
    async.ChannelMap = 0x12;
    gc::chip::applyOutputMode(async, 1, 7, 1, 3);
    EXPECT_EQ(async.OutputFormat, 0x48);
    EXPECT_EQ(async.OutputFrameControl, 0x01);
    EXPECT_EQ(async.OutputWordSize, 0x09);
    EXPECT_EQ(async.ChannelMap, 0x12);
    gc::chip::applyOutputMode(async, 1, -3, 0, 3);  // no shift by a negative count
    EXPECT_EQ(async.OutputFrameControl, 0x06);
}

namespace {

class OutputModePresenterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        presenter.startWithDefaults();
        log.clear();
    }
    void click(int box, bool ticked) {
        state.channelBox(box).checked = ticked;
        presenter.onChannelBoxClick(box);
    }
    void combined() {
        state.CheckBox9.checked = true;
        presenter.onCheckBox9Click();
    }
    void mode(int index) {
        state.ComboBox11.index = index;
        presenter.onComboBox11Changed();
    }
    gc::model::ChipSettings& chip() { return session.model.Chip; }

    Session session;
    MainState state;
    Log log;
    RecordingUi ui{log};
    RecordingPlotSeam plot{log, session, state};
    MainPresenter presenter{session, state, ui, plot};
};

}  // namespace

TEST_F(OutputModePresenterTest, StandardFirmwareForcesFourChannels) {
    Session fresh;
    fresh.model.Chip.ModeOfDdc = 2;  // as a configuration file may hold it
    MainState shown;
    Log calls;
    RecordingUi recorder{calls};
    RecordingPlotSeam seam{calls, fresh, shown};
    MainPresenter start{fresh, shown, recorder, seam};
    start.startWithDefaults();
    EXPECT_EQ(fresh.model.Chip.ModeOfDdc, 0);
    EXPECT_EQ(shown.ComboBox11.index, 0);
    EXPECT_FALSE(shown.ComboBox11.enabled);
    expectStandardFirmware(fresh.image);
}

TEST_F(OutputModePresenterTest, SynchronousFourChannelsWithThreeEnabled) {
    session.open[gc::app::Window::Filters] = session.open[gc::app::Window::Freq] =
        session.open[gc::app::Window::OutBlock] = session.open[gc::app::Window::InpBlock] = true;
    combined();
    EXPECT_EQ(log, (Log{"refresh:Filters", "refresh:Freq", "refresh:OutBlock"}));
    EXPECT_TRUE(state.ComboBox11.enabled);
    EXPECT_TRUE(state.ComboBox13.enabled);
    log.clear();
    click(2, false);
    EXPECT_EQ(chip().MaskChan1x, 11);
    EXPECT_EQ(session.model.Work.ActiveCount, 3);
    EXPECT_EQ(session.image.OutputFrameControl, 0x06);
    EXPECT_EQ(session.image.OutputWordSize, 0x05);
    EXPECT_EQ(log,
              (Log{"refresh:Filters", "refresh:Freq", "refresh:OutBlock", "refresh:InpBlock"}));
}

TEST_F(OutputModePresenterTest, TwoChannelModeWorksInPairs) {
    combined();
    session.open[gc::app::Window::Cic5] = session.open[gc::app::Window::OutBlock] = true;
    mode(1);
    EXPECT_EQ(log, (Log{"refresh:OutBlock", "plot", "refresh:Cic5"}));
    EXPECT_EQ(session.model.Work.ActiveCount, 4);
    EXPECT_EQ(session.image.OutputFrameControl, 0x04);
    EXPECT_EQ(session.image.OutputWordSize, 0x03);
    EXPECT_EQ(splitIQ(session.image), (std::array<int, 4>{0x30, 0x50, 0x30, 0x50}));
    EXPECT_EQ(session.image.ChannelMap, 0x50);
    EXPECT_EQ(session.image.OddChannelPhaseOffset, 0x4000);
    EXPECT_FALSE(state.CheckBox2.enabled);  // box 1
    EXPECT_FALSE(state.CheckBox8.enabled);  // box 3
    EXPECT_TRUE(state.CheckBox7.enabled);   // box 2

    click(0, false);
    EXPECT_EQ(chip().MaskChan2x, 2);
    EXPECT_FALSE(state.channelBox(1).checked);
    EXPECT_EQ(session.model.Work.ActiveMask, 12);  // channels 2 and 3
    EXPECT_EQ(session.model.Work.ActiveCount, 2);
    click(0, true);
    EXPECT_EQ(chip().MaskChan2x, 3);
    EXPECT_TRUE(state.channelBox(1).checked);  // the pair follows box 0

    // Two-channel output rate doubles.
    EXPECT_EQ(state.Edit5.text, "781250.0");

    // A configuration that enables only the second pair shows channels 2 and 3 in use.
    Session loaded;
    loaded.model.Chip.CombConfigPlis = 1;
    loaded.model.Chip.ModeOfDdc = 1;
    loaded.model.Chip.MaskChan2x = 2;
    MainState shown;
    Log calls;
    RecordingUi recorder{calls};
    RecordingPlotSeam seam{calls, loaded, shown};
    MainPresenter start{loaded, shown, recorder, seam};
    start.startWithDefaults();
    EXPECT_EQ(loaded.model.Work.ActiveMask, 12);
    EXPECT_EQ(loaded.model.Work.ActiveCount, 2);
    const bool ticked[] = {false, false, true, true};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(shown.channelBox(i).checked, ticked[i]) << i;
}

TEST_F(OutputModePresenterTest, EachModeKeepsItsOwnMask) {
    combined();
    click(1, false);
    click(3, false);
    EXPECT_EQ(chip().MaskChan1x, 5);
    mode(2);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(state.channelBox(i).checked) << i;
    EXPECT_EQ(session.model.Work.ActiveCount, 4);
    EXPECT_EQ(state.Edit5.text, "1562500.0");
    mode(0);
    const bool expected[] = {true, false, true, false};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(state.channelBox(i).checked, expected[i]) << i;
}

TEST_F(OutputModePresenterTest, AsynchronousOutput) {
    combined();
    click(3, false);
    state.ComboBox13.index = 1;
    presenter.onComboBox13Changed();
    EXPECT_EQ(chip().AsyncMode, 1);
    EXPECT_EQ(session.image.OutputFormat, 0x48);
    EXPECT_EQ(session.image.OutputFrameControl, 0x01);
    EXPECT_EQ(session.image.OutputWordSize, 0x09);
    // Unticking the firmware shows synchronous output but keeps the stored choice.
    state.CheckBox9.checked = false;
    presenter.onCheckBox9Click();
    EXPECT_EQ(state.ComboBox13.index, 0);
    EXPECT_EQ(chip().AsyncMode, 1);
    expectStandardFirmware(session.image);
}

TEST_F(OutputModePresenterTest, RecalculateRunsTheFirmwareHandlerWhenItChangesTheTick) {
    session.open[gc::app::Window::Filters] = true;
    // A configuration read elsewhere switched the combined firmware on.
    chip().CombConfigPlis = 1;
    chip().ModeOfDdc = 1;
    presenter.recalculate();
    EXPECT_TRUE(state.CheckBox9.checked);
    EXPECT_EQ(session.image.OutputMode, 0x4A);
    EXPECT_EQ(session.image.ChannelMap, 0x50);
    EXPECT_EQ(state.ComboBox11.index, 1);
    EXPECT_TRUE(state.ComboBox11.enabled);
    EXPECT_EQ(log, (Log{"refresh:Filters"}));
    EXPECT_EQ(session.model.Work.Recalculating, 0);

    // And off again: the standard output block, the mode forced to 0.
    log.clear();
    chip().CombConfigPlis = 0;
    chip().ModeOfDdc = 2;
    presenter.recalculate();
    EXPECT_FALSE(state.CheckBox9.checked);
    EXPECT_EQ(chip().ModeOfDdc, 0);
    expectStandardFirmware(session.image);
    EXPECT_EQ(log, (Log{"refresh:Filters"}));
    EXPECT_EQ(session.model.Work.Recalculating, 0);
}

TEST_F(OutputModePresenterTest, RateAndBoxesUseTheModeAsItStoodBeforeTheFirmwareGate) {
    // Standard firmware, but mode 2 from a file: the output rate and the boxes are worked out
    // with mode 2 before the gate forces mode 0; the next recalculation shows mode 0.
    chip().ModeOfDdc = 2;
    presenter.recalculate();
    EXPECT_EQ(state.Edit5.text, "1562500.0");
    EXPECT_FALSE(state.channelBox(1).enabled);
    EXPECT_EQ(chip().ModeOfDdc, 0);
    presenter.recalculate();
    EXPECT_EQ(state.Edit5.text, "390625.0");
    EXPECT_TRUE(state.channelBox(1).enabled);
}

namespace {

// A window layer that fails while refreshing an editor.
class FailingRefreshUi : public RecordingUi {
  public:
    using RecordingUi::RecordingUi;
    void refreshWindow(Window) override { throw std::runtime_error("refresh failed"); }
};

}  // namespace

TEST(RecalculatingGuard, IsReleasedWhenAnErrorEscapesTheNestedFirmwareHandler) {
    Session session;
    MainState state;
    Log log;
    FailingRefreshUi ui{log};
    RecordingPlotSeam plot{log, session, state};
    MainPresenter presenter{session, state, ui, plot};
    presenter.startWithDefaults();
    session.open[gc::app::Window::Filters] = true;
    session.model.Chip.CombConfigPlis = 1;
    EXPECT_THROW(presenter.recalculate(), std::runtime_error);
    EXPECT_EQ(session.model.Work.Recalculating, 0);
    // The channel boxes work again afterwards.
    session.open[gc::app::Window::Filters] = false;
    state.CheckBox8.checked = false;
    presenter.onChannelBoxClick(3);
    EXPECT_EQ(session.model.Chip.MaskChan1x, 7);
}
