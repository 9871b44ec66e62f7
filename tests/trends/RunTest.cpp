// The run on real files through a file layer that logs and lets another
// program act: every outcome of a file, the order of events, and another
// program's change between read and write.

#include <gtest/gtest.h>

#include <algorithm>

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
        ExtendTrends(view, folder.programPath(), names, count, files);
    }
};

const Bytes patterned = trendFile(patternedHeader());  // count 0x0102
const Bytes minusOne = trendFile(validHeader(-1));
const Bytes shortOne(patterned.begin(), patterned.begin() + TrendFileHeader::Size - 1);

Events written(const std::string& name, const std::string& label) {
    return {"label ", "show", "label " + label, "events", "write " + name + " 148+2",
            "flush",  "hide", CompletedEvent};
}
Events told(const std::string& label, const std::string& message) {
    return {"label ", "show", "label " + label, "events", message, "hide", CompletedEvent};
}

// A file holding `before`, raised to `newCount`: what it then holds, and what the windows show.
struct Outcome {
    const char* name;
    std::string file;
    Bytes before;
    std::int16_t newCount;
    Bytes after;
    Events events;
};
class OneFile : public ExtendTrendsTest, public ::testing::WithParamInterface<Outcome> {};

TEST_P(OneFile, Outcome) {
    const Outcome& row = GetParam();
    folder.write(row.file, row.before);
    run({row.file}, row.newCount);
    EXPECT_EQ(view.events, row.events);
    EXPECT_EQ(folder.read(row.file), row.after);
}
// clang-format off
INSTANTIATE_TEST_SUITE_P(Run, OneFile, ::testing::Values(
    Outcome{"Raised", "T1.hst", patterned, 0x0201, withCount(patterned, 0x0201), written("T1.hst", "T1")},
    Outcome{"Equal", "T1.hst", patterned, 0x0102, patterned, written("T1.hst", "T1")},
    Outcome{"FromMinusOne", "T1.hst", minusOne, 1, withCount(minusOne, 1), written("T1.hst", "T1")},
    Outcome{"HeaderAlone", "h.hst", trendFile(validHeader(2), 0), 9, trendFile(validHeader(9), 0), written("h.hst", "h")},
    Outcome{"Lower", "T1.hst", patterned, 0x0101, patterned, told("T1", alreadySetEvent("T1", 258))},
    Outcome{"Short", "s.hst", shortOne, 9, shortOne, told("s", invalidEvent("s.hst"))},
    Outcome{"NameTurningTextBack", "r\xe2\x80\xaegpj.hst", {}, 9, {}, told("r\\u{202e}gpj", invalidEvent("r\\u{202e}gpj.hst"))}),
    rowName);
// clang-format on

// Another program acts on t.hst just before a step of the run: what the file
// at its name holds once it is open for writing decides, the other program's
// change is kept, and a file no longer at its name is never written.
struct Interference {
    const char* name;
    SpyFiles::Step step;
    std::function<void(const TempFolder&)> act;
    Bytes after;             // at the name
    std::string event;       // "FOLDER" stands for the run's folder
    bool windowsToo = true;  // else Windows keeps other writers out by then
};
class AnotherProgram : public ExtendTrendsTest,
                       public ::testing::WithParamInterface<Interference> {};

TEST_P(AnotherProgram, BetweenReadAndWrite) {
    const Interference& row = GetParam();
#ifdef _WIN32
    if (!row.windowsToo) GTEST_SKIP();
#endif
    folder.write("t.hst", patterned);
    files.before = [&](SpyFiles::Step step, const std::string&) {
        if (step == row.step) row.act(folder);
    };
    run({"t.hst"}, 0x0201);
    std::string event = row.event;
    if (const auto at = event.find("FOLDER"); at != event.npos)
        event.replace(at, 6, platform::withSeparator(folder.programPath()));
    EXPECT_EQ(folder.read("t.hst"), row.after);
    EXPECT_NE(std::ranges::find(view.events, event), view.events.end());
}

std::function<void(const TempFolder&)> writes(const Bytes& bytes) {
    return [bytes](const TempFolder& folder) { folder.write("t.hst", bytes); };
}
void replace(const TempFolder& folder) {
    std::filesystem::rename(folder.path() / "t.hst", folder.path() / "t.old");
    folder.write("t.hst", trendFile(validHeader(7)));
}
const std::string moved = stoppedEvent(
    "t.hst",
    "75 Path/File access error (open: the name no longer leads to the file that was read)");
using enum SpyFiles::Step;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Run, AnotherProgram, ::testing::Values(
    Interference{"CountRaised", OpenForWriting, writes(withCount(patterned, 30000)), withCount(patterned, 30000), alreadySetEvent("t", 30000)},
    Interference{"SignatureDestroyed", OpenForWriting, writes(withByte(patterned, 128, 'X')), withByte(patterned, 128, 'X'), invalidEvent("t.hst")},
    Interference{"Replaced", OpenForWriting, replace, trendFile(validHeader(7)), moved},
    Interference{"ReplacedAsItIsWritten", Write, replace, trendFile(validHeader(7)),
                 stoppedEvent("t.hst", "75 Path/File access error (write: the file was replaced while it was written)"), false},
    Interference{"Cut", OpenForWriting, writes({}), {},
                 stoppedEvent("t.hst", "62 Input past end of file (write: the file holds 0 bytes, less than a header, since it was read)"), false},
    Interference{"FolderDeleted", Open, [](const TempFolder& f) { std::filesystem::remove_all(f.path()); }, {},
                 stoppedEvent("t.hst", "76 Path not found (open: the folder 'FOLDER' is no longer the one listed)")}),
    rowName);
// clang-format on

}  // namespace
