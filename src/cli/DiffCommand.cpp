// gc4016-cli diff: what differs between two configurations, field by field, as diff tells it:
// nothing and 0 when they are the same, the differences and 1 otherwise.
#include <functional>
#include <iostream>
#include <memory>
#include <string>

#include "app/ConfigurationDiff.h"
#include "appconfig/ConfigFile.h"
#include "appconfig/Workspace.h"
#include "chip/ChipConfigFile.h"
#include "chip/RegisterImage.h"
#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "cli/ExitCodes.h"

namespace gc::cli {

namespace {

struct DiffArgs {
    std::string a;
    std::string b;
};

// The configuration file and the chip configuration file as "Записать" would write them.
struct Written {
    bool read{false};
    int otherReports{0};
    std::string configuration;
    std::string chip;
};

Written loadAndWrite(const std::string& config) {
    Engine engine(gc::appconfig::Workspace::atCurrentFolder());
    engine.presenter.startWithDefaults();
    const gc::app::LoadSave::LoadResult loaded = engine.loadSave.loadConfiguration(config);
    Written w;
    w.read = loaded.configuration == gc::appconfig::ConfigReadStatus::Ok;
    w.otherReports = loaded.otherFilesReported;
    gc::model::ConfigurationModel copy = engine.session.model;
    w.configuration = gc::appconfig::configurationText(copy);
    gc::chip::buildRegisterImage(engine.session.model, engine.session.image);
    w.chip = gc::chip::chipConfigurationText(engine.session.image);
    return w;
}

void printDifferences(const char* where, const std::string& a, const std::string& b) {
    for (const gc::app::FieldDifference& d : gc::app::fieldDifferences(a, b)) {
        std::cout << where << ' ' << d.name << ": " << (d.inA ? d.a : "(none)") << " -> "
                  << (d.inB ? d.b : "(none)") << '\n';
    }
}

int runDiff(const DiffArgs& args) {
    const Written a = loadAndWrite(args.a);
    const Written b = loadAndWrite(args.b);
    if (!a.read || !b.read) return kExitBadInput;
    const bool same = a.configuration == b.configuration && a.chip == b.chip;
    printDifferences("model", a.configuration, b.configuration);
    printDifferences("register", a.chip, b.chip);
    if (a.otherReports + b.otherReports > 0) return kExitBadInput;
    return same ? kExitOk : kExitDifferent;
}

std::function<int()> declareDiff(CLI::App& app) {
    auto args = std::make_shared<DiffArgs>();
    app.description(
        "Reads A.trv and B.trv the way \"build\" does (built-in defaults, then each configuration\n"
        "with its chip configuration and its tap files) and prints every field whose value\n"
        "differs, one line each:\n"
        "  model NAME: VALUE_IN_A -> VALUE_IN_B      a setting of the configuration file\n"
        "  register NAME: VALUE_IN_A -> VALUE_IN_B   a register field of the chip configuration\n"
        "Fields of a channel are named \"Channel N KEY\", the others by their key; \"(none)\" "
        "marks\n"
        "a field one side does not hold. Equal fields are not printed.\n");
    addConfigArgument(app, args->a, "A.trv");
    addConfigArgument(app, args->b, "B.trv");
    app.footer(
        "Reports go to the error stream, one line each. Exit status, as diff gives it: 0 the\n"
        "same, 1 different, 2 wrong usage, 5 a configuration is missing or damaged (nothing\n"
        "printed), or another of their files (reported; the differences still printed).\n");
    return [args] { return runDiff(*args); };
}

}  // namespace

extern const Command kDiffCommand{
    "diff", "list the settings and register fields in which two configurations differ",
    &declareDiff};

}  // namespace gc::cli
