#pragma once
// Where the taps in use of a configuration come from, kept in a file of its own beside it
// ("NAME.src" beside "NAME.trv") in the manner of the requirement file:
//
//   *** Tap sources ***                    header
//   CFIR= file                             "table" (built-in library) or "file" (tap file)
//   PFIR= table
//   RFIR= file
//
// The three lines appear in this order, each once; a value is the word after "= ", blanks after
// it allowed. No file means the built-in tables for all three, so the file is written only when
// some filter takes its taps from a tap file.
#include <string>

namespace gc::appconfig {

// The file-source choice of the main window's three radio button pairs: true for the tap file.
struct TapSources {
    bool cfirFromFile{false};
    bool pfirFromFile{false};
    bool resamplerFromFile{false};
    [[nodiscard]] bool anyFromFile() const {
        return cfirFromFile || pfirFromFile || resamplerFromFile;
    }
    [[nodiscard]] bool operator==(const TapSources& o) const {
        return cfirFromFile == o.cfirFromFile && pfirFromFile == o.pfirFromFile &&
               resamplerFromFile == o.resamplerFromFile;
    }
    [[nodiscard]] bool operator!=(const TapSources& o) const { return !(*this == o); }
};

enum class TapSourceReadStatus {
    Ok,       // read; the sources hold what the file says
    Missing,  // no such file: the built-in tables; the sources are unchanged
    Damaged,  // not a tap-source file, a line not as expected, or too large; unchanged
};

// "CONFIGS/a.trv" -> "CONFIGS/a.src".
[[nodiscard]] std::string tapSourcePath(const std::string& configPath);

// The whole file text.
[[nodiscard]] std::string tapSourceText(const TapSources& sources);

// Reads a whole file's text. `sources` changes only on Ok.
[[nodiscard]] TapSourceReadStatus parseTapSources(const std::string& text, TapSources& sources);

// parseTapSources of the file at `path`. Something that is not a regular file, or larger than
// kTapSourceFileMax bytes, is Damaged; a path that does not exist is Missing.
inline constexpr long kTapSourceFileMax = 4096;
[[nodiscard]] TapSourceReadStatus readTapSources(const std::string& path, TapSources& sources);

}  // namespace gc::appconfig
