#include "model/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

// Writes `content` into a new temporary file beside `path` and flushes it; the temporary gets
// the permission bits the target has (or would get). Its name goes into `temp` once created.
// Creates the temporary file for `path` with the permission bits the target has (or would
// get); its name goes into `temp` and its descriptor into `fd`.
WriteResult createTemporary(const std::string& path, std::string& temp, int& fd) {
    temp.clear();
    fd = -1;
    const std::string folder = folderPart(path);
    if (path.size() == folder.size()) return {EISDIR};  // "out/" names no file
    struct stat target {};
    if (::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode)) return {EISDIR};
    const bool exists = ::stat(path.c_str(), &target) == 0 && S_ISREG(target.st_mode);
    const mode_t mode = exists ? (target.st_mode & 0777) : (0666 & ~currentUmask());

    // A short name of its own, created exclusively: never an existing file, never through a
    // link, and never too long for the folder whatever the target's name.
    std::string pattern = folder + ".gc4016-XXXXXX";
    const int created = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (created < 0) return {errno};
    temp = pattern;
    if (::fchmod(created, mode) != 0) {
        const int error = errno;
        ::close(created);
        return {error};
    }
    fd = created;
    return {};
}

WriteResult writeTemporary(const std::string& path, const std::string& content, std::string& temp) {
    int fd = -1;
    if (const WriteResult created = createTemporary(path, temp, fd); !created) return created;
    Descriptor file(fd);
    if (!writeAll(fd, content) || ::fsync(fd) != 0) return {errno};
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
    const auto removeTemps = [&temps](std::size_t from) {
        for (std::size_t k = from; k < temps.size(); ++k)
            if (!temps[k].empty()) ::unlink(temps[k].c_str());
    };

    for (std::size_t i = 0; i < files.size(); ++i) {
        const WriteResult written = writeTemporary(files[i].first, files[i].second, temps[i]);
        if (!written) {
            result.files[i] = written;
            result.failed = i;
            removeTemps(0);
            return result;
        }
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
    for (const auto& file : files) syncFolder(file.first);
    return result;
}

WriteResult writeFileAtomically(const std::string& path, const std::string& content) {
    return writeFileSet({{path, content}}).files.front();
}

WriteResult writeNewFile(const std::string& path, const std::string& content) {
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

AtomicFileStream::~AtomicFileStream() { abandon(); }

bool AtomicFileStream::open(const std::string& path) {
    abandon();
    path_ = path;
    error_ = createTemporary(path, temp_, fd_).error;
    return error_ == 0;
}

bool AtomicFileStream::write(const void* data, std::size_t size) {
    if (fd_ < 0 || error_ != 0) return false;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd_, bytes, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            error_ = errno;
            return false;
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

WriteResult AtomicFileStream::commit() {
    if (fd_ < 0 && error_ == 0) error_ = EBADF;
    if (error_ == 0 && ::fsync(fd_) != 0) error_ = errno;
    if (fd_ >= 0 && ::close(std::exchange(fd_, -1)) != 0 && error_ == 0) error_ = errno;
    if (error_ == 0 && ::rename(temp_.c_str(), path_.c_str()) != 0) error_ = errno;
    if (error_ != 0) {
        abandon();
        return {error_};
    }
    temp_.clear();
    syncFolder(path_);
    return {};
}

void AtomicFileStream::abandon() {
    if (fd_ >= 0) ::close(std::exchange(fd_, -1));
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
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
