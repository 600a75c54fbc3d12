#pragma once
// Runs gc4016-cli as a separate process and collects its exit status and output.
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/LoadSaveTestSupport.h"

namespace gc::cli::testing {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

inline std::string quoted(const std::string& text) {
    std::string q = "'";
    for (const char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs the tool with `args` in the folder `cwd`; its output goes through files in `scratch`.
inline CliRun runCli(const gc::app::testing::TempFolder& scratch, const std::string& cwd,
                     const std::vector<std::string>& args) {
    std::string command = "cd " + quoted(cwd) + " && " + quoted(GC_CLI_PATH);
    for (const std::string& arg : args) command += " " + quoted(arg);
    const std::string out = scratch / "stdout.txt";
    const std::string err = scratch / "stderr.txt";
    command += " >" + quoted(out) + " 2>" + quoted(err);
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, gc::app::testing::fileText(out),
            gc::app::testing::fileText(err)};
}

}  // namespace gc::cli::testing
