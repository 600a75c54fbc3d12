// gc4016-cli build: the chip files of a saved configuration, made the way "Считать" followed by
// "Записать" makes them, without the start-up files.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <system_error>

#include "appconfig/ConfigFile.h"
#include "appconfig/Workspace.h"
#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "cli/ExitCodes.h"

namespace gc::cli {

namespace {

struct BuildArgs {
    std::string config;
    std::string out;
    FileSources sources;
};

int runBuild(const BuildArgs& args) {
    Engine engine(gc::appconfig::Workspace::atCurrentFolder());
    const gc::app::LoadSave::LoadResult loaded = engine.loadFromDefaults(args.config, args.sources);
    if (loaded.configuration != gc::appconfig::ConfigReadStatus::Ok) return kExitBadInput;
    if (!engine.presenter.runSaveChecks()) return kExitRefused;

    std::error_code error;  // a folder that cannot be made shows up as files not written
    std::filesystem::create_directories(args.out, error);
    const std::string target = args.out + "/" + gc::appconfig::bareName(args.config);
    if (!engine.loadSave.saveConfiguration(target)) return kExitNotWritten;
    return loaded.otherFilesReported > 0 ? kExitBadInput : kExitOk;
}

std::function<int()> declareBuild(CLI::App& app) {
    auto args = std::make_shared<BuildArgs>();
    app.description(
        "Starts from the built-in defaults (no start-up files), reads CONFIG.trv with the chip\n"
        "configuration it names (from its folder) and its tap files (from \"../FILTERS/\" beside\n"
        "it), then saves NAME.trv, NAME.cfg and NAME.prg into DIR under the base name of CONFIG.\n"
        "The channel requirement NAME.req beside CONFIG, when there is one, is saved with them;\n"
        "without one an old NAME.req in DIR is removed. The file-source choice NAME.src beside\n"
        "CONFIG (as --file-source changes it) is saved the same way: NAME.src in DIR when some\n"
        "filter takes its taps from its tap file, an old one removed when none does.\n");
    addConfigArgument(app, args->config);
    addText(app, "--out", "DIR", args->out,
            "folder of the written files (made if it does not exist)")
        ->required();
    addFileSources(app, args->sources);
    app.footer(
        std::string("Reports go to the error stream, one line each. A missing or damaged CONFIG "
                    "writes nothing;\n"
                    "any other missing or damaged file is reported and the build goes on as the "
                    "window's\n"
                    "\"Считать\" does, then exits with 5. The files replace their old versions as "
                    "one\n"
                    "set: if one cannot be written, none is.\n\n") +
        kExitStatusHelp);
    return [args] { return runBuild(*args); };
}

}  // namespace

extern const Command kBuildCommand{
    "build", "read CONFIG.trv with its chip and tap files, write NAME.trv/.cfg/.prg into DIR",
    &declareBuild};

}  // namespace gc::cli
