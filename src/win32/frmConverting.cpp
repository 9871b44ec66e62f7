#include "win32/frmConverting.h"

#include "forms/frmConverting.h"
#include "win32/ControlIds.h"

namespace design = frmConvertingDesign;

namespace {

constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

HWND theWindow = nullptr;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {  // the close box only hides it; the run goes on
        ShowWindow(window, SW_HIDE);
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
    SetWindowPos(window, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

HWND create() {
    // Owned by the main window, so that the main window, active again after
    // each message box, never covers the name of the file being treated.
    HWND window = toolkit::createWindow(win32ids::ConvertingClass, windowProc, toolkit::AppTitle,
                                        Style, design::ClientWidth, design::ClientHeight,
                                        FindWindowW(win32ids::ExtendClass, nullptr));
    // SS_NOPREFIX: an "&" in a file name is shown, not taken as an access key.
    const DWORD label = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
    toolkit::makeControl(window, L"STATIC", toolkit::widen(design::Label1Caption), label, 0,
                         design::Label1);
    toolkit::makeControl(window, L"STATIC", L"", label, win32ids::lblFileName, design::lblFileName);
    placeOverMainWindow(window);  // only now: afterwards it stays where it was left
    return window;
}

HWND instance() {
    if (!theWindow) theWindow = create();
    return theWindow;
}

}  // namespace

void ConvertingView::showProgress() {
    HWND window = instance();
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ConvertingView::setProgressFileName(const std::string& text) {
    HWND window = instance();
    SetDlgItemTextW(window, win32ids::lblFileName, toolkit::widen(text).c_str());
    // A message box for the file before made the main window active again.
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    UpdateWindow(window);  // the name is on screen before the file is opened
}

void ConvertingView::hideProgress() { ShowWindow(instance(), SW_HIDE); }

void ConvertingView::showMessage(const std::string& text, MessageIcon icon) {
    toolkit::showMessage(text, icon);
}

void ConvertingView::doEvents() { toolkit::doEvents(); }
