// gc4016-cli: the configurator's engine without a window. Each command lives in its own file;
// the list of commands is cli/Commands.cpp.
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/ExitCodes.h"

namespace {

void printUsage(std::ostream& out) {
    out << "usage: gc4016-cli [--lang en|ru] COMMAND [ARGUMENTS]\n"
           "       gc4016-cli --help\n\n"
           "--lang chooses the language of the reports and of the main window's texts (default\n"
           "ru); the files written are the same in both.\n\n"
           "commands:\n";
    for (const gc::cli::Command& command : gc::cli::commands())
        out << "  " << command.name << "  " << gc::cli::localisedHelp(command.summary) << '\n';
    out << "\n" << gc::cli::kExitStatusHelp;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string languageError;
    if (!gc::cli::takeLanguageOption(args, languageError)) {
        std::cerr << "gc4016-cli: " << languageError << "\n";
        return gc::cli::kExitUsage;
    }
    if (args.empty()) {
        printUsage(std::cerr);
        return gc::cli::kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printUsage(std::cout);
        return gc::cli::kExitOk;
    }
    for (const gc::cli::Command& command : gc::cli::commands()) {
        if (command.name == args[0])
            return command.run(std::vector<std::string>(args.begin() + 1, args.end()));
    }
    std::cerr << "gc4016-cli: unknown command \"" << args[0] << "\"\n";
    printUsage(std::cerr);
    return gc::cli::kExitUsage;
}
