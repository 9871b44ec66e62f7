#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <atomic>
#include <cstdio>

#include "cli/CommandLine.h"
#include "platform/Utf16.h"

namespace {

// What the console asked of the program, as the signal's number; the
// handler runs on a thread of its own.
std::atomic<int> stopSignal = 0;

BOOL WINAPI askToStop(DWORD event) {
    const bool interrupt = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
    stopSignal = interrupt ? 2 : 1;  // as SIGINT, or SIGHUP
    // A closed console ends the program once this returns: the run ends
    // the program itself, within the time the system gives.
    if (!interrupt) Sleep(INFINITE);
    return TRUE;
}

// UTF-16 to a console, which shows every character; UTF-8 to a file or pipe.
class StandardStreams : public cli::Console {
public:
    void out(const std::string& text) override { m_outFailed |= !write(STD_OUTPUT_HANDLE, text); }
    void err(const std::string& text) override { write(STD_ERROR_HANDLE, text); }
    bool errIsTerminal() const override { return m_errIsConsole; }
    bool flushOut() override { return !m_outFailed; }  // nothing is held back
    int interrupted() const override { return stopSignal; }

private:
    static bool isConsole(HANDLE handle) {
        DWORD mode = 0;
        return GetConsoleMode(handle, &mode) != 0;
    }
    const bool m_errIsConsole = isConsole(GetStdHandle(STD_ERROR_HANDLE));  // asked once
    // False when not all of `text` was written.
    static bool write(DWORD which, const std::string& text) {
        HANDLE handle = GetStdHandle(which);
        DWORD written = 0;
        if (isConsole(handle)) {
            const std::wstring wide = platform::toUtf16(text).value_or(L"?");
            return WriteConsoleW(handle, wide.data(), DWORD(wide.size()), &written, nullptr) &&
                   written == wide.size();
        }
        return WriteFile(handle, text.data(), DWORD(text.size()), &written, nullptr) &&
               written == text.size();
    }

    bool m_outFailed = false;
};

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    SetConsoleCtrlHandler(askToStop, TRUE);
    StandardStreams console;
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        const std::optional<std::string> argument = platform::toUtf8(argv[i]);
        if (!argument) {
            console.err("kelvane-cli: an argument is not valid Unicode\n");
            return cli::UsageError;
        }
        arguments.push_back(*argument);
    }
    return cli::run(arguments, console);
}
