#pragma once

#include <QAbstractButton>

#include "app/ui/kit/Theme.h"

namespace solvara {

// A borderless text button (the design's "plain" style): its text in a theme colour, dimmed
// while pressed or disabled, with a focus ring when the keyboard is on it. Fires clicked() for
// mouse, Space and a screen reader's press alike.
class PlainButton : public QAbstractButton {
    Q_OBJECT

public:
    using ColorRole = QColor Theme::*;

    PlainButton(const QString& text, const QFont& font, ColorRole color, QWidget* parent = nullptr);

    void setColor(ColorRole color);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ColorRole color_;
};

}  // namespace solvara
