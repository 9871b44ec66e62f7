#pragma once

// Geometry in twips: 15 twips make one device-independent pixel; Qt's
// high-DPI scaling does the rest. Controls hold whole pixels, so a value
// written is snapped and a value read is what the control holds.

#include <QRect>

class QWidget;

namespace twips {

inline constexpr double PerPixel = 15.0;

// Nearest whole pixel, halves to the even neighbour.
int toPixels(double twips);
inline float fromPixels(int pixels) { return float(pixels * PerPixel); }

struct Rect {
    double left, top, width, height;
};

QRect toPixels(const Rect& rect);

// Places `widget` inside its container's client area.
void place(QWidget* widget, const Rect& rect);

float left(const QWidget* widget);
float top(const QWidget* widget);
float width(const QWidget* widget);
float height(const QWidget* widget);
void setLeft(QWidget* widget, double value);
void setTop(QWidget* widget, double value);
void setWidth(QWidget* widget, double value);
void setHeight(QWidget* widget, double value);

}  // namespace twips
