#include <gtest/gtest.h>

#include "core/foundation/Calendar.h"
#include "tests/support/ScopedTimeZone.h"

namespace solvara {
namespace {

using testing::ScopedTimeZone;

Date utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    ScopedTimeZone zone("UTC");
    return *Calendar::date(y, mo, d, h, mi, s);
}

TEST(Calendar, ReferenceDateIsTheStartOf2001) {
    EXPECT_DOUBLE_EQ(utc(2001, 1, 1).secondsSinceReferenceDate, 0.0);
    EXPECT_DOUBLE_EQ(Date().unixTime(), 978307200.0);
    const DateComponents c = Calendar::utcComponents(Date(86400 * 365 + 3661.75));
    EXPECT_EQ(c.year, 2002);
    EXPECT_EQ(c.month, 1);
    EXPECT_EQ(c.day, 1);
    EXPECT_EQ(c.hour, 1);
    EXPECT_EQ(c.minute, 1);
    EXPECT_EQ(c.second, 1);
    EXPECT_EQ(c.weekday, 3);  // 2002-01-01 was a Tuesday
}

struct ZoneCase {
    const char* zone;
    Date instant;
    int offset;
    const char* dayKey;
    int hour;
    int minute;
};

TEST(Calendar, LocalComponentsFollowTheZone) {
    const Date instant = utc(2026, 7, 1, 23, 30);
    const ZoneCase cases[] = {
        {"America/New_York", instant, -4 * 3600, "2026-07-01", 19, 30},
        {"Europe/London", instant, 3600, "2026-07-02", 0, 30},
        {"Asia/Kolkata", instant, 19800, "2026-07-02", 5, 0},
        {"Australia/Lord_Howe", instant, 10 * 3600 + 1800, "2026-07-02", 10, 0},
        {"America/Sao_Paulo", instant, -3 * 3600, "2026-07-01", 20, 30},
    };
    for (const auto& c : cases) {
        ScopedTimeZone zone(c.zone);
        SCOPED_TRACE(c.zone);
        EXPECT_EQ(Calendar::secondsFromGMT(c.instant), c.offset);
        EXPECT_EQ(Calendar::dayKey(c.instant), c.dayKey);
        const DateComponents local = Calendar::localComponents(c.instant);
        EXPECT_EQ(local.hour, c.hour);
        EXPECT_EQ(local.minute, c.minute);
        const Date start = Calendar::startOfDay(c.instant);
        EXPECT_EQ(Calendar::localComponents(start).hour, 0);
        EXPECT_EQ(Calendar::dayKey(start), c.dayKey);
        EXPECT_EQ(Calendar::dateFromDayKey(c.dayKey), start);
    }
}

TEST(Calendar, SkippedTimesGiveTheFirstInstantAfterTheGap) {
    {
        ScopedTimeZone zone("America/New_York");
        const Date day = *Calendar::date(2026, 3, 8, 12);
        // 02:30 does not exist on 2026-03-08; the clocks jump from 02:00 EST to 03:00 EDT.
        const auto set = Calendar::dateBySettingHour(2, 30, 0, day);
        ASSERT_TRUE(set);
        EXPECT_EQ(*set, utc(2026, 3, 8, 7, 0));
        const DateComponents c = Calendar::localComponents(*set);
        EXPECT_EQ(c.hour, 3);
        EXPECT_EQ(c.minute, 0);
    }
    {
        // Lord Howe moves by half an hour: 02:00 -> 02:30 on 2026-10-04.
        ScopedTimeZone zone("Australia/Lord_Howe");
        const auto set = Calendar::dateBySettingHour(2, 10, 0, *Calendar::date(2026, 10, 4, 12));
        ASSERT_TRUE(set);
        EXPECT_EQ(Calendar::localComponents(*set).minute, 30);
        EXPECT_EQ(Calendar::localComponents(*set).hour, 2);
    }
    {
        // Sao Paulo's clocks used to skip midnight: the day starts at 01:00.
        ScopedTimeZone zone("America/Sao_Paulo");
        const Date start = Calendar::startOfDay(*Calendar::date(2018, 11, 4, 12));
        EXPECT_EQ(Calendar::localComponents(start).hour, 1);
        EXPECT_EQ(Calendar::dayKey(start), "2018-11-04");
        EXPECT_EQ(start, utc(2018, 11, 4, 3, 0));
    }
}

TEST(Calendar, RepeatedTimesGiveTheEarlierInstant) {
    ScopedTimeZone zone("America/New_York");
    // 01:30 happens twice on 2026-11-01: first at EDT (05:30 UTC), then at EST (06:30 UTC).
    const auto set = Calendar::dateBySettingHour(1, 30, 0, *Calendar::date(2026, 11, 1, 12));
    ASSERT_TRUE(set);
    EXPECT_EQ(*set, utc(2026, 11, 1, 5, 30));
    ScopedTimeZone london("Europe/London");
    EXPECT_EQ(*Calendar::dateBySettingHour(1, 30, 0, *Calendar::date(2026, 10, 25, 12)), utc(2026, 10, 25, 0, 30));
}

TEST(Calendar, OutOfRangeFieldsGiveNothing) {
    const Date now = utc(2026, 5, 5);
    EXPECT_FALSE(Calendar::dateBySettingHour(24, 0, 0, now));
    EXPECT_FALSE(Calendar::dateBySettingHour(-1, 0, 0, now));
    EXPECT_FALSE(Calendar::dateBySettingHour(5, 60, 0, now));
    EXPECT_FALSE(Calendar::dateFromDayKey("2026-02-30"));
    EXPECT_FALSE(Calendar::dateFromDayKey("2026-2-03"));
    EXPECT_FALSE(Calendar::dateFromDayKey("abcd-ef-gh"));
    EXPECT_FALSE(Calendar::addingDays(1, Date(std::numeric_limits<double>::quiet_NaN())));
    // Components of an instant the C library cannot represent are pinned, never UB.
    EXPECT_EQ(Calendar::utcComponents(Date(std::numeric_limits<double>::infinity())).year, 2001);
}

TEST(Calendar, WholeDayDifferencesKeepTheWallClock) {
    ScopedTimeZone zone("America/New_York");
    const Date sat = *Calendar::date(2026, 3, 7, 9);
    // Across the spring-forward night a calendar day is 23 hours long.
    EXPECT_EQ(Calendar::daysBetween(sat, sat + 23 * 3600), 1);
    EXPECT_EQ(Calendar::daysBetween(sat, sat + 23 * 3600 - 1), 0);
    EXPECT_EQ(*Calendar::addingDays(1, sat), sat + 23 * 3600);
    EXPECT_EQ(Calendar::daysBetween(sat, sat + 22 * 3600), 0);
    EXPECT_EQ(Calendar::daysBetween(sat, sat - 1), 0);
    EXPECT_EQ(Calendar::daysBetween(sat, sat - 86400), -1);
    EXPECT_EQ(Calendar::daysBetween(sat, *Calendar::date(2026, 4, 7, 9)), 31);
    const Date oct31 = *Calendar::date(2026, 10, 31, 9);
    EXPECT_EQ(Calendar::daysBetween(oct31, oct31 + 24 * 3600), 0);  // a 25-hour day
    EXPECT_EQ(Calendar::daysBetween(oct31, oct31 + 25 * 3600), 1);
    EXPECT_EQ(Calendar::dayKey(*Calendar::addingDays(-365, oct31)), "2025-10-31");
}

}  // namespace
}  // namespace solvara
