#include "model/TextFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

#include "model/Language.h"

namespace gc::model {

namespace {

constexpr std::size_t kChunk = 64 * 1024;

// Closes a descriptor when it goes out of scope; release() hands it over.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    [[nodiscard]] int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

TextRead missingOrUnreadable(int error) {
    if (error == ENOENT || error == ENOTDIR) return {TextReadStatus::Missing, error};
    return {TextReadStatus::Unreadable, error};
}

// What a name that exists but is no regular file counts as.
TextRead notAFile(const struct stat& info) {
    if (S_ISDIR(info.st_mode)) return {TextReadStatus::Missing, EISDIR};
    return {TextReadStatus::NotRegular, 0};
}

// The folder of `path` with its trailing "/" ("" for a bare name).
std::string folderPart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

bool writeAll(int fd, const std::string& content) {
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// Temporaries are named ".gc4016-PID-XXXXXX" after the process that made them, so that a later
// run can tell those of a process that no longer runs; a set's journal is the same name with
// ".set" after it. Short names of their own: a target of the longest name is still writable.
constexpr const char* kTempStem = ".gc4016-";
constexpr const char* kJournalSuffix = ".set";
constexpr std::size_t kTempRandom = 6;  // the "XXXXXX" of mkostemp

std::string ownTempPrefix() { return kTempStem + std::to_string(::getpid()) + "-"; }

// The owner of a temporary or journal name, or 0 when `name` is no name of ours.
pid_t ownerOf(const std::string& name, bool& journal) {
    const std::string stem(kTempStem);
    if (name.compare(0, stem.size(), stem) != 0) return 0;
    std::size_t i = stem.size();
    long long pid = 0;
    const std::size_t digits = i;
    while (i < name.size() && name[i] >= '0' && name[i] <= '9' && i - digits < 10)
        pid = pid * 10 + (name[i++] - '0');
    if (i == digits || i >= name.size() || name[i] != '-' || pid <= 0 || pid > 0x7fffffff) return 0;
    const std::size_t rest = name.size() - i - 1;
    const std::size_t suffix = std::char_traits<char>::length(kJournalSuffix);
    journal = rest == kTempRandom + suffix &&
              name.compare(name.size() - suffix, suffix, kJournalSuffix) == 0;
    if (!journal && rest != kTempRandom) return 0;
    return static_cast<pid_t>(pid);
}

// True when no process `pid` runs (one of another user still counts as running).
bool gone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

std::string readSmallFile(int dirFd, const std::string& name) {
    Descriptor file(::openat(dirFd, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    std::string data;
    if (file.get() < 0) return data;
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(file.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || data.size() > (std::size_t{1} << 20)) return data;
        data.append(chunk, static_cast<std::size_t>(n));
    }
}

// A journal lists "TEMPORARY\0TARGET\0" pairs of bare names and ends with one more "\0"; it
// is written whole, after every temporary of the set, before the first rename. The renames it
// lists are finished here, so that a run killed between its renames leaves the whole new set
// rather than new files beside old ones. A journal cut short was never acted on: nothing to do.
void finishJournal(int dirFd, const std::string& journal, pid_t owner) {
    const std::string data = readSmallFile(dirFd, journal);
    if (data.size() < 2 || data.back() != '\0' || data[data.size() - 2] != '\0') return;
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start + 1 < data.size()) {
        const std::size_t end = data.find('\0', start);
        names.push_back(data.substr(start, end - start));
        start = end + 1;
    }
    if (names.size() % 2 != 0) return;
    const std::string prefix = kTempStem + std::to_string(owner) + "-";
    for (std::size_t i = 0; i < names.size(); i += 2) {
        const std::string& temp = names[i];
        const std::string& target = names[i + 1];
        bool isJournal = false;
        if (temp.compare(0, prefix.size(), prefix) != 0 || ownerOf(temp, isJournal) != owner ||
            isJournal || target.empty() || target == "." || target == ".." ||
            target.find('/') != std::string::npos)
            continue;
        struct stat info {};
        if (::fstatat(dirFd, temp.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode))
            continue;  // renamed already, or not ours
        (void)::renameat(dirFd, temp.c_str(), dirFd, target.c_str());
    }
}

// Finishes the interrupted sets and removes the temporaries that processes which no longer run
// left in `folder` ("" for the current folder). Only our own regular files are touched.
void tidyFolder(const std::string& folder) {
    Descriptor dirFd(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.get() < 0) return;
    DIR* dir = ::fdopendir(::dup(dirFd.get()));
    if (dir == nullptr) return;
    std::vector<std::pair<std::string, pid_t>> journals, temps;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        bool journal = false;
        const pid_t owner = ownerOf(name, journal);
        if (owner == 0 || owner == ::getpid()) continue;
        (journal ? journals : temps).emplace_back(name, owner);
    }
    ::closedir(dir);
    const auto ours = [&dirFd](const std::string& name) {
        struct stat info {};
        return ::fstatat(dirFd.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
               S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
    };
    std::set<pid_t> goneOwners;
    for (const auto& [name, owner] : journals) {
        if (!gone(owner) || !ours(name)) continue;
        finishJournal(dirFd.get(), name, owner);
        (void)::unlinkat(dirFd.get(), name.c_str(), 0);
    }
    for (const auto& [name, owner] : temps) {
        if (gone(owner) && ours(name)) (void)::unlinkat(dirFd.get(), name.c_str(), 0);
    }
}

// Writes `content` into a new temporary file beside `path` and flushes it; the temporary gets
// the permission bits the target has (or would get). Its name goes into `temp` once created.
WriteResult writeTemporary(const std::string& path, const std::string& content, std::string& temp,
                           const char* suffix = "") {
    temp.clear();
    const std::string folder = folderPart(path);
    if (path.size() == folder.size()) return {EISDIR};  // "out/" names no file
    struct stat target {};
    if (::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode)) return {EISDIR};
    const bool exists = ::stat(path.c_str(), &target) == 0 && S_ISREG(target.st_mode);
    const mode_t mode = exists ? (target.st_mode & 0777) : (0666 & ~currentUmask());

    // A short name of its own, created exclusively: never an existing file, never through a
    // link, and never too long for the folder whatever the target's name.
    std::string pattern = folder + ownTempPrefix() + "XXXXXX" + suffix;
    const int fd = ::mkostemps(pattern.data(), static_cast<int>(std::strlen(suffix)), O_CLOEXEC);
    if (fd < 0) return {errno};
    temp = pattern;
    Descriptor file(fd);
    if (::fchmod(fd, mode) != 0 || !writeAll(fd, content) || ::fsync(fd) != 0) return {errno};
    if (::close(file.release()) != 0) return {errno};
    return {};
}

void syncFolder(const std::string& path) {
    const std::string folder = folderPart(path);
    Descriptor dir(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) (void)::fsync(dir.get());
}

}  // namespace

TextRead forEachLine(const std::string& path, const std::function<bool(std::string_view)>& line,
                     std::size_t byteLimit) {
    // Looked at before opening: opening a device or a FIFO can block or act.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return missingOrUnreadable(errno);
    if (!S_ISREG(info.st_mode)) return notAFile(info);
    if (static_cast<unsigned long long>(info.st_size) > byteLimit)
        return {TextReadStatus::TooLarge, 0};

    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.get() < 0) return missingOrUnreadable(errno);
    // The name may have been replaced in between.
    if (::fstat(file.get(), &info) != 0) return {TextReadStatus::Unreadable, errno};
    if (!S_ISREG(info.st_mode)) return notAFile(info);
    if (static_cast<unsigned long long>(info.st_size) > byteLimit)
        return {TextReadStatus::TooLarge, 0};

