#pragma once

#include <cstdint>

namespace solvara {

// How the launch reads a stored setting back (a missing key reads as false, 0 or nothing).
enum class RestoreRule {
    none,           // not stored
    plain,          // the stored value; a choice that is no raw value, or a missing string, the default
    presentOrTrue,  // a Bool: the stored value when the key exists, else true
    positive,       // the stored value when above 0, else the default
    nonZero,        // the stored value unless it is 0, else the default (negatives stay)
    keyOrDefault,   // the stored value when the key exists (0 included), else the default
    launchDefault,  // stored but never read: every launch starts from the default
    dayState,       // read back with the day's counters, not with the settings
};

// Where else a setting goes besides the store.
namespace setting {
inline constexpr unsigned stays = 0;
inline constexpr unsigned exported = 1;  // one of the settings file's members, under its own name
inline constexpr unsigned reset = 2;     // put back to its default by "Reset to Defaults"
}  // namespace setting

}  // namespace solvara

// Every observed property of AppState, in one table, with everything each list of settings
// needs: type, getter, setter, the value the constructor stores (without running a handler),
// the change handler the setter runs on every write, the stored key ("" for none), the rule
// that reads it back at launch, the range a value from outside must lie in (SettingRanges),
// and whether the settings file carries it and the reset puts it back. The fields, accessors,
// Property enumeration, persist, restore, reset, export and import are all expanded from it.
//
// Stored settings come first, in the order the launch restores them; the reset and the import
// run in the same order. Adding a setting is one line here (and its default in the key test).
//
// Handlers: `noHandler` stores and notifies only; `persistSettings` only persists; the others
// are members of AppState.
//
// X(type, name, setter, default, handler, key, restore, range, flags)
// clang-format off
#define SOLVARA_APP_STATE_PROPERTIES(X)                                                                                                                              \
    X(bool, isEnabled, setIsEnabled, true, didSetIsEnabled, "sv_isEnabled", plain, none, exported | reset)                                                          \
    X(DisplayMode, currentMode, setCurrentMode, DisplayMode::auto_, didSetCurrentMode, "sv_currentMode", plain, none, exported | reset)                              \
    X(bool, morningBoostEnabled, setMorningBoostEnabled, true, didSetMorningBoostEnabled, "sv_morningBoost", plain, none, exported | reset)                         \
    X(bool, launchAtLoginEnabled, setLaunchAtLoginEnabled, false, didSetLaunchAtLoginEnabled, "", none, none, exported)                                             \
    X(bool, pwmProtectionEnabled, setPwmProtectionEnabled, false, didSetPwmProtectionEnabled, "sv_pwmProtection", plain, none, exported | reset)                    \
    X(double, softwareDimmerOpacity, setSoftwareDimmerOpacity, 0.3, didSetSoftwareDimmerOpacity, "sv_dimmerOpacity", nonZero, dimmerOpacity, exported | reset)     \
    X(double, pwmThreshold, setPwmThreshold, 40.0, persistSettings, "sv_pwmThreshold", nonZero, anyNumber, exported | reset)                                        \
    X(std::int64_t, wakeHour, setWakeHour, 7, didSetSchedule, "sv_wakeHour", plain, hour, exported | reset)                                                         \
    X(std::int64_t, wakeMinute, setWakeMinute, 0, didSetSchedule, "sv_wakeMinute", plain, minute, reset)                                                            \
    X(std::int64_t, sleepHour, setSleepHour, 23, didSetSchedule, "sv_sleepHour", keyOrDefault, hour, exported | reset)                                              \
    X(std::int64_t, sleepMinute, setSleepMinute, 0, didSetSchedule, "sv_sleepMinute", plain, minute, reset)                                                         \
    X(bool, breaksEnabled, setBreaksEnabled, false, didSetBreaksEnabled, "sv_breaksEnabled", plain, none, exported | reset)                                         \
    X(std::int64_t, breakIntervalMinutes, setBreakIntervalMinutes, 20, didSetBreakIntervalMinutes, "sv_breakInterval", nonZero, intervalMinutes, exported | reset) \
    X(std::int64_t, breakPostponeMinutes, setBreakPostponeMinutes, 5, persistSettings, "sv_breakPostpone", nonZero, intervalMinutes, exported | reset)              \
    X(LocationSource, locationSource, setLocationSource, LocationSource::automatic, didSetLocationSource, "sv_locationSource", plain, none, exported)               \
    X(CityLocation, selectedCity, setSelectedCity, CityLocation::presets().front(), didSetSelectedCity, "sv_selectedCity", plain, none, stays)                      \
    X(std::int64_t, dayKelvin, setDayKelvin, 6500, didSetDayKelvin, "sv_dayKelvin", positive, kelvin, exported | reset)                                             \
    X(std::int64_t, nightKelvin, setNightKelvin, 1800, didSetNightKelvin, "sv_nightKelvin", positive, kelvin, exported | reset)                                     \
    X(std::int64_t, customModeKelvin, setCustomModeKelvin, 4000, didSetCustomModeKelvin, "sv_customModeKelvin", positive, kelvin, exported | reset)                 \
    X(double, customModeDimLevel, setCustomModeDimLevel, 0.0, persistSettings, "sv_customModeDimLevel", plain, anyNumber, exported | reset)                         \
    X(bool, inactivityPauseEnabled, setInactivityPauseEnabled, false, persistSettings, "sv_inactivityPause", plain, none, reset)                                    \
    X(std::int64_t, inactivityThresholdMinutes, setInactivityThresholdMinutes, 15, persistSettings, "sv_inactivityThreshold", positive, inactivityMinutes, reset)  \
    X(ScreenEffect, screenEffect, setScreenEffect, ScreenEffect::none, didSetScreenEffect, "sv_screenEffect", plain, none, exported | reset)                        \
    X(std::int64_t, transitionDurationDay, setTransitionDurationDay, 1200, persistSettings, "sv_transitionDay", positive, transitionSeconds, exported | reset)      \
    X(std::int64_t, transitionDurationNight, setTransitionDurationNight, 2400, persistSettings, "sv_transitionNight", positive, transitionSeconds, exported | reset) \
    X(bool, useManualNightSchedule, setUseManualNightSchedule, false, didSetManualNightSchedule, "sv_manualNight", plain, none, exported | reset)                   \
    X(std::int64_t, manualNightStartHour, setManualNightStartHour, 20, didSetManualNightSchedule, "sv_nightStartHour", keyOrDefault, hour, exported | reset)        \
    X(std::int64_t, manualNightStartMinute, setManualNightStartMinute, 0, didSetManualNightSchedule, "sv_nightStartMinute", plain, minute, exported | reset)        \
    X(std::int64_t, manualNightEndHour, setManualNightEndHour, 6, didSetManualNightSchedule, "sv_nightEndHour", keyOrDefault, hour, exported | reset)               \
    X(std::int64_t, manualNightEndMinute, setManualNightEndMinute, 0, didSetManualNightSchedule, "sv_nightEndMinute", plain, minute, exported | reset)              \
    X(GammaAPI, gammaAPI, setGammaAPI, GammaAPI::byTable, didSetOutput, "sv_gammaAPI", launchDefault, none, exported | reset)                                       \
    X(BreakSound, breakStartSound, setBreakStartSound, BreakSound::chime, persistSettings, "sv_breakStartSound", plain, none, exported | reset)                     \
    X(BreakSound, breakEndSound, setBreakEndSound, BreakSound::bell, persistSettings, "sv_breakEndSound", plain, none, exported | reset)                            \
    X(BreakScreenType, breakScreenType, setBreakScreenType, BreakScreenType::simpleText, persistSettings, "sv_breakScreenType", plain, none, exported | reset)      \
    X(bool, fontSmoothingEnabled, setFontSmoothingEnabled, true, persistSettings, "sv_fontSmoothing", presentOrTrue, none, exported | reset)                        \
    X(bool, spotlightEnabled, setSpotlightEnabled, false, persistSettings, "sv_spotlight", plain, none, exported | reset)                                           \
    X(double, spotlightRadius, setSpotlightRadius, 200.0, persistSettings, "sv_spotlightRadius", nonZero, anyNumber, exported | reset)                              \
    X(double, spotlightOpacity, setSpotlightOpacity, 0.7, persistSettings, "sv_spotlightOpacity", nonZero, anyNumber, exported | reset)                             \
    X(bool, useSoftwareCursor, setUseSoftwareCursor, false, persistSettings, "sv_softwareCursor", plain, none, exported | reset)                                    \
    X(CursorStyle, cursorStyle, setCursorStyle, CursorStyle::defaultCursor, persistSettings, "sv_cursorStyle", plain, none, exported | reset)                       \
    X(bool, blockKeyboardDuringBreaks, setBlockKeyboardDuringBreaks, false, persistSettings, "sv_blockKeyboard", plain, none, exported | reset)                     \
    X(bool, hideFromDockOnClose, setHideFromDockOnClose, false, persistSettings, "sv_hideDock", plain, none, exported | reset)                                      \
    X(PerDisplaySettingsMap, perDisplaySettings, setPerDisplaySettings, {}, persistSettings, "sv_perDisplaySettings", plain, none, reset)                           \
    X(bool, featureCircadianFiltering, setFeatureCircadianFiltering, true, persistSettings, "sv_ft_circadian", presentOrTrue, none, stays)                          \
    X(bool, featureBreakReminders, setFeatureBreakReminders, false, persistSettings, "sv_ft_breaks", plain, none, stays)                                            \
    X(bool, featureMorningBoost, setFeatureMorningBoost, true, persistSettings, "sv_ft_morningBoost", presentOrTrue, none, stays)                                   \
    X(bool, featurePerDisplayControl, setFeaturePerDisplayControl, false, persistSettings, "sv_ft_perDisplay", plain, none, stays)                                  \
    X(bool, featureInactivityPause, setFeatureInactivityPause, false, persistSettings, "sv_ft_inactivity", plain, none, stays)                                      \
    X(bool, featureSpotlightDimming, setFeatureSpotlightDimming, false, persistSettings, "sv_ft_spotlight", plain, none, stays)                                     \
    X(bool, featureSoftwareCursor, setFeatureSoftwareCursor, false, persistSettings, "sv_ft_cursor", plain, none, stays)                                            \
    X(bool, featureSoundscapes, setFeatureSoundscapes, false, persistSettings, "sv_ft_soundscapes", plain, none, stays)                                             \
    X(double, soundscapeVolume, setSoundscapeVolume, 0.3, didSetSoundscapeVolume, "sv_soundscapeVolume", positive, unitInterval, stays)                             \
    X(std::string, soundscapeTheme, setSoundscapeTheme, std::string("Ocean Waves"), didSetSoundscapeTheme, "sv_soundscapeTheme", plain, none, stays)               \
    X(bool, hasCompletedOnboarding, setHasCompletedOnboarding, false, persistSettings, "sv_hasCompletedOnboarding", plain, none, stays)                             \
    X(bool, autoDisableByApp, setAutoDisableByApp, true, persistSettings, "sv_autoDisableByApp", presentOrTrue, none, reset)                                        \
    X(bool, autoDarkModeEnabled, setAutoDarkModeEnabled, true, persistSettings, "sv_autoDarkMode", presentOrTrue, none, reset)                                      \
    X(bool, sleepAlarmEnabled, setSleepAlarmEnabled, true, persistSettings, "sv_sleepAlarm", presentOrTrue, none, reset)                                            \
    X(bool, autoDisableFullscreen, setAutoDisableFullscreen, true, persistSettings, "sv_autoDisableFullscreen", presentOrTrue, none, reset)                         \
    X(std::int64_t, movieModeAutoRevertMinutes, setMovieModeAutoRevertMinutes, 150, persistSettings, "sv_movieModeRevert", keyOrDefault, movieRevertMinutes, reset) \
    X(bool, weekendScheduleEnabled, setWeekendScheduleEnabled, false, didSetSchedule, "sv_weekendSchedule", plain, none, reset)                                     \
    X(std::int64_t, weekendWakeHour, setWeekendWakeHour, 9, didSetSchedule, "sv_weekendWakeHour", keyOrDefault, hour, reset)                                        \
    X(std::int64_t, weekendSleepHour, setWeekendSleepHour, 0, didSetSchedule, "sv_weekendSleepHour", plain, hour, reset)                                            \
    X(std::int64_t, manualKelvinAdjustment, setManualKelvinAdjustment, 0, noHandler, "", none, none, reset)                                                         \
    X(std::int64_t, sleepQualityRating, setSleepQualityRating, 0, persistSettings, "sv_sleepQualityRating", plain, sleepRating, stays)                              \
    X(std::string, lastSleepRatingDate, setLastSleepRatingDate, std::string(), noHandler, "sv_lastSleepRatingDate", plain, none, stays)                             \
    X(bool, transitionSoundsEnabled, setTransitionSoundsEnabled, true, persistSettings, "sv_transitionSounds", presentOrTrue, none, stays)                          \
    X(bool, vignetteEnabled, setVignetteEnabled, false, didSetVignetteEnabled, "sv_vignetteEnabled", plain, none, reset)                                            \
    X(double, vignetteRadius, setVignetteRadius, 0.6, didSetVignetteShape, "sv_vignetteRadius", positive, unitInterval, reset)                                      \
    X(double, vignetteOpacity, setVignetteOpacity, 0.5, didSetVignetteShape, "sv_vignetteOpacity", positive, unitInterval, reset)                                   \
    X(bool, ambientLightEnabled, setAmbientLightEnabled, false, persistSettings, "sv_ambientLight", plain, none, reset)                                             \
    X(bool, flowDetectionEnabled, setFlowDetectionEnabled, true, persistSettings, "sv_flowDetection", presentOrTrue, none, reset)                                   \
    X(bool, dstSmoothingEnabled, setDstSmoothingEnabled, true, persistSettings, "sv_dstSmoothing", presentOrTrue, none, reset)                                      \
    /* The day's counters: stored with the settings, read back with the day state */                                                                               \
    X(double, morningSunlightToday, setMorningSunlightToday, 0.0, noHandler, "sv_morningSunlightToday", dayState, dayPoints, stays)                                 \
    X(std::string, lastDailyResetDate, setLastDailyResetDate, std::string(), noHandler, "sv_lastDailyResetDate", dayState, none, stays)                             \
    X(double, lightDebtPeakToday, setLightDebtPeakToday, 0.0, noHandler, "sv_lightDebtPeakToday", dayState, dayPoints, stays)                                       \
    /* Live values, never stored */                                                                                                                                 \
    X(std::optional<Coordinate>, coordinate, setCoordinate, std::nullopt, didSetCoordinate, "", none, none, stays)                                                 \
    X(bool, hasLocationFix, setHasLocationFix, false, noHandler, "", none, none, stays)                                                                             \
    X(std::optional<CircadianState>, currentState, setCurrentState, std::nullopt, noHandler, "", none, none, stays)                                                \
    X(bool, showBreakOverlay, setShowBreakOverlay, false, noHandler, "", none, none, stays)                                                                         \
    X(std::int64_t, breakRemainingSeconds, setBreakRemainingSeconds, 0, noHandler, "", none, none, stays)                                                           \
    X(std::string, breakCountdownText, setBreakCountdownText, std::string(), noHandler, "", none, none, stays)                                                      \
    X(bool, isUserInactive, setIsUserInactive, false, noHandler, "", none, none, stays)                                                                             \
    X(std::optional<std::string>, currentFrontmostBundleID, setCurrentFrontmostBundleID, std::nullopt, noHandler, "", none, none, stays)                           \
    X(bool, isFullscreenAppActive, setIsFullscreenAppActive, false, noHandler, "", none, none, stays)                                                               \
    X(std::string, lastPhaseName, setLastPhaseName, std::string(), noHandler, "", none, none, stays)                                                                \
    X(double, ambientLux, setAmbientLux, 0.0, noHandler, "", none, none, stays)                                                                                     \
    X(double, ambientBrightnessFactor, setAmbientBrightnessFactor, 1.0, noHandler, "", none, none, stays)                                                           \
    X(bool, isInFlowState, setIsInFlowState, false, noHandler, "", none, none, stays)                                                                               \
    X(std::optional<std::int64_t>, appliedKelvin, setAppliedKelvin, std::nullopt, noHandler, "", none, none, stays)                                                 \
    X(double, screenTimeToday, setScreenTimeToday, 0.0, noHandler, "", none, none, stays)                                                                           \
    X(double, lightDebtPoints, setLightDebtPoints, 0.0, noHandler, "", none, none, stays)                                                                           \
    X(std::string, lightDebtLevel, setLightDebtLevel, std::string("low"), noHandler, "", none, none, stays)                                                         \
    X(std::string, lightDebtRecommendation, setLightDebtRecommendation, std::string("Great job! Keep it up."), noHandler, "", none, none, stays)
// clang-format on
