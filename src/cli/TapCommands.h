#pragma once
// What import-taps and export-taps share: the --kind option and the file kind of their reports.
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

}  // namespace gc::cli
