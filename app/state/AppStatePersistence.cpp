// The settings and the day state in the user defaults: the 83 keys, written on every persist and
// read back once, at launch.

#include <cmath>

#include "app/state/AppState.h"
#include "app/state/SettingRanges.h"
#include "core/foundation/Calendar.h"
#include "core/foundation/Clock.h"
#include "core/foundation/Format.h"
#include "core/foundation/Json.h"
#include "core/foundation/Log.h"

namespace solvara {

namespace {

constexpr std::string_view component = "AppState";

using Ranges = SettingRanges;

// Keys of the four stored documents.
constexpr std::string_view perDisplayKey = "sv_perDisplaySettings";
constexpr std::string_view exposureKey = "sv_exposureRecords";
constexpr std::string_view customProfilesKey = "sv_customProfiles";
constexpr std::string_view healthHistoryKey = "sv_healthHistory";

std::optional<std::string> encodePerDisplay(const PerDisplaySettingsMap& map) {
    std::vector<PerDisplaySettings> records;
    records.reserve(map.size());
    for (const auto& [id, record] : map) records.push_back(record);
    return json::encode(PerDisplaySettings::encodeList(records));
}

// The seconds of screen time a stored exposure document holds for `day`, read before the
// records of other days are dropped. Empty when the document is not a list of records.
std::optional<double> screenHoursOfDay(const nlohmann::json& document, const std::string& day) {
    if (!document.is_array()) return std::nullopt;
    double seconds = 0.0;
    for (const auto& element : document) {
        if (!element.is_object()) return std::nullopt;
        json::ObjectReader reader(element);
        const Date timestamp = reader.required<Date>("timestamp");
        const double duration = reader.required<double>("durationSeconds");
        if (!reader.ok()) return std::nullopt;
        if (duration > 0 && HealthHistory::dateString(timestamp) == day) seconds += duration;
    }
    return seconds / 3600.0;
}

}  // namespace

// --- Writing -------------------------------------------------------------------------------

void AppState::persistSettings() {
    if (isRestoring_) return;
    UserDefaults& d = defaults_;
    auto putBool = [&](std::string_view key, bool value) { d.set(key, value); };
    auto putInt = [&](std::string_view key, std::int64_t value) { d.set(key, value); };
    auto putDouble = [&](std::string_view key, double value) { d.set(key, value); };
    auto putString = [&](std::string_view key, std::string_view value) { d.set(key, std::string(value)); };

    putBool("sv_isEnabled", isEnabled_);
    putString("sv_currentMode", rawValue(currentMode_));
    putBool("sv_morningBoost", morningBoostEnabled_);
    putBool("sv_pwmProtection", pwmProtectionEnabled_);
    putDouble("sv_dimmerOpacity", softwareDimmerOpacity_);
    putDouble("sv_pwmThreshold", pwmThreshold_);
    putInt("sv_wakeHour", wakeHour_);
    putInt("sv_wakeMinute", wakeMinute_);
    putInt("sv_sleepHour", sleepHour_);
    putInt("sv_sleepMinute", sleepMinute_);
    putBool("sv_breaksEnabled", breaksEnabled_);
    putInt("sv_breakInterval", breakIntervalMinutes_);
    putInt("sv_breakPostpone", breakPostponeMinutes_);
    putString("sv_locationSource", rawValue(locationSource_));
    putString("sv_selectedCity", selectedCity_.name);
    putInt("sv_dayKelvin", dayKelvin_);
    putInt("sv_nightKelvin", nightKelvin_);
    putInt("sv_customModeKelvin", customModeKelvin_);
    putDouble("sv_customModeDimLevel", customModeDimLevel_);
    putBool("sv_inactivityPause", inactivityPauseEnabled_);
    putInt("sv_inactivityThreshold", inactivityThresholdMinutes_);
    putString("sv_screenEffect", rawValue(screenEffect_));
    putInt("sv_transitionDay", transitionDurationDay_);
    putInt("sv_transitionNight", transitionDurationNight_);
    putBool("sv_manualNight", useManualNightSchedule_);
    putInt("sv_nightStartHour", manualNightStartHour_);
    putInt("sv_nightStartMinute", manualNightStartMinute_);
    putInt("sv_nightEndHour", manualNightEndHour_);
    putInt("sv_nightEndMinute", manualNightEndMinute_);
    putString("sv_gammaAPI", rawValue(gammaAPI_));
    putString("sv_breakStartSound", rawValue(breakStartSound_));
    putString("sv_breakEndSound", rawValue(breakEndSound_));
    putString("sv_breakScreenType", rawValue(breakScreenType_));
    putBool("sv_fontSmoothing", fontSmoothingEnabled_);
    putBool("sv_spotlight", spotlightEnabled_);
    putDouble("sv_spotlightRadius", spotlightRadius_);
    putDouble("sv_spotlightOpacity", spotlightOpacity_);
    putBool("sv_softwareCursor", useSoftwareCursor_);
    putString("sv_cursorStyle", rawValue(cursorStyle_));
    putBool("sv_blockKeyboard", blockKeyboardDuringBreaks_);
    putBool("sv_hideDock", hideFromDockOnClose_);
    if (const auto perDisplay = encodePerDisplay(perDisplaySettings_)) setDocument(perDisplayKey, *perDisplay);
    putBool("sv_autoDisableByApp", autoDisableByApp_);
    putBool("sv_autoDarkMode", autoDarkModeEnabled_);
    putBool("sv_sleepAlarm", sleepAlarmEnabled_);
    putBool("sv_autoDisableFullscreen", autoDisableFullscreen_);
    putInt("sv_movieModeRevert", movieModeAutoRevertMinutes_);
    putBool("sv_weekendSchedule", weekendScheduleEnabled_);
    putInt("sv_weekendWakeHour", weekendWakeHour_);
    putInt("sv_weekendSleepHour", weekendSleepHour_);
    putInt("sv_sleepQualityRating", sleepQualityRating_);
    putString("sv_lastSleepRatingDate", lastSleepRatingDate_);
    putBool("sv_transitionSounds", transitionSoundsEnabled_);
    putBool("sv_ft_circadian", featureCircadianFiltering_);
    putBool("sv_ft_breaks", featureBreakReminders_);
    putBool("sv_ft_morningBoost", featureMorningBoost_);
    putBool("sv_ft_perDisplay", featurePerDisplayControl_);
    putBool("sv_ft_inactivity", featureInactivityPause_);
    putBool("sv_ft_spotlight", featureSpotlightDimming_);
    putBool("sv_ft_cursor", featureSoftwareCursor_);
    putBool("sv_ft_soundscapes", featureSoundscapes_);
    putDouble("sv_soundscapeVolume", soundscapeVolume_);
    putString("sv_soundscapeTheme", soundscapeTheme_);
    putBool("sv_hasCompletedOnboarding", hasCompletedOnboarding_);
    if (const auto records = exposureTracker_.encodeTodayRecords()) setDocument(exposureKey, *records);
    putInt("sv_breaksCompleted", breakScheduler_.breaksCompleted());
    putInt("sv_breaksSkipped", breakScheduler_.breaksSkipped());
    putDouble("sv_lightDebtPoints", lightDebtCalculator_.debtPoints());
    putString("sv_lightDebtDate", lightDebtCalculator_.lastDebtDate());
    putDouble("sv_morningSunlightToday", morningSunlightToday_);
    if (const auto profiles = profileManager_.encodeCustomProfiles()) {
        setDocument(customProfilesKey, *profiles);
    } else if (!protectedKeys_.contains(customProfilesKey)) {
        d.remove(customProfilesKey);
    }
    putString("sv_lastDailyResetDate", lastDailyResetDate_);
    putDouble("sv_lightDebtPeakToday", lightDebtPeakToday_);
    // A year of history changes once a day at most: encode it only when it did.
    if (!storedHistory_ || *storedHistory_ != healthHistory_.snapshots() || !d.contains(healthHistoryKey)) {
        if (const auto history = healthHistory_.encode()) {
            setDocument(healthHistoryKey, *history);
            storedHistory_ = healthHistory_.snapshots();
        }
    }
    putBool("sv_vignetteEnabled", vignetteEnabled_);
    putDouble("sv_vignetteRadius", vignetteRadius_);
    putDouble("sv_vignetteOpacity", vignetteOpacity_);
    putBool("sv_ambientLight", ambientLightEnabled_);
    putBool("sv_flowDetection", flowDetectionEnabled_);
    putBool("sv_dstSmoothing", dstSmoothingEnabled_);
    const auto dst = dstSmoother_.persistableState();
    putDouble("sv_dstTransitionDate", dst.transitionTimestamp);
    putInt("sv_dstDirection", dst.direction);
    putInt("sv_dstLastOffset", dst.lastOffset);
    // No flush: the store writes by itself shortly after a change.
}

void AppState::setDocument(std::string_view key, std::string_view document) {
    if (protectedKeys_.contains(key)) return;
    defaults_.set(key, UserDefaults::JsonText{document});
}

// --- Kept-aside documents ----------------------------------------------------------------

void AppState::keepAside(std::string_view key, const std::string& reason) {
    // The stored text as it is, whatever its type, so the user can still recover it.
    std::string content;
    if (auto document = defaults_.jsonValue(key)) {
        content = document->dump(2);
    } else if (auto text = defaults_.stringValue(key)) {
        content = *text;
    }
    std::optional<std::string> path;
    if (auto directory = platform_.files.stateDirectory(); directory && !content.empty()) {
        const DateComponents c = Calendar::utcComponents(Clock::now());
        const std::string stamp = format::integer(c.year * 10000 + c.month * 100 + c.day) + "-" +
                                  format::integer(c.hour * 10000 + c.minute * 100 + c.second);
        std::string base = *directory;
        base.append("/recovered-").append(key).append("-").append(stamp);
        for (int attempt = 1; attempt < 100 && !path; ++attempt) {
            std::string candidate = base;
            if (attempt > 1) candidate.append("-").append(format::integer(attempt));
            candidate.append(".json");
            // Never replace an older copy.
            if (platform_.files.read(candidate, std::size_t{1} << 30).has_value()) continue;
            if (platform_.files.writeAtomically(candidate, content + "\n")) path = candidate;
            break;
        }
    }
    if (path) {
        Log::write(component, "Stored " + std::string(key) + " could not be read (" + reason + "); kept a copy at " +
                                  *path);
    } else {
        // Without a copy elsewhere the stored document is the only one: leave it alone.
        protectedKeys_.insert(std::string(key));
        Log::write(component, "Stored " + std::string(key) + " could not be read (" + reason +
                                  ") nor copied aside; it is left as it is and not saved over this session");
    }
}

// --- Reading back at launch --------------------------------------------------------------

void AppState::restoreSettings() {
    UserDefaults& d = defaults_;
    isRestoring_ = true;
    if (!d.contains("sv_isEnabled")) {
        isRestoring_ = false;  // first launch: every default stays
        return;
    }

    // The rules of the key table, each falling back to the default for a value that would
    // break something (a zero interval, a kelvin the colour maths cannot use, an hour whose
    // minutes overflow, a number that is not one).
    auto plainBool = [&](std::string_view key) { return d.boolValue(key).value_or(false); };
    auto presentOrTrue = [&](std::string_view key) { return d.contains(key) ? d.boolValue(key).value_or(false) : true; };
    auto plainInt = [&](std::string_view key, Ranges::Range<std::int64_t> range, std::int64_t fallback) {
        const std::int64_t value = d.integerValue(key).value_or(0);
        return range.contains(value) ? value : fallback;
    };
    auto positiveInt = [&](std::string_view key, Ranges::Range<std::int64_t> range, std::int64_t fallback) {
        const std::int64_t value = d.integerValue(key).value_or(0);
        return value > 0 && range.contains(value) ? value : fallback;
    };
    auto keyOrDefaultInt = [&](std::string_view key, Ranges::Range<std::int64_t> range, std::int64_t fallback) {
        const auto value = d.integerValue(key);
        return value && range.contains(*value) ? *value : fallback;
    };
    auto plainDouble = [&](std::string_view key, Ranges::Range<double> range, double fallback) {
        const double value = d.realValue(key).value_or(0.0);
        return range.contains(value) ? value : fallback;
    };
    auto positiveDouble = [&](std::string_view key, Ranges::Range<double> range, double fallback) {
        const double value = d.realValue(key).value_or(0.0);
        return value > 0 && range.contains(value) ? value : fallback;
    };
    // Non-zero: a stored 0 (or an absent key) gives the default; other values stand.
    auto nonZeroDouble = [&](std::string_view key, Ranges::Range<double> range, double fallback) {
        const double value = d.realValue(key).value_or(0.0);
        return value != 0.0 && range.contains(value) ? value : fallback;
    };
    auto nonZeroInt = [&](std::string_view key, Ranges::Range<std::int64_t> range, std::int64_t fallback) {
        const std::int64_t value = d.integerValue(key).value_or(0);
        return value != 0 && range.contains(value) ? value : fallback;
    };
    auto validRaw = [&]<class E>(std::string_view key, E fallback) {
        const auto text = d.stringValue(key);
        const auto value = text ? fromRawValue<E>(*text) : std::nullopt;
        return value.value_or(fallback);
    };

    setIsEnabled(plainBool("sv_isEnabled"));
    setCurrentMode(validRaw("sv_currentMode", DisplayMode::auto_));
    setMorningBoostEnabled(plainBool("sv_morningBoost"));
    setPwmProtectionEnabled(plainBool("sv_pwmProtection"));
    setSoftwareDimmerOpacity(nonZeroDouble("sv_dimmerOpacity", Ranges::dimmerOpacity, 0.3));
    setPwmThreshold(nonZeroDouble("sv_pwmThreshold", Ranges::anyNumber, 40.0));
    setWakeHour(plainInt("sv_wakeHour", Ranges::hour, 7));
    setWakeMinute(plainInt("sv_wakeMinute", Ranges::minute, 0));
    setSleepHour(keyOrDefaultInt("sv_sleepHour", Ranges::hour, 23));
    setSleepMinute(plainInt("sv_sleepMinute", Ranges::minute, 0));
    setBreaksEnabled(plainBool("sv_breaksEnabled"));
    setBreakIntervalMinutes(nonZeroInt("sv_breakInterval", Ranges::intervalMinutes, 20));
    setBreakPostponeMinutes(nonZeroInt("sv_breakPostpone", Ranges::intervalMinutes, 5));
    setLocationSource(validRaw("sv_locationSource", LocationSource::automatic));
    if (const auto name = d.stringValue("sv_selectedCity")) {
        if (const auto city = CityLocation::preset(*name)) setSelectedCity(*city);
    }
    setDayKelvin(positiveInt("sv_dayKelvin", Ranges::kelvin, 6500));
    setNightKelvin(positiveInt("sv_nightKelvin", Ranges::kelvin, 1800));
    setCustomModeKelvin(positiveInt("sv_customModeKelvin", Ranges::kelvin, 4000));
    setCustomModeDimLevel(plainDouble("sv_customModeDimLevel", Ranges::anyNumber, 0.0));
    setInactivityPauseEnabled(plainBool("sv_inactivityPause"));
    setInactivityThresholdMinutes(positiveInt("sv_inactivityThreshold", Ranges::inactivityMinutes, 15));
    setScreenEffect(validRaw("sv_screenEffect", ScreenEffect::none));
    setTransitionDurationDay(positiveInt("sv_transitionDay", Ranges::transitionSeconds, 1200));
    setTransitionDurationNight(positiveInt("sv_transitionNight", Ranges::transitionSeconds, 2400));
    setUseManualNightSchedule(plainBool("sv_manualNight"));
    setManualNightStartHour(keyOrDefaultInt("sv_nightStartHour", Ranges::hour, 20));
    setManualNightStartMinute(plainInt("sv_nightStartMinute", Ranges::minute, 0));
    setManualNightEndHour(keyOrDefaultInt("sv_nightEndHour", Ranges::hour, 6));
    setManualNightEndMinute(plainInt("sv_nightEndMinute", Ranges::minute, 0));
    setGammaAPI(GammaAPI::byTable);  // every launch starts with gamma tables, whatever was stored
    setBreakStartSound(validRaw("sv_breakStartSound", BreakSound::chime));
    setBreakEndSound(validRaw("sv_breakEndSound", BreakSound::bell));
    setBreakScreenType(validRaw("sv_breakScreenType", BreakScreenType::simpleText));
    setFontSmoothingEnabled(presentOrTrue("sv_fontSmoothing"));
    setSpotlightEnabled(plainBool("sv_spotlight"));
    setSpotlightRadius(nonZeroDouble("sv_spotlightRadius", Ranges::anyNumber, 200.0));
    setSpotlightOpacity(nonZeroDouble("sv_spotlightOpacity", Ranges::anyNumber, 0.7));
    setUseSoftwareCursor(plainBool("sv_softwareCursor"));
    setCursorStyle(validRaw("sv_cursorStyle", CursorStyle::defaultCursor));
    setBlockKeyboardDuringBreaks(plainBool("sv_blockKeyboard"));
    setHideFromDockOnClose(plainBool("sv_hideDock"));
    if (d.contains(perDisplayKey)) {
        const auto document = d.jsonValue(perDisplayKey);
        auto records = document ? PerDisplaySettings::decodeList(*document) : std::nullopt;
        if (records) {
            PerDisplaySettingsMap map;
            for (auto& record : *records) {
                // Out-of-range overrides are dropped rather than shown.
                if (record.kelvinOverride && !Ranges::kelvin.contains(*record.kelvinOverride)) {
                    record.kelvinOverride.reset();
                }
                if (record.brightnessOverride && !Ranges::brightness.contains(*record.brightnessOverride)) {
                    record.brightnessOverride.reset();
                }
                map.try_emplace(record.displayID, std::move(record));  // the first of a repeated id wins
            }
            setPerDisplaySettings(std::move(map));
        } else {
            keepAside(perDisplayKey, "not a list of display records");
        }
    }
    setFeatureCircadianFiltering(presentOrTrue("sv_ft_circadian"));
    setFeatureBreakReminders(plainBool("sv_ft_breaks"));
    setFeatureMorningBoost(presentOrTrue("sv_ft_morningBoost"));
    setFeaturePerDisplayControl(plainBool("sv_ft_perDisplay"));
    setFeatureInactivityPause(plainBool("sv_ft_inactivity"));
    setFeatureSpotlightDimming(plainBool("sv_ft_spotlight"));
    setFeatureSoftwareCursor(plainBool("sv_ft_cursor"));
    setFeatureSoundscapes(plainBool("sv_ft_soundscapes"));
    setSoundscapeVolume(positiveDouble("sv_soundscapeVolume", Ranges::unitInterval, 0.3));
    setSoundscapeTheme(d.stringValue("sv_soundscapeTheme").value_or("Ocean Waves"));
    setHasCompletedOnboarding(plainBool("sv_hasCompletedOnboarding"));
    setAutoDisableByApp(presentOrTrue("sv_autoDisableByApp"));
    setAutoDarkModeEnabled(presentOrTrue("sv_autoDarkMode"));
    setSleepAlarmEnabled(presentOrTrue("sv_sleepAlarm"));
    setAutoDisableFullscreen(presentOrTrue("sv_autoDisableFullscreen"));
    setMovieModeAutoRevertMinutes(keyOrDefaultInt("sv_movieModeRevert", Ranges::movieRevertMinutes, 150));
    setWeekendScheduleEnabled(plainBool("sv_weekendSchedule"));
    setWeekendWakeHour(keyOrDefaultInt("sv_weekendWakeHour", Ranges::hour, 9));
    setWeekendSleepHour(plainInt("sv_weekendSleepHour", Ranges::hour, 0));
    setSleepQualityRating(plainInt("sv_sleepQualityRating", Ranges::sleepRating, 0));
    setLastSleepRatingDate(d.stringValue("sv_lastSleepRatingDate").value_or(""));
    setTransitionSoundsEnabled(presentOrTrue("sv_transitionSounds"));
    setVignetteEnabled(plainBool("sv_vignetteEnabled"));
    setVignetteRadius(positiveDouble("sv_vignetteRadius", Ranges::unitInterval, 0.6));
    setVignetteOpacity(positiveDouble("sv_vignetteOpacity", Ranges::unitInterval, 0.5));
    setAmbientLightEnabled(plainBool("sv_ambientLight"));
    setFlowDetectionEnabled(presentOrTrue("sv_flowDetection"));
    setDstSmoothingEnabled(presentOrTrue("sv_dstSmoothing"));

    // Daylight saving: a stored offset of 0 is a real offset (UTC+0 in winter), so the key's
    // presence decides, not its value.
    if (const auto lastOffset = d.integerValue("sv_dstLastOffset");
        lastOffset && Ranges::gmtOffsetSeconds.contains(*lastOffset)) {
        const double timestamp = d.realValue("sv_dstTransitionDate").value_or(0.0);
        const std::int64_t direction = d.integerValue("sv_dstDirection").value_or(0);
        dstSmoother_.restore(std::isfinite(timestamp) ? timestamp : 0.0,
                             static_cast<int>(Ranges::dstDirection.contains(direction) ? direction : 0),
                             static_cast<int>(*lastOffset));
    }

    // The engine takes the restored schedule directly (the handlers above already did, shifted).
    circadianEngine_.setWakeTime({static_cast<int>(effectiveWakeHour()), static_cast<int>(wakeMinute_)});
    circadianEngine_.setSleepTime({static_cast<int>(effectiveSleepHour()), static_cast<int>(sleepMinute_)});
    circadianEngine_.setMorningBoostEnabled(morningBoostEnabled_);
    circadianEngine_.setDayKelvin(dayKelvin_);
    circadianEngine_.setNightKelvin(nightKelvin_);

    if (pwmProtectionEnabled_) softwareDimmer_.activate(softwareDimmerOpacity_);

    restoreDayState();

    if (breaksEnabled_) {
        auto config = breakScheduler_.config();
        config.intervalMinutes = breakIntervalMinutes_;
        breakScheduler_.setConfig(config);
        breakScheduler_.start();  // the first break counts from the end of the restore
    }
    isRestoring_ = false;

    // The handlers above only stored their values: the displays take the restored state once.
    if (coordinate_) {
        recomputeCircadianState();
    } else {
        applyCurrentState();
    }
    if (vignetteEnabled_) {
        vignetteDimmer_.radius = vignetteRadius_;
        vignetteDimmer_.opacity = vignetteOpacity_;
        vignetteDimmer_.activate();
    }
}

void AppState::restoreDayState() {
    UserDefaults& d = defaults_;
    const auto documentText = [&](std::string_view key) -> std::optional<std::string> {
        if (!d.contains(key)) return std::nullopt;
        if (auto document = d.jsonValue(key)) return document->dump();
        return std::string();  // present but not a document: fails like unreadable text
    };

    // Each owner leaves itself untouched by a document it cannot read; the document is then
    // kept aside instead of being overwritten by the next persist.
    if (const auto profiles = documentText(customProfilesKey)) {
        if (!profileManager_.restoreCustomProfiles(*profiles)) {
            keepAside(customProfilesKey, "not a list of activity profiles");
        }
    }
    if (const auto history = documentText(healthHistoryKey)) {
        if (!healthHistory_.restore(*history)) keepAside(healthHistoryKey, "not a list of daily snapshots");
    }

    const std::string storedDay = d.stringValue("sv_lastDailyResetDate").value_or("");
    const std::string today = HealthHistory::dateString(Clock::now());
    const bool storedDayOver = !storedDay.empty() && storedDay != today;

    // The closed day's screen time comes from its own samples, summed before the tracker keeps
    // only today's.
    double closedDayScreenHours = 0.0;
    if (const auto records = documentText(exposureKey)) {
        if (!exposureTracker_.restoreRecords(*records)) {
            keepAside(exposureKey, "not a list of exposure records");
        } else {
            if (storedDayOver) {
                if (const auto document = d.jsonValue(exposureKey)) {
                    closedDayScreenHours = screenHoursOfDay(*document, storedDay).value_or(0.0);
                }
            }
            setScreenTimeToday(exposureTracker_.todayScreenTimeHours());
        }
    }

    const std::int64_t completed = d.integerValue("sv_breaksCompleted").value_or(0);
    const std::int64_t skipped = d.integerValue("sv_breaksSkipped").value_or(0);
    if (Ranges::breakCount.contains(completed) && Ranges::breakCount.contains(skipped) &&
        (completed > 0 || skipped >= 1)) {
        breakScheduler_.restoreStats(completed, skipped);
    }

    const double points = d.realValue("sv_lightDebtPoints").value_or(0.0);
    if (points > 0 && Ranges::dayPoints.contains(points)) {
        lightDebtCalculator_.restoreDebt(points, d.stringValue("sv_lightDebtDate").value_or(""));
        refreshLightDebtReadouts();
    }

    auto dayValue = [&](std::string_view key) {
        const double value = d.realValue(key).value_or(0.0);
        return Ranges::dayPoints.contains(value) ? value : 0.0;
    };
    setLightDebtPeakToday(dayValue("sv_lightDebtPeakToday"));
    setMorningSunlightToday(dayValue("sv_morningSunlightToday"));

    if (storedDayOver) closeDay(storedDay, closedDayScreenHours);
    setLastDailyResetDate(today);
}

}  // namespace solvara
