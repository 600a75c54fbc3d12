// gc4016-cli design, run as a separate process on a working folder made by "init".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/LoadSaveTestSupport.h"
#include "cli/CliRun.h"
#include "filters/TapFiles.h"

using gc::app::testing::putFile;
using gc::app::testing::TempFolder;
using gc::cli::testing::CliRun;
using gc::cli::testing::runCli;

namespace {

bool symmetric(const std::vector<int>& taps) {
    for (size_t i = 0; i < taps.size(); ++i)
        if (taps[i] != taps[taps.size() - 1 - i]) return false;
    return true;
}

// A working folder with the default configuration: clock 100 MHz, decimation 64, four-channel
// output at 390625 Hz, res_8x64_60.
std::string workFolder(const TempFolder& scratch) {
    const std::string dir = scratch / "work";
    const CliRun init = runCli(scratch, scratch.str(), {"init", dir});
    EXPECT_EQ(init.status, 0) << init.err;
    return dir;
}

}  // namespace

TEST(CliDesignTest, MetRequirementWritesTapFilesThatReadBack) {
    TempFolder scratch;
    const std::string dir = workFolder(scratch);
    const CliRun run =
        runCli(scratch, dir,
               {"design", "CONFIGS/std.trv", "--channel", "1", "--passband", "120000", "--ripple",
                "0.1", "--stopband-attenuation", "80", "--alias-rejection", "90", "--resampler",
                "--out", "out", "--name", "ch1"});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    // The figures as "measure" prints them.
    EXPECT_NE(run.out.find("meets=true"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("ripple_db="), std::string::npos);
    const size_t at = run.out.find("stopband_attenuation_db=");
    ASSERT_NE(at, std::string::npos);
    EXPECT_GE(std::stod(run.out.substr(at + 24)), 80.0);

    const auto cfir = gc::filters::ReadTapFile(dir + "/out/ch1_cfir.taps", 16);
    const auto pfir = gc::filters::ReadTapFile(dir + "/out/ch1_pfir.taps", 16);
    const auto res = gc::filters::ReadTapFile(dir + "/out/ch1_res.taps", 12);
    ASSERT_TRUE(cfir.opened && pfir.opened && res.opened);
    EXPECT_FALSE(cfir.damaged || pfir.damaged || res.damaged);
    ASSERT_EQ(cfir.taps.size(), 21u);
    ASSERT_EQ(pfir.taps.size(), 63u);
    ASSERT_EQ(res.taps.size(), 512u);  // the configured length and phases
    EXPECT_TRUE(symmetric(cfir.taps));
    EXPECT_TRUE(symmetric(pfir.taps));
    EXPECT_TRUE(symmetric(res.taps));
    // Read back through the reader as the window would: the channel's files are accepted.
    gc::model::ConfigurationModel model;
    EXPECT_EQ(gc::filters::ReadCfirTapFile(model, dir + "/out/ch1_cfir.taps", 1),
              gc::filters::TapFileStatus::Ok);
    EXPECT_EQ(gc::filters::ReadPfirTapFile(model, dir + "/out/ch1_pfir.taps", 1),
              gc::filters::TapFileStatus::Ok);
    EXPECT_EQ(model.CfirTaps[1][10], cfir.taps[10]);
}

TEST(CliDesignTest, MissedRequirementStillWritesAndSaysWhatToRelax) {
    TempFolder scratch;
    const std::string dir = workFolder(scratch);
    const CliRun run = runCli(
        scratch, dir,
        {"design", "CONFIGS/std.trv", "--passband", "117000", "--stopband", "125000", "--ripple",
         "0.1", "--stopband-attenuation", "100", "--out", "out", "--name", "hard"});
    EXPECT_EQ(run.status, 4) << run.err;
    EXPECT_NE(run.out.find("meets=false"), std::string::npos);
    EXPECT_NE(run.err.find("Требование не выполнено"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Ослабьте ограничение"), std::string::npos);
    EXPECT_EQ(gc::filters::ReadTapFile(dir + "/out/hard_cfir.taps", 16).taps.size(), 21u);
    EXPECT_EQ(gc::filters::ReadTapFile(dir + "/out/hard_pfir.taps", 16).taps.size(), 63u);
    EXPECT_FALSE(gc::filters::ReadTapFile(dir + "/out/hard_res.taps", 12).opened);
}

TEST(CliDesignTest, WrongUsageAndBadConfigurations) {
    TempFolder scratch;
    const std::string dir = workFolder(scratch);
    const std::vector<std::string> tail{"--out", "out", "--name", "x"};
    auto design = [&](std::vector<std::string> args) {
        args.insert(args.begin(), "design");
        args.insert(args.end(), tail.begin(), tail.end());
        return runCli(scratch, dir, args);
    };
    EXPECT_EQ(design({"CONFIGS/std.trv"}).status, 2);  // no --passband
    EXPECT_EQ(design({"CONFIGS/std.trv", "--passband", "abc"}).status, 2);
    EXPECT_EQ(design({"CONFIGS/std.trv", "--passband", "1000", "--channel", "4"}).status, 2);
    // Beyond half the output rate: refused with the measurement's reason.
    const CliRun beyond = design({"CONFIGS/std.trv", "--passband", "300000"});
    EXPECT_EQ(beyond.status, 2);
    EXPECT_NE(beyond.err.find("Граница полосы пропускания"), std::string::npos);
    EXPECT_EQ(runCli(scratch, dir, {"design", "CONFIGS/std.trv", "--passband", "1000"}).status,
              2);  // no --out, --name

    EXPECT_EQ(design({"CONFIGS", "--passband", "1000"}).status, 2);  // a folder as CONFIG
    const CliRun missing = design({"CONFIGS/none.trv", "--passband", "1000"});
    EXPECT_EQ(missing.status, 5);
    EXPECT_NE(missing.err.find("отсутствует"), std::string::npos);
    putFile(dir + "/CONFIGS/bad.trv", "not a configuration\n");
    const CliRun damaged = design({"CONFIGS/bad.trv", "--passband", "1000"});
    EXPECT_EQ(damaged.status, 5);
    EXPECT_NE(damaged.err.find("поврежден"), std::string::npos);
    EXPECT_FALSE(gc::filters::ReadTapFile(dir + "/out/x_cfir.taps", 16).opened);

    // A folder that cannot hold the files (a file stands in its way): each file reported, the
    // first with the system's reason, status 1.
    const CliRun blocked = runCli(scratch, dir,
                                  {"design", "CONFIGS/std.trv", "--passband", "50000", "--out",
                                   "CONFIGS/std.trv", "--name", "x"});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_NE(blocked.err.find("Файл коэфициентов CFIR CONFIGS/std.trv/x_cfir.taps не может быть "
                               "записан! (часть пути не является каталогом)\n"
                               "Файл коэфициентов PFIR CONFIGS/std.trv/x_pfir.taps не может быть "
                               "записан!\n"),
              std::string::npos)
        << blocked.err;
}
