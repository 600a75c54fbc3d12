#pragma once
// A fresh working folder: the start-up configuration and the chip configuration of the
// built-in defaults, and the built-in coefficient sets as tap files, so that the program starts
// there without a single report. Made by "gc4016-cli init" and by the window program's
// --home-folder on its first start.
#include <string>
#include <vector>

#include "app/UiPort.h"
#include "appconfig/Reports.h"

namespace gc::app {

struct FolderFile {
    std::string path;  // DIR/CONFIGS/std.trv, DIR/FILTERS/NAME.taps, ...
    std::string text;
    gc::appconfig::FileKind kind;  // how a failed write is reported
};

// The files of a working folder in `dir`: CONFIGS/std.trv, CONFIGS/<its chip configuration>
// and FILTERS/NAME.taps of every built-in CFIR, PFIR and resampler set whose taps fit the chip's
// coefficient width (16 bits CFIR/PFIR, 12 bits resampler).
[[nodiscard]] std::vector<FolderFile> workingFolderFiles(const std::string& dir);

// Makes DIR/CONFIGS and DIR/FILTERS and writes `files` (each replaced atomically). Every file
// that cannot be written is reported through `ui` with the system's reason; true when all were
// written.
bool writeWorkingFolder(const std::string& dir, const std::vector<FolderFile>& files, UiPort& ui);

}  // namespace gc::app
