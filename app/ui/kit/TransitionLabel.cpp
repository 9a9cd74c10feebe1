#include "app/ui/kit/TransitionLabel.h"

#include <cmath>
#include <vector>

#include <QPainter>
#include <QStyle>
#include <QVariantAnimation>

#include "app/ui/kit/Transition.h"

namespace solvara {

namespace {

// Which characters of each text changed: position by position between texts of one length
// (a clock's "19:59" to "20:00" keeps its colon), otherwise what lies between the common start
// and the common end ("9 lux" to "12 lux" changes only the number).
void markChanges(const QString& from, const QString& to, std::vector<bool>& fromChanged, std::vector<bool>& toChanged) {
    fromChanged.assign(from.size(), true);
    toChanged.assign(to.size(), true);
    if (from.size() == to.size()) {
        for (qsizetype i = 0; i < to.size(); ++i) fromChanged[i] = toChanged[i] = from[i] != to[i];
        return;
    }
    const qsizetype shorter = std::min(from.size(), to.size());
    qsizetype head = 0;
    while (head < shorter && from[head] == to[head]) ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && from[from.size() - 1 - tail] == to[to.size() - 1 - tail]) ++tail;
    for (qsizetype i = 0; i < head; ++i) fromChanged[i] = toChanged[i] = false;
    for (qsizetype i = 0; i < tail; ++i) fromChanged[from.size() - 1 - i] = toChanged[to.size() - 1 - i] = false;
}

}  // namespace

TransitionLabel::TransitionLabel(Kind kind, int milliseconds, const QFont& font, ColorRole role, QWidget* parent)
    : StyledLabel(QString(), font, role, parent),
      kind_(kind),
      animation_(motion::progressAnimation(this, [this](double progress) {
          progress_ = progress;
          if (progress >= 1.0) from_.clear();
      })) {
    animation_->setDuration(milliseconds);
}

void TransitionLabel::setTextAnimated(const QString& text, bool animate) {
    if (text == this->text()) return;
    animate = animate && isVisible() && !this->text().isEmpty();
    animation_->stop();
    from_ = this->text();
    setText(text);
    progress_ = 1.0;
    if (animate) {
        progress_ = 0.0;
        animation_->start();
    } else {
        from_.clear();
    }
}

void TransitionLabel::paintEvent(QPaintEvent* event) {
    if (animation_->state() == QAbstractAnimation::Stopped) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    const QFontMetricsF metrics(font());
    const auto origin = [&](const QString& line) {
        const QSize size(static_cast<int>(std::ceil(metrics.horizontalAdvance(line))),
                         static_cast<int>(std::ceil(metrics.height())));
        const QRect box = QStyle::alignedRect(
            layoutDirection(), QStyle::visualAlignment(layoutDirection(), alignment()), size, contentsRect());
        return QPointF(box.left(), box.top() + metrics.ascent());
    };
    const QString to = text();
    const double p = progress_;
    if (kind_ == Kind::crossFade) {
        painter.setOpacity(1.0 - p);
        painter.drawText(origin(from_), from_);
        painter.setOpacity(p);
        painter.drawText(origin(to), to);
        return;
    }
    std::vector<bool> fromChanged;
    std::vector<bool> toChanged;
    markChanges(from_, to, fromChanged, toChanged);
    // Draws the runs of `line` whose change mark is `changed`.
    const auto runs = [&](const QString& line, const std::vector<bool>& marks, bool changed, QPointF at,
                          double opacity) {
        painter.setOpacity(opacity);
        for (qsizetype start = 0; start < line.size();) {
            qsizetype end = start;
            while (end < line.size() && marks[end] == marks[start]) ++end;
            if (marks[start] == changed) {
                painter.drawText(at + QPointF(metrics.horizontalAdvance(line.left(start)), 0),
                                 line.mid(start, end - start));
            }
            start = end;
        }
    };
    const double rise = metrics.ascent() * 0.7;
    runs(to, toChanged, false, origin(to), 1.0);
    runs(from_, fromChanged, true, origin(from_) - QPointF(0, p * rise), 1.0 - p);
    runs(to, toChanged, true, origin(to) + QPointF(0, (1.0 - p) * rise), p);
}

}  // namespace solvara
