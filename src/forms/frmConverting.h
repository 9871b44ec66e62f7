#pragma once

// The progress window's design: a fixed heading and the name of the trend
// file being treated, and where it stands while a run goes on.

#include "forms/Twips.h"

namespace frmConvertingDesign {

inline constexpr double ClientWidth = 4680, ClientHeight = 855;
inline constexpr twips::Rect Label1{120, 120, 2895, 255};
inline constexpr twips::Rect lblFileName{120, 480, 4455, 255};
inline constexpr const char* Label1Caption = "Converting Trends...";

// Centred across the main window and high on it, so that a message box,
// which stands in the middle of the main window, leaves it in view.
inline twips::PixelRect placeOver(const twips::PixelRect& main, int outerWidth, int outerHeight) {
    return {main.left + (main.width - outerWidth) / 2, main.top + main.height / 12, outerWidth,
            outerHeight};
}

}  // namespace frmConvertingDesign
