#pragma once

#include <array>

#include "app/ui/settings/SettingsControls.h"

class QCheckBox;
class QTimer;

namespace solvara {

class AppState;
class FeatureCard;
class SymbolView;

// Nine feature cards, each a switch of one setting with its description in a popover shown
// while the pointer rests on the card, and, while ambient soundscapes are on, their theme and
// volume.
class FeaturesSettingsTab : public settingsui::SettingsPage {
public:
    explicit FeaturesSettingsTab(AppState& state, QWidget* parent = nullptr);
    ~FeaturesSettingsTab() override;
    void refresh();

    // The card whose popover shows, or -1: view state only.
    int hoveredFeature() const { return hoveredFeature_; }
    QWidget* popover() const { return popover_; }

private:
    void hover(int card);
    void leave(int card);

    AppState& state_;
    std::array<FeatureCard*, 9> cards_{};
    QWidget* soundscapeDivider_;
    QWidget* soundscapeSection_;
    Picker* theme_;
    settingsui::SliderRow* volume_;
    QWidget* popover_;
    StyledLabel* popoverTitle_;
    SymbolView* popoverIcon_;
    StyledLabel* popoverText_;
    int hoveredFeature_ = -1;
};

}  // namespace solvara
