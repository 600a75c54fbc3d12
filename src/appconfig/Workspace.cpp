#include "appconfig/Workspace.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace gc::appconfig {

Workspace::Workspace(std::string root) : root_(std::move(root)) {
    if (root_.empty()) root_ = ".";
}

Workspace Workspace::atCurrentFolder() {
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    return Workspace(error ? std::string(".") : current.generic_string());
}

std::string Workspace::resolve(const std::string& relative) const {
    if (relative.empty()) return root_;
    if (std::filesystem::path(relative).is_absolute() || relative.front() == '/') return relative;
    if (root_.back() == '/') return root_ + relative;
    return root_ + "/" + relative;
}

WorkspacePath Workspace::path(const std::string& asGiven) const {
    return WorkspacePath{asGiven, resolve(asGiven)};
}

std::string configsDir() { return "CONFIGS/"; }

std::string filtersDir() { return "FILTERS/"; }

std::string bareName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string replaceExtension(const std::string& name, const std::string& extension) {
    const size_t nameStart = folderOf(name).size();
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot < nameStart) return name + extension;
    return name.substr(0, dot) + extension;
}

std::string siblingFilters(const std::string& configPath) {
    return folderOf(configPath) + "../" + filtersDir();
}

}  // namespace gc::appconfig
