#pragma once

#include "app/ui/settings/SettingsControls.h"

class QCheckBox;

namespace solvara {

class AppState;
class PerDisplayCards;
class SettingsRow;

// How the displays are coloured and dimmed: day and night temperatures with the effective value
// and its blue-light reduction, the Custom mode's own values, the software dimmer, the screen
// effect, the transition lengths, the output method, font smoothing, spotlight, the software
// cursor and the per-display cards.
class DisplaySettingsTab : public settingsui::SettingsPage {
public:
    explicit DisplaySettingsTab(AppState& state, QWidget* parent = nullptr);
    void refresh();

private:
    AppState& state_;
    SettingsRow* effective_;
    SettingsRow* reduction_;
    settingsui::SliderRow* dayKelvin_;
    settingsui::SliderRow* nightKelvin_;
    QWidget* customDivider_;
    QWidget* customSection_;
    settingsui::SliderRow* customKelvin_;
    settingsui::SliderRow* customDim_;
    QCheckBox* pwm_;
    QWidget* pwmSliders_;
    settingsui::SliderRow* dimmerOpacity_;
    settingsui::SliderRow* pwmThreshold_;
    Picker* effect_;
    settingsui::SliderRow* dayTransition_;
    settingsui::SliderRow* nightTransition_;
    Picker* gammaAPI_;
    QCheckBox* fontSmoothing_;
    StyledLabel* fontSmoothingCaption_;
    QCheckBox* spotlight_;
    QWidget* spotlightSliders_;
    settingsui::SliderRow* spotlightRadius_;
    settingsui::SliderRow* spotlightOpacity_;
    QCheckBox* softwareCursor_;
    QWidget* cursorRow_;
    Picker* cursorStyle_;
    PerDisplayCards* cards_;
};

}  // namespace solvara
