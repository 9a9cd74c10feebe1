#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/ui/dashboard/DashboardTexts.h"
#include "app/ui/dashboard/DayTimeline.h"
#include "app/ui/dashboard/DialGeometry.h"
#include "app/ui/dashboard/HealthCardRules.h"
#include "app/ui/dashboard/MorningCoachRules.h"
#include "core/foundation/Calendar.h"
#include "tests/app/ui/dashboard/GermanLocale.h"
#include "tests/support/ScopedTimeZone.h"

namespace solvara::dashboard {
namespace {

using solvara::testing::ScopedGermanLocale;
using solvara::testing::ScopedTimeZone;
using Level = LightDebtCalculator::DebtLevel;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// Every rule is checked with the process in a German locale: a decimal comma anywhere in the
// output means a text went through the C library's locale.
class DashboardRulesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ScopedGermanLocale::active()) << "de_DE.UTF-8 could not be built"; }

    static Date local(int year, int month, int day, int hour, int minute, int second = 0) {
        return *Calendar::date(year, month, day, hour, minute, second);
    }

    ScopedGermanLocale german_;
};

TEST_F(DashboardRulesTest, DialAnglesRunClockwiseFromMidnightInQuarterDegrees) {
    struct Case {
        int hour, minute;
        double angle;
    };
    for (const Case& c : std::vector<Case>{{0, 0, 0.0},
                                           {6, 0, 90.0},
                                           {12, 0, 180.0},
                                           {18, 0, 270.0},
                                           {23, 59, 359.75},
                                           {0, 1, 0.25},
                                           {13, 30, 202.5}}) {
        EXPECT_DOUBLE_EQ(dialAngle(c.hour, c.minute), c.angle) << c.hour << ":" << c.minute;
        // Seconds never move the hand.
        EXPECT_DOUBLE_EQ(dialAngle(local(2026, 3, 20, c.hour, c.minute, 59)), c.angle);
    }
    for (int hour = 0; hour < 24; ++hour) {
        EXPECT_DOUBLE_EQ(hourAngle(hour), hour * 15.0);
        EXPECT_EQ(isMajorHour(hour), hour == 0 || hour == 6 || hour == 12 || hour == 18) << hour;
    }
}

TEST_F(DashboardRulesTest, DialPointsAndRadiiForTheDashboardSize) {
    const DialGeometry dial(200);
    EXPECT_DOUBLE_EQ(dial.side(), 250.0);
    EXPECT_DOUBLE_EQ(dial.radius(), 100.0);
    EXPECT_DOUBLE_EQ(dial.center().x, 125.0);
    EXPECT_DOUBLE_EQ(dial.center().y, 125.0);
    EXPECT_DOUBLE_EQ(dial.tickInnerRadius(true), 92.0);
    EXPECT_DOUBLE_EQ(dial.tickInnerRadius(false), 96.0);
    EXPECT_DOUBLE_EQ(dial.hourLabelRadius(), 118.0);
    EXPECT_DOUBLE_EQ(dial.markerRadius(), 102.0);
    EXPECT_DOUBLE_EQ(dial.markerTimeRadius(), 82.0);
    EXPECT_DOUBLE_EQ(dial.handRadius(), 85.0);

    struct Case {
        double angle, rho, x, y;
    };
    for (const Case& c : std::vector<Case>{
             {0, 100, 125, 25},
             {90, 100, 225, 125},
             {180, 100, 125, 225},
             {270, 100, 25, 125},
             {45, 85, 125 + 85 / std::sqrt(2.0), 125 - 85 / std::sqrt(2.0)},
             {359.75, 118, 125 - 118 * std::sin(0.25 * M_PI / 180), 125 - 118 * std::cos(0.25 * M_PI / 180)}}) {
        const DialPoint p = dial.point(c.angle, c.rho);
        EXPECT_NEAR(p.x, c.x, 1e-9) << c.angle;
        EXPECT_NEAR(p.y, c.y, 1e-9) << c.angle;
    }
}

