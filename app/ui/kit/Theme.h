#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

namespace solvara {

// The named colours of the views, in a light and a dark variant, and the light or dark look of
// a window. Custom painters take their colours from Theme::of(themselves), never from the
// widget style.
//
// Qt has no per-window appearance: apply(window, dark) gives a window a whole light or dark
// QPalette and records the decision on it, so that of() finds it from any widget inside. Views
// call it before their first show and whenever their decision changes, then repaint.
// Windows without a decision of their own (About, message boxes, file dialogs) take the
// application's, set by applyToApplication().
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
    QColor blue;
    bool isDark = false;

    static const Theme& light();
    static const Theme& dark();
    static const Theme& forDark(bool dark) { return dark ? Theme::dark() : Theme::light(); }

    // `color` with its alpha multiplied by `opacity` ("orange at 0.7").
    static QColor withOpacity(QColor color, double opacity);
    // The colour `progress` of the way from `from` to `to`, mixed premultiplied: painted over
    // anything, it lies that far between the two painted alone, and a faint colour lends
    // little of its hue.
    static QColor mixed(const QColor& from, const QColor& to, double progress);

    // The whole palette of a window in this theme (Fusion style).
    QPalette palette() const;

    // Gives `window` (and everything in it) the light or dark palette; does nothing when that
    // decision is already applied, so it is cheap to call from a refresh.
    static void apply(QWidget* window, bool dark);
    // The application-wide palette for windows without a decision of their own.
    static void applyToApplication(bool dark);
    // The theme decided for `widget`'s window, else the application's.
    static const Theme& of(const QWidget* widget);
    static bool isApplicationDark();

    // The dynamic property that records a window's decision.
    static constexpr const char* darkProperty = "solvaraDark";
};

}  // namespace solvara
