#include "tests/app/shell/AppDelegateTestSupport.h"

namespace solvara::testing {
namespace {

// 2026-01-13 is a Tuesday: the weekday bedtime applies.
class AppDelegateNotificationsTest : public AppDelegateTest {
protected:
    AppDelegateNotificationsTest() : AppDelegateTest(at(2026, 1, 13, 13, 50)) {}

    // Runs the permission answers, as the notification service would.
    std::vector<LocalNotification> delivered() {
        fake.notifications.answerAuthorizations();
        return fake.notifications.posted;
    }
    void setDebt(double points) { state().lightDebtCalculator().restoreDebt(points, ""); }
};

TEST_F(AppDelegateNotificationsTest, TheSleepAlarmPostsEveryHalfHourInTheNineHoursBeforeBed) {
    launch();  // sleep 23:00, wake 7:00; tests at 13:50:05, then 14:20, 14:50, ...
    std::vector<int> hoursPosted;
    for (int i = 0; i < 48; ++i) {
        advance(i == 0 ? 5 : 1800);
        const std::size_t before = fake.notifications.posted.size();
        if (delivered().size() > before) hoursPosted.push_back(Calendar::localComponents(fake.runLoop.now()).hour);
    }
    // 14:20 ... 22:50: two tests an hour from 14 to 22.
    std::vector<int> expected;
    for (int h = 14; h <= 22; ++h) expected.insert(expected.end(), {h, h});
    EXPECT_EQ(hoursPosted, expected);
    for (const auto& n : fake.notifications.posted) {
        EXPECT_EQ(n.identifier, "sleepAlarm");
        EXPECT_EQ(n.title, "Solvara");
    }
    EXPECT_EQ(fake.notifications.displayed().size(), 1u);  // each replaces the one before
}

TEST_F(AppDelegateNotificationsTest, TheSleepAlarmBodyCountsTheSleepLeft) {
    moveTo(at(2026, 1, 13, 21, 39, 55));
    launch();
    advance(5);  // the first test, 5 seconds after launch
    const auto posted = delivered();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted.back().body, "1h 20m until bedtime. You'll get ~9h of sleep if you go to bed now.");

    state().setSleepAlarmEnabled(false);  // no countdown, no alarm
    delegate().sendSleepAlarmNotification();
    advance(1800);
    EXPECT_EQ(delivered().size(), 1u);
}

TEST_F(AppDelegateNotificationsTest, ASleepHourAfterMidnightWrapsTheWindow) {
    launch();
    state().setSleepHour(2);
    struct Case {
        int day, hour, minute;
        bool posts;
    };
    for (const Case& c : {Case{13, 16, 59, false}, Case{13, 17, 0, true}, Case{13, 23, 30, true}, Case{14, 0, 30, true},
                          Case{14, 1, 59, true}, Case{14, 2, 0, false}, Case{14, 12, 0, false}}) {
        moveTo(at(2026, 1, c.day, c.hour, c.minute));
        const std::size_t before = delivered().size();
        delegate().sendSleepAlarmNotification();
        EXPECT_EQ(delivered().size() > before, c.posts) << c.hour << ":" << c.minute;
    }
}

TEST_F(AppDelegateNotificationsTest, ARefusedPermissionDropsTheNotificationAndIsAskedAgain) {
    launch();
    fake.notifications.granted = false;
    moveTo(at(2026, 1, 13, 20));
    delegate().sendSleepAlarmNotification();
    delegate().sendSleepAlarmNotification();
    EXPECT_TRUE(delivered().empty());
    EXPECT_GE(fake.notifications.authorizationRequests, 2);
}

TEST_F(AppDelegateNotificationsTest, MorningRecoveryNamesTheLevelAndTheHourTwoHoursAfterWaking) {
    struct Case {
        std::int64_t wakeHour;
        int hour;
        double points;
        std::optional<std::string> body;
    };
    const std::vector<Case> cases{
        {7, 8, 42.6, "Your Light Debt is high (42 pts). Step outside for 15 min before 9:00 to reduce it to ~24 pts."},
        {7, 9, 55.0,
         "Your Light Debt is critical (55 pts). Step outside for 15 min before 9:00 to reduce it to ~37 pts."},
        {7, 7, 30.0, "Your Light Debt is high (30 pts). Step outside for 15 min before 9:00 to reduce it to ~12 pts."},
        {22, 23, 35.0,
         "Your Light Debt is high (35 pts). Step outside for 15 min before 0:00 to reduce it to ~17 pts."},
        {7, 10, 42.6, std::nullopt},  // three hours after waking
        {7, 6, 42.6, std::nullopt},
        {7, 8, 29.9, std::nullopt},  // medium
        {7, 8, 5.0, std::nullopt},   // low
    };
    for (const auto& c : cases) {
        destroyDelegate();
        fake.notifications.posted.clear();
        moveTo(at(2026, 1, 14 + static_cast<int>(&c - cases.data()), c.hour));
        state().setWakeHour(c.wakeHour);
        setDebt(c.points);
        delegate().checkMorningRecovery();
        const auto posted = delivered();
        if (!c.body) {
            EXPECT_TRUE(posted.empty()) << c.hour << " " << c.points;
            continue;
        }
        ASSERT_EQ(posted.size(), 1u);
        EXPECT_EQ(posted[0], (LocalNotification{"morningRecovery", "Solvara — Morning Recovery", *c.body}));
    }
}

TEST_F(AppDelegateNotificationsTest, TheLaunchChecksRunTenSecondsLaterInOrderAndTheSeasonalOneOncePerDay) {
    moveTo(at(2026, 3, 20, 8));  // near the equinox the days lengthen fastest
    fake.userDefaults.values.clear();
    state().setSleepAlarmEnabled(false);
    setDebt(40.0);
    launchAt(52.52, 13.405);
    advance(9);
    EXPECT_TRUE(delivered().empty());
    advance(1);
    const auto posted = delivered();
    ASSERT_EQ(notificationIds(), (std::vector<std::string>{"morningRecovery", "seasonalAwareness"}));
    EXPECT_EQ(posted[1].title, "Solvara — Seasonal Update");
    EXPECT_TRUE(posted[1].body.starts_with("Days are getting longer (+")) << posted[1].body;
    EXPECT_EQ(delegate().seasonalCheckDate(), "2026-03-20");

    delegate().checkSeasonalAwareness();  // the same day again
    EXPECT_EQ(delivered().size(), 2u);
}

TEST_F(AppDelegateNotificationsTest, NoSeasonalMessageWithoutAPosition) {
    launch();
    delegate().checkSeasonalAwareness();
    EXPECT_TRUE(delivered().empty());
    EXPECT_EQ(delegate().seasonalCheckDate(), "");
}

}  // namespace
}  // namespace solvara::testing
