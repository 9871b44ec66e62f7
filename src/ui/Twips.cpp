#include "Twips.h"

#include <QWidget>
#include <cmath>

namespace twips {

int toPixels(double twips) { return int(std::nearbyint(twips / PerPixel)); }

QRect toPixels(const Rect& rect) {
    return QRect(toPixels(rect.left), toPixels(rect.top), toPixels(rect.width),
                 toPixels(rect.height));
}

void place(QWidget* widget, const Rect& rect) { widget->setGeometry(toPixels(rect)); }

float left(const QWidget* widget) { return fromPixels(widget->x()); }
float top(const QWidget* widget) { return fromPixels(widget->y()); }
float width(const QWidget* widget) { return fromPixels(widget->width()); }
float height(const QWidget* widget) { return fromPixels(widget->height()); }

void setLeft(QWidget* widget, double value) { widget->move(toPixels(value), widget->y()); }
void setTop(QWidget* widget, double value) { widget->move(widget->x(), toPixels(value)); }
void setWidth(QWidget* widget, double value) { widget->resize(toPixels(value), widget->height()); }
void setHeight(QWidget* widget, double value) { widget->resize(widget->width(), toPixels(value)); }

}  // namespace twips
