#pragma once

#include <QColor>

namespace solvara {

// The named colours of the views, in a light and a dark variant. Custom painters take their
// colours from here, never from the widget style.
struct Theme {
    QColor primary;
    QColor secondary;
    QColor tertiary;
    QColor separator;
    QColor accent;
    QColor windowBackground;
    QColor controlBackground;
    QColor orange;
    QColor red;
    QColor green;
    QColor yellow;
    QColor purple;
    QColor indigo;
    QColor cyan;

    static const Theme& light();
    static const Theme& dark();

    // `color` with its alpha multiplied by `opacity` ("orange at 0.7").
    static QColor withOpacity(QColor color, double opacity);
};

}  // namespace solvara
