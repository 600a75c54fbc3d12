// gc4016-cli import-taps and export-taps: other tools' coefficient files in, the taps in use
// out in the same formats.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/LoadSaveTestSupport.h"
#include "cli/CliRun.h"

using gc::app::testing::fileText;
using gc::app::testing::putFile;
using gc::app::testing::TempFolder;
using gc::cli::testing::CliRun;
using gc::cli::testing::runCli;

TEST(CliTapCommandsTest, ImportScalesRealsAndReportsWhatItDid) {
    TempFolder scratch;
    // A resampler vector of reals: the largest (0.4) goes to 2047, the scale 5117.5;
    // 0.1 -> 511.75 -> 512, 0.2 -> 1023.5 -> 1024 (to even).
    putFile(scratch / "h.m", "\xEF\xBB\xBFh = [0.1 0.2 0.4 ...\r\n 0.2 0.1];\r\n");
    const CliRun run = runCli(scratch, scratch.str(),
                              {"import-taps", "h.m", "--kind", "resampler", "--out", "h.taps"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(fileText(scratch / "h.taps"), " 512\n 1024\n 2047\n 1024\n 512\n");
    EXPECT_EQ(run.out.rfind("format=vector\ntaps=5\nscaled=true\nscale=5117.5\n", 0), 0u)
        << run.out;
    EXPECT_NE(run.out.find("\ntap_sum=5119\nsymmetric=true\n"), std::string::npos) << run.out;
    // The largest rounding error is 0.5 (1023.5 -> 1024) of the largest tap 2047: -72.24 dB.
    EXPECT_NE(run.out.find("rounding_error_db=-72.24"), std::string::npos) << run.out;

    // A CFIR list of 21 equal reals with gain 2: 131072 / 21 = 6241.52 -> 6242 each, the
    // gain 21 * 6242 / 65536.
    std::string csv;
    for (int i = 0; i < 21; ++i) csv += "1.0,";
    putFile(scratch / "c.csv", csv + "\n");
    const CliRun cfir =
        runCli(scratch, scratch.str(),
               {"import-taps", "c.csv", "--kind", "cfir", "--gain", "2", "--out", "c.taps"});
    ASSERT_EQ(cfir.status, 0) << cfir.err;
    std::string expected;
    for (int i = 0; i < 21; ++i) expected += " 6242\n";
    EXPECT_EQ(fileText(scratch / "c.taps"), expected);
    EXPECT_NE(cfir.out.find("\ngain=2.000152587890625\n"), std::string::npos) << cfir.out;

    // Wrong length and an unreadable value: the report and the line, status 5, nothing written.
    const CliRun wrong = runCli(scratch, scratch.str(),
                                {"import-taps", "c.csv", "--kind", "pfir", "--out", "p.taps"});
    EXPECT_EQ(wrong.status, 5);
    EXPECT_EQ(wrong.err,
              "Файл коэфициентов PFIR c.csv поврежден!\n"
              "c.csv: строка 1: файл кончается после 21 коэффициентов, у PFIR их 63\n");
    EXPECT_FALSE(std::filesystem::exists(scratch / "p.taps"));
    putFile(scratch / "x.coe", "radix=16;\ncoefdata=10,\n1Q;\n");
    const CliRun unreadable =
        runCli(scratch, scratch.str(),
               {"--lang", "en", "import-taps", "x.coe", "--kind", "resampler", "--out", "x.taps"});
    EXPECT_EQ(unreadable.status, 5);
    EXPECT_NE(unreadable.err.find("x.coe: line 3: \"1Q\" is not a number"), std::string::npos)
        << unreadable.err;
    EXPECT_EQ(runCli(scratch, scratch.str(),
                     {"import-taps", "none.csv", "--kind", "cfir", "--out", "n.taps"})
                  .status,
              5);
    // The resampler takes no gain; a kind must be one of three.
    EXPECT_EQ(runCli(scratch, scratch.str(),
                     {"import-taps", "h.m", "--kind", "resampler", "--gain", "2", "--out", "r"})
                  .status,
              2);
    EXPECT_EQ(runCli(scratch, scratch.str(), {"import-taps", "h.m", "--kind", "rfir", "--out", "r"})
                  .status,
              2);
}

TEST(CliTapCommandsTest, ExportWritesTheTapsInUseInEveryFormatAndTheyReadBack) {
    TempFolder scratch;
    const std::string work = scratch / "work";
    ASSERT_EQ(runCli(scratch, scratch.str(), {"init", work}).status, 0);
    const auto exportAs = [&](const std::string& kind, const std::string& format,
                              const std::string& radix, const std::string& out) {
        return runCli(scratch, work,
                      {"export-taps", "CONFIGS/std.trv", "--kind", kind, "--channel", "1",
                       "--format", format, "--radix", radix, "--out", out});
    };
    for (const std::string kind : {"cfir", "pfir", "resampler"}) {
        // The tap file as the tap-file reader reads it (a tap of 65536 reads as 0).
        ASSERT_EQ(exportAs(kind, "taps", "10", kind + ".taps").status, 0);
        ASSERT_EQ(runCli(scratch, work,
                         {"import-taps", kind + ".taps", "--kind", kind, "--out", "read.taps"})
                      .status,
                  0);
        const std::string taps = fileText(work + "/read.taps");
        EXPECT_FALSE(taps.empty());
        for (const std::string format : {"csv", "vector", "coe"}) {
            for (const std::string radix : {"10", "16"}) {
                const std::string out = kind + "." + format + radix;
                ASSERT_EQ(exportAs(kind, format, radix, out).status, 0) << out;
                const CliRun back = runCli(
                    scratch, work, {"import-taps", out, "--kind", kind, "--out", out + ".taps"});
                ASSERT_EQ(back.status, 0) << back.err;
                EXPECT_EQ(fileText(work + "/" + out + ".taps"), taps) << out;
            }
        }
    }
    // The built-in CFIR set of the default configuration, whole, as a vector.
    ASSERT_EQ(exportAs("cfir", "vector", "10", "v.m").status, 0);
    const std::string vector = fileText(work + "/v.m");
    EXPECT_EQ(vector.rfind("h = [", 0), 0u) << vector;
    EXPECT_EQ(vector.substr(vector.size() - 3), "];\n");

    EXPECT_EQ(exportAs("cfir", "mat", "10", "x").status, 2);
    EXPECT_EQ(exportAs("cfir", "coe", "8", "x").status, 2);
    EXPECT_EQ(
        runCli(scratch, work, {"export-taps", "CONFIGS/none.trv", "--kind", "cfir", "--out", "x"})
            .status,
        5);
}
