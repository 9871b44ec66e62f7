#include "forms/frmExtendLayout.h"

#include <cmath>
#include <cstdint>

namespace layout {
namespace {

constexpr std::int32_t Margins = 480;  // two margins of 240
constexpr std::int32_t Gap = 240;
constexpr double FolderListSpacing = 120;

// Nearest integer, halves to the even neighbour. Sizes come from whole
// pixels, far inside 32 bits, so neither this nor a subtraction can overflow.
std::int32_t toInt32(double value) { return std::int32_t(std::nearbyint(value)); }

}  // namespace

void Form_Resize(ExtendGeometry& window) {
    using enum Control;
    using enum Side;
    auto get = [&](Control c, Side s) { return double(window.get(c, s)); };
    auto set = [&](Control c, Side s, double value) { window.set(c, s, float(value)); };

    if (window.isWindowMinimized()) return;
    if (window.scaleHeight() < MinimumSize) window.setOuterHeight(MinimumSize);
    if (window.scaleWidth() < MinimumSize) window.setOuterWidth(MinimumSize);

    std::int32_t w = toInt32(double(window.scaleWidth()) - Margins);
    set(fraTrendLocation, Width, w);
    w = toInt32(get(fraTrendLocation, Width) - Margins);
    set(fraPath, Width, (w - Gap) / 2.0);
    set(filConvert, Width, get(fraPath, Width));

    std::int32_t h = toInt32(double(window.scaleHeight()) - Margins);
    set(fraTrendLocation, Height, h - get(fraTrendLocation, Top) - get(fraButtons, Height));
    h = toInt32(get(fraTrendLocation, Height) - Margins);
    set(fraPath, Height, (h - Margins) - get(lblMultiSelect, Height));
    set(filConvert, Height, get(fraPath, Height));

    set(filConvert, Left, get(fraPath, Width) + get(fraPath, Left) + Gap);
    set(fraButtons, Top, get(fraTrendLocation, Height) + get(fraTrendLocation, Top) + Gap);
    set(fraButtons, Left, double(window.scaleWidth()) - Gap - get(fraButtons, Width));
    ArrangePathControls(window);
    set(lblMultiSelect, Width, get(fraTrendLocation, Width) - Margins);
    set(lblMultiSelect, Top, get(fraPath, Height) + get(fraPath, Top) + Gap);
    set(lblMultiSelect, Left, get(fraTrendLocation, Width) / 2 - get(lblMultiSelect, Width) / 2);
}

void ArrangePathControls(ExtendGeometry& window) {
    using enum Control;
    using enum Side;
    window.set(drvConvert, Width, window.get(fraPath, Width));
    window.set(dirConvert, Width, window.get(fraPath, Width));
    const double height =
        double(window.get(fraPath, Height)) - window.get(drvConvert, Height) - FolderListSpacing;
    window.set(dirConvert, Height, float(height));
}

}  // namespace layout
