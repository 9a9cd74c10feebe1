#include "app/ui/dashboard/DashboardTab.h"

#include <algorithm>
#include <cmath>

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/state/AppState.h"
#include "app/ui/dashboard/CircadianClockView.h"
#include "app/ui/dashboard/DashboardStyle.h"
#include "app/ui/dashboard/HealthCardView.h"
#include "app/ui/dashboard/MorningCoachView.h"
#include "app/ui/dashboard/TimeMachinePreviewView.h"
#include "app/ui/dashboard/TimelineView.h"
#include "app/ui/kit/Divider.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/Picker.h"
#include "app/ui/kit/StateSignals.h"
#include "app/ui/kit/Switch.h"
#include "app/ui/kit/Symbols.h"
#include "app/ui/kit/TextStyle.h"
#include "core/foundation/Calendar.h"
#include "core/foundation/Clock.h"

namespace solvara {

using namespace dashboard;

namespace {

constexpr double clockSize = 200;
constexpr double sunlightTarget = 30;

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// The "Boost" badge: a symbol and the word on a capsule.
class BoostBadge : public QWidget {
public:
    explicit BoostBadge(QWidget* parent) : QWidget(parent) {
        setObjectName("dashboardBoostBadge");
        setAccessibleName(localized("Morning boost active"));
        setAccessibleDescription(localized("Boost"));
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override {
        const QFontMetrics text(TextStyle::font(TextStyle::caption));
        const QFontMetrics symbol(Symbols::font(10));
        return {6 + symbol.horizontalAdvance(Symbols::glyph("sunrise.fill")) + 4 +
                    text.horizontalAdvance(localized("Boost")) + 6,
                std::max(text.height(), symbol.height()) + 4};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const Theme& theme = themeOf(*this);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        paintCard(painter, rect(), Theme::withOpacity(theme.blue, 0.12), height() / 2.0);
        painter.setPen(theme.blue);
        const QString glyph = Symbols::glyph("sunrise.fill");
        painter.setFont(Symbols::font(10));
        const int glyphWidth = QFontMetrics(Symbols::font(10)).horizontalAdvance(glyph);
        painter.drawText(QRect(6, 0, glyphWidth, height()), Qt::AlignCenter, glyph);
        painter.setFont(TextStyle::font(TextStyle::caption));
        painter.drawText(QRect(6 + glyphWidth + 4, 0, width(), height()), Qt::AlignLeft | Qt::AlignVCenter,
                         localized("Boost"));
    }
};

// The melanopic share as a thin bar, 80 wide.
class Gauge : public QWidget {
public:
    explicit Gauge(QWidget* parent) : QWidget(parent) {
        setObjectName("dashboardMelanopicGauge");
        setFixedSize(80, 6);
        setAccessibleName(localized("Melanopic"));
    }

