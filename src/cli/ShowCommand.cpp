// gc4016-cli show: the main window as it stands after the start-up in a working folder and,
// optionally, "Считать" of a configuration.
#include <functional>
#include <iostream>
#include <memory>
#include <string>

#include "appconfig/Workspace.h"
#include "cli/CliSupport.h"
#include "cli/CommandLine.h"

namespace gc::cli {

namespace {

struct ShowArgs {
    std::string workdir;
    std::string config;
};

int runShow(const ShowArgs& args) {
    const auto current = gc::appconfig::Workspace::atCurrentFolder();
    Engine engine(gc::appconfig::Workspace(args.workdir.empty() ? current.root()
                                                                : current.resolve(args.workdir)));
    engine.loadSave.start();
    // A configuration named on the command line is taken from the current folder.
    if (!args.config.empty()) engine.loadSave.loadConfiguration(current.resolve(args.config));
    writeMainState(std::cout, engine.state);
    return engine.ui.reportCount == 0 ? 0 : 1;
}

std::function<int()> declareShow(CLI::App& app) {
    auto args = std::make_shared<ShowArgs>();
    app.description(
        "Runs the start-up of the main window in DIR (default: the current folder): "
        "CONFIGS/std.trv,\n"
        "the chip configuration it names and its tap files from FILTERS/; then, if CONFIG.trv "
        "is\n"
        "given, \"Считать\" of it. Prints what every control of the main window shows, one\n"
        "NAME=TEXT line each.\n");
    addText(app, "--workdir", "DIR", args->workdir,
            "the working folder of the start-up (default: the current folder)");
    app.add_option("CONFIG.trv", args->config, "the configuration to read after the start-up");
    app.footer(
        "Reports go to the error stream, one line each. Exit status: 0 without reports, 1 with\n"
        "reports, 2 wrong usage.\n");
    return [args] { return runShow(*args); };
}

}  // namespace

extern const Command kShowCommand{
    "show", "print what the main window shows after the start-up in DIR [and \"Считать\"]",
    &declareShow};

}  // namespace gc::cli
