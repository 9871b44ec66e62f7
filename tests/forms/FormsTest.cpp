// What the windows decide, whatever draws them: the OK, Help, Close and
// drive handlers, the progress window, the drive, folder and file lists and
// the main window's layout.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "TrendFixtures.h"
#include "forms/frmExtend.h"
#include "forms/frmExtendLayout.h"

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
struct FakeWindow : ConvertingWindow, HelpWindow {
    RecordingView& view;
    std::string name;
    bool shown = false, open = true;  // open until the user closes it
    FakeWindow(RecordingView& v, std::string n) : view(v), name(std::move(n)) {}
    ~FakeWindow() override { note(name + " closed"); }
    void note(const std::string& event) { view.events.push_back(event); }
    bool isShown() const override { return shown; }
    void show() override { shown = true, view.showProgress(); }
    void hide() override { shown = false, view.hideProgress(); }
    void setFileName(const std::string& text) override { view.setProgressFileName(text); }
    twips::PixelRect frame() const override { return {0, 0, 300, 90}; }
    std::optional<twips::PixelRect> ownerFrame() const override { return {{100, 40, 400, 480}}; }
    void moveTo(int l, int t) override {
        note("move " + std::to_string(l) + "," + std::to_string(t));
    }
    void centreOnScreen() override { note("centre"); }
    bool isOpen() const override { return open; }
    void setVersionLine(const std::string& text) override { note("help version " + text); }
    void showInFront() override { note("help in front"); }
    void focusClose() override { note("help focus Close"); }
};

struct Ended {};  // the program's end, which returns into nothing

// The main window without a toolkit: its controls are fields, its windows
// fakes, its files real files in a folder.
struct FakeExtendForm : FormFiles, ExtendForm {
    std::string number;
    std::vector<std::string> selected = {"t.hst"};
    FakeWindow* help = nullptr;  // the last one made

    explicit FakeExtendForm(std::vector<platform::Volume> onVolumes = {})
        : FormFiles(std::move(onVolumes)), ExtendForm(static_cast<FormFiles&>(*this)) {
        folder.write("t.hst", trendFile(validHeader(1)));
        browser().openFolder(folder.programPath());
        view.events.clear();
    }
    using ExtendForm::lists;
    std::string numberText() const override { return number; }
    std::vector<std::string> selectedFileNames() const override { return selected; }
    void showMessage(const std::string& t, MessageIcon i) override { view.showMessage(t, i); }
    void doEvents() override { view.doEvents(); }
    std::unique_ptr<ConvertingWindow> makeProgressWindow() override {
        return std::make_unique<FakeWindow>(view, "progress");
    }
    std::unique_ptr<HelpWindow> makeHelpWindow() override {
        auto made = std::make_unique<FakeWindow>(view, "help");
        return help = made.get(), std::move(made);
    }
    void closeWindow() override { view.events.push_back("close"); }
    void endProgram() override { view.events.push_back("end"), throw Ended(); }
    void driveShown() override {
        view.events.push_back("drive " + browser().drives()[browser().drive()]);
    }
    void foldersShown() override { view.events.push_back("folders " + browser().path()); }
    void filesShown() override { view.events.push_back("files"); }
};

TEST(frmExtendForm, OkChecksTheNumberThenTheSelectionThenRunsOnce) {
    const std::string noNumber = "message none: Please enter the number of files";
    const std::string run = "label ";  // the run's progress window, blank
    struct Case {
        const char* typed;
        bool selected;
        std::string shown;   // the message, or the run's start
        std::int16_t count;  // what t.hst then holds
    };
    // clang-format off
    const Case cases[] = {
        {"", true, noNumber, 1},      {"0", true, noNumber, 1},   {"-3", true, noNumber, 1},
        {"abc", false, noNumber, 1},  {"0.4", true, noNumber, 1}, {"32768", true, noNumber, 1},
        {"5", false, "message none: Please select one or more trend files", 1},
        {" 2.5 ", true, run, 2},      {"32767", true, run, 32767}};
    // clang-format on
    for (const auto& [typed, selected, shown, count] : cases) {
        FakeExtendForm form;
        form.number = typed;
        if (!selected) form.selected.clear();
        form.cmdOK_Click();
        EXPECT_EQ(form.view.events[0], shown) << typed;
        EXPECT_EQ(form.folder.read("t.hst"), trendFile(validHeader(count))) << typed;
    }
    FakeExtendForm form;  // a second OK during a run's event pass is ignored; the next runs
    form.number = "3";
    form.view.onEvent = [&](const std::string& event) {
        if (event == "events") form.cmdOK_Click();
    };
    form.cmdOK_Click();
    form.view.onEvent = nullptr;
    form.cmdOK_Click();
    EXPECT_EQ(std::count(form.view.events.begin(), form.view.events.end(), "show"), 2);
}

