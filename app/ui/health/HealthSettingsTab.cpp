#include "app/ui/health/HealthSettingsTab.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/state/AppState.h"
#include "app/ui/health/HealthExports.h"
#include "app/ui/health/HealthFigures.h"
#include "app/ui/health/HealthWidgets.h"
#include "app/ui/health/SleepCorrelationInsightsView.h"
#include "app/ui/health/SleepQualityRatingView.h"
#include "app/ui/health/WeeklyReportView.h"
#include "app/ui/kit/ChartViews.h"
#include "app/ui/kit/Divider.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/SettingsRow.h"
#include "app/ui/kit/SettingsSection.h"
#include "app/ui/kit/StateSignals.h"
#include "app/ui/kit/StyledLabel.h"

namespace solvara {

namespace {

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

}  // namespace

HealthSettingsTab::HealthSettingsTab(AppState& state, UiServices& ui, QWidget* parent)
    : QWidget(parent),
      state_(state),
      ui_(ui),
      signals_(new StateSignals(state, this)),
      chartViews_(chartViewFactory()) {
    setObjectName("HealthSettingsTab");
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(24, 24, 24, 24);
    stack->setSpacing(20);

    auto* health = new SettingsSection(localized("Circadian Health"));
    lightDebt_ = new SettingsRow(localized("Light debt"), QString());
    debtLevel_ = new SettingsRow(localized("Debt level"), QString());
    screenTime_ = new SettingsRow(localized("Screen time today"), QString());
    score_ = new SettingsRow(localized("Circadian score"), QString());
    lightDebt_->setObjectName("lightDebtRow");
    debtLevel_->setObjectName("debtLevelRow");
    screenTime_->setObjectName("screenTimeRow");
    score_->setObjectName("scoreRow");
    for (auto* row : {lightDebt_, debtLevel_, screenTime_, score_}) health->addWidget(row);
    stack->addWidget(health);
    stack->addWidget(new Divider);

    auto* advice = new SettingsSection(localized("Recommendation"));
    recommendation_ = new StyledLabel(QString(), TextStyle::body, &Theme::secondary);
    recommendation_->setObjectName("recommendation");
    recommendation_->setWordWrap(true);
    advice->addWidget(recommendation_);
    stack->addWidget(advice);
    stack->addWidget(new Divider);

    auto* sleep = new SettingsSection(localized("Sleep Quality"));
    rating_ = new SleepQualityRatingView(state);
    sleep->addWidget(rating_);
    stack->addWidget(sleep);
    stack->addWidget(new Divider);

    correlation_ = new SleepCorrelationInsightsView(state);
    stack->addWidget(correlation_);
    stack->addWidget(new Divider);
    weekly_ = new WeeklyReportView(state, ui);
    stack->addWidget(weekly_);
    stack->addWidget(new Divider);
    if (chartViews_ != nullptr) {
        charts_ = chartViews_->makeHealthCharts(state);
        stack->addWidget(charts_);
        stack->addWidget(new Divider);
    }

    auto* exportRow = new QHBoxLayout;
    exportButton_ =
        new SymbolPushButton(localized("Export Health Data (CSV)"), "square.and.arrow.up", "exportHealthData", 12);
    exportRow->addWidget(exportButton_);
    exportRow->addStretch(1);
    stack->addLayout(exportRow);
    stack->addStretch(1);
    connect(exportButton_, &QPushButton::clicked, this, [this] { exportHealthData(); });

    connect(signals_, &StateSignals::stateChanged, this, &HealthSettingsTab::refresh);
    connect(signals_, &StateSignals::breakStateChanged, this, &HealthSettingsTab::refresh);
    refresh();
}

HealthSettingsTab::~HealthSettingsTab() = default;

void HealthSettingsTab::refresh() {
    lightDebt_->setValue(text(healthfigures::lightDebtText(state_.lightDebtPoints())));
    debtLevel_->setValue(text(state_.lightDebtLevel()));
    screenTime_->setValue(text(healthfigures::screenTimeText(state_.screenTimeToday())));
    score_->setValue(text(healthfigures::scoreText(state_.computeCurrentScore())));
    recommendation_->setText(text(state_.lightDebtRecommendation()));
    rating_->refresh();
    correlation_->refresh();
    weekly_->refresh();
    if (charts_ != nullptr) chartViews_->refreshHealthCharts(*charts_);
}

void HealthSettingsTab::exportHealthData() {
    // The rows are those of the history when the dialog is confirmed.
    AppState& state = state_;
    healthwidgets::exportText(this, state_, ui_, localized("Export Health Data"), healthexports::healthDataFileName,
                              [&state] { return healthexports::healthDataFile(state.healthHistory()); });
}

}  // namespace solvara
