// gc4016-cli --lang: reports, the main window's texts and the help follow the language; the
// files written do not.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/LoadSaveTestSupport.h"
#include "cli/CliRun.h"
#include "model/Language.h"

using gc::app::testing::fileText;
using gc::app::testing::TempFolder;
using gc::cli::testing::CliRun;
using gc::cli::testing::runCli;
using gc::model::containsCyrillic;

TEST(CliLanguageTest, ReportsAndTextsFollowTheLanguageAndFilesDoNot) {
    TempFolder scratch;
    const std::string dir = scratch / "work";
    ASSERT_EQ(runCli(scratch, scratch.str(), {"init", dir}).status, 0);

    // The same build in both languages, the option before or after the command, writes the
    // same bytes.
    CliRun ru = runCli(scratch, dir, {"--lang", "ru", "build", "CONFIGS/std.trv", "--out", "ru"});
    CliRun en = runCli(scratch, dir, {"build", "CONFIGS/std.trv", "--out", "en", "--lang=en"});
    ASSERT_EQ(ru.status, 0) << ru.err;
    ASSERT_EQ(en.status, 0) << en.err;
    for (const char* name : {"std.trv", "std.cfg", "std.prg"}) {
        const std::string a = fileText(dir + "/ru/" + name);
        EXPECT_FALSE(a.empty()) << name;
        EXPECT_EQ(a, fileText(dir + "/en/" + name)) << name;
    }

    // What the main window shows: Russian by default, English with --lang en.
    CliRun shown = runCli(scratch, dir, {"show"});
    EXPECT_NE(shown.out.find("\nComboBox7=Канал 0\n"), std::string::npos) << shown.out;
    shown = runCli(scratch, dir, {"--lang", "en", "show"});
    EXPECT_EQ(shown.status, 0);
    EXPECT_NE(shown.out.find("\nComboBox7=Channel 0\n"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("\nComboBox13=Synchronous\n"), std::string::npos) << shown.out;
    EXPECT_FALSE(containsCyrillic(shown.out)) << shown.out;

    // Reports: a folder without a start-up configuration.
    std::filesystem::create_directory(scratch / "empty");
    CliRun missing = runCli(scratch, scratch / "empty", {"--lang", "en", "show"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err.rfind("Configuration file CONFIGS/std.trv is missing!\n", 0), 0u)
        << missing.err;
    EXPECT_FALSE(containsCyrillic(missing.err)) << missing.err;
    missing = runCli(scratch, scratch / "empty", {"show"});
    EXPECT_EQ(missing.err.rfind("Файл конфигурации CONFIGS/std.trv отсутствует!\n", 0), 0u);
    // A damaged tap file named by the configuration.
    gc::app::testing::putFile(dir + "/FILTERS/cfir_68.taps", "1\n2\n");
    CliRun damaged =
        runCli(scratch, dir, {"--lang", "en", "build", "CONFIGS/std.trv", "--out", "d"});
    EXPECT_EQ(damaged.status, 5);
    EXPECT_NE(damaged.err.find("CFIR coefficient file ../FILTERS/cfir_68.taps is damaged!"),
              std::string::npos)
        << damaged.err;
    EXPECT_FALSE(containsCyrillic(damaged.err)) << damaged.err;

    // The help names the main window's buttons in the language chosen.
    for (const auto& args : {std::vector<std::string>{"--lang", "en", "--help"},
                             std::vector<std::string>{"--lang", "en", "build", "--help"},
                             std::vector<std::string>{"--lang", "en", "show", "--help"}}) {
        CliRun help = runCli(scratch, dir, args);
        EXPECT_EQ(help.status, 0);
        EXPECT_FALSE(containsCyrillic(help.out)) << help.out;
        EXPECT_NE(help.out.find("\"Read\""), std::string::npos) << help.out;
    }
    EXPECT_NE(runCli(scratch, dir, {"show", "--help"}).out.find("\"Считать\""), std::string::npos);

    // A wrong or missing code is a usage error.
    EXPECT_EQ(runCli(scratch, dir, {"--lang", "de", "show"}).status, 2);
    EXPECT_EQ(runCli(scratch, dir, {"show", "--lang"}).status, 2);
}
