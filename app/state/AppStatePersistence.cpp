// The settings and the day state in the user defaults: the 83 keys, written on every persist and
// read back once, at launch.

#include <array>
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

// The stored key of each row of the property table ("" for none), by Property.
constexpr std::array storedKeys{
#define SOLVARA_STORED_KEY(type, name, setter, initial, handler, key, ...) std::string_view(key),
    SOLVARA_APP_STATE_PROPERTIES(SOLVARA_STORED_KEY)
#undef SOLVARA_STORED_KEY
};

std::string_view storedKey(AppState::Property property) {
    return storedKeys.at(static_cast<std::size_t>(property));
}

// One stored setting read back by its rule of the property table; empty leaves the property
// alone. A value outside `range` gives the default like a missing one: it would break
// something (a zero interval, an hour whose minutes overflow, a number that is not one).
template <class T, class R>
std::optional<T> restoredValue(const UserDefaults& d, std::string_view key, RestoreRule rule, R range,
                               const T& initial) {
    if (rule == RestoreRule::launchDefault) return initial;
    if constexpr (std::is_same_v<T, bool>) {
        if (rule == RestoreRule::presentOrTrue && !d.contains(key)) return true;
        return d.boolValue(key).value_or(false);
    } else if constexpr (std::is_same_v<T, std::int64_t> || std::is_same_v<T, double>) {
        std::optional<T> stored;
        if constexpr (std::is_same_v<T, std::int64_t>) {
            stored = d.integerValue(key);
        } else {
            stored = d.realValue(key);
        }
        const T value = stored.value_or(T{});
        bool usable = range.contains(value);
        if (rule == RestoreRule::positive) usable = usable && value > 0;
        if (rule == RestoreRule::nonZero) usable = usable && value != 0;
        if (rule == RestoreRule::keyOrDefault) usable = usable && stored.has_value();
        return usable ? value : initial;
    } else if constexpr (std::is_same_v<T, std::string>) {
        return d.stringValue(key).value_or(initial);
    } else if constexpr (std::is_same_v<T, CityLocation>) {
        const auto name = d.stringValue(key);
        return name ? CityLocation::preset(*name) : std::nullopt;  // an unknown city leaves the default
    } else {
        const auto text = d.stringValue(key);
        return (text ? fromRawValue<T>(*text) : std::nullopt).value_or(initial);
    }
}

}  // namespace

// --- Writing -------------------------------------------------------------------------------

template <RestoreRule rule, class T>
void AppState::storeSetting(std::string_view key, const T& value) {
    if constexpr (rule != RestoreRule::none) {
        if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, std::int64_t> || std::is_same_v<T, double> ||
                      std::is_same_v<T, std::string>) {
            defaults_.set(key, value);
        } else if constexpr (std::is_same_v<T, CityLocation>) {
            defaults_.set(key, value.name);
        } else if constexpr (std::is_same_v<T, PerDisplaySettingsMap>) {
            if (const auto document = encodePerDisplay(value)) setDocument(key, *document);
        } else {
            defaults_.set(key, std::string(rawValue(value)));
        }
    }
}