    std::string pending;  // the line read so far
    std::string chunk(kChunk, '\0');
    std::size_t total = 0;
    const auto deliver = [&line](std::string& text) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        const bool more = line(text);
        text.clear();
        return more;
    };
    for (;;) {
        const ssize_t n = ::read(file.get(), chunk.data(), chunk.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return {TextReadStatus::Unreadable, errno};
        }
        if (n == 0) break;
        total += static_cast<std::size_t>(n);
        if (total > byteLimit) return {TextReadStatus::TooLarge, 0};  // the file grew
        std::string_view data(chunk.data(), static_cast<std::size_t>(n));
        while (!data.empty()) {
            const std::size_t end = data.find('\n');
            if (end == std::string_view::npos) {
                pending.append(data);
                break;
            }
            pending.append(data.substr(0, end));
            data.remove_prefix(end + 1);
            if (!deliver(pending)) return {};
        }
    }
    if (!pending.empty()) deliver(pending);
    return {};
}

TextLines readTextLines(const std::string& path, std::size_t maxLines, std::size_t byteLimit) {
    TextLines result;
    if (maxLines == 0) return result;
    result.read = forEachLine(
        path,
        [&result, maxLines](std::string_view text) {
            result.lines.emplace_back(text);
            return result.lines.size() < maxLines;
        },
        byteLimit);
    if (result.read.status != TextReadStatus::Ok) result.lines.clear();
    return result;
}

std::optional<std::string> readFileBytes(const std::string& path, std::size_t byteLimit) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<unsigned long long>(info.st_size) > byteLimit)
        return std::nullopt;
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    std::string data;
    std::string chunk(kChunk, '\0');
    for (;;) {
        const ssize_t n = ::read(file.get(), chunk.data(), chunk.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (n == 0) return data;
        if (data.size() + static_cast<std::size_t>(n) > byteLimit) return std::nullopt;
        data.append(chunk.data(), static_cast<std::size_t>(n));
    }
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const bool last = end == std::string::npos;
        if (last) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = last ? text.size() : end + 1;
    }
    return lines;
}

