#include <gtest/gtest.h>

#include <filesystem>

#include "appconfig/ConfigFile.h"
#include "appconfig/Reports.h"
#include "appconfig/Workspace.h"

namespace {

using namespace gc::appconfig;

TEST(Workspace, ResolvesNamesAgainstTheStartFolder) {
    const Workspace ws("/home/user/gc");
    EXPECT_EQ(ws.resolve("CONFIGS/std.trv"), "/home/user/gc/CONFIGS/std.trv");
    EXPECT_EQ(ws.resolve("/tmp/a.trv"), "/tmp/a.trv");
    EXPECT_EQ(Workspace("/").resolve("FILTERS/x.taps"), "/FILTERS/x.taps");
    const WorkspacePath p = ws.path(configsDir() + "std.trv");
    EXPECT_EQ(p.asGiven, "CONFIGS/std.trv");
    EXPECT_EQ(p.resolved, "/home/user/gc/CONFIGS/std.trv");

    // The start folder is read once; later changes of the process folder do not move it.
    const auto before = std::filesystem::current_path();
    const Workspace atStart = Workspace::atCurrentFolder();
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    EXPECT_EQ(atStart.resolve("CONFIGS/std.trv"), before.generic_string() + "/CONFIGS/std.trv");
    std::filesystem::current_path(before);
}

TEST(Workspace, NameHelpers) {
    EXPECT_EQ(bareName("/w/CONFIGS/my.trv"), "my.trv");
    EXPECT_EQ(bareName("my.trv"), "my.trv");
    EXPECT_EQ(folderOf("/w/CONFIGS/my.trv"), "/w/CONFIGS/");
    EXPECT_EQ(folderOf("my.trv"), "");

    EXPECT_EQ(replaceExtension("a.b.trv", ".cfg"), "a.b.cfg");
    EXPECT_EQ(replaceExtension("plain", ".prg"), "plain.prg");
    EXPECT_EQ(replaceExtension("/w/v1.2/cfg", ".cfg"), "/w/v1.2/cfg.cfg");
    EXPECT_EQ(replaceExtension("/w/v1.2/a.trv", ".prg"), "/w/v1.2/a.prg");

    EXPECT_EQ(siblingFilters("/w/CONFIGS/a.trv"), "/w/CONFIGS/../FILTERS/");
    EXPECT_EQ(siblingFilters("a.trv"), "../FILTERS/");
    EXPECT_EQ(filtersDir(), "FILTERS/");
}

TEST(Workspace, ReportsShowThePathAsGiven) {
    const auto root = std::filesystem::temp_directory_path() / "gc_appconfig_ws";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "CONFIGS");
    const Workspace ws(root.generic_string());
    const WorkspacePath p = ws.path(configsDir() + "std.trv");

    gc::model::ConfigurationModel model;
    const ConfigReadStatus missing = readConfiguration(p.resolved, model);
    EXPECT_EQ(configReportLabels(p.asGiven, missing),
              (std::vector<std::string>{"Файл конфигурации", "CONFIGS/std.trv", "отсутствует!"}));

    model.Chip.Clock = 5;
    ASSERT_TRUE(writeConfiguration(p.resolved, model));
    gc::model::ConfigurationModel back;
    ASSERT_EQ(readConfiguration(p.resolved, back), ConfigReadStatus::Ok);
    EXPECT_EQ(back.Chip.Clock, 5);
    EXPECT_TRUE(configReportLabels(p.asGiven, ConfigReadStatus::Ok).empty());
    EXPECT_EQ(configReportLabels("x.trv", ConfigReadStatus::Damaged)[2], "поврежден!");
    std::filesystem::remove_all(root);

    EXPECT_EQ(
        writeFailureLabels(FileKind::Program, "CONFIGS/a.prg"),
        (std::vector<std::string>{"Файл программы", "CONFIGS/a.prg", "не может быть записан!"}));
    EXPECT_EQ(writeFailureLabels(FileKind::RfirTaps, "r")[0], "Файл коэфициентов RFIR");
    EXPECT_EQ(writeFailureLabels(FileKind::ChipConfiguration, "c")[0], "Файл конфигурации");
}

}  // namespace