    void setValue(double value) {
        const double clamped = std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0;
        if (clamped == value_) return;
        value_ = clamped;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const Theme& theme = themeOf(*this);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF track(0, 1, 80, 4);
        paintCard(painter, track, theme.separator, 2);
        if (value_ > 0) paintCard(painter, QRectF(0, 1, 80 * value_, 4), theme.accent, 2);
    }

private:
    double value_ = 0.0;
};

}  // namespace

// The readout card: colour temperature, sun elevation with the boost badge, melanopic share.
class DashboardTab::ReadoutCard : public QWidget {
public:
    explicit ReadoutCard(QWidget* parent) : QWidget(parent) {
        setObjectName("dashboardReadout");
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(12, 12, 12, 12);
        layout->setSpacing(10);

        auto* kelvinRow = new QHBoxLayout();
        kelvinRow->addStretch();
        thermometer_ = symbolLabel("thermometer.medium", 22, this);
        kelvinRow->addWidget(thermometer_);
        QFont kelvinFont = TextStyle::font(TextStyle::title);
        kelvinFont.setBold(true);
        kelvin_ = textLabel(QString(), kelvinFont, this);
        kelvin_->setObjectName("dashboardKelvin");
        kelvinRow->addWidget(kelvin_);
        kelvinRow->addStretch();
        layout->addLayout(kelvinRow);

        sunRow_ = new QWidget(this);
        auto* sun = new QHBoxLayout(sunRow_);
        sun->setContentsMargins(0, 0, 0, 0);
        sun->setSpacing(12);
        sun->addStretch();
        auto* elevationBox = new QHBoxLayout();
        elevationBox->setSpacing(4);
        sunSymbol_ = symbolLabel("sun.min", 11, sunRow_);
        elevation_ = textLabel(QString(), TextStyle::font(TextStyle::caption), sunRow_);
        elevation_->setObjectName("dashboardElevation");
        elevationBox->addWidget(sunSymbol_);
        elevationBox->addWidget(elevation_);
        sun->addLayout(elevationBox);
        boost_ = new BoostBadge(sunRow_);
        sun->addWidget(boost_);
        sun->addStretch();
        layout->addWidget(sunRow_);

        melanopicRow_ = new QWidget(this);
        auto* melanopic = new QHBoxLayout(melanopicRow_);
        melanopic->setContentsMargins(0, 0, 0, 0);
        melanopic->setSpacing(4);
        melanopic->addStretch();
        melanopicTitle_ = textLabel(localized("Melanopic"), TextStyle::font(TextStyle::caption2), melanopicRow_);
        gauge_ = new Gauge(melanopicRow_);
        percent_ = textLabel(QString(), TextStyle::font(TextStyle::caption2), melanopicRow_);
        percent_->setObjectName("dashboardMelanopic");
        melanopic->addWidget(melanopicTitle_);
        melanopic->addWidget(gauge_);
        melanopic->addWidget(percent_);
        melanopic->addStretch();
        layout->addWidget(melanopicRow_);
    }

