#pragma once

// The progress window: its design, a fixed heading and the name of the
// trend file being treated, and where it stands while a run goes on.

#include <memory>
#include <optional>
#include <string>

#include "forms/Twips.h"

namespace frmConvertingDesign {

inline constexpr double ClientWidth = 4680, ClientHeight = 855;
inline constexpr twips::Rect Label1{120, 120, 2895, 255};
inline constexpr twips::Rect lblFileName{120, 480, 4455, 255};
inline constexpr const char* Label1Caption = "Converting Trends...";
// While another program holds the file named below; the heading then takes
// the line's whole width.
inline constexpr const char* WaitingCaption = "Waiting for another program to release:";
inline constexpr twips::Rect Label1Waiting{120, 120, 4455, 255};

// Centred across the main window and high on it, so that a message box,
// which stands in the middle of the main window, leaves it in view.
inline twips::PixelRect placeOver(const twips::PixelRect& main, int outerWidth, int outerHeight) {
    return {main.left + (main.width - outerWidth) / 2, main.top + main.height / 12, outerWidth,
            outerHeight};
}

}  // namespace frmConvertingDesign

// What the progress window needs of a front end: one window of the design,
// owned by the main window and kept above it, that never takes the keyboard;
// hidden until shown, destroyed with this object.
class ConvertingWindow {
public:
    virtual ~ConvertingWindow() = default;
    virtual bool isShown() const = 0;
    // Shows it, or brings it to the front when it shows, without activating it.
    virtual void show() = 0;
    virtual void hide() = 0;
    // Sets lblFileName; the name is on screen before this returns, and the
    // window above the main window. Screen readers are told.
    virtual void setFileName(const std::string& text) = 0;
    // Sets Label1 and its place; on screen before this returns.
    virtual void setHeading(const std::string& text, const twips::Rect& place) = 0;
    // Outer frames in pixels: its own, and the main window's while that shows.
    virtual twips::PixelRect frame() const = 0;
    virtual std::optional<twips::PixelRect> ownerFrame() const = 0;
    virtual void moveTo(int left, int top) = 0;
    virtual void centreOnScreen() = 0;
    // Whether the user may close it; while not, its close box shows so and
    // closing it, by the box, the keyboard or the window manager, does nothing.
    virtual void allowClose(bool allowed) = 0;
};

// The progress window as a run drives it, made by the first run and kept
// by the main form: shown blank, placed once, then left where the user puts
// it. It cannot be closed while it shows a run: it has nothing to cancel
// safely, and closed it would only hide the run, which Close in the main
// window stops.
class ConvertingForm {
public:
    explicit ConvertingForm(std::unique_ptr<ConvertingWindow> window)
        : m_window(std::move(window)) {}

    void Show();
    void setFileName(const std::string& text) { m_window->setFileName(text); }
    void Hide();
    // Says, or no longer says, that the run waits for another program.
    void showWaiting(bool waiting);

private:
    // Over the main window when it shows, else in the middle of the screen.
    void placeOverOwner();

    std::unique_ptr<ConvertingWindow> m_window;
    bool m_placed = false;
};
