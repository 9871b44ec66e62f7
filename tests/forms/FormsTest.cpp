// What the windows decide, whatever draws them: the typed number, the OK,
// start-up and drive handlers, the selection reader and the version line.

#include <gtest/gtest.h>

#include "TrendFixtures.h"
#include "forms/FormTools.h"
#include "forms/frmExtend.h"
#include "forms/frmHelp.h"

namespace {

TEST(ConvertToInt16, TypedNumbers) {
    struct Case {
        const char* text;
        std::optional<int> value;
    };
    const Case cases[] = {
        {"", {}},           {"  ", {}},          {"0", 0},           {"-3", -3},
        {"abc", {}},        {"0.4", 0},          {"32768", {}},      {"32767", 32767},
        {"-32768", -32768}, {"-32769", {}},      {"2.5", 2},         {"3.5", 4},
        {"2.51", 3},        {"2.50", 2},         {"0.5", 0},         {"2.6", 3},
        {" \t12\t ", 12},   {"+7", 7},           {"00000000012", 12}, {"5.", 5},
        {".6", 1},          {".", {}},           {"-", {}},          {"1,000", {}},
        {"1e3", {}},        {"0x10", {}},        {"1 2", {}},        {"32767.5", {}},
        {"-32768.5", -32768}, {"\xef\xbc\x91\xef\xbc\x92", {}},
        {"123456789012345678901234567890", {}},
    };
    for (const Case& c : cases) {
        const auto result = ConvertToInt16(c.text);
        EXPECT_EQ(result ? std::optional<int>(*result) : std::nullopt, c.value) << c.text;
    }
}

TEST(VersionLine, PadsMinorAndRevision) {
    EXPECT_EQ(VersionLine("Kelvane", 1, 0, 2, "by us"), "Kelvane version 1.00.002 by us");
    EXPECT_EQ(VersionLine("K", 1, 5, 12, ""), "K version 1.05.012 ");
    EXPECT_EQ(VersionLine("K", 10, 123, 1234, "%1"), "K version 10.123.1234 %1");
}

class FakeList : public SelectionList {
public:
    int count = 0;
    std::vector<int> positions;
    int selectedCount() const override { return count; }
    std::vector<int> selectedPositions(int) const override { return positions; }
    std::string itemText(int position) const override { return "item" + std::to_string(position); }
};

TEST(GetSelectedItems, ReadsTheTextsAtTheSelectedPositions) {
    FakeList list;
    list.count = -1;  // no multiple selection
    EXPECT_TRUE(GetSelectedItems(list).empty());
    list.count = 0;
    EXPECT_TRUE(GetSelectedItems(list).empty());
    list.count = 3;
    list.positions = {0, 7, 40000};
    EXPECT_EQ(GetSelectedItems(list), (std::vector<std::string>{"item0", "item7", "item40000"}));
}

// The main window without a toolkit: its controls are fields, its messages
// and progress are recorded, its files are real files in a folder.
class FakeExtendForm : public ExtendForm {
public:
    TempFolder folder;
    RecordingView view;
    FakeFiles fakeFiles;
    std::string number;
    std::vector<std::string> selected;
    Events calls;
    std::optional<platform::Error> driveError;

    FakeExtendForm() { fakeFiles.log = &view.events; }

protected:
    std::string numberText() const override { return number; }
    std::vector<std::string> selectedFileNames() const override { return selected; }
    std::string runFolder() const override { return folder.programPath(); }
    bool selectDrive(const std::string& drive) override {
        calls.push_back("drive " + drive);
        return false;
    }
    bool openFolder(const std::string& path) override {
        calls.push_back("folder " + path);
        return false;
    }
    std::optional<platform::Error> openDriveFolder() override { return driveError; }
    void showMessage(const std::string& text, MessageIcon icon) override {
        view.showMessage(text, icon);
    }
    RunView& progress() override { return view; }
    platform::FileAccess& files() override { return fakeFiles; }
};

TEST(frmExtendForm, OkChecksTheNumberThenTheSelectionThenRuns) {
    struct Case {
        const char* number;
        std::vector<std::string> selected;
        Events events;
        std::int16_t count;  // what t.hst holds afterwards; it held 1
    };
    const std::string noNumber = "message none: Please enter the number of files";
    const std::string noFiles = "message none: Please select one or more trend files";
    const std::vector<std::string> t = {"t.hst"};
    const Case cases[] = {
        {"", t, {noNumber}, 1},          {"0", t, {noNumber}, 1},
        {"-3", t, {noNumber}, 1},        {"abc", {}, {noNumber}, 1},
        {"0.4", t, {noNumber}, 1},       {"32768", t, {noNumber}, 1},
        {"5", {}, {noFiles}, 1},         {"2.5", t, {"write t.hst 148+2"}, 2},
        {"3.5", t, {"write t.hst 148+2"}, 4}, {" 12 ", t, {"write t.hst 148+2"}, 12},
        {"32767", t, {"write t.hst 148+2"}, 32767},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        FakeExtendForm form;
        form.folder.write("t.hst", trendFile(validHeader(1)));
        form.number = c.number;
        form.selected = c.selected;
        form.cmdOK_Click();
        Events written;
        for (const auto& event : form.view.events)
            if (event.starts_with("write") || event == noNumber || event == noFiles)
                written.push_back(event);
        EXPECT_EQ(written, c.events);
        EXPECT_EQ(form.folder.read("t.hst"), trendFile(validHeader(c.count)));
    }
}

TEST(frmExtendForm, ASecondOkDuringARunIsIgnored) {
    FakeExtendForm form;
    form.folder.write("t.hst", trendFile(validHeader(1)));
    form.number = "3";
    form.selected = {"t.hst"};
    int okPresses = 0;
    form.view.onEvent = [&](const std::string& event) {
        if (event == "events" && okPresses++ == 0) form.cmdOK_Click();
    };
    form.cmdOK_Click();
    EXPECT_EQ(std::count(form.view.events.begin(), form.view.events.end(), "show"), 1);
    form.cmdOK_Click();  // and the next OK runs again
    EXPECT_EQ(std::count(form.view.events.begin(), form.view.events.end(), "show"), 2);
}

TEST(frmExtendForm, StartUpAndDriveChange) {
    FakeExtendForm form;
    form.Form_Load();
    EXPECT_EQ(form.calls, (Events{"drive c:", "folder c:\\velmar\\data"}));
    form.drvConvert_Change();
    EXPECT_TRUE(form.view.events.empty());
    form.driveError = platform::errors::make(platform::errors::DeviceUnavailable);
    form.drvConvert_Change();
    EXPECT_EQ(form.view.events, Events{"message exclamation: Error 68 Device unavailable"});
}

}  // namespace
