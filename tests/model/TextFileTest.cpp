// Reading and replacing files when the file system works against the program: names that are
// no regular file, files far too large, planted links, long names, failing writes.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "model/TextFile.h"

using namespace gc::model;
namespace fs = std::filesystem;

namespace {

class Folder {
  public:
    Folder() {
        std::random_device seed;
        for (;;) {
            path_ = fs::temp_directory_path() / ("gc4016-textfile-" + std::to_string(seed()));
            if (fs::create_directory(path_)) break;
        }
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    [[nodiscard]] std::string operator/(const std::string& name) const {
        return (path_ / name).string();
    }
    [[nodiscard]] std::vector<std::string> names() const {
        std::vector<std::string> all;
        for (const auto& entry : fs::directory_iterator(path_))
            all.push_back(entry.path().filename().string());
        std::sort(all.begin(), all.end());
        return all;
    }

  private:
    fs::path path_;
};

void put(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string text(const std::string& path) { return readFileBytes(path).value_or("<none>"); }

mode_t modeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

// While it lives, no file may grow beyond `bytes`: writes past it fail with EFBIG, as they
// would on a full disk with ENOSPC.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

  private:
    rlimit saved_{};
    void (*previous_)(int){};
};

}  // namespace

TEST(BoundedReading, OnlyTheLinesNeededAndNothingThatIsNoFileOrFarTooLarge) {
    Folder dir;
    const std::string longLine(100000, '7');
    put(dir / "lines.txt", "one\r\n" + longLine + "\nthree\nfour");
    TextLines two = readTextLines(dir / "lines.txt", 2);
    EXPECT_EQ(two.read.status, TextReadStatus::Ok);
    EXPECT_EQ(two.lines, (std::vector<std::string>{"one", longLine}));
    TextLines all = readTextLines(dir / "lines.txt", 100);
    EXPECT_EQ(all.lines, (std::vector<std::string>{"one", longLine, "three", "four"}));
    int seen = 0;
    EXPECT_EQ(
        forEachLine(dir / "lines.txt", [&seen](std::string_view) { return ++seen < 3; }).status,
        TextReadStatus::Ok);
    EXPECT_EQ(seen, 3);

    // Over the limit: refused whole, even when the lines wanted lie at its start.
    EXPECT_EQ(readTextLines(dir / "lines.txt", 1, 1000).read.status, TextReadStatus::TooLarge);
    EXPECT_FALSE(readFileBytes(dir / "lines.txt", 1000).has_value());
    // A sparse file of 1 GiB takes no room and is refused without a byte read.
    put(dir / "huge.txt", "");
    fs::resize_file(dir / "huge.txt", std::uintmax_t{1} << 30);
    EXPECT_EQ(readTextLines(dir / "huge.txt", 1).read.status, TextReadStatus::TooLarge);
    EXPECT_FALSE(readFileBytes(dir / "huge.txt").has_value());

    // Names that are no regular file: refused at once, without blocking on a FIFO that has no
    // writer or reading a device that never ends.
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    for (const std::string& name : {dir / "fifo", std::string("/dev/zero")}) {
        EXPECT_EQ(readTextLines(name, 10).read.status, TextReadStatus::NotRegular) << name;
        EXPECT_FALSE(readFileBytes(name).has_value()) << name;
    }
    fs::create_symlink("/dev/zero", dir / "zero-link");
    EXPECT_EQ(readTextLines(dir / "zero-link", 10).read.status, TextReadStatus::NotRegular);

    // Missing: no such name, or a folder. Unreadable: it exists but cannot be opened.
    const TextRead absent = readTextLines(dir / "absent", 10).read;
    EXPECT_EQ(absent.status, TextReadStatus::Missing);
    EXPECT_EQ(absent.error, ENOENT);
    EXPECT_EQ(readTextLines(dir / "", 10).read.status, TextReadStatus::Missing);
    fs::create_symlink("loop", dir / "loop");
    const TextRead loop = readTextLines(dir / "loop", 10).read;
    EXPECT_EQ(loop.status, TextReadStatus::Unreadable);
    EXPECT_EQ(loop.error, ELOOP);
    if (::geteuid() != 0) {
        put(dir / "locked", "x\n");
        ::chmod((dir / "locked").c_str(), 0200);
        EXPECT_EQ(readTextLines(dir / "locked", 10).read.status, TextReadStatus::Unreadable);
    }
}

TEST(AtomicWrite, ExclusiveShortTemporariesKeepPermissionsAndLeaveNothingOnFailure) {
    Folder dir;
    const std::string target = dir / "a.trv";
    put(dir / "victim", "root's file");
    // A link planted under a name a temporary file could have: it is never written through.
    fs::create_symlink(dir / "victim", target + ".tmp-" + std::to_string(::getpid()));
    ASSERT_TRUE(writeFileAtomically(target, "new\n"));
    EXPECT_EQ(text(target), "new\n");
    EXPECT_EQ(text(dir / "victim"), "root's file");
    EXPECT_EQ(dir.names().size(), 3u);  // no temporary left

    // The replaced file keeps its permission bits; a new one gets 0666 less the umask.
    ::chmod(target.c_str(), 0600);
    ASSERT_TRUE(writeFileAtomically(target, "again\n"));
    EXPECT_EQ(modeOf(target), 0600u);
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(writeFileAtomically(dir / "fresh", "x"));
    ::umask(mask);
    EXPECT_EQ(modeOf(dir / "fresh"), 0644u);

    // Any name the file system takes can be written, up to its longest.
    const std::string longest = dir / std::string(255, 'n');
    ASSERT_TRUE(writeFileAtomically(longest, "long\n"));
    EXPECT_EQ(text(longest), "long\n");
    fs::remove(longest);
    fs::remove(dir / "fresh");

    // A write that fails part way (here a file size limit, as a full disk would): the reason,
    // the old file whole, no temporary left.
    {
        FileSizeLimit limit(8);
        const WriteResult failed = writeFileAtomically(target, std::string(100, 'z'));
        EXPECT_FALSE(failed);
        EXPECT_EQ(failed.error, EFBIG);
    }
    EXPECT_EQ(text(target), "again\n");
    EXPECT_EQ(dir.names().size(), 3u);

    // Folders and names ending in "/" are no file to replace.
    fs::create_directory(dir / "sub");
    EXPECT_EQ(writeFileAtomically(dir / "sub", "x").error, EISDIR);
    EXPECT_EQ(writeFileAtomically(dir / "sub/", "x").error, EISDIR);
    EXPECT_EQ(writeFileAtomically(dir / "none/x", "x").error, ENOENT);
}

TEST(AtomicWrite, ASetIsReplacedWholeOrNotAtAll) {
    Folder dir;
    const std::vector<std::string> names{dir / "s.trv", dir / "s.cfg", dir / "s.prg"};
    for (const std::string& name : names) put(name, "old " + name);

    // The third file cannot be written: none of the three is replaced.
    {
        FileSizeLimit limit(50);
        const SetWriteResult set =
            writeFileSet({{names[0], "new"}, {names[1], "new"}, {names[2], std::string(80, 'p')}});
        EXPECT_FALSE(set);
        EXPECT_EQ(set.failed, 2u);
        EXPECT_EQ(set.files[2].error, EFBIG);
        EXPECT_TRUE(set.files[0]);
    }
    for (const std::string& name : names) EXPECT_EQ(text(name), "old " + name);
    EXPECT_EQ(dir.names().size(), 3u);

    const SetWriteResult set = writeFileSet({{names[0], "t"}, {names[1], "c"}, {names[2], "p"}});
    ASSERT_TRUE(set);
    EXPECT_EQ(text(names[0]) + text(names[1]) + text(names[2]), "tcp");
    EXPECT_EQ(dir.names().size(), 3u);
}

TEST(NewFile, NeverReplacesAnythingAndSaysWhy) {
    Folder dir;
    put(dir / "victim", "keep");
    fs::create_symlink(dir / "victim", dir / "link");
    fs::create_symlink(dir / "absent-target", dir / "dangling");
    put(dir / "taken", "keep too");
    for (const char* name : {"link", "dangling", "taken"})
        EXPECT_EQ(writeNewFile(dir / name, "x").error, EEXIST) << name;
    EXPECT_EQ(text(dir / "victim"), "keep");
    EXPECT_EQ(text(dir / "taken"), "keep too");
    EXPECT_FALSE(fs::exists(dir / "absent-target"));
    ASSERT_TRUE(writeNewFile(dir / "free", "copy"));
    EXPECT_EQ(text(dir / "free"), "copy");

    EXPECT_EQ(systemErrorText(ENOSPC), "нет места на устройстве");
    EXPECT_EQ(systemErrorText(EACCES), "доступ запрещён");
    EXPECT_EQ(systemErrorText(EROFS), "файловая система только для чтения");
    EXPECT_EQ(systemErrorText(EDQUOT), "превышена дисковая квота");
    // Anything else: the system's own text, never nothing.
    EXPECT_FALSE(systemErrorText(EHOSTUNREACH).empty());
}
