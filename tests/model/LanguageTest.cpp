// The interface language and the core catalogue: lookups, placeholders, and that every Russian
// text written below the window program has an English entry.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "model/Language.h"
#include "model/Numeric.h"
#include "model/TextFile.h"

namespace m = gc::model;

namespace {

// Chooses a language for one test and goes back to Russian after it.
struct LanguageScope {
    explicit LanguageScope(m::Language l) { m::setLanguage(l); }
    ~LanguageScope() { m::setLanguage(m::Language::Russian); }
};

std::set<std::string> placeholders(std::string_view text) {
    std::set<std::string> found;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '%' && text[i + 1] >= '1' && text[i + 1] <= '9')
            found.insert(std::string(text.substr(i, 2)));
    }
    return found;
}

// The source with its "//" comments removed (a "//" inside a string literal stays).
std::string withoutComments(const std::string& source) {
    std::string out;
    bool inString = false;
    bool inComment = false;
    for (size_t i = 0; i < source.size(); ++i) {
        const char c = source[i];
        if (inComment) {
            if (c == '\n') {
                inComment = false;
                out += c;
            }
            continue;
        }
        if (inString && c == '\\' && i + 1 < source.size()) {
            out += c;
            out += source[++i];
            continue;
        }
        if (c == '"') inString = !inString;
        if (c == '\n') inString = false;
        if (!inString && c == '/' && i + 1 < source.size() && source[i + 1] == '/') {
            inComment = true;
            continue;
        }
        out += c;
    }
    return out;
}

// Every string literal of the source, adjacent literals joined as the compiler joins them,
// with \" \\ and \n unescaped.
std::vector<std::string> literals(const std::string& source) {
    static const std::regex joined(R"re("(?:[^"\\\n]|\\.)*"(?:\s*"(?:[^"\\\n]|\\.)*")*)re");
    static const std::regex one(R"re("((?:[^"\\\n]|\\.)*)")re");
    std::vector<std::string> found;
    for (std::sregex_iterator it(source.begin(), source.end(), joined), end; it != end; ++it) {
        const std::string group = it->str();
        std::string text;
        for (std::sregex_iterator p(group.begin(), group.end(), one); p != end; ++p) {
            const std::string raw = (*p)[1].str();
            for (size_t i = 0; i < raw.size(); ++i) {
                if (raw[i] == '\\' && i + 1 < raw.size()) {
                    const char e = raw[++i];
                    text += e == 'n' ? '\n' : e;
                } else {
                    text += raw[i];
                }
            }
        }
        found.push_back(text);
    }
    return found;
}

}  // namespace

TEST(LanguageTest, LooksUpTheChosenLanguageAndFillsPlaceholders) {
    EXPECT_EQ(m::language(), m::Language::Russian);
    EXPECT_EQ(m::tx("отсутствует!"), "отсутствует!");
    EXPECT_EQ(m::tx("Канал %1", {"2"}), "Канал 2");
    {
        LanguageScope english(m::Language::English);
        EXPECT_EQ(m::tx("отсутствует!"), "is missing!");
        EXPECT_EQ(m::tx("Канал %1", {"2"}), "Channel 2");
        // A text the table lacks comes back unchanged; a placeholder without a value stays.
        EXPECT_EQ(m::tx("нет такого ключа"), "нет такого ключа");
        EXPECT_EQ(m::tx("Канал %1"), "Channel %1");
        // Messages made below the window program follow the language.
        try {
            (void)m::parseInt("12x");
            FAIL() << "no conversion error";
        } catch (const m::ConversionError& e) {
            EXPECT_STREQ(e.what(), "\"12x\" is not an integer");
        }
        EXPECT_EQ(m::systemErrorText(ENOSPC), "no space left on device");
    }
    EXPECT_EQ(m::tx("отсутствует!"), "отсутствует!");
    EXPECT_EQ(m::languageFromCode("en"), m::Language::English);
    EXPECT_EQ(m::languageFromCode("ru"), m::Language::Russian);
    EXPECT_FALSE(m::languageFromCode("de"));
    EXPECT_FALSE(m::languageFromCode(""));
    EXPECT_EQ(m::languageCode(m::Language::English), "en");
    EXPECT_TRUE(m::containsCyrillic("Файл"));
    EXPECT_TRUE(m::containsCyrillic("a ё b"));
    EXPECT_FALSE(m::containsCyrillic("File ∞ dB ±"));
}

TEST(LanguageTest, EveryEntryHasAnEnglishTextWithTheSamePlaceholders) {
    std::set<std::string_view> sources;
    for (const m::Translation& t : m::englishTable()) {
        SCOPED_TRACE(std::string(t.source));
        EXPECT_TRUE(m::containsCyrillic(t.source));
        EXPECT_TRUE(sources.insert(t.source).second) << "twice in the table";
        EXPECT_FALSE(t.text.empty());
        EXPECT_FALSE(m::containsCyrillic(t.text));
        EXPECT_EQ(placeholders(t.source), placeholders(t.text));
        // Leading and trailing blanks carry layout in the report windows: kept alike.
        EXPECT_EQ(t.source.front() == ' ', t.text.front() == ' ');
        EXPECT_EQ(t.source.back() == ' ', t.text.back() == ' ');
    }
}

// Every Russian literal below src/ui is a catalogue key, or (help texts written in English) each
// Russian text it quotes is one. A new text without its English entry fails here.
TEST(LanguageTest, EveryRussianTextBelowTheWindowProgramIsInTheTable) {
    std::set<std::string> keys;
    for (const m::Translation& t : m::englishTable()) keys.emplace(t.source);
    const std::filesystem::path src = std::filesystem::path(GC_SOURCE_DIR) / "src";
    int checked = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(src)) {
        const auto& path = entry.path();
        if (!entry.is_regular_file()) continue;
        if (path.extension() != ".cpp" && path.extension() != ".h") continue;
        if (path.parent_path().filename() == "ui") continue;
        if (path.filename() == "EnglishTable.cpp") continue;
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        for (const std::string& literal : literals(withoutComments(text.str()))) {
            if (!m::containsCyrillic(literal)) continue;
            ++checked;
            if (keys.count(literal)) continue;
            static const std::regex quoted(R"re("([^"]*)")re");
            bool anyQuoted = false;
            for (std::sregex_iterator q(literal.begin(), literal.end(), quoted), end; q != end;
                 ++q) {
                const std::string inner = (*q)[1].str();
                if (!m::containsCyrillic(inner)) continue;
                anyQuoted = true;
                EXPECT_TRUE(keys.count(inner)) << path << ": \"" << inner << "\"";
            }
            EXPECT_TRUE(anyQuoted) << path << ": \"" << literal << "\" has no English text";
        }
    }
    EXPECT_GT(checked, 50);  // the scan found the texts at all
}
