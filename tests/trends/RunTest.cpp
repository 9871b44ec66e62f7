#include <gtest/gtest.h>

#include <map>

#include "TrendFixtures.h"
#include "Trends.h"

namespace {

using Events = std::vector<std::string>;

const std::string Closing =
    "message none: Conversion is complete.\r\n"
    "You must set the new number of history files in your project's\r\n"
    "trend tag definitions before restarting Velmar.";

Bytes withCount(Bytes file, std::int16_t count) {
    file[148] = std::uint8_t(std::uint16_t(count) & 0xFF);
    file[149] = std::uint8_t(std::uint16_t(count) >> 8);
    return file;
}

class ExtendTrendsTest : public ::testing::Test {
protected:
    TempFolder folder;
    RecordingView view;
    CountingFileAccess files;

    void SetUp() override {
        // No trend file may be open while other window events run.
        view.onEvents = [this] { EXPECT_EQ(files.openFiles(), 0); };
    }
    void TearDown() override { EXPECT_EQ(files.openFiles(), 0); }

    void run(const std::vector<std::string>& names, std::int32_t newCount) {
        ExtendTrends(view, folder.programPath(), names, newCount, files);
    }
};

TEST_F(ExtendTrendsTest, EachOutcomeOfOneFile) {
    struct Case {
        const char* name;
        std::string fileName;
        Bytes before;
        std::int32_t newCount;
        Bytes after;
        Events events;
    };
    const Bytes seven = trendFile(patternedHeader());
    const Bytes minusOne = trendFile(validHeader(-1));
    TrendFileHeader lowerCaseSignature = patternedHeader();
    lowerCaseSignature.bytes[129] = 'e';
    const Bytes invalid = trendFile(lowerCaseSignature);
    const Case cases[] = {
        {"lower count raised",
         "T1.hst",
         seven,
         10,
         withCount(seven, 10),
         {"show", "label T1", "events", "hide", Closing}},
        {"equal count rewritten silently",
         "T1.hst",
         seven,
         7,
         seven,
         {"show", "label T1", "events", "hide", Closing}},
        {"negative count raised",
         "T1.hst",
         minusOne,
         1,
         withCount(minusOne, 1),
         {"show", "label T1", "events", "hide", Closing}},
        {"greater count skipped",
         "T1.hst",
         seven,
         6,
         seven,
         {"show", "label T1", "events",
          "message information: T1 is already set for 7 files.\r\nIt will be skipped.", "hide",
          Closing}},
        {"name without extension",
         "TREND",
         withCount(seven, -300),
         -301,
         withCount(seven, -300),
         {"show", "label TREND", "events",
          "message information: TREND is already set for -300 files.\r\nIt will be skipped.",
          "hide", Closing}},
        {"invalid header refused",
         "A.B.HST",
         invalid,
         10,
         invalid,
         {"show", "label A.B", "events", "message error: File 'A.B.HST' is not a valid trend file.",
          "hide", Closing}},
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
    run({"c.hst", "a.hst", "b.hst"}, 15);
    const Events expected = {
        "show",
        "label c",
        "events",
        "label a",
        "events",
        "message information: a is already set for 20 files.\r\nIt will be skipped.",
        "label b",
        "events",
        "message error: File 'b.hst' is not a valid trend file.",
        "hide",
        Closing};
    EXPECT_EQ(view.events, expected);
    EXPECT_EQ(folder.read("c.hst"), trendFile(validHeader(15)));
}

TEST_F(ExtendTrendsTest, AnEmptyListStillCompletes) {
    run({}, 5);
    EXPECT_EQ(view.events, (Events{"show", "hide", Closing}));
}

TEST_F(ExtendTrendsTest, AFileOfExactlyOneHeaderKeepsItsLength) {
    folder.write("h.hst", trendFile(validHeader(2), 0));
    run({"h.hst"}, 9);
    EXPECT_EQ(folder.read("h.hst"), trendFile(validHeader(9), 0));
}

TEST_F(ExtendTrendsTest, AFolderWithATrailingSeparatorNamesTheSameFile) {
    folder.write("t.hst", trendFile(validHeader(2)));
    ExtendTrends(view, folder.programPath() + "\\", {"t.hst"}, 4, files);
    EXPECT_EQ(folder.read("t.hst"), trendFile(validHeader(4)));
}

struct Fault {
    const char* name;
    CountingFileAccess::Fault step;
    int number;
    std::string description;
    friend void PrintTo(const Fault& fault, std::ostream* out) { *out << fault.name; }
};

class ExtendTrendsFaultTest : public ExtendTrendsTest,
                              public ::testing::WithParamInterface<Fault> {};

TEST_P(ExtendTrendsFaultTest, StopsAtTheFailingFileAndSaysWhy) {
    const Fault& fault = GetParam();
    folder.write("a.hst", trendFile(validHeader(1)));
    folder.write("b.hst", trendFile(validHeader(2)));
    folder.write("c.hst", trendFile(validHeader(3)));
    files.inject(fault.step, "b.hst", platform::Error(fault.number, fault.description));

    run({"a.hst", "b.hst", "c.hst"}, 8);

    const Events expected = {"show",
                             "label a",
                             "events",
                             "label b",
                             "events",
                             "hide",
                             "message exclamation: Conversion stopped at file 'b.hst'.\r\nError " +
                                 std::to_string(fault.number) + " " + fault.description};
    EXPECT_EQ(view.events, expected);
    EXPECT_EQ(folder.read("a.hst"), trendFile(validHeader(8)));
    if (fault.step != CountingFileAccess::Fault::Close) {
        EXPECT_EQ(folder.read("b.hst"), trendFile(validHeader(2)));
    }
    EXPECT_EQ(folder.read("c.hst"), trendFile(validHeader(3)));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ExtendTrendsFaultTest,
    ::testing::Values(Fault{"open", CountingFileAccess::Fault::Open, 70, "Permission denied"},
                      Fault{"read", CountingFileAccess::Fault::Read, 57, "Device I/O error"},
                      Fault{"write", CountingFileAccess::Fault::Write, 57, "Device I/O error"},
                      Fault{"close", CountingFileAccess::Fault::Close, 75,
                            "Path/File access error"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExtendTrendsTest, ANumberBeyondSixteenBitsStopsBeforeWriting) {
    folder.write("a.hst", trendFile(validHeader(5)));
    folder.write("b.hst", trendFile(validHeader(5)));
    run({"a.hst", "b.hst"}, 32768);
    const Events expected = {
        "show", "label a", "events", "hide",
        "message exclamation: Conversion stopped at file 'a.hst'.\r\nError 6 Overflow"};
    EXPECT_EQ(view.events, expected);
    EXPECT_EQ(folder.read("a.hst"), trendFile(validHeader(5)));
    EXPECT_EQ(folder.read("b.hst"), trendFile(validHeader(5)));
}

}  // namespace
