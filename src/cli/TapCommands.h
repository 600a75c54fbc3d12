#pragma once
// What import-taps and export-taps share: the --kind option and the report lines of tap files.
#include <string>
#include <vector>

#include "appconfig/Reports.h"
#include "cli/CommandLine.h"
#include "filters/TapFiles.h"

namespace gc::cli {

// --kind cfir|pfir|resampler.
CLI::Option* addTapKind(CLI::App& app, gc::filters::TapKind& kind);

// The file kind of reports on tap files of `kind`.
[[nodiscard]] gc::appconfig::FileKind tapFileKind(gc::filters::TapKind kind);

// Labels joined by blanks, one line on the error stream, as the window's reports are printed.
void printReport(const std::vector<std::string>& labels);

}  // namespace gc::cli
