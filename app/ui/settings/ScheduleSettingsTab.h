#pragma once

#include "app/ui/settings/SettingsControls.h"

class QCheckBox;
class QComboBox;

namespace solvara {

class AppState;

// Where the user is (automatic location or a city), the wake and sleep hours, the weekend
// schedule, the Movie mode's revert time, the manual night schedule and the sun at the last
// update. Every control writes one setting; the state does the rest.
class ScheduleSettingsTab : public settingsui::SettingsPage {
public:
    explicit ScheduleSettingsTab(AppState& state, QWidget* parent = nullptr);
    void refresh();

private:
    AppState& state_;
    QComboBox* source_;
    QWidget* cityRow_;
    QComboBox* city_;
    QWidget* coordinateRow_;
    settingsui::ToneLabel* coordinate_;
    QComboBox* wake_;
    QComboBox* sleep_;
    QCheckBox* weekend_;
    QWidget* weekendRows_;
    QComboBox* weekendWake_;
    QComboBox* weekendSleep_;
    QComboBox* movieRevert_;
    QCheckBox* manualNight_;
    QWidget* manualRows_;
    QComboBox* nightStartHour_;
    QComboBox* nightStartMinute_;
    QComboBox* nightEndHour_;
    QComboBox* nightEndMinute_;
    QWidget* solarRows_;
    settingsui::ToneLabel* elevation_;
    settingsui::ToneLabel* phase_;
    settingsui::ToneLabel* boost_;
    settingsui::ToneLabel* waiting_;
};

}  // namespace solvara
