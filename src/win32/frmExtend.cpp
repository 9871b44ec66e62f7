#include "win32/frmExtend.h"

#include <commctrl.h>

#include "win32/Accessibility.h"
#include "win32/ControlIds.h"
#include "win32/frmConverting.h"
#include "win32/frmHelp.h"

namespace design = frmExtendDesign;
namespace ids = win32ids;
using layout::Control;

namespace {

constexpr DWORD Style = WS_OVERLAPPEDWINDOW;

// The controls the layout leaves where the design puts them.
constexpr toolkit::ControlPlace FixedControls[] = {{ids::Label1, design::Label1},
                                                   {ids::Label2, design::Label2},
                                                   {ids::txtNoFiles, design::txtNoFiles}};

// The folder list takes Enter to open a folder; the file list takes Ctrl+A.
LRESULT CALLBACK listKeys(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR) {
    const bool folders = GetDlgCtrlID(list) == ids::dirConvert;
    if (message == WM_GETDLGCODE && folders && wParam == VK_RETURN)
        return DefSubclassProc(list, message, wParam, lParam) | DLGC_WANTALLKEYS;
    if (message == WM_KEYDOWN && folders && wParam == VK_RETURN) {
        SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(ids::dirConvert, LBN_DBLCLK),
                     LPARAM(list));
        return 0;
    }
    if (message == WM_KEYDOWN && !folders && wParam == 'A' && (GetKeyState(VK_CONTROL) & 0x8000)) {
        SendMessageW(list, LB_SETSEL, TRUE, -1);
        return 0;
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

// A label that sizes itself to its one-line caption, keeping its position.
void fitToCaption(HWND label) {
    HDC dc = GetDC(label);
    const HGDIOBJ old = SelectObject(dc, HGDIOBJ(SendMessageW(label, WM_GETFONT, 0, 0)));
    const std::wstring caption = toolkit::textOf(label);
    RECT extent{};
    DrawTextW(dc, caption.c_str(), int(caption.size()), &extent, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    SetWindowPos(label, nullptr, 0, 0, extent.right + 2, extent.bottom,  // room for the last glyph
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The layout's side of a rectangle, as the value it reads and writes.
template <typename Rect>
auto& sideOf(Rect& rect, layout::Side side) {
    switch (side) {
        case layout::Side::Left:
            return rect.left;
        case layout::Side::Top:
            return rect.top;
        case layout::Side::Width:
            return rect.width;
        case layout::Side::Height:
            break;
    }
    return rect.height;
}

twips::Rect offset(const twips::Rect& rect, const twips::Rect& container) {
    return {container.left + rect.left, container.top + rect.top, rect.width, rect.height};
}

}  // namespace

frmExtend::frmExtend() {
    m_layout = {{Control::fraTrendLocation, design::fraTrendLocation},
                {Control::fraPath, design::fraPath},
                {Control::drvConvert, design::drvConvert},
                {Control::dirConvert, design::dirConvert},
                {Control::filConvert, design::filConvert},
                {Control::lblMultiSelect, design::lblMultiSelect},
                {Control::fraButtons, design::fraButtons}};
    toolkit::createWindow(ids::ExtendClass, windowProc, toolkit::AppTitle, Style,
                          design::ClientWidth, design::ClientHeight, nullptr, this);
    m_dpi = toolkit::dpiOf(m_window);
    createControls();
    // The controls are there now: lay them out for the designed size.
    RECT client{};
    GetClientRect(m_window, &client);
    SendMessageW(m_window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    toolkit::centreOnScreen(m_window);
}

// Created in tab order, so that Tab and the access key of Label2 (which
// moves to the next control) follow the design.
void frmExtend::createControls() {
    using toolkit::makeControl;
    const DWORD label = SS_LEFTNOWORDWRAP;
    makeControl(m_window, L"STATIC", toolkit::widen(design::Label2Caption), label, ids::Label2,
                design::Label2);
    makeControl(m_window, L"EDIT", L"", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, ids::txtNoFiles,
                design::txtNoFiles);
    const DWORD list = WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    makeControl(m_window, L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                ids::drvConvert, design::drvConvert);
    makeControl(m_window, L"LISTBOX", L"", list, ids::dirConvert, design::dirConvert);
    makeControl(m_window, L"LISTBOX", L"", list | LBS_EXTENDEDSEL, ids::filConvert,
                design::filConvert);
    makeControl(m_window, L"BUTTON", toolkit::widen(design::OkCaption),
                WS_TABSTOP | BS_DEFPUSHBUTTON, ids::cmdOK, design::cmdOK);
    makeControl(m_window, L"BUTTON", toolkit::widen(design::CloseCaption),
                WS_TABSTOP | BS_PUSHBUTTON, ids::cmdClose, design::cmdClose);
    makeControl(m_window, L"BUTTON", toolkit::widen(design::HelpCaption),
                WS_TABSTOP | BS_PUSHBUTTON, ids::cmdHelp, design::cmdHelp);
    makeControl(m_window, L"STATIC", toolkit::widen(design::Label1Caption), label, ids::Label1,
                design::Label1);
    makeControl(m_window, L"BUTTON", toolkit::widen(design::TrendLocationCaption), BS_GROUPBOX,
                ids::fraTrendLocation, design::fraTrendLocation);
    makeControl(m_window, L"STATIC", toolkit::widen(design::MultiSelectCaption), SS_CENTER,
                ids::lblMultiSelect, design::lblMultiSelect);
    for (int id : {ids::Label1, ids::Label2}) fitToCaption(GetDlgItem(m_window, id));
    for (int id : {ids::dirConvert, ids::filConvert})
        SetWindowSubclass(GetDlgItem(m_window, id), listKeys, 0, 0);
    m_files.attach(GetDlgItem(m_window, ids::filConvert));
    lists::showDrives(GetDlgItem(m_window, ids::drvConvert), browser().drives());
    driveShown();
    foldersShown();
    filesShown();
    accessibility::nameControls(m_window, design::AccessibleNames);
    SetFocus(GetDlgItem(m_window, ids::txtNoFiles));
    m_created = true;
}

LRESULT CALLBACK frmExtend::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<frmExtend*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(self));
    }
    auto* self = reinterpret_cast<frmExtend*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handle(message, wParam, lParam)
                : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT frmExtend::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_ACTIVATE:  // the focus comes back where it was, as in a dialog
            if (LOWORD(wParam) == WA_INACTIVE)
                m_focus = GetFocus();
            else if (m_focus && IsChild(m_window, m_focus))
                SetFocus(m_focus);
            return 0;
        case WM_NEXTDLGCTL: {  // Tab and access keys, as the dialog manager asks for them
            HWND focus = IsChild(m_window, GetFocus()) ? GetFocus() : nullptr;
            moveFocus(LOWORD(lParam) ? HWND(wParam)
                                     : GetNextDlgTabItem(m_window, focus, wParam != 0));
            return 0;
        }
        case DM_GETDEFID:
            return MAKELRESULT(ids::cmdOK, DC_HASDEFID);
        case WM_SIZE:  // Form_Resize, once the controls are there
            if (m_created) {
                layout::Form_Resize(*this);
                placeControls();
            }
            return 0;
        case WM_GETMINMAXINFO: {
            const int minimum = twips::toPixels(layout::MinimumSize, m_dpi);
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {minimum, minimum};
            return 0;
        }
        case WM_DPICHANGED:
            m_dpi = HIWORD(wParam);  // before the new size lays the controls out at it
            // The new size's WM_SIZE places the layout's controls; the rest here.
            toolkit::rescaleForDpi(m_window, wParam, lParam, FixedControls);
            for (int id : {ids::Label1, ids::Label2}) fitToCaption(GetDlgItem(m_window, id));
            return 0;
        case WM_CLOSE:  // the close box does what Close does
            m_form.CloseAll();
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

void frmExtend::onCommand(int id, int code) {
    if (id == ids::cmdOK && code == BN_CLICKED) m_form.cmdOK_Click();
    if (id == ids::cmdClose && code == BN_CLICKED) m_form.CloseAll();
    if (id == ids::cmdHelp && code == BN_CLICKED) m_form.cmdHelp_Click();
    auto selected = [&](UINT message) {
        return int(SendMessageW(GetDlgItem(m_window, id), message, 0, 0));
    };
    if (id == ids::drvConvert && code == CBN_SELCHANGE)
        m_form.drvConvert_Change(selected(CB_GETCURSEL));
    if (id == ids::dirConvert && code == LBN_DBLCLK) browser().openFolderAt(selected(LB_GETCURSEL));
}

// As a dialog does: a text box reached this way has its text selected.
void frmExtend::moveFocus(HWND control) {
    if (!control || !IsChild(m_window, control)) return;
    if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageW(control, EM_SETSEL, 0, -1);
    SetFocus(control);
}

void frmExtend::driveShown() {
    SendMessageW(GetDlgItem(m_window, ids::drvConvert), CB_SETCURSEL, WPARAM(browser().drive()), 0);
}

void frmExtend::foldersShown() {
    lists::showFolders(GetDlgItem(m_window, ids::dirConvert), browser().folders(),
                       browser().openFolderRow());
}

void frmExtend::filesShown() { m_files.showFiles(browser().files()); }

// The frames without a border exist only as offsets: every control is a
// child of the window, placed where its container puts it.
void frmExtend::placeControls() {
    const twips::Rect trend = m_layout[Control::fraTrendLocation];
    const twips::Rect path = offset(m_layout[Control::fraPath], trend);
    const twips::Rect buttons = m_layout[Control::fraButtons];
    twips::Rect drive = offset(m_layout[Control::drvConvert], path);
    drive.height *= 8;  // a drop-down list's height includes the list it drops
    const toolkit::ControlPlace placed[] = {
        {ids::fraTrendLocation, trend},
        {ids::drvConvert, drive},
        {ids::dirConvert, offset(m_layout[Control::dirConvert], path)},
        {ids::filConvert, offset(m_layout[Control::filConvert], trend)},
        {ids::lblMultiSelect, offset(m_layout[Control::lblMultiSelect], trend)},
        {ids::cmdOK, offset(design::cmdOK, buttons)},
        {ids::cmdClose, offset(design::cmdClose, buttons)},
        {ids::cmdHelp, offset(design::cmdHelp, buttons)},
    };
    for (const auto& [id, rect] : placed) toolkit::place(GetDlgItem(m_window, id), rect, m_dpi);
    InvalidateRect(m_window, nullptr, TRUE);
}

std::string frmExtend::numberText() const {
    return toolkit::narrow(toolkit::textOf(GetDlgItem(m_window, ids::txtNoFiles)));
}

std::vector<std::string> frmExtend::selectedFileNames() const { return GetSelectedItems(m_files); }

void frmExtend::showMessage(const std::string& text, MessageIcon icon) {
    toolkit::showMessage(m_window, text, icon);
}

std::unique_ptr<ConvertingWindow> frmExtend::makeConvertingWindow() {
    return std::make_unique<frmConverting>(m_window);
}

std::unique_ptr<HelpWindow> frmExtend::makeHelpWindow() { return std::make_unique<frmHelp>(); }

bool frmExtend::isWindowMinimized() const { return IsIconic(m_window); }

float frmExtend::scaleWidth() const {
    RECT client{};
    GetClientRect(m_window, &client);
    return twips::fromPixels(client.right, m_dpi);
}

float frmExtend::scaleHeight() const {
    RECT client{};
    GetClientRect(m_window, &client);
    return twips::fromPixels(client.bottom, m_dpi);
}

void frmExtend::setOuterWidth(float value) {
    RECT frame{};
    GetWindowRect(m_window, &frame);
    const int width = twips::toPixels(value, m_dpi);
    if (width != frame.right - frame.left)
        SetWindowPos(m_window, nullptr, 0, 0, width, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmExtend::setOuterHeight(float value) {
    RECT frame{};
    GetWindowRect(m_window, &frame);
    const int height = twips::toPixels(value, m_dpi);
    if (height != frame.bottom - frame.top)
        SetWindowPos(m_window, nullptr, 0, 0, frame.right - frame.left, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

float frmExtend::get(Control control, layout::Side side) const {
    return float(sideOf(m_layout.at(control), side));
}

void frmExtend::set(Control control, layout::Side side, float value) {
    sideOf(m_layout.at(control), side) = value;
}
