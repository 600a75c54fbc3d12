// The window "Моделирование" without the window: signal fields, a run through the channel model
// with progress and cancel, the figures, the stage table, the plot and the files it writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/Fakes.h"
#include "app/LoadSaveTestSupport.h"
#include "app/Program.h"
#include "app/SimulationPresenter.h"
#include "response/RecordingCanvas.h"
#include "sim/Recording.h"

using namespace gc::app;
using gc::app::testing::fileText;
using gc::app::testing::RecordingUi;
using gc::app::testing::TempFolder;

namespace {

// Runs a job on the spot, or keeps it to be finished later when the test says.
class FakeSimulationPort : public SimulationPort {
  public:
    void run(SimulationJob job, std::function<void(double)> progress,
             std::function<void(SimulationResult)> finished) override {
        ++runs;
        if (hold) {
            held = std::move(job);
            heldProgress = std::move(progress);
            heldFinished = std::move(finished);
            return;
        }
        finished(job.work(progress));
    }
    void finishHeld() { heldFinished(held.work(heldProgress)); }

    int runs{0};
    bool hold{false};
    SimulationJob held;
    std::function<void(double)> heldProgress;
    std::function<void(SimulationResult)> heldFinished;
};

// File dialogs answer with the names set beforehand.
class AnsweringUi : public RecordingUi {
  public:
    using RecordingUi::RecordingUi;
    std::optional<std::string> askOpenFile(const FileDialogRequest& request) override {
        requests.push_back(request);
        return openAnswer;
    }
    std::optional<std::string> askSaveFile(const FileDialogRequest& request) override {
        requests.push_back(request);
        return saveAnswer;
    }
    std::optional<std::string> openAnswer;
    std::optional<std::string> saveAnswer;
    std::vector<FileDialogRequest> requests;
};

class SimulationPresenterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Defaults: clock 100 MHz, D 64, four-channel mode: Fo = 100e6 / 256 = 390625 Hz.
        program.presenter.startWithDefaults();
        program.simulation.setPort(&port);
        program.presenter.onButtonSimulationClick();
        simulation.onShow();
    }

    TempFolder folder;
    std::vector<std::string> log;
    AnsweringUi ui{log};
    Program program{ui, gc::appconfig::Workspace(folder.str())};
    FakeSimulationPort port;
    SimulationState& state = program.simulationState;
    SimulationPresenter& simulation = program.simulation;
};

}  // namespace

TEST(SimulationChannelTest, ListEntryToRegisterChannel) {
    EXPECT_EQ(registerChannelFor(0, 3), 3);
    EXPECT_EQ(registerChannelFor(1, 1), 0);
    EXPECT_EQ(registerChannelFor(1, 3), 2);
    EXPECT_EQ(registerChannelFor(2, 3), 0);
}

