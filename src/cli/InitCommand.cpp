// gc4016-cli init: a working folder the configurator starts from without a single report:
// CONFIGS/std.trv and CONFIGS/sinc.cfg of the built-in defaults and FILTERS/ with the built-in
// coefficient sets as tap files.
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/WorkingFolder.h"
#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "cli/ExitCodes.h"

namespace gc::cli {

namespace {

struct InitArgs {
    std::string dir;
    bool force{false};
};

int runInit(const InitArgs& args) {
    const std::vector<gc::app::WorkingFolderFile> files = gc::app::workingFolderFiles(args.dir);
    if (!args.force) {
        const std::vector<std::string> existing = gc::app::existingFiles(files);
        for (const std::string& path : existing) std::cerr << "init: " << path << " exists\n";
        if (!existing.empty()) {
            std::cerr << "init: nothing written; --force overwrites\n";
            return kExitNotWritten;
        }
    }
    CliUi ui(std::cerr);
    const bool allWritten = gc::app::writeWorkingFolder(files, ui);
    return allWritten ? kExitOk : kExitNotWritten;
}

std::function<int()> declareInit(CLI::App& app) {
    auto args = std::make_shared<InitArgs>();
    app.description(
        "Makes DIR a working folder of the configurator:\n"
        "  DIR/CONFIGS/std.trv   the start-up configuration of the built-in defaults\n"
        "  DIR/CONFIGS/sinc.cfg  the chip configuration it names, built from the same defaults\n"
        "  DIR/FILTERS/NAME.taps every built-in CFIR, PFIR and resampler set whose taps fit the\n"
        "                        chip's coefficient width (16 bits CFIR/PFIR, 12 bits "
        "resampler)\n");
    app.add_option_function<std::string>(
           "DIR",
           [args](const std::string& dir) {
               if (dir.empty()) throw UsageError("DIR needs a folder");
               args->dir = dir;
           },
           "the folder")
        ->required();
    app.add_flag("--force", args->force, "overwrite existing files (by default none is)");
    app.footer("Exit status: 0 written, 1 a file exists or cannot be written, 2 wrong usage.\n");
    return [args] { return runInit(*args); };
}

}  // namespace

extern const Command kInitCommand{
    "init", "make DIR a working folder: CONFIGS/std.trv, CONFIGS/sinc.cfg and FILTERS/*.taps",
    &declareInit};

}  // namespace gc::cli
