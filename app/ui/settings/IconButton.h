#pragma once

#include <QIcon>
#include <QPushButton>

#include "app/ui/kit/StyledLabel.h"

namespace solvara::settingsui {

// A borderless button that shows one symbol in a colour of the theme (the pencil, the trash, the
// clear and add buttons). Its accessible name says what it does; keyboard focus draws a ring.
class IconButton : public QPushButton {
public:
    IconButton(const char* symbol, const QString& accessibleName, StyledLabel::ColorRole role, double opacity = 1.0,
               int pixelSize = 14, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString glyph_;
    StyledLabel::ColorRole role_;
    double opacity_;
    int pixelSize_;
};

// A symbol as an icon for a button with a title ("plus" beside "Add Profile"), drawn in `color`.
QIcon iconOf(const char* symbol, const QColor& color, int pixelSize = 14);

}  // namespace solvara::settingsui
