#include "tests/app/shell/AppDelegateTestSupport.h"
#include "tests/support/ScopedTimeZone.h"

namespace solvara::testing {
namespace {

using AppDelegateLocationTest = AppDelegateTest;

constexpr const char* deniedLine = "Location denied. Using timezone-estimated location.";

TEST_F(AppDelegateLocationTest, TheTimeZoneEstimateTakesFifteenDegreesAnHour) {
    // Adelaide is 10:30 ahead in January.
    const std::vector<std::pair<const char*, double>> cases{{"UTC", 0.0},
                                                            {"Europe/Berlin", 15.0},
                                                            {"America/New_York", -75.0},
                                                            {"Asia/Kolkata", 82.5},
                                                            {"Australia/Adelaide", 157.5}};
    for (const auto& [zone, longitude] : cases) {
        ScopedTimeZone scoped(zone);
        EXPECT_EQ(AppDelegate::timeZoneEstimate(at(2026, 1, 15, 12)), (Coordinate{40.0, longitude})) << zone;
    }
}

TEST_F(AppDelegateLocationTest, AFixUsesTheLastPositionAtOnceStopsUpdatesAndLeavesAChosenCityAlone) {
    launch();
    EXPECT_TRUE(fake.location.updating);
    EXPECT_FALSE(state().hasLocationFix());
    fake.location.deliverLocations({{48.1, 11.6}, {52.52, 13.405}});
    EXPECT_EQ(state().coordinate(), (Coordinate{52.52, 13.405}));
    EXPECT_TRUE(state().hasLocationFix());
    EXPECT_TRUE(state().currentState());  // the display follows without waiting for a tick
    EXPECT_FALSE(fake.displayTransfer.writes.empty());
    EXPECT_FALSE(fake.location.updating);

    // A later permission grant starts updates again, and the next fix replaces the position...
    fake.location.changeAuthorization(LocationAuthorization::authorizedWhenInUse);
    EXPECT_TRUE(fake.location.updating);
    fake.location.deliverLocations({{40.4, -3.7}});
    EXPECT_EQ(state().coordinate(), (Coordinate{40.4, -3.7}));

    // ... unless the user has chosen a city.
    state().setSelectedCity(*CityLocation::preset("London"));
    state().setLocationSource(LocationSource::manual);
    fake.location.changeAuthorization(LocationAuthorization::authorizedAlways);
    fake.location.deliverLocations({{48.1, 11.6}});
    EXPECT_EQ(state().coordinate(), (Coordinate{51.5074, -0.1278}));
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
        EXPECT_FALSE(state().currentState());  // nothing to follow yet
        fake.log.lines.clear();
        c.report(fake.location);
        EXPECT_EQ(fake.log.lines, (std::vector<std::string>{c.line}));  // no component prefix
        EXPECT_EQ(state().coordinate(), (Coordinate{40.0, -75.0}));
        EXPECT_FALSE(state().hasLocationFix());  // an estimate is no fix
        EXPECT_EQ(state().locationSource(), LocationSource::automatic);
        EXPECT_EQ(fake.userDefaults.stringValue("sv_locationSource").value_or("Automatic"), "Automatic");
        advance(10);
        EXPECT_TRUE(state().currentState());
    }
}

TEST_F(AppDelegateLocationTest, ARefusalOnceAPositionIsKnownOnlyLogsEachChangeOnce) {
    launchAt(52.52, 13.405);
    fake.log.lines.clear();
    for (int repeat = 0; repeat < 3; ++repeat) fake.location.changeAuthorization(LocationAuthorization::denied);
    for (int repeat = 0; repeat < 3; ++repeat) fake.location.fail("Timed out");
    fake.location.changeAuthorization(LocationAuthorization::notDetermined);
    fake.location.changeAuthorization(LocationAuthorization::denied);
    EXPECT_EQ(state().coordinate(), (Coordinate{52.52, 13.405}));
    EXPECT_EQ(fake.log.lines,
              (std::vector<std::string>{deniedLine, "Location error: Timed out. Using timezone-estimated location.",
                                        deniedLine}));
    EXPECT_EQ(fake.location.startCount, 1);
}

}  // namespace
}  // namespace solvara::testing
