#include "cli/CliSupport.h"

namespace gc::cli {

// Every command of gc4016-cli, in the order the help lists them (by name). A new command is
// its own file defining a Command and one line here and in CliSupport.h.
const std::vector<Command>& commands() {
    static const std::vector<Command> list{
        kBuildCommand,
        kInitCommand,
        kResponseCommand,
        kShowCommand,
    };
    return list;
}

}  // namespace gc::cli
