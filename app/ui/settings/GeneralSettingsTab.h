#pragma once

#include <QString>

#include "app/ui/settings/SettingsControls.h"

class QCheckBox;
class QPushButton;

namespace solvara {

class AppState;
class SettingsRow;
struct UiServices;

// The product and its version; the master switch and the general switches; the automation
// switches with the bedtime countdown; the display mode with the effective temperature; export,
// import and sharing; and the reset to defaults after a confirmation.
class GeneralSettingsTab : public settingsui::SettingsPage {
public:
    GeneralSettingsTab(AppState& state, UiServices& ui, QWidget* parent = nullptr);
    void refresh();

    // The build's version and build number ("1.0.0" and "1" when the build gives none).
    static QString appVersion();
    static QString buildNumber();

private:
    void exportSettings();
    void importSettings();
    void confirmReset();
    void share();

    AppState& state_;
    UiServices& ui_;
    QCheckBox* enabled_;
    QCheckBox* launchAtLogin_;
    QCheckBox* morningBoost_;
    QCheckBox* hideFromDock_;
    QCheckBox* autoDark_;
    QCheckBox* autoDisableApp_;
    QCheckBox* autoDisableFullscreen_;
    QCheckBox* sleepAlarm_;
    QCheckBox* transitionSounds_;
    QWidget* bedtimeRow_;
    StyledLabel* bedtime_;
    Picker* mode_;
    SettingsRow* effective_;
};

}  // namespace solvara
