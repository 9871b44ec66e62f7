// What the windows decide, whatever draws them: the typed number, the OK,
// start-up and drive handlers, the selection reader and the version line.

#include <gtest/gtest.h>

#include "TrendFixtures.h"
#include "forms/FormTools.h"
#include "forms/frmExtend.h"
#include "forms/frmHelp.h"

namespace {

TEST(ConvertToInt16, TypedNumbers) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"", {}},         {"  ", {}},          {"0", 0},           {"-3", -3},         {"abc", {}},
        {"0.4", 0},       {"32768", {}},       {"32767", 32767},   {"-32768", -32768}, {"-32769", {}},
        {"2.5", 2},       {"3.5", 4},          {"2.51", 3},        {"2.50", 2},        {"0.5", 0},
        {" \t12\t ", 12}, {"+7", 7},           {"00000000012", 12}, {"5.", 5},         {".6", 1},
        {".", {}},        {"-", {}},           {"1,000", {}},      {"1e3", {}},        {"0x10", {}},
        {"1 2", {}},      {"32767.5", {}},     {"-32768.5", -32768}, {"\xef\xbc\x91", {}},
        {"123456789012345678901234567890", {}}};
    for (const auto& [text, value] : cases) {
        const auto result = ConvertToInt16(text);
        EXPECT_EQ(result ? std::optional<int>(*result) : std::nullopt, value) << text;
    }
}

TEST(VersionLine, PadsMinorAndRevision) {
    EXPECT_EQ(VersionLine("Kelvane", 1, 0, 2, "by us"), "Kelvane version 1.00.002 by us");
    EXPECT_EQ(VersionLine("K", 1, 5, 12, ""), "K version 1.05.012 ");
    EXPECT_EQ(VersionLine("K", 10, 123, 1234, "%1"), "K version 10.123.1234 %1");
}

TEST(GetSelectedItems, ReadsTheTextsAtTheSelectedPositions) {
    struct List : SelectionList {
        int count = 3;
        int selectedCount() const override { return count; }
        std::vector<int> selectedPositions(int) const override { return {0, 7, 40000}; }
        std::string itemText(int i) const override { return "item" + std::to_string(i); }
    } list;
    EXPECT_EQ(GetSelectedItems(list), (std::vector<std::string>{"item0", "item7", "item40000"}));
    list.count = -1;  // no multiple selection
    EXPECT_TRUE(GetSelectedItems(list).empty());
}

// The main window without a toolkit: its controls are fields, its messages
// and progress are recorded, its files are real files in a folder.
struct FakeExtendForm : ExtendForm {
    TempFolder folder;
    RecordingView view;
    FakeFiles fakeFiles;
    std::string number;
    std::vector<std::string> selected = {"t.hst"};
    std::optional<platform::Error> driveError;

    FakeExtendForm() {
        fakeFiles.log = &view.events;
        folder.write("t.hst", trendFile(validHeader(1)));
    }
    std::string numberText() const override { return number; }
    std::vector<std::string> selectedFileNames() const override { return selected; }
    std::string runFolder() const override { return folder.programPath(); }
    bool selectDrive(const std::string& drive) override { return note("drive " + drive); }
    bool openFolder(const std::string& path) override { return note("folder " + path); }
    std::optional<platform::Error> openDriveFolder() override { return driveError; }
    void showMessage(const std::string& text, MessageIcon icon) override { view.showMessage(text, icon); }
    RunView& progress() override { return view; }
    platform::FileAccess& files() override { return fakeFiles; }
    bool note(const std::string& call) {
        view.events.push_back(call);
        return false;
    }
};

TEST(frmExtendForm, OkChecksTheNumberThenTheSelectionThenRuns) {
    const std::string noNumber = "message none: Please enter the number of files";
    const std::tuple<const char*, bool, std::string, std::int16_t> cases[] = {
        // typed, a file selected, the one message or write, the count t.hst then holds
        {"", true, noNumber, 1},       {"0", true, noNumber, 1},      {"-3", true, noNumber, 1},
        {"abc", false, noNumber, 1},   {"0.4", true, noNumber, 1},    {"32768", true, noNumber, 1},
        {"5", false, "message none: Please select one or more trend files", 1},
        {"2.5", true, "write t.hst 148+2", 2}, {"3.5", true, "write t.hst 148+2", 4},
        {" 12 ", true, "write t.hst 148+2", 12}, {"32767", true, "write t.hst 148+2", 32767}};
    for (const auto& [typed, selected, shown, count] : cases) {
        FakeExtendForm form;
        form.number = typed;
        if (!selected) form.selected.clear();
        form.cmdOK_Click();
        const Events& events = form.view.events;
        EXPECT_EQ(events[events.size() > 1 ? 3 : 0], shown) << typed;
        EXPECT_EQ(form.folder.read("t.hst"), trendFile(validHeader(count))) << typed;
    }
}

TEST(frmExtendForm, ASecondOkDuringARunIsIgnored) {
    FakeExtendForm form;
    form.number = "3";
    form.view.onEvent = [&](const std::string& event) {
        if (event == "events") form.cmdOK_Click();
    };
    form.cmdOK_Click();
    form.view.onEvent = nullptr;
    form.cmdOK_Click();  // and the next OK runs again
    EXPECT_EQ(std::count(form.view.events.begin(), form.view.events.end(), "show"), 2);
}

TEST(frmExtendForm, StartUpAndDriveChange) {
    FakeExtendForm form;
    form.Form_Load();
    form.drvConvert_Change();
    form.driveError = platform::errors::make(platform::errors::DeviceUnavailable);
    form.drvConvert_Change();
    EXPECT_EQ(form.view.events, (Events{"drive c:", "folder c:\\velmar\\data",
                                        "message exclamation: Error 68 Device unavailable"}));
}

}  // namespace
