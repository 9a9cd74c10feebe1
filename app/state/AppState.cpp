#include "app/state/AppState.h"

#include <algorithm>
#include <array>

#include "app/services/LaunchAtLogin.h"

namespace solvara {

namespace {

// Change detection: a type with a meaningful equality compares; the records below count as
// changed on every write (the engine state carries a fresh time stamp every tick anyway).
template <class T>
bool sameValue(const T& a, const T& b) {
    return a == b;
}
bool sameValue(const PerDisplaySettingsMap&, const PerDisplaySettingsMap&) { return false; }
bool sameValue(const std::optional<Coordinate>&, const std::optional<Coordinate>&) { return false; }
bool sameValue(const std::optional<CircadianEngine::CircadianState>&,
               const std::optional<CircadianEngine::CircadianState>&) {
    return false;
}

constexpr std::array propertyNames{
#define SOLVARA_PROPERTY_NAME(type, name, ...) std::string_view(#name),
    SOLVARA_APP_STATE_PROPERTIES(SOLVARA_PROPERTY_NAME)
#undef SOLVARA_PROPERTY_NAME
        std::string_view("soundscapeManager"),
    std::string_view("shortcutManager"),
};

}  // namespace

std::string_view AppState::propertyName(Property property) {
    return propertyNames.at(static_cast<std::size_t>(property));
}

AppState::AppState(const Platform& platform)
    : platform_(platform),
      defaults_(platform.userDefaults),
      displayManager_(platform),
      softwareDimmer_(platform.screens),
      vignetteDimmer_(platform.screens),
      ambientLightSensor_(platform.ambientLight, platform.runLoop),
      dstSmoother_(4) {
    // Defaults from outside the object go in without handlers, like every other default.
    launchAtLoginEnabled_ = LaunchAtLogin::isEnabled(platform_.loginItem);
    restoreSettings();
}

AppState::~AppState() = default;

// --- Observation -------------------------------------------------------------------------

AppState::ObserverId AppState::addObserver(Observer observer) {
    const ObserverId id = nextObserverId_++;
    observers_.push_back({id, std::make_shared<Observer>(std::move(observer))});
    return id;
}

void AppState::removeObserver(ObserverId id) {
    std::erase_if(observers_, [id](const ObserverEntry& entry) { return entry.id == id; });
}

void AppState::notify(Property property, Notice notice) {
    if (observers_.empty()) return;
    // A copy, so that observers may add or remove observers while being called.
    const auto snapshot = observers_;
    for (const auto& entry : snapshot) (*entry.observer)(property, notice);
}

template <class T>
void AppState::assign(Property property, T& field, T value, void (AppState::*handler)()) {
    const bool changed = !sameValue(field, value);
    if (changed) notify(property, Notice::willChange);
    field = std::move(value);
    (this->*handler)();
    if (changed) notify(property, Notice::didChange);
}

// clang-format off
#define SOLVARA_PROPERTY_SETTER(type, name, setter, initial, handler, ...) \
    void AppState::setter(type value) { assign(Property::name, name##_, std::move(value), &AppState::handler); }
SOLVARA_APP_STATE_PROPERTIES(SOLVARA_PROPERTY_SETTER)
#undef SOLVARA_PROPERTY_SETTER
// clang-format on

void AppState::setSoundscapeManager(std::unique_ptr<SoundscapeManager> manager) {
    notify(Property::soundscapeManager, Notice::willChange);
    soundscapeManager_ = std::move(manager);
    notify(Property::soundscapeManager, Notice::didChange);
}

void AppState::setShortcutManager(std::unique_ptr<KeyboardShortcutManager> manager) {
    notify(Property::shortcutManager, Notice::willChange);
    shortcutManager_ = std::move(manager);
    notify(Property::shortcutManager, Notice::didChange);
}

// --- Change handlers ---------------------------------------------------------------------

void AppState::didSetIsEnabled() {
    setAppliedKelvin(std::nullopt);
    applyCurrentState();
    persistSettings();
}

void AppState::didSetCurrentMode() {
    // With nothing applied, the apply below jumps to the new mode's kelvin instead of ramping.
    setAppliedKelvin(std::nullopt);
    applyCurrentState();
    persistSettings();
    if (currentMode_ == DisplayMode::movie) {
        startMovieModeTimer();
    } else {
        movieModeRevertTimer_.invalidate();
    }
}

void AppState::startMovieModeTimer() {
    movieModeRevertTimer_.invalidate();
    if (movieModeAutoRevertMinutes_ < 1) return;  // "Never"
    const double seconds = static_cast<double>(movieModeAutoRevertMinutes_) * 60.0;
    movieModeRevertTimer_ = Timer::once(platform_.runLoop, seconds, [this] {
        if (currentMode_ == DisplayMode::movie) setCurrentMode(DisplayMode::auto_);
    });
}

void AppState::didSetCustomModeKelvin() {
    if (currentMode_ == DisplayMode::custom) applyCurrentState();
    persistSettings();
}

void AppState::didSetOutput() {
    applyCurrentState();
    persistSettings();
}

void AppState::didSetScreenEffect() {
    applyCurrentState();
    screenEffectPersistTimer_.invalidate();
    if (screenEffect_ == ScreenEffect::none) {
        persistSettings();
        return;
    }
    // An inverted or grey screen that makes the program unusable is not stored at once: a
    // forced quit within these seconds brings back the previous effect.
    screenEffectPersistTimer_ = Timer::once(platform_.runLoop, 3.0, [this] { persistSettings(); });
}

void AppState::didSetMorningBoostEnabled() {
    circadianEngine_.setMorningBoostEnabled(morningBoostEnabled_);
    persistSettings();
}

void AppState::didSetSchedule() {
    syncEngineSchedule();
    recomputeCircadianState();
    persistSettings();
}

void AppState::didSetDayKelvin() {
    circadianEngine_.setDayKelvin(dayKelvin_);
    recomputeCircadianState();
    persistSettings();
}

void AppState::didSetNightKelvin() {
    circadianEngine_.setNightKelvin(nightKelvin_);
    recomputeCircadianState();
    persistSettings();
}

void AppState::didSetManualNightSchedule() {
    recomputeCircadianState();
    persistSettings();
}

void AppState::didSetCoordinate() {
    recomputeCircadianState();
}

void AppState::didSetLocationSource() {
    // Choosing the manual source puts the user at the selected city right away, whoever
    // chose it (the schedule tab, an import) and in whatever order the city arrived.
    if (locationSource_ == LocationSource::manual) setCoordinate(Coordinate{selectedCity_.lat, selectedCity_.lon});
    persistSettings();
}

void AppState::didSetSelectedCity() {
    if (locationSource_ == LocationSource::manual) setCoordinate(Coordinate{selectedCity_.lat, selectedCity_.lon});
    persistSettings();
}

void AppState::didSetPwmProtectionEnabled() {
    if (isRestoring_) {
        // The restore puts the dimmer up once, at its end.
    } else if (pwmProtectionEnabled_) {
        softwareDimmer_.activate(softwareDimmerOpacity_);
    } else {
        softwareDimmer_.deactivate();
    }
    persistSettings();
}

void AppState::didSetSoftwareDimmerOpacity() {
    if (pwmProtectionEnabled_ && !isRestoring_) softwareDimmer_.updateOpacity(softwareDimmerOpacity_);
    persistSettings();
}

void AppState::didSetVignetteEnabled() {
    if (isRestoring_) {
        // The restore puts the vignette up once, at its end.
    } else if (vignetteEnabled_) {
        vignetteDimmer_.radius = vignetteRadius_;
        vignetteDimmer_.opacity = vignetteOpacity_;
        vignetteDimmer_.activate();
    } else {
        vignetteDimmer_.deactivate();
    }
    persistSettings();
}

void AppState::didSetVignetteShape() {
    if (vignetteEnabled_ && !isRestoring_) {
        vignetteDimmer_.radius = vignetteRadius_;
        vignetteDimmer_.opacity = vignetteOpacity_;
        for (auto& entry : vignetteDimmer_.overlayWindows()) {
            if (!entry.view) continue;
            entry.view->setVignetteRadius(vignetteRadius_);
            entry.view->setVignetteOpacity(vignetteOpacity_);
        }
    }
    persistSettings();
}

void AppState::didSetBreaksEnabled() {
    if (breaksEnabled_) {
        breakScheduler_.start();
    } else {
        breakScheduler_.stop();
        setShowBreakOverlay(false);
        setBreakCountdownText("");
    }
    persistSettings();
}

void AppState::didSetBreakIntervalMinutes() {
    auto config = breakScheduler_.config();
    config.intervalMinutes = breakIntervalMinutes_;
    breakScheduler_.setConfig(config);
    if (breaksEnabled_) breakScheduler_.start();
    persistSettings();
}

void AppState::didSetSoundscapeVolume() {
    if (soundscapeManager_) soundscapeManager_->setVolume(static_cast<float>(soundscapeVolume_));
    persistSettings();
}

void AppState::didSetSoundscapeTheme() {
    const auto theme = SoundscapeGenerator::themeFromRawValue(soundscapeTheme_);
    // Another theme stops the loop; the next soundscape step starts the new one.
    if (theme && soundscapeManager_) soundscapeManager_->setTheme(*theme);
    persistSettings();
}

void AppState::followSoundscape() {
    if (!soundscapeManager_) return;
    SoundscapeManager& manager = *soundscapeManager_;
    if (!featureSoundscapes_ || !currentState_) {
        manager.stop();
        return;
    }
    manager.setVolume(static_cast<float>(soundscapeVolume_));
    if (const auto theme = SoundscapeGenerator::themeFromRawValue(soundscapeTheme_)) manager.setTheme(*theme);
    const auto group = SoundscapeGenerator::phaseToGroup(currentState_->phase);
    if (manager.currentGroup() == group && manager.currentPlayer()) return;
    manager.playGroup(group);
}

void AppState::stopSoundscape() {
    if (soundscapeManager_) soundscapeManager_->stop();
}

void AppState::didSetLaunchAtLoginEnabled() {
    LaunchAtLogin::setEnabled(platform_.loginItem, launchAtLoginEnabled_);
    // A refused registration must not leave the switch claiming otherwise.
    const bool registered = LaunchAtLogin::isEnabled(platform_.loginItem);
    if (registered != launchAtLoginEnabled_) {
        assign(Property::launchAtLoginEnabled, launchAtLoginEnabled_, registered, &AppState::noHandler);
    }
    persistSettings();
}

}  // namespace solvara
