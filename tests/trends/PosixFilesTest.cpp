// The run on real POSIX files: what is no regular trend file is refused and
// the run goes on, as root and as an ordinary user; names are taken as they
// are; a file the system refuses stops the run with the reason.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <utility>

#include "TrendFixtures.h"

namespace fs = std::filesystem;

namespace {

// What each entry of a folder is, and the bytes of every regular file.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::string state = std::to_string(int(entry.symlink_status().type()));
        if (entry.symlink_status().type() == fs::file_type::regular) {
            std::ifstream in(entry.path(), std::ios::binary);
            state.append(std::istreambuf_iterator<char>(in), {});
        }
        entries[entry.path().filename().string()] = state;
    }
    return entries;
}

// A run in a child process as the user "nobody" when this process is root,
// since root opens what others may not; its events, or none when the child
// could not drop its rights.
Events runUnprivileged(const std::string& folder, const std::vector<std::string>& names,
                       std::int16_t count) {
    FILE* shared = std::tmpfile();
    if (::fork() == 0) {
        if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
        RecordingView view;
        ExtendTrends(view, folder, names, count);
        for (const std::string& event : view.events)
            std::fwrite(event.c_str(), 1, event.size() + 1, shared);
        ::_exit(std::fflush(shared));
    }
    int status = 0;
    ::wait(&status);
    std::rewind(shared);
    Events events;
    for (std::string event; !std::feof(shared);)  // zero-terminated: texts hold line breaks
        if (const int c = std::fgetc(shared); c > 0)
            event += char(c);
        else if (c == 0)
            events.push_back(std::exchange(event, {}));
    std::fclose(shared);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? events : Events();
}

class PosixFilesTest : public ::testing::Test {
protected:
    TempFolder folder;
    void SetUp() override { fs::permissions(folder.path(), fs::perms::all); }
};

// Entries named odd.hst that are no trend file, made by root with the
// permissions ordinary users get: each is refused by its kind, with the
// invalid-file message, the run goes on, and the folder stays as it was.
TEST_F(PosixFilesTest, WhatIsNoRegularFileIsRefusedAndTheRunGoesOn) {
    const fs::path odd = folder.path() / "odd.hst";
    const std::map<std::string, std::function<void()>> kinds = {
        {"missing", [] {}},
        {"folder", [&] { fs::create_directory(odd); }},
        {"fifo", [&] { ::mkfifo(odd.c_str(), 0644); }},
        {"socket", [&] { ::mknod(odd.c_str(), S_IFSOCK | 0644, 0); }},
        {"block device", [&] { ::mknod(odd.c_str(), S_IFBLK | 0644, makedev(7, 0)); }},
        {"link to /dev/null", [&] { fs::create_symlink("/dev/null", odd); }},
        {"link to a folder", [&] { fs::create_directory_symlink(folder.path(), odd); }},
        {"broken link", [&] { fs::create_symlink(folder.path() / "gone", odd); }},
    };
    for (const auto& [kind, make] : kinds) {
        for (const bool unprivileged : {false, true}) {
            SCOPED_TRACE(kind + (unprivileged ? " as nobody" : ""));
            make();
            folder.write("good.hst", trendFile(validHeader(1)));
            fs::permissions(folder.path() / "good.hst", fs::perms::all);
            auto before = snapshot(folder.path());
            RecordingView view;
            const std::vector<std::string> names = {"odd.hst", "good.hst"};
            if (unprivileged)
                view.events = runUnprivileged(folder.programPath(), names, 12);
            else
                ExtendTrends(view, folder.programPath(), names, 12);

            ASSERT_GE(view.events.size(), 4u);
            EXPECT_EQ(view.events[3], "message error: File 'odd.hst' is not a valid trend file.");
            EXPECT_TRUE(view.events.back().starts_with("message none: Conversion is complete."));
            EXPECT_EQ(folder.read("good.hst"), trendFile(validHeader(12)));
            before["good.hst"] = snapshot(folder.path())["good.hst"];
            EXPECT_EQ(snapshot(folder.path()), before);
            fs::remove(odd);
        }
    }
}

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
    fs::create_symlink(folder.path() / deep / "x" / "t.hst",
                       folder.path() / deep / "link.hst");  // reaches its file

    RecordingView view;
    const std::string path = (folder.path() / deep).string();
    ExtendTrends(view, path, {"x\\t.hst", "..\\victim.hst", "x/t.hst", "link.hst"}, 9);
    EXPECT_EQ(folder.read(deep + "/x\\t.hst"), nine);
    EXPECT_EQ(folder.read(deep + "/..\\victim.hst"), nine);
    EXPECT_EQ(folder.read(deep + "/x/t.hst"), nine);
    EXPECT_EQ(folder.read(deep + "/../victim.hst"), two);
    EXPECT_EQ(view.events[7], "message error: File 'x/t.hst' is not a valid trend file.");

    fs::remove_all(folder.path() / deep);  // a vanished folder: its names are missing files
    ExtendTrends(view, path, {"t.hst"}, 9);
    EXPECT_EQ(view.events.end()[-3], "message error: File 't.hst' is not a valid trend file.");
}

// A regular file the system refuses stops the run at it, with the reason;
// files before it are done and files after it untouched.
TEST_F(PosixFilesTest, ARefusedFileStopsTheRunWithAMessage) {
    const Events expected = {
        "show",
        "label a",
        "events",
        "label b",
        "events",
        "hide",
        "message exclamation: Conversion stopped at file 'b.hst'.\r\nError 70 Permission denied"};
    for (const fs::perms refused :
         {fs::perms::owner_read | fs::perms::others_read, fs::perms::owner_write}) {
        for (const char* file : {"a.hst", "b.hst", "c.hst"}) {
            folder.write(file, trendFile(validHeader(1)));
            fs::permissions(folder.path() / file, fs::perms::all);
        }
        fs::permissions(folder.path() / "b.hst", refused);
        const Events events = runUnprivileged(folder.programPath(), {"a.hst", "b.hst", "c.hst"}, 9);
        if (events.empty()) GTEST_SKIP() << "could not run as an unprivileged user";
        EXPECT_EQ(events, expected);
        EXPECT_EQ(folder.read("a.hst"), trendFile(validHeader(9)));
        EXPECT_EQ(folder.read("b.hst"), trendFile(validHeader(1)));
        EXPECT_EQ(folder.read("c.hst"), trendFile(validHeader(1)));
        fs::remove(folder.path() / "b.hst");
    }
}

}  // namespace
