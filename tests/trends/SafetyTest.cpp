// What the run guarantees on real POSIX files with hostile input: files too
// short for a header, a file too large for a careless copy, and a process
// killed anywhere in a run.

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

TEST(Safety, EveryLengthShortOfAHeaderIsRefusedAndLeftAsItWas) {
    TempFolder folder;
    const Bytes whole = trendFile(patternedHeader(), 0);
    std::vector<std::string> names;
    for (int length = 0; length < 176; ++length) {
        names.push_back(numbered("s%03d.hst", length));
        folder.write(names.back(), Bytes(whole.begin(), whole.begin() + length));
    }
    RecordingView view;
    ExtendTrends(view, folder.programPath(), names, 20);
    EXPECT_EQ(std::count_if(view.events.begin(), view.events.end(),
                            [](const std::string& e) { return e.ends_with("is not a valid trend file."); }),
              176);
    for (int length = 0; length < 176; ++length)
        EXPECT_EQ(folder.read(names[std::size_t(length)]), Bytes(whole.begin(), whole.begin() + length));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 176);
}

TEST(Safety, AFiveGibibyteSparseFileIsExtendedInPlace) {
    TempFolder folder;
    const auto path = folder.write("big.hst", trendFile(patternedHeader(), 0));
    const std::uintmax_t size = std::uintmax_t(5) << 30;
    std::error_code error;
    fs::resize_file(path, size, error);
    if (error) GTEST_SKIP() << "no sparse files here: " << error.message();
    QuietView view;
    ExtendTrends(view, folder.programPath(), {"big.hst"}, 300);
    EXPECT_EQ(fs::file_size(path), size);
    Bytes start(176);
    std::ifstream(path, std::ios::binary).read(reinterpret_cast<char*>(start.data()), 176);
    EXPECT_EQ(start, withCount(trendFile(patternedHeader(), 0), 300));
}

// Kills a helper at random moments of a run over 5,000 files: every file
// must then hold its old count or its new one, and nothing else may differ.
TEST(Safety, KillingTheRunAnywhereLeavesEveryFileOldOrNew) {
    const int fileCount = 5000;
    const std::string helper = (fs::path(::testing::internal::GetArgvs()[0]).parent_path() / "crash_run").string();
    TempFolder folder;
    const Bytes before = trendFile(patternedHeader(), 200), after = withCount(before, 0x0201);
    for (int i = 0; i < fileCount; ++i) folder.write(numbered("f%04d.hst", i), before);
    const std::string arguments = folder.programPath() + " " + std::to_string(fileCount) + " 513";

    // A full run first: it says when it began its last file, so that the
    // kills land in the loop rather than in the final flush.
    FILE* fullRun = ::popen((helper + " " + arguments).c_str(), "r");
    long long loopTime = -1;
    ASSERT_EQ(std::fscanf(fullRun, "%lld", &loopTime), 1);
    ASSERT_EQ(::pclose(fullRun), 0);

    std::mt19937 random(12);
    std::uniform_int_distribution<long long> moment(0, loopTime);
    int interrupted = 0;
    std::vector<bool> changed(fileCount, true);  // the full run changed them all
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < fileCount; ++i)
            if (changed[std::size_t(i)]) folder.write(numbered("f%04d.hst", i), before);
        const pid_t child = ::fork();
        if (child == 0) {
            ::execl("/bin/sh", "sh", "-c", ("exec " + helper + " " + arguments + " >/dev/null").c_str(), nullptr);
            ::_exit(127);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        int count = 0;
        for (int i = 0; i < fileCount; ++i) {
            const Bytes now = folder.read(numbered("f%04d.hst", i));
            ASSERT_TRUE(now == before || now == after) << "round " << round << " file " << i;
            count += changed[std::size_t(i)] = now == after;
        }
        interrupted += count > 0 && count < fileCount;
    }
    EXPECT_GT(interrupted, 0) << "no kill landed in the middle of a run";
}

}  // namespace
