#pragma once

// Geometry in twips, 1/1440 inch: 15 twips make one pixel at 96 dots per
// inch. The windows are designed in twips; a front end converts them to its
// device's pixels.

namespace twips {

inline constexpr int DesignDpi = 96;
inline constexpr double PerInch = 1440.0;

// Nearest whole pixel at `dpi`, halves to the even neighbour.
int toPixels(double twips, int dpi = DesignDpi);
// Exact: whole pixels are whole multiples of a twip at the design dpi.
float fromPixels(int pixels, int dpi = DesignDpi);

struct Rect {
    double left, top, width, height;
};

struct PixelRect {
    int left, top, width, height;
};

PixelRect toPixels(const Rect& rect, int dpi = DesignDpi);

}  // namespace twips
