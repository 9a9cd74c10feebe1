#include <algorithm>

#include "tests/app/shell/AppDelegateTestSupport.h"
#include "tests/support/ScopedTimeZone.h"

namespace solvara::testing {
namespace {

class AppDelegateStartupTest : public AppDelegateTest {
protected:
    // Records starting with these texts, in this order, must appear in the shared record.
    void expectInOrder(const std::vector<std::string>& expected) {
        const auto& record = fake.events.events;
        auto from = record.begin();
        for (const auto& event : expected) {
            from = std::find_if(from, record.end(), [&](const std::string& e) { return e.starts_with(event); });
            ASSERT_NE(from, record.end())
                << "missing or out of order: " << event << "\nrecord: " << ::testing::PrintToString(record);
            ++from;
        }
    }
};

TEST_F(AppDelegateStartupTest, ConstructionStartsNothing) {
    delegate();
    EXPECT_EQ(fake.runLoop.scheduledCount(), 0u);
    EXPECT_EQ(fake.workspace.observerCount(), 0u);
    EXPECT_EQ(fake.location.authorizationRequests, 0);
    EXPECT_FALSE(fake.globalShortcuts.started);
    EXPECT_EQ(state().soundscapeManager(), nullptr);  // handed over at start-up only
}

TEST_F(AppDelegateStartupTest, LaunchRunsTheSeventeenStepsInOrder) {
    ScopedTimeZone berlin("Europe/Berlin");
    fake.userDefaults.set("sv_isEnabled", true);
    fake.userDefaults.set("sv_locationSource", std::string("Manual"));
    fake.userDefaults.set("sv_ambientLight", true);
    fake.userDefaults.set("sv_breaksEnabled", true);  // the break timer runs only while they are on
    // The last run saw summer time: the daylight-saving check finds the switch back.
    fake.userDefaults.set("sv_dstLastOffset", std::int64_t{7200});
    bool mainWindowExists = false;
    auto& hooks = delegate().mainWindowHooks;
    hooks.create = [&] {
        fake.events.add("mainWindow create");
        mainWindowExists = true;
    };
    hooks.bringToFront = [&] {
        if (mainWindowExists) fake.events.add("mainWindow front");
        return mainWindowExists;
    };
    hooks.activateApplication = [&] { fake.events.add("activate"); };
    state().addObserver([this](AppState::Property property, AppState::Notice notice) {
        if (notice != AppState::Notice::didChange) return;
        if (property == AppState::Property::soundscapeManager) fake.events.add("state soundscapeManager");
        if (property == AppState::Property::shortcutManager) fake.events.add("state shortcutManager");
    });
    ASSERT_TRUE(state().coordinate());  // the stored city

    std::optional<bool> smoothingBeforeAmbient;
    std::optional<bool> smoothingAtBreakTimer;
    int thirtySecondTimers = 0;
    runLoop.onRecord = [&](const std::string& event) {
        if (event == "repeating 30" && ++thirtySecondTimers == 2) {
            smoothingBeforeAmbient = state().dstSmoother().isSmoothing();
        }
        if (event == "repeating 1") smoothingAtBreakTimer = state().dstSmoother().isSmoothing();
    };
    delegate().postShowMainWindow();  // nobody listens yet
    fake.events.clear();

    launch();

    // clang-format off
    expectInOrder({
        "state soundscapeManager",                                                              // 1
        "colorFilter save",                                                                     // 2
        "location callbacks", "location accuracy", "location authorization", "location start",  // 3
        "repeating 10",                                          // 4 update timer
        "observe screens", "observe wake", "observe frontmost",  // 5
        "repeating 1800", "once 5",                              // 6 sleep alarm
        "shortcuts start", "state shortcutManager",              // 7
        "repeating 30",                                          // 8 inactivity
        "repeating 10",                                          // 9 flow
        "repeating 30",                                          // 10 ambient polling
        "repeating 1",                                           // 12 break timer
        "table 11",                                              // 13 one update at once
        "once 10",                                               // 14 launch checks
        "table 11",                                              // 15 screen configuration
        "mainWindow create",                                     // 16
    });
    // clang-format on
    // 11: the daylight-saving check ran between the ambient light and the break timer.
    EXPECT_EQ(smoothingBeforeAmbient, false);
    EXPECT_EQ(smoothingAtBreakTimer, true);
    EXPECT_EQ(fake.location.desiredAccuracy, 1000.0);
    EXPECT_EQ(fake.events.count("mainWindow create"), 1u);

    // 17: the request is heard now; the same window comes forward, no second one is made.
    fake.events.clear();
    delegate().postShowMainWindow();
    EXPECT_EQ(fake.events.events, (std::vector<std::string>{"activate", "mainWindow front"}));
    EXPECT_TRUE(delegate().applicationShouldHandleReopen());
    EXPECT_EQ(fake.events.count("mainWindow create"), 0u);
}

TEST_F(AppDelegateStartupTest, ShutdownRunsItsStepsInOrderOnce) {
    fake.files.resources["ns_helper"] = "/opt/solvara/ns_helper";
    fake.processes.onRun = [this](const std::string& executable, const std::vector<std::string>&) {
        fake.events.add("run " + executable);
        return Processes::Completion{.launched = true, .launchError = {}, .exitStatus = 0, .standardError = {}};
    };
    state().setAmbientLightEnabled(true);
    launchAt();
    state().setCurrentMode(DisplayMode::movie);  // a running revert timer
    state().setVignetteEnabled(true);
    state().setPwmProtectionEnabled(true);
    state().setGammaAPI(GammaAPI::byOverlay);
    advance(10);
    ASSERT_FALSE(fake.screens.visibleWindows(1000).empty());
    ASSERT_TRUE(state().movieModeRevertTimer().isValid());
    ASSERT_TRUE(state().ambientLightSensor().isPolling());
    fake.userDefaults.setCount = 0;
    fake.events.clear();

    delegate().applicationWillTerminate();

    expectInOrder({"unobserve screens", "unobserve wake", "unobserve frontmost",  // 1
                   "shortcuts stop",                                              // 5
                   "orderOut 3",                                                  // 8 vignette
                   "run /usr/bin/python3",                                        //   colour filter
                   "nightLight restoreSettings",                                  //   night light
                   "orderOut 1000",                                               //   tint
                   "restoreOriginalGamma",                                        //   gamma
                   "orderOut 1001"});                                             //   dimmer

    // 2, 4, 6 and 7.
    EXPECT_GT(fake.userDefaults.setCount, 0u);
    EXPECT_FALSE(state().movieModeRevertTimer().isValid());
    EXPECT_FALSE(delegate().inactivityDetector().timer.isValid());
    EXPECT_FALSE(delegate().flowDetector().checkTimer.isValid());
    EXPECT_FALSE(state().ambientLightSensor().isPolling());  // 7
    EXPECT_EQ(fake.workspace.observerCount(), 0u);
    // 3: no tick, break, alarm or watchdog runs any more; nothing writes to a display again.
    fake.events.clear();
    advance(3600);
    EXPECT_TRUE(fake.events.events.empty());

    delegate().applicationWillTerminate();
    EXPECT_TRUE(fake.events.events.empty());
}

// The shutdown, the emergency reset and the reset to defaults put the displays back alike.
class DisplayRestorePathTest : public AppDelegateStartupTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(DisplayRestorePathTest, RestoresTheSameThingsInTheSameOrder) {
    fake.files.resources["ns_helper"] = "/opt/solvara/ns_helper";
    fake.processes.onRun = [this](const std::string& executable, const std::vector<std::string>&) {
        fake.events.add("run " + executable);
        return Processes::Completion{.launched = true, .launchError = {}, .exitStatus = 0, .standardError = {}};
    };
    launchAt();
    state().setGammaAPI(GammaAPI::byOverlay);
    ASSERT_FALSE(fake.screens.visibleWindows(1000).empty());
    fake.events.clear();

