#pragma once

// The services every Windows window shares: text conversion, controls
// placed in twips at the window's own DPI, the dialog font, message boxes
// and one pass over the pending window events.

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <span>
#include <string>

#include "AppIdentity.h"
#include "forms/RunReport.h"
#include "forms/Twips.h"
#include "platform/Utf16.h"

namespace toolkit {

// The standard controls in the look the manifest asks for.
void useCommonControls();

// The program's own texts and names, which are valid UTF-8.
inline std::wstring widen(const std::string& utf8) {
    return platform::toUtf16(utf8).value_or(std::wstring());
}
inline std::string narrow(const std::wstring& wide) { return platform::toUtf8(wide).value_or(""); }

inline const std::wstring AppTitle = widen(identity::Title);

int dpiOf(HWND window);

// A top-level window of a class of its own (registered on first use) whose
// client area is `width` by `height` twips at the window's DPI; hidden.
HWND createWindow(const wchar_t* className, WNDPROC procedure, const std::wstring& caption,
                  DWORD style, double width, double height, HWND owner = nullptr,
                  void* parameter = nullptr, DWORD extendedStyle = 0);
// The outer size of a window whose client area is `client`, at `dpi`.
SIZE outerSize(DWORD style, SIZE client, int dpi);
void centreOnScreen(HWND window);

// The windows' dialog font at `dpi`, made once per dpi.
HFONT dialogFont(int dpi);

// A child control of `parent`, with the dialog font, placed at `rect` (in
// twips, already relative to the parent's client area).
HWND makeControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
                 int id, const twips::Rect& rect);
// Places `control` at `rect` (twips) at `dpi`.
void place(HWND control, const twips::Rect& rect, int dpi);

// A control of a window's layout: its identifier and its place in twips.
struct ControlPlace {
    int id;
    twips::Rect rect;
};

// WM_DPICHANGED for every top-level window: the dialog font at the new DPI
// for each control, the window in the rectangle Windows suggests, then each
// control of `layout` at its place at the new DPI, and all of it repainted.
void rescaleForDpi(HWND window, WPARAM wParam, LPARAM lParam, std::span<const ControlPlace> layout);

std::wstring textOf(HWND control);

// A modal box owned by `owner` with `text`, `icon`, one OK button and the
// caption "Kelvane"; the other windows `owner` owns stay over it meanwhile.
void showMessage(HWND owner, const std::string& text, MessageIcon icon);

// Handles the keys a dialog handles (Tab, access keys, Enter) for `message`;
// true when it was one of them.
bool handleDialogKeys(MSG& message);

// Handles every pending window event, then returns.
void doEvents();

}  // namespace toolkit
