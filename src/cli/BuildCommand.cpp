// gc4016-cli build: the chip files of a saved configuration, made the way "Считать" followed by
// "Записать" makes them, without the start-up files.
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "appconfig/Workspace.h"
#include "cli/CliSupport.h"

namespace gc::cli {

namespace {

constexpr int kOk = 0;
constexpr int kNotWritten = 1;
constexpr int kUsage = 2;
constexpr int kRefused = 3;

constexpr const char* kBuildUsage =
    "usage: gc4016-cli build CONFIG.trv --out DIR [--file-source LIST]\n"
    "\n"
    "Starts from the built-in defaults (no start-up files), reads CONFIG.trv with the chip\n"
    "configuration it names (from its folder) and its tap files (from \"../FILTERS/\" beside\n"
    "it), then saves NAME.trv, NAME.cfg and NAME.prg into DIR under the base name of CONFIG.\n"
    "\n"
    "  --out DIR          folder of the written files (made if it does not exist)\n"
    "  --file-source LIST the filters whose taps come from the tap files, a comma-separated\n"
    "                     choice of cfir, pfir, rfir; the others use the built-in tables\n"
    "\n"
    "Reports go to the error stream, one line each, and the build goes on as the window's\n"
    "\"Считать\" does. Exit status: 0 written, 1 a file cannot be written, 2 wrong usage,\n"
    "3 a save-time check refused (nothing written).\n";

int usageError(const std::string& message) {
    std::cerr << "build: " << message << "\n\n" << kBuildUsage;
    return kUsage;
}

int runBuild(const std::vector<std::string>& args) {
    std::string config;
    std::string out;
    FileSources sources;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kBuildUsage;
            return kOk;
        }
        if (arg == "--out" || arg == "--file-source") {
            if (i + 1 >= args.size()) return usageError(arg + " needs a value");
            const std::string& value = args[++i];
            if (arg == "--out") {
                if (value.empty()) return usageError("--out needs a folder");
                out = value;
            } else if (!parseFileSources(value, sources)) {
                return usageError("--file-source takes cfir, pfir, rfir: \"" + value + "\"");
            }
        } else if (!arg.empty() && arg.front() == '-') {
            return usageError("unknown option " + arg);
        } else if (config.empty()) {
            config = arg;
        } else {
            return usageError("one configuration only, extra: " + arg);
        }
    }
    if (config.empty()) return usageError("no configuration file given");
    if (out.empty()) return usageError("--out DIR is required");

    Engine engine(gc::appconfig::Workspace::atCurrentFolder());
    engine.loadFromDefaults(config, sources);
    if (!engine.presenter.runSaveChecks()) return kRefused;

    std::error_code ignored;  // a folder that cannot be made shows up as files not written
    std::filesystem::create_directories(out, ignored);
    const std::string target = out + "/" + gc::appconfig::bareName(config);
    return engine.loadSave.saveConfiguration(target) ? kOk : kNotWritten;
}

}  // namespace

extern const Command kBuildCommand{
    "build", "read CONFIG.trv with its chip and tap files, write NAME.trv/.cfg/.prg into DIR",
    &runBuild};

}  // namespace gc::cli
