// The run on real POSIX files: what is not a regular trend file is refused
// and the run goes on, as root and as an ordinary user; names are taken as
// they are; refusals by the system stop the run with a message.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>

#include "TrendFixtures.h"

namespace fs = std::filesystem;

namespace {

// What each entry of a folder is, and the bytes of every regular file.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const auto status = entry.symlink_status();
        std::string state = std::to_string(int(status.type()));
        if (fs::is_symlink(status)) state += " -> " + fs::read_symlink(entry.path()).string();
        if (fs::is_regular_file(status)) {
            std::ifstream in(entry.path(), std::ios::binary);
            state += " " + std::string(std::istreambuf_iterator<char>(in), {});
        }
        entries[entry.path().filename().string()] = state;
    }
    return entries;
}

// Runs a run in a child process as the user "nobody" when this process is
// root, since root opens what others may not; returns the child's events,
// or nothing when the child could not drop its rights.
Events runUnprivileged(const std::string& folder, const std::vector<std::string>& names,
                       std::int16_t count) {
    int channel[2];
    if (::pipe(channel) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
        RecordingView view;
        ExtendTrends(view, folder, names, count);
        for (const std::string& event : view.events)  // zero-terminated: texts hold line breaks
            if (::write(channel[1], event.c_str(), event.size() + 1) < 0) ::_exit(4);
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, std::size_t(n));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
    Events events;
    for (std::size_t start = 0, end; (end = output.find('\0', start)) != std::string::npos;
         start = end + 1)
        events.push_back(output.substr(start, end - start));
    return events;
}

void makeSocket(const fs::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

std::string blockDevice() {
    for (const auto& entry : fs::directory_iterator("/dev"))
        if (fs::is_block_file(entry.status())) return entry.path();
    return {};
}

class PosixFilesTest : public ::testing::Test {
protected:
    TempFolder folder;
    void SetUp() override { fs::permissions(folder.path(), fs::perms::all); }
};

// Entries named odd.hst that are no trend file, made by root with the
// permissions nobody gets: each must be refused with the invalid-file
// message, by the kind of the entry, and the run must go on.
TEST_F(PosixFilesTest, WhatIsNoRegularFileIsRefusedAndTheRunGoesOn) {
    const fs::path odd = folder.path() / "odd.hst";
    const std::map<std::string, std::function<void()>> kinds = {
        {"missing", [] {}},
        {"folder", [&] { fs::create_directory(odd); }},
        {"fifo", [&] { ASSERT_EQ(::mkfifo(odd.c_str(), 0644), 0); }},
        {"socket", [&] { makeSocket(odd); }},
        {"link to /dev/null", [&] { fs::create_symlink("/dev/null", odd); }},
        {"link to a block device",
         [&] {
             if (!blockDevice().empty()) fs::create_symlink(blockDevice(), odd);
         }},
        {"link to a folder", [&] { fs::create_directory_symlink(folder.path(), odd); }},
        {"broken link", [&] { fs::create_symlink(folder.path() / "gone", odd); }},
    };
    const std::string refused = "message error: File 'odd.hst' is not a valid trend file.";
    for (const auto& [kind, make] : kinds) {
        for (const bool unprivileged : {false, true}) {
            SCOPED_TRACE(kind + (unprivileged ? " as nobody" : " as this user"));
            make();
            folder.write("good.hst", trendFile(validHeader(1)));
            fs::permissions(folder.path() / "good.hst", fs::perms::all);
            auto before = snapshot(folder.path());

            RecordingView view;
            if (unprivileged)
                view.events = runUnprivileged(folder.programPath(), {"odd.hst", "good.hst"}, 12);
            else
                ExtendTrends(view, folder.programPath(), {"odd.hst", "good.hst"}, 12);

            ASSERT_GE(view.events.size(), 4u);
            EXPECT_EQ(view.events[3], refused);
            EXPECT_TRUE(view.events.back().starts_with("message none: Conversion is complete."));
            EXPECT_EQ(folder.read("good.hst"), trendFile(validHeader(12)));
            before["good.hst"] = snapshot(folder.path())["good.hst"];
            EXPECT_EQ(snapshot(folder.path()), before);
            fs::remove(odd);
            fs::remove(folder.path() / "good.hst");
        }
    }
}

// A name is one entry of the run's folder, byte for byte: a backslash is an
// ordinary character, and a folder's path may be as long as the system lets.
TEST_F(PosixFilesTest, NamesAndFoldersAreTakenAsTheyAre) {
    fs::path deep = folder.path() / "we\\ird";
    while (deep.native().size() < 4000) deep /= std::string(200, 'd');
    fs::create_directories(deep / "x");
    const Bytes two = trendFile(validHeader(2));
    for (const char* name : {"x\\t.hst", "x/t.hst", "..\\victim.hst", "t.hst"})
        std::ofstream(deep / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(two.data()), std::streamsize(two.size()));
    std::ofstream(deep.parent_path() / "victim.hst", std::ios::binary)
        .write(reinterpret_cast<const char*>(two.data()), std::streamsize(two.size()));

    RecordingView view;
    ExtendTrends(view, deep.string(), {"x\\t.hst", "..\\victim.hst", "x/t.hst"}, 9);

    auto read = [](const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(read(deep / "x\\t.hst"), trendFile(validHeader(9)));
    EXPECT_EQ(read(deep / "..\\victim.hst"), trendFile(validHeader(9)));
    EXPECT_EQ(read(deep / "x" / "t.hst"), two);
    EXPECT_EQ(read(deep.parent_path() / "victim.hst"), two);
    EXPECT_EQ(view.events[7], "message error: File 'x/t.hst' is not a valid trend file.");
    EXPECT_TRUE(view.events.back().starts_with("message none: Conversion is complete."));
}

TEST_F(PosixFilesTest, ALinkToATrendFileExtendsTheFileItNames) {
    folder.write("real.hst", trendFile(validHeader(2)));
    fs::create_symlink(folder.path() / "real.hst", folder.path() / "link.hst");
    RecordingView view;
    ExtendTrends(view, folder.programPath(), {"link.hst"}, 6);
    EXPECT_EQ(folder.read("real.hst"), trendFile(validHeader(6)));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder.path() / "link.hst")));
}

// A regular file the system refuses stops the run at it, with the reason;
// files before it are done and files after it untouched.
TEST_F(PosixFilesTest, ARefusedFileStopsTheRunWithAMessage) {
    const std::map<std::string, fs::perms> refusals = {
        {"read only", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read},
        {"no read permission", fs::perms::owner_write},
    };
    const Events expected = {
        "show", "label a", "events", "label b", "events", "hide",
        "message exclamation: Conversion stopped at file 'b.hst'.\r\nError 70 Permission denied"};
    for (const auto& [name, permissions] : refusals) {
        SCOPED_TRACE(name);
        for (const char* file : {"a.hst", "b.hst", "c.hst"}) {
            folder.write(file, trendFile(validHeader(1)));
            fs::permissions(folder.path() / file, fs::perms::all);
        }
        fs::permissions(folder.path() / "b.hst", permissions);
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
