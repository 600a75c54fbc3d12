#include "cli/CliSupport.h"

namespace gc::cli {

// Each command is defined in its own file (ShowCommand.cpp defines kShowCommand, ...). A new
// command is its file, its declaration here and its line in the list.
extern const Command kBuildCommand;
extern const Command kDesignCommand;
extern const Command kInitCommand;
extern const Command kMeasureCommand;
extern const Command kResponseCommand;
extern const Command kShowCommand;

// Every command of gc4016-cli, in the order the help lists them (by name).
const std::vector<Command>& commands() {
    static const std::vector<Command> list{
        kBuildCommand,   kDesignCommand,   kInitCommand,
        kMeasureCommand, kResponseCommand, kShowCommand,
    };
    return list;
}

}  // namespace gc::cli
