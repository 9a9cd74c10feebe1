#pragma once

#include "app/ui/settings/SettingsControls.h"

class QCheckBox;

namespace solvara {

class AppState;
class SettingsRow;

// Where the user is (automatic location or a city), the wake and sleep hours, the weekend
// schedule, the Movie mode's revert time, the manual night schedule and the sun at the last
// update. Every control writes one setting; the state does the rest.
class ScheduleSettingsTab : public settingsui::SettingsPage {
public:
    explicit ScheduleSettingsTab(AppState& state, QWidget* parent = nullptr);
    void refresh();

private:
    AppState& state_;
    Picker* source_;
    QWidget* cityRow_;
    Picker* city_;
    QWidget* coordinateRow_;
    SettingsRow* coordinate_;
    Picker* wake_;
    Picker* sleep_;
    QCheckBox* weekend_;
    QWidget* weekendRows_;
    Picker* weekendWake_;
    Picker* weekendSleep_;
    Picker* movieRevert_;
    QCheckBox* manualNight_;
    QWidget* manualRows_;
    Picker* nightStartHour_;
    Picker* nightStartMinute_;
    Picker* nightEndHour_;
    Picker* nightEndMinute_;
    QWidget* solarRows_;
    SettingsRow* elevation_;
    SettingsRow* phase_;
    SettingsRow* boost_;
    StyledLabel* waiting_;
};

}  // namespace solvara
