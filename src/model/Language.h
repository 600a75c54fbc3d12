#pragma once
// The interface language and the catalogue of the texts that the layers below the window
// program produce (labels set by presenters, report lines, messages, warnings). Russian is the
// source language: every text is written in Russian in the code and looked up by that text.
//
// The language is chosen once at start-up, before any window or command runs; like the
// process's locale it is one setting for the whole run. Texts that belong to a file format
// never pass through the catalogue, so the files written are the same in every language.
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gc::model {

enum class Language { Russian, English };

// Chooses the interface language; call before the first text is produced.
void setLanguage(Language language);
[[nodiscard]] Language language();

// "ru" and "en"; nothing for any other code.
[[nodiscard]] std::optional<Language> languageFromCode(std::string_view code);
[[nodiscard]] std::string_view languageCode(Language language);

// The text `source` (Russian) in the interface language. A text the catalogue does not hold is
// returned as it is.
[[nodiscard]] std::string tx(std::string_view source);
// As tx, with "%1".."%9" replaced by the arguments (the translation may reorder them).
[[nodiscard]] std::string tx(std::string_view source, std::initializer_list<std::string> args);

// One entry of a language's table: the Russian source text and its translation.
struct Translation {
    std::string_view source;
    std::string_view text;
};
// The English table, in the order it is written (catalogue checks use it).
[[nodiscard]] const std::vector<Translation>& englishTable();

// True when the UTF-8 text holds a Cyrillic letter (U+0400..U+04FF).
[[nodiscard]] bool containsCyrillic(std::string_view utf8);

}  // namespace gc::model
