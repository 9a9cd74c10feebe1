#include "core/foundation/Calendar.h"

#include <charconv>
#include <cmath>
#include <ctime>

namespace solvara {
namespace {

// Instants the C library can break down without overflow (about +-30 million years); anything
// further, or not finite, is pinned to the reference date rather than converted with UB.
constexpr double maxSeconds = 1.0e15;

std::time_t toTimeT(double unixSeconds) {
    if (!std::isfinite(unixSeconds) || std::fabs(unixSeconds) > maxSeconds) {
        return static_cast<std::time_t>(Date::unixEpochOffset);
    }
    return static_cast<std::time_t>(std::floor(unixSeconds));
}

DateComponents fromTm(const std::tm& tm) {
    DateComponents c;
    c.year = tm.tm_year + 1900;
    c.month = tm.tm_mon + 1;
    c.day = tm.tm_mday;
    c.hour = tm.tm_hour;
    c.minute = tm.tm_min;
    c.second = tm.tm_sec;
    c.weekday = tm.tm_wday + 1;
    c.dayOfYear = tm.tm_yday + 1;
    return c;
}

// Days since 1970-01-01 of a proleptic Gregorian date (month may be out of 1..12).
std::int64_t daysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y += (m - 1) / 12;
    m = (m - 1) % 12 + 1;
    if (m <= 0) {
        m += 12;
        y -= 1;
    }
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

long gmtOffsetAt(std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm.tm_gmtoff;
}

// The instant whose local wall clock reads `wall` (seconds since 1970 as if UTC). A wall time
// inside a gap gives the first instant after the gap; one that occurs twice, the earlier.
std::time_t resolveWallClock(std::int64_t wall) {
    // Offsets in force a day either side cover every real transition (they are months apart).
    const long candidates[3] = {gmtOffsetAt(wall - 86400), gmtOffsetAt(wall), gmtOffsetAt(wall + 86400)};
    bool found = false;
    std::time_t best = 0;
    for (long offset : candidates) {
        const std::time_t t = wall - offset;
        if (gmtOffsetAt(t) == offset && (!found || t < best)) {
            best = t;
            found = true;
        }
    }
    if (found) return best;

    // A gap: the clock jumps from offset `before` to `after` (after > before). The transition lies
    // between wall - after and wall - before; find its first second by bisection.
    long before = candidates[0];
    long after = candidates[2];
    if (after < before) std::swap(before, after);
    std::time_t lo = wall - after;   // still on the old offset
    std::time_t hi = wall - before;  // already on the new offset
    const long oldOffset = gmtOffsetAt(lo);
    while (hi - lo > 1) {
        const std::time_t mid = lo + (hi - lo) / 2;
        if (gmtOffsetAt(mid) == oldOffset) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    return hi;
}

bool inRange(int value, int lo, int hi) {
    return value >= lo && value <= hi;
}

}  // namespace

DateComponents Calendar::localComponents(Date date) {
    const std::time_t t = toTimeT(date.unixTime());
    std::tm tm{};
    localtime_r(&t, &tm);
    return fromTm(tm);
}

DateComponents Calendar::utcComponents(Date date) {
    const std::time_t t = toTimeT(date.unixTime());
    std::tm tm{};
    gmtime_r(&t, &tm);
    return fromTm(tm);
}

int Calendar::secondsFromGMT(Date date) {
    return static_cast<int>(gmtOffsetAt(toTimeT(date.unixTime())));
}

std::optional<Date> Calendar::date(int year, int month, int day, int hour, int minute, int second) {
    // Generous bounds: callers normalise a day or a month past the edge, never more.
    if (!inRange(year, -100000, 100000) || !inRange(month, -1200, 1200) || !inRange(day, -100000, 100000) ||
        !inRange(hour, 0, 23) || !inRange(minute, 0, 59) || !inRange(second, 0, 60)) {
        return std::nullopt;
    }
    const std::int64_t wall = daysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    return Date::fromUnixTime(static_cast<double>(resolveWallClock(wall)));
}

Date Calendar::startOfDay(Date date) {
    const DateComponents c = localComponents(date);
    return *Calendar::date(c.year, c.month, c.day);
}

std::optional<Date> Calendar::dateBySettingHour(int hour, int minute, int second, Date date) {
    if (!inRange(hour, 0, 23) || !inRange(minute, 0, 59) || !inRange(second, 0, 59)) return std::nullopt;
    const DateComponents c = localComponents(date);
    return Calendar::date(c.year, c.month, c.day, hour, minute, second);
}

std::optional<Date> Calendar::addingDays(int days, Date date) {
    if (!std::isfinite(date.secondsSinceReferenceDate) || !inRange(days, -10000000, 10000000)) return std::nullopt;
    const double unix = date.unixTime();
    const double fraction = unix - std::floor(unix);
    const DateComponents c = localComponents(date);
    auto moved = Calendar::date(c.year, c.month, c.day + days, c.hour, c.minute, c.second);
    if (!moved) return std::nullopt;
    return *moved + fraction;
}

int Calendar::daysBetween(Date from, Date to) {
    if (!std::isfinite(from.secondsSinceReferenceDate) || !std::isfinite(to.secondsSinceReferenceDate)) return 0;
    const DateComponents a = localComponents(from);
    const DateComponents b = localComponents(to);
    std::int64_t n = daysFromCivil(b.year, b.month, b.day) - daysFromCivil(a.year, a.month, a.day);
    if (n > 10000000 || n < -10000000) return 0;
    auto landed = addingDays(static_cast<int>(n), from);
    if (landed) {
        if (n > 0 && *landed > to) --n;
        if (n < 0 && *landed < to) ++n;
    }
    return static_cast<int>(n);
}

std::string Calendar::dayKey(Date date) {
    const DateComponents c = localComponents(date);
    char buffer[32];
    char* p = buffer;
    auto put = [&p, &buffer](int value, int width) {
        char digits[16];
        auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value < 0 ? -value : value);
        (void)ec;
        if (value < 0) *p++ = '-';
        for (int pad = width - static_cast<int>(end - digits); pad > 0; --pad) *p++ = '0';
        for (char* d = digits; d != end && p < buffer + sizeof buffer - 1; ++d) *p++ = *d;
    };
    put(c.year, 4);
    *p++ = '-';
    put(c.month, 2);
    *p++ = '-';
    put(c.day, 2);
    return std::string(buffer, p);
}

std::optional<Date> Calendar::dateFromDayKey(std::string_view key) {
    if (key.size() != 10 || key[4] != '-' || key[7] != '-') return std::nullopt;
    auto field = [&key](std::size_t at, std::size_t length) -> std::optional<int> {
        int value = 0;
        const char* first = key.data() + at;
        const char* last = first + length;
        auto [end, ec] = std::from_chars(first, last, value);
        if (ec != std::errc() || end != last) return std::nullopt;
        return value;
    };
    const auto year = field(0, 4);
    const auto month = field(5, 2);
    const auto day = field(8, 2);
    if (!year || !month || !day || !inRange(*month, 1, 12) || !inRange(*day, 1, 31)) return std::nullopt;
    // Reject 2026-02-30 rather than rolling it into March.
    auto start = date(*year, *month, *day);
    if (!start || localComponents(*start).day != *day) return std::nullopt;
    return start;
}

}  // namespace solvara
