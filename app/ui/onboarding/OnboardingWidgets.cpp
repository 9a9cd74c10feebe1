#include "app/ui/onboarding/OnboardingWidgets.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QStyleOptionButton>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include "app/ui/kit/Localized.h"
#include "app/ui/kit/StyledLabel.h"
#include "app/ui/kit/SymbolView.h"
#include "app/ui/kit/Symbols.h"
#include "app/ui/kit/TextStyle.h"
#include "app/ui/kit/Transition.h"
#include "app/ui/onboarding/PreviewGeometry.h"
#include "core/foundation/Format.h"

namespace solvara {

OnboardingProgressBar::OnboardingProgressBar(int steps, QWidget* parent)
    : QWidget(parent), steps_(steps), animation_(new QVariantAnimation(this)) {
    setObjectName("onboardingProgress");
    setFixedHeight(3);
    animation_->setDuration(400);
    animation_->setEasingCurve(motion::easeInOut());
    connect(animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        shownStep_ = value.toDouble();
        update();
    });
}

void OnboardingProgressBar::setStep(int step, bool animated) {
    animation_->stop();
    setAccessibleName(localized("Step") + " " + QString::fromStdString(format::integer(step + 1)) + " " +
                      localized("of") + " " + QString::fromStdString(format::integer(steps_)));
    if (!animated) {
        shownStep_ = step;
        update();
        return;
    }
    animation_->setStartValue(shownStep_);
    animation_->setEndValue(double(step));
    animation_->start();
}

double OnboardingProgressBar::fillWidth() const {
    return preview::progressFillWidth(width(), shownStep_, steps_);
}

void OnboardingProgressBar::paintEvent(QPaintEvent*) {
    const Theme& theme = Theme::of(this);
    QPainter painter(this);
    painter.fillRect(rect(), Theme::withOpacity(theme.secondary, 0.15));
    painter.fillRect(QRectF(0, 0, fillWidth(), height()), theme.accent);
}

ProminentButton::ProminentButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setCursor(Qt::PointingHandCursor);
    setFont(TextStyle::font(TextStyle::body));
}

QSize ProminentButton::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text()) + 28, metrics.height() + 12};
}

void ProminentButton::paintEvent(QPaintEvent*) {
    const Theme& theme = Theme::of(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = theme.accent;
    if (isDown()) fill = fill.darker(115);
    const QRectF frame = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    if (hasFocus()) {
        painter.setPen(QPen(Theme::withOpacity(theme.accent, 0.5), 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(frame, 7, 7);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(frame.adjusted(1, 1, -1, -1), 6, 6);
    painter.setPen(Qt::white);
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, text());
}

GrantedMark::GrantedMark(QWidget* parent) : QWidget(parent), animation_(new QVariantAnimation(this)) {
    setObjectName("permissionGranted");
    setAccessibleName(localized("Granted"));
    setFixedSize(sizeHint());
    animation_->setDuration(300);
    animation_->setEasingCurve(motion::easeInOut());
    animation_->setStartValue(0.0);
    animation_->setEndValue(1.0);
    connect(animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        shown_ = value.toDouble();
        update();
    });
}

void GrantedMark::appear(bool animated) {
    animation_->stop();
    show();
    if (!animated) {
        shown_ = 1;
        update();
        return;
    }
    shown_ = 0;
    animation_->start();
}

void GrantedMark::paintEvent(QPaintEvent*) {
    if (shown_ <= 0) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(shown_);
    const QPointF middle = QRectF(rect()).center();
    painter.translate(middle);
    painter.scale(shown_, shown_);
    painter.translate(-middle);
    Symbols::paint(painter, QRectF(rect()), "checkmark.circle.fill", 20, Theme::of(this).green);
}

PermissionCard::PermissionCard(std::string_view symbol, QColor Theme::*color, const QString& title,
                               const QString& description, QWidget* parent)
    : QWidget(parent), title_(title) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 12, 12, 12);
    row->setSpacing(12);
    auto* icon = new SymbolView(symbol, TextStyle::font(TextStyle::title3).pixelSize(), color);
    icon->setFixedWidth(32);
    icon->setAlignment(Qt::AlignCenter);
    row->addWidget(icon);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    QFont titleFont = TextStyle::font(TextStyle::body);
    titleFont.setWeight(QFont::Medium);
    texts->addWidget(new StyledLabel(title, titleFont, &Theme::primary));
    auto* desc = new StyledLabel(description, TextStyle::caption, &Theme::secondary);
    desc->setWordWrap(true);
    texts->addWidget(desc);
    row->addLayout(texts, 1);
    check_ = new GrantedMark;
    row->addWidget(check_);
    grant_ = new QPushButton(localized("Grant"));
    grant_->setObjectName("permissionGrant");
    grant_->setFont(TextStyle::font(TextStyle::subheadline));
    grant_->setAccessibleName(localized("Grant") + " " + title);
    row->addWidget(grant_);
    connect(grant_, &QPushButton::clicked, this, &PermissionCard::grantRequested);
    check_->hide();
    grant_->show();
    setAccessibleName(title_ + ": " + localized("Not granted"));
}

void PermissionCard::setGranted(bool granted, bool animated) {
    const bool changed = granted != granted_;
    granted_ = granted;
    if (granted) {
        if (changed) check_->appear(animated);
    } else {
        check_->hide();
    }
    grant_->setVisible(!granted);
    setAccessibleName(title_ + ": " + (granted ? localized("Granted") : localized("Not granted")));
}

void PermissionCard::paintEvent(QPaintEvent*) {
    const Theme& theme = Theme::of(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::withOpacity(theme.secondary, 0.05));
    painter.drawRoundedRect(QRectF(rect()), 8, 8);
}

}  // namespace solvara
