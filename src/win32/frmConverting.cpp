#include "win32/frmConverting.h"

#include "forms/frmConverting.h"
#include "win32/ControlIds.h"

namespace design = frmConvertingDesign;

namespace {

constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

HWND theWindow = nullptr;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:  // the close box only hides it; the run goes on
            ShowWindow(window, SW_HIDE);
            return 0;
        case WM_DPICHANGED:
            toolkit::rescaleForDpi(window, wParam, lParam);
            return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Over the main window when it is shown, else in the middle of the screen.
void placeOverMainWindow(HWND window) {
    HWND main = GetWindow(window, GW_OWNER);
    if (!main || !IsWindowVisible(main) || IsIconic(main)) return toolkit::centreOnScreen(window);
    RECT mainFrame{}, frame{};
    GetWindowRect(main, &mainFrame);
    GetWindowRect(window, &frame);
    const twips::PixelRect place =
        design::placeOver({mainFrame.left, mainFrame.top, mainFrame.right - mainFrame.left,
                           mainFrame.bottom - mainFrame.top},
                          frame.right - frame.left, frame.bottom - frame.top);
    SetWindowPos(window, nullptr, place.left, place.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND create(HWND owner) {
    // Owned by the main window, so that the main window never covers the
    // name of the file being treated. Never active: the keyboard stays in
    // the main window, also when a message box it owns goes away.
    HWND window = toolkit::createWindow(win32ids::ConvertingClass, windowProc, toolkit::AppTitle,
                                        Style, design::ClientWidth, design::ClientHeight, owner,
                                        nullptr, WS_EX_NOACTIVATE);
    // SS_NOPREFIX: an "&" in a file name is shown, not taken as an access key.
    const DWORD label = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
    toolkit::makeControl(window, L"STATIC", toolkit::widen(design::Label1Caption), label,
                         win32ids::Label1, design::Label1);
    toolkit::makeControl(window, L"STATIC", L"", label, win32ids::lblFileName, design::lblFileName);
    placeOverMainWindow(window);  // only now: afterwards it stays where it was left
    return window;
}

HWND instance(HWND owner) {
    if (!theWindow) theWindow = create(owner);
    return theWindow;
}

}  // namespace

void ConvertingView::showProgress() {
    HWND window = instance(m_owner);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ConvertingView::setProgressFileName(const std::string& text) {
    HWND window = instance(m_owner);
    SetDlgItemTextW(window, win32ids::lblFileName, toolkit::widen(text).c_str());
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, GetDlgItem(window, win32ids::lblFileName), OBJID_CLIENT,
                   CHILDID_SELF);  // screen readers hear of the new name
    // Above the main window again, whatever another program raised meanwhile.
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    UpdateWindow(window);  // the name is on screen before the file is opened
}

void ConvertingView::hideProgress() { ShowWindow(instance(m_owner), SW_HIDE); }

// While the progress window shows, the box stands over it: owned by it, the
// box keeps it between itself and the main window, whatever a window
// manager raises when the box before goes away.
void ConvertingView::showMessage(const std::string& text, MessageIcon icon) {
    const bool shown = theWindow && IsWindowVisible(theWindow);
    toolkit::showMessage(text, icon, shown ? theWindow : m_owner);
}

void ConvertingView::doEvents() { toolkit::doEvents(); }