void AppState::persistSettings() {
    if (isRestoring_) return;
    UserDefaults& d = defaults_;
    auto putInt = [&](std::string_view key, std::int64_t value) { d.set(key, value); };
    auto putDouble = [&](std::string_view key, double value) { d.set(key, value); };

#define SOLVARA_STORE_SETTING(type, name, setter, initial, handler, key, rule, range, flags) \
    storeSetting<RestoreRule::rule>(key, name##_);
    SOLVARA_APP_STATE_PROPERTIES(SOLVARA_STORE_SETTING)
#undef SOLVARA_STORE_SETTING

    // The day's records and counters, which belong to the health objects.
    if (const auto records = exposureTracker_.encodeTodayRecords()) setDocument(exposureKey, *records);
    putInt("sv_breaksCompleted", breakScheduler_.breaksCompleted());
    putInt("sv_breaksSkipped", breakScheduler_.breaksSkipped());
    putDouble("sv_lightDebtPoints", lightDebtCalculator_.debtPoints());
    d.set("sv_lightDebtDate", lightDebtCalculator_.lastDebtDate());
    if (const auto profiles = profileManager_.encodeCustomProfiles()) {
        setDocument(customProfilesKey, *profiles);
    } else if (!protectedKeys_.contains(customProfilesKey)) {
        d.remove(customProfilesKey);
    }
    // A year of history changes once a day at most: encode it only when it did.
    if (!storedHistory_ || *storedHistory_ != healthHistory_.snapshots() || !d.contains(healthHistoryKey)) {
        if (const auto history = healthHistory_.encode()) {
            setDocument(healthHistoryKey, *history);
            storedHistory_ = healthHistory_.snapshots();
        }
    }
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
        // Six digits of time, so 09:05:00 reads "090500" and the names sort by time.
        const std::string time = format::integer(1000000 + c.hour * 10000 + c.minute * 100 + c.second).substr(1);
        const std::string stamp = format::integer(c.year * 10000 + c.month * 100 + c.day) + "-" + time;
        std::string base = *directory;
        base.append("/recovered-").append(key).append("-").append(stamp);
        for (int attempt = 1; attempt < 100 && !path; ++attempt) {
            std::string candidate = base;
            if (attempt > 1) candidate.append("-").append(format::integer(attempt));
            candidate.append(".json");
            // Never replace an older copy.
            if (platform_.files.exists(candidate)) continue;
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

template <RestoreRule rule, class T, class R>
void AppState::restoreSetting(std::string_view key, R range, const T& initial, void (AppState::*setter)(T)) {
    if constexpr (rule == RestoreRule::none || rule == RestoreRule::dayState) {
        return;
    } else if constexpr (std::is_same_v<T, PerDisplaySettingsMap>) {
        if (auto map = restoredPerDisplaySettings(key)) (this->*setter)(std::move(*map));
    } else if (auto value = restoredValue(defaults_, key, rule, range, initial)) {
        (this->*setter)(std::move(*value));
    }
}

std::optional<PerDisplaySettingsMap> AppState::restoredPerDisplaySettings(std::string_view key) {
    if (!defaults_.contains(key)) return std::nullopt;
    const auto document = defaults_.jsonValue(key);
    auto records = document ? PerDisplaySettings::decodeList(*document) : std::nullopt;
    if (!records) {
        keepAside(key, "not a list of display records");
        return std::nullopt;
    }
    PerDisplaySettingsMap map;
    for (auto& record : *records) {
        // Out-of-range overrides are dropped rather than shown.
        if (record.kelvinOverride && !Ranges::kelvin.contains(*record.kelvinOverride)) record.kelvinOverride.reset();
        if (record.brightnessOverride && !Ranges::brightness.contains(*record.brightnessOverride)) {
            record.brightnessOverride.reset();
        }
        map.try_emplace(record.displayID, std::move(record));  // the first of a repeated id wins
    }
    return map;
}

void AppState::restoreSettings() {
    UserDefaults& d = defaults_;
    isRestoring_ = true;
    if (!d.contains(storedKey(Property::isEnabled))) {
        isRestoring_ = false;  // first launch: every default stays
        return;
    }

#define SOLVARA_RESTORE_SETTING(type, name, setter, initial, handler, key, rule, range, flags)         \
    {                                                                                                  \
        const type defaultValue = initial;                                                             \
        restoreSetting<RestoreRule::rule>(key, SettingRanges::range, defaultValue, &AppState::setter); \
    }
    SOLVARA_APP_STATE_PROPERTIES(SOLVARA_RESTORE_SETTING)
#undef SOLVARA_RESTORE_SETTING

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

    const std::string storedDay = d.stringValue(storedKey(Property::lastDailyResetDate)).value_or("");
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
    setLightDebtPeakToday(dayValue(storedKey(Property::lightDebtPeakToday)));
    setMorningSunlightToday(dayValue(storedKey(Property::morningSunlightToday)));

    if (storedDayOver) closeDay(storedDay, closedDayScreenHours);
    setLastDailyResetDate(today);
}

}  // namespace solvara