    void refresh(const AppState& state) {
        const Theme& theme = themeOf(*this);
        kelvin_->setText(fromStd(kelvinText(state.effectiveKelvin())));
        const auto& current = state.currentState();
        // Without a state the sun row stays, empty, so the card keeps its shape.
        sunSymbol_->setVisible(current.has_value());
        elevation_->setVisible(current.has_value());
        boost_->setVisible(current && current->isMorningBoostActive);
        melanopicRow_->setVisible(current.has_value());
        if (current) {
            elevation_->setText(fromStd(elevationText(current->solarElevation)));
            gauge_->setValue(current->melanopicFactor);
            percent_->setText(fromStd(percentText(current->melanopicFactor)));
            gauge_->setAccessibleDescription(percent_->text());
        }
        sunRow_->setMinimumHeight(sunRow_->sizeHint().height());
        thermometer_->setColor(theme.orange);
        setTextColor(*kelvin_, theme.primary);
        sunSymbol_->setColor(theme.secondary);
        for (QLabel* label : {elevation_, melanopicTitle_, percent_}) setTextColor(*label, theme.secondary);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        paintCard(painter, rect(), Theme::withOpacity(themeOf(*this).secondary, 0.06), 10);
    }

private:
    SymbolView* thermometer_ = nullptr;
    QLabel* kelvin_ = nullptr;
    QWidget* sunRow_ = nullptr;
    SymbolView* sunSymbol_ = nullptr;
    QLabel* elevation_ = nullptr;
    BoostBadge* boost_ = nullptr;
    QWidget* melanopicRow_ = nullptr;
    QLabel* melanopicTitle_ = nullptr;
    Gauge* gauge_ = nullptr;
    QLabel* percent_ = nullptr;
};

DashboardTab::DashboardTab(AppState& state, UiServices& ui, QWidget* parent) : QWidget(parent), state_(state) {
    (void)ui;  // the dashboard opens no dialog, link or file
    setObjectName("DashboardTab");
    signals_ = new StateSignals(state, this);
    // The main window scrolls its pages, so the page lays its columns out directly.
    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    columns->addWidget(buildLeftColumn(), 0, Qt::AlignVCenter);
    columns->addWidget(new Divider(Qt::Vertical, this));
    columns->addWidget(buildRightColumn(), 1);

    connect(signals_, &StateSignals::stateChanged, this, &DashboardTab::refreshWhenShown);
    // Break compliance feeds the health card's score and row.
    connect(signals_, &StateSignals::breakStateChanged, this, [this] {
        if (isVisible()) {
            healthCard_->refresh();
        } else {
            stale_ = true;
        }
    });
    refresh();
}

QWidget* DashboardTab::buildLeftColumn() {
    auto* column = new QWidget(this);
    column->setObjectName("dashboardLeftColumn");
    column->setFixedWidth(280 + 2 * 20);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(16);

    dial_ = new CircadianClockView(state_, clockSize, column);
    layout->addWidget(dial_, 0, Qt::AlignHCenter);
    readout_ = new ReadoutCard(column);
    layout->addWidget(readout_);
    preview_ = new TimeMachinePreviewView(state_, column);
    layout->addWidget(preview_);

    auto* modeRow = new QHBoxLayout();
    modeRow->setSpacing(12);
    modeRow->addStretch();
    modePicker_ = new Picker(localized("Mode"), column);
    modePicker_->setObjectName("dashboardModePicker");
    for (DisplayMode mode : allCases<DisplayMode>()) {
        const std::string raw(rawValue(mode));
        modePicker_->addOption(localized(raw.c_str()), static_cast<int>(mode));
    }
    modeRow->addWidget(modePicker_);
    enabledSwitch_ = new Switch(localized("Filtering"), column);
    enabledSwitch_->setObjectName("dashboardEnabledSwitch");
    modeRow->addWidget(enabledSwitch_);
    modeRow->addStretch();
    layout->addLayout(modeRow);

    // tagActivated and toggled are what a mouse, the keyboard and a screen reader all fire;
    // refresh() sets both under a blocker.
    connect(modePicker_, &Picker::tagActivated, this,
            [this](const QVariant& tag) { state_.setCurrentMode(static_cast<DisplayMode>(tag.toInt())); });
    connect(enabledSwitch_, &QAbstractButton::toggled, this, [this](bool on) { state_.setIsEnabled(on); });
    return column;
}

QWidget* DashboardTab::buildRightColumn() {
    auto* column = new QWidget(this);
    column->setObjectName("dashboardRightColumn");
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(16);
    timeline_ = new TimelineView(state_, column);
    layout->addWidget(timeline_);
    coach_ = new MorningCoachView(state_, sunlightTarget, column);
    layout->addWidget(coach_);
    healthCard_ = new HealthCardView(state_, column);
    layout->addWidget(healthCard_);
    layout->addStretch(1);
    return column;
}

void DashboardTab::refreshWhenShown() {
    if (isVisible()) {
        refresh();
    } else {
        stale_ = true;
    }
}

void DashboardTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_) refresh();
}

void DashboardTab::refresh() {
    stale_ = false;
    readout_->refresh(state_);
    {
        const QSignalBlocker pickerBlocker(modePicker_);
        const QSignalBlocker switchBlocker(enabledSwitch_);
        modePicker_->setCurrentTag(static_cast<int>(state_.currentMode()));
        enabledSwitch_->setChecked(state_.isEnabled());
    }
    const int hour = Calendar::localComponents(Clock::now()).hour;
    const bool coachShown = coachVisible(state_.effectiveWakeHour(), hour);
    coach_->setVisible(coachShown);
    if (coachShown) coach_->refresh();
    dial_->refresh();
    timeline_->refresh();
    preview_->refresh();
    healthCard_->refresh();
}

void DashboardTab::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) refreshWhenShown();
}

}  // namespace solvara
