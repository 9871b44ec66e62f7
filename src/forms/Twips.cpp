#include "forms/Twips.h"

#include <cmath>

namespace twips {

int toPixels(double twips, int dpi) { return int(std::nearbyint(twips * dpi / PerInch)); }

float fromPixels(int pixels, int dpi) { return float(pixels * PerInch / dpi); }

PixelRect toPixels(const Rect& rect, int dpi) {
    return {toPixels(rect.left, dpi), toPixels(rect.top, dpi), toPixels(rect.width, dpi),
            toPixels(rect.height, dpi)};
}

}  // namespace twips
