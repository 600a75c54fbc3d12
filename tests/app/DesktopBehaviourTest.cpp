// The main window's behaviour as a desktop program, without the window: fields that act on
// Enter only, the "20 бит" box, texts that are no numbers, register windows that follow their
// registers, the save-check reports, the modified mark, the start-up plot, the working folder
// that the program offers to make, and the placing of windows beside the main window.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/LoadSaveTestSupport.h"
#include "app/WindowGeometry.h"
#include "app/WorkingFolder.h"
#include "appconfig/ConfigFile.h"
#include "filters/FilterTables.h"
#include "response/ResponseCsv.h"

namespace gc::app::testing {
namespace {

bool logged(const std::vector<std::string>& log, const std::string& entry) {
    return std::find(log.begin(), log.end(), entry) != log.end();
}

// A rig started from a working folder made as "gc4016-cli init" makes it.
struct StartedRig {
    TempFolder folder;
    LoadSaveRig rig{folder.str()};
    StartedRig() {
        std::vector<std::string> log;
        RecordingUi silent(log);
        EXPECT_TRUE(writeWorkingFolder(workingFolderFiles(folder.str()), silent));
        rig.loadSave.start();
        rig.log.clear();
    }
};

TEST(EnterOnlyFields, LeavingEdit5OrEdit8WithoutEnterPutsBackTheValueInEffect) {
    StartedRig s;
    auto& r = s.rig;
    const std::string rate = r.state.Edit5.text;
    const std::string word = r.state.Edit8.text;
    const int decimation = r.session.model.Work.CurrentDecimation;

    r.state.Edit5.text = "12345";
    r.presenter.onEdit5Exit();
    EXPECT_EQ(r.state.Edit5.text, rate);
    EXPECT_EQ(r.session.model.Work.CurrentDecimation, decimation);

    const std::string interpolation = r.state.Edit4.text;
    r.state.Edit8.text = "0x00100000";
    r.presenter.onEdit8Exit();
    EXPECT_EQ(r.state.Edit8.text, word);
    EXPECT_EQ(r.state.Edit4.text, interpolation);

    // With Enter the typed rate is used, and leaving afterwards shows the rate now in effect.
    r.state.Edit5.text = std::to_string(std::stod(rate) / 2);
    r.presenter.onEdit5Enter();
    const std::string shown = r.state.Edit5.text;
    EXPECT_NE(r.session.model.Work.CurrentDecimation, decimation);
    r.presenter.onEdit5Exit();
    EXPECT_EQ(r.state.Edit5.text, shown);
}

TEST(Mix20BitBox, ClickStoresTheChannelsTickAndItSurvivesAChannelSwitch) {
    StartedRig s;
    auto& r = s.rig;
    ASSERT_EQ(r.session.model.Channels[0].Mix20bit, 1);
    r.state.CheckBox1.checked = false;
    r.presenter.onCheckBox1Click();
    EXPECT_EQ(r.session.model.Channels[0].Mix20bit, 0);

    // Switch to channel 1 and back without typing anything else.
    r.state.ComboBox7.index = 1;
    r.presenter.onComboBox7Changed();
    EXPECT_TRUE(r.state.CheckBox1.checked);
    r.state.ComboBox7.index = 0;
    r.presenter.onComboBox7Changed();
    EXPECT_FALSE(r.state.CheckBox1.checked);
    EXPECT_EQ(r.session.model.Channels[0].Mix20bit, 0);
    EXPECT_EQ(r.session.model.Channels[1].Mix20bit, 1);
}

TEST(NotANumber, NanAndInfinityAreRefusedInEveryTypedField) {
    StartedRig s;
    auto& r = s.rig;
    using Handler = void (MainPresenter::*)();
    const std::vector<std::pair<EditState MainState::*, Handler>> fields{
        {&MainState::Edit1, &MainPresenter::onEdit1Enter},
        {&MainState::Edit2, &MainPresenter::onEdit2Enter},
        {&MainState::Edit3, &MainPresenter::onEdit3Enter},
        {&MainState::Edit4, &MainPresenter::onEdit4Enter},
        {&MainState::Edit5, &MainPresenter::onEdit5Enter},
        {&MainState::Edit6, &MainPresenter::onEdit6Enter},
        {&MainState::Edit7, &MainPresenter::onEdit7Enter},
        {&MainState::Edit8, &MainPresenter::onEdit8Enter},
    };
    const float interpolation = r.session.model.Chip.CoefInterpol[0];
    for (const char* text : {"nan", "NaN", "inf", "-inf", "infinity", "1e999", "0x1p3"}) {
        for (const auto& [field, handler] : fields) {
            const std::string before = (r.state.*field).text;
            (r.state.*field).text = text;
            r.ui.conversionErrors.clear();
            (r.presenter.*handler)();
            ASSERT_EQ(r.ui.conversionErrors.size(), 1u) << text;
            EXPECT_NE(r.ui.conversionErrors[0].find(std::string("\"") + text + "\""),
                      std::string::npos)
                << r.ui.conversionErrors[0];
            (r.state.*field).text = before;
        }
    }
    EXPECT_EQ(r.session.model.Chip.CoefInterpol[0], interpolation);
}

TEST(RegisterWindows, OpenRegisterWindowsAreRefilledAfterChangesAndLoads) {
    StartedRig s;
    auto& r = s.rig;
    r.session.open[Window::Freq] = true;
    r.state.ComboBox5.index = 0;  // res_bypass: NoSymRes set in NMultiplies
    r.presenter.onComboBox5Changed();
    EXPECT_NE(r.session.image.NMultiplies & 0x40, 0);
    // "Считать" refills the open windows itself.
    r.log.clear();
    r.loadSave.loadConfiguration(s.folder / "CONFIGS/std.trv");
    EXPECT_TRUE(logged(r.log, "refresh:Freq"));

    r.log.clear();
    r.session.open[Window::InpBlock] = true;
    r.session.open[Window::OutBlock] = true;
    r.presenter.refreshOpenEditors();
    EXPECT_TRUE(logged(r.log, "refresh:InpBlock"));
    EXPECT_TRUE(logged(r.log, "refresh:Freq"));
    EXPECT_TRUE(logged(r.log, "refresh:OutBlock"));
    EXPECT_FALSE(logged(r.log, "refresh:Filters"));  // not open
}

class ClosingUi : public ScriptedUi {
  public:
    using ScriptedUi::ScriptedUi;
    void closeSaveReports() override { ++closed; }
    int closed{0};
};

TEST(SaveReports, WriteClosesTheReportOfThePreviousAttemptFirst) {
    TempFolder folder;
    std::vector<std::string> log;
    Session session;
    MainState state;
    ClosingUi ui(log);
    RecordingPlotSeam plot(log, session, state);
    MainPresenter presenter(session, state, ui, plot);
    RequirementState requirementState;
    RequirementPresenter requirement(session, requirementState, ui);
    LoadSave loadSave(session, state, ui, plot, presenter, requirement,
                      gc::appconfig::Workspace(folder.str()));
    presenter.startWithDefaults();
    // Decimation 2 in four-channel mode fails the first check.
    state.Edit1.text = "2";
    presenter.onEdit1Enter();
    loadSave.onButton6Click();
    ASSERT_EQ(ui.closed, 1);
    ASSERT_FALSE(ui.reports.empty());
    EXPECT_EQ(ui.reports.back().window, ErrorWindow::ErrDecim);
    loadSave.onButton6Click();
    EXPECT_EQ(ui.closed, 2);
}

TEST(ModifiedMark, FollowsReadWriteAndChanges) {
    StartedRig s;
    auto& r = s.rig;
    EXPECT_FALSE(r.loadSave.modified());
    r.state.Edit1.text = "100";
    r.presenter.onEdit1Enter();
    EXPECT_TRUE(r.loadSave.modified());
    // Back to the value read: no longer modified.
    r.state.Edit1.text = "64";
    r.presenter.onEdit1Enter();
    EXPECT_FALSE(r.loadSave.modified());
    r.state.Edit1.text = "128";
    r.presenter.onEdit1Enter();
    ASSERT_TRUE(r.loadSave.modified());
    ASSERT_TRUE(r.loadSave.saveConfiguration(s.folder / "CONFIGS/mine.trv"));
    EXPECT_FALSE(r.loadSave.modified());
    EXPECT_EQ(r.session.model.Work.ConfigFileName, "mine.trv");
    r.state.Edit1.text = "64";
    r.presenter.onEdit1Enter();
    EXPECT_TRUE(r.loadSave.modified());
    r.loadSave.loadConfiguration(s.folder / "CONFIGS/mine.trv");
    EXPECT_FALSE(r.loadSave.modified());
}

TEST(StartupPlot, ResponsesAreComputedForTheLoadedDecimation) {
    TempFolder folder;
    {
        std::vector<std::string> log;
        RecordingUi silent(log);
        ASSERT_TRUE(writeWorkingFolder(workingFolderFiles(folder.str()), silent));
    }
    // A start-up configuration whose channel 0 decimates by 200 instead of the defaults' 64.
    {
        LoadSaveRig writer(folder.str());
        writer.loadSave.start();
        writer.state.Edit1.text = "200";
        writer.presenter.onEdit1Enter();
        ASSERT_TRUE(writer.loadSave.saveConfiguration(folder / "CONFIGS/std.trv"));
    }
    LoadSaveRig rig(folder.str());
    rig.loadSave.start();
    ASSERT_EQ(rig.session.model.Work.CurrentDecimation, 200);
    ASSERT_FALSE(rig.plot.calls.empty());
    for (const PlotCall& call : rig.plot.calls) {
        EXPECT_EQ(call.currentDecimation, 200) << call.what;
    }
    EXPECT_EQ(rig.plot.calls.back().what, "plot");
    EXPECT_TRUE(rig.ui.reports.empty());
}

TEST(WorkingFolder, HoldsStartupFilesAndTheLibraryAndStartsWithoutReports) {
    TempFolder folder;
    const auto files = workingFolderFiles(folder.str());
    ASSERT_GE(files.size(), 3u);
    EXPECT_EQ(files[0].path, folder / "CONFIGS/std.trv");
    EXPECT_EQ(files[1].path, folder / "CONFIGS/sinc.cfg");
    EXPECT_TRUE(existingFiles(files).empty());

    std::vector<std::string> log;
    RecordingUi ui(log);
    ASSERT_TRUE(writeWorkingFolder(files, ui));
    EXPECT_TRUE(ui.reports.empty());
    EXPECT_EQ(existingFiles(files).size(), files.size());
    for (const auto& f : files) EXPECT_EQ(fileText(f.path), f.text) << f.path;

    LoadSaveRig rig(folder.str());
    rig.loadSave.start();
    EXPECT_TRUE(rig.ui.reports.empty()) << rig.ui.reportLines().front();

    // A folder that cannot be made is reported per file, not taken for success.
    TempFolder other;
    putFile(other / "CONFIGS", "a file where the folder belongs");
    RecordingUi failing(log);
    EXPECT_FALSE(writeWorkingFolder(workingFolderFiles(other.str()), failing));
    EXPECT_GE(failing.reports.size(), 2u);
}

TEST(ResponseCsv, HeaderRowsFrequenciesAndAliasColumn) {
    gc::response::ResponseArrays a;
    for (int k = 0; k < gc::response::PlotPoints; ++k) {
        a.CicResponse[k] = a.CfirResponse[k] = a.PfirResponse[k] = a.ResamplerResponse[k] = 1;
        a.ChannelResponse[k] = k == 0 ? 2.0 : 0.2;
    }
    const std::string csv = gc::response::responseCsv(a, 100e6, 2);
    EXPECT_EQ(csv.rfind("k,freq_hz,cic,cfir,pfir,resampler,channel,level_db\n0,0,1,1,1,1,2,0\n", 0),
              0u);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 257);
    // Point 128 at stretch 2 lies at clock / 8; one tenth of the peak is -20 dB.
    EXPECT_NE(csv.find("\n128,12500000,1,1,1,1,0.20000000000000001,-20"), std::string::npos);
    gc::response::ResponseArray alias{};
    alias[1] = 0.5;
    const std::string withAlias = gc::response::responseCsv(a, 100e6, 1, &alias);
    EXPECT_EQ(withAlias.rfind("k,freq_hz,cic,cfir,pfir,resampler,channel,level_db,alias\n", 0), 0u);
    EXPECT_NE(withAlias.find(",0.5\n2,"), std::string::npos);
}

TEST(WindowGeometry, BesideTheMainWindowAndAlwaysInsideTheScreen) {
    const ScreenRect screen{0, 0, 1600, 1000};
    // Room on the right.
    EXPECT_EQ(placeBeside({100, 100, 900, 600}, 300, 400, screen, 0),
              (ScreenRect{1000 + kBesideGap, 100, 300, 400}));
    // Later windows step down.
    EXPECT_EQ(placeBeside({100, 100, 900, 600}, 300, 400, screen, 2).y, 100 + 2 * kSlotStep);
    // No room on the right: on the left.
    EXPECT_EQ(placeBeside({500, 100, 1000, 600}, 300, 400, screen, 0).x, 500 - kBesideGap - 300);
    // No room on either side: over the main window's left part, away from the plot.
    const ScreenRect over = placeBeside({0, 0, 1600, 1000}, 300, 400, screen, 1);
    EXPECT_EQ(over.x, kSlotStep);
    EXPECT_LT(over.right(), 800);
    // Kept places on a screen that has gone or shrunk come back into view.
    EXPECT_EQ(keepInside({3000, -50, 300, 400}, screen), (ScreenRect{1300, 0, 300, 400}));
    EXPECT_EQ(keepInside({-500, 900, 2000, 1200}, screen), (ScreenRect{0, 0, 1600, 1000}));
    // A late slot on a wide main window steps right only as far as the settings reach.
    const ScreenRect wide = placeBeside({80, 254, 1441, 532}, 769, 480, screen, 9);
    EXPECT_EQ(wide.x, 80 + 1441 * 5 / 8 - 769);
    EXPECT_LE(wide.bottom(), 1000);
    // Far down the slots the window still lies on the screen.
    const ScreenRect low = placeBeside({100, 600, 900, 390}, 300, 400, screen, 20);
    EXPECT_LE(low.bottom(), 1000);
}

}  // namespace
}  // namespace gc::app::testing
