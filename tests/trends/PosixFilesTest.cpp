// What the run does with paths that are not ordinary trend files, on real
// POSIX files: it refuses them, goes on, and leaves the folder as it was.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
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

void makeSocket(const fs::path& path) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

struct Odd {
    const char* name;
    std::function<void(const TempFolder&)> make;
    friend void PrintTo(const Odd& odd, std::ostream* out) { *out << odd.name; }
};

class NotATrendFileTest : public ::testing::TestWithParam<Odd> {};

TEST_P(NotATrendFileTest, IsRefusedAndTheRunGoesOn) {
    TempFolder folder;
    GetParam().make(folder);
    folder.write("good.hst", trendFile(validHeader(1)));
    auto before = snapshot(folder.path());

    RecordingView view;
    ExtendTrends(view, folder.programPath(), {"odd.hst", "good.hst"}, 12);

    ASSERT_GE(view.events.size(), 4u);
    EXPECT_EQ(view.events[3], "message error: File 'odd.hst' is not a valid trend file.");
    EXPECT_EQ(view.events.back().rfind("message none: Conversion is complete.", 0), 0u);
    before["good.hst"] = snapshot(folder.path())["good.hst"];
    EXPECT_EQ(folder.read("good.hst"), trendFile(validHeader(12)));
    EXPECT_EQ(snapshot(folder.path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, NotATrendFileTest,
    ::testing::Values(
        Odd{"missing", [](const TempFolder&) {}},
        Odd{"folder", [](const TempFolder& f) { fs::create_directory(f.path() / "odd.hst"); }},
        Odd{"fifo",
            [](const TempFolder& f) {
                ASSERT_EQ(::mkfifo((f.path() / "odd.hst").c_str(), 0600), 0);
            }},
        Odd{"socket", [](const TempFolder& f) { makeSocket(f.path() / "odd.hst"); }},
        Odd{"link_to_dev_null",
            [](const TempFolder& f) { fs::create_symlink("/dev/null", f.path() / "odd.hst"); }},
        Odd{"link_to_dev_zero",
            [](const TempFolder& f) { fs::create_symlink("/dev/zero", f.path() / "odd.hst"); }},
        Odd{"link_to_folder",
            [](const TempFolder& f) {
                fs::create_directory_symlink(f.path(), f.path() / "odd.hst");
            }},
        Odd{"broken_link",
            [](const TempFolder& f) {
                fs::create_symlink(f.path() / "gone", f.path() / "odd.hst");
            }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PosixFiles, ALinkToATrendFileExtendsTheFileItNames) {
    TempFolder folder;
    folder.write("real.hst", trendFile(validHeader(2)));
    fs::create_symlink(folder.path() / "real.hst", folder.path() / "link.hst");
    RecordingView view;
    ExtendTrends(view, folder.programPath(), {"link.hst"}, 6);
    EXPECT_EQ(folder.read("real.hst"), trendFile(validHeader(6)));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder.path() / "link.hst")));
}

// Root writes through permission bits, so an immutable file is the real
// refusal this test can reach; file systems without the attribute skip it.
TEST(PosixFiles, AnImmutableFileStopsTheRunWithAMessage) {
    TempFolder folder;
    const auto path = folder.write("locked.hst", trendFile(validHeader(2)));
    folder.write("after.hst", trendFile(validHeader(2)));
    const std::string lock = "chattr +i '" + path.string() + "' 2>/dev/null";
    if (std::system(lock.c_str()) != 0) GTEST_SKIP() << "no immutable files here";

    RecordingView view;
    ExtendTrends(view, folder.programPath(), {"locked.hst", "after.hst"}, 6);
    std::system(("chattr -i '" + path.string() + "'").c_str());

    const std::vector<std::string> expected = {
        "show", "label locked", "events", "hide",
        "message exclamation: Conversion stopped at file 'locked.hst'.\r\n"
        "Error 70 Permission denied"};
    EXPECT_EQ(view.events, expected);
    EXPECT_EQ(folder.read("locked.hst"), trendFile(validHeader(2)));
    EXPECT_EQ(folder.read("after.hst"), trendFile(validHeader(2)));
}

}  // namespace
