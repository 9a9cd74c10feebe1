#include "app/ui/onboarding/OnboardingPreviews.h"

#include <cmath>

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QVariantAnimation>

#include "app/ui/kit/Localized.h"
#include "app/ui/kit/TextStyle.h"
#include "app/ui/kit/Theme.h"
#include "app/ui/kit/Transition.h"
#include "app/ui/onboarding/PreviewGeometry.h"
#include "core/foundation/Format.h"

namespace solvara {

namespace {

// A soft glow standing in for a blurred shadow: `color` fading out over `blur` beyond `rect`.
void paintGlow(QPainter& painter, const QRectF& rect, double radius, const QColor& color, double blur) {
    painter.save();
    painter.setPen(Qt::NoPen);
    constexpr int rings = 4;
    for (int ring = rings; ring >= 1; --ring) {
        const double spread = blur * ring / rings;
        painter.setBrush(Theme::withOpacity(color, 1.0 / (rings + 1)));
        painter.drawRoundedRect(rect.adjusted(-spread / 2, -spread / 2, spread / 2, spread / 2), radius + spread / 2,
                                radius + spread / 2);
    }
    painter.restore();
}

QString hourText(int hour) {
    return QString::fromStdString(format::integer(hour)) + ":00";
}

}  // namespace

SunAnimationView::SunAnimationView(QWidget* parent) : QWidget(parent), animation_(new QVariantAnimation(this)) {
    setObjectName("sunAnimation");
    setAccessibleName(localized("The sun travelling from dawn to dusk"));
    setFixedHeight(100);
    animation_->setStartValue(0.0);
    animation_->setEndValue(1.0);
    animation_->setDuration(4000);
    animation_->setLoopCount(-1);
    connect(animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        phase_ = value.toDouble();
        update();
    });
}

bool SunAnimationView::isRunning() const {
    return animation_->state() == QAbstractAnimation::Running;
}

void SunAnimationView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    phase_ = 0;
    animation_->stop();
    animation_->start();
}

void SunAnimationView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    animation_->stop();
    phase_ = 0;
}

void SunAnimationView::paintEvent(QPaintEvent*) {
    const Theme& theme = Theme::of(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QSizeF size = this->size();
    const double centreY = size.height() / 2;
    painter.fillRect(QRectF(0, centreY + 20, size.width(), 1), Theme::withOpacity(theme.secondary, 0.1));

    const QColor sun = preview::sunIsOrange(phase_) ? theme.orange : theme.yellow;
    const QPointF centre = preview::sunCentre(size, phase_);
    const QRectF disc(centre.x() - 16, centre.y() - 16, 32, 32);
    paintGlow(painter, disc, 16, Theme::withOpacity(sun, 0.4), 10);
    painter.setPen(Qt::NoPen);
    painter.setBrush(sun);
    painter.drawEllipse(disc);

    // The labels only when they fit between their margins.
    painter.setFont(TextStyle::systemFont(9));
    painter.setPen(theme.secondary);
    const QFontMetricsF metrics(painter.font());
    const QString texts[] = {localized("Dawn"), localized("Noon"), localized("Dusk")};
    double needed = 40;
    for (const QString& text : texts) needed += metrics.horizontalAdvance(text) + 8;
    if (size.width() < needed) return;
    const QRectF row(20, centreY + 35 - metrics.height() / 2, size.width() - 40, metrics.height());
    painter.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, texts[0]);
    painter.drawText(row, Qt::AlignHCenter | Qt::AlignVCenter, texts[1]);
    painter.drawText(row, Qt::AlignRight | Qt::AlignVCenter, texts[2]);
}

BeforeAfterPreview::BeforeAfterPreview(QWidget* parent) : QWidget(parent), animation_(new QVariantAnimation(this)) {
    setObjectName("beforeAfterPreview");
    setAccessibleName(localized("A screen without Solvara beside a warmer screen with Solvara"));
    setFixedHeight(180);
    animation_->setStartValue(0.0);
    animation_->setEndValue(1.0);
    animation_->setDuration(1500);
    animation_->setEasingCurve(motion::easeInOut());
    connect(animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        warmth_ = value.toDouble();
        update();
    });
    // Back and forth for as long as it runs.
    connect(animation_, &QVariantAnimation::finished, this, [this] {
        animation_->setDirection(animation_->direction() == QAbstractAnimation::Forward ? QAbstractAnimation::Backward
                                                                                        : QAbstractAnimation::Forward);
        animation_->start();
    });
}

bool BeforeAfterPreview::isRunning() const {
    return animation_->state() == QAbstractAnimation::Running;
}

void BeforeAfterPreview::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    warmth_ = 0;
    animation_->stop();
    animation_->setDirection(QAbstractAnimation::Forward);
    animation_->start();
}

void BeforeAfterPreview::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    animation_->stop();
    warmth_ = 0;
}

