// kelvane.exe end to end, as a Windows program under Wine: starts it on our
// own trend files in c:\velmar\data, drives it with window messages and
// keys, reads and answers every message box through its window, and checks
// the files byte for byte.

#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "TrendFixtures.h"
#include "forms/frmHelp.h"
#include "win32/ControlIds.h"

namespace fs = std::filesystem;
namespace ids = win32ids;

namespace {

std::wstring kelvanePath;  // from the command line
PROCESS_INFORMATION kelvane{};

std::string textOf(HWND window) {
    wchar_t text[4096] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 4096, LPARAM(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return fs::path(text).string();
}

// The shown window of kelvane.exe of `className`, looked for up to `looks`
// times, 50 ms apart.
HWND find(const wchar_t* className, int looks = 400) {
    for (int look = 0; look < looks; ++look, Sleep(50))
        for (HWND window = nullptr;
             (window = FindWindowExW(nullptr, window, className, nullptr));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == kelvane.dwProcessId && IsWindowVisible(window)) return window;
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

// The next message box: "text [progress label]", with "!" when it shows an
// icon; answered with OK.
std::string answerMessage() {
    HWND box = find(L"#32770");
    if (!box) return "(no message box)";
    std::string shown = textOf(GetDlgItem(box, 0xFFFF));
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) &&
            SendMessageW(child, STM_GETICON, 0, 0))
            shown = "!" + shown;
    HWND progress = find(ids::ConvertingClass, 1);
    shown += " [" + (progress ? textOf(GetDlgItem(progress, ids::lblFileName)) : "") + "]";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    while (IsWindow(box)) Sleep(20);
    return shown;
}

TEST(Kelvane, ARunThroughTheWindowsHelpAndClose) {
    const fs::path data = L"C:\\velmar\\data";
    fs::remove_all(data);
    fs::create_directories(data);
    // "~x.hst" lists last, as in every front end; a list that sorts itself would put it first.
    std::map<std::string, Bytes> files = {
        {"LOW.HST", trendFile(patternedHeader())},
        {"~x.hst", trendFile(patternedHeader())},
        {"equal.hst", withCount(trendFile(patternedHeader()), 0x0201)},
        {"high.hst", trendFile(validHeader(600))},
        {"bad.hst", Bytes(300, 7)},
        {"short.hst", Bytes(100, 7)},
        {"other.txt", trendFile(validHeader(1))}};
    for (const auto& [name, bytes] : files)
        std::ofstream(data / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    fs::create_directory(data / "sub");
    std::ofstream(data / "sub" / "s.hst");

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + kelvanePath + L"\"";
    ASSERT_TRUE(CreateProcessW(kelvanePath.c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, L"C:\\", &startup, &kelvane));
    HWND main = find(ids::ExtendClass);
    ASSERT_TRUE(main);
    auto press = [&](int id) {
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(main, id)));
    };

    // It starts in c:\velmar\data and lists its trend files by name.
    HWND list = GetDlgItem(main, ids::filConvert);
    std::string listed;
    for (LRESULT i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
        wchar_t name[MAX_PATH] = {};
        SendMessageW(list, LB_GETTEXT, WPARAM(i), LPARAM(name));
        listed += fs::path(name).string() + " ";
    }
    EXPECT_EQ(listed, "bad.hst equal.hst high.hst LOW.HST short.hst ~x.hst ");

    // A run over every listed file.
    SendMessageW(GetDlgItem(main, ids::txtNoFiles), WM_SETTEXT, 0, LPARAM(L" 513 "));
    SendMessageW(list, LB_SETSEL, TRUE, -1);
    press(ids::cmdOK);
    for (const char* expected :
         {"!File 'bad.hst' is not a valid trend file. [bad]",
          "!high is already set for 600 files.\r\nIt will be skipped. [high]",
          "!File 'short.hst' is not a valid trend file. [short]"})
        EXPECT_EQ(answerMessage(), expected);
    EXPECT_EQ(answerMessage(), Completed + std::string(" []"));
    for (const char* extended : {"LOW.HST", "~x.hst"})
        files[extended] = withCount(files[extended], 0x0201);
    for (const auto& [name, bytes] : files) {  // byte for byte
        std::ifstream in(data / name, std::ios::binary);
        EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(in), {}), bytes) << name;
    }

    // A double click on a folder opens it: its one file is listed.
    HWND folders = GetDlgItem(main, ids::dirConvert);
    SendMessageW(folders, LB_SETCURSEL, WPARAM(SendMessageW(folders, LB_GETCOUNT, 0, 0) - 1), 0);
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(ids::dirConvert, LBN_DBLCLK), LPARAM(folders));
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);

    // Alt+N from the file list goes to the number.
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(focusAfterKeys(), list);
    PostMessageW(list, WM_SYSKEYDOWN, 'N', 1 | 1 << 29);  // bit 29: Alt is down
    EXPECT_EQ(focusAfterKeys(), GetDlgItem(main, ids::txtNoFiles));

    // Tab from the number to Help and Enter, then the button again from the
    // main window: the same window, with the focus on Close, which Enter
    // presses.
    for (int i = 0; i < 6; ++i) PostMessageW(main, WM_KEYDOWN, VK_TAB, 0);
    PostMessageW(main, WM_KEYDOWN, VK_RETURN, 0);
    HWND help = find(ids::HelpClass);
    ASSERT_TRUE(help);
    SetForegroundWindow(main);
    Sleep(300);
    ASSERT_EQ(GetForegroundWindow(), main);
    press(ids::cmdHelp);
    Sleep(300);
    EXPECT_EQ(find(ids::HelpClass, 1), help);
    EXPECT_EQ(textOf(GetDlgItem(help, ids::lblVersion)), VersionLine());
    PostMessageW(help, WM_KEYDOWN, VK_RETURN, 0);
    for (int i = 0; i < 100 && IsWindow(help); ++i) Sleep(50);
    EXPECT_FALSE(IsWindow(help));

    // Close ends the program, help window and all.
    press(ids::cmdHelp);
    ASSERT_TRUE(find(ids::HelpClass));
    press(ids::cmdClose);
    DWORD code = 1;
    EXPECT_EQ(WaitForSingleObject(kelvane.hProcess, 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(GetExitCodeProcess(kelvane.hProcess, &code) && code == 0);
    TerminateProcess(kelvane.hProcess, 9);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) return 2;
    kelvanePath = fs::path(argv[1]).wstring();
    return RUN_ALL_TESTS();
}
