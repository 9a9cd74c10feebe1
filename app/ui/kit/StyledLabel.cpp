#include "app/ui/kit/StyledLabel.h"

#include <QEvent>

namespace solvara {

StyledLabel::StyledLabel(const QString& text, const QFont& font, ColorRole role, QWidget* parent)
    : QLabel(text, parent), role_(role) {
    setFont(font);
    // Inside a button a label would take the button's text role and miss the colour set here.
    setForegroundRole(QPalette::WindowText);
    followTheme();
}

void StyledLabel::setColorRole(ColorRole role, double opacity) {
    if (role == role_ && opacity == opacity_) return;
    role_ = role;
    opacity_ = opacity;
    followTheme();
}

QColor StyledLabel::color() const {
    return Theme::withOpacity(Theme::of(this).*role_, opacity_);
}

void StyledLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    // A window's new palette reaches us as a palette change; so does moving into another window.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange) followTheme();
}

void StyledLabel::followTheme() {
    if (following_) return;
    following_ = true;
    const QColor wanted = color();
    if (palette().color(QPalette::WindowText) != wanted) {
        QPalette p = palette();
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            p.setColor(group, QPalette::WindowText, wanted);
        }
        setPalette(p);
    }
    following_ = false;
}

}  // namespace solvara
