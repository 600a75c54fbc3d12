#include "appconfig/TapSourceFile.h"

#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "appconfig/Workspace.h"
#include "model/TextFile.h"

namespace gc::appconfig {

namespace {

constexpr const char* kHeader = "*** Tap sources ***";
constexpr const char* kTable = "table";
constexpr const char* kFile = "file";

struct Key {
    const char* name;
    bool TapSources::*field;
};
// In file order.
constexpr Key kKeys[] = {{"CFIR=", &TapSources::cfirFromFile},
                         {"PFIR=", &TapSources::pfirFromFile},
                         {"RFIR=", &TapSources::resamplerFromFile}};

// "table" or "file" after the key and one blank, blanks after it allowed.
std::optional<bool> parseValue(const std::string& line, const std::string& key) {
    if (line.compare(0, key.size(), key) != 0 || line.size() <= key.size() ||
        line[key.size()] != ' ')
        return std::nullopt;
    std::string value = line.substr(key.size() + 1);
    const auto end = value.find_last_not_of(' ');
    value.erase(end == std::string::npos ? 0 : end + 1);
    if (value == kTable) return false;
    if (value == kFile) return true;
    return std::nullopt;
}

}  // namespace

std::string tapSourcePath(const std::string& configPath) {
    return replaceExtension(configPath, ".src");
}

std::string tapSourceText(const TapSources& sources) {
    std::string text = std::string(kHeader) + "\n";
    for (const Key& key : kKeys)
        text += std::string(key.name) + " " + (sources.*key.field ? kFile : kTable) + "\n";
    return text;
}

TapSourceReadStatus parseTapSources(const std::string& text, TapSources& sources) {
    std::vector<std::string> lines = gc::model::splitLines(text);
    if (!lines.empty() && lines.back().empty()) lines.pop_back();  // the last line end
    if (lines.size() != 1 + std::size(kKeys) || lines[0] != kHeader)
        return TapSourceReadStatus::Damaged;
    TapSources read;
    for (size_t k = 0; k < std::size(kKeys); ++k) {
        const std::optional<bool> fromFile = parseValue(lines[k + 1], kKeys[k].name);
        if (!fromFile) return TapSourceReadStatus::Damaged;
        read.*kKeys[k].field = *fromFile;
    }
    sources = read;
    return TapSourceReadStatus::Ok;
}

TapSourceReadStatus readTapSources(const std::string& path, TapSources& sources) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) return TapSourceReadStatus::Missing;
    if (!std::filesystem::is_regular_file(status)) return TapSourceReadStatus::Damaged;
    const std::optional<std::string> bytes =
        gc::model::readFileBytes(path, static_cast<std::size_t>(kTapSourceFileMax));
    if (!bytes) return TapSourceReadStatus::Damaged;
    return parseTapSources(*bytes, sources);
}

}  // namespace gc::appconfig
