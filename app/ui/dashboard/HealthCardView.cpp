#include "app/ui/dashboard/HealthCardView.h"

#include <algorithm>

#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/state/AppState.h"
#include "app/ui/dashboard/DashboardStyle.h"
#include "app/ui/dashboard/HealthCardRules.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/Symbols.h"
#include "app/ui/kit/TextStyle.h"
#include "core/foundation/Format.h"

namespace solvara {

using namespace dashboard;

namespace {

constexpr std::array<int, 4> pickerChoices{10, 15, 30, 60};
constexpr std::array<std::int64_t, 3> averageDays{7, 30, 365};
constexpr std::array<const char*, 3> averagePeriods{"7d", "30d", "1y"};

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

// The score as a ring of 72 that closes clockwise from the top, the grade letter and the score
// in its middle.
class HealthCardView::GradeRing : public QWidget {
public:
    explicit GradeRing(QWidget* parent) : QWidget(parent) {
        setObjectName("healthGradeRing");
        setFixedSize(72, 72);
        setAccessibleName(localized("Health score"));
    }

    void set(std::int64_t score) {
        if (score == score_ && !letter_.isEmpty()) return;
        score_ = score;
        const CircadianScore::Grade grade = CircadianScore::Grade::from(score);
        letter_ = QString::fromUtf8(grade.rawValue());
        tint_ = gradeTint(grade);
        setAccessibleDescription(localized("Grade") + " " + letter_ + ", " + fromStd(format::integer(score)) +
                                 " / 100");
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const Theme& theme = themeOf(*this);
        const QColor color = tintColor(theme, tint_);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF circle(3.5, 3.5, 65, 65);
        painter.setPen(QPen(Theme::withOpacity(color, 0.2), 7, Qt::SolidLine, Qt::FlatCap));
        painter.drawEllipse(circle);
        // A score outside 0..100 is never drawn backwards nor past a full circle.
        const double share = std::clamp(static_cast<double>(score_) / 100.0, 0.0, 1.0);
        if (share > 0) {
            painter.setPen(QPen(color, 7, Qt::SolidLine, Qt::RoundCap));
            painter.drawArc(circle, 90 * 16, -static_cast<int>(share * 360 * 16));
        }
        QFont letterFont = TextStyle::font(TextStyle::title);
        letterFont.setBold(true);
        const QFont scoreFont = TextStyle::systemFont(11);
        const int letterHeight = QFontMetrics(letterFont).height();
        const int scoreHeight = QFontMetrics(scoreFont).height();
        const int top = (72 - letterHeight - scoreHeight) / 2;
        painter.setPen(color);
        painter.setFont(letterFont);
        painter.drawText(QRect(0, top, 72, letterHeight), Qt::AlignCenter, letter_);
        painter.setPen(theme.secondary);
        painter.setFont(scoreFont);
        painter.drawText(QRect(0, top + letterHeight, 72, scoreHeight), Qt::AlignCenter,
                         fromStd(format::integer(score_)));
    }

private:
    std::int64_t score_ = 0;
    QString letter_;
    Tint tint_ = Tint::red;
};

// One average: the period over its value on a faint rounded plate.
class HealthCardView::Badge : public QWidget {
public:
    // Held at its ideal size unless the card is narrower than three badges (the main window at
    // its opening size with long words): then the padding goes first and the values are cut short
    // with an ellipsis, rather than pushing the page wider than its window.
    Badge(const char* period, QWidget* parent) : QWidget(parent), period_(period) {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }

    void setValue(const QString& value) {
        if (value == value_) return;
        value_ = value;
        setAccessibleName(period_ + " " + value_);
        setAccessibleDescription(localized("Average over %1: %2").arg(period_, value_));
        updateGeometry();
        update();
    }

    QSize sizeHint() const override {
        const QFontMetrics period(periodFont()), value(valueFont());
        const int width = std::max(period.horizontalAdvance(period_), value.horizontalAdvance(value_)) + 12;
        return {width, period.height() + 1 + value.height() + 6};
    }

