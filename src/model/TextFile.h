#pragma once
// Whole-file text input and output for the program's file formats. Files are read as bytes;
// writes replace the target atomically (temporary file in the same folder, flush, rename), so
// a failed write leaves the old file whole.
#include <optional>
#include <string>
#include <vector>

namespace gc::model {

// The file's bytes, or nothing when it cannot be opened.
[[nodiscard]] std::optional<std::string> readFileBytes(const std::string& path);

// Splits text into lines of any length at "\n"; a "\r" before it is dropped; a last line
// without a line end is kept; an empty text gives no lines.
[[nodiscard]] std::vector<std::string> splitLines(const std::string& text);

// Writes `content` to `path`, replacing the file atomically. False when it cannot be written.
[[nodiscard]] bool writeFileAtomically(const std::string& path, const std::string& content);

// printf-style formatting into a std::string (the file formats are printf literals).
[[nodiscard]] std::string formatString(const char* format, ...)
    __attribute__((format(printf, 1, 2)));

}  // namespace gc::model
