#pragma once
// Exit status of every gc4016-cli command, so that a script can tell the outcomes apart.
namespace gc::cli {

inline constexpr int kExitOk = 0;          // done: every file read and written
inline constexpr int kExitNotWritten = 1;  // an output file cannot be written
inline constexpr int kExitDifferent = 1;   // diff: the configurations differ
inline constexpr int kExitUsage = 2;       // wrong usage: unknown option, missing argument...
inline constexpr int kExitRefused = 3;     // a save-time check refused; nothing written
// measure: a given limit of the requirement fails; design: the best design misses it (its files
// are still written).
inline constexpr int kExitLimitFailed = 4;
// An input file is missing or damaged. When it is the configuration named on the command line,
// nothing is written; any other input (chip configuration, tap files) is reported and the
// command still does what the desktop program would do with the rest.
inline constexpr int kExitBadInput = 5;

// The same, as the help texts print them.
inline constexpr const char* kExitStatusHelp =
    "Exit status (each command's --help tells which it gives):\n"
    "  0  done\n"
    "  1  an output file cannot be written (reported with the system's reason);\n"
    "     diff: the configurations differ; simulate: stopped by Ctrl-C\n"
    "  2  wrong usage\n"
    "  3  a save-time check refused; nothing written\n"
    "  4  measure: a limit of the requirement fails; design: the best design misses it\n"
    "  5  an input file is missing or damaged: the configuration itself (nothing written), or\n"
    "     another input such as the chip configuration or a tap file (the rest still written)\n";

}  // namespace gc::cli
