#pragma once

#include "app/ui/settings/SettingsControls.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace solvara {

class AppState;

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
    QComboBox* interval_;
    QWidget* countdownRow_;
    settingsui::ToneLabel* countdown_;
    settingsui::ToneLabel* completed_;
    settingsui::ToneLabel* skipped_;
    settingsui::ToneLabel* compliance_;
    QComboBox* postpone_;
    QPushButton* postponeButton_;
    QComboBox* startSound_;
    QComboBox* endSound_;
    QComboBox* screenType_;
    QCheckBox* blockKeyboard_;
    settingsui::ToneLabel* caption_;
};

}  // namespace solvara