    QSize minimumSizeHint() const override {
        const QSize ideal = sizeHint();
        return {std::min(ideal.width(), 44), ideal.height()};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const Theme& theme = themeOf(*this);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        paintCard(painter, rect(), Theme::withOpacity(theme.secondary, 0.08), 4);
        const QFontMetrics period(periodFont());
        painter.setFont(periodFont());
        painter.setPen(theme.tertiary);
        painter.drawText(QRect(0, 3, width(), period.height()), Qt::AlignCenter, period_);
        painter.setFont(valueFont());
        painter.setPen(theme.secondary);
        const QFontMetrics value(valueFont());
        painter.drawText(QRect(0, 3 + period.height() + 1, width(), value.height()), Qt::AlignCenter,
                         value.elidedText(value_, Qt::ElideRight, width() - 4));
    }

private:
    static QFont periodFont() { return TextStyle::systemFont(10, QFont::Medium); }
    static QFont valueFont() { return TextStyle::systemFont(12, QFont::DemiBold); }

    QString period_;
    QString value_;
};

HealthCardView::HealthCardView(AppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setObjectName("healthCard");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(14);
    title_ = textLabel(localized("Health Score"), TextStyle::font(TextStyle::headline), this);
    layout->addWidget(title_);
    ring_ = new GradeRing(this);
    layout->addWidget(ring_, 0, Qt::AlignHCenter);

    auto* rows = new QVBoxLayout();
    rows->setSpacing(12);
    debt_ = addMetricRow(rows, "moon.haze", "Light Debt", "healthDebt");
    compliance_ = addMetricRow(rows, "eye", "Break Compliance", "healthCompliance");
    screenTime_ = addMetricRow(rows, "desktopcomputer", "Screen Time", "healthScreenTime");

    auto* sunRow = new QHBoxLayout();
    sunRow->setSpacing(8);
    sunRow->setAlignment(Qt::AlignTop);
    sunIcon_ = symbolLabel("sun.max", 13, this);
    sunIcon_->setFixedWidth(18);
    sunIcon_->setContentsMargins(0, 2, 0, 0);
    sunIcon_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    sunRow->addWidget(sunIcon_, 0, Qt::AlignTop);
    auto* sunColumn = new QVBoxLayout();
    sunColumn->setSpacing(4);
    auto* sunTexts = new QVBoxLayout();
    sunTexts->setSpacing(2);
    sunLabel_ = textLabel(localized("Morning Sunlight"), TextStyle::font(TextStyle::subheadline), this);
    QFont loggedFont = TextStyle::font(TextStyle::body);
    loggedFont.setWeight(QFont::DemiBold);
    logged_ = textLabel(QString(), loggedFont, this);
    logged_->setObjectName("healthSunlightLogged");
    sunTexts->addWidget(sunLabel_);
    sunTexts->addWidget(logged_);
    sunColumn->addLayout(sunTexts);
    logButton_ = new QPushButton(localized("Log Sunlight"), this);
    logButton_->setObjectName("logSunlightButton");
    logButton_->setFont(TextStyle::font(TextStyle::caption));
    logButton_->setIconSize(QSize(11, 11));
    sunColumn->addWidget(logButton_, 0, Qt::AlignLeft);
    picker_ = new QWidget(this);
    auto* pickerRow = new QHBoxLayout(picker_);
    pickerRow->setContentsMargins(0, 0, 0, 0);
    pickerRow->setSpacing(12);
    for (int minutes : pickerChoices) {
        auto* button = new QPushButton(fromStd(cardButtonTitle(minutes)), picker_);
        button->setObjectName(fromStd("logSunlight" + format::integer(minutes)));
        button->setFont(TextStyle::font(TextStyle::caption));
        connect(button, &QPushButton::clicked, this, [this, minutes] {
            // The button only hides (never goes away) inside its own signal.
            setPickerOpen(false);
            state_.logMorningSunlight(static_cast<double>(minutes));
        });
        pickerRow->addWidget(button);
    }
    pickerRow->addStretch();
    sunColumn->addWidget(picker_);
    sunRow->addLayout(sunColumn, 1);
    rows->addLayout(sunRow);
    layout->addLayout(rows);

    connect(logButton_, &QPushButton::clicked, this, [this] { setPickerOpen(true); });
    setPickerOpen(false);
    refresh();
}

HealthCardView::MetricRow HealthCardView::addMetricRow(QLayout* rows, const char* symbol, const char* label,
                                                       const char* name) {
    MetricRow row;
    auto* line = new QHBoxLayout();
    line->setSpacing(8);
    row.icon = symbolLabel(symbol, 13, this);
    row.icon->setFixedWidth(18);
    row.icon->setContentsMargins(0, 2, 0, 0);
    row.icon->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    line->addWidget(row.icon, 0, Qt::AlignTop);
    auto* column = new QVBoxLayout();
    column->setSpacing(4);
    auto* texts = new QVBoxLayout();
    texts->setSpacing(2);
    row.label = textLabel(localized(label), TextStyle::font(TextStyle::subheadline), this);
    QFont valueFont = TextStyle::font(TextStyle::body);
    valueFont.setWeight(QFont::DemiBold);
    row.value = textLabel(QString(), valueFont, this);
    row.value->setObjectName(QString(name) + "Value");
    texts->addWidget(row.label);
    texts->addWidget(row.value);
    column->addLayout(texts);
    row.badges = new QWidget(this);
    row.badges->setObjectName(QString(name) + "Averages");
    auto* badges = new QHBoxLayout(row.badges);
    badges->setContentsMargins(0, 0, 0, 0);
    badges->setSpacing(8);
    for (std::size_t i = 0; i < row.badge.size(); ++i) {
        row.badge[i] = new Badge(averagePeriods[i], row.badges);
        badges->addWidget(row.badge[i]);
    }
    badges->addStretch();
    column->addWidget(row.badges);
    line->addLayout(column, 1);
    static_cast<QBoxLayout*>(rows)->addLayout(line);
    return row;
}

void HealthCardView::showAverages(MetricRow& row, const std::array<std::optional<std::string>, 3>& averages) {
    bool any = false;
    for (std::size_t i = 0; i < averages.size(); ++i) {
        row.badge[i]->setVisible(averages[i].has_value());
        if (averages[i]) row.badge[i]->setValue(fromStd(*averages[i]));
        any = any || averages[i].has_value();
    }
    row.badges->setVisible(any);
}

void HealthCardView::setPickerOpen(bool open) {
    // Keyboard focus follows the control that replaced the one it was on, rather than leaving
    // the card when the pressed button hides.
    const QWidget* focused = window()->focusWidget();
    const bool focusHere = focused != nullptr && (focused == logButton_ || picker_->isAncestorOf(focused));
    pickerOpen_ = open;
    picker_->setVisible(open);
    logButton_->setVisible(!open);
    if (focusHere) {
        QWidget* next = open ? picker_->findChild<QPushButton*>() : logButton_;
        if (next != nullptr) next->setFocus(Qt::OtherFocusReason);
    }
}

void HealthCardView::refresh() {
    const Theme& theme = themeOf(*this);
    const HealthHistory& history = state_.healthHistory();
    const std::string& level = state_.lightDebtLevel();
    const double compliance = state_.breakScheduler().complianceRatio();
    ring_->set(healthScore(compliance, level, history.avgLightDebt(7), state_.morningBoostEnabled()));

    const QColor debtColor = tintColor(theme, cardDebtTint(level));
    debt_.value->setText(fromStd(capitalizedWords(level)));
    setTextColor(*debt_.value, debtColor);
    debt_.icon->setColor(debtColor);
    compliance_.value->setText(fromStd(complianceText(compliance)));
    screenTime_.value->setText(fromStd(screenTimeText(state_.screenTimeToday())));
    std::array<std::optional<std::string>, 3> debts, compliances, hours;
    for (std::size_t i = 0; i < averageDays.size(); ++i) {
        debts[i] = debtAverageText(history.avgLightDebt(averageDays[i]));
        compliances[i] = percentAverageText(history.avgBreakCompliance(averageDays[i]));
        hours[i] = hoursAverageText(history.avgScreenTime(averageDays[i]));
    }
    showAverages(debt_, debts);
    showAverages(compliance_, compliances);
    showAverages(screenTime_, hours);

    const double sunlight = state_.morningSunlightToday();
    logged_->setVisible(sunlight > 0);
    if (sunlight > 0) logged_->setText(fromStd(loggedMinutesText(sunlight)));

    setTextColor(*title_, theme.secondary);
    compliance_.icon->setColor(theme.blue);
    screenTime_.icon->setColor(theme.purple);
    for (MetricRow* row : {&debt_, &compliance_, &screenTime_}) setTextColor(*row->label, theme.secondary);
    for (MetricRow* row : {&compliance_, &screenTime_}) setTextColor(*row->value, theme.primary);
    sunIcon_->setColor(theme.orange);
    if (logButtonIconColor_ != theme.primary) {
        logButtonIconColor_ = theme.primary;
        logButton_->setIcon(symbolIcon("plus.circle", 11, theme.primary));
    }
    setTextColor(*sunLabel_, theme.secondary);
    setTextColor(*logged_, theme.orange);
}

void HealthCardView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintCard(painter, rect(), Theme::withOpacity(themeOf(*this).secondary, 0.06), 10);
}

void HealthCardView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) refresh();
}

}  // namespace solvara
