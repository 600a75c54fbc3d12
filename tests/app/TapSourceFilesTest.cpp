// The file-source choice (table or tap file, for the CFIR, the PFIR and the resampler)
// travelling with its configuration as NAME.src: "Записать", "Считать", the start-up, the exit,
// the title's modified mark, and a design kept across them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/DesignPresenter.h"
#include "app/LoadSaveTestSupport.h"
#include "app/Program.h"
#include "appconfig/TapSourceFile.h"

using namespace gc::app;
using namespace gc::app::testing;
using Lines = std::vector<std::string>;
namespace fs = std::filesystem;

namespace {

struct StartedRig : LoadSaveRig {
    explicit StartedRig(const std::string& root) : LoadSaveRig(root) {
        presenter.startWithDefaults();
        log.clear();
    }
};

// The radio buttons as "CFIR PFIR RFIR", each "file" or "table".
std::string ticked(const MainState& s) {
    const auto one = [](const RadioState& table, const RadioState& file) -> std::string {
        if (table.checked == file.checked) return "both-or-none";
        return file.checked ? "file" : "table";
    };
    return one(s.TblEnbCFIR, s.FileEnbCFIR) + " " + one(s.TblEnbPFIR, s.FileEnbPFIR) + " " +
           one(s.TblEnbRFIR, s.FileEnbRFIR);
}

Lines sourceReports(const ScriptedUi& ui) {
    Lines lines;
    for (const std::string& line : ui.reportLines())
        if (line.find("Файл источников") == 0) lines.push_back(line);
    return lines;
}

// A CFIR ramp file and a PFIR ramp file for every channel, named in the configuration.
void putRampConfiguration(const TempFolder& folder, const std::string& name) {
    gc::model::ConfigurationModel saved;
    for (int c = 0; c < 4; ++c) {
        saved.Channels[c].NameOfCFIR = "c" + std::to_string(c) + ".taps";
        saved.Channels[c].NameOfPFIR = "p" + std::to_string(c) + ".taps";
        std::vector<int> cfir(21), pfir(63);
        for (int i = 0; i < 21; ++i) cfir[i] = 100 * c + i;
        for (int i = 0; i < 63; ++i) pfir[i] = -100 * c - i;
        putFile(folder / ("FILTERS/c" + std::to_string(c) + ".taps"), tapText(cfir, 21));
        putFile(folder / ("FILTERS/p" + std::to_string(c) + ".taps"), tapText(pfir, 63));
    }
    putFile(folder / ("CONFIGS/" + name), gc::appconfig::configurationText(saved));
}

}  // namespace

