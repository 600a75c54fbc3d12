#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/DesignPresenter.h"
#include "app/Fakes.h"
#include "app/LoadSaveTestSupport.h"
#include "app/Program.h"
#include "filters/TapFiles.h"
#include "response/RecordingCanvas.h"

using namespace gc::app;
using gc::app::testing::fileText;
using gc::app::testing::RecordingUi;
using gc::app::testing::TempFolder;
using gc::design::ChannelDesign;

namespace {

// Runs a job on the spot, or keeps it to be finished (or never) when the test says.
class FakeDesignPort : public DesignPort {
  public:
    void run(DesignJob job, std::function<void(double)> progress,
             std::function<void(ChannelDesign)> finished) override {
        ++runs;
        if (hold) {
            held = std::move(job);
            heldProgress = std::move(progress);
            heldFinished = std::move(finished);
            return;
        }
        finished(job.work(progress));
    }
    bool confirmReplace(const std::vector<std::string>& paths) override {
        asked.push_back(paths);
        return replace;
    }
    // Finishes a held job as a worker thread would once it got there.
    void finishHeld() { heldFinished(held.work(heldProgress)); }

    int runs{0};
    bool hold{false};
    bool replace{false};
    std::vector<std::vector<std::string>> asked;
    DesignJob held;
    std::function<void(double)> heldProgress;
    std::function<void(ChannelDesign)> heldFinished;
};

std::string row(const char* lead, const std::vector<int>& taps, int count) {
    std::string text = lead;
    for (int i = 0; i < count; ++i) text += (i ? " " : "") + std::to_string(taps[i]);
    return text;
}

class DesignPresenterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        program.presenter.startWithDefaults();  // cfir_68, pfir_gsm, D 64, Fo 390625 Hz
        program.design.setPort(&port);
        gc::analysis::Requirement req;
        req.passbandHz = 80000.0;
        req.rippleMaxDb = 1.0;
        req.stopbandMinDb = 60.0;
        program.requirement.setRequirement(req);
    }

    TempFolder folder;
    std::vector<std::string> log;
    RecordingUi ui{log};
    Program program{ui, gc::appconfig::Workspace(folder.str())};
    FakeDesignPort port;
    DesignState& state = program.designState;
    DesignPresenter& design = program.design;
};

}  // namespace

TEST_F(DesignPresenterTest, WithoutRequirementNothingIsDesigned) {
    program.requirement.setRequirement(std::nullopt);
    design.onShow();
    EXPECT_EQ(state.LabelRequirement, kDesignNoRequirement);
    EXPECT_FALSE(state.ButtonCalculate.enabled);
    design.onButtonCalculateClick();
    EXPECT_EQ(port.runs, 0);
    EXPECT_FALSE(design.result().has_value());

    // A pass band beyond the output band cannot be measured: the reason is shown instead.
    gc::analysis::Requirement wide;
    wide.passbandHz = 300000.0;
    program.requirement.setRequirement(wide);
    design.onShow();
    EXPECT_NE(state.LabelRequirement, kDesignNoRequirement);
    EXPECT_FALSE(state.LabelRequirement.empty());
    EXPECT_FALSE(state.ButtonCalculate.enabled);
}

