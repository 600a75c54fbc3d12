#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct RunResult {
    int exitCode{-1};
    std::string out;
    std::string err;
};

std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs the built tool with the given arguments in a scratch folder (so that no configuration
// folder of the source tree is seen) and collects both streams.
RunResult runCli(const std::string& args) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("gc_cli_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto out = dir / "out.txt";
    const auto err = dir / "err.txt";
    const std::string command = "cd '" + dir.string() + "' && '" + GC_CLI_PATH + "' " + args +
                                " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int status = std::system(command.c_str());
    RunResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = slurp(out);
    result.err = slurp(err);
    std::filesystem::remove_all(dir);
    return result;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

}  // namespace

TEST(CliShow, PrintsTheDefaultMainWindow) {
    // The start-up in an empty folder reports the eleven missing files and shows the defaults.
    const RunResult run = runCli("show");
    ASSERT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(lines(run.err).size(), 11u) << run.err;

    std::vector<std::string> names;
    std::map<std::string, std::string> values;
    for (const std::string& line : lines(run.out)) {
        const auto eq = line.find('=');
        ASSERT_NE(eq, std::string::npos) << line;
        names.push_back(line.substr(0, eq));
        values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    EXPECT_EQ(names.size(), values.size()) << "a control printed twice";
    ASSERT_GE(names.size(), 10u);
    EXPECT_EQ(names.front(), "Edit1");

    EXPECT_EQ(values["Edit1"], "64");
    EXPECT_EQ(values["Edit3"], "100000000");
    EXPECT_EQ(values["Edit5"], "390625.0");
    EXPECT_EQ(values["Edit6"], "10000000");
    EXPECT_EQ(values["Edit8"], "0x04000000");
    EXPECT_EQ(values["Edit4"], "1.0000000");
    EXPECT_EQ(values["Panel2"], "1.0000");
    EXPECT_EQ(values["Panel8"], "1.000");
    EXPECT_EQ(values["Panel12"], "1.266");
    EXPECT_EQ(values["Panel13"], "1.469");
    EXPECT_EQ(values["Panel20"], "512");
    EXPECT_EQ(values["Panel22"], "8");
    EXPECT_EQ(values["Panel1"], "sinc.cfg");
    EXPECT_EQ(values["Panel25"], "std.trv");
    EXPECT_EQ(values["ComboBox1"], "cfir_68");
    EXPECT_EQ(values["ComboBox2"], "4");  // AutoScale's pick
    EXPECT_EQ(values["ComboBox7"], "Канал 0");
    EXPECT_EQ(values["ComboBox11"], " 4 канала");
    EXPECT_EQ(values["ComboBox14"], "64");
    EXPECT_EQ(values["AutoScale"], "1");
    EXPECT_EQ(values["CheckBox9"], "0");
    EXPECT_EQ(values["TblEnbCFIR"], "1");

    // The order is stable from run to run.
    EXPECT_EQ(runCli("show").out, run.out);
}

TEST(CliShow, HelpAndBadCommands) {
    const RunResult help = runCli("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("show"), std::string::npos);

    const RunResult none = runCli("");
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_NE(none.err.find("usage"), std::string::npos);

    const RunResult unknown = runCli("frobnicate");
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("frobnicate"), std::string::npos);
    EXPECT_EQ(unknown.out, "");

    const RunResult extra = runCli("show now later");
    EXPECT_EQ(extra.exitCode, 2);
    EXPECT_EQ(extra.out, "");
}
