#pragma once

// Every observed property of AppState, in one table: type, getter name, setter name, the value
// the constructor stores (without running a handler) and the change handler the setter runs on
// every write. Included by AppState.h only; it expands the table into the fields, the getters,
// the setters and the Property enumeration.
//
// Handlers: `noHandler` stores and notifies only; `persistSettings` only persists; the others
// are members of AppState.
//
// X(type, name, setter, default, handler)
#define SOLVARA_APP_STATE_PROPERTIES(X)                                                                        \
    /* Filtering and mode */                                                                                   \
    X(bool, isEnabled, setIsEnabled, true, didSetIsEnabled)                                                    \
    X(DisplayMode, currentMode, setCurrentMode, DisplayMode::auto_, didSetCurrentMode)                         \
    X(std::int64_t, manualKelvinAdjustment, setManualKelvinAdjustment, 0, noHandler)                           \
    X(std::int64_t, customModeKelvin, setCustomModeKelvin, 4000, didSetCustomModeKelvin)                       \
    X(double, customModeDimLevel, setCustomModeDimLevel, 0.0, persistSettings)                                 \
    X(GammaAPI, gammaAPI, setGammaAPI, GammaAPI::byTable, didSetOutput)                                        \
    X(ScreenEffect, screenEffect, setScreenEffect, ScreenEffect::none, didSetScreenEffect)                     \
    X(PerDisplaySettingsMap, perDisplaySettings, setPerDisplaySettings, {}, persistSettings)                   \
    X(std::int64_t, movieModeAutoRevertMinutes, setMovieModeAutoRevertMinutes, 150, persistSettings)           \
    /* Daily schedule and engine settings */                                                                   \
    X(bool, morningBoostEnabled, setMorningBoostEnabled, true, didSetMorningBoostEnabled)                      \
    X(std::int64_t, wakeHour, setWakeHour, 7, didSetSchedule)                                                  \
    X(std::int64_t, wakeMinute, setWakeMinute, 0, didSetSchedule)                                              \
    X(std::int64_t, sleepHour, setSleepHour, 23, didSetSchedule)                                               \
    X(std::int64_t, sleepMinute, setSleepMinute, 0, didSetSchedule)                                            \
    X(std::int64_t, dayKelvin, setDayKelvin, 6500, didSetDayKelvin)                                            \
    X(std::int64_t, nightKelvin, setNightKelvin, 1800, didSetNightKelvin)                                      \
    X(std::int64_t, transitionDurationDay, setTransitionDurationDay, 1200, persistSettings)                    \
    X(std::int64_t, transitionDurationNight, setTransitionDurationNight, 2400, persistSettings)                \
    X(bool, useManualNightSchedule, setUseManualNightSchedule, false, didSetManualNightSchedule)               \
    X(std::int64_t, manualNightStartHour, setManualNightStartHour, 20, didSetManualNightSchedule)               \
    X(std::int64_t, manualNightStartMinute, setManualNightStartMinute, 0, didSetManualNightSchedule)           \
    X(std::int64_t, manualNightEndHour, setManualNightEndHour, 6, didSetManualNightSchedule)                   \
    X(std::int64_t, manualNightEndMinute, setManualNightEndMinute, 0, didSetManualNightSchedule)               \
    X(bool, weekendScheduleEnabled, setWeekendScheduleEnabled, false, didSetSchedule)                          \
    X(std::int64_t, weekendWakeHour, setWeekendWakeHour, 9, didSetSchedule)                                    \
    X(std::int64_t, weekendSleepHour, setWeekendSleepHour, 0, didSetSchedule)                                  \
    X(bool, dstSmoothingEnabled, setDstSmoothingEnabled, true, persistSettings)                                \
    /* Location */                                                                                             \
    X(std::optional<Coordinate>, coordinate, setCoordinate, std::nullopt, didSetCoordinate)                    \
    X(LocationSource, locationSource, setLocationSource, LocationSource::automatic, didSetLocationSource)      \
    X(CityLocation, selectedCity, setSelectedCity, CityLocation::presets().front(), didSetSelectedCity)        \
    /* Display comfort */                                                                                      \
    X(bool, pwmProtectionEnabled, setPwmProtectionEnabled, false, didSetPwmProtectionEnabled)                  \
    X(double, softwareDimmerOpacity, setSoftwareDimmerOpacity, 0.3, didSetSoftwareDimmerOpacity)               \
    X(double, pwmThreshold, setPwmThreshold, 40.0, persistSettings)                                            \
    X(bool, fontSmoothingEnabled, setFontSmoothingEnabled, true, persistSettings)                              \
    X(bool, spotlightEnabled, setSpotlightEnabled, false, persistSettings)                                     \
    X(double, spotlightRadius, setSpotlightRadius, 200.0, persistSettings)                                     \
    X(double, spotlightOpacity, setSpotlightOpacity, 0.7, persistSettings)                                     \
    X(bool, useSoftwareCursor, setUseSoftwareCursor, false, persistSettings)                                   \
    X(CursorStyle, cursorStyle, setCursorStyle, CursorStyle::defaultCursor, persistSettings)                   \
    X(bool, vignetteEnabled, setVignetteEnabled, false, didSetVignetteEnabled)                                 \
    X(double, vignetteRadius, setVignetteRadius, 0.6, didSetVignetteShape)                                     \
    X(double, vignetteOpacity, setVignetteOpacity, 0.5, didSetVignetteShape)                                   \
    /* Automatic behaviour */                                                                                  \
    X(bool, inactivityPauseEnabled, setInactivityPauseEnabled, false, persistSettings)                         \
    X(std::int64_t, inactivityThresholdMinutes, setInactivityThresholdMinutes, 15, persistSettings)            \
    X(bool, autoDisableByApp, setAutoDisableByApp, true, persistSettings)                                      \
    X(bool, autoDarkModeEnabled, setAutoDarkModeEnabled, true, persistSettings)                                \
    X(bool, autoDisableFullscreen, setAutoDisableFullscreen, true, persistSettings)                            \
    X(bool, ambientLightEnabled, setAmbientLightEnabled, false, persistSettings)                               \
    X(bool, flowDetectionEnabled, setFlowDetectionEnabled, true, persistSettings)                              \
    /* Breaks */                                                                                               \
    X(bool, breaksEnabled, setBreaksEnabled, false, didSetBreaksEnabled)                                       \
    X(std::int64_t, breakIntervalMinutes, setBreakIntervalMinutes, 20, didSetBreakIntervalMinutes)             \
    X(std::int64_t, breakPostponeMinutes, setBreakPostponeMinutes, 5, persistSettings)                         \
    X(BreakSound, breakStartSound, setBreakStartSound, BreakSound::chime, persistSettings)                     \
    X(BreakSound, breakEndSound, setBreakEndSound, BreakSound::bell, persistSettings)                          \
    X(BreakScreenType, breakScreenType, setBreakScreenType, BreakScreenType::simpleText, persistSettings)      \
    X(bool, blockKeyboardDuringBreaks, setBlockKeyboardDuringBreaks, false, persistSettings)                   \
    /* Sleep, sound and application */                                                                         \
    X(bool, sleepAlarmEnabled, setSleepAlarmEnabled, true, persistSettings)                                    \
    X(std::int64_t, sleepQualityRating, setSleepQualityRating, 0, persistSettings)                             \
    X(std::string, lastSleepRatingDate, setLastSleepRatingDate, std::string(), noHandler)                      \
    X(bool, transitionSoundsEnabled, setTransitionSoundsEnabled, true, persistSettings)                        \
    X(double, soundscapeVolume, setSoundscapeVolume, 0.3, didSetSoundscapeVolume)                              \
    X(std::string, soundscapeTheme, setSoundscapeTheme, std::string("Ocean Waves"), didSetSoundscapeTheme)     \
    X(bool, hasCompletedOnboarding, setHasCompletedOnboarding, false, persistSettings)                         \
    X(bool, hideFromDockOnClose, setHideFromDockOnClose, false, persistSettings)                               \
    X(bool, launchAtLoginEnabled, setLaunchAtLoginEnabled, false, didSetLaunchAtLoginEnabled)                  \
    /* Feature switches */                                                                                     \
    X(bool, featureCircadianFiltering, setFeatureCircadianFiltering, true, persistSettings)                    \
    X(bool, featureBreakReminders, setFeatureBreakReminders, false, persistSettings)                           \
    X(bool, featureMorningBoost, setFeatureMorningBoost, true, persistSettings)                                \
    X(bool, featurePerDisplayControl, setFeaturePerDisplayControl, false, persistSettings)                     \
    X(bool, featureInactivityPause, setFeatureInactivityPause, false, persistSettings)                         \
    X(bool, featureSpotlightDimming, setFeatureSpotlightDimming, false, persistSettings)                       \
    X(bool, featureSoftwareCursor, setFeatureSoftwareCursor, false, persistSettings)                           \
    X(bool, featureSoundscapes, setFeatureSoundscapes, false, persistSettings)                                 \
    /* Live values */                                                                                          \
    X(std::optional<CircadianState>, currentState, setCurrentState, std::nullopt, noHandler)                   \
    X(bool, showBreakOverlay, setShowBreakOverlay, false, noHandler)                                           \
    X(std::int64_t, breakRemainingSeconds, setBreakRemainingSeconds, 0, noHandler)                             \
    X(std::string, breakCountdownText, setBreakCountdownText, std::string(), noHandler)                        \
    X(bool, isUserInactive, setIsUserInactive, false, noHandler)                                               \
    X(std::optional<std::string>, currentFrontmostBundleID, setCurrentFrontmostBundleID, std::nullopt,         \
      noHandler)                                                                                               \
    X(bool, isFullscreenAppActive, setIsFullscreenAppActive, false, noHandler)                                 \
    X(std::string, lastPhaseName, setLastPhaseName, std::string(), noHandler)                                  \
    X(double, ambientLux, setAmbientLux, 0.0, noHandler)                                                       \
    X(double, ambientBrightnessFactor, setAmbientBrightnessFactor, 1.0, noHandler)                             \
    X(bool, isInFlowState, setIsInFlowState, false, noHandler)                                                 \
    X(std::optional<std::int64_t>, appliedKelvin, setAppliedKelvin, std::nullopt, noHandler)                   \
    X(double, screenTimeToday, setScreenTimeToday, 0.0, noHandler)                                             \
    X(double, lightDebtPoints, setLightDebtPoints, 0.0, noHandler)                                             \
    X(std::string, lightDebtLevel, setLightDebtLevel, std::string("low"), noHandler)                           \
    X(std::string, lightDebtRecommendation, setLightDebtRecommendation, std::string("Great job! Keep it up."), \
      noHandler)                                                                                               \
    X(double, morningSunlightToday, setMorningSunlightToday, 0.0, noHandler)                                   \
    X(std::string, lastDailyResetDate, setLastDailyResetDate, std::string(), noHandler)                        \
    X(double, lightDebtPeakToday, setLightDebtPeakToday, 0.0, noHandler)