TEST_F(DesignPresenterTest, DesignShowsFiguresPlotAndProgress) {
    design.onShow();
    EXPECT_EQ(state.EditName.text, "design_ch0");  // no configuration name yet
    EXPECT_TRUE(state.ButtonCalculate.enabled);
    EXPECT_FALSE(state.ButtonSave.enabled);
    EXPECT_EQ(state.PanelRippleLimit, "≤ 1.00");
    EXPECT_EQ(state.PanelStopbandLimit, "≥ 60.00");
    EXPECT_EQ(state.PanelAliasLimit, "");
    EXPECT_FALSE(state.PanelRippleNow.empty());
    ASSERT_EQ(state.FrequencyTexts.size(), 5u);
    EXPECT_EQ(state.FrequencyTexts[0], "0.0");
    EXPECT_EQ(state.FrequencyTexts[4], "390.6");  // up to Fo
    ASSERT_EQ(state.LevelTexts.size(), 7u);
    EXPECT_EQ(state.LevelTexts[6], "-120");

    design.onButtonCalculateClick();
    EXPECT_EQ(port.runs, 1);
    ASSERT_TRUE(design.result().has_value());
    const ChannelDesign& d = *design.result();
    EXPECT_TRUE(d.meets) << d.message;
    EXPECT_EQ(state.LabelStatus.text, kDesignMet);
    EXPECT_EQ(state.LabelStatus.colour, LimitColour::Green);
    EXPECT_EQ(state.PanelRipple.colour, LimitColour::Green);
    EXPECT_EQ(state.PanelStopband.colour, LimitColour::Green);
    EXPECT_EQ(state.PanelAlias.colour, LimitColour::Neutral);  // no limit given
    EXPECT_EQ(state.PanelRipple.text, formatDb(d.measurement.rippleDb));
    EXPECT_EQ(state.PanelStopband.text, formatDb(d.measurement.stopbandAttenuationDb));
    EXPECT_EQ(state.ProgressBar, 100);
    EXPECT_FALSE(state.ProgressActive);
    EXPECT_TRUE(state.ButtonSave.enabled);
    EXPECT_FALSE(state.ButtonCancel.enabled);
    EXPECT_TRUE(state.MemoShortfall.empty());

    // The plot: both curves, the designed one in blue, width 2; the limits in red.
    gc::testing::RecordingCanvas canvas;
    design.draw(canvas);
    const auto blue = canvas.linesIn({0, 0, 255});
    const auto grey = canvas.linesIn({128, 128, 128});
    const auto red = canvas.linesIn(gc::response::kRed);
    ASSERT_EQ(blue.size(), 256u);  // one segment per column
    ASSERT_EQ(grey.size(), 256u);
    EXPECT_EQ(blue[0].width, 2);
    EXPECT_EQ(blue[0].y0, 0);        // the pass band sits at 0 dB
    EXPECT_GT(blue.back().y1, 120);  // and Fo lies deep in the stop band (below -60 dB)
    // Fp and Fs edges, the ripple floor (-1 dB, row 2) over the pass band and the
    // attenuation ceiling (-60 dB, row 120) beyond Fs.
    ASSERT_EQ(red.size(), 4u);
    EXPECT_EQ(red[0].x0, 52);   // 80 kHz of 390.6
    EXPECT_EQ(red[1].x0, 128);  // Fo/2
    EXPECT_EQ(red[2].y0, 2);
    EXPECT_EQ(red[3].y0, 120);
    EXPECT_EQ(red[3].x0, 128);
}

TEST_F(DesignPresenterTest, MissedRequirementSaysWhatToRelax) {
    gc::analysis::Requirement hard;
    hard.passbandHz = 150000.0;
    hard.stopbandHz = 160000.0;
    hard.rippleMaxDb = 0.01;
    hard.stopbandMinDb = 140.0;
    program.requirement.setRequirement(hard);
    design.onShow();
    design.onButtonCalculateClick();
    ASSERT_TRUE(design.result().has_value());
    EXPECT_FALSE(design.result()->meets);
    EXPECT_EQ(state.LabelStatus.text, kDesignMissed);
    EXPECT_EQ(state.LabelStatus.colour, LimitColour::Red);
    EXPECT_EQ(state.MemoShortfall, design.result()->message);
    // The plot reaches below the 140 dB limit, so its line is seen.
    ASSERT_EQ(state.LevelTexts.size(), 7u);
    EXPECT_EQ(state.LevelTexts[1], "-30");
    EXPECT_EQ(state.LevelTexts[6], "-180");
    gc::testing::RecordingCanvas canvas;
    design.draw(canvas);
    const auto red = canvas.linesIn(gc::response::kRed);
    ASSERT_EQ(red.size(), 4u);
    EXPECT_EQ(red[3].y0, 187);  // 140 of 180 dB on 240 rows
    EXPECT_FALSE(state.MemoShortfall.empty());
    EXPECT_TRUE(state.PanelRipple.colour == LimitColour::Red ||
                state.PanelStopband.colour == LimitColour::Red);
}

TEST_F(DesignPresenterTest, CancelAndCloseDropTheRunningJob) {
    port.hold = true;
    design.onShow();
    design.onButtonCalculateClick();
    EXPECT_TRUE(design.running());
    EXPECT_TRUE(state.ProgressActive);
    EXPECT_TRUE(state.ButtonCancel.enabled);
    EXPECT_FALSE(state.ButtonCalculate.enabled);
    EXPECT_EQ(state.LabelStatus.text, kDesignRunning);
    design.onButtonCalculateClick();  // a second click while running starts nothing
    EXPECT_EQ(port.runs, 1);

    design.onButtonCancelClick();
    EXPECT_TRUE(port.held.cancel->load());
    EXPECT_FALSE(design.running());
    EXPECT_EQ(state.LabelStatus.text, kDesignCancelled);
    EXPECT_TRUE(state.ButtonCalculate.enabled);
    port.finishHeld();  // the job notices the flag and ends; what it sends is dropped
    EXPECT_FALSE(design.result().has_value());
    EXPECT_EQ(state.LabelStatus.text, kDesignCancelled);
    EXPECT_FALSE(state.ButtonSave.enabled);

    // Closing the window stops the job and clears the open flag.
    program.session.open[Window::Design] = true;
    design.onButtonCalculateClick();
    EXPECT_EQ(port.runs, 2);
    design.onClose();
    EXPECT_TRUE(port.held.cancel->load());
    EXPECT_FALSE(program.session.open[Window::Design]);
    port.finishHeld();
    EXPECT_FALSE(design.result().has_value());
}

