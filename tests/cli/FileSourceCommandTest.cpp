// The file-source choice kept beside a configuration (NAME.src) as build, measure, response and
// design honour it, --file-source laid over it, and design's tap files written as one set.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/LoadSaveTestSupport.h"
#include "appconfig/ConfigFile.h"
#include "cli/CliRun.h"
#include "model/ConfigurationModel.h"

using gc::app::testing::fileText;
using gc::app::testing::putFile;
using gc::app::testing::TempFolder;
using gc::cli::testing::CliRun;
using gc::cli::testing::runCli;
namespace fs = std::filesystem;

namespace {

constexpr const char* kCfirFromFile = "*** Tap sources ***\nCFIR= file\nPFIR= table\nRFIR= table\n";

// A working folder whose configuration r.trv names a CFIR tap file unlike any table
// (taps 100, 101, ... 120) for every channel.
struct Work {
    Work() {
        EXPECT_EQ(runCli(scratch, scratch.str(), {"init", dir}).status, 0);
        gc::model::ConfigurationModel model;
        std::string ramp;
        for (int i = 0; i < 21; ++i) ramp += " " + std::to_string(100 + i) + "\n";
        putFile(dir + "/FILTERS/ramp.taps", ramp);
        for (auto& channel : model.Channels) channel.NameOfCFIR = "ramp.taps";
        putFile(dir + "/CONFIGS/r.trv", gc::appconfig::configurationText(model));
    }
    CliRun run(const std::vector<std::string>& args) const { return runCli(scratch, dir, args); }

    TempFolder scratch;
    std::string dir = scratch / "work";
};

}  // namespace

