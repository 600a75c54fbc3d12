#include "appconfig/RequirementFile.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "appconfig/Workspace.h"
#include "model/TextFile.h"

namespace gc::appconfig {

using gc::analysis::Requirement;

namespace {

constexpr const char* kHeader = "*** Channel requirement ***";

struct Key {
    const char* name;
    bool required;
};
// In file order.
constexpr Key kKeys[] = {{"PassbandHz=", true},
                         {"StopbandHz=", false},
                         {"RippleMaxDb=", false},
                         {"StopbandMinDb=", false},
                         {"AliasRejectionMinDb=", false}};
constexpr int kKeyCount = 5;

std::optional<double>* slot(Requirement& r, std::optional<double>& passband, int key) {
    switch (key) {
        case 0:
            return &passband;
        case 1:
            return &r.stopbandHz;
        case 2:
            return &r.rippleMaxDb;
        case 3:
            return &r.stopbandMinDb;
        default:
            return &r.aliasRejectionMinDb;
    }
}

std::string shortest(double v) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

// A value as the writer writes it: the number, then nothing or blanks.
std::optional<double> parseValue(const std::string& text) {
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    double v = 0.0;
    const auto res = std::from_chars(begin, end, v);
    if (res.ec != std::errc() || res.ptr == begin) return std::nullopt;
    for (const char* p = res.ptr; p != end; ++p)
        if (*p != ' ') return std::nullopt;
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

}  // namespace

std::string requirementPath(const std::string& configPath) {
    return replaceExtension(configPath, ".req");
}

std::string requirementText(const Requirement& requirement) {
    std::string text = std::string(kHeader) + "\n";
    Requirement copy = requirement;
    std::optional<double> passband = requirement.passbandHz;
    for (int k = 0; k < kKeyCount; ++k) {
        const std::optional<double>* v = slot(copy, passband, k);
        if (*v) text += std::string(kKeys[k].name) + " " + shortest(**v) + " \n";
    }
    return text;
}

bool writeRequirement(const std::string& path, const Requirement& requirement) {
    return static_cast<bool>(gc::model::writeFileAtomically(path, requirementText(requirement)));
}

RequirementReadStatus parseRequirement(const std::string& text, Requirement& requirement) {
    const std::vector<std::string> lines = gc::model::splitLines(text);
    if (lines.empty() || lines[0] != kHeader) return RequirementReadStatus::Damaged;
    Requirement read;
    std::optional<double> passband;
    int next = 0;  // keys before this one are behind us
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty() && i + 1 == lines.size()) break;
        int found = -1;
        for (int k = next; k < kKeyCount; ++k) {
            if (line.compare(0, std::char_traits<char>::length(kKeys[k].name), kKeys[k].name) ==
                0) {
                found = k;
                break;
            }
        }
        if (found < 0) return RequirementReadStatus::Damaged;
        const size_t keyLength = std::char_traits<char>::length(kKeys[found].name);
        if (line.size() <= keyLength || line[keyLength] != ' ')
            return RequirementReadStatus::Damaged;
        const std::optional<double> v = parseValue(line.substr(keyLength + 1));
        if (!v) return RequirementReadStatus::Damaged;
        *slot(read, passband, found) = v;
        next = found + 1;
    }
    if (!passband) return RequirementReadStatus::Damaged;
    read.passbandHz = *passband;
    requirement = read;
    return RequirementReadStatus::Ok;
}

RequirementReadStatus readRequirement(const std::string& path, Requirement& requirement) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) return RequirementReadStatus::Missing;
    if (!std::filesystem::is_regular_file(status)) return RequirementReadStatus::Damaged;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > static_cast<std::uintmax_t>(kRequirementFileMax))
        return RequirementReadStatus::Damaged;
    const std::optional<std::string> bytes = gc::model::readFileBytes(path);
    if (!bytes) return RequirementReadStatus::Missing;
    if (bytes->size() > static_cast<size_t>(kRequirementFileMax))
        return RequirementReadStatus::Damaged;
    return parseRequirement(*bytes, requirement);
}

bool removeRequirement(const std::string& path) {
    std::error_code ec;
    // A folder of that name is no requirement file and not ours to delete, even when empty.
    if (std::filesystem::is_directory(std::filesystem::symlink_status(path, ec))) return false;
    std::filesystem::remove(path, ec);
    return !ec && !std::filesystem::exists(path, ec);
}

}  // namespace gc::appconfig
