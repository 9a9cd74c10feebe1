#include "core/solar/SolarEvent.h"

#include <cmath>
#include <cstdint>

#include "core/foundation/Calendar.h"
#include "core/foundation/Format.h"
#include "core/foundation/Log.h"
#include "core/solar/SolarPositionCalculator.h"

namespace solvara {

std::optional<SolarEvent> SolarEvent::cachedEvent;
std::optional<std::string> SolarEvent::cachedDateKey;
std::optional<std::string> SolarEvent::cachedCoordKey;

namespace {

constexpr int sampleCount = 144;
constexpr double sampleStep = 600;          // seconds
constexpr int refinementSteps = 8;          // 600 s / 2^8: within about 1.2 s of the crossing
constexpr double maxDayLength = 2 * 86400;  // generous: zones have skipped and repeated whole days

// The key text of `value` truncated toward zero, or empty when no 64-bit integer holds it
// (converting such a double is undefined behaviour).
std::optional<std::string> integerKey(double value) {
    if (!std::isfinite(value) || value < -0x1p63 || value >= 0x1p63) return std::nullopt;
    return format::integer(static_cast<std::int64_t>(value));
}

// The instant, within about a second, where the elevation passes `threshold` between `below`
// (under it) and `above` (at or over it). NaN elevations count as over.
Date refineCrossing(const SolarPositionCalculator& calculator, Coordinate coordinate, double threshold, Date below,
                    Date above) {
    double low = below.unixTime();
    double high = above.unixTime();
    for (int step = 0; step < refinementSteps; ++step) {
        const double mid = (low + high) * 0.5;
        if (calculator.solarPosition(coordinate, Date::fromUnixTime(mid)).elevation < threshold) {
            low = mid;
        } else {
            high = mid;
        }
    }
    return Date::fromUnixTime((low + high) * 0.5);
}

}  // namespace

SolarEvent SolarEvent::events(Date date, Coordinate coordinate) {
    const Date startOfDay = Calendar::startOfDay(date);
    auto dateKey = integerKey(startOfDay.unixTime());
    auto latitudeKey = integerKey(coordinate.latitude * 100);
    auto longitudeKey = integerKey(coordinate.longitude * 100);
    // A date the calendar cannot break down (NaN, far beyond any year) gets a start of day that is
    // not its own; it must not share that day's cache entry.
    const double intoDay = date - startOfDay;
    const bool ownDay = intoDay >= 0 && intoDay < maxDayLength;
    if (!ownDay || !dateKey || !latitudeKey || !longitudeKey) {
        Log::write("SolarEvent", "Date or coordinate out of range; computing the day's events without the cache");
        return compute(startOfDay, date, coordinate);
    }
    std::string coordKey = *latitudeKey + "_" + *longitudeKey;

    if (cachedEvent && cachedDateKey == dateKey && cachedCoordKey == coordKey) return *cachedEvent;

    cachedEvent = compute(startOfDay, date, coordinate);
    cachedDateKey = std::move(dateKey);
    cachedCoordKey = std::move(coordKey);
    return *cachedEvent;
}

// Samples absolute time (not wall-clock time) from the start of day, so a daylight-saving day
// still covers 1430 minutes and a crossing after the last sample is not found. The first sample
// compares with -90 degrees: a sun already up at midnight dawns and rises at the start of day.
SolarEvent SolarEvent::compute(Date startOfDay, Date date, Coordinate coordinate) {
    const SolarPositionCalculator calculator;
    SolarEvent result;
    result.date = date;

    double highest = -90;
    double previous = -90;
    Date previousInstant = startOfDay;
    for (int k = 0; k < sampleCount; ++k) {
        const Date instant = startOfDay + sampleStep * k;
        const double elevation = calculator.solarPosition(coordinate, instant).elevation;

        if (elevation > highest) {
            result.solarNoon = instant;
            highest = elevation;
        }
        if (previous < -6 && elevation >= -6 && !result.civilDawn) {
            result.civilDawn = refineCrossing(calculator, coordinate, -6, previousInstant, instant);
        }
        if (previous < 0 && elevation >= 0 && !result.sunrise) {
            result.sunrise = refineCrossing(calculator, coordinate, 0, previousInstant, instant);
        }
        // Dusk is looked for only after a sunset, and a sunset only after a sunrise.
        if (previous >= 0 && elevation < 0 && result.sunrise && !result.sunset) {
            result.sunset = refineCrossing(calculator, coordinate, 0, instant, previousInstant);
        }
        if (previous >= -6 && elevation < -6 && result.sunset && !result.civilDusk) {
            result.civilDusk = refineCrossing(calculator, coordinate, -6, instant, previousInstant);
        }
        previous = elevation;
        previousInstant = instant;
    }
    return result;
}

}  // namespace solvara
