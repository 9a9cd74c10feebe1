#include "app/ui/breaks/BreakSkipButton.h"

#include <QFontMetrics>
#include <QPainter>

#include "app/ui/kit/Localized.h"
#include "app/ui/kit/Symbols.h"
#include "app/ui/kit/TextStyle.h"
#include "app/ui/kit/Theme.h"

namespace solvara {

namespace {

QFont labelFont() {
    return TextStyle::font(TextStyle::headline);
}
QFont glyphFont() {
    return Symbols::font(labelFont().pixelSize());
}

}  // namespace

BreakSkipButton::BreakSkipButton(QWidget* parent) : QAbstractButton(parent), glyph_(Symbols::glyph("xmark")) {
    setText(localized("Skip"));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize BreakSkipButton::sizeHint() const {
    const QFontMetrics text(labelFont());
    const QFontMetrics symbol(glyphFont());
    const int glyphWidth = glyph_.isEmpty() ? 0 : symbol.horizontalAdvance(glyph_) + spacing;
    const int width = glyphWidth + text.horizontalAdvance(this->text()) + 2 * horizontalPadding;
    const int height = std::max(text.height(), symbol.height()) + 2 * verticalPadding;
    return {width, height};
}

void BreakSkipButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor white(255, 255, 255);
    const QRectF bounds = rect();
    const double radius = bounds.height() / 2.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::withOpacity(white, isDown() ? 0.2 : 0.1));
    painter.drawRoundedRect(bounds, radius, radius);

    painter.setPen(Theme::withOpacity(white, 0.7));
    QRectF content = bounds.adjusted(horizontalPadding, verticalPadding, -horizontalPadding, -verticalPadding);
    if (!glyph_.isEmpty()) {
        painter.setFont(glyphFont());
        const int advance = QFontMetrics(glyphFont()).horizontalAdvance(glyph_);
        painter.drawText(QRectF(content.left(), content.top(), advance, content.height()), Qt::AlignCenter, glyph_);
        content.setLeft(content.left() + advance + spacing);
    }
    painter.setFont(labelFont());
    painter.drawText(content, Qt::AlignLeft | Qt::AlignVCenter, text());
}

}  // namespace solvara
