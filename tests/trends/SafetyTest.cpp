// A process killed anywhere in a run leaves every file whole.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <random>
#include <thread>

#include "TrendFixtures.h"

namespace fs = std::filesystem;

namespace {

std::string numbered(const char* format, int i) {
    char text[32];
    std::snprintf(text, sizeof text, format, i);
    return text;
}

// Kills a run at random moments over 5,000 files: every file must then hold
// its old count or its new one, and nothing else may differ.
TEST(Safety, KillingTheRunAnywhereLeavesEveryFileOldOrNew) {
    const int fileCount = 5000;
    TempFolder folder;
    const Bytes before = trendFile(patternedHeader(), 200), after = withCount(before, 0x0201);
    std::vector<std::string> names;
    for (int i = 0; i < fileCount; ++i)
        folder.write(names.emplace_back(numbered("f%04d.hst", i)), before);
    // A run in a child process; it tells `report` when it began its last file.
    auto startRun = [&](int report) {
        const pid_t child = ::fork();
        if (child != 0) return child;
        struct TimedView : QuietView {
            std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now(), last;
            void doEvents() override { last = std::chrono::steady_clock::now(); }
        } view;
        ExtendTrends(view, folder.programPath(), names, 0x0201);
        const long long loop =
            std::chrono::duration_cast<std::chrono::microseconds>(view.last - view.start).count();
        ::_exit(::write(report, &loop, sizeof loop) == sizeof loop ? 0 : 1);
    };
    // A full run first, so that the kills land in the loop, not in the final flush.
    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    ::waitpid(startRun(channel[1]), nullptr, 0);
    long long loopTime = 0;
    ASSERT_EQ(::read(channel[0], &loopTime, sizeof loopTime), ssize_t(sizeof loopTime));

    std::mt19937 random(12);
    std::uniform_int_distribution<long long> moment(0, loopTime);
    int interrupted = 0;
    std::vector<bool> changed(fileCount, true);  // the full run changed them all
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < fileCount; ++i)
            if (changed[std::size_t(i)]) folder.write(names[std::size_t(i)], before);
        const pid_t child = startRun(-1);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        int count = 0;
        for (int i = 0; i < fileCount; ++i) {
            const Bytes now = folder.read(names[std::size_t(i)]);
            ASSERT_TRUE(now == before || now == after) << "round " << round << " file " << i;
            count += changed[std::size_t(i)] = now == after;
        }
        interrupted += count > 0 && count < fileCount;
    }
    EXPECT_GT(interrupted, 0) << "no kill landed in the middle of a run";
}

}  // namespace
