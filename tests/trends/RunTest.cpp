// The run on real files through a file layer that logs and fails on request:
// every outcome of a file, the order of events, the flush however the run
// ends, and another program's change between read and write.

#include <gtest/gtest.h>

#include "TrendFixtures.h"

namespace {

// The process's open descriptors on Linux; none are counted under Wine.
std::ptrdiff_t descriptors() {
#ifndef _WIN32
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
#endif
    return 0;
}

class ExtendTrendsTest : public ::testing::Test {
protected:
    TempFolder folder;
    RecordingView view;
    SpyFiles files;
    RunUnderWay underWay;
    std::ptrdiff_t descriptorsBefore = descriptors();

    void SetUp() override {
        files.log = &view.events;
        // No trend file is open while other window events run, nor while a
        // message box waits for the user.
        view.onEvent = [this](const std::string& event) {
            if (event == "events" || event.starts_with("message")) {
                EXPECT_EQ(files.openFiles, 0) << event;
            }
        };
    }
    void TearDown() override {
        EXPECT_EQ(files.openFiles, 0);
        EXPECT_EQ(descriptors(), descriptorsBefore);
    }
    void run(const std::vector<std::string>& names, std::int16_t count) {
        view.events.clear();
        ExtendTrends(view, folder.programPath(), names, count, files, &underWay);
    }
};

TEST_F(ExtendTrendsTest, EachOutcomeOfOneFile) {
    const Bytes patterned = trendFile(patternedHeader());  // count 0x0102
    const Bytes minusOne = trendFile(validHeader(-1));
    Bytes invalid = patterned;
    invalid[129] = 'e';
    const Bytes shortOne(patterned.begin(), patterned.begin() + TrendFileHeader::Size - 1);
    // clang-format off
    auto written = [](const std::string& name, const std::string& label) {
        return Events{"label ", "show", "label " + label, "events", "write " + name + " 148+2", "flush", "hide", CompletedEvent};
    };
    auto told = [](const std::string& label, const std::string& message) {
        return Events{"label ", "show", "label " + label, "events", message, "hide", CompletedEvent};
    };
    using Case = std::tuple<std::string, Bytes, std::int16_t, Bytes, Events>;
    const Case cases[] = {
        {"T1.hst", patterned, 0x0201, withCount(patterned, 0x0201), written("T1.hst", "T1")},
        {"T1.hst", patterned, 0x0102, patterned, written("T1.hst", "T1")},
        {"T1.hst", minusOne, 1, withCount(minusOne, 1), written("T1.hst", "T1")},
        {"h.hst", trendFile(validHeader(2), 0), 9, trendFile(validHeader(9), 0), written("h.hst", "h")},
        {"T1.hst", patterned, 0x0101, patterned,
         told("T1", alreadySetEvent("T1", 258))},
        {"A.B.HST", invalid, 10, invalid, told("A.B", invalidEvent("A.B.HST"))},
        {"s.hst", shortOne, 9, shortOne, told("s", invalidEvent("s.hst"))},
        {"e.hst", {}, 9, {}, told("e", invalidEvent("e.hst"))},
        {"r\xe2\x80\xaegpj.hst", {}, 9, {}, told("r\\u{202e}gpj", invalidEvent("r\\u{202e}gpj.hst"))}};
    // clang-format on
    for (const auto& [name, before, newCount, after, events] : cases) {
        folder.write(name, before);
        run({name}, newCount);
        EXPECT_EQ(view.events, events) << events[4];
        EXPECT_EQ(folder.read(name), after) << events[4];
    }
    run({}, 5);  // no names: still a whole run
    EXPECT_EQ(view.events, (Events{"label ", "show", "hide", CompletedEvent}));
    // A failed flush: every file whose change it covered failed, and the
    // message counts them and names the first.
    folder.write("a.hst", patterned);
    files.fault = {SpyFiles::Step::Flush, platform::errors::make(platform::errors::DiskFull)};
    run({"a.hst", "T1.hst"}, 0x0103);
    EXPECT_EQ(view.events.back(),
              "message exclamation: Conversion stopped: the changes to 2 files, the first "
              "'a.hst', may not be on disk.\r\nError 61 Disk full");
}

// Another program acts on a file after it was read: what the file at its
// name holds once it is open for writing decides, the other program's change
// is kept, and a file no longer at its name is never written.
TEST_F(ExtendTrendsTest, AnotherProgramBetweenReadAndWrite) {
    using Step = SpyFiles::Step;
    const Bytes before = trendFile(patternedHeader());  // count 0x0102
    Bytes edited = before, unsigned_ = before;
    edited[0] ^= 0xFF;
    unsigned_[128] = 'X';
    const Bytes other = trendFile(validHeader(7));
    const std::string moved =
        stoppedEvent("t.hst",
                     "75 Path/File access error (open: the name no longer leads to the "
                     "file that was read)");
    struct Case {
        const char* what;
        Step step;  // just before which the other program acts
        std::function<void()> act;
        Bytes after;  // at the name
        std::string event;
        bool windowsToo = true;  // else Windows keeps other writers out by then
    };
    auto write = [&](const Bytes& bytes) { return [&, bytes] { folder.write("t.hst", bytes); }; };
    // Another run that holds the file open for writing, and raises its count
    // only once this run waits for it.
    const auto otherFolder = platform::nativeFileAccess().openFolder(folder.programPath());
    std::unique_ptr<platform::OpenFile> otherRun;
    const auto checks = view.onEvent;
    bool waited = false;  // the file waited for is open, still unwritten, while events run
    view.onEvent = [&](const std::string& event) {
        if (event.starts_with("heading ")) waited = event.ends_with("release:");
        if (!otherRun && !waited) checks(event);
        if (!otherRun || !waited) return;
        otherRun->writeAt(148, Bytes{0x30, 0x75});  // 30000
        std::exchange(otherRun, nullptr)->close();
    };
    const auto replace = [&] {
        std::filesystem::rename(folder.path() / "t.hst", folder.path() / "t.old");
        folder.write("t.hst", other);
    };
    const auto holdOtherRun = [&] {
        otherRun = otherFolder->openExisting("t.hst");
        otherRun->openForWriting({});
    };
    // clang-format off
    const Case cases[] = {
        {"count raised", Step::OpenForWriting, write(withCount(before, 30000)), withCount(before, 30000),
         alreadySetEvent("t", 30000)},
        {"another run holding it", Step::OpenForWriting, holdOtherRun, withCount(before, 30000),
         alreadySetEvent("t", 30000), false},
        {"signature destroyed", Step::OpenForWriting, write(unsigned_), unsigned_,
         invalidEvent("t.hst")},
        {"replaced", Step::OpenForWriting, replace, other, moved},
        {"replaced as it is written", Step::Write, replace, other, stoppedEvent("t.hst", "75 Path/File access error (write: the file was replaced while it was written)"), false},
        {"deleted", Step::OpenForWriting, [&] { std::filesystem::remove(folder.path() / "t.hst"); },
         Bytes(), moved, false},
        {"edited", Step::Size, write(edited), withCount(edited, 0x0201), CompletedEvent, false},
        {"cut", Step::OpenForWriting, write({}), Bytes(), stoppedEvent("t.hst", "62 Input past end of file (write: the file holds 0 bytes, less than a header, since it was read)"), false},
        {"folder deleted", Step::Open, [&] { std::filesystem::remove_all(folder.path()); }, Bytes(),
         stoppedEvent("t.hst", "76 Path not found (open: the folder '" + platform::withSeparator(folder.programPath()) +
                                   "' is no longer the one listed)")}};  // the last: no folder after it
    // clang-format on
    for (const Case& c : cases) {
#ifdef _WIN32
        if (!c.windowsToo) continue;
#endif
        SCOPED_TRACE(c.what);
        folder.write("t.hst", before);
        files.before = [&](Step step, const std::string&) {
            if (step == c.step) c.act();
        };
        run({"t.hst"}, 0x0201);
        files.before = nullptr;
        EXPECT_EQ(folder.read("t.hst"), c.after);
        EXPECT_NE(std::find(view.events.begin(), view.events.end(), c.event), view.events.end());
    }
}

}  // namespace
