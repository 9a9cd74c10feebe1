#include "app/ui/kit/TransitionLabel.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include <QPainter>
#include <QStyle>
#include <QVariantAnimation>

#include "app/ui/kit/Transition.h"

namespace solvara {

namespace {

// Which characters the two texts share, as pairs of their places in the old and the new text:
// position by position between texts of one length (a clock's "19:59" to "20:00" keeps its
// colon), otherwise the common start and the common end ("9 lux" to "12 lux" keeps " lux").
std::vector<std::pair<qsizetype, qsizetype>> sharedCharacters(const QString& from, const QString& to) {
    std::vector<std::pair<qsizetype, qsizetype>> shared;
    if (from.size() == to.size()) {
        for (qsizetype i = 0; i < to.size(); ++i) {
            if (from[i] == to[i]) shared.emplace_back(i, i);
        }
        return shared;
    }
    const qsizetype shorter = std::min(from.size(), to.size());
    qsizetype head = 0;
    for (; head < shorter && from[head] == to[head]; ++head) shared.emplace_back(head, head);
    for (qsizetype tail = 1; tail <= shorter - head && from[from.size() - tail] == to[to.size() - tail]; ++tail) {
        shared.emplace_back(from.size() - tail, to.size() - tail);
    }
    return shared;
}

}  // namespace

TransitionLabel::TransitionLabel(Kind kind, int milliseconds, const QFont& font, ColorRole role, QWidget* parent)
    : StyledLabel(QString(), font, role, parent),
      kind_(kind),
      animation_(motion::progressAnimation(this, [this](double progress) {
          progress_ = progress;
          if (progress < 1.0 || from_.isEmpty()) return;
          from_.clear();
          updateGeometry();
      })) {
    animation_->setDuration(milliseconds);
}

void TransitionLabel::setTextAnimated(const QString& text, bool animate) {
    if (text == this->text()) return;
    animate = animate && isVisible() && !this->text().isEmpty();
    animation_->stop();
    // Set before the text, whose change asks for the size hint again.
    fromHint_ = sizeHint();
    from_ = animate ? this->text() : QString();
    progress_ = animate ? 0.0 : 1.0;
    setText(text);
    if (animate) animation_->start();
}

QSize TransitionLabel::sizeHint() const {
    return from_.isEmpty() ? StyledLabel::sizeHint() : StyledLabel::sizeHint().expandedTo(fromHint_);
}

QSize TransitionLabel::minimumSizeHint() const {
    return from_.isEmpty() ? StyledLabel::minimumSizeHint() : StyledLabel::minimumSizeHint().expandedTo(fromHint_);
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
    // Where a plain label draws `line`, to the fraction of a pixel, so that the first and the
    // last frame match the label at rest.
    const int flags = QStyle::visualAlignment(layoutDirection(), alignment());
    const auto origin = [&](const QString& line) {
        const QRectF box = painter.boundingRect(QRectF(contentsRect()), flags, line);
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
    // A shared character stays only where it stands in both texts (as the alignment places
    // them); one that moves rolls with the changed ones.
    std::vector<bool> fromChanged(from_.size(), true);
    std::vector<bool> toChanged(to.size(), true);
    const QPointF fromOrigin = origin(from_);
    const QPointF toOrigin = origin(to);
    for (const auto& [i, j] : sharedCharacters(from_, to)) {
        const double moved = toOrigin.x() + metrics.horizontalAdvance(to.left(j)) -
                             (fromOrigin.x() + metrics.horizontalAdvance(from_.left(i)));
        if (std::abs(moved) < 0.5) fromChanged[i] = toChanged[j] = false;
    }
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
    runs(to, toChanged, false, toOrigin, 1.0);
    runs(from_, fromChanged, true, fromOrigin - QPointF(0, p * rise), 1.0 - p);
    runs(to, toChanged, true, toOrigin + QPointF(0, (1.0 - p) * rise), p);
}

}  // namespace solvara
