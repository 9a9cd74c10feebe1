#include "tests/app/shell/AppDelegateTestSupport.h"

namespace solvara::testing {
namespace {

// 2026-01-13 is a Tuesday: the weekday bedtime applies (sleep 23:00, wake 7:00).
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
    launch();  // tests at 13:50:05, then 14:20:05, 14:50:05, ...
    std::vector<int> hoursPosted;
    for (int i = 0; i < 48; ++i) {
        advance(i == 0 ? 5 : 1800);
        const std::size_t before = fake.notifications.posted.size();
        if (delivered().size() > before) hoursPosted.push_back(Calendar::localComponents(fake.runLoop.now()).hour);
    }
    std::vector<int> expected;  // 14:20 ... 22:50: two tests an hour from 14 to 22
    for (int h = 14; h <= 22; ++h) expected.insert(expected.end(), {h, h});
    EXPECT_EQ(hoursPosted, expected);
    for (const auto& n : fake.notifications.posted) {
        EXPECT_EQ(n.identifier, "sleepAlarm");
        EXPECT_EQ(n.title, "Solvara");
    }
    EXPECT_EQ(fake.notifications.displayed().size(), 1u);  // each replaces the one before

    // The body counts the sleep left until 7:00 (9 h 20 min at 21:40).
    moveTo(at(2026, 1, 15, 21, 40));
    delivered();
    fake.notifications.posted.clear();
    delegate().sendSleepAlarmNotification();
    ASSERT_EQ(delivered().size(), 1u);
    EXPECT_EQ(fake.notifications.posted[0].body, "1h 20m until bedtime. You'll get ~9h of sleep if you go to bed now.");

    // A refused permission drops the notification and is asked again at the next post.
    fake.notifications.granted = false;
    const int asked = fake.notifications.authorizationRequests;
    delegate().sendSleepAlarmNotification();
    delegate().sendSleepAlarmNotification();
    EXPECT_EQ(delivered().size(), 1u);
    EXPECT_EQ(fake.notifications.authorizationRequests, asked + 2);
}

TEST_F(AppDelegateNotificationsTest, ASleepHourAfterMidnightWrapsTheWindow) {
    launch();
    state().setSleepHour(2);
    // Day of January, hour, minute, whether the alarm posts.
    const std::vector<std::tuple<int, int, int, bool>> cases{{13, 16, 59, false}, {13, 17, 0, true}, {13, 23, 30, true},
                                                             {14, 0, 30, true},   {14, 1, 59, true}, {14, 2, 0, false},
                                                             {14, 12, 0, false}};
    for (const auto& [day, hour, minute, posts] : cases) {
        moveTo(at(2026, 1, day, hour, minute));
        const std::size_t before = delivered().size();
        delegate().sendSleepAlarmNotification();
        EXPECT_EQ(delivered().size() > before, posts) << hour << ":" << minute;
    }
    state().setSleepAlarmEnabled(false);  // no countdown, no alarm
    const std::size_t before = delivered().size();
    delegate().sendSleepAlarmNotification();
    EXPECT_EQ(delivered().size(), before);
}

TEST_F(AppDelegateNotificationsTest, MorningRecoveryNamesTheLevelAndTheHourTwoHoursAfterWaking) {
    struct Case {
        std::int64_t wakeHour;
        int hour;
        double points;
        std::string body;  // empty: nothing posted
    };
    const std::vector<Case> cases{
        {7, 8, 42.6, "Your Light Debt is high (42 pts). Step outside for 15 min before 9:00 to reduce it to ~24 pts."},
        {7, 9, 55.0,
         "Your Light Debt is critical (55 pts). Step outside for 15 min before 9:00 to reduce it to ~37 pts."},
        {7, 7, 30.0, "Your Light Debt is high (30 pts). Step outside for 15 min before 9:00 to reduce it to ~12 pts."},
        {22, 23, 35.0,
         "Your Light Debt is high (35 pts). Step outside for 15 min before 0:00 to reduce it to ~17 pts."},
        {7, 10, 42.6, ""},  // three hours after waking
        {7, 6, 42.6, ""},
        {7, 8, 29.9, ""},  // medium
        {7, 8, 5.0, ""},   // low
    };
    for (const auto& c : cases) {
        fake.notifications.posted.clear();
        moveTo(at(2026, 1, 14 + static_cast<int>(&c - cases.data()), c.hour));
        state().setWakeHour(c.wakeHour);
        setDebt(c.points);
        delegate().checkMorningRecovery();
        std::vector<LocalNotification> expected;
        if (!c.body.empty()) expected.push_back({"morningRecovery", "Solvara — Morning Recovery", c.body});
        EXPECT_EQ(delivered(), expected) << c.hour << " " << c.points;
    }
}

TEST_F(AppDelegateNotificationsTest, TheLaunchChecksRunTenSecondsLaterInOrderAndTheSeasonalOneOncePerDay) {
    moveTo(at(2026, 3, 20, 8));  // near the equinox the days lengthen fastest
    fake.userDefaults.values.clear();
    state().setSleepAlarmEnabled(false);
    setDebt(40.0);
    delegate().checkSeasonalAwareness();  // no position yet: nothing, and the day is not taken
    EXPECT_EQ(delegate().seasonalCheckDate(), "");

    launchAt(52.52, 13.405);
    advance(9);
    EXPECT_TRUE(delivered().empty());
    advance(1);
    const auto posted = delivered();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].identifier, "morningRecovery");
    EXPECT_EQ(posted[1].identifier, "seasonalAwareness");
    EXPECT_EQ(posted[1].title, "Solvara — Seasonal Update");
    EXPECT_TRUE(posted[1].body.starts_with("Days are getting longer (+")) << posted[1].body;
    EXPECT_EQ(delegate().seasonalCheckDate(), "2026-03-20");

    delegate().checkSeasonalAwareness();  // the same day again
    EXPECT_EQ(delivered().size(), 2u);
}

}  // namespace
}  // namespace solvara::testing
