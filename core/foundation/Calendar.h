#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/foundation/Date.h"

namespace solvara {

struct DateComponents {
    int year = 2001;
    int month = 1;      // 1..12
    int day = 1;        // 1..31
    int hour = 0;       // 0..23
    int minute = 0;     // 0..59
    int second = 0;     // 0..60, whole seconds (the fraction is dropped)
    int weekday = 1;    // 1 Sunday .. 7 Saturday
    int dayOfYear = 1;  // 1..366
};

// The user's current Gregorian calendar in the current time zone, read through the C library
// and the system tz database (TZ). Everything is computed per call; a change of TZ followed by
// tzset() takes effect at once.
//
// Local wall-clock times are resolved the same way everywhere: a time skipped by a
// daylight-saving jump gives the first existing instant after the gap, a time that occurs
// twice gives the earlier instant.
class Calendar {
public:
    static DateComponents localComponents(Date date);
    static DateComponents utcComponents(Date date);

    // The current time zone's offset from GMT at `date`, in seconds (east positive).
    static int secondsFromGMT(Date date);

    // Midnight (or the first existing instant after it) of the local day containing `date`.
    static Date startOfDay(Date date);

    // The local instant with the given wall-clock fields; month and day may overflow (day 0,
    // month 13) and are normalised. Empty when a field is out of any sane range.
    static std::optional<Date> date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

    // The same local day as `date` at hour:minute:second (0..23, 0..59, 0..59); empty when a
    // field is out of range.
    static std::optional<Date> dateBySettingHour(int hour, int minute, int second, Date date);

    // `days` calendar days later (earlier when negative), keeping the wall-clock time.
    static std::optional<Date> addingDays(int days, Date date);

    // Whole calendar days from `from` to `to` (negative when `to` is earlier): the largest n
    // with from + n days <= to, counted toward zero. 23 hours is 0 days.
    static int daysBetween(Date from, Date to);

    // "yyyy-MM-dd" of the local day containing `date`.
    static std::string dayKey(Date date);
    // Start of the local day named by a "yyyy-MM-dd" key; empty for any other text.
    static std::optional<Date> dateFromDayKey(std::string_view key);
};

}  // namespace solvara
