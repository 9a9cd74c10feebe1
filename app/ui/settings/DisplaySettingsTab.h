#pragma once

#include "app/ui/settings/SettingsControls.h"

class QCheckBox;
class QComboBox;

namespace solvara {

class AppState;
class PerDisplayCards;

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
    settingsui::ToneLabel* effective_;
    settingsui::ToneLabel* reduction_;
    settingsui::SteppedSlider* dayKelvin_;
    settingsui::SteppedSlider* nightKelvin_;
    QWidget* customDivider_;
    QWidget* customSection_;
    settingsui::SteppedSlider* customKelvin_;
    settingsui::SteppedSlider* customDim_;
    QCheckBox* pwm_;
    QWidget* pwmSliders_;
    settingsui::SteppedSlider* dimmerOpacity_;
    settingsui::SteppedSlider* pwmThreshold_;
    QComboBox* effect_;
    settingsui::SteppedSlider* dayTransition_;
    settingsui::SteppedSlider* nightTransition_;
    QComboBox* gammaAPI_;
    QCheckBox* fontSmoothing_;
    settingsui::ToneLabel* fontSmoothingCaption_;
    QCheckBox* spotlight_;
    QWidget* spotlightSliders_;
    settingsui::SteppedSlider* spotlightRadius_;
    settingsui::SteppedSlider* spotlightOpacity_;
    QCheckBox* softwareCursor_;
    QWidget* cursorRow_;
    QComboBox* cursorStyle_;
    PerDisplayCards* cards_;
};

}  // namespace solvara
