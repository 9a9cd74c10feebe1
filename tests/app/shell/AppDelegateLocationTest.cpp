#include "tests/app/shell/AppDelegateTestSupport.h"
#include "tests/support/ScopedTimeZone.h"

namespace solvara::testing {
namespace {

using AppDelegateLocationTest = AppDelegateTest;

constexpr const char* deniedLine = "Location denied. Using timezone-estimated location.";

TEST_F(AppDelegateLocationTest, TheTimeZoneEstimateTakesFifteenDegreesAnHour) {
    struct Case {
        const char* zone;
        double longitude;
    };
    for (const Case& c : {Case{"UTC", 0.0}, Case{"Europe/Berlin", 15.0}, Case{"America/New_York", -75.0},
                          Case{"Asia/Kolkata", 82.5}, Case{"Australia/Adelaide", 157.5}}) {
        ScopedTimeZone zone(c.zone);
        const Coordinate estimate = AppDelegate::timeZoneEstimate(at(2026, 1, 15, 12));
        EXPECT_EQ(estimate.latitude, 40.0) << c.zone;
        EXPECT_EQ(estimate.longitude, c.longitude) << c.zone;  // Adelaide: +10:30 in January
    }
}

TEST_F(AppDelegateLocationTest, AFixUsesTheLastPositionAtOnceAndStopsUpdates) {
    launch();
    EXPECT_TRUE(fake.location.updating);
    fake.location.deliverLocations({{48.1, 11.6}, {52.52, 13.405}});
    ASSERT_TRUE(state().coordinate());
    EXPECT_EQ(*state().coordinate(), (Coordinate{52.52, 13.405}));
    EXPECT_TRUE(state().currentState());  // the display follows without waiting for a tick
    EXPECT_FALSE(fake.displayTransfer.writes.empty());
    EXPECT_FALSE(fake.location.updating);
    EXPECT_EQ(fake.location.stopCount, 1);

    // A later permission grant starts updates again, and the next fix replaces the position.
    fake.location.changeAuthorization(LocationAuthorization::authorizedWhenInUse);
    EXPECT_TRUE(fake.location.updating);
    fake.location.deliverLocations({{40.4, -3.7}});
    EXPECT_EQ(*state().coordinate(), (Coordinate{40.4, -3.7}));
}

TEST_F(AppDelegateLocationTest, AFixLeavesAChosenCityAlone) {
    state().setSelectedCity(*CityLocation::preset("London"));
    state().setLocationSource(LocationSource::manual);
    launch();
    fake.location.deliverLocations({{48.1, 11.6}});
    EXPECT_EQ(*state().coordinate(), (Coordinate{51.5074, -0.1278}));
    EXPECT_FALSE(fake.location.updating);
}

TEST_F(AppDelegateLocationTest, RefusalOrErrorAtAFirstLaunchFallsBackForThisRunOnly) {
    ScopedTimeZone newYork("America/New_York");
    struct Case {
        std::function<void(FakeLocationProvider&)> report;
        std::string line;
    };
    const std::vector<Case> cases{
        {[](FakeLocationProvider& l) { l.changeAuthorization(LocationAuthorization::denied); }, deniedLine},
        {[](FakeLocationProvider& l) { l.changeAuthorization(LocationAuthorization::restricted); }, deniedLine},
        {[](FakeLocationProvider& l) { l.fail("No position source"); },
         "Location error: No position source. Using timezone-estimated location."},
    };
    for (const auto& c : cases) {
        destroyDelegate();
        fake.userDefaults.values.clear();
        launch();
        fake.log.lines.clear();
        c.report(fake.location);
        EXPECT_EQ(fake.log.lines, (std::vector<std::string>{c.line}));  // no component prefix
        ASSERT_TRUE(state().coordinate());
        EXPECT_EQ(*state().coordinate(), (Coordinate{40.0, -75.0}));
        EXPECT_EQ(state().locationSource(), LocationSource::automatic);
        EXPECT_EQ(fake.userDefaults.stringValue("sv_locationSource").value_or("Automatic"), "Automatic");
        advance(10);
        EXPECT_TRUE(state().currentState());
    }
}

TEST_F(AppDelegateLocationTest, ARefusalOnceAPositionIsKnownOnlyLogs) {
    launchAt(52.52, 13.405);
    fake.location.changeAuthorization(LocationAuthorization::denied);
    fake.location.fail("Timed out");
    EXPECT_EQ(*state().coordinate(), (Coordinate{52.52, 13.405}));
    EXPECT_TRUE(fake.log.contains(deniedLine));
    EXPECT_TRUE(fake.log.contains("Location error: Timed out. Using timezone-estimated location."));

    fake.location.changeAuthorization(LocationAuthorization::notDetermined);
    EXPECT_EQ(fake.location.startCount, 1);
}

}  // namespace
}  // namespace solvara::testing
