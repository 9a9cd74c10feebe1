#pragma once

#include <QWidget>

#include "app/ui/kit/Theme.h"

class QVariantAnimation;

namespace solvara {

// A filled circle (a status light, the phase dot) in a theme colour at an opacity, resolved
// when painted so that it follows the window's light or dark decision. Give it an accessible
// description of what its colour means where that matters.
class Dot : public QWidget {
    Q_OBJECT

public:
    using ColorRole = QColor Theme::*;

    explicit Dot(int diameter = 6, ColorRole color = &Theme::secondary, QWidget* parent = nullptr);

    // Takes the new colour at once; given `milliseconds` while on screen, the painting moves
    // from the colour painted now to the new one over that time (ease in and out).
    void setColor(ColorRole color, double opacity = 1.0, int milliseconds = 0);
    ColorRole colorRole() const { return color_; }
    double opacity() const { return opacity_; }
    // The colour it stands for (where a change is still playing, the one it arrives at).
    QColor color() const { return Theme::withOpacity(Theme::of(this).*color_, opacity_); }
    // The colour painted now.
    QColor paintedColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ColorRole color_;
    double opacity_ = 1.0;
    QColor from_;
    double progress_ = 1.0;
    QVariantAnimation* animation_;
};

}  // namespace solvara
