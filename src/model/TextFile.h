#pragma once
// Text input and output for the program's file formats. Files are read as bytes, line by line,
// and only as far as a reader needs; a name that is not a regular file, or a file beyond a sane
// size, is refused before anything is read, so no input can block the program or exhaust its
// memory. Writes replace the target atomically through a temporary file created exclusively
// in the same folder (flush, the old file's permissions, rename), so a failed write leaves
// the old file whole and no planted link can redirect it.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace gc::model {

// No text file of the program comes near this; anything larger is refused unread.
inline constexpr std::size_t kTextFileByteLimit = std::size_t{16} << 20;  // 16 MiB

enum class TextReadStatus {
    Ok,
    Missing,     // no such file, or a folder
    Unreadable,  // exists but cannot be opened or read (permissions, I/O error)
    NotRegular,  // a FIFO, a device, a socket: refused without reading
    TooLarge,    // over the byte limit: refused without reading it whole
};

// The outcome of a read; `error` is the system's errno for Missing and Unreadable.
struct TextRead {
    TextReadStatus status{TextReadStatus::Ok};
    int error{0};
};

// Calls `line` for each line of the file at `path`, in order, until it returns false or the
// file ends. Lines end at "\n"; a "\r" before it is dropped; a last line without a line end
// counts. Lines may be of any length; more than `byteLimit` bytes are never read (TooLarge).
TextRead forEachLine(const std::string& path, const std::function<bool(std::string_view)>& line,
                     std::size_t byteLimit = kTextFileByteLimit);

// The first `maxLines` lines of the file (fewer when it ends sooner).
struct TextLines {
    TextRead read;
    std::vector<std::string> lines;
};
[[nodiscard]] TextLines readTextLines(const std::string& path, std::size_t maxLines,
                                      std::size_t byteLimit = kTextFileByteLimit);

// The file's bytes, or nothing when it cannot be read, is not a regular file or is over the
// limit.
[[nodiscard]] std::optional<std::string> readFileBytes(const std::string& path,
                                                       std::size_t byteLimit = kTextFileByteLimit);

// Splits text into lines of any length at "\n"; a "\r" before it is dropped; a last line
// without a line end is kept; an empty text gives no lines.
[[nodiscard]] std::vector<std::string> splitLines(const std::string& text);

// The outcome of a write: true when written; otherwise `error` holds the system's errno.
struct WriteResult {
    int error{0};
    explicit operator bool() const { return error == 0; }
};

// Writes `content` to `path`, replacing the file atomically. An existing file's permission
// bits are kept; a new file gets the usual 0666 less the umask. On failure the temporary file
// is removed and the old file is left as it was.
[[nodiscard]] WriteResult writeFileAtomically(const std::string& path, const std::string& content);

// Temporary files are named ".gc4016-PID-XXXXXX" after the process writing them. Every write
// first tidies the folders it writes into: the temporaries of processes that no longer run are
// removed, and a set whose run was killed between its renames is finished (see writeFileSet).
//
// Files written as one set: every temporary file is written and flushed first, then, for each
// folder that receives more than one file, a journal of the renames (".gc4016-PID-XXXXXX.set"),
// and only then are they renamed over their targets, in order; the journal goes last. A run
// killed between two renames thus leaves a journal from which the next write into the folder
// completes the set, so files of two different sets never stay side by side. When a temporary
// cannot be written, all of them are removed and every target keeps its previous contents. The
// result has one entry per file; `failed` is the index of the file whose failure stopped the set
// (size() if none).
struct SetWriteResult {
    std::vector<WriteResult> files;
    std::size_t failed{0};
    explicit operator bool() const { return failed == files.size(); }
};
[[nodiscard]] SetWriteResult writeFileSet(
    const std::vector<std::pair<std::string, std::string>>& files);

// The tidying every write does, for a folder about to be read ("" or "dir/" with its "/"):
// sets whose run was killed between their renames are completed, so a reader never takes the
// files of two different sets side by side; the temporaries of ended runs are removed. Nothing
// is reported: a folder that cannot be changed is read as it is.
void tidyFolderBeforeReading(const std::string& folder);

// Creates `path` with `content` only if no file (or link) of that name exists yet: never
// overwrites. EEXIST in `error` when the name is taken.
[[nodiscard]] WriteResult writeNewFile(const std::string& path, const std::string& content);

// The system's reason for `error` as the user reads it: Russian texts for the common cases,
// the system's own text otherwise.
[[nodiscard]] std::string systemErrorText(int error);

// printf-style formatting into a std::string (the file formats are printf literals).
[[nodiscard]] std::string formatString(const char* format, ...)
    __attribute__((format(printf, 1, 2)));

}  // namespace gc::model