TEST_F(DesignPresenterTest, SaveWritesSelectsAndReachesTheChipFiles) {
    design.onShow();
    design.onButtonCalculateClick();
    ASSERT_TRUE(design.result().has_value());
    const ChannelDesign d = *design.result();
    state.EditName.text = " rx1 ";
    design.onButtonSaveClick();

    const std::string cfir = folder / "FILTERS/rx1_cfir.taps";
    const std::string pfir = folder / "FILTERS/rx1_pfir.taps";
    EXPECT_EQ(fileText(cfir), gc::filters::tapFileText(d.cfirTaps.data(), 21));
    EXPECT_EQ(fileText(pfir), gc::filters::tapFileText(d.pfirTaps.data(), 63));
    EXPECT_FALSE(std::filesystem::exists(folder / "FILTERS/rx1_res.taps"));
    EXPECT_TRUE(port.asked.empty());
    EXPECT_TRUE(ui.reports.empty());
    auto& model = program.session.model;
    EXPECT_EQ(model.Channels[0].NameOfCFIR, "rx1_cfir.taps");
    EXPECT_EQ(model.Channels[0].NameOfPFIR, "rx1_pfir.taps");
    EXPECT_TRUE(program.state.FileEnbCFIR.checked);
    EXPECT_FALSE(program.state.TblEnbCFIR.checked);
    EXPECT_TRUE(program.state.FileEnbPFIR.checked);
    EXPECT_FALSE(program.state.FileEnbRFIR.checked);  // no resampler designed
    EXPECT_EQ(program.state.Panel9.text, "rx1_cfir.taps");
    for (int i = 0; i < 21; ++i) EXPECT_EQ(model.CfirTaps[0][i], d.cfirTaps[i]);
    for (int i = 0; i < 63; ++i) EXPECT_EQ(model.PfirTaps[0][i], d.pfirTaps[i]);
    EXPECT_EQ(state.LabelStatus.colour, LimitColour::Green);

    // "Записать": the chip configuration file carries the designed taps.
    std::filesystem::create_directories(folder / "CONFIGS");
    ASSERT_TRUE(program.loadSave.saveConfiguration(folder / "CONFIGS/rx1.trv"));
    const std::string cfg = fileText(folder / "CONFIGS/rx1.cfg");
    EXPECT_NE(cfg.find(row("--- Mode Channel 0 ---\nCFIR[]= ", d.cfirTaps, 11)), std::string::npos);
    EXPECT_NE(cfg.find(row("\nPFIR[]= ", d.pfirTaps, 11)), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(folder / "CONFIGS/rx1.prg"));

    // Saving again asks before replacing; refused, the files stay as they are.
    gc::app::testing::putFile(cfir, "1\n");
    design.onButtonSaveClick();
    ASSERT_EQ(port.asked.size(), 1u);
    EXPECT_EQ(port.asked[0],
              (std::vector<std::string>{"FILTERS/rx1_cfir.taps", "FILTERS/rx1_pfir.taps"}));
    EXPECT_EQ(fileText(cfir), "1\n");
    port.replace = true;
    design.onButtonSaveClick();
    EXPECT_EQ(fileText(cfir), gc::filters::tapFileText(d.cfirTaps.data(), 21));

    // A name with a folder in it is refused.
    state.EditName.text = "../x";
    design.onButtonSaveClick();
    EXPECT_EQ(state.LabelStatus.text, kDesignBadName);
}

