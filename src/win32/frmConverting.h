#pragma once

// The progress window on the Windows API: a fixed heading and the name of
// the trend file the run is treating, over the main window.

#include "forms/frmConverting.h"
#include "win32/Toolkit.h"

class frmConverting : public ConvertingWindow {
public:
    // `owner` is the main window, which the progress window stands over.
    explicit frmConverting(HWND owner);
    ~frmConverting() override { DestroyWindow(m_window); }

    bool isShown() const override { return IsWindowVisible(m_window); }
    void show() override;
    void hide() override { ShowWindow(m_window, SW_HIDE); }
    void setFileName(const std::string& text) override;
    void setHeading(const std::string& text, const twips::Rect& place) override;
    twips::PixelRect frame() const override;
    std::optional<twips::PixelRect> ownerFrame() const override;
    void moveTo(int left, int top) override;
    void centreOnScreen() override { toolkit::centreOnScreen(m_window); }
    void allowClose(bool allowed) override;

private:
    HWND m_window;
};
