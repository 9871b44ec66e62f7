#include <gtest/gtest.h>

#include <filesystem>

#include "TrendFixtures.h"
#include "trends/Trends.h"

namespace {

const std::string Closing =
    "message none: Conversion is complete.\r\n"
    "You must set the new number of history files in your project's\r\n"
    "trend tag definitions before restarting Velmar.";

std::string stopped(const std::string& name, const std::string& error) {
    return "message exclamation: Conversion stopped at file '" + name + "'.\r\nError " + error;
}

class ExtendTrendsTest : public ::testing::Test {
protected:
    TempFolder folder;
    RecordingView view;
    FakeFiles files;

    void SetUp() override {
        files.log = &view.events;
        // No trend file may be open while other window events run, nor
        // while a message box waits for the user.
        view.onEvent = [this](const std::string& event) {
            if (event == "events" || event.starts_with("message")) {
                EXPECT_EQ(files.openFiles(), 0) << event;
            }
        };
    }
    void TearDown() override { EXPECT_EQ(files.openFiles(), 0); }

    void run(const std::vector<std::string>& names, std::int16_t newCount) {
        ExtendTrends(view, folder.programPath(), names, newCount, files);
    }
};

TEST_F(ExtendTrendsTest, EachOutcomeOfOneFile) {
    struct Case {
        const char* name;
        std::string fileName;
        Bytes before;
        std::int16_t newCount;
        Bytes after;
        Events events;
    };
    const Bytes patterned = trendFile(patternedHeader());  // count 0x0102
    const Bytes minusOne = trendFile(validHeader(-1));
    TrendFileHeader lowerCaseSignature = patternedHeader();
    lowerCaseSignature.bytes[129] = 'e';
    const Bytes invalid = trendFile(lowerCaseSignature);
    const Case cases[] = {
        {"lower count raised", "T1.hst", patterned, 0x0201, withCount(patterned, 0x0201),
         {"show", "label T1", "events", "write T1.hst 148+2", "flush", "hide", Closing}},
        {"equal count rewritten silently", "T1.hst", patterned, 0x0102, patterned,
         {"show", "label T1", "events", "write T1.hst 148+2", "flush", "hide", Closing}},
        {"negative count raised", "T1.hst", minusOne, 1, withCount(minusOne, 1),
         {"show", "label T1", "events", "write T1.hst 148+2", "flush", "hide", Closing}},
        {"greater count skipped", "T1.hst", patterned, 0x0101, patterned,
         {"show", "label T1", "events",
          "message information: T1 is already set for 258 files.\r\nIt will be skipped.", "hide",
          Closing}},
        {"name without extension", "TREND", withCount(patterned, -300), -301,
         withCount(patterned, -300),
         {"show", "label TREND", "events",
          "message information: TREND is already set for -300 files.\r\nIt will be skipped.",
          "hide", Closing}},
        {"invalid header refused", "A.B.HST", invalid, 10, invalid,
         {"show", "label A.B", "events", "message error: File 'A.B.HST' is not a valid trend file.",
          "hide", Closing}},
        {"exactly one header long", "h.hst", trendFile(validHeader(2), 0), 9,
         trendFile(validHeader(9), 0),
         {"show", "label h", "events", "write h.hst 148+2", "flush", "hide", Closing}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        folder.write(c.fileName, c.before);
        view.events.clear();
        run({c.fileName}, c.newCount);
        EXPECT_EQ(view.events, c.events);
        EXPECT_EQ(folder.read(c.fileName), c.after);
    }
}

TEST_F(ExtendTrendsTest, FilesAreTreatedInOrderAndTheRunGoesOnPastMessages) {
    folder.write("c.hst", trendFile(validHeader(1)));
    folder.write("a.hst", trendFile(validHeader(20)));
    folder.write("b.hst", Bytes(200, 0));
    run({"c.hst", "a.hst", "b.hst", "gone.hst"}, 15);
    const Events expected = {
        "show", "label c", "events", "write c.hst 148+2", "label a", "events",
        "message information: a is already set for 20 files.\r\nIt will be skipped.", "label b",
        "events", "message error: File 'b.hst' is not a valid trend file.", "label gone", "events",
        "message error: File 'gone.hst' is not a valid trend file.", "flush", "hide", Closing};
    EXPECT_EQ(view.events, expected);
    EXPECT_EQ(folder.read("c.hst"), trendFile(validHeader(15)));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "gone.hst"));
}

TEST_F(ExtendTrendsTest, AnEmptyListStillCompletes) {
    run({}, 5);
    EXPECT_EQ(view.events, (Events{"show", "hide", Closing}));
}

struct Fault {
    const char* name;
    FakeFiles::Step step;
    const char* file;
    const char* error;
    Events tail;
};

TEST_F(ExtendTrendsTest, AFailureStopsTheRunAtItsFileAndSaysWhy) {
    using Step = FakeFiles::Step;
    const Events done = {"show", "label a", "events", "write a.hst 148+2", "label b", "events"};
    const Fault faults[] = {
        {"open", Step::Open, "b.hst", "70 Permission denied", {}},
        {"read", Step::Read, "b.hst", "57 Device I/O error", {}},
        {"write", Step::Write, "b.hst", "61 Disk full", {}},
        {"close", Step::Close, "b.hst", "75 Path/File access error", {"write b.hst 148+2"}},
        {"flush", Step::Flush, "", "57 Device I/O error",
         {"write b.hst 148+2", "label c", "events", "write c.hst 148+2", "flush"}},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        for (const char* name : {"a.hst", "b.hst", "c.hst"})
            folder.write(name, trendFile(patternedHeader()));
        FakeFiles failing;
        failing.log = &view.events;
        const std::string error = fault.error;
        failing.fail(fault.step, fault.file,
                     platform::Error(std::stoi(error), error.substr(error.find(' ') + 1)));
        view.events.clear();
        ExtendTrends(view, folder.programPath(), {"a.hst", "b.hst", "c.hst"}, 0x0201, failing);

        Events expected = done;
        expected.insert(expected.end(), fault.tail.begin(), fault.tail.end());
        expected.push_back("hide");
        expected.push_back(stopped(fault.step == Step::Flush ? "c.hst" : "b.hst", fault.error));
        EXPECT_EQ(view.events, expected);
        EXPECT_EQ(failing.openFiles(), 0);
        EXPECT_EQ(folder.read("a.hst"), withCount(trendFile(patternedHeader()), 0x0201));
    }
}

TEST_F(ExtendTrendsTest, AnotherProgramsChangeBetweenReadAndWriteIsKept) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps other writers out while the run holds the file";
#endif
    const Bytes before = trendFile(patternedHeader());
    folder.write("cut.hst", before);
    folder.write("edited.hst", before);
    files.beforeWrite = [&](const std::string& name) {
        Bytes now = folder.read(name);
        if (name == "cut.hst") now.clear();
        if (name == "edited.hst") now[0] ^= 0xFF;
        folder.write(name, now);
    };
    run({"edited.hst", "cut.hst"}, 0x0201);

    Bytes edited = withCount(before, 0x0201);
    edited[0] ^= 0xFF;
    EXPECT_EQ(folder.read("edited.hst"), edited);
    EXPECT_EQ(folder.read("cut.hst"), Bytes());
    EXPECT_EQ(view.events.back(), stopped("cut.hst", "62 Input past end of file"));
}

}  // namespace
