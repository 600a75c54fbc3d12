// The channel requirement travelling with its configuration as NAME.req: "Записать", "Считать",
// the start-up and the exit, and the requirement window's refreshes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/LoadSaveTestSupport.h"
#include "appconfig/ConfigFile.h"
#include "appconfig/RequirementFile.h"
#include "chip/ChipConfigFile.h"
#include "chip/ProgramFile.h"

using namespace gc::app;
using namespace gc::app::testing;
using gc::analysis::Requirement;
using Lines = std::vector<std::string>;
using Log = std::vector<std::string>;

namespace {

Requirement sample() {
    Requirement r;
    r.passbandHz = 80000.0;
    r.stopbandHz = 150000.0;
    r.rippleMaxDb = 0.5;
    r.stopbandMinDb = 60.0;
    return r;
}

std::string sampleText() { return gc::appconfig::requirementText(sample()); }

// The reports about requirement files (the rigs' folders have no chip or tap files, which are
// reported as well).
Lines requirementReports(const ScriptedUi& ui) {
    Lines lines;
    for (const std::string& line : ui.reportLines())
        if (line.find("Файл требований") == 0) lines.push_back(line);
    return lines;
}

struct StartedRig : LoadSaveRig {
    explicit StartedRig(const std::string& root) : LoadSaveRig(root) {
        presenter.startWithDefaults();
        log.clear();
    }
};

}  // namespace

TEST(RequirementSaveTest, WrittenWithTheSetAndRemovedWhenThereIsNone) {
    TempFolder folder;
    std::filesystem::create_directories(folder / "CONFIGS");
    StartedRig rig(folder.str());

    // Without a requirement: the three files only.
    ASSERT_TRUE(rig.loadSave.saveConfiguration("CONFIGS/plain.trv"));
    EXPECT_FALSE(std::filesystem::exists(folder / "CONFIGS/plain.req"));

    // With one: NAME.req beside them, and the three chip and configuration files byte for
    // byte as without it.
    rig.requirement.setRequirement(sample());
    ASSERT_TRUE(rig.loadSave.saveConfiguration("CONFIGS/a.b.trv"));
    EXPECT_TRUE(rig.ui.reports.empty());
    EXPECT_EQ(fileText(folder / "CONFIGS/a.b.req"), sampleText());
    EXPECT_EQ(fileText(folder / "CONFIGS/a.b.cfg"), fileText(folder / "CONFIGS/plain.cfg"));
    EXPECT_EQ(fileText(folder / "CONFIGS/a.b.prg"), fileText(folder / "CONFIGS/plain.prg"));
    EXPECT_EQ(fileText(folder / "CONFIGS/a.b.trv"), fileText(folder / "CONFIGS/plain.trv"));

    // The requirement cleared, saved again: the old NAME.req must not come back with it.
    rig.requirement.setRequirement(std::nullopt);
    ASSERT_TRUE(rig.loadSave.saveConfiguration("CONFIGS/a.b.trv"));
    EXPECT_FALSE(std::filesystem::exists(folder / "CONFIGS/a.b.req"));

    // A folder in the way of NAME.req: with a requirement the whole set stays as it was ...
    const std::string oldTrv = fileText(folder / "CONFIGS/a.b.trv");
    std::filesystem::create_directories(folder / "CONFIGS/a.b.req/blocked");
    rig.requirement.setRequirement(sample());
    rig.session.model.Chip.Fc[0] = 12345678;
    EXPECT_FALSE(rig.loadSave.saveConfiguration("CONFIGS/a.b.trv"));
    EXPECT_EQ(rig.ui.reportLines(),
              (Lines{"Файл конфигурации CONFIGS/a.b.trv не может быть записан!",
                     "Файл конфигурации CONFIGS/a.b.cfg не может быть записан!",
                     "Файл программы CONFIGS/a.b.prg не может быть записан!",
                     "Файл требований CONFIGS/a.b.req не может быть записан! (это каталог)"}));
    EXPECT_EQ(fileText(folder / "CONFIGS/a.b.trv"), oldTrv);
    // ... and without one the folder is not deleted but reported.
    rig.ui.reports.clear();
    rig.requirement.setRequirement(std::nullopt);
    EXPECT_FALSE(rig.loadSave.saveConfiguration("CONFIGS/a.b.trv"));
    EXPECT_EQ(rig.ui.reportLines(),
              (Lines{"Файл требований CONFIGS/a.b.req не может быть удален!"}));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "CONFIGS/a.b.req/blocked"));
}