TEST_F(DashboardRulesTest, ArcsFollowTheDaysEventsAndNeverWrapPastMidnight) {
    // On the equator at the March equinox the geometric sunrise and sunset fall near 6:07 and
    // 18:07 UTC (the equation of time is about -7.5 minutes), civil twilight 24 minutes outside.
    const ScopedTimeZone utc("UTC");
    const DialArcs equator = dialArcs(SolarEvent::events(local(2026, 3, 20, 12, 0), {0.0, 0.0}));
    ASSERT_TRUE(equator.morningTwilight && equator.daylight && equator.eveningTwilight);
    const double minute = 0.25;  // degrees
    EXPECT_NEAR(equator.morningTwilight->start, dialAngle(5, 43), 3 * minute);
    EXPECT_NEAR(equator.morningTwilight->end, dialAngle(6, 7), 3 * minute);
    EXPECT_DOUBLE_EQ(equator.daylight->start, equator.morningTwilight->end);
    EXPECT_NEAR(equator.daylight->end, dialAngle(18, 8), 3 * minute);
    EXPECT_DOUBLE_EQ(equator.eveningTwilight->start, equator.daylight->end);
    EXPECT_NEAR(equator.eveningTwilight->end, dialAngle(18, 32), 3 * minute);
    EXPECT_DOUBLE_EQ(equator.daylight->qtStartDegrees(), 90.0 - equator.daylight->start);
    EXPECT_LT(equator.daylight->qtSweepDegrees(), -170.0);

    // Midsummer in Tromsø: the sun never sets, so no arc at all.
    const ScopedTimeZone oslo("Europe/Oslo");
    const DialArcs tromso = dialArcs(SolarEvent::events(local(2026, 6, 21, 12, 0), {69.65, 18.96}));
    EXPECT_FALSE(tromso.morningTwilight || tromso.daylight || tromso.eveningTwilight);

    // A span ending at or before its start (dusk after midnight) is empty, never mirrored.
    const Date day = local(2026, 6, 21, 0, 0);
    EXPECT_FALSE(dialArc(day + 23.9 * 3600, day + 24.2 * 3600));
    EXPECT_FALSE(dialArc(day + 3600, day + 3600 + 30));  // the same minute
    EXPECT_FALSE(dialArc(std::nullopt, day));
    EXPECT_TRUE(dialArc(day + 3600, day + 3660));
}

TEST_F(DashboardRulesTest, DaylightGradientIsOrangeAtTheEndsAndYellowInItsMiddleThird) {
    const DialArc arc{90.0, 270.0};  // 6:00 to 18:00
    const auto stops = daylightConicalStops(arc);
    // Counter-clockwise from 18:00: 18:00, 14:00, 10:00, 6:00.
    const std::vector<double> dialAngles{270.0, 210.0, 150.0, 90.0};
    const std::vector<Tint> tints{Tint::orange, Tint::yellow, Tint::yellow, Tint::orange};
    const std::vector<double> opacities{0.3, 0.35, 0.35, 0.3};
    for (std::size_t i = 0; i < stops.size(); ++i) {
        EXPECT_NEAR(arc.end - stops[i].position * 360.0, dialAngles[i], 1e-9) << i;
        EXPECT_EQ(stops[i].tint, tints[i]) << i;
        EXPECT_DOUBLE_EQ(stops[i].opacity, opacities[i]) << i;
        if (i > 0) {
            EXPECT_GT(stops[i].position, stops[i - 1].position);
        }
    }
    EXPECT_DOUBLE_EQ(stops.front().position, 0.0);
}

TEST_F(DashboardRulesTest, KelvinBandsAtEveryEdge) {
    struct Case {
        std::int64_t kelvin;
        Tint tint;
    };
    for (const Case& c : std::vector<Case>{{-100, Tint::red},
                                           {2000, Tint::red},
                                           {2001, Tint::orange},
                                           {3000, Tint::orange},
                                           {3001, Tint::yellow},
                                           {4500, Tint::yellow},
                                           {4501, Tint::white},
                                           {5500, Tint::white},
                                           {5501, Tint::blue},
                                           {6500, Tint::blue},
                                           {40000, Tint::blue}}) {
        EXPECT_EQ(kelvinBand(c.kelvin), c.tint) << c.kelvin;
    }
}

