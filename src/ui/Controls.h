#pragma once

// Building blocks the windows share: a control named as the design names it
// and placed in twips, and a window's place at the centre of the screen.

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "Twips.h"

template <typename Control>
Control* makeControl(QWidget* parent, const char* name, const twips::Rect& rect) {
    auto* control = new Control(parent);
    control->setObjectName(name);
    twips::place(control, rect);
    return control;
}

inline void centreOnScreen(QWidget* window) {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}
