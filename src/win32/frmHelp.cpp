#include "win32/frmHelp.h"

#include "forms/frmHelp.h"
#include "win32/ControlIds.h"
#include "win32/Toolkit.h"

namespace design = frmHelpDesign;

namespace {

constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

HWND theWindow = nullptr;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == win32ids::cmdClose) DestroyWindow(window);  // cmdClose_Click
            return 0;
        case WM_ACTIVATE:  // the focus goes back to Close, the one control that takes it
            if (LOWORD(wParam) != WA_INACTIVE) SetFocus(GetDlgItem(window, win32ids::cmdClose));
            return 0;
        case WM_DPICHANGED:
            toolkit::rescaleForDpi(window, wParam, lParam);
            return 0;
        case WM_DESTROY:  // its controls' handles may be given to other controls later
            toolkit::forgetPlaces(window);
            theWindow = nullptr;
            return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Form_Load(HWND window) {
    SetDlgItemTextW(window, win32ids::lblVersion, toolkit::widen(VersionLine()).c_str());
}

HWND create() {
    HWND window =
        toolkit::createWindow(win32ids::HelpClass, windowProc, toolkit::widen(design::Caption),
                              Style, design::ClientWidth, design::ClientHeight);
    using toolkit::makeControl;
    makeControl(window, L"STATIC", toolkit::widen(design::Paragraph1), SS_LEFT | SS_NOPREFIX,
                win32ids::Label1, design::Label1);
    makeControl(window, L"STATIC", toolkit::widen(design::Paragraph2), SS_LEFT | SS_NOPREFIX,
                win32ids::Label2, design::Label2);
    makeControl(window, L"STATIC", toolkit::widen(design::Paragraph3), SS_LEFT | SS_NOPREFIX,
                win32ids::Label3, design::Label3);
    makeControl(window, L"BUTTON", toolkit::widen(design::CloseCaption), WS_TABSTOP | BS_PUSHBUTTON,
                win32ids::cmdClose, design::cmdClose);
    makeControl(window, L"STATIC", toolkit::widen(design::VersionPlaceholder),
                SS_LEFTNOWORDWRAP | SS_NOPREFIX, win32ids::lblVersion, design::lblVersion);
    toolkit::centreOnScreen(window);
    Form_Load(window);
    ShowWindow(window, SW_SHOW);
    return window;
}

}  // namespace

void frmHelp::open() {
    if (!theWindow) {
        theWindow = create();
        return;
    }
    ShowWindow(theWindow, SW_SHOW);
    SetForegroundWindow(theWindow);
}