// The progress window is made by the first run and shown blank; placed over
// the main window the first time, then left where the user puts it.
TEST(frmConverting, ShownBlankAndPlacedOnlyTheFirstTime) {
    FakeExtendForm form;
    form.number = "3";
    form.cmdOK_Click();
    form.cmdOK_Click();
    EXPECT_EQ(form.view.events,
              (Events{"label ", "move 150,80", "show", "label t", "events", "hide", CompletedEvent,
                      "label ", "show", "label t", "events", "hide", CompletedEvent}));
}

// One help window at most: Help again brings it to the front; once the user
// closed it, Help opens a new one, its version line loaded again.
TEST(frmHelp, OpenedOnceOrBroughtToTheFront) {
    FakeExtendForm form;
    form.cmdHelp_Click();
    form.cmdHelp_Click();
    form.help->open = false;
    form.cmdHelp_Click();
    const std::string opened = "help version " + versionLine();
    EXPECT_EQ(form.view.events, (Events{opened, "help in front", "help focus Close",
                                        "help in front", "help focus Close", "help closed", opened,
                                        "help in front", "help focus Close"}));
}

// Close between two files of a run: what the run changed is flushed, every
// window closed, then the program ends; the run never goes on.
TEST(frmExtendForm, CloseDuringARunFlushesClosesEveryWindowThenEnds) {
    FakeExtendForm form;
    form.folder.write("b.hst", trendFile(validHeader(30)));
    form.selected = {"t.hst", "b.hst"};
    form.number = "20";
    form.log = &form.view.events;
    form.cmdHelp_Click();
    form.view.onEvent = [&](const std::string& event) {
        if (event.starts_with("message")) form.CloseAll();  // at b.hst's
    };
    EXPECT_THROW(form.cmdOK_Click(), Ended);
    const Events& events = form.view.events;
    EXPECT_EQ(Events(events.end() - 5, events.end()),
              (Events{"flush", "help closed", "progress closed", "close", "end"}));
    EXPECT_EQ(form.folder.read("t.hst"), trendFile(validHeader(20)));
}

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
    for (const auto& [folder, drive] : {std::pair{"/home/ann", 1},
                                        {"/homework", 0},
                                        {"/", 0},
                                        {"/home", 1},
                                        {"/run/media/usb/x", 2}})
        EXPECT_EQ(folderBrowser::driveHolding(drives, native(folder)), drive) << folder;
}

// A drive's folder opens and the file list follows; a drive without a medium
// keeps the other lists; the run works in the folder that was listed, even
// once its path leads elsewhere.
TEST(Browsing, ChangesCarryOnAndTheListedFolderIsTheOneWritten) {
    TempFolder root;
    std::filesystem::create_directories(root.path() / "vol" / "sub");
    for (const char* name : {"vol/sub/b.hst", "vol/sub/A.HST", "vol/sub/x.txt", "vol/t.hst"})
        root.write(name, trendFile(validHeader(1)));
    const std::string vol = *platform::fullPath(root.programPath() + native("/vol"));
    const std::string missing = *platform::fullPath(root.programPath() + native("/missing"));
    FakeExtendForm form({{vol, "", ""}, {missing, "", ""}});
    const auto indexOf = [&](const std::string& d) {
        return int(std::ranges::find(form.browser().drives(), d) - form.browser().drives().begin());
    };

    form.drvConvert_Change(indexOf(vol));
    form.browser().openFolderAt(form.browser().openFolderRow() + 1);  // "sub"
    EXPECT_EQ(form.browser().files(), (std::vector<std::string>{"A.HST", "b.hst"}));
    form.drvConvert_Change(indexOf(missing));
    EXPECT_EQ(form.browser().openFolder(vol + native("/none"))->number(), 76);
    EXPECT_EQ(
        form.view.events,
        (Events{"drive " + vol, "folders " + vol, "files", "folders " + vol + native("/sub"),
                "files", "drive " + missing, "message exclamation: Error 68 Device unavailable"}));
    EXPECT_EQ(form.browser().path(), vol + native("/sub"));

    // Back on the first drive; a listed folder gone by its double click: listed again.
    std::filesystem::create_directory(root.path() / "vol" / "sub" / "gone");
    form.view.events.clear();
    form.browser().openFolder(vol + native("/sub"));
    std::filesystem::remove(root.path() / "vol" / "sub" / "gone");
    form.browser().openFolderAt(form.browser().openFolderRow() + 1);
    const std::string sub = "folders " + vol + native("/sub");
    EXPECT_EQ(form.view.events, (Events{"drive " + vol, sub, "files", sub, "files"}));

    std::filesystem::rename(root.path() / "vol" / "sub", root.path() / "vol" / "moved");
    std::filesystem::create_directory(root.path() / "vol" / "sub");
    root.write("vol/sub/b.hst", trendFile(validHeader(1)));
    form.number = "4";
    form.selected = {"b.hst"};
    form.cmdOK_Click();
    EXPECT_EQ(root.read("vol/sub/b.hst"), trendFile(validHeader(1)));
#ifdef _WIN32  // names are opened by path there: the run refuses the new folder
    EXPECT_NE(form.view.events.back().find("is no longer the one listed"), std::string::npos);
#else
    EXPECT_EQ(root.read("vol/moved/b.hst"), trendFile(validHeader(4)));
#endif
}