TEST_F(SimulationPresenterTest, OpensWithTheChannelAndRunsATone) {
    EXPECT_NE(std::find(log.begin(), log.end(), "show:Simulation"), log.end());
    EXPECT_TRUE(program.session.isOpen(Window::Simulation));
    EXPECT_NE(state.LabelChannel.find("вход 100000000 Гц, выход 390625.000 Гц"), std::string::npos)
        << state.LabelChannel;
    EXPECT_TRUE(state.EditF1.enabled);
    EXPECT_FALSE(state.EditF2.enabled);
    EXPECT_FALSE(state.EditInput.enabled);
    EXPECT_FALSE(state.ButtonCancel.enabled);
    EXPECT_FALSE(state.ButtonSaveSpectrum.enabled);

    // The suggested tone sits Fo/8 = 48828.125 Hz above the NCO frequency; 20 Hz less.
    state.EditF1.text = std::to_string(std::stoll(state.EditF1.text) - 20);
    state.EditLength.text = "300000";
    std::vector<int> progress;
    simulation.onButtonRunClick();
    ASSERT_EQ(port.runs, 1);
    ASSERT_TRUE(simulation.result().has_value()) << state.LabelStatus.text;
    EXPECT_EQ(state.LabelStatus.colour, LimitColour::Green);
    EXPECT_EQ(state.ProgressBar, 100);
    EXPECT_FALSE(simulation.running());
    EXPECT_EQ(state.PanelOutputRate, "390625.000");
    EXPECT_NEAR(std::stod(state.PanelSignalAt), 48828.125 - 20, 30.0);
    EXPECT_GT(std::stod(state.PanelSnr), 80.0);
    EXPECT_GT(std::stod(state.PanelSfdr), 90.0);
    EXPECT_NEAR(std::stod(state.PanelLevel), std::stod(state.PanelRms), 0.1);
    ASSERT_EQ(state.TableStages.size(), 9u);
    // The stages by their names in the interface language, as the window "Уровни" shows them.
    EXPECT_EQ(state.TableStages.front().stage, "вход");
    EXPECT_EQ(state.TableStages[1].stage, "смеситель");
    EXPECT_EQ(state.TableStages.back().stage, "выход");
    EXPECT_EQ(state.TableStages.front().peakDbfs, "-6.00");
    for (const auto& row : state.TableStages) EXPECT_FALSE(row.overflowed) << row.stage;
    EXPECT_EQ(state.FrequencyTexts,
              (std::vector<std::string>{"-195.3", "-97.7", "0.0", "97.7", "195.3"}));
    EXPECT_EQ(state.LevelTexts.front(), "0");
    EXPECT_EQ(state.LevelTexts.back(), "-180");
    EXPECT_TRUE(state.ButtonSaveSpectrum.enabled);

    // The plot: the response's peak on the top row near the centre, the spectrum's peak at the
    // tone's column 128 + 256 / 8 = 160, on the row of its level (4/3 rows per dB).
    gc::testing::RecordingCanvas canvas;
    simulation.draw(canvas);
    const auto blue = canvas.linesIn({0, 0, 255});
    const auto red = canvas.linesIn(gc::response::kRed);
    ASSERT_EQ(red.size(), 256u);
    EXPECT_EQ(red[127].y1, 0);
    ASSERT_FALSE(blue.empty());
    const auto top = std::min_element(blue.begin(), blue.end(),
                                      [](const auto& a, const auto& b) { return a.y1 < b.y1; });
    EXPECT_NEAR(top->x1, 160, 1);
    EXPECT_NEAR(top->y1, -std::stod(state.PanelLevel) * 240 / 180, 2.0);

    // The spectrum written as CSV.
    ui.saveAnswer = "spectrum.csv";
    simulation.onButtonSaveSpectrumClick();
    EXPECT_EQ(fileText(folder / "spectrum.csv").rfind("offset_hz,frequency_hz,level_dbfs\n", 0),
              0u);
    EXPECT_NE(state.LabelStatus.text.find("spectrum.csv"), std::string::npos);

    // A change of the channel marks the result as stale.
    program.state.Edit1.text = "32";
    log.clear();
    program.presenter.onEdit1Enter();
    EXPECT_NE(std::find(log.begin(), log.end(), "refresh:Simulation"), log.end());
    simulation.refresh();  // as the window does when told to refresh
    EXPECT_EQ(state.LabelStatus.text, "Канал изменился после моделирования: запустите заново");
    EXPECT_EQ(state.LabelStatus.colour, LimitColour::Red);
}

