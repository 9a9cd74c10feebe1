#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/display/DisplayManager.h"
#include "app/display/PerDisplaySettings.h"
#include "app/display/SoftwareDimmer.h"
#include "app/display/VignetteDimmer.h"
#include "app/services/AmbientLightSensor.h"
#include "app/services/KeyboardShortcutManager.h"
#include "app/services/SoundscapeManager.h"
#include "app/state/AppStateProperties.h"
#include "app/state/AppStateTypes.h"
#include "app/state/CityLocation.h"
#include "core/engine/CircadianEngine.h"
#include "core/engine/DSTSmoother.h"
#include "core/health/BreakScheduler.h"
#include "core/health/ExposureTracker.h"
#include "core/health/HealthHistory.h"
#include "core/health/LightDebtCalculator.h"
#include "core/profiles/ProfileManager.h"
#include "core/solar/Coordinate.h"
#include "platform/Platform.h"
#include "platform/Timer.h"

namespace solvara {

// The one state object of the program: every setting with its default, every live value the
// views show, and the long-lived engine, health and display objects. Main thread only.
//
// Observation: every property below has a getter and a setter. A setter runs the property's
// change handler on every write, equal value or not; observers hear of the write (a will-change
// notice before the store, a did-change notice after the store and the handler) only when the
// value differs. The per-display map, the coordinate, the engine state and the two managers
// count as changed on every write.
class AppState {
public:
    using DisplayMode = solvara::DisplayMode;
    using ScreenEffect = solvara::ScreenEffect;
    using GammaAPI = solvara::GammaAPI;
    using BreakSound = solvara::BreakSound;
    using BreakScreenType = solvara::BreakScreenType;
    using CursorStyle = solvara::CursorStyle;
    using LocationSource = solvara::LocationSource;
    using CityLocation = solvara::CityLocation;
    using CircadianState = CircadianEngine::CircadianState;

    // What one break tick asks its caller to do with the break windows.
    enum class BreakEvent { breakStarted, breakEnded };

    enum class Property {
// clang-format off
#define SOLVARA_PROPERTY_CASE(type, name, ...) name,
        SOLVARA_APP_STATE_PROPERTIES(SOLVARA_PROPERTY_CASE)
#undef SOLVARA_PROPERTY_CASE
        // clang-format on
        soundscapeManager,
        shortcutManager,
    };
    enum class Notice { willChange, didChange };
    using Observer = std::function<void(Property, Notice)>;
    using ObserverId = std::uint64_t;

    // The property's name as written in the code ("isEnabled"); the settings file uses the same.
    static std::string_view propertyName(Property property);

    // The largest kelvin change of the shown temperature per apply with a gamma-table method.
    static constexpr std::int64_t maxKelvinStepPerUpdate = 20;
    static constexpr std::string_view settingsFileName = "Solvara-Settings.json";
    static constexpr std::size_t maxSettingsFileBytes = 1024 * 1024;