TEST_F(DashboardRulesTest, TimelineSegmentsCoverTheWholeDay) {
    struct Case {
        const char* name;
        const char* zone;
        std::optional<Coordinate> place;
        int year, month, day;
        std::vector<std::string> phases;  // in order; empty: only the allowed set is checked
        std::vector<std::string> allowed;
    };
    const std::vector<Case> cases{
        {"Berlin at the equinox",
         "Europe/Berlin",
         Coordinate{52.52, 13.405},
         2026,
         3,
         20,
         {"astronomicalNight", "astronomicalTwilight", "nauticalTwilight", "civilTwilight", "goldenHour", "morningRise",
          "solarNoon", "afternoonDecline", "eveningGoldenHour", "eveningTwilight", "night", "astronomicalNight"},
         {}},
        {"Tromsø at midsummer",
         "Europe/Oslo",
         Coordinate{69.65, 18.96},
         2026,
         6,
         21,
         {},
         {"goldenHour", "morningRise", "solarNoon", "afternoonDecline", "eveningGoldenHour"}},
        {"polar night near the pole", "UTC", Coordinate{89.0, 0.0}, 2026, 12, 21, {"astronomicalNight"}, {}},
        {"no coordinate", "UTC", std::nullopt, 2026, 3, 20, {"unknown"}, {}},
    };
    for (const Case& c : cases) {
        const ScopedTimeZone zone(c.zone);
        const auto segments = phaseSegments(c.place, local(c.year, c.month, c.day, 9, 30));
        int minutes = 0;
        double fractions = 0.0;
        std::vector<std::string> phases;
        for (const PhaseSegment& s : segments) {
            EXPECT_GT(s.minutes, 0) << c.name;
            EXPECT_EQ(s.minutes % 15, 0) << c.name;
            minutes += s.minutes;
            fractions += s.fraction();
            phases.push_back(s.phase);
            if (!c.allowed.empty()) {
                EXPECT_NE(std::find(c.allowed.begin(), c.allowed.end(), s.phase), c.allowed.end());
            }
        }
        EXPECT_EQ(minutes, 1440) << c.name;
        EXPECT_NEAR(fractions, 1.0, 1e-12) << c.name;
        if (!c.phases.empty()) {
            EXPECT_EQ(phases, c.phases) << c.name;
        }
        for (std::size_t i = 1; i < phases.size(); ++i) EXPECT_NE(phases[i], phases[i - 1]) << c.name;
    }
    const auto unknown = phaseSegments(std::nullopt, local(2026, 3, 20, 9, 30));
    EXPECT_DOUBLE_EQ(unknown.front().color.opacity, 0.3);
    EXPECT_EQ(unknown.front().color.red, unknown.front().color.green);
}

TEST_F(DashboardRulesTest, TimelineLabelsAndMarker) {
    const ScopedTimeZone utc("UTC");
    const Date noon = local(2026, 3, 20, 12, 0);
    const TimelineLabels equator = timelineLabels(Coordinate{0.0, 0.0}, noon);
    ASSERT_TRUE(equator.sunrise && equator.solarNoon && equator.sunset);
    EXPECT_EQ(equator.sunrise->substr(0, 4), "06:0");  // two-digit hours
    EXPECT_EQ(equator.solarNoon->substr(0, 3), "12:");
    EXPECT_EQ(equator.sunset->substr(0, 4), "18:0");
    const TimelineLabels none = timelineLabels(std::nullopt, noon);
    EXPECT_FALSE(none.sunrise || none.solarNoon || none.sunset);
    const TimelineLabels pole = timelineLabels(Coordinate{89.0, 0.0}, local(2026, 12, 21, 12, 0));
    EXPECT_FALSE(pole.sunrise || pole.sunset);

    EXPECT_DOUBLE_EQ(dayFraction(local(2026, 3, 20, 0, 0, 30)), 0.0);
    EXPECT_DOUBLE_EQ(dayFraction(local(2026, 3, 20, 23, 59, 59)), 1439.0 / 1440.0);
}