TEST_F(SimulationPresenterTest, SignalKindsAndWrongFields) {
    state.ComboSignal.index = 1;  // two tones
    simulation.onComboSignalChanged();
    EXPECT_TRUE(state.EditF1.enabled && state.EditF2.enabled);
    EXPECT_NEAR(std::stod(state.EditF2.text) - std::stod(state.EditF1.text), 390625.0 / 32, 1.0);
    state.ComboSignal.index = 2;  // noise
    simulation.onComboSignalChanged();
    EXPECT_FALSE(state.EditF1.enabled || state.EditF2.enabled);
    state.EditLength.text = "100000";
    simulation.onButtonRunClick();
    ASSERT_TRUE(simulation.result().has_value()) << state.LabelStatus.text;
    EXPECT_EQ(state.PanelSnr, "");  // noise has no tone to measure against
    EXPECT_NE(state.PanelRms, "");

    state.ComboSignal.index = 3;  // sweep over the output band
    simulation.onComboSignalChanged();
    EXPECT_NEAR(std::stod(state.EditF2.text) - std::stod(state.EditF1.text), 390625.0, 1.0);

    state.ComboSignal.index = 0;
    simulation.onComboSignalChanged();
    state.EditF1.text = "abc";
    simulation.onButtonRunClick();
    EXPECT_EQ(ui.conversionErrors.size(), 1u);
    state.EditF1.text = "1e6";
    state.EditLength.text = "0";
    simulation.onButtonRunClick();
    EXPECT_EQ(state.LabelStatus.text, std::string(kSimulationBadLength));
    state.EditLength.text = "1000";
    state.EditLevel.text = "3";
    simulation.onButtonRunClick();
    EXPECT_EQ(state.LabelStatus.text, std::string(kSimulationBadLevel));
    state.EditLevel.text = "-6";
    state.EditF1.text = "60e6";  // beyond half the input rate
    simulation.onButtonRunClick();
    EXPECT_EQ(state.LabelStatus.colour, LimitColour::Red);
    EXPECT_NE(state.LabelStatus.text.find("0..50000000"), std::string::npos);
    EXPECT_EQ(port.runs, 2);  // the noise run and the one refused by the job itself

    state.ComboSignal.index = kSignalRecording;
    simulation.onComboSignalChanged();
    EXPECT_TRUE(state.EditInput.enabled && state.ButtonBrowseInput.enabled);
    EXPECT_FALSE(state.EditLevel.enabled || state.EditLength.enabled);
    simulation.onButtonRunClick();
    EXPECT_EQ(state.LabelStatus.text, std::string(kSimulationNoRecording));
    ui.openAnswer = "missing.sigmf-meta";
    simulation.onButtonBrowseInputClick();
    EXPECT_EQ(state.EditInput.text, "missing.sigmf-meta");
    simulation.onButtonRunClick();
    EXPECT_EQ(state.LabelStatus.colour, LimitColour::Red);
    EXPECT_NE(state.LabelStatus.text.find("missing.sigmf-meta"), std::string::npos);
}

TEST_F(SimulationPresenterTest, WritesTheOutputAndCancelWritesNothing) {
    ui.saveAnswer = "out.sigmf-meta";
    simulation.onButtonBrowseOutputClick();
    EXPECT_EQ(state.EditOutput.text, "out.sigmf-meta");
    state.EditLength.text = "100000";
    simulation.onButtonRunClick();
    ASSERT_TRUE(simulation.result().has_value()) << state.LabelStatus.text;
    EXPECT_EQ(state.LabelStatus.text, "Готово, выход записан: out.sigmf-meta");
    auto written = gc::sim::openRecording(folder / "out.sigmf-meta");
    EXPECT_EQ(written->totalSamples(), simulation.result()->run.outputSamples);
    EXPECT_DOUBLE_EQ(written->sampleRateHz(), 390625.0);

    // Held, then cancelled: the job is told to stop, and when it ends its result is dropped
    // and nothing is written.
    port.hold = true;
    state.EditOutput.text = "second.wav";
    simulation.onButtonRunClick();
    EXPECT_TRUE(simulation.running());
    EXPECT_TRUE(state.ButtonCancel.enabled);
    EXPECT_FALSE(state.ButtonRun.enabled);
    EXPECT_TRUE(state.ProgressActive);
    simulation.onButtonCancelClick();
    EXPECT_FALSE(simulation.running());
    EXPECT_TRUE(port.held.cancel->load());
    EXPECT_EQ(state.LabelStatus.text, std::string(kSimulationCancelled));
    port.finishHeld();
    EXPECT_FALSE(simulation.result().has_value());
    EXPECT_FALSE(std::filesystem::exists(folder / "second.wav"));

    // Closing the window while a run goes on stops it the same way.
    simulation.onButtonRunClick();
    simulation.onClose();
    EXPECT_FALSE(program.session.isOpen(Window::Simulation));
    EXPECT_TRUE(port.held.cancel->load());
}