    // Builds every owned object and restores the persisted settings through their setters (the
    // engine schedule and the break scheduler follow the stored values as they come back); the
    // displays, dimmer and vignette then take the restored state once.
    explicit AppState(const Platform& platform);
    ~AppState();

    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    // Called synchronously, in the order added; an observer may add or remove observers.
    ObserverId addObserver(Observer observer);
    void removeObserver(ObserverId id);

// clang-format off
#define SOLVARA_PROPERTY_ACCESSORS(type, name, setter, ...) \
    const type& name() const { return name##_; }                        \
    void setter(type value);
    SOLVARA_APP_STATE_PROPERTIES(SOLVARA_PROPERTY_ACCESSORS)
#undef SOLVARA_PROPERTY_ACCESSORS
    // clang-format on

    // A second name for pwmProtectionEnabled (the feature switch of the same setting).
    bool featurePWMProtection() const { return pwmProtectionEnabled(); }
    void setFeaturePWMProtection(bool value) { setPwmProtectionEnabled(value); }

    // Handed in by the application shell; owned and driven by the state from then on (the
    // soundscape settings' handlers and followSoundscape()).
    const SoundscapeManager* soundscapeManager() const {
        return soundscapeManager_.get();
    }
    void setSoundscapeManager(std::unique_ptr<SoundscapeManager> manager);
    // The loop of the engine's part of the day, with the soundscape settings; silence while
    // soundscapes are off or no engine state exists. The shell calls it after each tick.
    void followSoundscape();
    void stopSoundscape();
    KeyboardShortcutManager* shortcutManager() const { return shortcutManager_.get(); }
    void setShortcutManager(std::unique_ptr<KeyboardShortcutManager> manager);

    // Owned for the life of the process.
    CircadianEngine& circadianEngine() { return circadianEngine_; }
    BreakScheduler& breakScheduler() { return breakScheduler_; }
    const BreakScheduler& breakScheduler() const { return breakScheduler_; }
    ProfileManager& profileManager() { return profileManager_; }
    const ProfileManager& profileManager() const { return profileManager_; }
    ExposureTracker& exposureTracker() { return exposureTracker_; }
    LightDebtCalculator& lightDebtCalculator() { return lightDebtCalculator_; }
    HealthHistory& healthHistory() { return healthHistory_; }
    const HealthHistory& healthHistory() const { return healthHistory_; }
    // The platform's files, through which the views write what the user exports.
    Files& files() const { return platform_.files; }
    DisplayManager& displayManager() { return displayManager_; }
    SoftwareDimmer& softwareDimmer() { return softwareDimmer_; }
    VignetteDimmer& vignetteDimmer() { return vignetteDimmer_; }
    AmbientLightSensor& ambientLightSensor() { return ambientLightSensor_; }
    DSTSmoother& dstSmoother() { return dstSmoother_; }

    // The application's own appearance while autoDarkModeEnabled: called on the main thread
    // after each update with true (dark) or false (follow the system). Set by the views.
    std::function<void(bool dark)> onAutoAppearance;

    // --- The 10-second update -------------------------------------------------------------
    // The tick: the engine state and the display (as recomputeCircadianState()), the
    // appearance, the day rollover, and 10 seconds of exposure accounting. Only the shell's
    // 10-second timer (and its start-up) calls it, so that screen time counts time, not calls.
    void updateCircadianState();
    // The engine state of this moment and the display, without appearance, rollover or
    // accounting: what a changed location, schedule or kelvin needs. Nothing without a location.
    void recomputeCircadianState();
    // The effective wake and sleep times, shifted by the daylight-saving offset, into the engine.
    void syncEngineSchedule();
    // Whether `hour` lies in the biological night: from melatonin onset (two hours before the
    // sleep hour) up to the wake hour, read on the 24-hour circle.
    static bool isInBiologicalNight(std::int64_t hour, std::int64_t sleepHour, std::int64_t wakeHour);

    // --- Driving the displays -------------------------------------------------------------
    void applyCurrentState();
    std::int64_t effectiveKelvin() const;
    bool shouldUseDarkMode() const;
    bool isDisabledByAppProfile() const;
    // Adds `delta` to the manual adjustment (kept within -3000...3000) and re-applies.
    void adjustKelvin(std::int64_t delta);
    // Records new displays and re-sends the last applied kelvin to the new screen set.
    void handleScreenChange();
    // Takes every effect off the displays at once; the next apply filters again.
    void emergencyReset();
    void startMovieModeTimer();
    // The one-shot that puts "Movie" back to "Auto"; the shutdown stops it.
    Timer& movieModeRevertTimer() { return movieModeRevertTimer_; }

    // --- Breaks ---------------------------------------------------------------------------
    std::optional<BreakEvent> tickBreakTimer();
    void postponeBreak();

    // --- Derived readouts -----------------------------------------------------------------
    std::int64_t effectiveWakeHour() const;
    std::int64_t effectiveSleepHour() const;
    bool isPostDLMO() const;
    bool isSleepTime() const;
    std::optional<std::string> sleepCountdownText() const;
    std::optional<std::string> dlmoCountdownText() const;
    std::optional<std::string> sleepIfNowText() const;
    std::string menuBarIcon() const;
    double currentMelanopicEDI() const;
    std::int64_t computeCurrentScore() const;
    void logMorningSunlight(double minutes);

    // --- Persistence ----------------------------------------------------------------------
    // Writes every persisted setting and the day state to the user defaults (nothing while the
    // launch-time restore runs).
    void persistSettings();

    // --- Settings file and reset ----------------------------------------------------------
    // The 37 exported settings as pretty JSON with sorted keys; empty when a value is not a
    // finite number.
    std::optional<std::string> settingsDocument() const;
    // Writes the settings file atomically. Empty on success, else why it failed, for people.
    std::optional<std::string> exportSettings(const std::string& path) const;
    // What an import did: a file refused whole changes nothing; otherwise every good member
    // was applied and the others are named.
    struct ImportResult {
        // Why the whole file was refused (not readable, not a regular file, too large, not a
        // JSON object, no member named after a setting, no such member with a usable value),
        // for people; empty when the members were applied.
        std::optional<std::string> refusal;
        // The members left alone, sorted by name: of the wrong JSON type, a choice that
        // matches no case, or a value outside the safe range. Filled also when they made the
        // whole file refused.
        std::vector<std::string> skipped;
    };
    // Reads a settings file (a regular file of at most 1 MiB) and applies its good members
    // through the setters, so each change handler runs as for a change by hand.
    ImportResult importSettings(const std::string& path);
    ImportResult importSettingsDocument(std::string_view document);
    void resetToDefaults();

private:
    struct ObserverEntry {
        ObserverId id;
        std::shared_ptr<Observer> observer;
    };

    template <class T>
    void assign(Property property, T& field, T value, void (AppState::*handler)());
    void notify(Property property, Notice notice);
    void noHandler() {}

    // Change handlers.
    void didSetIsEnabled();
    void didSetCurrentMode();
    void didSetCustomModeKelvin();
    void didSetOutput();
    void didSetScreenEffect();
    void didSetMorningBoostEnabled();
    void didSetSchedule();
    void didSetDayKelvin();
    void didSetNightKelvin();
    void didSetManualNightSchedule();
    void didSetCoordinate();
    void didSetLocationSource();
    void didSetSelectedCity();
    void didSetPwmProtectionEnabled();
    void didSetSoftwareDimmerOpacity();
    void didSetVignetteEnabled();
    void didSetVignetteShape();
    void didSetBreaksEnabled();
    void didSetBreakIntervalMinutes();
    void didSetSoundscapeVolume();
    void didSetSoundscapeTheme();
    void didSetLaunchAtLoginEnabled();

    std::int64_t manualScheduleKelvin() const;
    void sendToDisplays(std::int64_t kelvin);
    // Records `day` in the health history and starts a new one.
    void closeDay(const std::string& day, double screenTimeHours);
    void refreshLightDebtReadouts();
    void restoreSettings();
    void restoreDayState();
    // The persist and the restore of one row of the property table, by its rule.
    template <RestoreRule rule, class T>
    void storeSetting(std::string_view key, const T& value);
    template <RestoreRule rule, class T, class R>
    void restoreSetting(std::string_view key, R range, const T& initial, void (AppState::*setter)(T));
    std::optional<PerDisplaySettingsMap> restoredPerDisplaySettings(std::string_view key);
    // Copies a stored document that cannot be read to a recovery file before anything can
    // overwrite it; when that fails, the key is never written this session.
    void keepAside(std::string_view key, const std::string& reason);
    // Stores a JSON document our own encoders wrote, as the text it is (never parsed again).
    void setDocument(std::string_view key, std::string_view document);

#define SOLVARA_PROPERTY_FIELD(type, name, setter, initial, ...) type name##_ = initial;
    SOLVARA_APP_STATE_PROPERTIES(SOLVARA_PROPERTY_FIELD)
#undef SOLVARA_PROPERTY_FIELD

    Platform platform_;
    UserDefaults& defaults_;

    CircadianEngine circadianEngine_;
    BreakScheduler breakScheduler_;
    ProfileManager profileManager_;
    ExposureTracker exposureTracker_;
    LightDebtCalculator lightDebtCalculator_;
    HealthHistory healthHistory_;
    DisplayManager displayManager_;
    SoftwareDimmer softwareDimmer_;
    VignetteDimmer vignetteDimmer_;
    AmbientLightSensor ambientLightSensor_;
    DSTSmoother dstSmoother_;

    std::unique_ptr<SoundscapeManager> soundscapeManager_;
    std::unique_ptr<KeyboardShortcutManager> shortcutManager_;

    Timer movieModeRevertTimer_;
    Timer screenEffectPersistTimer_;
    // True while the stored settings come back at launch: handlers store their values but
    // neither persist nor touch the displays, which follow once at the end.
    bool isRestoring_ = false;
    // Stored documents that could not be read nor copied aside: never overwritten this run.
    std::set<std::string, std::less<>> protectedKeys_;
    // The history last stored, so that a year of it is encoded again only when it changed.
    std::optional<std::vector<HealthHistory::DailySnapshot>> storedHistory_;

    std::vector<ObserverEntry> observers_;
    // Calls queued on the run loop hold a weak reference and do nothing once the state is gone.
    std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);
    ObserverId nextObserverId_ = 1;
};

}  // namespace solvara
