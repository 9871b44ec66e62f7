// The file layer's Windows branch on real Windows files (run under Wine
// from Linux): refusals that only Windows has.

#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <fstream>

#include "TrendFixtures.h"

namespace {

const Events stoppedAtLocked = {
    "show", "label locked", "events", "hide",
    "message exclamation: Conversion stopped at file 'locked.hst'.\r\nError 70 Permission denied"};

TEST(WindowsFiles, AFileOpenedElsewhereWithoutWriteSharingOrReadOnlyStopsTheRun) {
    for (const bool readOnly : {false, true}) {
        TempFolder folder;
        const auto path = folder.write("locked.hst", trendFile(validHeader(2)));
        folder.write("after.hst", trendFile(validHeader(2)));
        // Another opener that shares nothing, as a running trend server might.
        HANDLE other = readOnly ? INVALID_HANDLE_VALUE
                                : CreateFileW(path.wstring().c_str(), GENERIC_READ, 0, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (readOnly) {
            ASSERT_TRUE(SetFileAttributesW(path.wstring().c_str(), FILE_ATTRIBUTE_READONLY));
        }

        RecordingView view;
        ExtendTrends(view, folder.programPath(), {"locked.hst", "after.hst"}, 6);
        CloseHandle(other);
        SetFileAttributesW(path.wstring().c_str(), FILE_ATTRIBUTE_NORMAL);

        EXPECT_EQ(view.events, stoppedAtLocked) << "read only " << readOnly;
        EXPECT_EQ(folder.read("locked.hst"), trendFile(validHeader(2)));
        EXPECT_EQ(folder.read("after.hst"), trendFile(validHeader(2)));
    }
}

// Folders, missing files, device names and names that UTF-16 cannot hold are
// no trend files: each is refused, nothing is created, the run goes on.
TEST(WindowsFiles, WhatIsNoRegularFileIsRefusedAndTheRunGoesOn) {
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / "folder.hst");
    folder.write("good.hst", trendFile(validHeader(1)));
    const std::vector<std::string> odd = {"folder.hst", "missing.hst", "NUL.hst",   "con.hst",
                                          "COM1.hst",   "lpt9.x.hst",  "bad\xff.hst", "a\\good.hst"};
    std::vector<std::string> names = odd;
    names.push_back("good.hst");

    RecordingView view;
    ExtendTrends(view, folder.programPath(), names, 6);

    for (std::size_t i = 0; i < odd.size(); ++i)
        EXPECT_EQ(view.events[3 * i + 3],
                  "message error: File '" + odd[i] + "' is not a valid trend file.");
    EXPECT_EQ(view.events.back().rfind("message none: Conversion is complete.", 0), 0u);
    EXPECT_EQ(folder.read("good.hst"), trendFile(validHeader(6)));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
}

TEST(WindowsFiles, AFolderPastTheOldPathLimitIsReached) {
    TempFolder folder;
    std::filesystem::path deep = folder.path();
    while (deep.native().size() < 400) deep /= std::wstring(100, L'd');
    std::filesystem::create_directories(deep);
    const Bytes two = trendFile(validHeader(2));
    std::ofstream(deep / "t.hst", std::ios::binary)
        .write(reinterpret_cast<const char*>(two.data()), std::streamsize(two.size()));

    RecordingView view;
    const auto text = deep.u8string();
    ExtendTrends(view, std::string(text.begin(), text.end()), {"t.hst"}, 9);

    std::ifstream in(deep / "t.hst", std::ios::binary);
    EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(in), {}), trendFile(validHeader(9)));
}

TEST(WindowsFiles, PathsAreWindowsPaths) {
    const std::string path = TempFolder().programPath();
    ASSERT_GE(path.size(), 3u);
    EXPECT_EQ(path.substr(1, 2), ":\\");
    EXPECT_EQ(path.find('/'), std::string::npos);
}

}  // namespace
