#pragma once
// A working folder the configurator starts from without a single report: CONFIGS/std.trv and
// the chip configuration it names, built from the defaults, and FILTERS/ with the built-in
// coefficient sets as tap files. Made by "gc4016-cli init" and offered by the window program
// when it starts in a folder without CONFIGS/std.trv.
#include <string>
#include <vector>

#include "app/UiPort.h"
#include "appconfig/Reports.h"

namespace gc::app {

struct WorkingFolderFile {
    std::string path;  // `dir` + "/CONFIGS/..." or "/FILTERS/..."
    std::string text;
    gc::appconfig::FileKind kind;
};

// The files of a working folder in `dir`, in writing order.
[[nodiscard]] std::vector<WorkingFolderFile> workingFolderFiles(const std::string& dir);

// Files of `files` that exist already (or cannot be looked at).
[[nodiscard]] std::vector<std::string> existingFiles(const std::vector<WorkingFolderFile>& files);

// Makes the folders and writes every file atomically; each file not written is reported
// through `ui` (TErrFileCoeff with the system's reason). True when all were written.
bool writeWorkingFolder(const std::vector<WorkingFolderFile>& files, UiPort& ui);

}  // namespace gc::app
