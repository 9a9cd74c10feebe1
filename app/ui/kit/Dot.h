#pragma once

#include <QWidget>

#include "app/ui/kit/Theme.h"

namespace solvara {

// A filled circle (a status light, the phase dot) in a theme colour at an opacity, resolved
// when painted so that it follows the window's light or dark decision. Give it an accessible
// description of what its colour means where that matters.
class Dot : public QWidget {
    Q_OBJECT

public:
    using ColorRole = QColor Theme::*;

    explicit Dot(int diameter = 6, ColorRole color = &Theme::secondary, QWidget* parent = nullptr);

    void setColor(ColorRole color, double opacity = 1.0);
    ColorRole colorRole() const { return color_; }
    double opacity() const { return opacity_; }
    // The colour painted now.
    QColor color() const { return Theme::withOpacity(Theme::of(this).*color_, opacity_); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ColorRole color_;
    double opacity_ = 1.0;
};

}  // namespace solvara
