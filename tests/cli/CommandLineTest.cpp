// The command line itself: the help of each command made from its declarations, wrong usage as
// one line, an option given twice.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/LoadSaveTestSupport.h"
#include "cli/CliRun.h"
#include "model/TextFile.h"

using gc::app::testing::TempFolder;
using gc::cli::testing::CliRun;
using gc::cli::testing::runCli;

namespace {

// The "--name" words of a text (up to a blank, "]" or the end of the line).
std::set<std::string> optionWords(const std::string& text) {
    std::set<std::string> words;
    for (size_t at = text.find("--"); at != std::string::npos; at = text.find("--", at + 2)) {
        if (at > 0 && text[at - 1] != ' ' && text[at - 1] != '[') continue;
        const size_t end = text.find_first_of(" ]\n,", at);
        words.insert(text.substr(at, end - at));
    }
    return words;
}

}  // namespace

TEST(CliCommandLineTest, EachHelpDescribesEveryOptionOfItsUsage) {
    TempFolder scratch;
    for (const char* command :
         {"build", "design", "export-taps", "import-taps", "init", "measure", "response", "show"}) {
        const CliRun run = runCli(scratch, scratch.str(), {command, "--help"});
        ASSERT_EQ(run.status, 0) << command;
        const size_t usageEnd = run.out.find("\n\n");
        ASSERT_NE(usageEnd, std::string::npos) << run.out;
        const std::string usage = run.out.substr(0, usageEnd);
        for (const std::string& line : gc::model::splitLines(usage))
            EXPECT_LE(line.size(), 92u) << line;
        // Every option of the usage lines has its line "  --name VALUE  help" below.
        const std::set<std::string> options = optionWords(usage);
        EXPECT_FALSE(options.empty()) << command;
        for (const std::string& option : options)
            EXPECT_NE(run.out.find("\n  " + option + " "), std::string::npos)
                << command << " " << option << "\n"
                << run.out;
    }
    // The list of commands names each of them with its summary.
    const CliRun main = runCli(scratch, scratch.str(), {"help"});
    EXPECT_EQ(main.status, 0);
    const size_t at = main.out.find("\n  measure ");
    ASSERT_NE(at, std::string::npos) << main.out;
    const std::string line = main.out.substr(at + 1, main.out.find('\n', at + 1) - at - 1);
    EXPECT_NE(line.find(" measure one channel against a requirement"), std::string::npos) << line;
    EXPECT_NE(main.out.find("  --lang en|ru  the language of the reports"), std::string::npos);
}

TEST(CliCommandLineTest, WrongUsageIsOneLineNamingTheCommandAndTheProblem) {
    TempFolder scratch;
    struct Case {
        std::vector<std::string> args;
        std::string line;
    };
    const std::string help = " (usage: gc4016-cli ";
    const Case cases[] = {
        {{"build", "a.trv"}, "build: --out DIR is required" + help + "build --help)"},
        {{"build", "a.trv", "--out"}, "build: --out needs a value" + help + "build --help)"},
        {{"build", "a.trv", "--out", ""}, "build: --out needs a value" + help + "build --help)"},
        {{"show", "a.trv", "b.trv"}, "show: unexpected argument: b.trv" + help + "show --help)"},
        {{"show", "a.trv", "init"}, "show: unexpected argument: init" + help + "show --help)"},
        {{"init", "--bogus", "d"}, "init: unknown option --bogus" + help + "init --help)"},
        {{"response", "a.trv", "--stretch", "3"},
         "response: --stretch takes a power of two 1..4096" + help + "response --help)"},
        {{"measure", "a.trv", "--passband", "1", "--channel", "x"},
         "measure: --channel: \"x\" не является целым числом" + help + "measure --help)"},
        {{"design", "a.trv", "--passband", "1", "--out", "o", "--name", "a/b"},
         "design: --name NAME is required (a bare name, not \".\" or \"..\")" + help +
             "design --help)"},
        {{"frobnicate"}, "gc4016-cli: unknown command \"frobnicate\"" + help + "--help)"},
        {{}, "gc4016-cli: no command given" + help + "--help)"},
        {{"--lang", "xx", "show"},
         "gc4016-cli: unknown language \"xx\" (en or ru)" + help + "--help)"},
    };
    for (const Case& c : cases) {
        const CliRun run = runCli(scratch, scratch.str(), c.args);
        EXPECT_EQ(run.status, 2) << c.line;
        EXPECT_EQ(run.err, c.line + "\n");
        EXPECT_EQ(run.out, "");
    }
}

TEST(CliCommandLineTest, AnOptionGivenTwiceTakesTheLastValue) {
    TempFolder scratch;
    const std::string work = scratch / "work";
    ASSERT_EQ(runCli(scratch, scratch.str(), {"init", work}).status, 0);
    const CliRun twice = runCli(
        scratch, work,
        {"response", "CONFIGS/std.trv", "--stretch", "4096", "--channel", "2", "--stretch", "2"});
    const CliRun once =
        runCli(scratch, work, {"response", "CONFIGS/std.trv", "--channel", "2", "--stretch", "2"});
    ASSERT_EQ(twice.status, 0) << twice.err;
    EXPECT_EQ(twice.out, once.out);
    EXPECT_NE(twice.out, runCli(scratch, work, {"response", "CONFIGS/std.trv"}).out);
}