    const std::string path = GetParam();
    if (path == "shutdown") delegate().applicationWillTerminate();
    if (path == "emergency reset") state().emergencyReset();
    if (path == "reset to defaults") state().resetToDefaults();

    // Colour filter, night light, tint, tables: from the filter's restore on, in this order.
    const std::vector<std::string> restoring{"run /usr/bin/python3", "nightLight restoreSettings", "orderOut 1000",
                                             "restoreOriginalGamma"};
    std::vector<std::string> seen;
    for (const auto& event : fake.events.events) {
        for (const auto& step : restoring) {
            if (event.starts_with(step)) seen.push_back(step);
        }
    }
    seen.erase(seen.begin(), std::find(seen.begin(), seen.end(), restoring.front()));
    seen.resize(std::min(seen.size(), restoring.size()));
    EXPECT_EQ(seen, restoring) << ::testing::PrintToString(fake.events.events);
}

INSTANTIATE_TEST_SUITE_P(EveryWayBack, DisplayRestorePathTest,
                         ::testing::Values("shutdown", "emergency reset", "reset to defaults"));

TEST_F(AppDelegateStartupTest, CallbacksAfterTheDelegateIsGoneDoNothing) {
    launch();
    destroyDelegate();
    fake.workspace.postWake();
    fake.location.deliverLocations({{48.0, 11.0}});
    advance(100);  // every timer was cancelled with its owner
    EXPECT_EQ(fake.runLoop.scheduledCount(), 0u);
}

}  // namespace
}  // namespace solvara::testing
