// kelvane.exe end to end, as a Windows program under Wine: starts it on our
// own trend files in c:\velmar\data, drives its controls with window
// messages, reads and answers every message box through its window, and
// checks the files byte for byte.

#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "TrendFixtures.h"
#include "forms/frmHelp.h"
#include "win32/ControlIds.h"

namespace fs = std::filesystem;
namespace ids = win32ids;

namespace {

std::wstring kelvanePath;  // from the command line
const fs::path DataFolder = L"C:\\velmar\\data";

std::wstring textOf(HWND window) {
    wchar_t text[4096] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 4096, LPARAM(text), SMTO_ABORTIFHUNG, 5000, &ignored);
    return text;
}

std::string utf8(const std::wstring& wide) { return fs::path(wide).string(); }

// Waits up to 20 s for `found` to give a window.
template <typename Find>
HWND waitFor(Find found) {
    for (int i = 0; i < 400; ++i) {
        if (HWND window = found()) return window;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return nullptr;
}

struct Search {
    DWORD process;
    const wchar_t* className;
    std::vector<HWND> windows;
};

std::vector<HWND> windowsOf(DWORD process, const wchar_t* className) {
    Search search{process, className, {}};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* search = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (owner == search->process && IsWindowVisible(window) &&
                lstrcmpW(name, search->className) == 0)
                search->windows.push_back(window);
            return TRUE;
        },
        LPARAM(&search));
    return search.windows;
}

bool hasIcon(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) &&
            SendMessageW(child, STM_GETICON, 0, 0))
            return true;
    return false;
}

class Kelvane {
public:
    Kelvane() {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring command = L"\"" + kelvanePath + L"\"";
        if (!CreateProcessW(kelvanePath.c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                            nullptr, L"C:\\", &startup, &m_process))
            return;
        main = waitFor([&] {
            const auto found = windowsOf(m_process.dwProcessId, ids::ExtendClass);
            return found.empty() ? nullptr : found.front();
        });
    }
    ~Kelvane() {
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(m_process.hProcess, 9);
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }

    HWND main = nullptr;

    HWND control(int id) const { return GetDlgItem(main, id); }
    void press(int button) const {
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), LPARAM(control(button)));
    }
    std::vector<HWND> windows(const wchar_t* className) const {
        return windowsOf(m_process.dwProcessId, className);
    }
    // The next message box: its text, whether it shows an icon, and what the
    // progress window showed meanwhile; answered with OK.
    std::string answerMessage(bool& icon, std::string& progress) const {
        HWND box = waitFor([&] {
            const auto boxes = windows(L"#32770");
            return boxes.empty() ? nullptr : boxes.front();
        });
        if (!box) return "(no message box)";
        const std::string text = utf8(textOf(GetDlgItem(box, 0xFFFF)));
        icon = hasIcon(box);
        const auto shown = windows(ids::ConvertingClass);
        progress = shown.empty() ? "" : utf8(textOf(GetDlgItem(shown.front(), ids::lblFileName)));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        waitFor([&] { return IsWindow(box) ? nullptr : main; });
        return text;
    }
    std::string answerMessage() const {
        bool icon;
        std::string progress;
        return answerMessage(icon, progress);
    }
    bool endsWithin(DWORD milliseconds) const {
        DWORD code = 1;
        return WaitForSingleObject(m_process.hProcess, milliseconds) == WAIT_OBJECT_0 &&
               GetExitCodeProcess(m_process.hProcess, &code) && code == 0;
    }

private:
    PROCESS_INFORMATION m_process{};
};

std::map<std::string, Bytes> folderContents() {
    std::map<std::string, Bytes> contents;
    for (const auto& entry : fs::directory_iterator(DataFolder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        contents[entry.path().filename().string()] = Bytes(std::istreambuf_iterator<char>(in), {});
    }
    return contents;
}

TEST(Kelvane, ARunThroughTheWindowsHelpAndClose) {
    fs::remove_all(DataFolder);
    fs::create_directories(DataFolder);
    TrendFileHeader badSignature = patternedHeader();
    badSignature.bytes[130] = 'l';
    std::map<std::string, Bytes> files = {
        {"LOW.HST", trendFile(patternedHeader())},  // 0x0102, raised
        {"equal.hst", withCount(trendFile(patternedHeader()), 0x0201)},
        {"high.hst", trendFile(validHeader(600))},
        {"bad.hst", trendFile(badSignature)},
        {"short.hst", Bytes(100, 7)},
        {"other.txt", trendFile(validHeader(1))},
    };
    for (const auto& [name, bytes] : files)
        std::ofstream(DataFolder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));

    Kelvane kelvane;
    ASSERT_TRUE(kelvane.main) << "no main window";

    // It starts in c:\velmar\data and lists its trend files by name.
    HWND list = kelvane.control(ids::filConvert);
    std::vector<std::string> listed;
    for (LRESULT i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
        wchar_t name[MAX_PATH] = {};
        SendMessageW(list, LB_GETTEXT, WPARAM(i), LPARAM(name));
        listed.push_back(utf8(name));
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"bad.hst", "equal.hst", "high.hst", "LOW.HST",
                                                "short.hst"}));

    // The input checks, number first.
    kelvane.press(ids::cmdOK);
    EXPECT_EQ(kelvane.answerMessage(), "Please enter the number of files");
    SendMessageW(kelvane.control(ids::txtNoFiles), WM_SETTEXT, 0, LPARAM(L" 513 "));
    kelvane.press(ids::cmdOK);
    EXPECT_EQ(kelvane.answerMessage(), "Please select one or more trend files");

    // A run over every listed file: each message in list order, over the
    // progress window that names its file.
    SendMessageW(list, LB_SETSEL, TRUE, -1);
    kelvane.press(ids::cmdOK);
    struct Shown {
        std::string text;
        bool icon;
        std::string progress;
    };
    const Shown expected[] = {
        {"File 'bad.hst' is not a valid trend file.", true, "bad"},
        {"high is already set for 600 files.\r\nIt will be skipped.", true, "high"},
        {"File 'short.hst' is not a valid trend file.", true, "short"},
        {"Conversion is complete.\r\nYou must set the new number of history files in your "
         "project's\r\ntrend tag definitions before restarting Velmar.",
         false, ""},
    };
    for (const Shown& want : expected) {
        Shown got{};
        got.text = kelvane.answerMessage(got.icon, got.progress);
        EXPECT_EQ(got.text, want.text);
        EXPECT_EQ(got.icon, want.icon) << want.text;
        EXPECT_EQ(got.progress, want.progress) << want.text;
    }
    files["LOW.HST"] = withCount(files["LOW.HST"], 0x0201);
    EXPECT_EQ(folderContents(), files);  // byte for byte, nothing created

    // Help opens one window, however often it is pressed.
    kelvane.press(ids::cmdHelp);
    kelvane.press(ids::cmdHelp);
    HWND help = waitFor([&] {
        const auto found = kelvane.windows(ids::HelpClass);
        return found.empty() ? nullptr : found.front();
    });
    ASSERT_TRUE(help);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(kelvane.windows(ids::HelpClass).size(), 1u);
    EXPECT_EQ(utf8(textOf(GetDlgItem(help, ids::lblVersion))), VersionLine());

    // Close ends the program, help window and all.
    kelvane.press(ids::cmdClose);
    EXPECT_TRUE(kelvane.endsWithin(10000));
    EXPECT_TRUE(kelvane.windows(ids::HelpClass).empty());
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) return 2;
    kelvanePath = fs::path(argv[1]).wstring();
    return RUN_ALL_TESTS();
}