// The main window's layout on an exact double that holds fractional twips
// as assigned and raises the resize event synchronously.

using layout::Control;
using layout::Side;

// A side of a control as designed, before any layout.
float designed(Control control, Side side) {
    namespace d = frmExtendDesign;
    const twips::Rect rects[] = {d::fraTrendLocation, d::fraPath,    d::filConvert,
                                 d::drvConvert,       d::dirConvert, d::lblMultiSelect,
                                 d::fraButtons};  // in Control's order
    const twips::Rect& r = rects[int(control)];
    const double sides[] = {r.left, r.top, r.width, r.height};
    return float(sides[int(side)]);
}

struct ExactWindow : layout::ExtendGeometry {
    ExactWindow(float width, float height, bool minimized = false)
        : client{width, height}, minimized(minimized) {
        resizeEvent();
    }

    std::map<std::pair<Control, Side>, float> values;  // each side as last assigned
    float client[2];                                   // width, height
    bool minimized;
    std::vector<std::string> outer;  // each assignment, with the run it came in
    int depth = 0;

    void resizeEvent() {
        ++depth;
        layout::Form_Resize(*this);
        --depth;
    }
    bool isWindowMinimized() const override { return minimized; }
    float scaleWidth() const override { return client[0]; }
    float scaleHeight() const override { return client[1]; }
    void setOuterWidth(float value) override { setOuter(0, value, value - 90); }    // borders
    void setOuterHeight(float value) override { setOuter(1, value, value - 525); }  // and caption
    float get(Control c, Side s) const override {
        return values.contains({c, s}) ? values.at({c, s}) : designed(c, s);
    }
    void set(Control c, Side s, float value) override { values[{c, s}] = value; }
    void setOuter(int side, float value, float inner) {
        outer.push_back((side ? "height " : "width ") + std::to_string(int(value)) + " in run " +
                        std::to_string(depth));
        if (inner == client[side]) return;
        client[side] = inner;
        resizeEvent();
    }
};

// The worked results at the designed client of 5760 by 5835 and at 6000 by
// 6000; a client's half twip rounds to even, a column keeps its half twip.
TEST(Layout, GivesTheWorkedResultsToTheHalfTwip) {
    struct Worked {
        Control control;
        Side side;
        float atDesign, atSix;  // at 5760 by 5835, at 6000 by 6000
    };
    // clang-format off
    const Worked worked[] = {
        {Control::fraTrendLocation, Side::Width, 5280, 5520}, {Control::fraTrendLocation, Side::Height, 3540, 3705},
        {Control::fraPath, Side::Width, 2280, 2400},          {Control::fraPath, Side::Height, 2325, 2490},
        {Control::filConvert, Side::Height, 2325, 2490},      {Control::filConvert, Side::Left, 2760, 2880},
        {Control::dirConvert, Side::Height, 1890, 2055},      {Control::fraButtons, Side::Top, 5100, 5265},
        {Control::fraButtons, Side::Left, 1665, 1905},        {Control::lblMultiSelect, Side::Width, 4800, 5040},
        {Control::lblMultiSelect, Side::Top, 3045, 3210},     {Control::lblMultiSelect, Side::Left, 240, 240}};
    // clang-format on
    const ExactWindow design(5760, 5835), six(6000, 6000);
    for (const auto& [control, side, atDesign, atSix] : worked) {
        EXPECT_EQ(design.get(control, side), atDesign);
        EXPECT_EQ(six.get(control, side), atSix);
    }
    EXPECT_TRUE(design.outer.empty());
    for (const auto& [client, frame] :
         {std::pair{6000.5f, 5520.f}, {6001.5f, 5522.f}, {6000.75f, 5521.f}})
        EXPECT_EQ(ExactWindow(client, 6000).get(Control::fraTrendLocation, Side::Width), frame);
    const ExactWindow odd(6001, 6000);  // the frame's inner width 5041
    for (Control c :
         {Control::fraPath, Control::filConvert, Control::drvConvert, Control::dirConvert})
        EXPECT_EQ(odd.get(c, Side::Width), 2400.5f);
}

TEST(Layout, EnforcesTheMinimumHeightThenWidthInNestedRuns) {
    EXPECT_TRUE(ExactWindow(1000, 1000, true).values.empty());  // minimized: left alone
    EXPECT_TRUE(ExactWindow(5500, 5500).outer.empty());

    const ExactWindow small(4000, 4000);
    EXPECT_EQ(small.outer,
              (std::vector<std::string>{"height 5500 in run 1", "height 5500 in run 2",
                                        "width 5500 in run 2", "height 5500 in run 3",
                                        "width 5500 in run 3", "width 5500 in run 1"}));
    EXPECT_EQ(small.values, ExactWindow(5410, 4975).values);  // the layout of the final size
    EXPECT_EQ(ExactWindow(8000, 3000).outer,
              (std::vector<std::string>{"height 5500 in run 1", "height 5500 in run 2"}));
}

}  // namespace
