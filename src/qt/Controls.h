#pragma once

// Building blocks the Qt windows share: controls named as the design names
// them and placed in twips, and reading and writing a widget's geometry in
// twips. Qt's high-DPI scaling turns design pixels into device pixels.

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include "forms/Twips.h"

namespace twips {

inline void place(QWidget* widget, const Rect& rect) {
    const PixelRect pixels = toPixels(rect);
    widget->setGeometry(pixels.left, pixels.top, pixels.width, pixels.height);
}

inline float left(const QWidget* widget) { return fromPixels(widget->x()); }
inline float top(const QWidget* widget) { return fromPixels(widget->y()); }
inline float width(const QWidget* widget) { return fromPixels(widget->width()); }
inline float height(const QWidget* widget) { return fromPixels(widget->height()); }
inline void setLeft(QWidget* widget, double value) { widget->move(toPixels(value), widget->y()); }
inline void setTop(QWidget* widget, double value) { widget->move(widget->x(), toPixels(value)); }
inline void setWidth(QWidget* widget, double value) {
    widget->resize(toPixels(value), widget->height());
}
inline void setHeight(QWidget* widget, double value) {
    widget->resize(widget->width(), toPixels(value));
}

}  // namespace twips

template <typename Control>
Control* makeControl(QWidget* parent, const char* name, const twips::Rect& rect) {
    auto* control = new Control(parent);
    control->setObjectName(name);
    twips::place(control, rect);
    return control;
}

// A label of plain text that never takes the focus.
inline QLabel* makeLabel(QWidget* parent, const char* name, const QString& text,
                         const twips::Rect& rect) {
    auto* label = makeControl<QLabel>(parent, name, rect);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

// A button that Enter presses while it has the focus, as on Windows.
inline QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                               const twips::Rect& rect) {
    auto* button = makeControl<QPushButton>(parent, name, rect);
    button->setText(caption);
    button->setAutoDefault(true);
    return button;
}

inline void centreOnScreen(QWidget* window) {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}