TEST_F(DashboardRulesTest, PreviewTexts) {
    struct Case {
        double hour;
        const char* text;
    };
    for (const Case& c : std::vector<Case>{{0.0, "12:00 AM"},
                                           {0.25, "12:15 AM"},
                                           {11.75, "11:45 AM"},
                                           {12.0, "12:00 PM"},
                                           {13.25, "1:15 PM"},
                                           {23.75, "11:45 PM"},
                                           {23.99, "11:59 PM"}}) {
        EXPECT_EQ(previewTimeText(c.hour), c.text) << c.hour;
    }
    EXPECT_EQ(previewSolarText(-12.34), "Solar -12.3\u00B0");
    EXPECT_EQ(previewSolarText(41.0), "Solar 41.0\u00B0");
    EXPECT_EQ(previewMelanopicText(0.999), "Melanopic 99%");

    // The preview adds elapsed hours to midnight: after the spring switch 13.25 is 14:15 on the
    // wall clock.
    const ScopedTimeZone berlin("Europe/Berlin");
    const Date switchDay = local(2026, 3, 29, 16, 0);
    EXPECT_EQ(paddedHourMinuteText(previewMoment(switchDay, 13.25)), "14:15");
    EXPECT_EQ(paddedHourMinuteText(previewMoment(local(2026, 3, 30, 16, 0), 13.25)), "13:15");
    EXPECT_DOUBLE_EQ(hourFraction(local(2026, 3, 30, 13, 15, 59)), 13.25);
}

TEST_F(DashboardRulesTest, ReadoutTextsTruncateOrRoundAsShown) {
    struct Case {
        std::string actual, expected;
    };
    for (const Case& c : std::vector<Case>{
             {kelvinText(5200), "5200K"},
             {kelvinText(6500), "6500K"},
             {elevationText(-12.34), "-12.3\u00B0"},
             {elevationText(41.0), "41.0\u00B0"},
             {elevationText(0.25), "0.2\u00B0"},  // as printf rounds the binary value
             {elevationText(-0.04), "-0.0\u00B0"},
             {percentText(0.999), "99%"},
             {percentText(1.0), "100%"},
             {percentText(0.0), "0%"},
             {percentText(0.756), "75%"},
             {percentText(0.29), "28%"},  // 0.29 × 100 is 28.999999999999996: truncated, not rounded
             {percentText(nan), "0%"},
             {complianceText(0.756), "75%"},
             {screenTimeText(0.0), "0s today"},
             {screenTimeText(59.0 / 3600), "59s today"},
             {screenTimeText(0.5), "30m today"},
             {screenTimeText(0.99), "59m today"},
             {screenTimeText(1.0), "1.0h today"},
             {screenTimeText(2.25), "2.2h today"},
             {screenTimeText(1.96), "2.0h today"},
             {capitalizedWords("low"), "Low"},
             {capitalizedWords("CRITICAL"), "Critical"},
             {capitalizedWords("very  high"), "Very  High"},
             {loggedMinutesText(0.5), "0min logged"},
             {loggedMinutesText(15.0), "15min logged"},
             {loggedMinutesText(29.99), "29min logged"},
             {cardButtonTitle(60), "60m"},
             {coachButtonTitle(15), "+15 min"},
             {*hoursAverageText(2.25), "2.2h"},
             {*percentAverageText(0.8333), "83%"},
             {hourMinuteText(local(2026, 3, 20, 6, 5)), "6:05"},
             {paddedHourMinuteText(local(2026, 3, 20, 6, 5)), "06:05"},
             {hourMinuteText(local(2026, 3, 20, 0, 0)), "0:00"},
             {paddedHourMinuteText(local(2026, 3, 20, 23, 59)), "23:59"},
         }) {
        EXPECT_EQ(c.actual, c.expected);
    }
    EXPECT_FALSE(hoursAverageText(std::nullopt));
    EXPECT_FALSE(percentAverageText(std::nullopt));
    EXPECT_FALSE(debtAverageText(std::nullopt));
}

