#include "win32/Toolkit.h"

#include <commctrl.h>

#include <map>

#include "forms/DialogFont.h"

namespace toolkit {
namespace {

UINT boxStyle(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return MB_OK | MB_ICONINFORMATION;
        case MessageIcon::Exclamation:
            return MB_OK | MB_ICONEXCLAMATION;
        case MessageIcon::Error:
            return MB_OK | MB_ICONERROR;
        case MessageIcon::None:
            break;
    }
    return MB_OK;
}

bool isPushButton(HWND control) {
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    const LONG kind = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    return lstrcmpiW(className, L"Button") == 0 &&
           (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON);
}

bool isMessageBox(HWND window) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    return lstrcmpW(className, L"#32770") == 0;
}

// While a box shows, the other windows its owner owns (the progress window)
// stay between the owner and the box: Wine, activating every other box,
// raises the owner over them.
LRESULT CALLBACK keepOwnedWindowsAbove(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_ACTIVATE && LOWORD(call->wParam) != WA_INACTIVE &&
        isMessageBox(call->hwnd))
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM box) -> BOOL {
                const HWND owner = GetWindow(HWND(box), GW_OWNER);
                if (window != HWND(box) && owner && IsWindowVisible(window) &&
                    GetWindow(window, GW_OWNER) == owner)
                    SetWindowPos(window, HWND(box), 0, 0, 0, 0,
                                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                return TRUE;
            },
            LPARAM(call->hwnd));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void useCommonControls() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

int dpiOf(HWND window) {
    const UINT dpi = window ? GetDpiForWindow(window) : 0;
    return dpi ? int(dpi) : int(GetDpiForSystem());
}

HWND createWindow(const wchar_t* className, WNDPROC procedure, const std::wstring& caption,
                  DWORD style, double width, double height, HWND owner, void* parameter,
                  DWORD extendedStyle) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hIcon = LoadIconW(windowClass.hInstance, L"IDI_ICON1");
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);  // fails harmlessly when it is registered already
    HWND window =
        CreateWindowExW(WS_EX_CONTROLPARENT | extendedStyle, className, caption.c_str(), style, 0,
                        0, 0, 0, owner, nullptr, windowClass.hInstance, parameter);
    const int dpi = dpiOf(window);
    const SIZE outer =
        outerSize(style, {twips::toPixels(width, dpi), twips::toPixels(height, dpi)}, dpi);
    // Sized without activating: a window activated while hidden keeps the
    // keyboard from the window the user is in, and is not activated again
    // when it is shown.
    SetWindowPos(window, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return window;
}

SIZE outerSize(DWORD style, SIZE client, int dpi) {
    RECT rect{0, 0, client.cx, client.cy};
    AdjustWindowRectExForDpi(&rect, style, FALSE, 0, UINT(dpi));
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void centreOnScreen(HWND window) {
    RECT area{}, frame{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(window, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT dialogFont(int dpi) {
    static std::map<int, HFONT> fonts;
    HFONT& font = fonts[dpi];
    if (!font)
        font = CreateFontW(-MulDiv(dialogFont::PointSize, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE,
                           FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           widen(dialogFont::Name).c_str());
    return font;
}

HWND makeControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
                 int id, const twips::Rect& rect) {
    HWND control = CreateWindowExW(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0,
                                   0, 0, parent, reinterpret_cast<HMENU>(INT_PTR(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    const int dpi = dpiOf(parent);
    SendMessageW(control, WM_SETFONT, WPARAM(dialogFont(dpi)), FALSE);
    place(control, rect, dpi);
    return control;
}

void place(HWND control, const twips::Rect& rect, int dpi) {
    const twips::PixelRect pixels = twips::toPixels(rect, dpi);
    MoveWindow(control, pixels.left, pixels.top, pixels.width, pixels.height, TRUE);
}

void rescaleForDpi(HWND window, WPARAM wParam, LPARAM lParam,
                   std::span<const ControlPlace> layout) {
    const int dpi = HIWORD(wParam);
    for (HWND control = GetWindow(window, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT))
        SendMessageW(control, WM_SETFONT, WPARAM(dialogFont(dpi)), TRUE);
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    for (const ControlPlace& control : layout)
        place(GetDlgItem(window, control.id), control.rect, dpi);
    // Painted whole: a moved control leaves what it drew where it was.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

std::wstring textOf(HWND control) {
    std::wstring text(std::size_t(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(control, text.data(), int(text.size()))));
    return text;
}

void showMessage(HWND owner, const std::string& text, MessageIcon icon) {
    HHOOK hook =
        SetWindowsHookExW(WH_CALLWNDPROCRET, keepOwnedWindowsAbove, nullptr, GetCurrentThreadId());
    MessageBoxW(owner, widen(text).c_str(), AppTitle.c_str(), boxStyle(icon));
    UnhookWindowsHookEx(hook);
}

bool handleDialogKeys(MSG& message) {
    // Enter presses the focused button, in every window, as in a dialog.
    const HWND focus = GetFocus();
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && focus &&
        isPushButton(focus)) {
        SendMessageW(GetParent(focus), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED),
                     LPARAM(focus));
        return true;
    }
    const HWND window = GetAncestor(message.hwnd, GA_ROOT);
    return window && IsDialogMessageW(window, &message);
}

void doEvents() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(int(message.wParam));
            return;
        }
        if (handleDialogKeys(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace toolkit