SetWriteResult writeFileSet(const std::vector<std::pair<std::string, std::string>>& files) {
    SetWriteResult result;
    result.files.resize(files.size());
    result.failed = files.size();
    std::vector<std::string> temps(files.size());
    std::vector<std::string> journals;
    const auto removeTemps = [&temps, &journals](std::size_t from) {
        for (std::size_t k = from; k < temps.size(); ++k)
            if (!temps[k].empty()) ::unlink(temps[k].c_str());
        for (const std::string& journal : journals) ::unlink(journal.c_str());
    };
    const auto fail = [&](std::size_t i, WriteResult why) {
        result.files[i] = why;
        result.failed = i;
        removeTemps(0);
        return result;
    };

    // The folders of the set, each once, in order.
    std::vector<std::string> folders;
    for (const auto& file : files) {
        const std::string folder = folderPart(file.first);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    }
    for (const std::string& folder : folders) tidyFolder(folder);

    for (std::size_t i = 0; i < files.size(); ++i) {
        const WriteResult written = writeTemporary(files[i].first, files[i].second, temps[i]);
        if (!written) return fail(i, written);
    }
    // Where a folder receives more than one file, a journal of its renames goes down first, so
    // that the next write into the folder finishes a set whose run was killed in between.
    for (const std::string& folder : folders) {
        std::string journal;
        int count = 0;
        std::size_t first = 0;  // the folder's first file: the journal takes its permissions
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (folderPart(files[i].first) != folder) continue;
            if (count++ == 0) first = i;
            journal +=
                temps[i].substr(folder.size()) + '\0' + files[i].first.substr(folder.size()) + '\0';
        }
        if (count < 2) continue;
        journal += '\0';
        std::string name;
        const WriteResult written =
            writeTemporary(files[first].first, journal, name, kJournalSuffix);
        if (!name.empty()) journals.push_back(name);
        if (!written) {
            for (std::size_t i = 0; i < files.size(); ++i)
                if (folderPart(files[i].first) == folder) return fail(i, written);
        }
        syncFolder(name);
    }
    // The last look before anything is replaced: a target that became a folder meanwhile stops
    // the set while every old file is still in place.
    for (std::size_t i = 0; i < files.size(); ++i) {
        struct stat target {};
        if (::stat(files[i].first.c_str(), &target) == 0 && S_ISDIR(target.st_mode))
            return fail(i, {EISDIR});
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (::rename(temps[i].c_str(), files[i].first.c_str()) != 0) {
            result.files[i] = {errno};
            result.failed = i;
            removeTemps(i);
            return result;
        }
        temps[i].clear();
    }
    for (const std::string& journal : journals) ::unlink(journal.c_str());
    for (const std::string& folder : folders) syncFolder(folder + "x");
    return result;
}

void tidyFolderBeforeReading(const std::string& folder) {
    tidyFolder(folder.empty() || folder.back() == '/' ? folder : folder + "/");
}

WriteResult writeFileAtomically(const std::string& path, const std::string& content) {
    return writeFileSet({{path, content}}).files.front();
}

WriteResult writeNewFile(const std::string& path, const std::string& content) {
    tidyFolder(folderPart(path));
    // O_EXCL refuses any existing name, a link included.
    Descriptor file(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (file.get() < 0) return {errno};
    if (!writeAll(file.get(), content) || ::fsync(file.get()) != 0 ||
        ::close(file.release()) != 0) {
        const int error = errno;
        ::unlink(path.c_str());
        return {error};
    }
    return {};
}

std::string systemErrorText(int error) {
    switch (error) {
        case ENOSPC:
            return tx("нет места на устройстве");
        case EDQUOT:
            return tx("превышена дисковая квота");
        case EACCES:
            return tx("доступ запрещён");
        case EPERM:
            return tx("операция не позволена");
        case EROFS:
            return tx("файловая система только для чтения");
        case EIO:
            return tx("ошибка ввода-вывода");
        case ENOENT:
            return tx("нет такого файла или каталога");
        case ENOTDIR:
            return tx("часть пути не является каталогом");
        case EEXIST:
            return tx("файл уже существует");
        case EISDIR:
            return tx("это каталог");
        case ENAMETOOLONG:
            return tx("слишком длинное имя файла");
        case EFBIG:
            return tx("файл слишком велик");
        case ELOOP:
            return tx("слишком много символических ссылок");
        case EMFILE:
        case ENFILE:
            return tx("слишком много открытых файлов");
        case EBUSY:
            return tx("устройство или ресурс занято");
        default:
            return std::strerror(error);
    }
}

std::string formatString(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0) std::vsnprintf(out.data(), out.size() + 1, format, args);
    va_end(args);
    return out;
}

}  // namespace gc::model
