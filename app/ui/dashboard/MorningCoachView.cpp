#include "app/ui/dashboard/MorningCoachView.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include "app/state/AppState.h"
#include "app/ui/dashboard/DashboardStyle.h"
#include "app/ui/dashboard/MorningCoachRules.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/TextStyle.h"
#include "app/ui/kit/Transition.h"
#include "core/foundation/Calendar.h"
#include "core/foundation/Clock.h"
#include "core/foundation/Format.h"

namespace solvara {

using namespace dashboard;

namespace {

constexpr std::array<int, 3> logChoices{10, 15, 30};

}  // namespace

// The sunlight ring, 54 × 54: a track, the logged share from the top clockwise, and the
// logged minutes in the middle. A change of the share eases over half a second.
class MorningCoachView::Ring : public QWidget {
public:
    explicit Ring(QWidget* parent) : QWidget(parent), animation_(this) {
        setObjectName("coachRing");
        setFixedSize(54, 54);
        setAccessibleName(localized("Morning sunlight"));
        animation_.setDuration(500);
        animation_.setEasingCurve(motion::easeInOut());
        QObject::connect(&animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
            shown_ = value.toDouble();
            update();
        });
    }

    // Repaints only for a new count or share: the coach refreshes at every tick of the state.
    void set(double progress, double logged, double target) {
        const std::string minutes = format::integer(wholeNumber(logged));
        const QString description =
            QString::fromStdString(minutes + " / " + format::integer(wholeNumber(target))) + " " + localized("minutes");
        if (accessibleDescription() != description) setAccessibleDescription(description);
        const QString count = QString::fromStdString(minutes);
        if (count != minutes_) {
            minutes_ = count;
            update();
        }
        if (!initialized_) {
            initialized_ = true;
            shown_ = target_ = progress;
            update();
        } else if (progress != target_) {
            target_ = progress;
            animation_.stop();
            animation_.setStartValue(shown_);
            animation_.setEndValue(progress);
            animation_.start();
        }
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const Theme& theme = themeOf(*this);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF circle(2.5, 2.5, 49, 49);
        painter.setPen(QPen(Theme::withOpacity(theme.orange, 0.15), 5, Qt::SolidLine, Qt::FlatCap));
        painter.drawEllipse(circle);
        if (shown_ > 0) {
            painter.setPen(QPen(theme.orange, 5, Qt::SolidLine, Qt::RoundCap));
            painter.drawArc(circle, 90 * 16, -static_cast<int>(shown_ * 360 * 16));
        }
        QFont number = TextStyle::font(TextStyle::body);
        number.setBold(true);
        const QFont unit = TextStyle::systemFont(8);
        painter.setPen(theme.primary);
        painter.setFont(number);
        painter.drawText(QRectF(0, 10, 54, 20), Qt::AlignCenter, minutes_);
        painter.setPen(theme.secondary);
        painter.setFont(unit);
        painter.drawText(QRectF(0, 29, 54, 12), Qt::AlignCenter, localized("min"));
    }

private:
    QVariantAnimation animation_;
    QString minutes_;
    double shown_ = 0.0;
    double target_ = 0.0;
    bool initialized_ = false;
};

// The tip: at most three lines, the third ending in an ellipsis when the text runs longer,
// rather than a sentence cut off mid-way. Its text stays whole for screen readers.
class MorningCoachView::Tip : public QLabel {
public:
    static constexpr int maxLines = 3;

    explicit Tip(QWidget* parent) : QLabel(parent) {
        setObjectName("coachTip");
        setFont(TextStyle::font(TextStyle::caption2));
        setWordWrap(true);
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setMaximumHeight(QFontMetrics(font()).lineSpacing() * maxLines + 2);
    }

    QStringList shownLines() const { return linesWithin(text(), font(), contentsRect().width(), maxLines); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::WindowText));
        const QFontMetrics metrics(font());
        const QRect area = contentsRect();
        int top = area.top();
        for (const QString& line : shownLines()) {
            painter.drawText(QRect(area.left(), top, area.width(), metrics.height()), Qt::AlignLeft | Qt::AlignTop,
                             line);
            top += metrics.lineSpacing();
        }
    }
};

class MorningCoachView::Dot : public QWidget {
public:
    explicit Dot(QWidget* parent) : QWidget(parent) {
        setObjectName("coachLevelDot");
        setFixedSize(6, 6);
        setAccessibleName(localized("Light debt level"));
    }

    void setColor(const QColor& color) {
        if (color == color_) return;
        color_ = color;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(color_);
        painter.drawEllipse(QRectF(0, 0, 6, 6));
    }

private:
    QColor color_;
};

