#include "model/Language.h"

#include <unordered_map>

namespace gc::model {
namespace {

Language& current() {
    static Language chosen = Language::Russian;
    return chosen;
}

const std::unordered_map<std::string_view, std::string_view>& englishIndex() {
    static const auto index = [] {
        std::unordered_map<std::string_view, std::string_view> m;
        for (const Translation& t : englishTable()) m.emplace(t.source, t.text);
        return m;
    }();
    return index;
}

}  // namespace

void setLanguage(Language language) { current() = language; }

Language language() { return current(); }

std::optional<Language> languageFromCode(std::string_view code) {
    if (code == "ru") return Language::Russian;
    if (code == "en") return Language::English;
    return std::nullopt;
}

std::string_view languageCode(Language language) {
    return language == Language::English ? "en" : "ru";
}

std::string tx(std::string_view source) {
    if (current() == Language::English) {
        const auto& index = englishIndex();
        if (const auto it = index.find(source); it != index.end()) return std::string(it->second);
    }
    return std::string(source);
}

std::string tx(std::string_view source, std::initializer_list<std::string> args) {
    const std::string pattern = tx(source);
    const std::vector<std::string> values(args);
    std::string out;
    out.reserve(pattern.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (pattern[i] == '%' && next >= '1' && next <= '9' &&
            static_cast<size_t>(next - '1') < values.size()) {
            out += values[static_cast<size_t>(next - '1')];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

bool containsCyrillic(std::string_view utf8) {
    // U+0400..U+04FF are encoded as 0xD0 0x80..0xD3 0xBF.
    for (size_t i = 0; i + 1 < utf8.size(); ++i) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const auto trail = static_cast<unsigned char>(utf8[i + 1]);
        if (lead >= 0xD0 && lead <= 0xD3 && trail >= 0x80 && trail <= 0xBF) return true;
    }
    return false;
}

}  // namespace gc::model
