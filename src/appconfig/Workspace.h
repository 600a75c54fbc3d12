#pragma once
// The working folder of the run and the names built from it. The program never changes its
// current folder: names read from files or typed by the user are resolved against the folder
// that was current at start, and the name as given is kept for the error windows.
#include <string>

namespace gc::appconfig {

// A file name as the program was given it ("CONFIGS/std.trv") and where it lies.
struct WorkspacePath {
    std::string asGiven;   // shown in error windows
    std::string resolved;  // opened and written
};

class Workspace {
  public:
    // `root` is the working folder; relative names are resolved against it.
    explicit Workspace(std::string root);
    // The process's current folder, read once; "." if it cannot be read.
    [[nodiscard]] static Workspace atCurrentFolder();

    [[nodiscard]] const std::string& root() const { return root_; }
    // `relative` joined to the working folder with "/"; an absolute path passes through.
    [[nodiscard]] std::string resolve(const std::string& relative) const;
    [[nodiscard]] WorkspacePath path(const std::string& asGiven) const;

  private:
    std::string root_;
};

// Folders relative to the working folder, with their trailing "/".
[[nodiscard]] std::string configsDir();  // "CONFIGS/"
[[nodiscard]] std::string filtersDir();  // "FILTERS/"

// The text after the last "/" (the whole path when it has none).
[[nodiscard]] std::string bareName(const std::string& path);
// The text up to and including the last "/" (empty when there is none).
[[nodiscard]] std::string folderOf(const std::string& path);
// Everything from the last "." of the file name on replaced by `extension` (".cfg"):
// "a.b.trv" -> "a.b.cfg"; a name without a dot gets `extension` appended. Dots in the folder
// part of a path are left alone.
[[nodiscard]] std::string replaceExtension(const std::string& name, const std::string& extension);
// The tap-file folder that belongs to a configuration loaded from `configPath`: the
// "FILTERS" folder beside the configuration's folder.
[[nodiscard]] std::string siblingFilters(const std::string& configPath);

}  // namespace gc::appconfig
