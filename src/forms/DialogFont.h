#pragma once

// The font every window is designed for, the classic dialog font: each
// caption fits its control in it. Front ends use it for every control.

namespace dialogFont {

inline constexpr const char* Name = "MS Shell Dlg 2";
inline constexpr int PointSize = 8;

}  // namespace dialogFont
