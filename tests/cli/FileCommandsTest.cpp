// gc4016-cli init, build and show, run as a separate process.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/LoadSave.h"
#include "app/LoadSaveTestSupport.h"
#include "appconfig/ConfigFile.h"
#include "appconfig/RequirementFile.h"
#include "cli/CliRun.h"
#include "filters/FilterTables.h"
#include "filters/TapFiles.h"
#include "filters/TapSelection.h"
#include "model/TextFile.h"

using gc::app::testing::fileText;
using gc::app::testing::LoadSaveRig;
using gc::app::testing::putFile;
using gc::app::testing::TempFolder;
using gc::cli::testing::CliRun;
using gc::cli::testing::runCli;

namespace {

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

}  // namespace

TEST(CliInitTest, MakesAWorkingFolderAndRefusesToOverwriteIt) {
    TempFolder scratch;
    const std::string dir = scratch / "work";
    CliRun run = runCli(scratch, scratch.str(), {"init", dir});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");

    EXPECT_EQ(namesIn(dir + "/CONFIGS"), (std::set<std::string>{"std.trv", "sinc.cfg"}));
    // Every library set is there except the bypass CFIR and PFIR, whose 65536 does not fit.
    std::set<std::string> expected;
    for (const auto& set : gc::filters::cfirLibrary())
        expected.insert(std::string(set.name) + ".taps");
    for (const auto& set : gc::filters::pfirLibrary())
        expected.insert(std::string(set.name) + ".taps");
    for (const auto& set : gc::filters::resamplerLibrary())
        expected.insert(std::string(set.name) + ".taps");
    expected.erase("cfir_bypass.taps");
    expected.erase("pfir_bypass.taps");
    EXPECT_EQ(namesIn(dir + "/FILTERS"), expected);

    // Full filters in the tap file format.
    gc::model::ConfigurationModel model;
    gc::filters::ApplyCfirSelectionFor(model, 0, gc::filters::TapSource::Table);  // cfir_68
    EXPECT_EQ(fileText(dir + "/FILTERS/cfir_68.taps"),
              gc::filters::tapFileText(model.CfirTaps[0].data(), 21));
    EXPECT_EQ(fileText(dir + "/FILTERS/res_bypass.taps"), " 1024\n");
    EXPECT_EQ(gc::model::splitLines(fileText(dir + "/FILTERS/res_8x64_60.taps")).size(), 512u);
    EXPECT_EQ(gc::model::splitLines(fileText(dir + "/FILTERS/pfir_gsm.taps")).size(), 63u);

    // A second init changes nothing without --force.
    putFile(dir + "/CONFIGS/std.trv", "mine");
    run = runCli(scratch, scratch.str(), {"init", dir});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("std.trv exists"), std::string::npos) << run.err;
    EXPECT_EQ(fileText(dir + "/CONFIGS/std.trv"), "mine");

    run = runCli(scratch, scratch.str(), {"init", dir, "--force"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(fileText(dir + "/CONFIGS/std.trv"), "mine");
}

TEST(CliShowTest, ShowsTheStartInAWorkingFolderAndAConfigurationRead) {
    TempFolder scratch;
    const std::string dir = scratch / "work";
    ASSERT_EQ(runCli(scratch, scratch.str(), {"init", dir}).status, 0);

    CliRun run = runCli(scratch, scratch.str(), {"show", "--workdir", "work"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    for (const char* line : {"\nEdit1=64\n", "\nEdit3=100000000\n", "\nPanel1=sinc.cfg\n",
                             "\nPanel9=cfir_68.taps\n", "\nPanel20=512\n", "\nPanel25=std.trv\n"})
        EXPECT_NE(("\n" + run.out).find(line), std::string::npos) << line;

    // The working folder is the default; a configuration named after it is read from there.
    gc::model::ConfigurationModel saved;
    saved.Channels[0].Decimation = 100;
    putFile(dir + "/CONFIGS/d100.trv", gc::appconfig::configurationText(saved));
    run = runCli(scratch, dir, {"show", "CONFIGS/d100.trv"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("Edit1=100\n", 0), 0u);
    EXPECT_NE(run.out.find("\nPanel25=d100.trv\n"), std::string::npos);

    // Reports of a start in an empty folder, one line each, and the state still shown.
    run = runCli(scratch, scratch.str(), {"show", "--workdir", "absent"});
    EXPECT_EQ(run.status, 1);
    const auto lines = gc::model::splitLines(run.err);
    ASSERT_EQ(lines.size(), 11u) << run.err;
    EXPECT_EQ(lines[0], "Файл конфигурации CONFIGS/std.trv отсутствует!");
    EXPECT_EQ(lines[10], "Файл коэфициентов RFIR FILTERS/res_8x64_60.taps отсутствует!");
    EXPECT_EQ(run.out.rfind("Edit1=64\n", 0), 0u);
}

TEST(CliBuildTest, WritesTheSameFilesAsTheRoads) {
    TempFolder scratch;
    const std::string dir = scratch / "work";
    ASSERT_EQ(runCli(scratch, scratch.str(), {"init", dir}).status, 0);
    gc::model::ConfigurationModel saved;
    saved.Chip.ModeOfDdc = 1;
    saved.Chip.CombConfigPlis = 1;
    saved.Chip.AsyncMode = 1;
    saved.Channels[2].Decimation = 200;
    saved.Chip.Fc[3] = 21000000;
    saved.Work.CfirSelection = {1, 2, 5, 8};
    saved.Work.PfirSelection = {7, 8, 7, 3};
    saved.Work.RfirSelection = 6;
    // Each channel names the tap files of its own table sets.
    for (int c = 0; c < 4; ++c) {
        saved.Channels[c].NameOfCFIR =
            std::string(gc::filters::cfirLibrary()[saved.Work.CfirSelection[c]].name) + ".taps";
        saved.Channels[c].NameOfPFIR =
            std::string(gc::filters::pfirLibrary()[saved.Work.PfirSelection[c]].name) + ".taps";
    }
    saved.Chip.NameOfRFIR = std::string(gc::filters::resamplerLibrary()[6].name) + ".taps";
    putFile(dir + "/CONFIGS/x.y.trv", gc::appconfig::configurationText(saved));

    CliRun run = runCli(scratch, scratch.str(), {"build", "work/CONFIGS/x.y.trv", "--out", "out"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(namesIn(scratch / "out"), (std::set<std::string>{"x.y.trv", "x.y.cfg", "x.y.prg"}));

    // The same load and save in this process.
    {
        LoadSaveRig rig(scratch.str());
        rig.presenter.startWithDefaults();
        rig.loadSave.loadConfiguration(dir + "/CONFIGS/x.y.trv");
        ASSERT_TRUE(rig.presenter.runSaveChecks());
        std::filesystem::create_directories(scratch / "roads");
        ASSERT_TRUE(rig.loadSave.saveConfiguration(scratch / "roads/x.y.trv"));
        EXPECT_TRUE(rig.ui.reports.empty());
    }
    for (const char* name : {"x.y.trv", "x.y.cfg", "x.y.prg"})
        EXPECT_EQ(fileText(scratch / ("out/" + std::string(name))),
                  fileText(scratch / ("roads/" + std::string(name))))
            << name;

    // The tap files init wrote hold the tables' filters: taking every filter from its file
    // builds the same chip files.
    run = runCli(
        scratch, scratch.str(),
        {"build", "work/CONFIGS/x.y.trv", "--out", "files", "--file-source", "cfir,pfir,rfir"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(fileText(scratch / "files/x.y.cfg"), fileText(scratch / "out/x.y.cfg"));
    EXPECT_EQ(fileText(scratch / "files/x.y.prg"), fileText(scratch / "out/x.y.prg"));
}

TEST(CliBuildTest, ExitStatusForUsageRefusalAndUnwritableFiles) {
    TempFolder scratch;
    const std::string dir = scratch / "work";
    ASSERT_EQ(runCli(scratch, scratch.str(), {"init", dir}).status, 0);

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"build"},
          {"build", "work/CONFIGS/std.trv"},
          {"build", "work/CONFIGS/std.trv", "--out"},
          {"build", "work/CONFIGS/std.trv", "--out", "o", "--file-source", "cic"},
          {"build", "a.trv", "b.trv", "--out", "o"},
          {"build", "a.trv", "--out", "o", "--bogus"},
          {"init"},
          {"init", "a", "b"},
          {"show", "--workdir"},
          {"show", "a.trv", "b.trv"},
          {"frobnicate"},
          {}}) {
        const CliRun run = runCli(scratch, scratch.str(), args);
        EXPECT_EQ(run.status, 2) << (args.empty() ? "" : args[0]) << " " << args.size();
        EXPECT_NE(run.err.find("usage"), std::string::npos);
    }
    for (const char* command : {"build", "init", "show"}) {
        const CliRun run = runCli(scratch, scratch.str(), {command, "--help"});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.rfind(std::string("usage: gc4016-cli ") + command, 0), 0u) << run.out;
    }
    EXPECT_EQ(runCli(scratch, scratch.str(), {"--help"}).status, 0);

    // A save-time check refuses: the report, status 3, nothing written.
    gc::model::ConfigurationModel low;
    low.Channels[1].Decimation = 4;
    putFile(dir + "/CONFIGS/low.trv", gc::appconfig::configurationText(low));
    CliRun run =
        runCli(scratch, scratch.str(), {"build", "work/CONFIGS/low.trv", "--out", "refused"});
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("Минимальный коэффициент децимации CIC-фильтра в этом режиме   равен 8"),
              std::string::npos)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(scratch / "refused"));

    // The output folder cannot be made: each file is reported, the first with the reason,
    // status 1.
    putFile(scratch / "plain", "a file, not a folder");
    run = runCli(scratch, scratch.str(), {"build", "work/CONFIGS/std.trv", "--out", "plain/sub"});
    EXPECT_EQ(run.status, 1);
    const auto lines = gc::model::splitLines(run.err);
    ASSERT_EQ(lines.size(), 3u) << run.err;
    EXPECT_EQ(lines[0],
              "Файл конфигурации plain/sub/std.trv не может быть записан! (часть пути не "
              "является каталогом)");
    EXPECT_EQ(lines[2], "Файл программы plain/sub/std.prg не может быть записан!");

    // A missing tap file is reported, the build goes on and writes what the window would,
    // and the status says that an input was missing.
    std::filesystem::remove(dir + "/FILTERS/res_8x64_60.taps");
    run = runCli(scratch, scratch.str(), {"build", "work/CONFIGS/std.trv", "--out", "o2"});
    EXPECT_EQ(run.status, 5);
    EXPECT_EQ(run.err, "Файл коэфициентов RFIR ../FILTERS/res_8x64_60.taps отсутствует!\n");
    EXPECT_TRUE(std::filesystem::exists(scratch / "o2/std.prg"));
}

TEST(CliBuildTest, BadInputsNeverAbortOrHangAndExitWithFive) {
    TempFolder scratch;
    const std::string dir = scratch / "work";
    ASSERT_EQ(runCli(scratch, scratch.str(), {"init", dir}).status, 0);
    const std::string good = fileText(dir + "/CONFIGS/std.trv");
    const auto naming = [&good](const std::string& cfg) {
        const size_t at = good.find("NameOfCFG= ");
        const size_t end = good.find('\n', at);
        return good.substr(0, at) + "NameOfCFG= " + cfg + good.substr(end);
    };
    ASSERT_EQ(::mkfifo((dir + "/CONFIGS/fifo.cfg").c_str(), 0600), 0);
    putFile(dir + "/CONFIGS/zero.trv", naming("/dev/zero"));
    putFile(dir + "/CONFIGS/fifo.trv", naming("fifo.cfg"));
    // A sparse file far over the size limit: nothing of it is read.
    putFile(dir + "/CONFIGS/huge.cfg", "");
    std::filesystem::resize_file(dir + "/CONFIGS/huge.cfg", std::uintmax_t{1} << 30);
    putFile(dir + "/CONFIGS/huge.trv", naming("huge.cfg"));

    // A damaged chip configuration: reported, the other files still written, status 5.
    for (const char* name : {"zero", "fifo", "huge"}) {
        const std::string trv = std::string("work/CONFIGS/") + name + ".trv";
        const CliRun run = runCli(scratch, scratch.str(), {"build", trv, "--out", "o"});
        EXPECT_EQ(run.status, 5) << name << ": " << run.err;
        EXPECT_EQ(gc::model::splitLines(run.err).size(), 1u) << run.err;
        EXPECT_NE(run.err.find("поврежден!"), std::string::npos) << run.err;
        EXPECT_TRUE(std::filesystem::exists(scratch / ("o/" + std::string(name) + ".prg")));
    }

    // The configuration itself missing or damaged: nothing written, status 5.
    putFile(dir + "/CONFIGS/cut.trv", good.substr(0, good.size() / 2));
    for (const std::string& config :
         {dir + "/CONFIGS/absent.trv", dir + "/CONFIGS/fifo.cfg", dir + "/CONFIGS/huge.cfg",
          dir + "/CONFIGS/cut.trv", std::string("/dev/zero")}) {
        const CliRun run = runCli(scratch, scratch.str(), {"build", config, "--out", "none"});
        EXPECT_EQ(run.status, 5) << config << ": " << run.err;
        EXPECT_FALSE(std::filesystem::exists(scratch / "none")) << config;
    }
    // A folder is no configuration: wrong usage.
    for (const std::string& config : {dir + "/CONFIGS", dir + "/CONFIGS/std.trv/"}) {
        const CliRun run = runCli(scratch, scratch.str(), {"build", config, "--out", "none"});
        EXPECT_EQ(run.status, 2) << config;
        EXPECT_FALSE(std::filesystem::exists(scratch / "none")) << config;
    }
}

TEST(CliBuildTest, CarriesTheRequirementFileBesideTheConfiguration) {
    TempFolder scratch;
    const std::string dir = scratch / "work";
    ASSERT_EQ(runCli(scratch, scratch.str(), {"init", dir}).status, 0);
    gc::model::ConfigurationModel defaults;
    putFile(dir + "/CONFIGS/x.trv", gc::appconfig::configurationText(defaults));

    // Without x.req: the three files only.
    CliRun run = runCli(scratch, scratch.str(), {"build", "work/CONFIGS/x.trv", "--out", "plain"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(namesIn(scratch / "plain"), (std::set<std::string>{"x.trv", "x.cfg", "x.prg"}));

    // With it: x.req goes along, and the other three are the same bytes.
    gc::analysis::Requirement requirement;
    requirement.passbandHz = 80000.0;
    requirement.aliasRejectionMinDb = 90.0;
    const std::string reqText = gc::appconfig::requirementText(requirement);
    putFile(dir + "/CONFIGS/x.req", reqText);
    run = runCli(scratch, scratch.str(), {"build", "work/CONFIGS/x.trv", "--out", "req"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(namesIn(scratch / "req"),
              (std::set<std::string>{"x.trv", "x.cfg", "x.prg", "x.req"}));
    EXPECT_EQ(fileText(scratch / "req/x.req"), reqText);
    for (const char* name : {"x.trv", "x.cfg", "x.prg"})
        EXPECT_EQ(fileText(scratch / ("req/" + std::string(name))),
                  fileText(scratch / ("plain/" + std::string(name))))
            << name;

    // A damaged x.req is reported, means no requirement (the old one in the output folder is
    // removed) and the build ends with 5.
    putFile(dir + "/CONFIGS/x.req", "not a requirement\n");
    run = runCli(scratch, scratch.str(), {"build", "work/CONFIGS/x.trv", "--out", "req"});
    EXPECT_EQ(run.status, 5);
    EXPECT_NE(run.err.find("Файл требований x.req поврежден!"), std::string::npos) << run.err;
    EXPECT_EQ(namesIn(scratch / "req"), (std::set<std::string>{"x.trv", "x.cfg", "x.prg"}));
}
