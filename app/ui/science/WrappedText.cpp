#include "app/ui/science/WrappedText.h"

#include <cmath>

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

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
    cachedWidth_ = -1;
    updateGeometry();
    update();
}

void WrappedText::setLineSpacing(double extra) {
    lineSpacing_ = extra;
    updateGeometry();
}

QStringList WrappedText::visibleLines(int width) const {
    if (width == cachedWidth_) return cachedLines_;
    QStringList lines;
    if (width <= 0) return lines;
    const QFontMetricsF metrics(font_);
    const QStringList paragraphs = text_.split('\n');
    for (const QString& paragraph : paragraphs) {
        if (paragraph.isEmpty()) {
            lines.append(QString());
            continue;
        }
        QTextLayout layout(paragraph, font_);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines.append(paragraph.mid(line.textStart(), line.textLength()));
        }
        layout.endLayout();
    }
    if (maxLines_ > 0 && lines.size() > maxLines_) {
        // The last line shown carries the rest of the text, elided to fit.
        QString rest = lines.mid(maxLines_ - 1).join(' ').simplified();
        lines = lines.mid(0, maxLines_ - 1);
        lines.append(metrics.elidedText(rest, Qt::ElideRight, width));
    }
    cachedWidth_ = width;
    cachedLines_ = lines;
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
