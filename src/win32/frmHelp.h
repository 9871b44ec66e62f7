#pragma once

// The help window on the Windows API: what Kelvane does, how to use it, and
// its version. Close, or the close box, destroys the window.

#include "forms/frmHelp.h"
#include "win32/Toolkit.h"

class frmHelp : public HelpWindow {
public:
    frmHelp();
    ~frmHelp() override;

    bool isOpen() const override { return m_window; }
    void setVersionLine(const std::string& text) override;
    void showInFront() override;
    void focusClose() override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window;  // nullptr once the user closed it
};
