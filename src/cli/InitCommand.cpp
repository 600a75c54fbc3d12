// gc4016-cli init: a working folder the configurator starts from without a single report:
// CONFIGS/std.trv and CONFIGS/sinc.cfg of the built-in defaults and FILTERS/ with the built-in
// coefficient sets as tap files.
#include <iostream>
#include <string>
#include <vector>

#include "app/WorkingFolder.h"
#include "cli/CliSupport.h"
#include "cli/ExitCodes.h"

namespace gc::cli {

namespace {

constexpr const char* kInitUsage =
    "usage: gc4016-cli init DIR [--force]\n"
    "\n"
    "Makes DIR a working folder of the configurator:\n"
    "  DIR/CONFIGS/std.trv   the start-up configuration of the built-in defaults\n"
    "  DIR/CONFIGS/sinc.cfg  the chip configuration it names, built from the same defaults\n"
    "  DIR/FILTERS/NAME.taps every built-in CFIR, PFIR and resampler set whose taps fit the\n"
    "                        chip's coefficient width (16 bits CFIR/PFIR, 12 bits resampler)\n"
    "\n"
    "Existing files are not overwritten unless --force is given. Exit status: 0 written,\n"
    "1 a file exists or cannot be written, 2 wrong usage.\n";

int usageError(const std::string& message) {
    std::cerr << "init: " << message << "\n\n" << kInitUsage;
    return kExitUsage;
}

int runInit(const std::vector<std::string>& args) {
    std::string dir;
    bool force = false;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::cout << kInitUsage;
            return kExitOk;
        }
        if (arg == "--force") {
            force = true;
        } else if (!arg.empty() && arg.front() == '-') {
            return usageError("unknown option " + arg);
        } else if (dir.empty()) {
            dir = arg;
        } else {
            return usageError("one folder only, extra: " + arg);
        }
    }
    if (dir.empty()) return usageError("no folder given");

    const std::vector<gc::app::WorkingFolderFile> files = gc::app::workingFolderFiles(dir);
    if (!force) {
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

}  // namespace

extern const Command kInitCommand{
    "init", "make DIR a working folder: CONFIGS/std.trv, CONFIGS/sinc.cfg and FILTERS/*.taps",
    &runInit};

}  // namespace gc::cli
