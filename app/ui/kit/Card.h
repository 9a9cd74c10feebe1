#pragma once

#include <QWidget>

#include "app/ui/kit/Theme.h"

namespace solvara {

// A rounded panel behind a group of widgets: the fill is a theme colour at an opacity (by
// default the control background), with an optional hairline border in the separator colour.
// Give it a layout like any widget; the default inner margin is 12 pixels.
class Card : public QWidget {
    Q_OBJECT

public:
    using ColorRole = QColor Theme::*;

    explicit Card(QWidget* parent = nullptr, ColorRole fill = &Theme::controlBackground, double opacity = 1.0,
                  double radius = 10.0);

    void setFill(ColorRole fill, double opacity = 1.0);
    void setBorder(bool border);
    static constexpr int margin = 12;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ColorRole fill_;
    double opacity_;
    double radius_;
    bool border_ = false;
};

}  // namespace solvara
