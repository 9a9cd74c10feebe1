// Putting the user's settings back to their defaults.

#include "app/state/AppState.h"

namespace solvara {

void AppState::resetToDefaults() {
    // Through the setters, in this order: every handler runs, also for unchanged values.
    setIsEnabled(true);
    setCurrentMode(DisplayMode::auto_);
    setMorningBoostEnabled(true);
    setPwmProtectionEnabled(false);
    setSoftwareDimmerOpacity(0.3);
    setPwmThreshold(40.0);
    setWakeHour(7);
    setWakeMinute(0);
    setSleepHour(23);
    setSleepMinute(0);
    setBreaksEnabled(false);
    setBreakIntervalMinutes(20);
    setBreakPostponeMinutes(5);
    setDayKelvin(6500);
    setNightKelvin(1800);
    setCustomModeKelvin(4000);
    setCustomModeDimLevel(0.0);
    setInactivityPauseEnabled(false);
    setInactivityThresholdMinutes(15);
    setScreenEffect(ScreenEffect::none);
    setTransitionDurationDay(1200);
    setTransitionDurationNight(2400);
    setUseManualNightSchedule(false);
    setManualNightStartHour(20);
    setManualNightStartMinute(0);
    setManualNightEndHour(6);
    setManualNightEndMinute(0);
    // The user's own night light back before the output returns to gamma tables.
    displayManager_.nightShiftManager().restoreState();
    setGammaAPI(GammaAPI::byTable);
    setBreakStartSound(BreakSound::chime);
    setBreakEndSound(BreakSound::bell);
    setBreakScreenType(BreakScreenType::simpleText);
    setFontSmoothingEnabled(true);
    setSpotlightEnabled(false);
    setSpotlightRadius(200.0);
    setSpotlightOpacity(0.7);
    setUseSoftwareCursor(false);
    setCursorStyle(CursorStyle::defaultCursor);
    setBlockKeyboardDuringBreaks(false);
    setHideFromDockOnClose(false);
    setAutoDisableByApp(true);
    setAutoDarkModeEnabled(true);
    setSleepAlarmEnabled(true);
    setAutoDisableFullscreen(true);
    setMovieModeAutoRevertMinutes(150);
    setWeekendScheduleEnabled(false);
    setWeekendWakeHour(9);
    setWeekendSleepHour(0);
    setManualKelvinAdjustment(0);
    setPerDisplaySettings({});
    setVignetteEnabled(false);
    setVignetteRadius(0.6);
    setVignetteOpacity(0.5);
    setAmbientLightEnabled(false);
    setFlowDetectionEnabled(true);
    setDstSmoothingEnabled(true);
    persistSettings();
}

}  // namespace solvara
