#include "win32/frmConverting.h"

#include "win32/ControlIds.h"

namespace design = frmConvertingDesign;

namespace {

constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

constexpr toolkit::ControlPlace Layout[] = {{win32ids::Label1, design::Label1},
                                            {win32ids::lblFileName, design::lblFileName}};

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:  // by the close box, Alt+F4 or another program
            if (!(GetMenuState(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED))
                ShowWindow(window, SW_HIDE);
            return 0;
        case WM_DPICHANGED:
            toolkit::rescaleForDpi(window, wParam, lParam, Layout);
            return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

twips::PixelRect frameOf(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    return {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top};
}

// Above the main window again, whatever another program raised meanwhile.
void toTop(HWND window) {
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

// Owned by the main window, so that the main window never covers the name
// of the file being treated. Never active: the keyboard stays in the main
// window, also when a message box it owns goes away.
frmConverting::frmConverting(HWND owner)
    : m_window(toolkit::createWindow(win32ids::ConvertingClass, windowProc, toolkit::AppTitle,
                                     Style, design::ClientWidth, design::ClientHeight, owner,
                                     nullptr, WS_EX_NOACTIVATE)) {
    // SS_NOPREFIX: an "&" in a file name is shown, not taken as an access key.
    const DWORD label = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
    toolkit::makeControl(m_window, L"STATIC", toolkit::widen(design::Label1Caption), label,
                         win32ids::Label1, design::Label1);
    toolkit::makeControl(m_window, L"STATIC", L"", label, win32ids::lblFileName,
                         design::lblFileName);
}

void frmConverting::show() {
    ShowWindow(m_window, SW_SHOWNOACTIVATE);
    toTop(m_window);
}

void frmConverting::setFileName(const std::string& text) {
    SetDlgItemTextW(m_window, win32ids::lblFileName, toolkit::widen(text).c_str());
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, GetDlgItem(m_window, win32ids::lblFileName),
                   OBJID_CLIENT, CHILDID_SELF);  // screen readers hear of the new name
    toTop(m_window);
    UpdateWindow(m_window);  // the name is on screen before the file is opened
}

void frmConverting::setHeading(const std::string& text, const twips::Rect& place) {
    HWND heading = GetDlgItem(m_window, win32ids::Label1);
    toolkit::place(heading, place, toolkit::dpiOf(m_window));
    SetWindowTextW(heading, toolkit::widen(text).c_str());
    UpdateWindow(m_window);
}

twips::PixelRect frmConverting::frame() const { return frameOf(m_window); }

std::optional<twips::PixelRect> frmConverting::ownerFrame() const {
    HWND main = GetWindow(m_window, GW_OWNER);
    if (!main || !IsWindowVisible(main) || IsIconic(main)) return std::nullopt;
    return frameOf(main);
}

void frmConverting::moveTo(int left, int top) {
    SetWindowPos(m_window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The system menu's Close, greyed, greys the close box too; WM_CLOSE asks it.
void frmConverting::allowClose(bool allowed) {
    EnableMenuItem(GetSystemMenu(m_window, FALSE), SC_CLOSE,
                   MF_BYCOMMAND | (allowed ? MF_ENABLED : MF_GRAYED));
}
