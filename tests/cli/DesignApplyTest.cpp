// gc4016-cli design --apply: the configuration names the tap files the design wrote.
#include <gtest/gtest.h>

#include <string>

#include "app/LoadSaveTestSupport.h"
#include "cli/CliRun.h"

using gc::app::testing::fileText;
using gc::app::testing::putFile;
using gc::app::testing::TempFolder;
using gc::cli::testing::CliRun;
using gc::cli::testing::runCli;

namespace {

// `text` with the first "KEY= ..." line after `from` replaced by "KEY= value".
std::string withLine(std::string text, size_t from, const std::string& key,
                     const std::string& value) {
    const size_t at = text.find(key + "= ", from);
    EXPECT_NE(at, std::string::npos) << key;
    const size_t end = text.find('\n', at);
    text.replace(at, end - at, key + "= " + value);
    return text;
}

std::string lineOf(const std::string& out, const std::string& key) {
    const size_t at = out.find(key + "=");
    return at == std::string::npos ? "" : out.substr(at, out.find('\n', at) - at);
}

}  // namespace

TEST(CliDesignApplyTest, TheConfigurationNamesTheWrittenFilesAndNothingElseChanges) {
    TempFolder scratch;
    const std::string work = scratch / "work";
    ASSERT_EQ(runCli(scratch, scratch.str(), {"init", work}).status, 0);
    const std::string before = fileText(work + "/CONFIGS/std.trv");

    const CliRun run = runCli(scratch, work,
                              {"design", "CONFIGS/std.trv", "--channel", "1", "--passband", "80000",
                               "--resampler", "--out", "FILTERS", "--name", "ch1", "--apply"});
    ASSERT_EQ(run.status, 0) << run.err;
    // The whole file: channel 1's two names and the resampler's, nothing else.
    std::string expected = before;
    const size_t channel1 = expected.find("*** Filter of Channel 1 ***");
    ASSERT_NE(channel1, std::string::npos);
    expected = withLine(expected, channel1, "NameOfCFIR", "ch1_cfir.taps");
    expected = withLine(expected, channel1, "NameOfPFIR", "ch1_pfir.taps");
    expected = withLine(expected, 0, "NameOfRFIR", "ch1_res.taps");
    EXPECT_EQ(fileText(work + "/CONFIGS/std.trv"), expected);
    // The tap files are the source of the three filters, kept beside the configuration.
    EXPECT_EQ(fileText(work + "/CONFIGS/std.src"),
              "*** Tap sources ***\nCFIR= file\nPFIR= file\nRFIR= file\n");

    // Read back as saved, channel 1 measures as the design said: its taps come from the files.
    const CliRun measured = runCli(
        scratch, work, {"measure", "CONFIGS/std.trv", "--channel", "1", "--passband", "80000"});
    ASSERT_EQ(measured.status, 0) << measured.err;
    EXPECT_EQ(measured.err, "");
    EXPECT_EQ(lineOf(measured.out, "ripple_db"), lineOf(run.out, "ripple_db"));
    EXPECT_EQ(lineOf(measured.out, "stopband_attenuation_db"),
              lineOf(run.out, "stopband_attenuation_db"));
    EXPECT_FALSE(lineOf(run.out, "ripple_db").empty());
    const CliRun tables = runCli(scratch, work,
                                 {"measure", "CONFIGS/std.trv", "--channel", "1", "--passband",
                                  "80000", "--file-source", "all=table"});
    EXPECT_NE(lineOf(tables.out, "ripple_db"), lineOf(run.out, "ripple_db"));

    // Without the resampler only CFIR and PFIR change source; the resampler's choice stays.
    putFile(work + "/CONFIGS/b.trv", before);
    putFile(work + "/CONFIGS/b.src",
            "*** Tap sources ***\nCFIR= table\nPFIR= table\nRFIR= table\n");
    ASSERT_EQ(runCli(scratch, work,
                     {"design", "CONFIGS/b.trv", "--passband", "80000", "--out", "FILTERS",
                      "--name", "b0", "--apply"})
                  .status,
              0);
    EXPECT_EQ(fileText(work + "/CONFIGS/b.src"),
              "*** Tap sources ***\nCFIR= file\nPFIR= file\nRFIR= table\n");

    // Files written elsewhere cannot be named: wrong usage, nothing designed or changed.
    const std::string applied = fileText(work + "/CONFIGS/std.trv");
    const CliRun elsewhere = runCli(scratch, work,
                                    {"design", "CONFIGS/std.trv", "--passband", "80000", "--out",
                                     "out", "--name", "x", "--apply"});
    EXPECT_EQ(elsewhere.status, 2);
    EXPECT_NE(elsewhere.err.find("--out must be the FILTERS folder"), std::string::npos);
    EXPECT_EQ(fileText(work + "/CONFIGS/std.trv"), applied);
    EXPECT_EQ(fileText(work + "/out/x_cfir.taps"), "<missing>");
}
