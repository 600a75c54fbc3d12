// gc4016-cli show: the main window as it stands after the start-up in a working folder and,
// optionally, "Считать" of a configuration.
#include <iostream>
#include <string>
#include <vector>

#include "appconfig/Workspace.h"
#include "cli/CliSupport.h"

namespace gc::cli {

namespace {

constexpr const char* kShowUsage =
    "usage: gc4016-cli show [--workdir DIR] [CONFIG.trv]\n"
    "\n"
    "Runs the start-up of the main window in DIR (default: the current folder): CONFIGS/std.trv,\n"
    "the chip configuration it names and its tap files from FILTERS/; then, if CONFIG.trv is\n"
    "given, \"Считать\" of it. Prints what every control of the main window shows, one\n"
    "NAME=TEXT line each. Reports go to the error stream, one line each. Exit status: 0 without\n"
    "reports, 1 with reports, 2 wrong usage.\n";

int showUsageError(const std::string& message) {
    std::cerr << "show: " << message << "\n\n" << localisedHelp(kShowUsage);
    return 2;
}

int runShow(const std::vector<std::string>& args) {
    std::string workdir;
    std::string config;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << localisedHelp(kShowUsage);
            return 0;
        }
        if (arg == "--workdir") {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return showUsageError("--workdir needs a folder");
            workdir = args[++i];
        } else if (!arg.empty() && arg.front() == '-') {
            return showUsageError("unknown option " + arg);
        } else if (config.empty()) {
            config = arg;
        } else {
            return showUsageError("one configuration only, extra: " + arg);
        }
    }

    const auto current = gc::appconfig::Workspace::atCurrentFolder();
    Engine engine(
        gc::appconfig::Workspace(workdir.empty() ? current.root() : current.resolve(workdir)));
    engine.loadSave.start();
    // A configuration named on the command line is taken from the current folder.
    if (!config.empty()) engine.loadSave.loadConfiguration(current.resolve(config));
    writeMainState(std::cout, engine.state);
    return engine.ui.reportCount == 0 ? 0 : 1;
}

}  // namespace

extern const Command kShowCommand{
    "show", "print what the main window shows after the start-up in DIR [and \"Считать\"]",
    &runShow};

}  // namespace gc::cli