TEST_F(DesignPresenterTest, SaveRefusesAChangedChannelAndReportsWriteFailures) {
    design.onShow();
    design.onButtonCalculateClick();
    ASSERT_TRUE(design.result().has_value());
    // Another decimation: the taps no longer fit the channel.
    program.state.Edit1.text = "32";
    program.presenter.onEdit1Enter();
    design.onButtonSaveClick();
    EXPECT_EQ(state.LabelStatus.text, kDesignChanged);
    EXPECT_FALSE(std::filesystem::exists(folder / "FILTERS/design_ch0_cfir.taps"));

    // A change while the job runs: its result says so when it arrives.
    port.hold = true;
    design.onButtonCalculateClick();
    program.state.Edit1.text = "64";
    program.presenter.onEdit1Enter();
    port.finishHeld();
    ASSERT_TRUE(design.result().has_value());
    EXPECT_EQ(state.LabelStatus.text, kDesignChanged);
    port.hold = false;
    design.onButtonCalculateClick();
    EXPECT_EQ(state.LabelStatus.text, kDesignMet);
    // FILTERS is a file: nothing can be written; each file is reported with the reason.
    gc::app::testing::putFile(folder / "FILTERS", "not a folder");
    design.onButtonSaveClick();
    ASSERT_EQ(ui.reports.size(), 2u);
    EXPECT_EQ(ui.reports[0].labels[1], "FILTERS/design_ch0_cfir.taps");
    EXPECT_EQ(state.LabelStatus.text, kDesignNotSaved);
    EXPECT_FALSE(program.state.FileEnbCFIR.checked);
}

TEST_F(DesignPresenterTest, ResamplerPrototypeIsSavedAndSelected) {
    design.onShow();
    state.CheckResampler.checked = true;
    design.onButtonCalculateClick();
    ASSERT_TRUE(design.result().has_value());
    const ChannelDesign d = *design.result();
    ASSERT_FALSE(d.resamplerTaps.empty()) << state.MemoShortfall;
    design.onButtonSaveClick();
    EXPECT_EQ(
        fileText(folder / "FILTERS/design_ch0_res.taps"),
        gc::filters::tapFileText(d.resamplerTaps.data(), static_cast<int>(d.resamplerTaps.size())));
    auto& model = program.session.model;
    EXPECT_EQ(model.Chip.NameOfRFIR, "design_ch0_res.taps");
    EXPECT_TRUE(program.state.FileEnbRFIR.checked);
    for (size_t i = 0; i < d.resamplerTaps.size(); ++i)
        EXPECT_EQ(model.ResamplerTaps[i], d.resamplerTaps[i]);
}

TEST_F(DesignPresenterTest, EachChannelHasFilesOfItsOwnAndTheWindowsNameTheChannel) {
    program.session.model.Work.ConfigFileName = "rx.trv";
    design.onShow();
    EXPECT_EQ(state.EditName.text, "rx_ch0");
    EXPECT_EQ(state.Caption, "Синтез фильтров: канал 0");
    program.requirement.refresh();
    EXPECT_EQ(program.requirementState.Caption, "Требования к каналу 0");
    design.onButtonCalculateClick();
    ASSERT_TRUE(design.result().has_value());
    const ChannelDesign first = *design.result();
    design.onButtonSaveClick();
    ASSERT_TRUE(ui.reports.empty());

    // Channel 2: the default name follows it, and its design leaves channel 0's files alone.
    program.state.ComboBox7.index = 2;
    program.presenter.onComboBox7Changed();
    design.refresh();
    program.requirement.refresh();
    EXPECT_EQ(state.EditName.text, "rx_ch2");
    EXPECT_EQ(state.Caption, "Синтез фильтров: канал 2");
    EXPECT_EQ(program.requirementState.Caption, "Требования к каналу 2");
    gc::analysis::Requirement narrower = *program.requirement.requirement();
    narrower.passbandHz = 60000.0;
    program.requirement.setRequirement(narrower);
    design.onButtonCalculateClick();
    ASSERT_TRUE(design.result().has_value());
    design.onButtonSaveClick();
    EXPECT_TRUE(port.asked.empty());  // nothing of channel 0's to replace
    EXPECT_EQ(fileText(folder / "FILTERS/rx_ch0_cfir.taps"),
              gc::filters::tapFileText(first.cfirTaps.data(), 21));
    EXPECT_EQ(fileText(folder / "FILTERS/rx_ch2_pfir.taps"),
              gc::filters::tapFileText(design.result()->pfirTaps.data(), 63));
    EXPECT_EQ(program.session.model.Channels[0].NameOfCFIR, "rx_ch0_cfir.taps");
    EXPECT_EQ(program.session.model.Channels[2].NameOfCFIR, "rx_ch2_cfir.taps");

    // A name the user typed stays when the channel changes; names that would leave the
    // folder are refused.
    state.EditName.text = "mine";
    program.state.ComboBox7.index = 1;
    program.presenter.onComboBox7Changed();
    design.refresh();
    EXPECT_EQ(state.EditName.text, "mine");
    for (const char* bad : {"..", ".", "a/b", "a\\b", "  "}) {
        program.state.ComboBox7.index = 2;
        program.presenter.onComboBox7Changed();
        state.EditName.text = bad;
        design.onButtonSaveClick();
        EXPECT_EQ(state.LabelStatus.text, kDesignBadName) << bad;
    }
}
