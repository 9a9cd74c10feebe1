#include "core/foundation/Clock.h"
#include "tests/app/state/AppStateTestSupport.h"

namespace solvara::testing {
namespace {

const Coordinate newYork{40.7128, -74.006};

TEST(AppStateNight, BiologicalNightRunsFromOnsetToWakeOnTheClock) {
    struct Row {
        int hour, sleep, wake;
        bool night;
    };
    const Row rows[] = {
        {21, 23, 7, true},  {6, 23, 7, true},   {7, 23, 7, false},  {20, 23, 7, false},
        {22, 0, 7, true},   {21, 0, 7, false},  {23, 1, 7, true},   {22, 1, 7, false},
        // Sleep at 02:00: onset at midnight, so the night is 00:00 to 07:00, not the whole day.
        {0, 2, 7, true},    {6, 2, 7, true},    {7, 2, 7, false},   {12, 2, 7, false},
        {23, 2, 7, false},
        // Onset at the wake hour itself (sleep at 09:00, wake at 07:00): night all day.
        {7, 9, 7, true},    {12, 9, 7, true},   {6, 9, 7, true},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(AppState::isInBiologicalNight(r.hour, r.sleep, r.wake), r.night)
            << r.hour << ":00 sleep " << r.sleep << " wake " << r.wake;
    }
}

TEST_F(AppStateTest, UpdateWaitsForALocationThenAccountsTheShownLightOnlyWhileFilteringAndAwake) {
    AppState& s = state();
    s.updateCircadianState();
    EXPECT_FALSE(s.currentState().has_value());
    EXPECT_TRUE(s.lastDailyResetDate().empty());
    EXPECT_EQ(fake.displayTransfer.writeCount, 0u);

    moveTo(at(2026, 1, 15, 22, 0));  // after melatonin onset
    s.setCoordinate(newYork);        // shows the engine's state at once, but only a tick counts
    EXPECT_TRUE(s.currentState().has_value());
    EXPECT_TRUE(s.exposureTracker().records().empty());
    s.updateCircadianState();
    EXPECT_EQ(s.lastDailyResetDate(), "2026-01-15");
    ASSERT_EQ(s.exposureTracker().records().size(), 1u);
    const auto& record = s.exposureTracker().records().front();
    EXPECT_EQ(record.colorTemperature, *s.appliedKelvin());
    EXPECT_TRUE(record.isPostDLMO);
    EXPECT_GT(s.lightDebtPoints(), 0.0);
    EXPECT_DOUBLE_EQ(s.screenTimeToday(), 10.0 / 3600.0);
    EXPECT_EQ(s.lightDebtPeakToday(), s.lightDebtPoints());
    EXPECT_TRUE(fake.userDefaults.contains("sv_exposureRecords"));

    fake.displayTransfer.mainDisplayAsleep = true;
    s.updateCircadianState();
    fake.displayTransfer.mainDisplayAsleep = false;
    s.setIsUserInactive(true);
    s.updateCircadianState();
    s.setIsUserInactive(false);
    s.setIsEnabled(false);
    s.updateCircadianState();
    EXPECT_EQ(s.exposureTracker().records().size(), 1u);

    s.setIsEnabled(true);
    moveTo(at(2026, 1, 16, 12, 0));  // daytime: logged, and the debt decays
    const double before = s.lightDebtCalculator().debtPoints();
    s.updateCircadianState();
    EXPECT_FALSE(s.exposureTracker().records().back().isPostDLMO);
    EXPECT_LT(s.lightDebtCalculator().debtPoints(), before);
}

TEST_F(AppStateTest, SettingChangesCountNoTimeWhileTheClockStandsStill) {
    AppState& s = state();
    moveTo(at(2026, 1, 15, 22, 0));
    s.setCoordinate(newYork);
    for (int i = 0; i < 5; ++i) {
        s.setDayKelvin(6000 + i);
        s.setNightKelvin(2000 + i);
        s.setWakeHour(6 + i % 2);
        s.setManualNightStartHour(19 + i % 2);
    }
    EXPECT_EQ(s.screenTimeToday(), 0.0);
    EXPECT_EQ(s.lightDebtPoints(), 0.0);
    EXPECT_TRUE(s.exposureTracker().records().empty());
    EXPECT_EQ(s.circadianEngine().nightKelvin(), 2004);  // yet each change reached the engine
}

TEST_F(AppStateTest, ALaunchWritesTheDisplaysOnceAndCountsNothing) {
    auto& d = fake.userDefaults;
    d.set("sv_isEnabled", true);
    d.set("sv_currentMode", std::string("Reading"));
    d.set("sv_locationSource", std::string("Manual"));
    d.set("sv_selectedCity", std::string("Oslo"));
    d.set("sv_dayKelvin", std::int64_t{6000});
    d.set("sv_manualNight", true);
    d.set("sv_screenEffect", std::string("Grayscale"));
    d.set("sv_pwmProtection", true);
    d.set("sv_vignetteEnabled", true);
    moveTo(at(2026, 1, 15, 22, 0));
    AppState& s = state();
    EXPECT_EQ(fake.displayTransfer.writeCount, 1u);  // one display, one write
    EXPECT_TRUE(s.currentState().has_value());
    EXPECT_EQ(s.appliedKelvin(), 1800);                // the restored night window, at once
    EXPECT_EQ(fake.events.count("window+ 1001"), 1u);  // the PWM dimmer, put up once
    EXPECT_EQ(s.screenTimeToday(), 0.0);
    EXPECT_TRUE(s.exposureTracker().records().empty());
}

TEST_F(AppStateTest, FirstUpdateAfterMidnightClosesYesterday) {
    AppState& s = state();
    moveTo(at(2026, 1, 15, 23, 59, 50));
    s.setCoordinate(newYork);
    s.updateCircadianState();
    s.setSleepQualityRating(3);
    s.setBreaksEnabled(true);
    s.breakScheduler().restoreStats(4, 1);
    s.logMorningSunlight(0);
    const double screenHours = s.screenTimeToday();
    const double peak = s.lightDebtPeakToday();
    ASSERT_GT(peak, 0.0);

    moveTo(at(2026, 1, 16, 0, 0, 0));
    s.updateCircadianState();
    ASSERT_EQ(s.healthHistory().snapshots().size(), 1u);
    const auto& day = s.healthHistory().snapshots().front();
    EXPECT_EQ(day.date, "2026-01-15");
    EXPECT_DOUBLE_EQ(day.screenTimeHours, screenHours);
    EXPECT_DOUBLE_EQ(day.lightDebtPeakPoints, peak);
    EXPECT_EQ(day.breaksCompleted, 4);
    EXPECT_EQ(day.breaksSkipped, 1);
    EXPECT_EQ(day.sleepQualityRating, 3);
    EXPECT_TRUE(day.circadianScore.has_value());

    EXPECT_EQ(s.lastDailyResetDate(), "2026-01-16");
    EXPECT_EQ(s.sleepQualityRating(), 0);
    EXPECT_EQ(s.breakScheduler().breaksCompleted(), 0);
    // The new day's first ten seconds are already accounted in the same update.
    EXPECT_DOUBLE_EQ(s.screenTimeToday(), 10.0 / 3600.0);
    EXPECT_EQ(fake.userDefaults.stringValue("sv_lastDailyResetDate"), "2026-01-16");
}

TEST_F(AppStateTest, EngineScheduleFollowsWeekendsAndDaylightSaving) {
    AppState& s = state();
    s.setWeekendScheduleEnabled(true);
    s.setWakeMinute(10);
    moveTo(at(2026, 1, 17, 12, 0));  // Saturday
    s.syncEngineSchedule();
    EXPECT_EQ(s.circadianEngine().wakeTime(), (CircadianEngine::TimeOfDay{9, 10}));
    EXPECT_EQ(s.circadianEngine().sleepTime(), (CircadianEngine::TimeOfDay{0, 0}));
    s.setWeekendScheduleEnabled(false);

    // A spring-forward switch two days ago: wake and sleep move 30 minutes earlier.
    s.dstSmoother().restore((fake.runLoop.now() - 2 * 86400.0).unixTime(), 1, 0);
    ASSERT_EQ(s.dstSmoother().currentOffsetMinutes(), -30);
    s.setWakeHour(0);
    s.syncEngineSchedule();
    EXPECT_EQ(s.circadianEngine().wakeTime(), (CircadianEngine::TimeOfDay{23, 40}));
    EXPECT_EQ(s.circadianEngine().sleepTime(), (CircadianEngine::TimeOfDay{22, 30}));
    s.setDstSmoothingEnabled(false);
    s.syncEngineSchedule();
    EXPECT_EQ(s.circadianEngine().wakeTime(), (CircadianEngine::TimeOfDay{0, 10}));
}

TEST_F(AppStateTest, AppearanceFollowsTheSunAfterTheUpdate) {
    AppState& s = state();
    std::vector<bool> calls;
    s.onAutoAppearance = [&](bool dark) { calls.push_back(dark); };
    moveTo(at(2026, 1, 16, 3, 0));  // night in New York
    s.setCoordinate(newYork);
    s.updateCircadianState();
    EXPECT_TRUE(calls.empty());  // queued, not called inside the update
    fake.runLoop.runPending();
    moveTo(at(2026, 1, 16, 17, 0));  // midday in New York
    s.updateCircadianState();
    fake.runLoop.runPending();
    EXPECT_EQ(calls, (std::vector<bool>{true, false}));
}

TEST_F(AppStateTest, BreakTickRunsABreakWithItsTexts) {
    AppState& s = state();
    s.setBreaksEnabled(true);
    using E = AppState::BreakEvent;
    EXPECT_EQ(s.tickBreakTimer(), std::nullopt);
    EXPECT_EQ(s.breakCountdownText(), "Next break in 20:00");
    fake.runLoop.advance(1199.6);
    EXPECT_EQ(s.tickBreakTimer(), std::nullopt);
    EXPECT_EQ(s.breakCountdownText(), "Next break in 0:00");
    fake.runLoop.advance(0.4);
    EXPECT_EQ(s.tickBreakTimer(), E::breakStarted);
    EXPECT_EQ(s.breakCountdownText(), "Break now!");
    EXPECT_EQ(s.breakRemainingSeconds(), 20);
    EXPECT_TRUE(s.showBreakOverlay());
    fake.runLoop.advance(1.5);
    EXPECT_EQ(s.tickBreakTimer(), std::nullopt);
    EXPECT_EQ(s.breakCountdownText(), "Break: 19s");
    fake.runLoop.advance(18.5);
    EXPECT_EQ(s.tickBreakTimer(), E::breakEnded);
    EXPECT_EQ(s.breakCountdownText(), "");
    EXPECT_FALSE(s.showBreakOverlay());
    EXPECT_EQ(fake.userDefaults.integerValue("sv_breaksCompleted"), 1);
    EXPECT_EQ(s.tickBreakTimer(), std::nullopt);
    EXPECT_EQ(s.breakCountdownText(), "Next break in 20:00");

    s.breakScheduler().triggerBreak();  // from a shortcut: shown once by the next tick
    EXPECT_EQ(s.tickBreakTimer(), E::breakStarted);
    EXPECT_EQ(s.tickBreakTimer(), std::nullopt);
    s.postponeBreak();
    EXPECT_FALSE(s.showBreakOverlay());
    s.tickBreakTimer();
    EXPECT_EQ(s.breakCountdownText(), "Next break in 5:00");

    s.breakScheduler().pause(BreakScheduler::PauseReason::videoCall);
    s.tickBreakTimer();
    EXPECT_EQ(s.breakCountdownText(), "Paused: Video call detected");
    s.breakScheduler().setState(BreakScheduler::Counting{fake.runLoop.now() + 1.0e300});
    s.tickBreakTimer();  // a deadline beyond any count does not overflow
    EXPECT_EQ(s.breakCountdownText().rfind("Next break in ", 0), 0u);

    s.breakScheduler().triggerBreak();
    s.setBreaksEnabled(false);
    EXPECT_EQ(s.tickBreakTimer(), std::nullopt);
    EXPECT_EQ(s.breakCountdownText(), "");
}

TEST_F(AppStateTest, ABreakStartsWithItsFullLookAwayLength) {
    AppState& s = state();
    s.setBreaksEnabled(true);
    moveTo(fake.runLoop.now() + 1200.0);
    // A clock that moves on between any two readings, as a real one does.
    Date clock = fake.runLoop.now();
    Clock::setSourceForTesting([&clock] { return clock = clock + 0.4; });
    const auto event = s.tickBreakTimer();
    Clock::setSourceForTesting([this] { return fake.runLoop.now(); });
    EXPECT_EQ(event, AppState::BreakEvent::breakStarted);
    EXPECT_EQ(s.breakRemainingSeconds(), s.breakScheduler().config().lookAwaySeconds);
}

TEST_F(AppStateTest, CountdownTexts) {
    AppState& s = state();
    struct Row {
        Date when;
        std::optional<std::string> bedtime, melatonin, sleepNow;
    };
    const std::optional<std::string> none;
    const Row rows[] = {
        {at(2026, 1, 15, 18, 59), "4h 1m until bedtime", "Melatonin window in 2h 1m", none},
        {at(2026, 1, 15, 19, 0), "4h 0m until bedtime", "Melatonin window in 2h 0m", "If you sleep now: 12h 0m"},
        {at(2026, 1, 15, 20, 30), "2h 30m until bedtime", "Melatonin window in 30m", "If you sleep now: 10h 30m"},
        {at(2026, 1, 15, 22, 30), "30m until bedtime", "Melatonin production active", "If you sleep now: 8h 30m"},
        {at(2026, 1, 15, 23, 0), "0m until bedtime", "Melatonin production active", "If you sleep now: 8h 0m"},
        {at(2026, 1, 16, 3, 30), none, "Melatonin production active", none},
        {at(2026, 1, 16, 6, 59), none, "Melatonin production active", none},  // bedtime 16h 1m away
        {at(2026, 1, 16, 7, 1), "15h 59m until bedtime", none, none},
        {at(2026, 1, 16, 9, 0), "14h 0m until bedtime", "Melatonin window in 12h 0m", none},
        {at(2026, 1, 16, 22, 0), "1h 0m until bedtime", "Melatonin production active", "If you sleep now: 9h 0m"},
    };
    for (const auto& row : rows) {
        moveTo(row.when);
        const auto hour = Calendar::localComponents(row.when);
        EXPECT_EQ(s.sleepCountdownText(), row.bedtime) << hour.hour << ":" << hour.minute;
        EXPECT_EQ(s.dlmoCountdownText(), row.melatonin) << hour.hour << ":" << hour.minute;
        EXPECT_EQ(s.sleepIfNowText(), row.sleepNow) << hour.hour << ":" << hour.minute;
    }
    s.setSleepAlarmEnabled(false);
    EXPECT_EQ(s.sleepCountdownText(), std::nullopt);

    // Friday 22:30 with the weekend schedule: bedtime at midnight.
    s.setSleepAlarmEnabled(true);
    s.setWeekendScheduleEnabled(true);
    moveTo(at(2026, 1, 16, 22, 30));
    EXPECT_EQ(s.sleepCountdownText(), "1h 30m until bedtime");
}

TEST_F(AppStateTest, SleepWindowAndMelatoninOnsetOverTheClock) {
    AppState& s = state();
    struct Row {
        std::int64_t sleepHour;
        Date when;
        bool sleepTime, postDLMO;
    };
    const Row rows[] = {
        {23, at(2026, 1, 15, 20, 59), false, false}, {23, at(2026, 1, 15, 21, 0), false, true},
        {23, at(2026, 1, 15, 23, 0), true, true},    {23, at(2026, 1, 16, 6, 59), true, true},
        {23, at(2026, 1, 16, 7, 0), false, false},
        // Sleep after midnight: the sleep window lies within the day, the onset just before it.
        {1, at(2026, 1, 16, 23, 30), false, true},   {1, at(2026, 1, 17, 0, 30), false, true},
        {1, at(2026, 1, 17, 1, 0), true, true},     {1, at(2026, 1, 17, 7, 0), false, false},
        // Onset at midnight: the evening before is not yet past it.
        {2, at(2026, 1, 17, 23, 30), false, false},  {2, at(2026, 1, 18, 0, 0), false, true},
    };
    for (const auto& row : rows) {
        s.setSleepHour(row.sleepHour);
        moveTo(row.when);
        const auto local = Calendar::localComponents(row.when);
        EXPECT_EQ(s.isSleepTime(), row.sleepTime) << row.sleepHour << " " << local.hour << ":" << local.minute;
        EXPECT_EQ(s.isPostDLMO(), row.postDLMO) << row.sleepHour << " " << local.hour << ":" << local.minute;
    }
}

TEST_F(AppStateTest, DarkSchemeAndMelanopicLightFollowTheWantedKelvin) {
    AppState& s = state();  // no engine state: Auto wants 5500 K
    EXPECT_FALSE(s.shouldUseDarkMode());
    const double daylight = s.currentMelanopicEDI();
    s.setCurrentMode(AppState::DisplayMode::coding);  // 4500 K: not below the threshold
    EXPECT_FALSE(s.shouldUseDarkMode());
    s.setCurrentMode(AppState::DisplayMode::reading);
    EXPECT_TRUE(s.shouldUseDarkMode());
    EXPECT_LT(s.currentMelanopicEDI(), daylight);
    EXPECT_GT(s.currentMelanopicEDI(), 0.0);
    s.setCurrentMode(AppState::DisplayMode::disabled);
    EXPECT_FALSE(s.shouldUseDarkMode());
    EXPECT_EQ(s.currentMelanopicEDI(), 0.0);
}

TEST_F(AppStateTest, ScoreAndMorningSunlight) {
    AppState& s = state();
    EXPECT_EQ(s.computeCurrentScore(), 90);  // 30 + 35 + 25
    s.healthHistory().recordDay("2026-01-14", 1, 5, 1, 0, 0, std::nullopt, std::nullopt);
    EXPECT_EQ(s.computeCurrentScore(), 90);  // 30 + trunc(35 x 0.6 + 14) + 25
    s.setLightDebtLevel("critical");
    s.breakScheduler().restoreStats(0, 3);
    s.setMorningBoostEnabled(false);
    s.healthHistory().recordDay("2026-01-14", 1, 60, 1, 0, 0, std::nullopt, std::nullopt);
    EXPECT_EQ(s.computeCurrentScore(), 20);  // 0 + trunc(5 x 0.6 + 2) + 15

    s.setMorningBoostEnabled(true);
    s.lightDebtCalculator().restoreDebt(8, "");
    s.logMorningSunlight(30);  // 5 points for the half hour, 5 for the boost
    EXPECT_EQ(s.lightDebtPoints(), 0.0);
    EXPECT_EQ(s.morningSunlightToday(), 30.0);
    s.logMorningSunlight(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(s.morningSunlightToday(), 30.0);
    EXPECT_EQ(fake.userDefaults.realValue("sv_morningSunlightToday"), 30.0);
}

TEST_F(AppStateTest, MenuBarIconFollowsThePhase) {
    AppState& s = state();
    EXPECT_EQ(s.menuBarIcon(), "sun.max");
    moveTo(at(2026, 1, 16, 3, 0));
    s.setCoordinate(newYork);
    EXPECT_EQ(s.menuBarIcon(), "moon.stars");
    s.setIsEnabled(false);
    EXPECT_EQ(s.menuBarIcon(), "sun.max");
    EXPECT_EQ(s.currentMelanopicEDI(), 0.0);
}

}  // namespace
}  // namespace solvara::testing
