#pragma once

#include <QLabel>

#include "app/ui/kit/TextStyle.h"
#include "app/ui/kit/Theme.h"

namespace solvara {

// A text in one of the text styles and one of the theme's colours (a member of Theme, with an
// opacity), which follows the window's light or dark decision by itself.
class StyledLabel : public QLabel {
    Q_OBJECT

public:
    using ColorRole = QColor Theme::*;

    StyledLabel(const QString& text, const QFont& font, ColorRole role, QWidget* parent = nullptr);
    StyledLabel(const QString& text, TextStyle::Style style, ColorRole role, QWidget* parent = nullptr)
        : StyledLabel(text, TextStyle::font(style), role, parent) {}

    void setColorRole(ColorRole role, double opacity = 1.0);
    // The colour the text is drawn in now.
    QColor color() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void followTheme();

    ColorRole role_;
    double opacity_ = 1.0;
    bool following_ = false;
};

}  // namespace solvara
