#include "win32/frmHelp.h"

#include "win32/ControlIds.h"

namespace design = frmHelpDesign;
namespace ids = win32ids;

namespace {

constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

constexpr toolkit::ControlPlace Layout[] = {{ids::Label1, design::Label1},
                                            {ids::Label2, design::Label2},
                                            {ids::Label3, design::Label3},
                                            {ids::cmdClose, design::cmdClose},
                                            {ids::lblVersion, design::lblVersion}};

}  // namespace

LRESULT CALLBACK frmHelp::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == ids::cmdClose) DestroyWindow(window);  // cmdClose_Click
            return 0;
        case WM_ACTIVATE:  // the focus goes back to Close, the one control that takes it
            if (LOWORD(wParam) != WA_INACTIVE) SetFocus(GetDlgItem(window, ids::cmdClose));
            return 0;
        case WM_DPICHANGED:
            toolkit::rescaleForDpi(window, wParam, lParam, Layout);
            return 0;
        case WM_DESTROY:  // by Close, the close box or this object
            if (auto* self = reinterpret_cast<frmHelp*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
                self->m_window = nullptr;
            return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

frmHelp::frmHelp()
    : m_window(toolkit::createWindow(ids::HelpClass, windowProc, toolkit::widen(design::Caption),
                                     Style, design::ClientWidth, design::ClientHeight)) {
    SetWindowLongPtrW(m_window, GWLP_USERDATA, LONG_PTR(this));
    using toolkit::makeControl;
    makeControl(m_window, L"STATIC", toolkit::widen(design::Paragraph1), SS_LEFT | SS_NOPREFIX,
                ids::Label1, design::Label1);
    makeControl(m_window, L"STATIC", toolkit::widen(design::Paragraph2), SS_LEFT | SS_NOPREFIX,
                ids::Label2, design::Label2);
    makeControl(m_window, L"STATIC", toolkit::widen(design::Paragraph3), SS_LEFT | SS_NOPREFIX,
                ids::Label3, design::Label3);
    makeControl(m_window, L"BUTTON", toolkit::widen(design::CloseCaption),
                WS_TABSTOP | BS_PUSHBUTTON, ids::cmdClose, design::cmdClose);
    makeControl(m_window, L"STATIC", toolkit::widen(design::VersionPlaceholder),
                SS_LEFTNOWORDWRAP | SS_NOPREFIX, ids::lblVersion, design::lblVersion);
    toolkit::centreOnScreen(m_window);
}

frmHelp::~frmHelp() {
    if (m_window) DestroyWindow(m_window);
}

void frmHelp::setVersionLine(const std::string& text) {
    SetDlgItemTextW(m_window, ids::lblVersion, toolkit::widen(text).c_str());
}

void frmHelp::showInFront() {
    ShowWindow(m_window, SW_SHOW);
    SetForegroundWindow(m_window);
}

void frmHelp::focusClose() { SetFocus(GetDlgItem(m_window, ids::cmdClose)); }
