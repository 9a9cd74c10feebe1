#include "app/ui/science/WrappedText.h"

#include <cmath>
#include <limits>

#include <QFontMetricsF>
#include <QPainter>

#include "app/ui/kit/TextLines.h"

namespace solvara {

WrappedText::WrappedText(const QString& text, const QFont& font, ColorRole role, QWidget* parent)
    : QWidget(parent), text_(text), font_(font), role_(role) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setAccessibleName(text);
}

void WrappedText::setMaxLines(int lines) {
    if (lines == maxLines_) return;
    maxLines_ = lines;
    cache_ = {};
    updateGeometry();
    update();
}

void WrappedText::setLineSpacing(double extra) {
    lineSpacing_ = extra;
    updateGeometry();
}

QStringList WrappedText::visibleLines(int width) const {
    for (const Wrapped& wrapped : cache_) {
        if (wrapped.width == width) return wrapped.lines;
    }
    QStringList lines;
    if (width <= 0) return lines;
    const int limit = maxLines_ > 0 ? maxLines_ : std::numeric_limits<int>::max();
    for (const QString& paragraph : text_.split('\n')) {
        if (lines.size() >= limit) break;
        if (paragraph.isEmpty()) {
            lines.append(QString());
            continue;
        }
        lines.append(linesWithin(paragraph, font_, width, limit - static_cast<int>(lines.size())));
    }
    cache_[nextSlot_] = {width, lines};
    nextSlot_ = (nextSlot_ + 1) % cache_.size();
    return lines;
}

int WrappedText::heightForWidth(int width) const {
    const auto count = static_cast<double>(visibleLines(width).size());
    if (count == 0) return 0;
    const QFontMetricsF metrics(font_);
    return static_cast<int>(std::ceil(count * metrics.height() + (count - 1) * lineSpacing_));
}

QSize WrappedText::sizeHint() const {
    const int width = this->width() > 0 ? this->width() : 400;
    return {width, heightForWidth(width)};
}

QSize WrappedText::minimumSizeHint() const {
    return {40, heightForWidth(std::max(width(), 40))};
}

void WrappedText::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font_);
    painter.setPen(Theme::of(this).*role_);
    const QFontMetricsF metrics(font_);
    double y = 0;
    for (const QString& line : visibleLines(width())) {
        painter.drawText(QPointF(0, y + metrics.ascent()), line);
        y += metrics.height() + lineSpacing_;
    }
}

}  // namespace solvara