TEST_F(DashboardRulesTest, MinutesSinceWakeWrapAroundTheDay) {
    struct Case {
        int hour, minute;
        std::int64_t wakeHour, wakeMinute, since;
        const char* text;
    };
    for (const Case& c : std::vector<Case>{
             {7, 0, 7, 0, 0, "0m since wake"},
             {7, 45, 7, 0, 45, "45m since wake"},
             {8, 0, 7, 0, 60, "1h 0m since wake"},
             {9, 5, 7, 0, 125, "2h 5m since wake"},
             {6, 0, 7, 0, 1380, "23h 0m since wake"},  // the wake time is yesterday's
             {6, 59, 7, 0, 1439, "23h 59m since wake"},
             {0, 45, 24, 30, 15, "15m since wake"},  // stored hour 24 is midnight
             {0, 0, -1, 0, 60, "1h 0m since wake"},
             {8, 30, 7, 90, 0, "0m since wake"},
             {12, 0, 1'000'000'000'000, 0, 1200, "20h 0m since wake"},  // hour 16 of some later day
         }) {
        const std::int64_t since = minutesSinceWake(c.hour, c.minute, c.wakeHour, c.wakeMinute);
        EXPECT_EQ(since, c.since) << c.hour << ":" << c.minute << " wake " << c.wakeHour << ":" << c.wakeMinute;
        EXPECT_GE(since, 0);
        EXPECT_LT(since, 1440);
        if (c.text) {
            EXPECT_EQ(sinceWakeText(since), c.text);
        }
    }
}

TEST_F(DashboardRulesTest, CoachShowsForThreeHoursFromTheWakeHourWithoutWrapping) {
    struct Case {
        std::int64_t wake;
        int hour;
        bool shown;
    };
    for (const Case& c : std::vector<Case>{{7, 6, false},
                                           {7, 7, true},
                                           {7, 9, true},
                                           {7, 10, false},
                                           {22, 21, false},
                                           {22, 23, true},
                                           {22, 0, false},
                                           {23, 1, false}}) {
        EXPECT_EQ(coachVisible(c.wake, c.hour), c.shown) << c.wake << " " << c.hour;
    }
}

TEST_F(DashboardRulesTest, CoachingTipsInTheirOrderOfPrecedence) {
    const std::string reached = "Target reached! Your circadian clock is getting a strong reset signal.";
    const std::string keepGoing = "Keep going \u2014 more morning light helps recover last night's debt faster.";
    const std::string elevated =
        "Last night's light debt is elevated. 15 minutes of outdoor light can reduce it by ~18 points.";
    const std::string closing = "Your morning window is closing. Outdoor light is most effective before mid-morning.";
    const std::string boost = "Morning Boost is active. Get outside for even better circadian alignment.";
    const std::string blinds = "Open your blinds or step outside \u2014 morning light resets your cortisol curve.";
    struct Case {
        CoachInput input;
        std::string tip;
    };
    for (const Case& c : std::vector<Case>{
             {{Level::critical, 30.0, 30.0, 200, true}, reached},  // a reached target beats everything
             {{Level::low, 45.0, 30.0, 0, false}, reached},
             {{Level::high, 10.0, 30.0, 200, true}, keepGoing},
             {{Level::critical, 0.0, 30.0, 200, true}, elevated},  // debt beats the closing window
             {{Level::medium, 0.0, 30.0, 121, true}, closing},     // the window beats the boost
             {{Level::low, 0.0, 30.0, 120, true}, boost},
             {{Level::low, 0.0, 30.0, 120, false}, blinds},
             {{Level::medium, 10.0, 30.0, 121, true}, "Good start! 20 more minutes to hit your target."},
             {{Level::low, 10.0, 30.5, 10, false}, "Good start! 20 more minutes to hit your target."},
             {{Level::low, 29.9, 30.0, 10, false}, "Good start! 0 more minutes to hit your target."},
         }) {
        EXPECT_EQ(coachingTip(c.input), c.tip) << c.input.logged << " " << c.input.sinceWake;
    }
}

