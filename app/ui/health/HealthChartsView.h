#pragma once

#include <array>
#include <optional>
#include <vector>

#include <QWidget>

#include "app/ui/health/HealthChartPlan.h"

class QAbstractButton;
class QAreaSeries;
class QBarSeries;
class QBarSet;
class QCategoryAxis;
class QChart;
class QChartView;
class QLineSeries;
class QScatterSeries;

namespace solvara {

class AppState;
class StyledLabel;

// "Trends": a 7/30/90-day picker over up to five small Qt Charts of the daily history (score,
// screen time, light debt, break compliance, sleep). The range is the view's own and starts at
// 7 days each time the view is made.
class HealthChartsView : public QWidget {
public:
    explicit HealthChartsView(AppState& state, QWidget* parent = nullptr);
    ~HealthChartsView() override;

    void refresh();
    HealthChartPlan::Range range() const { return range_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    struct ChartCard {
        QWidget* card = nullptr;
        QChartView* view = nullptr;
        QChart* chart = nullptr;
        QCategoryAxis* x = nullptr;
        QCategoryAxis* y = nullptr;
        QBarSeries* bars = nullptr;
        QBarSet* barSet = nullptr;
        QLineSeries* line = nullptr;
        QLineSeries* baseline = nullptr;
        QLineSeries* areaTop = nullptr;
        QAreaSeries* area = nullptr;
        QScatterSeries* points = nullptr;
        healthfigures::HealthColor color = healthfigures::HealthColor::blue;
    };
    ChartCard makeCard(const char* title, const char* symbol, healthfigures::HealthColor color,
                       HealthChartPlan::Marks marks, int height, const char* objectName);
    void show(ChartCard& card, const HealthChartPlan::Card& plan);
    void applyColors();
    void showChosenRange();

    AppState& state_;
    HealthChartPlan::Range range_ = HealthChartPlan::Range::week;
    std::array<QAbstractButton*, 3> rangeButtons_{};
    QWidget* empty_;
    std::array<ChartCard, HealthChartPlan::kindCount> cards_{};
    // What the charts show now, so that a refresh with the same days redraws nothing.
    std::optional<std::vector<HealthHistory::DailySnapshot>> shown_;
};

}  // namespace solvara
