// The file layer's Windows branch on real Windows files, run under Wine:
// refusals that only Windows has.

#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstring>

#include "TrendFixtures.h"
#include "platform/Places.h"
#include "platform/WindowsCalls.h"
#include "trends/FileTools.h"

namespace {

// A file another program holds open for writing (a running trend server), or
// one marked read-only, stops the run at it and stays as it was, when it is
// to be written; one only to be skipped or refused is only read, whoever
// holds it, sharing only reading, and the run goes on.
TEST(WindowsFiles, AFileInUseOrReadOnlyStopsTheRunOnlyWhenItIsToBeWritten) {
    TempFolder held;
    const Bytes invalid = withByte(trendFile(validHeader(2)), 128, 'v');
    std::vector<HANDLE> readers;
    for (const auto& [name, bytes] :
         {std::pair("high.hst", trendFile(validHeader(600))), std::pair("bad.hst", invalid)})
        readers.push_back(CreateFileW(held.write(name, bytes).wstring().c_str(), GENERIC_READ,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    held.write("good.hst", trendFile(validHeader(2)));
    RecordingView seen;
    ExtendTrends(seen, held.programPath(), {"high.hst", "bad.hst", "good.hst"}, 6);
    for (HANDLE reader : readers) CloseHandle(reader);
    EXPECT_EQ(seen.events.back(), CompletedEvent);
    EXPECT_EQ(held.read("good.hst"), trendFile(validHeader(6)));

    for (const bool readOnly : {false, true}) {
        TempFolder folder;
        const std::wstring path = folder.write("locked.hst", trendFile(validHeader(2))).wstring();
        folder.write("after.hst", trendFile(validHeader(2)));
        HANDLE other = readOnly ? INVALID_HANDLE_VALUE
                                : CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (readOnly) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
        RecordingView view;
        const RunResult result =
            ExtendTrends(view, folder.programPath(), {"locked.hst", "after.hst"}, 6);
        CloseHandle(other);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_TRUE(view.events.back().starts_with(
            stoppedEvent("locked.hst", "70 Permission denied (open: ")));
        // Beside the number, the system's own code: none for the attribute.
        ASSERT_TRUE(result.at(0).error);
        EXPECT_EQ(result[0].error->systemCode(), readOnly ? 0 : int(ERROR_SHARING_VIOLATION));
        EXPECT_EQ(folder.read("locked.hst"), trendFile(validHeader(2)));
        EXPECT_EQ(folder.read("after.hst"), trendFile(validHeader(2)));
    }
}

// A range of the header another program has locked, for writing or for
// reading, is never written through: the open for writing waits, telling
// of the lock as it goes, until it is given up, the file as it was.
TEST(WindowsFiles, ALockedRangeIsWaitedForNeverWrittenThrough) {
    char helper[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, helper, MAX_PATH);
    std::strcpy(std::strrchr(helper, '\\') + 1, "hold_lock.exe");  // beside this program
    for (const bool shared : {false, true}) {
        TempFolder folder;
        const std::string path = folder.write("b.hst", trendFile(validHeader(4))).string();
        // Another program holds the lock, shared or not, and says so until no longer read.
        FILE* holder = _popen(
            ("\"\"" + std::string(helper) + "\" \"" + path + (shared ? "\" s\"" : "\"\"")).c_str(),
            "rb");
        ASSERT_EQ(std::fgetc(holder), 1) << shared;
        int told = 0;  // times the wait was told of the lock
        auto file =
            platform::nativeFileAccess().openFolder(folder.programPath())->openExisting("b.hst");
        EXPECT_FALSE(
            file->openForWriting([&](platform::Holder by, std::chrono::milliseconds waited) {
                told += by == platform::Holder::Lock;
                return waited.count() < 200;
            }));
        _pclose(holder);  // ends it
        EXPECT_EQ(folder.read("b.hst"), trendFile(validHeader(4)));
        EXPECT_GE(told, 2) << shared;  // again as the wait goes on
    }
}

// Folders, missing files, device names and names that UTF-16 cannot hold are
// no trend files: each is refused, nothing is created or changed, the run
// goes on; and a folder past the old 260-character limit is reached.
TEST(WindowsFiles, WhatIsNoRegularFileIsRefusedAndLongPathsAreReached) {
    TempFolder folder;
    std::filesystem::path deep = folder.path();
    while (deep.native().size() < 400) deep /= std::wstring(100, L'd');
    std::filesystem::create_directories(deep / "folder.hst");
    const Bytes one = trendFile(validHeader(1));
    for (const char* name : {"good.hst", "bad\xef\xbf\xbd.hst"})  // the second: U+FFFD
        writeFile(deep / std::filesystem::u8path(name), one);
    const std::vector<std::string> names = {
        "folder.hst", "missing.hst", "NUL.hst",     "con.hst", "COM1.hst",
        "lpt9.x.hst", "bad\xff.hst", "a\\good.hst", "good.hst"};  // the last alone is a trend file
    RecordingView view;
    const auto text = deep.u8string();
    ExtendTrends(view, std::string(text.begin(), text.end()), names, 6);

    ASSERT_EQ(view.events.size(), 3 * names.size() + 3);
    for (std::size_t i = 0; i + 1 < names.size(); ++i)
        EXPECT_EQ(view.events[3 * i + 4], invalidEvent(shownName(names[i])));
    EXPECT_EQ(readFile(deep / "good.hst"), trendFile(validHeader(6)));
    EXPECT_EQ(readFile(deep / std::filesystem::u8path("bad\xef\xbf\xbd.hst")), one);
    // The standard library cannot list a folder this deep here; Windows can.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((L"\\\\?\\" + deep.wstring() + L"\\*").c_str(), &found);
    int entries = 0;
    do entries += found.cFileName[0] != L'.';
    while (FindNextFileW(search, &found));
    FindClose(search);
    EXPECT_EQ(entries, 3);
}

// A name Windows forbids, as a Linux folder reached through a drive holds,
// stops the run there as a name this system cannot open, not as a file that
// is no trend file; the file stays as it was.
TEST(WindowsFiles, ANameWindowsForbidsIsNoVerdictOnTheFile) {
    TempFolder folder("Z:\\tmp");  // Linux's /tmp, where Wine makes any name at "\\?\unix"
    const std::wstring there = L"\\\\?\\unix" + folder.path().wstring().substr(2) + L"\\";
    for (const char* name : {"a\"q.hst", "b:c.hst", "c*s.hst", "d?q.hst", "e|p.hst", "f<l.hst",
                             "g>g.hst", "h\x01.hst"}) {
        const std::wstring path = there + std::filesystem::u8path(name).wstring();
        writeFile(path, trendFile(validHeader(2)));
        RecordingView view;
        ExtendTrends(view, folder.programPath(), {name}, 6);
        EXPECT_EQ(view.events.back(),
                  stoppedEvent(shownName(name),
                               "52 Bad file name or number (open: the name cannot be "
                               "opened on this system)"));
        EXPECT_EQ(readFile(path), trendFile(validHeader(2))) << name;
        DeleteFileW(path.c_str());  // which the folder's removal cannot
    }
}

// The system refusing a write for a full disk, a flush, or a file another
// program holds: the run stops at that file with the program's number and
// the system's words, and the file after it is untouched.
TEST(WindowsFiles, AFailureOfTheSystemStopsTheRunWithItsCause) {
    const auto failing = [](DWORD code) {
        return [code](auto...) { return SetLastError(code), FALSE; };
    };
    using Fault = std::function<void(platform::windows::Calls&)>;
    const std::pair<Fault, std::string> rows[] = {
        {[&](auto& calls) { calls.writeFile = failing(ERROR_DISK_FULL); }, "61 Disk full (write: "},
        {[&](auto& calls) { calls.flushFileBuffers = failing(ERROR_WRITE_FAULT); },
         "57 Device I/O error (flush: "},
        {[](auto& calls) {
             calls.reOpenFile = [](auto...) {
                 return SetLastError(ERROR_SHARING_VIOLATION), INVALID_HANDLE_VALUE;
             };
         },
         "70 Permission denied (open: "}};
    for (const auto& [fault, error] : rows) {
        TempFolder folder;
        for (const char* name : {"a.hst", "b.hst"}) folder.write(name, trendFile(validHeader(2)));
        platform::windows::Calls calls = platform::windows::systemCalls();
        fault(calls);
        RecordingView view;
        ExtendTrends(view, folder.programPath(), {"a.hst", "b.hst"}, 6,
                     *platform::windows::fileAccessThrough(calls));
        EXPECT_TRUE(view.events.back().starts_with(stoppedEvent("a.hst", error))) << error;
        EXPECT_EQ(folder.read("b.hst"), trendFile(validHeader(2))) << error;
    }
}

// Two names of a Linux folder that this system shows alike are listed once,
// for the one file that name opens.
TEST(WindowsFiles, NamesShownAlikeAreListedOnce) {
    const auto folder = platform::nativeFileAccess().openFolder("Z:\\tmp\\kelvane-twins");
    EXPECT_EQ(folder->list().files, std::vector<std::string>{"a\xef\xbf\xbd.hst"});
}

// A name may end in dots or spaces, which the system's own full path drops:
// "dot." is its own folder, never its neighbour "dot".
TEST(WindowsFiles, FolderNamesEndingInDotsOrSpacesAreKept) {
    TempFolder folder;
    const std::wstring base = L"\\\\?\\" + folder.path().wstring() + L"\\";
    for (const wchar_t* name : {L"dot", L"dot.", L"dot "}) {
        CreateDirectoryW((base + name).c_str(), nullptr);
        writeFile(base + name + L"\\t.hst", trendFile(validHeader(2)));
    }
    auto countIn = [&](const wchar_t* name) { return readFile(base + name + L"\\t.hst").at(148); };
    for (const auto& [name, count] : {std::pair("dot.", 7), std::pair("dot ", 8)}) {
        const std::string path = folder.programPath() + "\\" + name;
        EXPECT_TRUE(platform::fullPath(path).value_or("").ends_with(path.substr(1))) << name;
        RecordingView view;
        ExtendTrends(view, path, {"t.hst"}, std::int16_t(count));
        EXPECT_EQ(view.events.back(), CompletedEvent) << name;
        EXPECT_EQ(countIn(L"dot"), 2) << name;
    }
    EXPECT_EQ(countIn(L"dot."), 7);
    EXPECT_EQ(countIn(L"dot "), 8);
    // The standard library's removal loops on such names under Wine.
    for (const wchar_t* name : {L"dot", L"dot.", L"dot "}) {
        DeleteFileW((base + name + L"\\t.hst").c_str());
        RemoveDirectoryW((base + name).c_str());
    }
}

}  // namespace
