// Reading and replacing files when the file system works against the program: names that are
// no regular file, files far too large, planted links, long names, failing writes.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

    // Whatever else the folder holds (here a folder named like anything the set might use).
    fs::create_directory(dir / "journal");
    const SetWriteResult set = writeFileSet({{names[0], "t"}, {names[1], "c"}, {names[2], "p"}});
    ASSERT_TRUE(set);
    EXPECT_EQ(text(names[0]) + text(names[1]) + text(names[2]), "tcp");
    EXPECT_EQ(dir.names().size(), 4u);
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

namespace {

// The id of a process that has ended (and been reaped), so no process runs under it.
pid_t deadProcessId() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

}  // namespace

TEST(AtomicWrite, TemporariesOfEndedRunsAreRemovedByTheNextWriteIntoTheirFolder) {
    Folder dir;
    const std::string dead = std::to_string(deadProcessId());
    const std::string alive = std::to_string(::getppid());
    const std::string own = std::to_string(::getpid());
    put(dir / (".gc4016-" + dead + "-a1B2c3"), "left by a killed run");
    put(dir / (".gc4016-" + dead + "-zzzzzz.set"), "cut short");  // a journal never finished
    put(dir / (".gc4016-" + alive + "-a1B2c3"), "still being written");
    put(dir / (".gc4016-" + own + "-q9q9q9"), "ours, in the middle of a set");
    put(dir / ".gc4016-a1B2c3", "no owner named: not ours to judge");
    put(dir / (".gc4016-" + dead + "-toolong7"), "not a temporary name");
    put(dir / "user.txt", "the user's");
    fs::create_directory(dir / "sub");
    put(dir / ("sub/.gc4016-" + dead + "-a1B2c3"), "another folder: left for its own write");

    ASSERT_TRUE(writeFileAtomically(dir / "a.trv", "x"));
    std::vector<std::string> kept{".gc4016-" + alive + "-a1B2c3",
                                  ".gc4016-" + dead + "-toolong7",
                                  ".gc4016-" + own + "-q9q9q9",
                                  ".gc4016-a1B2c3",
                                  "a.trv",
                                  "sub",
                                  "user.txt"};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(dir.names(), kept);
    EXPECT_TRUE(fs::exists(dir / ("sub/.gc4016-" + dead + "-a1B2c3")));
    // A new file (the backup road) tidies its folder too.
    ASSERT_TRUE(writeNewFile(dir / "sub/b.bak", "y"));
    EXPECT_FALSE(fs::exists(dir / ("sub/.gc4016-" + dead + "-a1B2c3")));

    // The temporaries of this run carry its id and stay short beside the longest target.
    ASSERT_TRUE(writeFileAtomically(dir / std::string(255, 'n'), "long\n"));
}

TEST(AtomicWrite, ASetInterruptedBetweenItsRenamesIsFinishedByTheNextWrite) {
    Folder dir;
    // As a run killed after renaming its CFIR file leaves it: the new CFIR beside the old
    // PFIR, the PFIR's temporary and the journal of the set.
    const std::string dead = std::to_string(deadProcessId());
    const std::string pfirTemp = ".gc4016-" + dead + "-Pp0000";
    put(dir / "d_cfir.taps", "new cfir");
    put(dir / "d_pfir.taps", "old pfir");
    put(dir / pfirTemp, "new pfir");
    const std::string journal = std::string(".gc4016-") + dead + "-Cc0000" + '\0' + "d_cfir.taps" +
                                '\0' + pfirTemp + '\0' + "d_pfir.taps" + '\0' + '\0';
    put(dir / (".gc4016-" + dead + "-Jj0000.set"), journal);
    // A journal cut short (no closing mark) was never acted on: its temporary only goes.
    put(dir / (".gc4016-" + dead + "-Kk0000"), "never renamed");
    put(dir / (".gc4016-" + dead + "-Jj1111.set"),
        std::string(".gc4016-") + dead + "-Kk0000" + '\0' + "d_cfir.taps");
    ASSERT_TRUE(writeFileAtomically(dir / "other.taps", "1\n"));
    EXPECT_EQ(text(dir / "d_cfir.taps"), "new cfir");
    EXPECT_EQ(text(dir / "d_pfir.taps"), "new pfir");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"d_cfir.taps", "d_pfir.taps", "other.taps"}));
    // A reader about to read the folder gets the same: the set completed first.
    put(dir / "d_pfir.taps", "old pfir");
    put(dir / pfirTemp, "newer pfir");
    put(dir / (".gc4016-" + dead + "-Jj0000.set"), journal);
    tidyFolderBeforeReading(dir / "");
    EXPECT_EQ(text(dir / "d_pfir.taps"), "newer pfir");
    EXPECT_EQ(dir.names().size(), 3u);

    // Real kills at random moments of a run writing pairs again and again: after the next
    // write the two files are always of one pair.
    std::mt19937 random(17);
    for (int kill = 0; kill < 15; ++kill) {
        const pid_t child = ::fork();
        if (child == 0) {
            for (int n = 0;; ++n) {
                const std::string tag = std::to_string(n);
                (void)writeFileSet(
                    {{dir / "p_cfir.taps", "cfir " + tag}, {dir / "p_pfir.taps", "pfir " + tag}});
            }
        }
        ::usleep(1000 + random() % 12000);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(writeFileAtomically(dir / "other.taps", "2\n"));
        const std::string cfir = text(dir / "p_cfir.taps");
        const std::string pfir = text(dir / "p_pfir.taps");
        if (cfir == "<none>") {
            EXPECT_EQ(pfir, "<none>");
            continue;
        }
        EXPECT_EQ(cfir.substr(5), pfir.substr(5)) << "kill " << kill;
        EXPECT_EQ(dir.names().size(), 5u) << "kill " << kill;  // no temporary, no journal
    }
}

TEST(AtomicWrite, ASetWithAFolderInTheWayReplacesNothing) {
    Folder dir;
    put(dir / "n_pfir.taps", "old pfir");
    fs::create_directory(dir / "n_cfir.taps");
    const SetWriteResult set =
        writeFileSet({{dir / "n_cfir.taps", "new cfir"}, {dir / "n_pfir.taps", "new pfir"}});
    EXPECT_FALSE(set);
    EXPECT_EQ(set.failed, 0u);
    EXPECT_EQ(set.files[0].error, EISDIR);
    EXPECT_EQ(text(dir / "n_pfir.taps"), "old pfir");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"n_cfir.taps", "n_pfir.taps"}));
}
