// What the windows decide, whatever draws them: the OK, Help, Close and
// drive handlers, the progress window, and the drive, folder and file lists.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "TrendFixtures.h"
#include "forms/frmExtend.h"

namespace {

// The machine's files, on the volumes a test tells of; writes and flushes
// are logged on request.
struct FormFiles : SpyFiles {
    TempFolder folder;
    RecordingView view;  // every window's events, in order
    std::vector<platform::Volume> volumes;
    explicit FormFiles(std::vector<platform::Volume> on) : volumes(std::move(on)) {}
    std::vector<platform::Volume> mountedVolumes() override { return volumes; }
};

// The progress or help window without a toolkit: each call recorded.
struct FakeWindow : RecordedProgress, HelpWindow {
    std::string name;
    bool open = true;  // until the user closes it
    FakeWindow(RecordingView& v, std::string n) : RecordedProgress(v), name(std::move(n)) {}
    ~FakeWindow() override { view.record(name + " closed"); }
    std::optional<twips::PixelRect> ownerFrame() const override { return {{100, 40, 400, 480}}; }
    void moveTo(int l, int t) override {
        view.record("move " + std::to_string(l) + "," + std::to_string(t));
    }
    bool isOpen() const override { return open; }
    void setVersionLine(const std::string& text) override { view.record("help version " + text); }
    void showInFront() override { view.record("help in front"); }
    void focusClose() override { view.record("help focus Close"); }
};

struct Ended {};  // the program's end, which returns into nothing

// The main window without a toolkit: its controls are fields, its windows
// fakes, its files real files in a folder, its clock the view's.
struct FakeMainWindow : FormFiles, ExtendWindow {
    std::string number;
    std::vector<std::string> selected = {"t.hst"};
    FakeWindow* help = nullptr;  // the last one made
    ExtendForm form{*this, static_cast<FormFiles&>(*this), view};

    explicit FakeMainWindow(std::vector<platform::Volume> onVolumes = {})
        : FormFiles(std::move(onVolumes)) {
        folder.write("t.hst", trendFile(validHeader(1)));
        browser().openFolder(folder.programPath());
        view.events.clear();
    }
    FolderBrowser& browser() { return form.browser(); }

