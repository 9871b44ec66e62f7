// kelvane.exe end to end, as a Windows program under Wine: starts it on our
// own trend files in c:\velmar\data, drives it with window messages and
// keys, reads and answers every message box through its window, and checks
// the files byte for byte.

#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <filesystem>
#include <map>

#include "TrendFixtures.h"
#include "forms/frmExtend.h"
#include "win32/ControlIds.h"

namespace fs = std::filesystem;
namespace ids = win32ids;

namespace {

std::wstring kelvanePath;  // from the command line
PROCESS_INFORMATION kelvane{};
// Where kelvane.exe and the test meet: a desktop Wine draws in one window of
// its own, ordering its windows itself as Windows does; on the bare X server
// it leaves that to the server, which kept the progress window above.
constexpr wchar_t Desktop[] = L"kelvane-e2e";

std::string textOf(HWND window) {
    wchar_t text[4096] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 4096, LPARAM(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return fs::path(text).string();
}

// The window of kelvane.exe of `className`, shown unless `shown` is false,
// looked for up to `looks` times, 50 ms apart.
HWND find(const wchar_t* className, int looks = 400, bool shown = true) {
    for (int look = 0; look < looks; ++look, Sleep(50))
        for (HWND window = nullptr;
             (window = FindWindowExW(nullptr, window, className, nullptr));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == kelvane.dwProcessId && (IsWindowVisible(window) || !shown)) return window;
        }
    return nullptr;
}

// The control of kelvane.exe that holds the focus once posted keys are handled.
HWND focusAfterKeys() {
    Sleep(300);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(kelvane.dwThreadId, &info);
    return info.hwndFocus;
}

// A key pressed on the keyboard: the system hands it to the window of
// kelvane.exe that holds the focus, or to the active one if none does.
void key(WORD virtualKey) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = virtualKey;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

// True when `upper` stands above `lower` among the top-level windows.
bool isAbove(HWND upper, HWND lower) {
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT))
        if (window == upper || window == lower) return window == upper;
    return false;
}

// The next message box: "text [progress label]", with "(behind)" when
// the progress window shows below the main window or the box is not the
// main window's; answered with OK.
std::string answerMessage(HWND main) {
    HWND box = find(L"#32770");
    if (!box) return "(no message box)";
    std::string shown = textOf(GetDlgItem(box, 0xFFFF));
    HWND progress = find(ids::ConvertingClass, 1);
    shown += " [" + (progress ? textOf(GetDlgItem(progress, ids::lblFileName)) : "") + "]";
    for (int look = 0; look < 20 && progress && !isAbove(progress, main); ++look) Sleep(25);
    if ((progress && !isAbove(progress, main)) || GetWindow(box, GW_OWNER) != main)
        shown += " (behind)";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    while (IsWindow(box)) Sleep(20);
    return shown;
}

// The main window's client area's and number box's sizes that differ from the
// design's at 144 dpi once it has what Windows sends on a move to such a screen:
// WM_DPICHANGED with the rectangle it suggests, the same place and the
// design's client area, written into kelvane.exe, where the message's address
// is read. (Fonts cannot be told: WM_GETFONT answers 0 across processes.)
std::string sizesOffDesignAt144Dpi(HWND window) {
    using namespace frmExtendDesign;
    constexpr int dpi = 144;
    const twips::PixelRect item = twips::toPixels(txtNoFiles, dpi);
    const int client[] = {twips::toPixels(ClientWidth, dpi), twips::toPixels(ClientHeight, dpi)};
    // Wine draws a frame at the system's dpi whatever the window's: the
    // borders around the client area are the window's own.
    RECT frame{}, inner{}, placed{};
    GetWindowRect(window, &frame);
    GetClientRect(window, &inner);
    const RECT rect{frame.left, frame.top, frame.right - inner.right + client[0],
                    frame.bottom - inner.bottom + client[1]};
    void* there = VirtualAllocEx(kelvane.hProcess, nullptr, sizeof rect, MEM_COMMIT | MEM_RESERVE,
                                 PAGE_READWRITE);
    WriteProcessMemory(kelvane.hProcess, there, &rect, sizeof rect, nullptr);
    SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(there),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    VirtualFreeEx(kelvane.hProcess, there, 0, MEM_RELEASE);
    GetClientRect(window, &inner);
    GetWindowRect(GetDlgItem(window, ids::txtNoFiles), &placed);
    std::string off;
    for (const auto& [shown, designed] : {std::pair{inner.right, client[0]},
                                          {inner.bottom, client[1]},
                                          {placed.right - placed.left, item.width},
                                          {placed.bottom - placed.top, item.height}})
        if (shown != designed)
            off += std::to_string(shown) + " for " + std::to_string(designed) + " ";
    return off;
}