void BeforeAfterPreview::paintEvent(QPaintEvent*) {
    const Theme& theme = Theme::of(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFont caption = TextStyle::font(TextStyle::caption2);
    const QFont plainCaption = TextStyle::systemFont(caption.pixelSize());
    const preview::MockScreens screens = preview::mockScreens(size(), QFontMetricsF(caption).height());
    if (!screens.drawable) return;

    const auto drawScreen = [&painter](const QRectF& screen, const QColor& fill, const QColor& shadow,
                                       const QColor& bars) {
        paintGlow(painter, screen, 8, shadow, 4);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(screen, 8, 8);
        const double opacities[] = {0.15, 0.1, 0.08};
        const std::vector<QRectF> rows = preview::textBars(screen);
        for (std::size_t row = 0; row < rows.size(); ++row) {
            painter.setBrush(Theme::withOpacity(bars, opacities[row]));
            painter.drawRoundedRect(rows[row], 2, 2);
        }
    };

    // The mock screen is white in either look, so its text bars keep the light look's grey.
    drawScreen(screens.cold, Qt::white, Theme::withOpacity(theme.blue, 0.15), Theme::light().secondary);
    painter.setFont(plainCaption);
    painter.setPen(theme.secondary);
    painter.drawText(screens.coldCaption, Qt::AlignCenter, localized("Without"));

    painter.save();
    painter.setOpacity(0.5 + 0.5 * warmth_);
    const double scale = 0.95 + 0.05 * warmth_;
    const QPointF middle = screens.warm.center();
    painter.translate(middle);
    painter.scale(scale, scale);
    painter.translate(-middle);
    drawScreen(screens.warm, QColor::fromRgbF(1.0F, 0.92F, 0.78F), Theme::withOpacity(theme.orange, 0.2), theme.orange);
    painter.restore();
    painter.setFont(caption);
    painter.setPen(theme.orange);
    painter.drawText(screens.warmCaption, Qt::AlignCenter, localized("With Solvara"));
}

SchedulePreview::SchedulePreview(QWidget* parent) : QWidget(parent), animation_(new QVariantAnimation(this)) {
    setObjectName("schedulePreview");
    setFixedHeight(40);
    animation_->setDuration(300);
    animation_->setEasingCurve(motion::easeInOut());
    connect(animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        const QPointF hours = value.toPointF();
        shownWake_ = hours.x();
        shownSleep_ = hours.y();
        update();
    });
}

void SchedulePreview::setHours(int wakeHour, int sleepHour) {
    if (wakeHour == wakeHour_ && sleepHour == sleepHour_) return;
    const bool first = wakeHour_ < 0;
    wakeHour_ = wakeHour;
    sleepHour_ = sleepHour;
    describe();
    const QPointF target(wakeHour, preview::wrappedSleepHour(wakeHour, sleepHour));
    animation_->stop();
    if (first || !isVisible()) {
        shownWake_ = target.x();
        shownSleep_ = target.y();
        update();
        return;
    }
    animation_->setStartValue(QPointF(shownWake_, shownSleep_));
    animation_->setEndValue(target);
    animation_->start();
}

void SchedulePreview::describe() {
    setAccessibleName(localized("Awake from") + " " + hourText(wakeHour_) + " " + localized("to") + " " +
                      hourText(sleepHour_));
}

void SchedulePreview::paintEvent(QPaintEvent*) {
    const Theme& theme = Theme::of(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::withOpacity(theme.indigo, 0.2));
    painter.drawRoundedRect(QRectF(rect()), 4, 4);
    if (wakeHour_ < 0) return;

    const QFont font = TextStyle::systemFont(8, QFont::Medium);
    const QFontMetricsF metrics(font);
    const QString wakeText = hourText(wakeHour_);
    const QString sleepText = hourText(sleepHour_);
    const QSizeF wakeSize(metrics.horizontalAdvance(wakeText), metrics.height());
    const QSizeF sleepSize(metrics.horizontalAdvance(sleepText), metrics.height());
    const preview::ScheduleBar bar = preview::scheduleBar(size(), shownWake_, shownSleep_, wakeSize, sleepSize);

    // One gradient over the whole span, also when it wraps past midnight.
    const double total = [&] {
        double sum = 0;
        for (const QRectF& piece : bar.awake) sum += piece.width();
        return sum;
    }();
    double start = 0;
    for (const QRectF& piece : bar.awake) {
        QLinearGradient gradient(piece.left() - start, 0, piece.left() - start + total, 0);
        gradient.setColorAt(0, Theme::withOpacity(theme.orange, 0.4));
        gradient.setColorAt(0.5, Theme::withOpacity(theme.yellow, 0.5));
        gradient.setColorAt(1, Theme::withOpacity(theme.orange, 0.4));
        painter.setBrush(gradient);
        painter.drawRoundedRect(piece, 4, 4);
        start += piece.width();
    }
    painter.setFont(font);
    painter.setPen(theme.orange);
    painter.drawText(bar.wakeLabel, Qt::AlignCenter, wakeText);
    painter.setPen(theme.indigo);
    painter.drawText(bar.sleepLabel, Qt::AlignCenter, sleepText);
}

}  // namespace solvara
