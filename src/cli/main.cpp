// gc4016-cli: the configurator's engine without a window. Each command lives in its own file;
// the list of commands is cli/Commands.cpp, the command line cli/CommandLine.cpp.
#include "cli/CommandLine.h"

int main(int argc, char** argv) { return gc::cli::runCommandLine(argc, argv); }