// Starts kelvane.exe in c:\ and returns its main window.
HWND launch() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = const_cast<wchar_t*>(Desktop);
    std::wstring command = L"\"" + kelvanePath + L"\"";
    if (!CreateProcessW(kelvanePath.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        L"C:\\", &startup, &kelvane))
        return nullptr;
    return find(ids::ExtendClass);
}

// True once kelvane.exe has ended by itself with exit status 0.
bool endedWell() {
    DWORD code = 1;
    return WaitForSingleObject(kelvane.hProcess, 10000) == WAIT_OBJECT_0 &&
           GetExitCodeProcess(kelvane.hProcess, &code) && code == 0;
}

// kelvane.exe started on c:\velmar\data, which holds our files and a folder
// "sub"; "~x.hst" lists last, as in every front end, where a list that sorts
// itself would put it first.
class Kelvane : public ::testing::Test {
protected:
    const fs::path data = L"C:\\velmar\\data";
    // clang-format off
    std::map<std::string, Bytes> files = {
        {"LOW.HST", trendFile(patternedHeader())}, {"~x.hst", trendFile(patternedHeader())},
        {"equal.hst", withCount(trendFile(patternedHeader()), 0x0201)},
        {"high.hst", trendFile(validHeader(600))}, {"bad.hst", Bytes(300, 7)}, {"dud.hst", Bytes(200, 7)},
        {"short.hst", Bytes(100, 7)}, {"other.txt", trendFile(validHeader(1))}};
    // clang-format on
    HWND main = nullptr;

    void SetUp() override {
        fs::remove_all(data);
        fs::create_directories(data / "sub");
        for (const auto& [name, bytes] : files) writeFile(data / name, bytes);
        ASSERT_TRUE(main = launch());
    }
    void TearDown() override {
        TerminateProcess(kelvane.hProcess, 9);
        WaitForSingleObject(kelvane.hProcess, 10000);  // its folders let go before the next
        CloseHandle(kelvane.hProcess), CloseHandle(kelvane.hThread), kelvane = {};
    }
    HWND control(int id) const { return GetDlgItem(main, id); }
    void press(int id) const {
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(control(id)));
    }
};

TEST_F(Kelvane, StartsInItsDataFolderListingTheTrendFilesByName) {
    std::string listed;
    for (LRESULT i = 0; i < SendMessageW(control(ids::filConvert), LB_GETCOUNT, 0, 0); ++i) {
        wchar_t name[MAX_PATH] = {};
        SendMessageW(control(ids::filConvert), LB_GETTEXT, WPARAM(i), LPARAM(name));
        listed += fs::path(name).string() + " ";
    }
    EXPECT_EQ(listed, "bad.hst dud.hst equal.hst high.hst LOW.HST short.hst ~x.hst ");
}

// Tab from the number to Help and Enter: the help window opens with the
// focus on Close, which Enter presses.
TEST_F(Kelvane, HelpOpensAndClosesFromTheKeyboard) {
    for (int i = 0; i < 6; ++i) PostMessageW(main, WM_KEYDOWN, VK_TAB, 0);
    PostMessageW(main, WM_KEYDOWN, VK_RETURN, 0);
    HWND help = find(ids::HelpClass);
    ASSERT_TRUE(help);
    EXPECT_EQ(textOf(GetDlgItem(help, ids::lblVersion)), versionLine());
    EXPECT_EQ(focusAfterKeys(), GetDlgItem(help, ids::cmdClose));
    key(VK_RETURN);
    for (int i = 0; i < 100 && IsWindow(help); ++i) Sleep(50);
    EXPECT_FALSE(IsWindow(help));
}

