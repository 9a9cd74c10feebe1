#include "core/health/LightDebtCalculator.h"

#include <cmath>
#include <utility>

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
        {9.999, Level::low},  {10.0, Level::medium},   {29.99, Level::medium},          {30.0, Level::high},
        {49.99, Level::high}, {50.0, Level::critical}, {std::nan(""), Level::critical},
    };
    for (const auto& [points, level] : bands) EXPECT_EQ(Level::fromPoints(points), level) << points;
    const std::pair<Level, const char*> texts[] = {
        {Level::low, "Great job! Keep it up."},
        {Level::medium, "Consider 15 min extra morning sunlight tomorrow."},
        {Level::high, "Extended morning protocol recommended. Screen curfew suggested tonight."},
        {Level::critical, "Circadian rhythm needs reset. Screen-free evening + sunrise walk recommended."},
    };
    for (const auto& [level, text] : texts) {
        EXPECT_EQ(level.recommendation(), text);
        EXPECT_EQ(Level::fromRawValue(level.rawValue()), level);
    }
    EXPECT_EQ(Level(Level::critical).rawValue(), "critical");
}

TEST(LightDebtCalculator, AccumulatesAfterMelatoninOnsetAndRecoversNextDay) {
    testing::ScopedTimeZone zone("Europe/Berlin");
    testing::ScopedClock clock(at(2025, 3, 10, 21, 30));
    LightDebtCalculator debt;

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
    // leave 37.8 %), then 2 points an hour; later ticks only the 2 points.
    clock.set(at(2025, 3, 11, 8, 0));
    debt.applyDaytimeDecay(0.1, 7.5);
    EXPECT_NEAR(debt.debtPoints(), 180.0 * 0.378 - 0.2, 1e-9);
    EXPECT_EQ(debt.lastDebtDate(), "2025-03-11");
    debt.applyDaytimeDecay(1.0, 7.5);
    EXPECT_NEAR(debt.debtPoints(), 180.0 * 0.378 - 2.2, 1e-9);

    // Half an hour of morning sunlight with the protocol bonus removes 10 points.
    debt.recover(30.0, 1.0);
    EXPECT_NEAR(debt.debtPoints(), 180.0 * 0.378 - 12.2, 1e-9);
}

// 0.3 under 4 hours (or not a number), 0.092 more an hour, never above 0.85.
TEST(LightDebtCalculator, NightRecoveryFollowsHoursSlept) {
    testing::ScopedClock clock(at(2025, 6, 2, 9));
    const std::pair<double, double> kept[] = {
        {3.0, 0.7}, {std::nan(""), 0.7}, {7.5, 0.378}, {9.9, 1 - (0.3 + 5.9 * 0.092)}, {9.99, 0.15}, {12.0, 0.15},
    };
    for (const auto& [sleep, share] : kept) {
        LightDebtCalculator debt;
        debt.restoreDebt(40.0, "2025-06-01");
        debt.applyDaytimeDecay(0.1, sleep);
        EXPECT_NEAR(debt.debtPoints(), 40.0 * share - 0.2, 1e-9) << sleep;
    }
}

// A calculator never stamped has no new day and takes no night's recovery; nothing goes below 0.
TEST(LightDebtCalculator, RestoreResetAndTheFloorAtZero) {
    testing::ScopedClock clock(at(2025, 6, 2, 9));
    LightDebtCalculator debt;
    debt.applyDaytimeDecay(1.0, 7.5);
    EXPECT_EQ(debt.lastDebtDate(), "");

    debt.restoreDebt(0.001, "2025-06-02");
    debt.applyDaytimeDecay(1.0, 7.5);
    EXPECT_EQ(debt.debtPoints(), 0.0);
    debt.restoreDebt(8.0, "");  // an empty date stands for today
    EXPECT_EQ(debt.lastDebtDate(), "2025-06-02");
    debt.recover(30.0, 1.0);
    EXPECT_EQ(debt.debtPoints(), 0.0);

    debt.restoreDebt(-3.0, "2020-01-01");  // kept as stored
    EXPECT_EQ(debt.debtPoints(), -3.0);
    debt.reset();
    EXPECT_EQ(debt.debtPoints(), 0.0);
    EXPECT_EQ(debt.lastDebtDate(), "2025-06-02");
}

}  // namespace
}  // namespace solvara
