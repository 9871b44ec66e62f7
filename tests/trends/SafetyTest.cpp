// What the run guarantees with hostile input on real POSIX files: every
// byte of the folder stays as it was but bytes 148 and 149 of the files that
// should change, whatever the files are, whoever runs it, and wherever the
// process is killed.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <random>
#include <thread>

#include "TrendFixtures.h"

namespace fs = std::filesystem;

namespace {

std::string name(const char* format, int i) {
    char text[32];
    std::snprintf(text, sizeof text, format, i);
    return text;
}

Bytes withCount(Bytes file, std::int16_t count) {
    file[148] = std::uint8_t(std::uint16_t(count) & 0xFF);
    file[149] = std::uint8_t(std::uint16_t(count) >> 8);
    return file;
}

TEST(Safety, EveryLengthShortOfAHeaderIsRefusedAndLeftAsItWas) {
    TempFolder folder;
    const Bytes whole = trendFile(patternedHeader(), 0);
    std::vector<std::string> names;
    for (int length = 0; length < 176; ++length) {
        names.push_back(name("s%03d.hst", length));
        folder.write(names.back(), Bytes(whole.begin(), whole.begin() + length));
    }
    RecordingView view;
    ExtendTrends(view, folder.programPath(), names, 20);
    int refused = 0;
    for (const std::string& event : view.events)
        refused += event.find("is not a valid trend file.") != std::string::npos;
    EXPECT_EQ(refused, 176);
    for (int length = 0; length < 176; ++length)
        EXPECT_EQ(folder.read(names[std::size_t(length)]),
                  Bytes(whole.begin(), whole.begin() + length));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 176);
}

// Runs `work` in a child process as the unprivileged user "nobody" when this
// process is root, since root writes through permission bits; returns the
// child's view events. Empty when the child could not drop its rights.
std::vector<std::string> runUnprivileged(const std::function<void(RecordingView&)>& work) {
    int channel[2];
    if (::pipe(channel) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
        RecordingView view;
        work(view);
        for (const std::string& event : view.events) {
            // Events end in a zero byte: their texts hold line breaks.
            if (::write(channel[1], event.c_str(), event.size() + 1) < 0) ::_exit(4);
        }
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
    std::vector<std::string> events;
    for (std::size_t start = 0, end; (end = output.find('\0', start)) != std::string::npos;
         start = end + 1)
        events.push_back(output.substr(start, end - start));
    return events;
}

struct Refusal {
    const char* name;
    fs::perms permissions;
};

class RefusedFileTest : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedFileTest, StopsTheRunWithAMessageAndChangesNothing) {
    TempFolder folder;
    fs::permissions(folder.path(), fs::perms::all);  // the unprivileged user may look in
    folder.write("a.hst", trendFile(validHeader(1)));
    folder.write("b.hst", trendFile(validHeader(1)));
    folder.write("c.hst", trendFile(validHeader(1)));
    for (const char* file : {"a.hst", "c.hst"})
        fs::permissions(folder.path() / file, fs::perms::all);
    fs::permissions(folder.path() / "b.hst", GetParam().permissions);

    const auto events = runUnprivileged([&](RecordingView& view) {
        ExtendTrends(view, folder.programPath(), {"a.hst", "b.hst", "c.hst"}, 9);
    });
    if (events.empty()) GTEST_SKIP() << "could not run as an unprivileged user";

    const std::vector<std::string> expected = {
        "show",
        "label a",
        "events",
        "label b",
        "events",
        "hide",
        "message exclamation: Conversion stopped at file 'b.hst'.\r\nError 70 Permission denied"};
    EXPECT_EQ(events, expected);
    EXPECT_EQ(folder.read("a.hst"), trendFile(validHeader(9)));
    EXPECT_EQ(folder.read("b.hst"), trendFile(validHeader(1)));
    EXPECT_EQ(folder.read("c.hst"), trendFile(validHeader(1)));
}

INSTANTIATE_TEST_SUITE_P(Permissions, RefusedFileTest,
                         ::testing::Values(Refusal{"read_only", fs::perms::owner_read |
                                                                    fs::perms::group_read |
                                                                    fs::perms::others_read},
                                           Refusal{"no_read_permission", fs::perms::owner_write}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Safety, AFiveGibibyteSparseFileIsExtendedInPlace) {
    TempFolder folder;
    const auto path = folder.write("big.hst", trendFile(patternedHeader(), 0));
    const std::uintmax_t size = std::uintmax_t(5) << 30;
    std::error_code error;
    fs::resize_file(path, size, error);
    if (error) GTEST_SKIP() << "no sparse files here: " << error.message();

    RecordingView view;
    ExtendTrends(view, folder.programPath(), {"big.hst"}, 300);
    EXPECT_EQ(fs::file_size(path), size);
    std::ifstream in(path, std::ios::binary);
    Bytes start(176);
    in.read(reinterpret_cast<char*>(start.data()), 176);
    EXPECT_EQ(start, withCount(trendFile(patternedHeader(), 0), 300));
}

// Kills a helper in the middle of a run at random moments: every file must
// then hold its old count or its new one, and nothing else may differ.
TEST(Safety, KillingTheRunAnywhereLeavesEveryFileOldOrNew) {
    const int fileCount = 5000;
    const std::string helper =
        (fs::path(::testing::internal::GetArgvs()[0]).parent_path() / "crash_run").string();
    TempFolder folder;
    const Bytes before = trendFile(patternedHeader(), 200);
    const Bytes after = withCount(before, 31);
    for (int i = 0; i < fileCount; ++i) folder.write(name("f%04d.hst", i), before);

    // Runs the helper to its end, or kills it after `killAfter`.
    auto runHelper = [&](std::optional<std::chrono::microseconds> killAfter) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::execl(helper.c_str(), helper.c_str(), folder.programPath().c_str(),
                    std::to_string(fileCount).c_str(), "31", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        if (killAfter) {
            std::this_thread::sleep_for(*killAfter);
            ::kill(child, SIGKILL);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return status;
    };
    const auto start = std::chrono::steady_clock::now();
    const int fullRun = runHelper(std::nullopt);
    ASSERT_TRUE(WIFEXITED(fullRun) && WEXITSTATUS(fullRun) == 0) << "helper did not run";
    const auto runTime = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);

    std::mt19937 random(12);
    std::uniform_int_distribution<long> moment(0, runTime.count());
    int interrupted = 0;
    std::vector<int> changed(std::size_t(fileCount), 1);  // the full run changed them all
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < fileCount; ++i)
            if (changed[std::size_t(i)]) folder.write(name("f%04d.hst", i), before);
        runHelper(std::chrono::microseconds(moment(random)));
        for (int i = 0; i < fileCount; ++i) {
            const Bytes now = folder.read(name("f%04d.hst", i));
            ASSERT_TRUE(now == before || now == after) << "round " << round << " file " << i;
            changed[std::size_t(i)] = now == after;
        }
        const auto count = std::count(changed.begin(), changed.end(), 1);
        interrupted += count > 0 && count < fileCount;
    }
    EXPECT_GT(interrupted, 0) << "no kill landed in the middle of a run";
}

}  // namespace