// A double click opens "sub"; a click on OK starts a run over its many
// files; once the progress window shows, its close box and Alt+F4 leave it
// there, and Tab goes to Close and Space presses it: the program ends with
// no file half done.
TEST_F(Kelvane, CloseFromTheKeyboardEndsARunMidway) {
    const Bytes before = trendFile(patternedHeader()), after = withCount(before, 0x0201);
    auto many = [](int i) { return "s" + std::to_string(10000 + i) + ".hst"; };
    constexpr int Many = 3000;
    for (int i = 0; i < Many; ++i) writeFile(data / "sub" / many(i), before);
    HWND folders = control(ids::dirConvert);
    SendMessageW(folders, LB_SETCURSEL, WPARAM(SendMessageW(folders, LB_GETCOUNT, 0, 0) - 1), 0);
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(ids::dirConvert, LBN_DBLCLK), LPARAM(folders));
    EXPECT_EQ(SendMessageW(control(ids::filConvert), LB_GETCOUNT, 0, 0), Many);
    SendMessageW(control(ids::txtNoFiles), WM_SETTEXT, 0, LPARAM(L"513"));
    SendMessageW(control(ids::filConvert), LB_SETSEL, TRUE, -1);
    PostMessageW(control(ids::cmdOK), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(control(ids::cmdOK), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    HWND progress = find(ids::ConvertingClass);
    ASSERT_TRUE(progress);
    PostMessageW(progress, WM_SYSCOMMAND, SC_CLOSE, 0);  // sends it WM_CLOSE
    Sleep(300);
    EXPECT_TRUE(IsWindowVisible(progress));
    key(VK_TAB);
    key(VK_SPACE);
    EXPECT_TRUE(endedWell());
    int raised = 0;
    for (int i = 0; i < Many; ++i) {
        const Bytes now = readFile(data / "sub" / many(i));
        EXPECT_EQ(now, i == raised && now == after ? after : before) << many(i);
        raised += now == after;
    }
    EXPECT_TRUE(raised > 0 && raised < Many) << raised;
}

// A run over every listed file: each box with its icon, owned by the main
// window, the progress window naming its file above it; the keyboard back
// in the main window at the end.
TEST_F(Kelvane, ARunAnswersEachBoxWithTheProgressWindowAbove) {
    SendMessageW(control(ids::txtNoFiles), WM_SETTEXT, 0, LPARAM(L" 513 "));
    SendMessageW(control(ids::filConvert), LB_SETSEL, TRUE, -1);
    press(ids::cmdOK);
    for (const char* expected : {"File 'bad.hst' is not a valid trend file. [bad]",
                                 "File 'dud.hst' is not a valid trend file. [dud]",
                                 "high is already set for 600 files.\r\nIt will be skipped. [high]",
                                 "File 'short.hst' is not a valid trend file. [short]"})
        EXPECT_EQ(answerMessage(main), expected);
    EXPECT_EQ(answerMessage(main), std::string(Completed) + " []");
    EXPECT_TRUE(IsChild(main, focusAfterKeys()));
    for (const char* extended : {"LOW.HST", "~x.hst"})
        files[extended] = withCount(files[extended], 0x0201);
    for (const auto& [name, bytes] : files) EXPECT_EQ(readFile(data / name), bytes) << name;
}

// The main window follows a move to a screen of another dpi; Close ends the program.
TEST_F(Kelvane, FollowsAMoveToAScreenOfAnotherDpi) {
    EXPECT_EQ(sizesOffDesignAt144Dpi(main), "");
    press(ids::cmdClose);
    EXPECT_TRUE(endedWell());
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) return 2;
    kelvanePath = fs::path(argv[1]).wstring();
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", Desktop, REG_SZ,
                    L"1024x768", sizeof L"1024x768");
    SetThreadDesktop(CreateDesktopW(Desktop, nullptr, nullptr, 0, GENERIC_ALL, nullptr));
    const int status = RUN_ALL_TESTS();
    // The test leaves the user's settings as it found them.
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", Desktop);
    return status;
}
