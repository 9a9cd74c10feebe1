#pragma once

#include <QWidget>

class QPushButton;

namespace solvara {

class AppState;
class ChartViewFactory;
class SettingsRow;
class SleepCorrelationInsightsView;
class SleepQualityRatingView;
class StateSignals;
class StyledLabel;
class WeeklyReportView;
struct UiServices;

// The main window's Health tab: today's circadian-health figures and advice, the sleep rating,
// the correlation card, the weekly report, the trend charts, and the export of the whole stored
// history as "Solvara-HealthData.csv". It keeps nothing of its own; every change notice of the
// state refreshes it and the views it holds. The charts come from the charts plugin; without it
// the tab shows everything else.
class HealthSettingsTab : public QWidget {
public:
    explicit HealthSettingsTab(AppState& state, UiServices& ui, QWidget* parent = nullptr);
    ~HealthSettingsTab() override;

    void refresh();

private:
    void exportHealthData();

    AppState& state_;
    UiServices& ui_;
    StateSignals* signals_;
    SettingsRow* lightDebt_;
    SettingsRow* debtLevel_;
    SettingsRow* screenTime_;
    SettingsRow* score_;
    StyledLabel* recommendation_;
    SleepQualityRatingView* rating_;
    SleepCorrelationInsightsView* correlation_;
    WeeklyReportView* weekly_;
    ChartViewFactory* chartViews_;
    QWidget* charts_ = nullptr;  // null without the charts plugin
    QPushButton* exportButton_;
};

}  // namespace solvara
