// The 10-second update, the desktop observers, the detectors and the keyboard shortcuts.

#include <algorithm>

#include "app/shell/AppDelegate.h"

namespace solvara {

void AppDelegate::updateTick() {
    const std::string previous = appState_.lastPhaseName();
    // A window can enter or leave full screen without any change of application; the pause
    // must follow it within a tick.
    refreshFullScreenState();
    appState_.updateCircadianState();
    if (appState_.transitionSoundsEnabled()) playPhaseChangeSound(previous);
    if (appState_.lastPhaseName().empty() && appState_.currentState()) {
        appState_.setLastPhaseName(std::string(appState_.currentState()->phase.displayName()));
    }
    appState_.followSoundscape();
}

void AppDelegate::playPhaseChangeSound(const std::string& previous) {
    const auto& state = appState_.currentState();
    if (!state) return;
    const std::string name(state->phase.displayName());
    if (previous.empty() || name == previous) return;
    appState_.setLastPhaseName(name);
    if (name.find("Night") != std::string::npos || name.find("Twilight") != std::string::npos) {
        platform_.audio.playSystemSound("Tink");
    } else if (state->isMorningBoostActive) {
        platform_.audio.playSystemSound("Hero");
    }
}

void AppDelegate::refreshFullScreenState() {
    const bool fullScreen = smartPauseDetector_.isFrontmostAppFullScreen();
    if (fullScreen != appState_.isFullscreenAppActive()) appState_.setIsFullscreenAppActive(fullScreen);
}

void AppDelegate::frontmostApplicationChanged(const std::optional<RunningApplication>& application) {
    if (!application) return;
    appState_.setCurrentFrontmostBundleID(application->desktopId);
    appState_.setIsFullscreenAppActive(smartPauseDetector_.isFrontmostAppFullScreen());
    appState_.applyCurrentState();
}

// --- Detectors and sensor --------------------------------------------------------------

void AppDelegate::setupInactivityDetector() {
    inactivityDetector_.thresholdSeconds = static_cast<double>(appState_.inactivityThresholdMinutes()) * 60.0;
    inactivityDetector_.onInactive = guarded([this] {
        appState_.setIsUserInactive(true);
        if (appState_.inactivityPauseEnabled()) appState_.applyCurrentState();
    });
    inactivityDetector_.onResume = guarded([this] {
        appState_.setIsUserInactive(false);
        appState_.applyCurrentState();
    });
    inactivityDetector_.start();
}

void AppDelegate::setupFlowDetector() {
    flowDetector_.flowThresholdMinutes = 45;
    flowDetector_.onFlowStateChanged = [this, alive = std::weak_ptr<int>(lifetime_)](bool inFlow) {
        if (!alive.expired()) appState_.setIsInFlowState(inFlow);
    };
    flowDetector_.start();
}

void AppDelegate::setupAmbientLight() {
    if (!appState_.ambientLightEnabled()) return;
    AmbientLightSensor& sensor = appState_.ambientLightSensor();
    if (!sensor.connect()) return;
    sensor.setOnLuxUpdate([this, alive = std::weak_ptr<int>(lifetime_)](double lux) {
        if (alive.expired()) return;
        appState_.setAmbientLux(lux);
        appState_.setAmbientBrightnessFactor(AmbientLightSensor::suggestedBrightnessFactor(lux));
    });
    sensor.startPolling(ambientPollInterval);
}

// --- Keyboard shortcuts ----------------------------------------------------------------

void AppDelegate::setupKeyboardShortcuts() {
    auto manager =
        std::make_unique<KeyboardShortcutManager>(platform_.userDefaults, platform_.globalShortcuts, platform_.runLoop);
    manager->loadShortcuts();
    manager->setOnAction([this, alive = std::weak_ptr<int>(lifetime_)](KeyboardShortcutManager::Action action) {
        if (!alive.expired()) handleShortcut(action);
    });
    manager->start();
    appState_.setShortcutManager(std::move(manager));
}

void AppDelegate::handleShortcut(KeyboardShortcutManager::Action action) {
    using Action = KeyboardShortcutManager::Action;
    switch (action) {
        case Action::toggleOnOff:
            appState_.setIsEnabled(!appState_.isEnabled());
            break;
        case Action::cycleMode: {
            static constexpr auto modes = allCases<DisplayMode>();
            const auto* found = std::find(modes.begin(), modes.end(), appState_.currentMode());
            if (found == modes.end()) break;
            const auto next = static_cast<std::size_t>(found - modes.begin() + 1) % modes.size();
            appState_.setCurrentMode(modes[next]);
            break;
        }
        case Action::kelvinUp100:
            appState_.adjustKelvin(100);
            break;
        case Action::kelvinUp500:
            appState_.adjustKelvin(500);
            break;
        case Action::kelvinDown100:
            appState_.adjustKelvin(-100);
            break;
        case Action::kelvinDown500:
            appState_.adjustKelvin(-500);
            break;
        case Action::togglePWM:
            appState_.setPwmProtectionEnabled(!appState_.pwmProtectionEnabled());
            break;
        case Action::triggerBreak:
            appState_.breakScheduler().triggerBreak();
            breakSoundPlayer_.play(appState_.breakStartSound());
            break;
        case Action::openSettings:
            // The settings live in the main window.
            showMainWindowRequested();
            break;
        case Action::emergencyReset:
            appState_.emergencyReset();
            break;
    }
}

}  // namespace solvara
