// The run on real POSIX files: what is no regular trend file is refused and
// the run goes on, as root and as an ordinary user; only a file to be written
// is opened for writing; names are taken as they are; a file the system
// refuses stops the run with the reason; every change is flushed.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "TrendFixtures.h"
#include "platform/Places.h"
#include "platform/PosixCalls.h"

namespace fs = std::filesystem;

namespace {

// The file layer's system calls, watched: the file system of every flush,
// every open that could change a file (for writing, creating or truncating),
// and a call made to fail or another program's act at a chosen moment.
struct Watch {
    platform::posix::Calls calls = platform::posix::systemCalls();
    const std::unique_ptr<platform::FileAccess> files = platform::posix::fileAccessThrough(calls);
    std::vector<std::pair<bool, dev_t>> flushed;  // whole file system?, device
    int writeOpens = 0, writeOpensOfOthers = 0;   // of regular files, of others
    int createOrTruncateOpens = 0;                // tried, whatever they reached
    int failFlush = 0;                            // errno for syncfs and fdatasync, 0 for none
    std::function<void(int fd)> atFstat;          // runs before each fstat
    long fileSystemType = 0;                      // what fstatfs says, 0 for the truth

    Watch() {
        calls.open = [this](const char* path, int flags) {
            return opened(::open(path, flags), flags);
        };
        calls.openat = [this](int at, const char* name, int flags) {
            return opened(::openat(at, name, flags), flags);
        };
        calls.fstat = [this](int fd, struct stat* info) {
            if (atFstat) atFstat(fd);
            return ::fstat(fd, info);
        };
        calls.syncfs = [this](int fd) { return flush(fd, ::syncfs, true); };
        calls.fdatasync = [this](int fd) { return flush(fd, ::fdatasync, false); };
        calls.fstatfs = [this](int fd, struct statfs* info) {
            const int result = ::fstatfs(fd, info);
            if (fileSystemType) info->f_type = fileSystemType;
            return result;
        };
    }
    int opened(int fd, int flags) {
        createOrTruncateOpens += (flags & (O_CREAT | O_TRUNC)) != 0;
        struct stat info {};
        const bool writes = (flags & O_ACCMODE) != O_RDONLY || (flags & (O_CREAT | O_TRUNC));
        if (fd >= 0 && writes && !(flags & O_PATH))
            ++(::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? writeOpens : writeOpensOfOthers);
        return fd;
    }
    int flush(int fd, int (*call)(int), bool wholeFileSystem) {
        struct stat info {};
        ::fstat(fd, &info);
        flushed.emplace_back(wholeFileSystem, info.st_dev);
        if (failFlush) return errno = failFlush, -1;
        return call(fd);
    }
    // A run through these calls, as the user "nobody" when asked and this
    // process is root, since root opens what others may not; no events when
    // the rights could not be dropped.
    Events run(const std::string& folder, const std::vector<std::string>& names, std::int16_t count,
               bool asNobody = false, RecordingView view = {}) {
        const bool drop = asNobody && ::geteuid() == 0;
        if (drop && (::setegid(65534) != 0 || ::seteuid(65534) != 0)) return {};
        ExtendTrends(view, folder, names, count, *files);
        if (drop && (::seteuid(0) != 0 || ::setegid(0) != 0)) std::abort();
        return view.events;
    }
};

class PosixFilesTest : public ::testing::Test {
protected:
    TempFolder folder;
    void SetUp() override { fs::permissions(folder.path(), fs::perms::all); }
};

// An entry named odd.hst that is no regular file: none, or a link to a device.
struct Odd {
    const char* name;
    void (*make)(const fs::path& odd);
};
class OddEntry : public PosixFilesTest, public ::testing::WithParamInterface<Odd> {};

// It gets its message, the run goes on, and only the file written is opened
// for writing, so nothing else can change; as root and as nobody, with or
// without a /proc to reopen descriptors.
TEST_P(OddEntry, IsRefusedAndTheRunGoesOn) {
    // A /proc that is no procfs (a mount namespace or a chroot may put any
    // folder there) is never taken to reopen a descriptor.
    const TempFolder fakeProc;
    const Bytes decoy = trendFile(validHeader(1));
    for (int fd = 0; fd < 256; ++fd)
        fs::create_symlink(fakeProc.write("decoy", decoy), fakeProc.path() / std::to_string(fd));
    const std::string fake = fakeProc.programPath() + "/";
    for (const auto& [nobody, descriptors] :
         {std::pair(false, "/proc/self/fd/"), std::pair(true, "/proc/self/fd/"),
          std::pair(false, "/nowhere/"), std::pair(false, fake.c_str())}) {
        SCOPED_TRACE(std::string(nobody ? "as nobody" : "") + " reopened in " + descriptors);
        Watch watch;
        watch.calls.descriptorFolder = descriptors;
        GetParam().make(folder.path() / "odd.hst");
        fs::permissions(folder.write("good.hst", trendFile(validHeader(1))), fs::perms::all);
        const Events events = watch.run(folder.programPath(), {"odd.hst", "good.hst"}, 12, nobody);
        ASSERT_GE(events.size(), 5u);
        EXPECT_EQ(events[4], invalidEvent("odd.hst"));
        EXPECT_EQ(events.back(), CompletedEvent);
        EXPECT_EQ(folder.read("good.hst"), trendFile(validHeader(12)));
        EXPECT_EQ(watch.writeOpens, 1);
        EXPECT_EQ(watch.writeOpensOfOthers, 0);
        EXPECT_EQ(watch.createOrTruncateOpens, 0);
        EXPECT_EQ(fakeProc.read("decoy"), decoy);
        fs::remove(folder.path() / "odd.hst");
    }
}
// clang-format off
INSTANTIATE_TEST_SUITE_P(Posix, OddEntry, ::testing::Values(
    Odd{"Missing", [](const fs::path&) {}},
    Odd{"LinkToDevNull", [](const fs::path& odd) { fs::create_symlink("/dev/null", odd); }}),
    rowName);
// clang-format on

// A name is one entry of the run's folder, byte for byte: a backslash is an
// ordinary character, a "/" makes no name, and the folder's path may be as
// long as the system lets.
TEST_F(PosixFilesTest, NamesAndFoldersAreTakenAsTheyAre) {
    std::string deep = "we\\ird";  // relative to the test's folder
    while (deep.size() < 4000) deep += "/" + std::string(200, 'd');
    fs::create_directories(folder.path() / deep / "x");
    const Bytes two = trendFile(validHeader(2)), nine = trendFile(validHeader(9));
    for (const char* name : {"/x\\t.hst", "/x/t.hst", "/..\\victim.hst", "/../victim.hst"})
        folder.write(deep + name, two);
    // A link that reaches its file.
    fs::create_symlink(folder.path() / deep / "x" / "t.hst", folder.path() / deep / "link.hst");

    const Events events =
        Watch().run((folder.path() / deep).string(),
                    {"x\\t.hst", "..\\victim.hst", "x/t.hst", "../victim.hst", "link.hst"}, 9);
    EXPECT_EQ(folder.read(deep + "/x\\t.hst"), nine);
    EXPECT_EQ(folder.read(deep + "/..\\victim.hst"), nine);
    EXPECT_EQ(folder.read(deep + "/x/t.hst"), nine);
    EXPECT_EQ(folder.read(deep + "/../victim.hst"), two);
    EXPECT_EQ(events[8], invalidEvent("x/t.hst"));
    EXPECT_EQ(events[11], invalidEvent("../victim.hst"));
}

// A regular file the system refuses stops the run at it, with the reason;
// files before it are done and files after it untouched. A file nobody may
// write is refused to root too.
TEST_F(PosixFilesTest, ARefusedFileStopsTheRunWithAMessage) {
    const fs::perms readOnly =
        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    for (const auto& [refused, nobody] : {std::pair(readOnly, true), std::pair(readOnly, false),
                                          std::pair(fs::perms::owner_write, true)}) {
        for (const char* file : {"a.hst", "b.hst", "c.hst"})
            fs::permissions(folder.write(file, trendFile(validHeader(1))), fs::perms::all);
        fs::permissions(folder.path() / "b.hst", refused);
        const Events events =
            Watch().run(folder.programPath(), {"a.hst", "b.hst", "c.hst"}, 9, nobody);
        if (events.empty()) GTEST_SKIP() << "could not run as an unprivileged user";
        EXPECT_TRUE(
            events.back().starts_with(stoppedEvent("b.hst", "70 Permission denied (open: ")))
            << events.back();
        EXPECT_EQ(folder.read("a.hst"), trendFile(validHeader(9)));
        EXPECT_EQ(folder.read("b.hst"), trendFile(validHeader(1)));
        EXPECT_EQ(folder.read("c.hst"), trendFile(validHeader(1)));
        fs::remove(folder.path() / "b.hst");
    }
}

// Made read-only once its mode was looked at, a file is refused to root all
// the same; without /proc a link is not written, and the cause says why; the
// system's own words come with the program's number, a full disk's on the
// write among them. The count read is told.
TEST_F(PosixFilesTest, EachRefusalComesWithItsCause) {
    const fs::perms readOnly =
        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    folder.write("a.hst", trendFile(validHeader(9)));
    fs::permissions(folder.write("b.hst", trendFile(validHeader(1))), fs::perms::all);
    folder.write("full.hst", trendFile(validHeader(1)));
    fs::create_symlink(folder.path() / "a.hst", folder.path() / "link.hst");  // holds 9
    Watch noProc;
    noProc.calls.descriptorFolder = "/nowhere/";
    noProc.atFstat = [&](int fd) {
        if ((::fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDWR)
            fs::permissions(folder.path() / "b.hst", readOnly);
    };
    noProc.calls.pwrite = [](int, const void*, size_t, off_t) { return errno = ENOSPC, -1L; };
    using Row = std::tuple<std::string, std::string, std::string, std::optional<std::int16_t>>;
    const std::string tooLong = std::string(300, 'n') + ".hst";
    const Row rows[] = {{tooLong, "52 Bad file name or number", "open: File name too long", {}},
                        {"b.hst", "70 Permission denied", "open: ", 1},
                        {"full.hst", "61 Disk full", "write: No space left on device", 1},
                        {"link.hst", "75 Path/File access error", "open: the name is a link", 9}};
    for (const auto& [name, what, cause, before] : rows) {
        RecordingView view;
        const RunResult result = ExtendTrends(view, folder.programPath(), {name}, 9, *noProc.files);
        ASSERT_TRUE(result.at(0).error) << name;
        EXPECT_EQ(result[0].error->what(), "Error " + what);
        EXPECT_TRUE(result[0].error->cause().starts_with(cause)) << result[0].error->cause();
        EXPECT_EQ(result[0].before, before) << name;
    }
}

// A file another program holds a read lease on is written once the holder
// lets it go; a wait long enough to see is said.
TEST_F(PosixFilesTest, AReadLeaseIsWaitedFor) {
    const fs::path file = folder.write("t.hst", trendFile(validHeader(1)));
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {  // takes the lease, and gives it up when asked to
        sigset_t io;
        ::sigemptyset(&io);
        ::sigaddset(&io, SIGIO);
        ::sigprocmask(SIG_BLOCK, &io, nullptr);
        const int fd = ::open(file.c_str(), O_RDONLY);
        const char leased = fd >= 0 && ::fcntl(fd, F_SETLEASE, F_RDLCK) == 0;
        int signal = 0;
        if (::write(ready[1], &leased, 1) == 1 && leased) ::sigwait(&io, &signal);
        ::usleep(400'000);
        ::_exit(::fcntl(fd, F_SETLEASE, F_UNLCK));
    }
    char leased = 0;
    ::read(ready[0], &leased, 1);
    ::close(ready[0]), ::close(ready[1]);
    const Events events = leased ? Watch().run(folder.programPath(), {"t.hst"}, 9) : Events();
    ::waitpid(holder, nullptr, 0);
    if (!leased) GTEST_SKIP() << "the system lets no read lease be taken here";
    EXPECT_EQ(folder.read("t.hst"), trendFile(validHeader(9)));
    EXPECT_NE(std::ranges::find(events, "heading Waiting for another program to release:"),
              events.end());
}

// An entry swapped for a link to a device, or for another trend file,
// between the layer's checks, with or without /proc to reopen descriptors:
// no device is opened for writing, and a file is written only if it was read.
TEST_F(PosixFilesTest, NothingSwappedInIsOpenedForWriting) {
    for (const char* descriptors : {"/proc/self/fd/", "/nowhere/"}) {
        for (const bool device : {true, false}) {
            for (int moment = 1; moment <= 3; ++moment) {  // before the n-th fstat of the run
                SCOPED_TRACE(std::string(descriptors) + (device ? " device" : " file") +
                             " swapped in " + std::to_string(moment));
                folder.write("t.hst", trendFile(validHeader(1)));
                Watch watch;
                watch.calls.descriptorFolder = descriptors;
                int fstats = 0;
                watch.atFstat = [&](int) {
                    if (++fstats != moment) return;
                    fs::rename(folder.path() / "t.hst", folder.path() / "kept.hst");
                    if (device)
                        fs::create_symlink("/dev/null", folder.path() / "t.hst");
                    else
                        folder.write("t.hst", trendFile(validHeader(600)));  // skipped if read
                };
                watch.run(folder.programPath(), {"t.hst"}, 9);
                EXPECT_GE(fstats, moment);
                EXPECT_EQ(watch.writeOpensOfOthers, 0);
                EXPECT_TRUE(device || folder.read("t.hst") == trendFile(validHeader(600)));
                fs::remove(folder.path() / "t.hst");
                fs::remove(folder.path() / "kept.hst");
            }
        }
    }
}

// However a run ends, every file system that holds a file it changed is
// flushed before the progress window hides: the folder's, and another that a
// link led to. A flush the system fails stops the run with the reason.
TEST_F(PosixFilesTest, EveryChangedFileSystemIsFlushedBeforeTheLastMessage) {
    struct stat here = {}, there = {};
    ::stat(folder.path().c_str(), &here);
    if (::stat("/dev/shm", &there) != 0 || here.st_dev == there.st_dev)
        GTEST_SKIP() << "no second file system at /dev/shm to link to";
    const TempFolder far("/dev/shm");
    const std::vector<std::pair<bool, dev_t>> flushed = {{false, there.st_dev},
                                                         {true, here.st_dev}};
    const std::string ioError = "57 Device I/O error (flush: Input/output error)";
    for (const int failFlush : {0, EIO}) {  // EIO: the flush of link.hst fails, then a.hst's
        const Events last =
            failFlush ? Events{stoppedEvent("link.hst", ioError),
                               "message exclamation: Conversion stopped: the change to file "
                               "'a.hst' may not be on disk.\r\nError " +
                                   ioError}
                      : Events{CompletedEvent};
        for (const char* name : {"a.hst", "c.hst"}) folder.write(name, trendFile(validHeader(1)));
        fs::create_symlink(far.write("t.hst", trendFile(validHeader(1))),
                           folder.path() / "link.hst");
        Watch watch;
        watch.failFlush = failFlush;
        RecordingView view;
        std::vector<std::pair<bool, dev_t>> flushedBeforeHide;
        view.onEvent = [&](const std::string& event) {
            if (event == "hide") flushedBeforeHide = watch.flushed;
        };
        ExtendTrends(view, folder.programPath(), {"a.hst", "link.hst", "c.hst"}, 9, *watch.files);
        EXPECT_EQ(flushedBeforeHide, flushed);
        EXPECT_EQ(Events(view.events.end() - std::ptrdiff_t(last.size()), view.events.end()), last);
        fs::remove(folder.path() / "link.hst");
    }
}

// A file system whose flush as a whole never reaches its storage (FUSE,
// network shares), or a folder that may be searched but not read (and so not
// listed): each changed file is flushed on its own instead.
TEST_F(PosixFilesTest, EachFileIsFlushedWhereTheFolderCannotBe) {
    struct stat here = {};
    ::stat(folder.path().c_str(), &here);
    for (const char* name : {"a.hst", "c.hst"}) folder.write(name, trendFile(validHeader(1)));
    Watch watch;
    watch.fileSystemType = 0x65735546;  // FUSE
    EXPECT_EQ(watch.run(folder.programPath(), {"a.hst", "c.hst"}, 10).back(), CompletedEvent);
    watch.fileSystemType = 0;
    fs::permissions(folder.path(), fs::perms::owner_all | fs::perms::others_exec);
    fs::permissions(folder.path() / "a.hst", fs::perms::all);
    const Events searched = watch.run(folder.programPath(), {"a.hst"}, 11, true);
    fs::permissions(folder.path(), fs::perms::all);
    if (searched.empty()) GTEST_SKIP() << "could not run as an unprivileged user";
    EXPECT_EQ(folder.read("a.hst"), trendFile(validHeader(11)));
    EXPECT_EQ(watch.flushed, std::vector(3, std::pair(false, here.st_dev)));
}

}  // namespace
