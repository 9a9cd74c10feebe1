#include "app/ui/kit/SymbolView.h"

#include <QPainter>
#include <QStyle>

#include "app/ui/kit/Symbols.h"

namespace solvara {

namespace {

// No name is no symbol yet (a view filled in later), not an unknown one worth a log line.
QString glyphOf(std::string_view name) {
    return name.empty() ? QString() : Symbols::glyph(name);
}

}  // namespace

SymbolView::SymbolView(std::string_view name, int pixelSize, ColorRole role, QWidget* parent)
    : QWidget(parent), glyph_(glyphOf(name)), role_(role) {
    setFont(Symbols::font(pixelSize));
    // A label's policy, so that styles space it as they space a label.
    setSizePolicy(QSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred, QSizePolicy::Label));
}

SymbolView::SymbolView(std::string_view name, int pixelSize, const QColor& color, QWidget* parent)
    : SymbolView(name, pixelSize, &Theme::primary, parent) {
    fixed_ = color;
}

void SymbolView::setSymbol(std::string_view name) {
    const QString glyph = glyphOf(name);
    if (glyph == glyph_) return;
    glyph_ = glyph;
    updateGeometry();
    update();
}

void SymbolView::setColorRole(ColorRole role, double opacity) {
    if (role == role_ && opacity == opacity_ && !fixed_.isValid()) return;
    role_ = role;
    opacity_ = opacity;
    fixed_ = QColor();
    update();
}

void SymbolView::setColor(const QColor& color) {
    if (color == fixed_) return;
    fixed_ = color;
    update();
}

void SymbolView::setAlignment(Qt::Alignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    updateGeometry();
    update();
}

QColor SymbolView::color() const {
    if (fixed_.isValid()) return fixed_;
    // A disabled label takes the window's disabled text colour; so does a symbol in a theme colour.
    if (!isEnabled()) return palette().color(QPalette::Disabled, QPalette::WindowText);
    return Theme::withOpacity(Theme::of(this).*role_, opacity_);
}

QSize SymbolView::sizeHint() const {
    // As QLabel measures one line of plain text: its bounding box, centring left out (it only
    // adds rounding), within the contents margins and never below the minimum size.
    const int flags = QStyle::visualAlignment(Qt::LeftToRight, alignment_) & ~(Qt::AlignVCenter | Qt::AlignHCenter);
    const QMargins margins = contentsMargins();
    const QRect box = fontMetrics().boundingRect(0, 0, 2000, 2000, flags, glyph_);
    return (box.size() + QSize(margins.left() + margins.right(), margins.top() + margins.bottom()))
        .expandedTo(minimumSize());
}

void SymbolView::paintEvent(QPaintEvent*) {
    if (glyph_.isEmpty()) return;
    QPainter painter(this);
    painter.setPen(color());
    const Qt::Alignment alignment = QStyle::visualAlignment(Qt::LeftToRight, alignment_);
    painter.drawText(contentsRect(), static_cast<int>(alignment) | Qt::TextForceLeftToRight, glyph_);
}

}  // namespace solvara
