// gc4016-cli build: the chip files of a saved configuration, made the way "Считать" followed by
// "Записать" makes them, without the start-up files.
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "appconfig/ConfigFile.h"
#include "appconfig/Workspace.h"
#include "cli/CliSupport.h"
#include "cli/ExitCodes.h"

namespace gc::cli {

namespace {

constexpr const char* kBuildUsage =
    "usage: gc4016-cli build CONFIG.trv --out DIR [--file-source LIST]\n"
    "\n"
    "Starts from the built-in defaults (no start-up files), reads CONFIG.trv with the chip\n"
    "configuration it names (from its folder) and its tap files (from \"../FILTERS/\" beside\n"
    "it), then saves NAME.trv, NAME.cfg and NAME.prg into DIR under the base name of CONFIG.\n"
    "The channel requirement NAME.req beside CONFIG, when there is one, is saved with them;\n"
    "without one an old NAME.req in DIR is removed.\n"
    "\n"
    "  --out DIR          folder of the written files (made if it does not exist)\n"
    "  --file-source LIST the filters whose taps come from the tap files, a comma-separated\n"
    "                     choice of cfir, pfir, rfir; the others use the built-in tables\n"
    "\n"
    "Reports go to the error stream, one line each. A missing or damaged CONFIG writes nothing;\n"
    "any other missing or damaged file is reported and the build goes on as the window's\n"
    "\"Считать\" does, then exits with 5. The files replace their old versions as one\n"
    "set: if one cannot be written, none is.\n"
    "\n";

void printUsage(std::ostream& out) { out << localisedHelp(kBuildUsage) << kExitStatusHelp; }

int usageError(const std::string& message) {
    std::cerr << "build: " << message << "\n\n";
    printUsage(std::cerr);
    return kExitUsage;
}

int runBuild(const std::vector<std::string>& args) {
    std::string config;
    std::string out;
    FileSources sources;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            printUsage(std::cout);
            return kExitOk;
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
    if (namesFolder(config)) return usageError("CONFIG names a folder, not a file: " + config);
    std::error_code error;

    Engine engine(gc::appconfig::Workspace::atCurrentFolder());
    chooseSources(engine.state, sources);
    engine.presenter.startWithDefaults();
    const gc::app::LoadSave::LoadResult loaded = engine.loadSave.loadConfiguration(config);
    if (loaded.configuration != gc::appconfig::ConfigReadStatus::Ok) return kExitBadInput;
    if (!engine.presenter.runSaveChecks()) return kExitRefused;

    std::filesystem::create_directories(out, error);  // a failure shows up as files not written
    const std::string target = out + "/" + gc::appconfig::bareName(config);
    if (!engine.loadSave.saveConfiguration(target)) return kExitNotWritten;
    return loaded.otherFilesReported > 0 ? kExitBadInput : kExitOk;
}

}  // namespace

extern const Command kBuildCommand{
    "build", "read CONFIG.trv with its chip and tap files, write NAME.trv/.cfg/.prg into DIR",
    &runBuild};

}  // namespace gc::cli
