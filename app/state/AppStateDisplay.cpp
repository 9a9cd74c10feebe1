// Turning the settings and the engine's state into what the displays show.

#include <algorithm>
#include <cmath>

#include "app/state/AppState.h"
#include "app/state/SettingRanges.h"
#include "core/foundation/Calendar.h"
#include "core/foundation/Clock.h"

namespace solvara {

namespace {

constexpr std::int64_t neutralKelvin = 6500;
constexpr std::int64_t minimumFilteredKelvin = 1800;
// No colour temperature below this reaches the displays, whatever the custom value and the
// manual adjustment add up to.
constexpr std::int64_t lowestKelvin = 1000;
constexpr std::int64_t kelvinAdjustmentLimit = 3000;
// The width of the 1800...6500 K range a full transition sweeps.
constexpr double sweepKelvin = 4700.0;

bool isGammaTableMethod(GammaAPI method) {
    return method == GammaAPI::byTable || method == GammaAPI::byFormula;
}

// The dimmer opacity a dimming mode brings with it.
std::optional<double> modeDimmerOpacity(DisplayMode mode) {
    switch (mode) {
        case DisplayMode::sunglasses: return 0.6;
        case DisplayMode::dark: return 0.85;
        default: return std::nullopt;
    }
}

}  // namespace

std::int64_t AppState::effectiveKelvin() const {
    if (!isEnabled_ || currentMode_ == DisplayMode::disabled) return neutralKelvin;
    if (currentMode_ == DisplayMode::custom) {
        // Not clamped to the filter range (a custom 6500 K plus 3000 shows 9500 K), but never
        // below what the colour maths and the readouts can use.
        return std::max(saturatingAdd(customModeKelvin_, manualKelvinAdjustment_), lowestKelvin);
    }
    std::int64_t base = 0;
    if (useManualNightSchedule_) {
        base = manualScheduleKelvin();  // overrides the fixed kelvin of every mode
    } else if (const auto fixed = kelvin(currentMode_)) {
        base = *fixed;
    } else if (currentState_) {
        base = currentState_->colorTemperature;
    } else {
        base = 5500;
    }
    return std::min(std::max(saturatingAdd(base, manualKelvinAdjustment_), minimumFilteredKelvin), neutralKelvin);
}

bool AppState::shouldUseDarkMode() const {
    return isEnabled_ && currentMode_ != DisplayMode::disabled && effectiveKelvin() < 4500;
}

std::int64_t AppState::manualScheduleKelvin() const {
    const DateComponents local = Calendar::localComponents(Clock::now());
    const std::int64_t now = local.hour * 60 + local.minute;
    const std::int64_t start = saturatingAdd(saturatingMul(manualNightStartHour_, 60), manualNightStartMinute_);
    const std::int64_t end = saturatingAdd(saturatingMul(manualNightEndHour_, 60), manualNightEndMinute_);
    const bool night = end >= start ? (now >= start && now < end) : (now >= start || now < end);
    return night ? nightKelvin_ : dayKelvin_;
}

bool AppState::isDisabledByAppProfile() const {
    if (!autoDisableByApp_ || !currentFrontmostBundleID_) return false;
    const auto profile = profileManager_.activityProfile(*currentFrontmostBundleID_);
    return profile && profile->behavior == ActivityProfile::Behavior::colorAccurate;
}

void AppState::applyCurrentState() {
    if (isRestoring_) return;  // the restore applies once, at its end
    const bool off = (inactivityPauseEnabled_ && isUserInactive_) || isDisabledByAppProfile() ||
                     (autoDisableFullscreen_ && isFullscreenAppActive_) || !isEnabled_ ||
                     currentMode_ == DisplayMode::disabled;
    if (off) {
        // Any dimming stays on screen: the dimmer belongs to the mode and PWM settings.
        setAppliedKelvin(std::nullopt);
        displayManager_.resetToDefault();
        return;
    }

    const std::int64_t target = effectiveKelvin();
    std::int64_t shown = target;
    if (isGammaTableMethod(gammaAPI_)) {
        const bool daytime = currentState_ && currentState_->solarElevation > 0;
        const std::int64_t duration = daytime ? transitionDurationDay_ : transitionDurationNight_;
        std::int64_t step = maxKelvinStepPerUpdate;
        if (duration >= 1) {
            // 4700 K over the duration's number of 10-second ticks.
            const double perTick = std::trunc(sweepKelvin / (static_cast<double>(duration) / 10.0));
            step = static_cast<std::int64_t>(std::clamp(perTick, 1.0, static_cast<double>(maxKelvinStepPerUpdate)));
        }
        if (appliedKelvin_) {
            const std::int64_t from = *appliedKelvin_;
            const std::int64_t difference = std::clamp(saturatingAdd(target, -from), -step, step);
            shown = saturatingAdd(from, difference);
        }
    }
    setAppliedKelvin(shown);
    sendToDisplays(shown);

    if (const auto opacity = modeDimmerOpacity(currentMode_)) {
        if (softwareDimmer_.overlayWindows().empty()) {
            softwareDimmer_.activate(*opacity);
        } else {
            softwareDimmer_.updateOpacity(*opacity);
        }
    } else if (!pwmProtectionEnabled_) {
        softwareDimmer_.deactivate();
    } else if (softwareDimmer_.overlayWindows().empty()) {
        softwareDimmer_.activate(softwareDimmerOpacity_);
    } else {
        softwareDimmer_.updateOpacity(softwareDimmerOpacity_);
    }
}

void AppState::sendToDisplays(std::int64_t kelvin) {
    if (isGammaTableMethod(gammaAPI_) && featurePerDisplayControl_ && !perDisplaySettings_.empty()) {
        displayManager_.applyPerDisplayTemperatures(kelvin, perDisplaySettings_, screenEffect_, gammaAPI_);
    } else {
        displayManager_.applyColorTemperature(kelvin, screenEffect_, gammaAPI_);
    }
}

void AppState::adjustKelvin(std::int64_t delta) {
    // An in-place change: always reported, then kept within the limits through the setter.
    notify(Property::manualKelvinAdjustment, Notice::willChange);
    manualKelvinAdjustment_ = saturatingAdd(manualKelvinAdjustment_, delta);
    notify(Property::manualKelvinAdjustment, Notice::didChange);
    if (manualKelvinAdjustment_ > kelvinAdjustmentLimit) {
        setManualKelvinAdjustment(kelvinAdjustmentLimit);
    } else if (manualKelvinAdjustment_ < -kelvinAdjustmentLimit) {
        setManualKelvinAdjustment(-kelvinAdjustmentLimit);
    }
    applyCurrentState();
}

void AppState::handleScreenChange() {
    for (auto& display : displayManager_.detectDisplays()) {
        if (perDisplaySettings_.contains(display.displayID)) continue;
        // An in-place insertion: reported and persisted once per new display.
        notify(Property::perDisplaySettings, Notice::willChange);
        const auto id = display.displayID;
        perDisplaySettings_.emplace(id, std::move(display));
        persistSettings();
        notify(Property::perDisplaySettings, Notice::didChange);
    }
    if (!isEnabled_ || currentMode_ == DisplayMode::disabled) return;

    if (appliedKelvin_) sendToDisplays(*appliedKelvin_);

    // A dimmer that is up follows the new screen set, so that a newly attached screen is dimmed
    // like the others: the mode's own dimming first, else PWM protection's. None is put up
    // here: while filtering is paused (a full-screen program in front) the screens stay clear.
    if (softwareDimmer_.overlayWindows().empty()) return;
    if (const auto opacity = modeDimmerOpacity(currentMode_)) {
        softwareDimmer_.activate(*opacity);
    } else if (pwmProtectionEnabled_) {
        softwareDimmer_.activate(softwareDimmerOpacity_);
    }
}

void AppState::emergencyReset() {
    setScreenEffect(ScreenEffect::none);
    setPwmProtectionEnabled(false);
    setSpotlightEnabled(false);
    displayManager_.restoreDisplays();
    softwareDimmer_.deactivate();
    persistSettings();
}

}  // namespace solvara
