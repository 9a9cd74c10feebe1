// The bedtime reminder, the morning recovery tip and the seasonal day-length message.

#include <algorithm>
#include <cmath>

#include "app/shell/AppDelegate.h"
#include "core/engine/SeasonalAwareness.h"
#include "core/foundation/Calendar.h"
#include "core/foundation/Clock.h"
#include "core/foundation/Format.h"
#include "core/health/HealthHistory.h"

namespace solvara {

namespace {

constexpr std::int64_t minutesPerDay = 24 * 60;
constexpr std::int64_t recoveryPointsPerWalk = 18;

std::int64_t hourOfDay(std::int64_t hour) {
    return ((hour % 24) + 24) % 24;
}

}  // namespace

void AppDelegate::postLocalNotification(const std::string& title, const std::string& body,
                                        const std::string& identifier) {
    NotificationCenter& center = platform_.notifications;
    // Asked at every post: a refusal now does not stop a later notification.
    center.requestAuthorization([&center, notification = LocalNotification{identifier, title, body}](bool granted) {
        if (granted) center.add(notification);
    });
}

void AppDelegate::setupSleepAlarm() {
    sleepAlarmTimer_ = Timer::repeating(platform_.runLoop, sleepAlarmInterval, guarded([this] { sleepAlarmTest(); }));
    after(sleepAlarmFirstDelay, [this] { sleepAlarmTest(); });
}

void AppDelegate::sleepAlarmTest() {
    if (appState_.sleepAlarmEnabled()) sendSleepAlarmNotification();
}

void AppDelegate::sendSleepAlarmNotification() {
    const auto countdown = appState_.sleepCountdownText();
    if (!countdown) return;
    const DateComponents now = Calendar::localComponents(Clock::now());
    const std::int64_t h = now.hour;
    const std::int64_t sleep = appState_.effectiveSleepHour();
    const std::int64_t windowStart = hourOfDay(sleep + 15);  // nine hours before bedtime
    const bool inWindow = windowStart < sleep ? (h >= windowStart && h < sleep)
                                              : (windowStart > sleep && (h >= windowStart || h < sleep));
    if (!inWindow) return;

    std::int64_t minutes = appState_.effectiveWakeHour() * 60 + appState_.wakeMinute() - (h * 60 + now.minute);
    if (minutes <= 0) minutes += minutesPerDay;
    postLocalNotification(
        "Solvara", *countdown + ". You'll get ~" + format::integer(minutes / 60) + "h of sleep if you go to bed now.",
        "sleepAlarm");
}

void AppDelegate::checkMorningRecovery() {
    const std::int64_t h = Calendar::localComponents(Clock::now()).hour;
    const std::int64_t wake = appState_.effectiveWakeHour();
    if (h < wake || h >= wake + 3) return;
    const LightDebtCalculator& calculator = appState_.lightDebtCalculator();
    const auto level = calculator.currentLevel();
    if (level != LightDebtCalculator::DebtLevel::high && level != LightDebtCalculator::DebtLevel::critical) return;

    const auto points = static_cast<std::int64_t>(std::trunc(calculator.debtPoints()));
    // Two hours after waking, on the clock: a wake hour of 22 gives midnight, not "24:00".
    const std::int64_t deadline = hourOfDay(wake + 2);
    postLocalNotification("Solvara — Morning Recovery",
                          "Your Light Debt is " + std::string(level.rawValue()) + " (" + format::integer(points) +
                              " pts). Step outside for 15 min before " + format::integer(deadline) +
                              ":00 to reduce it to ~" +
                              format::integer(std::max<std::int64_t>(points - recoveryPointsPerWalk, 0)) + " pts.",
                          "morningRecovery");
}

void AppDelegate::checkSeasonalAwareness() {
    const auto coordinate = appState_.coordinate();
    if (!coordinate) return;
    const Date now = Clock::now();
    const std::string today = HealthHistory::dateString(now);
    if (today == seasonalCheckDate_) return;
    seasonalCheckDate_ = today;
    const auto message = SeasonalAwareness::seasonalMessage(now, *coordinate);
    if (!message) return;
    postLocalNotification("Solvara — Seasonal Update", *message, "seasonalAwareness");
}

}  // namespace solvara