TEST(RequirementLoadTest, ReadWithTheConfigurationMissingMeansNoneDamagedIsReported) {
    TempFolder folder;
    std::filesystem::create_directories(folder / "CONFIGS");
    StartedRig rig(folder.str());
    rig.requirement.setRequirement(sample());
    ASSERT_TRUE(rig.loadSave.saveConfiguration("CONFIGS/a.trv"));
    rig.requirement.setRequirement(std::nullopt);
    ASSERT_TRUE(rig.loadSave.saveConfiguration("CONFIGS/b.trv"));
    std::filesystem::copy_file(folder / "CONFIGS/a.trv", folder / "CONFIGS/c.trv");
    putFile(folder / "CONFIGS/c.req", "*** Channel requirement ***\nPassbandHz= x\n");
    rig.ui.reports.clear();

    // a.req comes back into the window's fields; the open window is refreshed.
    rig.session.open[Window::Requirement] = true;
    rig.log.clear();
    const auto a = rig.loadSave.loadConfiguration("CONFIGS/a.trv");
    ASSERT_TRUE(rig.requirement.requirement().has_value());
    EXPECT_EQ(gc::appconfig::requirementText(*rig.requirement.requirement()), sampleText());
    EXPECT_EQ(rig.requirementState.EditFp.text, "80000");
    EXPECT_EQ(rig.requirementState.EditRmax.text, "0.5");
    EXPECT_EQ(rig.log.back(), "refresh:Requirement");

    // No b.req: no requirement, nothing reported.
    const auto b = rig.loadSave.loadConfiguration("CONFIGS/b.trv");
    EXPECT_EQ(b.otherFilesReported, a.otherFilesReported);
    EXPECT_FALSE(rig.requirement.requirement().has_value());
    EXPECT_EQ(rig.requirementState.EditFp.text, "");
    EXPECT_TRUE(requirementReports(rig.ui).empty());

    // A damaged c.req: reported like the other files, counted, and no requirement.
    rig.requirement.setRequirement(sample());
    const auto c = rig.loadSave.loadConfiguration("CONFIGS/c.trv");
    EXPECT_EQ(c.configuration, gc::appconfig::ConfigReadStatus::Ok);
    EXPECT_EQ(c.otherFilesReported, a.otherFilesReported + 1);
    EXPECT_EQ(requirementReports(rig.ui), (Lines{"Файл требований c.req поврежден!"}));
    EXPECT_EQ(rig.ui.reportLines().back(), "Файл требований c.req поврежден!");
    EXPECT_FALSE(rig.requirement.requirement().has_value());
    EXPECT_EQ(rig.requirementState.LabelVerdict.text, kVerdictNoRequirement);
}

TEST(RequirementStartExitTest, StdReqIsReadAtStartAndFollowsTheRequirementAtExit) {
    TempFolder folder;
    putFile(folder / "CONFIGS/std.req", sampleText());
    {
        LoadSaveRig rig(folder.str());
        rig.loadSave.start();
        EXPECT_TRUE(requirementReports(rig.ui).empty());
        ASSERT_TRUE(rig.requirement.requirement().has_value());
        EXPECT_EQ(rig.requirementState.EditFs.text, "150000");

        // Changed in the window, written at the exit.
        rig.requirementState.EditAs.text = "70";
        rig.requirement.onEditAsEnter();
        rig.loadSave.exit();
        Requirement expected = sample();
        expected.stopbandMinDb = 70.0;
        EXPECT_EQ(fileText(folder / "CONFIGS/std.req"), gc::appconfig::requirementText(expected));

        // Cleared: the exit removes std.req.
        rig.requirementState.EditFp.text = "";
        rig.requirement.onEditFpEnter();
        rig.loadSave.exit();
        EXPECT_FALSE(std::filesystem::exists(folder / "CONFIGS/std.req"));
    }

    // A damaged std.req: reported at start, no requirement, and left for the user by an exit
    // that has nothing to put in its place; a requirement typed since replaces it.
    const std::string damaged = "*** Channel requirement ***\nStopbandHz= 5 \n";
    putFile(folder / "CONFIGS/std.req", damaged);
    LoadSaveRig rig(folder.str());
    rig.loadSave.start();
    EXPECT_EQ(rig.ui.reportLines().back(), "Файл требований CONFIGS/std.req поврежден!");
    EXPECT_FALSE(rig.requirement.requirement().has_value());
    rig.loadSave.exit();
    EXPECT_EQ(fileText(folder / "CONFIGS/std.req"), damaged);
    rig.requirement.setRequirement(sample());
    rig.loadSave.exit();
    EXPECT_EQ(fileText(folder / "CONFIGS/std.req"), sampleText());
}

TEST(RequirementWindowTest, OpenedFromTheMainWindowRefreshedByEveryRecalculation) {
    TempFolder folder;
    StartedRig rig(folder.str());
    // Closed: a change does not refresh it.
    rig.state.Edit1.text = "128";
    rig.presenter.onEdit1Enter();
    for (const std::string& entry : rig.log) EXPECT_NE(entry, "refresh:Requirement");

    rig.log.clear();
    rig.presenter.onButtonRequirementClick();
    EXPECT_TRUE(rig.session.isOpen(Window::Requirement));
    // Opening it fits the main plot to the channel, once: not again while it stays open.
    EXPECT_EQ(rig.log, (Log{"show:Requirement", "fit"}));
    rig.log.clear();
    rig.presenter.onButtonRequirementClick();
    EXPECT_EQ(rig.log, (Log{"show:Requirement"}));

    // Changes that recalculate refresh it, after the responses were recomputed.
    rig.log.clear();
    rig.state.Edit2.text = "2000";
    rig.presenter.onEdit2Enter();  // the fine gain: no response changes, the warnings may
    EXPECT_EQ(rig.log, (Log{"refresh:Requirement"}));
    rig.log.clear();
    rig.presenter.onButton8Click();  // decimation + 1
    ASSERT_FALSE(rig.log.empty());
    EXPECT_EQ(rig.log.back(), "refresh:Requirement");

    // "Синтез фильтров..." shows the design window with its flag set.
    rig.log.clear();
    rig.requirement.onButtonDesignClick();
    EXPECT_TRUE(rig.session.isOpen(Window::Design));
    EXPECT_EQ(rig.log, (Log{"show:Design"}));
}
