#pragma once

// The services every Windows window shares: text conversion, controls
// placed in twips at the window's own DPI, the dialog font, message boxes,
// one pass over the pending window events and ending the program.

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#include "AppIdentity.h"
#include "forms/Twips.h"
#include "platform/Utf16.h"
#include "trends/Trends.h"

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

// The classic 8-point dialog font at `dpi`, made once per dpi.
HFONT dialogFont(int dpi);

// A child control of `parent`, with the dialog font, placed at `rect` (in
// twips, already relative to the parent's client area).
HWND makeControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
                 int id, const twips::Rect& rect);
// Places `control` at `rect` (twips) at `dpi`; the place is kept in twips for
// a move to a screen of another DPI.
void place(HWND control, const twips::Rect& rect, int dpi);

// WM_DPICHANGED for every top-level window: the dialog font at the new DPI
// for each control, each control at its kept place, and the window in the
// rectangle Windows suggests.
void rescaleForDpi(HWND window, WPARAM wParam, LPARAM lParam);
// Drops the kept places of `window`'s controls, as the window is destroyed.
void forgetPlaces(HWND window);

std::wstring textOf(HWND control);

// Message boxes stand over this window (the main window) unless another
// owner is given.
void setMessageOwner(HWND owner);
void showMessage(const std::string& text, MessageIcon icon, HWND owner = nullptr);

// Handles the keys a dialog handles (Tab, access keys, Enter) for `message`;
// true when it was one of them.
bool handleDialogKeys(MSG& message);

// Handles every pending window event, then returns.
void doEvents();

// Destroys every window and ends the process at once.
[[noreturn]] void endProgram();

}  // namespace toolkit
