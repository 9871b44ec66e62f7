#pragma once

// The progress window on the Windows API: a fixed heading and the name of
// the trend file the run is treating. Created by the first run, afterwards
// shown and hidden.

#include "win32/Toolkit.h"

class ConvertingView : public RunView {
public:
    // `owner` is the main window, which the progress window stands over.
    explicit ConvertingView(HWND owner) : m_owner(owner) {}

    void showProgress() override;
    void setProgressFileName(const std::string& text) override;
    void hideProgress() override;
    void showMessage(const std::string& text, MessageIcon icon) override;
    void doEvents() override;

private:
    HWND m_owner;
};
