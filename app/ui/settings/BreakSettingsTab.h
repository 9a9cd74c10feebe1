#pragma once

#include "app/ui/settings/SettingsControls.h"

class QCheckBox;
class QPushButton;

namespace solvara {

class AppState;
class SettingsRow;

// The 20-20-20 reminders: on and off, the interval, the live countdown and the day's counts,
// the postponement, the break sounds, the break screen and the keyboard switch.
class BreakSettingsTab : public settingsui::SettingsPage {
public:
    explicit BreakSettingsTab(AppState& state, QWidget* parent = nullptr);
    void refresh();

private:
    AppState& state_;
    QCheckBox* enabled_;
    QWidget* details_;
    Picker* interval_;
    QWidget* countdownRow_;
    StyledLabel* countdown_;
    SettingsRow* completed_;
    SettingsRow* skipped_;
    SettingsRow* compliance_;
    Picker* postpone_;
    QPushButton* postponeButton_;
    Picker* startSound_;
    Picker* endSound_;
    Picker* screenType_;
    QCheckBox* blockKeyboard_;
    StyledLabel* caption_;
};

}  // namespace solvara
