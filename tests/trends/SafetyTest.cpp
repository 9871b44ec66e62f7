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
    const Bytes after = withCount(before, 0x0201);
    for (int i = 0; i < fileCount; ++i) folder.write(name("f%04d.hst", i), before);

    // Runs the helper and kills it after `killAfter`.
    auto runHelper = [&](std::chrono::microseconds killAfter) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::execl(helper.c_str(), helper.c_str(), folder.programPath().c_str(),
                    std::to_string(fileCount).c_str(), "513", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        std::this_thread::sleep_for(killAfter);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        return status;
    };
    // A full run first: it says when it began its last file, so that the
    // kills below land in the loop rather than in the final flush.
    FILE* fullRun = ::popen(("'" + helper + "' '" + folder.programPath() + "' " +
                             std::to_string(fileCount) + " 513").c_str(),
                            "r");
    long long loopTime = -1;
    ASSERT_EQ(std::fscanf(fullRun, "%lld", &loopTime), 1);
    ASSERT_EQ(::pclose(fullRun), 0) << "helper did not run";
    const auto runTime = std::chrono::microseconds(loopTime);

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
