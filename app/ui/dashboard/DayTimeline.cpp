#include "app/ui/dashboard/DayTimeline.h"

#include "app/ui/dashboard/DashboardTexts.h"
#include "core/foundation/Calendar.h"
#include "core/solar/SolarEvent.h"
#include "core/solar/SolarPositionCalculator.h"

namespace solvara::dashboard {

Rgba phaseColor(TwilightPhase phase) {
    switch (phase) {
        case TwilightPhase::astronomicalNight:
        case TwilightPhase::night:
            return {0.05, 0.05, 0.15};
        case TwilightPhase::astronomicalTwilight:
        case TwilightPhase::nauticalTwilight:
            return {0.1, 0.1, 0.3};
        case TwilightPhase::civilTwilight:
        case TwilightPhase::eveningTwilight:
            return {0.6, 0.3, 0.2};
        case TwilightPhase::goldenHour:
        case TwilightPhase::eveningGoldenHour:
            return {0.9, 0.6, 0.2};
        case TwilightPhase::morningRise:
        case TwilightPhase::afternoonDecline:
            return {0.4, 0.7, 0.95};
        case TwilightPhase::solarNoon:
            return {0.95, 0.9, 0.4};
    }
    return {0.05, 0.05, 0.15};
}

std::vector<PhaseSegment> phaseSegments(const std::optional<Coordinate>& coordinate, Date now) {
    // The platform's standard grey (142, 142, 147) at opacity 0.3.
    if (!coordinate) return {{"unknown", 1440, {142.0 / 255.0, 142.0 / 255.0, 147.0 / 255.0, 0.3}}};

    const Date base = Calendar::startOfDay(now);
    const std::optional<Date> noon = SolarEvent::events(now, *coordinate).solarNoon;
    const SolarPositionCalculator calculator;

    std::vector<PhaseSegment> segments;
    std::optional<TwilightPhase> runPhase;
    int runMinutes = 0;
    auto closeRun = [&] { segments.push_back({std::string(runPhase->rawValue()), runMinutes, phaseColor(*runPhase)}); };
    for (int k = 0; k < 96; ++k) {
        const Date moment = base + k * 15.0 * 60.0;
        const double elevation = calculator.solarPosition(*coordinate, moment).elevation;
        const bool rising = !noon || moment < *noon;
        const TwilightPhase phase = TwilightPhase::from(elevation, rising);
        if (runPhase && *runPhase == phase) {
            runMinutes += 15;
            continue;
        }
        if (runPhase) closeRun();
        runPhase = phase;
        runMinutes = 15;
    }
    closeRun();
    return segments;
}

double dayFraction(Date now) {
    const DateComponents local = Calendar::localComponents(now);
    return (local.hour * 60 + local.minute) / 1440.0;
}

TimelineLabels timelineLabels(const std::optional<Coordinate>& coordinate, Date now) {
    if (!coordinate) return {};
    const SolarEvent events = SolarEvent::events(now, *coordinate);
    auto text = [](const std::optional<Date>& date) -> std::optional<std::string> {
        if (!date) return std::nullopt;
        return paddedHourMinuteText(*date);
    };
    return {text(events.sunrise), text(events.solarNoon), text(events.sunset)};
}

}  // namespace solvara::dashboard