TEST_F(DashboardRulesTest, RingProgressStaysWithinTheCircle) {
    struct Case {
        double logged, target, progress;
    };
    for (const Case& c : std::vector<Case>{{0, 30, 0},
                                           {15, 30, 0.5},
                                           {45, 30, 1},
                                           {10, 30.5, 10 / 30.5},
                                           {-5, 30, 0},
                                           {nan, 30, 0},
                                           {5, 0, 1},
                                           {0, 0, 0}}) {
        EXPECT_DOUBLE_EQ(ringProgress(c.logged, c.target), c.progress) << c.logged << "/" << c.target;
    }
    EXPECT_EQ(coachDebtTint("critical"), Tint::red);
    EXPECT_EQ(coachDebtTint("unheard of"), Tint::green);
}

TEST_F(DashboardRulesTest, ScoreAndGradeAtEachBandEdge) {
    struct Case {
        double compliance;
        const char* level;
        std::optional<double> average;
        bool boost;
        std::int64_t score;
    };
    for (const Case& c : std::vector<Case>{
             {0.5, "medium", std::nullopt, false, 55},  // 15 + 25 + 15
             {1.0, "low", 5.0, true, 90},               // 30 + (21 + 14) + 25
             {1.0, "low", 60.0, true, 78},              // 30 + 23 + 25
             {0.999, "low", std::nullopt, true, 89},    // 29.97 truncated to 29
             {0.0, "Weird", std::nullopt, false, 20},   // an unknown level is 5 points
             {0.0, "high", 9.999, false, 38},           // 9 + 14 + 15
             {0.0, "high", 10.0, false, 34},
             {0.0, "high", 29.999, false, 34},
             {0.0, "high", 30.0, false, 30},
             {0.0, "high", 49.999, false, 30},
             {0.0, "high", 50.0, false, 26},
             {0.0, "high", nan, false, 26},
             {4.0, "low", std::nullopt, true, 100},  // capped
         }) {
        EXPECT_EQ(healthScore(c.compliance, c.level, c.average, c.boost), c.score)
            << c.compliance << " " << c.level << " " << c.average.value_or(-1);
    }

    struct GradeCase {
        std::int64_t score;
        const char* letter;
        Tint tint;
    };
    for (const GradeCase& c : std::vector<GradeCase>{{100, "A", Tint::green},
                                                     {90, "A", Tint::green},
                                                     {89, "B", Tint::blue},
                                                     {75, "B", Tint::blue},
                                                     {74, "C", Tint::yellow},
                                                     {60, "C", Tint::yellow},
                                                     {59, "D", Tint::orange},
                                                     {40, "D", Tint::orange},
                                                     {39, "F", Tint::red},
                                                     {101, "F", Tint::red},
                                                     {-1, "F", Tint::red}}) {
        const auto grade = CircadianScore::Grade::from(c.score);
        EXPECT_EQ(grade.rawValue(), c.letter) << c.score;
        EXPECT_EQ(gradeTint(grade), c.tint) << c.score;
    }

    struct DebtCase {
        std::optional<double> average;
        const char* word;
    };
    for (const DebtCase& c : std::vector<DebtCase>{{9.999, "Low"},
                                                   {10.0, "Medium"},
                                                   {29.999, "Medium"},
                                                   {30.0, "High"},
                                                   {50.0, "Critical"},
                                                   {nan, "Critical"}}) {
        EXPECT_EQ(debtAverageText(c.average), c.word) << *c.average;
    }
    EXPECT_EQ(cardDebtTint("low"), Tint::green);
    EXPECT_EQ(cardDebtTint("unheard of"), Tint::red);
}

}  // namespace
}  // namespace solvara::dashboard
