#pragma once

// The main window on the Windows API: the design's controls, bound to what
// the window decides (its ExtendForm) and to its layout.

#include <map>

#include "forms/frmExtend.h"
#include "forms/frmExtendLayout.h"
#include "win32/Lists.h"

class frmExtend : private ExtendWindow, private layout::ExtendGeometry {
public:
    frmExtend();
    HWND window() const { return m_window; }
    ExtendForm& form() { return m_form; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void onCommand(int id, int code);
    void moveFocus(HWND control);
    void placeControls();

    // The lists show what the browsing model holds.
    void driveShown() override;
    void foldersShown() override;
    void filesShown() override;

    // What the window's decisions ask of the controls.
    std::string numberText() const override;
    std::vector<std::string> selectedFileNames() const override;
    void showMessage(const std::string& text, MessageIcon icon) override;
    void doEvents() override { toolkit::doEvents(); }
    std::unique_ptr<ConvertingWindow> makeConvertingWindow() override;
    std::unique_ptr<HelpWindow> makeHelpWindow() override;
    void closeWindow() override { DestroyWindow(m_window); }
    void endProgram() override { ExitProcess(0); }

    // The layout's view of this window, in twips; controls keep the values
    // assigned and are placed in whole pixels from them.
    bool isWindowMinimized() const override;
    float scaleWidth() const override;
    float scaleHeight() const override;
    void setOuterWidth(float value) override;
    void setOuterHeight(float value) override;
    float get(layout::Control control, layout::Side side) const override;
    void set(layout::Control control, layout::Side side, float value) override;

    FolderBrowser& browser() { return m_form.browser(); }

    ExtendForm m_form{*this};
    HWND m_window = nullptr;
    HWND m_focus = nullptr;  // kept while another window is active
    int m_dpi = twips::DesignDpi;
    bool m_created = false;  // its controls are there
    std::map<layout::Control, twips::Rect> m_layout;
    FileList m_files;
};
