#include <algorithm>

#include "cli/CommandLine.h"

namespace gc::cli {

// Each command is defined in its own file (ShowCommand.cpp defines kShowCommand, ...); a new
// command is its file, its declaration and its entry here. The help lists them by name.
extern const Command kBuildCommand;
extern const Command kDesignCommand;
extern const Command kDiffCommand;
extern const Command kExportTapsCommand;
extern const Command kImportTapsCommand;
extern const Command kInitCommand;
extern const Command kLevelsCommand;
extern const Command kMeasureCommand;
extern const Command kResponseCommand;
extern const Command kShowCommand;
extern const Command kSimulateCommand;

const std::vector<const Command*>& commands() {
    static const std::vector<const Command*> list = [] {
        // clang-format off
        std::vector<const Command*> all{
            &kBuildCommand,
            &kDesignCommand,
            &kDiffCommand,
            &kExportTapsCommand,
            &kImportTapsCommand,
            &kInitCommand,
            &kLevelsCommand,
            &kMeasureCommand,
            &kResponseCommand,
            &kShowCommand,
            &kSimulateCommand,
        };
        // clang-format on
        std::sort(all.begin(), all.end(),
                  [](const Command* a, const Command* b) { return a->name < b->name; });
        return all;
    }();
    return list;
}

}  // namespace gc::cli