MorningCoachView::MorningCoachView(AppState& state, double sunlightTarget, QWidget* parent)
    : QWidget(parent), state_(state), target_(sunlightTarget) {
    setObjectName("morningCoach");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(12);

    auto* header = new QHBoxLayout();
    symbol_ = symbolLabel("sunrise.fill", 13, this);
    header->addWidget(symbol_);
    QFont titleFont = TextStyle::font(TextStyle::caption);
    titleFont.setBold(true);
    header->addWidget(textLabel(localized("Morning Protocol"), titleFont, this));
    header->addStretch();
    sinceWake_ = textLabel(QString(), TextStyle::font(TextStyle::caption2), this);
    sinceWake_->setObjectName("coachSinceWake");
    header->addWidget(sinceWake_);
    layout->addLayout(header);

    auto* progress = new QHBoxLayout();
    progress->setSpacing(16);
    ring_ = new Ring(this);
    progress->addWidget(ring_);
    auto* right = new QVBoxLayout();
    right->setSpacing(6);
    // The level and the tip stay together, centred beside the ring however many lines the tip takes.
    right->addStretch(1);
    auto* levelRow = new QHBoxLayout();
    levelRow->setSpacing(4);
    dot_ = new Dot(this);
    levelRow->addWidget(dot_);
    level_ = textLabel(QString(), TextStyle::font(TextStyle::caption2), this);
    level_->setObjectName("coachLevel");
    levelRow->addWidget(level_);
    levelRow->addStretch();
    right->addLayout(levelRow);
    tip_ = new Tip(this);
    right->addWidget(tip_);
    right->addStretch(1);
    progress->addLayout(right, 1);
    layout->addLayout(progress);

    auto* buttons = new QHBoxLayout();
    buttons->setSpacing(8);
    for (std::size_t i = 0; i < logChoices.size(); ++i) {
        const int minutes = logChoices[i];
        auto* button = new QPushButton(QString::fromStdString(coachButtonTitle(minutes)), this);
        button->setObjectName(QString::fromStdString("coachLog" + format::integer(minutes)));
        button->setFont(TextStyle::font(TextStyle::caption2));
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        // The style's 80-pixel least width for text buttons would make the three wider than
        // the column the main window leaves the coach; the text itself needs far less.
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 16);
        connect(button, &QPushButton::clicked, this,
                [this, minutes] { state_.logMorningSunlight(static_cast<double>(minutes)); });
        buttons->addWidget(button);
        buttons_[i] = button;
    }
    layout->addLayout(buttons);
    refresh();
}

void MorningCoachView::refresh() {
    const Theme& theme = themeOf(*this);
    const DateComponents now = Calendar::localComponents(Clock::now());
    const std::int64_t since = minutesSinceWake(now.hour, now.minute, state_.effectiveWakeHour(), state_.wakeMinute());
    const double logged = state_.morningSunlightToday();
    sinceWake_->setText(QString::fromStdString(sinceWakeText(since)));
    ring_->set(ringProgress(logged, target_), logged, target_);
    const std::string& level = state_.lightDebtLevel();
    dot_->setColor(tintColor(theme, coachDebtTint(level)));
    const QString levelWord = QString::fromStdString(capitalizedWords(level));
    if (dot_->accessibleDescription() != levelWord) dot_->setAccessibleDescription(levelWord);
    level_->setText(localized("Light Debt: ") + levelWord);
    const auto& current = state_.currentState();
    tip_->setText(QString::fromStdString(coachingTip({state_.lightDebtCalculator().currentLevel(), logged, target_,
                                                      since, current && current->isMorningBoostActive})));
    symbol_->setColor(theme.orange);
    setTextColor(*sinceWake_, theme.secondary);
    setTextColor(*level_, theme.secondary);
    setTextColor(*tip_, theme.primary);
}

void MorningCoachView::paintEvent(QPaintEvent*) {
    const Theme& theme = themeOf(*this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // Faint tints blended onto the window here, not by the painter: an alpha of 8 to 15 out of
    // 255 would band visibly across the card.
    const QColor window = palette().color(QPalette::Window);
    auto over = [&window](const QColor& tint, double opacity) {
        const double a = tint.alphaF() * opacity;
        QColor blended;
        blended.setRgbF(static_cast<float>(window.redF() * (1 - a) + tint.redF() * a),
                        static_cast<float>(window.greenF() * (1 - a) + tint.greenF() * a),
                        static_cast<float>(window.blueF() * (1 - a) + tint.blueF() * a));
        return blended;
    };
    QLinearGradient gradient(rect().topLeft(), rect().bottomRight());
    gradient.setColorAt(0, over(theme.orange, 0.06));
    gradient.setColorAt(1, over(theme.yellow, 0.03));
    QPainterPath path;
    path.addRoundedRect(rect(), 8, 8);
    painter.fillPath(path, gradient);
}

void MorningCoachView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) refresh();
}

}  // namespace solvara