    std::string numberText() const override { return number; }
    std::vector<std::string> selectedFileNames() const override { return selected; }
    void showMessage(const std::string& t, MessageIcon i) override { view.showMessage(t, i); }
    void doEvents() override { view.doEvents(); }
    std::unique_ptr<ConvertingWindow> makeConvertingWindow() override {
        return std::make_unique<FakeWindow>(view, "progress");
    }
    std::unique_ptr<HelpWindow> makeHelpWindow() override {
        auto made = std::make_unique<FakeWindow>(view, "help");
        return help = made.get(), std::move(made);
    }
    void closeWindow() override { view.record("close"); }
    void endProgram() override { view.record("end"), throw Ended(); }
    void driveShown() override {
        view.record("drive " +
                    (browser().drive() < 0 ? "none" : browser().drives()[browser().drive()]));
    }
    void foldersShown() override { view.record("folders " + browser().path()); }
    void filesShown() override { view.record("files"); }
};

TEST(frmExtendForm, OkChecksTheNumberThenTheSelectionThenRunsOnce) {
    const std::string noNumber = "message none: Please enter the number of files";
    const std::string run = "label ";  // the run's progress window, blanked
    // Typed, selected?, the message or the run's start, what t.hst then holds.
    using Case = std::tuple<const char*, bool, std::string, std::int16_t>;
    // clang-format off
    const Case cases[] = {
        {"", true, noNumber, 1},      {"0", true, noNumber, 1},   {"-3", true, noNumber, 1},
        {"abc", false, noNumber, 1},  {"0.4", true, noNumber, 1}, {"32768", true, noNumber, 1},
        {"5", false, "message none: Please select one or more trend files", 1},
        {" 2.5 ", true, run, 2},      {"32767", true, run, 32767}};
    // clang-format on
    for (const auto& [typed, selected, shown, count] : cases) {
        FakeMainWindow window;
        window.number = typed;
        if (!selected) window.selected.clear();
        window.form.cmdOK_Click();
        EXPECT_EQ(window.view.events[0], shown) << typed;
        EXPECT_EQ(window.folder.read("t.hst"), trendFile(validHeader(count))) << typed;
    }
}

#ifndef _WIN32  // where "c:\velmar\data" names a folder in the current one
// At start-up drive c: is chosen, its failure told, and the start folder
// opened all the same.
TEST(frmExtendForm, FormLoadOpensTheStartFolderThoughTheDriveFails) {
    FakeMainWindow window({{"c:", "", ""}});
    const std::filesystem::path start = window.folder.path() / "c:\\velmar\\data";
    std::filesystem::create_directory(start);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(window.folder.path());
    window.form.Form_Load();
    std::filesystem::current_path(before);
    EXPECT_EQ(window.view.events,
              (Events{"drive c:", "message exclamation: Error 68 Device unavailable", "drive none",
                      "folders " + start.string(), "files"}));
}
#endif

// The progress window is made by the first run and shown blank; placed over
// the main window the first time, then left where the user puts it. OK
// pressed during a run's event pass is ignored; OK once the run is over runs
// again. (That it cannot be closed during a run is proven on its windows.)
TEST(frmConverting, ShownBlankAndPlacedOnlyTheFirstTimeAndOneRunAtATime) {
    FakeMainWindow window;
    window.number = "3";
    window.view.onEvent = [&](const std::string& event) {
        if (event == "events") window.form.cmdOK_Click();
    };
    window.form.cmdOK_Click();
    window.form.cmdOK_Click();
    EXPECT_EQ(window.view.events,
              (Events{"label ", "move 150,80", "show", "label t", "events", "hide", CompletedEvent,
                      "label ", "show", "label t", "events", "hide", CompletedEvent}));
}

// One help window at most: Help again brings it to the front; once the user
// closed it, Help opens a new one, its version line loaded again.
TEST(frmHelp, OpenedOnceOrBroughtToTheFront) {
    FakeMainWindow window;
    window.form.cmdHelp_Click();
    window.form.cmdHelp_Click();
    window.help->open = false;
    window.form.cmdHelp_Click();
    const std::string opened = "help version " + versionLine();
    EXPECT_EQ(window.view.events, (Events{opened, "help in front", "help focus Close",
                                          "help in front", "help focus Close", "help closed",
                                          opened, "help in front", "help focus Close"}));
}

// Over a run of many files, a name is painted at most once a frame: the
// first before the first file's step, then each box beside its own file's
// name, and the last file's name at the end.
TEST(RunReport, NamesPaintedAtTheScreensPaceAndBeforeEveryBox) {
    FakeMainWindow window;
    for (int i = 10; i < 40; ++i) {
        const std::string name = "f" + std::to_string(i);
        window.folder.write(name + ".hst", i % 7 ? trendFile(validHeader(1)) : Bytes(9, 1));
        window.selected.push_back(name + ".hst");
    }
    window.number = "5";
    window.view.step = RunReport::FramePeriod / 5;
    window.form.cmdOK_Click();
    const Events& events = window.view.events;
    EXPECT_LT(std::ranges::count_if(events, [](auto& e) { return e.starts_with("label f"); }), 15);
    EXPECT_EQ(events[std::ranges::find(events, "events") - events.begin() - 1], "label t");
    std::string shown;
    for (const std::string& event : events) {
        if (event.starts_with("label ")) shown = event.substr(6);
        EXPECT_TRUE(!event.starts_with("message error") ||
                    event.find(shown + ".hst") != std::string::npos)
            << event;
        EXPECT_TRUE(event != "hide" || shown == "f39");
    }
}

#ifndef _WIN32  // on Windows another run holding the file stops this one by its sharing
// Close while the run waits for another program: what the run changed is
// flushed, a flush that fails is told, and the program ends.
TEST(frmExtendForm, CloseDuringAWaitEndsTheRunThere) {
    FakeMainWindow window;
    window.folder.write("a.hst", trendFile(validHeader(1)));
    window.folder.write("b.hst", trendFile(validHeader(1)));
    window.selected = {"a.hst", "b.hst", "t.hst"};
    window.number = "9";
    const auto otherFolder = platform::nativeFileAccess().openFolder(window.folder.programPath());
    const auto otherRun = otherFolder->openExisting("t.hst");
    otherRun->openForWriting({});
    window.log = &window.view.events;
    window.fault = {SpyFiles::Step::Flush, platform::errors::make(platform::errors::DiskFull)};
    window.view.onEvent = [&](const std::string& event) {
        if (event.ends_with("release:")) window.form.CloseAll();
    };
    EXPECT_THROW(window.form.cmdOK_Click(), Ended);
    const Events& events = window.view.events;
    EXPECT_EQ(Events(events.end() - 6, events.end()),
              (Events{"flush", "hide",
                      "message exclamation: Conversion stopped: the changes to 2 files, the first "
                      "'a.hst', may not be on disk.\r\nError 61 Disk full",
                      "progress closed", "close", "end"}));
}
#endif

// `path` with "/" written as the system's separator.
std::string native(std::string path) {
    std::replace(path.begin(), path.end(), '/', platform::Separator);
    return path;
}

TEST(Browsing, DrivesAndTheDriveThatHoldsAFolder) {
    const std::vector<platform::Volume> volumes = {
        {"/run/media/usb", "", ""}, {"/home", "", ""}, {"/", "", ""}, {"/home", "", ""}};
    EXPECT_EQ(folderBrowser::driveNames(volumes),
              (std::vector<std::string>{"/", "/home", "/run/media/usb"}));
    const std::vector<std::string> drives = {native("/"), native("/home"),
                                             native("/run/media/usb")};
    const std::pair<const char*, int> holding[] = {
        {"/home/ann", 1}, {"/homework", 0}, {"/", 0}, {"/home", 1}, {"/run/media/usb/x", 2}};
    for (const auto& [folder, drive] : holding)
        EXPECT_EQ(folderBrowser::driveHolding(drives, native(folder)), drive) << folder;
}

// A window whose drives are the folders "vol", which holds "sub", and
// "missing", a drive without a medium.
struct TwoDrives : ::testing::Test {
    TempFolder root;
    std::string vol = *platform::fullPath(root.programPath() + native("/vol"));
    std::string missing = *platform::fullPath(root.programPath() + native("/missing"));
    FakeMainWindow window{std::vector<platform::Volume>{{vol, "", ""}, {missing, "", ""}}};
    TwoDrives() {
        std::filesystem::create_directories(root.path() / "vol" / "sub");
        for (const char* name : {"vol/sub/b.hst", "vol/sub/A.HST", "vol/sub/x.txt", "vol/t.hst"})
            root.write(name, trendFile(validHeader(1)));
    }
    int indexOf(const std::string& drive) {
        return int(std::ranges::find(window.browser().drives(), drive) -
                   window.browser().drives().begin());
    }
};

// A drive's folder opens and the file list follows; a drive without a medium
// keeps the other lists.
TEST_F(TwoDrives, DriveChangesCarryOn) {
    window.form.drvConvert_Change(indexOf(vol));
    window.browser().openFolderAt(window.browser().openFolderRow() + 1);  // "sub"
    EXPECT_EQ(window.browser().files(), (std::vector<std::string>{"A.HST", "b.hst"}));
    window.form.drvConvert_Change(indexOf(missing));
    EXPECT_EQ(window.browser().openFolder(vol + native("/none"))->number(), 76);
    EXPECT_EQ(
        window.view.events,
        (Events{"drive " + vol, "folders " + vol, "files", "folders " + vol + native("/sub"),
                "files", "drive " + missing, "message exclamation: Error 68 Device unavailable"}));
    EXPECT_EQ(window.browser().path(), vol + native("/sub"));
}

// A listed folder gone by its double click: listed again. The run works in
// the folder that was listed, even once its path leads elsewhere.
TEST_F(TwoDrives, AFolderGoneIsListedAgainAndTheListedFolderIsTheOneWritten) {
    std::filesystem::create_directory(root.path() / "vol" / "sub" / "gone");
    window.view.events.clear();
    window.browser().openFolder(vol + native("/sub"));
    std::filesystem::remove(root.path() / "vol" / "sub" / "gone");
    window.browser().openFolderAt(window.browser().openFolderRow() + 1);
    const std::string sub = "folders " + vol + native("/sub");
    EXPECT_EQ(window.view.events, (Events{"drive " + vol, sub, "files", sub, "files"}));

    std::filesystem::rename(root.path() / "vol" / "sub", root.path() / "vol" / "moved");
    std::filesystem::create_directory(root.path() / "vol" / "sub");
    root.write("vol/sub/b.hst", trendFile(validHeader(1)));
    window.number = "4";
    window.selected = {"b.hst"};
    window.form.cmdOK_Click();
    EXPECT_EQ(root.read("vol/sub/b.hst"), trendFile(validHeader(1)));
#ifdef _WIN32  // names are opened by path there: the run refuses the new folder
    EXPECT_NE(window.view.events.back().find("is no longer the one listed"), std::string::npos);
#else
    EXPECT_EQ(root.read("vol/moved/b.hst"), trendFile(validHeader(4)));
#endif
}

}  // namespace
