// The file layer's Windows branch on real Windows files (run under Wine
// from Linux): refusals that only Windows has.

#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "TrendFixtures.h"

namespace {

const std::vector<std::string> stoppedAtLocked = {
    "show", "label locked", "events", "hide",
    "message exclamation: Conversion stopped at file 'locked.hst'.\r\nError 70 Permission denied"};

TEST(WindowsFiles, AFileOpenedElsewhereWithoutWriteSharingStopsTheRun) {
    TempFolder folder;
    const auto path = folder.write("locked.hst", trendFile(validHeader(2)));
    folder.write("after.hst", trendFile(validHeader(2)));
    // Another opener that shares nothing, as a running trend server might.
    HANDLE other = CreateFileW(path.wstring().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);

    RecordingView view;
    ExtendTrends(view, folder.programPath(), {"locked.hst", "after.hst"}, 6);
    CloseHandle(other);

    EXPECT_EQ(view.events, stoppedAtLocked);
    EXPECT_EQ(folder.read("locked.hst"), trendFile(validHeader(2)));
    EXPECT_EQ(folder.read("after.hst"), trendFile(validHeader(2)));
}

TEST(WindowsFiles, AReadOnlyFileStopsTheRun) {
    TempFolder folder;
    const auto path = folder.write("locked.hst", trendFile(validHeader(2)));
    ASSERT_TRUE(SetFileAttributesW(path.wstring().c_str(), FILE_ATTRIBUTE_READONLY));

    RecordingView view;
    ExtendTrends(view, folder.programPath(), {"locked.hst"}, 6);
    SetFileAttributesW(path.wstring().c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_EQ(view.events,
              std::vector<std::string>(stoppedAtLocked.begin(), stoppedAtLocked.end()));
    EXPECT_EQ(folder.read("locked.hst"), trendFile(validHeader(2)));
}

TEST(WindowsFiles, AFolderOrAMissingFileIsNoTrendFile) {
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / "folder.hst");
    RecordingView view;
    ExtendTrends(view, folder.programPath(), {"folder.hst", "missing.hst"}, 6);
    EXPECT_EQ(view.events[3], "message error: File 'folder.hst' is not a valid trend file.");
    EXPECT_EQ(view.events[6], "message error: File 'missing.hst' is not a valid trend file.");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "missing.hst"));
}

TEST(WindowsFiles, PathsAreWindowsPaths) {
    TempFolder folder;
    const std::string path = folder.programPath();
    ASSERT_GE(path.size(), 3u);
    EXPECT_EQ(path[1], ':');
    EXPECT_EQ(path[2], '\\');
    EXPECT_EQ(path.find('/'), std::string::npos);
}

}  // namespace
