// The 10-second update: engine state, display, appearance, day rollover and light accounting.

#include <memory>

#include "app/state/AppState.h"
#include "app/state/SettingRanges.h"
#include "core/color/MelanopicModel.h"
#include "core/foundation/Calendar.h"
#include "core/foundation/Clock.h"

namespace solvara {

namespace {

constexpr double tickSeconds = 10.0;
constexpr double screenLuminance = 250.0;      // cd/m²
constexpr double viewingDistanceCm = 60.0;
constexpr double screenAreaCm2 = 1500.0;
constexpr double eveningTargetEDI = 10.0;      // lux of melanopic EDI
constexpr double assumedSleepHours = 7.5;
constexpr double darkAppearanceElevation = -6.0;

// (hour, minute) shifted by `offsetMinutes` and wrapped into one day.
CircadianEngine::TimeOfDay shiftedTime(std::int64_t hour, std::int64_t minute, std::int64_t offsetMinutes) {
    const std::int64_t total = saturatingAdd(saturatingAdd(saturatingMul(hour, 60), minute), offsetMinutes);
    const std::int64_t wrapped = floorMod(total, 24 * 60);
    return {static_cast<int>(wrapped / 60), static_cast<int>(wrapped % 60)};
}

}  // namespace

bool AppState::isInBiologicalNight(std::int64_t hour, std::int64_t sleepHour, std::int64_t wakeHour) {
    // Melatonin onset two hours before sleep, up to waking: a window on the 24-hour circle,
    // which lies within one day when the onset falls before the wake hour (sleep at 02:00).
    // An onset at the wake hour itself leaves no day at all.
    const std::int64_t onset = floorMod(saturatingAdd(sleepHour, -2), 24);
    if (onset < wakeHour) return hour >= onset && hour < wakeHour;
    return hour >= onset || hour < wakeHour;
}

void AppState::syncEngineSchedule() {
    const std::int64_t offset = dstSmoothingEnabled_ ? dstSmoother_.currentOffsetMinutes() : 0;
    circadianEngine_.setWakeTime(shiftedTime(effectiveWakeHour(), wakeMinute_, offset));
    circadianEngine_.setSleepTime(shiftedTime(effectiveSleepHour(), sleepMinute_, offset));
}

void AppState::recomputeCircadianState() {
    // While the stored settings come back, the handlers only store: the engine and the displays
    // follow once, at the end of the restore.
    if (isRestoring_ || !coordinate_) return;
    syncEngineSchedule();
    setCurrentState(circadianEngine_.currentState(*coordinate_, Clock::now()));
    applyCurrentState();
}

void AppState::updateCircadianState() {
    if (!coordinate_) return;
    recomputeCircadianState();

    if (autoDarkModeEnabled_ && currentState_) {
        const bool dark = currentState_->solarElevation < darkAppearanceElevation;  // NaN is not dark
        std::weak_ptr<int> alive = lifetime_;
        platform_.runLoop.postToMain([this, alive, dark] {
            if (alive.expired() || !onAutoAppearance) return;
            onAutoAppearance(dark);
        });
    }

    const std::string today = HealthHistory::dateString(Clock::now());
    if (!lastDailyResetDate_.empty() && lastDailyResetDate_ != today) {
        closeDay(lastDailyResetDate_, screenTimeToday_);
        setLastDailyResetDate(today);
        persistSettings();
    } else if (lastDailyResetDate_.empty()) {
        setLastDailyResetDate(today);
    }

    const bool asleep = platform_.displayTransfer.isMainDisplayAsleep();
    if (!isEnabled_ || !appliedKelvin_ || isUserInactive_ || asleep) return;

    // The light actually shown, not the target it ramps towards.
    const std::int64_t shown = *appliedKelvin_;
    const double edi = MelanopicModel::melanopicEDI(shown, screenLuminance, viewingDistanceCm, screenAreaCm2);
    const int hour = Calendar::localComponents(Clock::now()).hour;
    const double hours = tickSeconds / 3600.0;
    if (isInBiologicalNight(hour, sleepHour_, wakeHour_)) {
        exposureTracker_.log(shown, edi, tickSeconds, true);
        lightDebtCalculator_.accumulate(edi, eveningTargetEDI, hours);
    } else {
        exposureTracker_.log(shown, edi, tickSeconds, false);
        lightDebtCalculator_.applyDaytimeDecay(hours, assumedSleepHours);
    }

    if (lightDebtPeakToday_ < lightDebtCalculator_.debtPoints()) setLightDebtPeakToday(lightDebtCalculator_.debtPoints());
    setScreenTimeToday(exposureTracker_.todayScreenTimeHours());
    refreshLightDebtReadouts();
    persistSettings();
}

void AppState::refreshLightDebtReadouts() {
    const auto level = lightDebtCalculator_.currentLevel();
    setLightDebtPoints(lightDebtCalculator_.debtPoints());
    setLightDebtLevel(std::string(level.rawValue()));
    setLightDebtRecommendation(std::string(level.recommendation()));
}

void AppState::closeDay(const std::string& day, double screenTimeHours) {
    const std::int64_t score = computeCurrentScore();  // before anything is reset
    const std::optional<std::int64_t> rating =
        sleepQualityRating_ >= 1 ? std::optional<std::int64_t>(sleepQualityRating_) : std::nullopt;
    healthHistory_.recordDay(day, screenTimeHours, lightDebtPeakToday_, breakScheduler_.complianceRatio(),
                             breakScheduler_.breaksCompleted(), breakScheduler_.breaksSkipped(), score, rating);

    setScreenTimeToday(0.0);
    setLightDebtPeakToday(0.0);
    setMorningSunlightToday(0.0);

    lightDebtCalculator_.reset();
    refreshLightDebtReadouts();

    breakScheduler_.restoreStats(0, 0);
    exposureTracker_.clear();

    setSleepQualityRating(0);
    setLastSleepRatingDate("");
}

}  // namespace solvara