TEST(TapSourceSaveLoadTest, TheChoiceSurvivesWriteAndReadAndMarksTheConfigurationModified) {
    TempFolder folder;
    putRampConfiguration(folder, "ramp.trv");
    {
        StartedRig rig(folder.str());
        rig.loadSave.loadConfiguration("CONFIGS/ramp.trv");
        EXPECT_EQ(ticked(rig.state), "table table table");  // no NAME.src: the tables
        EXPECT_FALSE(rig.loadSave.modified());

        // A click on a file radio button changes what "Записать" would write: modified; the
        // click back undoes it.
        rig.state.TblEnbCFIR.checked = false;
        rig.state.FileEnbCFIR.checked = true;
        rig.presenter.onFileEnbCFIRClick();
        EXPECT_TRUE(rig.loadSave.modified());
        rig.state.TblEnbCFIR.checked = true;
        rig.state.FileEnbCFIR.checked = false;
        rig.presenter.onTblEnbCFIRClick();
        EXPECT_FALSE(rig.loadSave.modified());

        // The CFIR from its file: written beside the set, byte for byte; the configuration
        // file is the same as with the tables.
        ASSERT_TRUE(rig.loadSave.saveConfiguration("CONFIGS/tables.trv"));
        EXPECT_FALSE(fs::exists(folder / "CONFIGS/tables.src"));
        rig.state.TblEnbCFIR.checked = false;
        rig.state.FileEnbCFIR.checked = true;
        rig.presenter.onFileEnbCFIRClick();
        EXPECT_TRUE(rig.loadSave.modified());
        ASSERT_TRUE(rig.loadSave.saveConfiguration("CONFIGS/mixed.trv"));
        EXPECT_FALSE(rig.loadSave.modified());
        EXPECT_EQ(fileText(folder / "CONFIGS/mixed.src"),
                  "*** Tap sources ***\nCFIR= file\nPFIR= table\nRFIR= table\n");
        EXPECT_EQ(fileText(folder / "CONFIGS/mixed.trv"), fileText(folder / "CONFIGS/tables.trv"));
        EXPECT_TRUE(sourceReports(rig.ui).empty());
    }
    {
        // Another run reads the choice back before the taps are put together: every channel's
        // CFIR from its file, its PFIR from the table.
        StartedRig rig(folder.str());
        rig.loadSave.loadConfiguration("CONFIGS/mixed.trv");
        EXPECT_EQ(ticked(rig.state), "file table table");
        EXPECT_FALSE(rig.loadSave.modified());
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(rig.session.model.CfirTaps[c][0], 100 * c) << c;
            EXPECT_NE(rig.session.model.PfirTaps[c][1], -100 * c - 1) << c;
        }
        EXPECT_EQ(rig.state.Panel9.colour, PanelColour::White);  // the file's look
        EXPECT_FALSE(rig.state.ComboBox1.enabled);
        // The tables again, saved under the same name: the old NAME.src goes, so the next
        // "Считать" cannot bring the files back.
        rig.loadSave.chooseTapSources({});
        EXPECT_TRUE(rig.loadSave.modified());
        ASSERT_TRUE(rig.loadSave.saveConfiguration("CONFIGS/mixed.trv"));
        EXPECT_FALSE(fs::exists(folder / "CONFIGS/mixed.src"));
        rig.loadSave.chooseTapSources({true, true, true});
        rig.loadSave.loadConfiguration("CONFIGS/mixed.trv");
        EXPECT_EQ(ticked(rig.state), "table table table");
    }
    {
        // A damaged NAME.src is reported and means the tables; a folder in its way stops the
        // whole set of a save that needs it.
        StartedRig rig(folder.str());
        putFile(folder / "CONFIGS/ramp.src", "*** Tap sources ***\nCFIR= maybe\n");
        rig.loadSave.chooseTapSources({true, false, false});
        const auto result = rig.loadSave.loadConfiguration("CONFIGS/ramp.trv");
        EXPECT_EQ(result.otherFilesReported, 3);  // with sinc.cfg and the resampler file
        EXPECT_EQ(sourceReports(rig.ui),
                  (Lines{"Файл источников коэффициентов ramp.src поврежден!"}));
        EXPECT_EQ(ticked(rig.state), "table table table");

        fs::create_directories(folder / "CONFIGS/blocked.src/x");
        rig.loadSave.chooseTapSources({false, true, false});
        rig.ui.reports.clear();
        EXPECT_FALSE(rig.loadSave.saveConfiguration("CONFIGS/blocked.trv"));
        EXPECT_FALSE(fs::exists(folder / "CONFIGS/blocked.trv"));
        EXPECT_EQ(sourceReports(rig.ui),
                  (Lines{"Файл источников коэффициентов CONFIGS/blocked.src не может быть "
                         "записан! (это каталог)"}));
    }
}

