#include "core/health/LightDebtCalculator.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "core/foundation/Calendar.h"
#include "tests/support/ScopedClock.h"
#include "tests/support/ScopedTimeZone.h"

namespace solvara {
namespace {

using Level = LightDebtCalculator::DebtLevel;

Date at(int year, int month, int day, int hour, int minute = 0) {
    return *Calendar::date(year, month, day, hour, minute);
}

TEST(LightDebtCalculator, LevelBandsAndTexts) {
    const std::pair<double, Level> bands[] = {
        {0.0, Level::low},       {9.999, Level::low},    {10.0, Level::medium},
        {29.99, Level::medium},  {30.0, Level::high},    {49.99, Level::high},
        {50.0, Level::critical}, {1e9, Level::critical}, {std::nan(""), Level::critical},
    };
    for (const auto& [points, level] : bands) {
        EXPECT_EQ(Level::fromPoints(points), level) << points;
    }
    EXPECT_EQ(Level(Level::low).recommendation(), "Great job! Keep it up.");
    EXPECT_EQ(Level(Level::medium).recommendation(), "Consider 15 min extra morning sunlight tomorrow.");
    EXPECT_EQ(Level(Level::high).recommendation(),
              "Extended morning protocol recommended. Screen curfew suggested tonight.");
    EXPECT_EQ(Level(Level::critical).recommendation(),
              "Circadian rhythm needs reset. Screen-free evening + sunrise walk recommended.");
    for (const char* raw : {"low", "medium", "high", "critical"}) {
        ASSERT_TRUE(Level::fromRawValue(raw));
        EXPECT_EQ(Level::fromRawValue(raw)->rawValue(), raw);
    }
    EXPECT_FALSE(Level::fromRawValue("Low"));
}

TEST(LightDebtCalculator, AccumulatesAfterMelatoninOnsetAndRecoversNextDay) {
    testing::ScopedTimeZone zone("Europe/Berlin");
    testing::ScopedClock clock(at(2025, 3, 10, 21, 30));
    LightDebtCalculator debt;
    EXPECT_EQ(debt.currentLevel(), Level::low);
    EXPECT_EQ(debt.lastDebtDate(), "");

    // An evening of 10-second ticks past the onset at 100 lux against a target of 10.
    for (int tick = 0; tick < 720; ++tick) {  // two hours
        debt.accumulate(100.0, 10.0, 10.0 / 3600.0);
        clock.advance(10.0);
    }
    EXPECT_NEAR(debt.debtPoints(), 180.0, 1e-9);
    EXPECT_EQ(debt.currentLevel(), Level::critical);
    EXPECT_EQ(debt.lastDebtDate(), "2025-03-10");

    // Light at or below the target changes nothing, not even the day key.
    clock.set(at(2025, 3, 11, 0, 30));
    debt.accumulate(10.0, 10.0, 1.0);
    debt.accumulate(std::nan(""), 10.0, 1.0);
    EXPECT_EQ(debt.lastDebtDate(), "2025-03-10");

    // The first daytime tick of the new day takes the night's recovery (7.5 hours of sleep
    // leave 37.8 %), then 2 points an hour.
    clock.set(at(2025, 3, 11, 8, 0));
    debt.applyDaytimeDecay(0.1, 7.5);
    EXPECT_NEAR(debt.debtPoints(), 180.0 * 0.378 - 0.2, 1e-9);
    EXPECT_EQ(debt.lastDebtDate(), "2025-03-11");
    const double afterNight = debt.debtPoints();
    debt.applyDaytimeDecay(1.0, 7.5);  // same day: no second night
    EXPECT_NEAR(debt.debtPoints(), afterNight - 2.0, 1e-9);

    // Half an hour of morning sunlight with the protocol bonus removes 10 points.
    debt.recover(30.0, 1.0);
    EXPECT_NEAR(debt.debtPoints(), afterNight - 12.0, 1e-9);
    EXPECT_EQ(debt.lastDebtDate(), "2025-03-11");
}

TEST(LightDebtCalculator, NightRecoveryFollowsHoursSlept) {
    testing::ScopedClock clock(at(2025, 6, 2, 9));
    const std::pair<double, double> cases[] = {
        {7.5, 40.0 * 0.378 - 0.2}, {3.0, 27.8}, {std::nan(""), 27.8}, {4.0, 27.8},
        {12.0, 40.0 * 0.15 - 0.2}, {10.0, 5.8}, {9.99, 5.8},          {9.9, 40.0 * (1.0 - (0.3 + 5.9 * 0.092)) - 0.2},
    };
    for (const auto& [sleep, expected] : cases) {
        LightDebtCalculator debt;
        debt.restoreDebt(40.0, "2025-06-01");
        debt.applyDaytimeDecay(0.1, sleep);
        EXPECT_NEAR(debt.debtPoints(), expected, 1e-9) << sleep;
        EXPECT_EQ(debt.lastDebtDate(), "2025-06-02");
    }
}

TEST(LightDebtCalculator, NeverGoesNegativeAndKeepsAnEmptyKeyEmpty) {
    testing::ScopedClock clock(at(2025, 6, 2, 9));
    LightDebtCalculator debt;
    debt.applyDaytimeDecay(1.0, 7.5);
    EXPECT_EQ(debt.debtPoints(), 0.0);
    EXPECT_EQ(debt.lastDebtDate(), "");

    debt.restoreDebt(0.001, "2025-06-02");
    debt.applyDaytimeDecay(1.0, 7.5);
    EXPECT_EQ(debt.debtPoints(), 0.0);

    debt.restoreDebt(8.0, "2025-06-02");
    debt.recover(30.0, 1.0);
    EXPECT_EQ(debt.debtPoints(), 0.0);

    debt.accumulate(20.0, 10.0, 0.5);
    EXPECT_EQ(debt.debtPoints(), 5.0);
}

TEST(LightDebtCalculator, RestoreAndResetStampToday) {
    testing::ScopedClock clock(at(2025, 6, 2, 9));
    LightDebtCalculator debt;
    debt.restoreDebt(12.0, "");
    EXPECT_EQ(debt.debtPoints(), 12.0);
    EXPECT_EQ(debt.currentLevel(), Level::medium);
    EXPECT_EQ(debt.lastDebtDate(), "2025-06-02");

    debt.restoreDebt(-3.0, "2020-01-01");  // stored as given
    EXPECT_EQ(debt.debtPoints(), -3.0);
    EXPECT_EQ(debt.lastDebtDate(), "2020-01-01");

    debt.reset();
    EXPECT_EQ(debt.debtPoints(), 0.0);
    EXPECT_EQ(debt.lastDebtDate(), "2025-06-02");
}

}  // namespace
}  // namespace solvara