TEST(CliFileSourceTest, BuildTakesTheSavedChoiceAndTheOptionOverridesIt) {
    Work w;
    // No r.src: the tables, and no r.src written.
    ASSERT_EQ(w.run({"build", "CONFIGS/r.trv", "--out", "a"}).status, 0);
    const std::string tables = fileText(w.dir + "/a/r.cfg");
    EXPECT_EQ(tables.find("CFIR[]= 100 101 102"), std::string::npos);
    EXPECT_FALSE(fs::exists(w.dir + "/a/r.src"));

    // The saved choice: the CFIR from its file, and the choice saved with the built files.
    putFile(w.dir + "/CONFIGS/r.src", kCfirFromFile);
    CliRun run = w.run({"build", "CONFIGS/r.trv", "--out", "b"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string fromFile = fileText(w.dir + "/b/r.cfg");
    EXPECT_NE(fromFile.find("CFIR[]= 100 101 102 103 104 105 106 107 108 109 110"),
              std::string::npos);
    EXPECT_EQ(fileText(w.dir + "/b/r.src"), kCfirFromFile);
    EXPECT_EQ(fileText(w.dir + "/b/r.trv"), fileText(w.dir + "/a/r.trv"));

    // Overridden back to the table: the first build's files, and an old r.src in the output
    // folder goes.
    putFile(w.dir + "/a/r.src", kCfirFromFile);
    ASSERT_EQ(w.run({"build", "CONFIGS/r.trv", "--out", "a", "--file-source", "cfir=table"}).status,
              0);
    EXPECT_EQ(fileText(w.dir + "/a/r.cfg"), tables);
    EXPECT_FALSE(fs::exists(w.dir + "/a/r.src"));
    // Later items win; a bare kind means its file; kinds not named keep the saved choice.
    ASSERT_EQ(
        w.run({"build", "CONFIGS/r.trv", "--out", "c", "--file-source", "all=table,cfir"}).status,
        0);
    EXPECT_EQ(fileText(w.dir + "/c/r.cfg"), fromFile);
    ASSERT_EQ(
        w.run({"build", "CONFIGS/r.trv", "--out", "d", "--file-source", "resampler=file"}).status,
        0);
    EXPECT_EQ(fileText(w.dir + "/d/r.src"),
              "*** Tap sources ***\nCFIR= file\nPFIR= table\nRFIR= file\n");

    for (const char* bad : {"cfir=maybe", "cfir,", "=file", "pfir=", "cic", ""}) {
        run = w.run({"build", "CONFIGS/r.trv", "--out", "e", "--file-source", bad});
        EXPECT_EQ(run.status, 2) << bad;
        EXPECT_NE(run.err.find("--file-source"), std::string::npos) << bad;
    }
    EXPECT_FALSE(fs::exists(w.dir + "/e"));

    // A damaged choice is reported like the other files beside the configuration (status 5)
    // and means the tables.
    putFile(w.dir + "/CONFIGS/r.src", "CFIR= file\n");
    run = w.run({"build", "CONFIGS/r.trv", "--out", "f"});
    EXPECT_EQ(run.status, 5);
    EXPECT_NE(run.err.find("Файл источников коэффициентов r.src поврежден!"), std::string::npos)
        << run.err;
    EXPECT_EQ(fileText(w.dir + "/f/r.cfg"), tables);
}

TEST(CliFileSourceTest, MeasureAndResponseFollowTheSavedChoiceToo) {
    Work w;
    const std::vector<std::string> measure{"measure", "CONFIGS/r.trv", "--passband", "80000"};
    const std::vector<std::string> response{"response", "CONFIGS/r.trv", "--channel", "2"};
    const CliRun tablesMeasured = w.run(measure);
    const CliRun tablesResponse = w.run(response);
    ASSERT_EQ(tablesMeasured.status, 0) << tablesMeasured.err;
    ASSERT_EQ(tablesResponse.status, 0) << tablesResponse.err;

    putFile(w.dir + "/CONFIGS/r.src", kCfirFromFile);
    const CliRun fileMeasured = w.run(measure);
    const CliRun fileResponse = w.run(response);
    EXPECT_NE(fileMeasured.out, tablesMeasured.out);
    EXPECT_NE(fileResponse.out, tablesResponse.out);

    std::vector<std::string> overridden = measure;
    overridden.insert(overridden.end(), {"--file-source", "cfir=table"});
    EXPECT_EQ(w.run(overridden).out, tablesMeasured.out);
    overridden = response;
    overridden.insert(overridden.end(), {"--file-source", "cfir=table"});
    EXPECT_EQ(w.run(overridden).out, tablesResponse.out);
    // The old form names the filters taken from their files.
    fs::remove(w.dir + "/CONFIGS/r.src");
    overridden = response;
    overridden.insert(overridden.end(), {"--file-source", "cfir"});
    EXPECT_EQ(w.run(overridden).out, fileResponse.out);
}

TEST(CliFileSourceTest, DesignWritesItsTapFilesAsOneSet) {
    Work w;
    const auto design = [&w](const std::string& name) {
        return w.run(
            {"design", "CONFIGS/r.trv", "--passband", "50000", "--out", "d", "--name", name});
    };
    CliRun run = design("x");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string pfir = fileText(w.dir + "/d/x_pfir.taps");

    // A folder where the CFIR file goes: nothing is replaced, the PFIR of the earlier design
    // stays, no temporary is left, and the reason is named.
    putFile(w.dir + "/d/x_pfir.taps", "the earlier design's\n");
    fs::remove(w.dir + "/d/x_cfir.taps");
    fs::create_directories(w.dir + "/d/x_cfir.taps");
    run = design("x");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("d/x_cfir.taps не может быть записан! (это каталог)"), std::string::npos)
        << run.err;
    EXPECT_EQ(fileText(w.dir + "/d/x_pfir.taps"), "the earlier design's\n");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(w.dir + "/d"))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"x_cfir.taps", "x_pfir.taps"}));

    // Names that leave the folder or name it are wrong usage.
    for (const char* bad : {"..", ".", "a/b", ""}) {
        run = design(bad);
        EXPECT_EQ(run.status, 2) << bad;
    }
    EXPECT_FALSE(fs::exists(w.dir + "/.._cfir.taps"));
    EXPECT_FALSE(pfir.empty());
}