TEST(TapSourceStartExitTest, TheExitKeepsTheChoiceForTheNextStart) {
    TempFolder folder;
    putRampConfiguration(folder, "std.trv");
    {
        LoadSaveRig rig(folder.str());
        rig.loadSave.start();
        EXPECT_EQ(ticked(rig.state), "table table table");
        rig.loadSave.chooseTapSources({false, true, true});
        rig.loadSave.exit();
        EXPECT_EQ(fileText(folder / "CONFIGS/std.src"),
                  "*** Tap sources ***\nCFIR= table\nPFIR= file\nRFIR= file\n");
    }
    {
        LoadSaveRig rig(folder.str());
        rig.loadSave.start();
        EXPECT_EQ(ticked(rig.state), "table file file");
        EXPECT_EQ(rig.session.model.PfirTaps[2][3], -203);  // every channel from its file
        EXPECT_FALSE(rig.loadSave.modified());
        rig.loadSave.chooseTapSources({});
        rig.loadSave.exit();
        EXPECT_FALSE(fs::exists(folder / "CONFIGS/std.src"));
    }
    {
        // A damaged start-up choice is reported, means the tables, and is left for the user
        // to look at unless the exit has a choice of its own to write.
        putFile(folder / "CONFIGS/std.src", "hand-edited\n");
        LoadSaveRig rig(folder.str());
        rig.loadSave.start();
        EXPECT_EQ(sourceReports(rig.ui),
                  (Lines{"Файл источников коэффициентов CONFIGS/std.src поврежден!"}));
        EXPECT_EQ(ticked(rig.state), "table table table");
        rig.loadSave.exit();
        EXPECT_EQ(fileText(folder / "CONFIGS/std.src"), "hand-edited\n");
    }
}

// The road that lost designs: "Сохранить" in the design window, "Записать", then "Считать"
// or a new start; the designed taps stay in use and in the next chip files.
TEST(TapSourceDesignTest, ADesignSavedAndWrittenIsStillInUseAfterReadAndRestart) {
    TempFolder folder;
    fs::create_directories(folder / "CONFIGS");
    std::vector<std::string> log;
    RecordingUi ui{log};
    std::vector<int> cfir, pfir;
    {
        Program program{ui, gc::appconfig::Workspace(folder.str())};
        program.presenter.startWithDefaults();
        gc::analysis::Requirement req;
        req.passbandHz = 80000.0;
        req.rippleMaxDb = 1.0;
        req.stopbandMinDb = 60.0;
        program.requirement.setRequirement(req);
        program.design.onShow();
        program.design.onButtonCalculateClick();
        ASSERT_TRUE(program.design.result().has_value());
        cfir = program.design.result()->cfirTaps;
        pfir = program.design.result()->pfirTaps;
        program.designState.EditName.text = "kept";
        program.design.onButtonSaveClick();
        ASSERT_TRUE(program.state.FileEnbCFIR.checked);
        ASSERT_TRUE(program.loadSave.saveConfiguration("CONFIGS/kept.trv"));
        ASSERT_TRUE(program.loadSave.saveConfiguration("CONFIGS/std.trv"));
        program.loadSave.exit();
    }
    const auto designedInUse = [&](const gc::model::ConfigurationModel& model) {
        for (int i = 0; i < 21; ++i)
            if (model.CfirTaps[0][i] != cfir[static_cast<size_t>(i)]) return false;
        for (int i = 0; i < 63; ++i)
            if (model.PfirTaps[0][i] != pfir[static_cast<size_t>(i)]) return false;
        return true;
    };
    {
        Program program{ui, gc::appconfig::Workspace(folder.str())};
        program.presenter.startWithDefaults();
        program.loadSave.loadConfiguration("CONFIGS/kept.trv");
        EXPECT_TRUE(program.state.FileEnbCFIR.checked);
        EXPECT_TRUE(program.state.FileEnbPFIR.checked);
        EXPECT_FALSE(program.state.FileEnbRFIR.checked);
        EXPECT_TRUE(designedInUse(program.session.model));
        // The next "Записать" puts the designed taps into the chip files, not the tables'.
        ASSERT_TRUE(program.loadSave.saveConfiguration("CONFIGS/again.trv"));
        EXPECT_EQ(fileText(folder / "CONFIGS/again.cfg"), fileText(folder / "CONFIGS/kept.cfg"));
    }
    {
        Program program{ui, gc::appconfig::Workspace(folder.str())};
        program.loadSave.start();
        EXPECT_TRUE(program.state.FileEnbCFIR.checked);
        EXPECT_TRUE(designedInUse(program.session.model));
    }
}
