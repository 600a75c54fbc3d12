// gc4016-cli diff: two configurations compared field by field, exit status as diff gives it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/LoadSaveTestSupport.h"
#include "cli/CliRun.h"

using gc::app::testing::fileText;
using gc::app::testing::putFile;
using gc::app::testing::TempFolder;
using gc::cli::testing::CliRun;
using gc::cli::testing::runCli;

namespace {

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

}  // namespace

TEST(CliDiffTest, SameOneFieldAndARegisterOnly) {
    TempFolder scratch;
    const std::string a = scratch / "a";
    const std::string b = scratch / "b";
    ASSERT_EQ(runCli(scratch, scratch.str(), {"init", a}).status, 0);
    ASSERT_EQ(runCli(scratch, scratch.str(), {"init", b}).status, 0);

    // The same configuration, and an equal one in another folder: nothing, status 0.
    CliRun run = runCli(scratch, scratch.str(), {"diff", "a/CONFIGS/std.trv", "a/CONFIGS/std.trv"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    run = runCli(scratch, scratch.str(), {"diff", "a/CONFIGS/std.trv", "b/CONFIGS/std.trv"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");

    // One setting: channel 1's decimation 64 -> 128. Its register DecimationRatio holds D - 1
    // in its low bits: 0x3f -> 0x7f.
    const std::string std = fileText(a + "/CONFIGS/std.trv");
    const size_t channel1 = std.find("*** Filter of Channel 1 ***");
    ASSERT_NE(channel1, std::string::npos);
    std::string dec = std;
    dec.replace(dec.find("Decimation= 64 ", channel1), 15, "Decimation= 128 ");
    putFile(a + "/CONFIGS/dec.trv", dec);
    run = runCli(scratch, scratch.str(), {"diff", "a/CONFIGS/std.trv", "a/CONFIGS/dec.trv"});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.out.rfind("model Channel 1 Decimation: 64 -> 128\nregister ", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("\nregister Channel 1 DecimationRatio: 703f -> 707f\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("Channel 0"), std::string::npos) << run.out;

    // A register only: b's chip configuration has another GeneralSyncs, which no setting of the
    // configuration file sets.
    putFile(b + "/CONFIGS/sinc.cfg", replaced(fileText(b + "/CONFIGS/sinc.cfg"),
                                              "GeneralSyncs= 27\n", "GeneralSyncs= 31\n"));
    run = runCli(scratch, scratch.str(), {"diff", "a/CONFIGS/std.trv", "b/CONFIGS/std.trv"});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.out, "register GeneralSyncs: 27 -> 31\n");

    // Wrong usage and missing files.
    EXPECT_EQ(runCli(scratch, scratch.str(), {"diff", "a/CONFIGS/std.trv"}).status, 2);
    EXPECT_EQ(runCli(scratch, scratch.str(), {"diff", "a/CONFIGS", "b/CONFIGS/std.trv"}).status, 2);
    run = runCli(scratch, scratch.str(), {"diff", "a/CONFIGS/std.trv", "b/CONFIGS/none.trv"});
    EXPECT_EQ(run.status, 5);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("отсутствует"), std::string::npos);
    std::filesystem::remove(b + "/FILTERS/cfir_68.taps");
    run = runCli(scratch, scratch.str(), {"diff", "a/CONFIGS/std.trv", "b/CONFIGS/std.trv"});
    EXPECT_EQ(run.status, 5);
    EXPECT_NE(run.err.find("cfir_68.taps"), std::string::npos) << run.err;
}
