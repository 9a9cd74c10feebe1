#include "tests/app/shell/AppDelegateTestSupport.h"

namespace solvara::testing {
namespace {

constexpr KeyStroke triggerBreakKey{11, 0xC0000};  // ^⌥B

// Two screens, breaks every 20 minutes with the default sounds (chime "Glass", bell "Ping").
class AppDelegateBreaksTest : public AppDelegateTest {
protected:
    AppDelegateBreaksTest() {
        fake.displayTransfer.displays = {11, 12};
        fake.screens.screenList = {main, side};
    }

    void launchWithBreaks(bool enabled = true) {
        state().setBreaksEnabled(enabled);
        launchAt();
        fake.audio.systemSounds.clear();
    }
    // To one second into the next break.
    void runToBreak() { advance(20 * 60 + 1); }
    std::size_t shown() const { return breakWindows.visible().size(); }
    std::vector<std::string> sounds() const { return fake.audio.systemSounds; }
    const BreakScheduler& scheduler() { return state().breakScheduler(); }

    const ScreenInfo main{11, "Built-in", {0, 0, 1920, 1080}};
    const ScreenInfo side{12, "Side", {1920, 0, 1280, 800}};
};

TEST_F(AppDelegateBreaksTest, ADueBreakPutsOneWindowOnEveryScreenAndCompletes) {
    launchWithBreaks();
    advance(20 * 60 - 1);
    EXPECT_TRUE(breakWindows.windows.empty());
    EXPECT_EQ(state().breakCountdownText(), "Next break in 0:01");

    advance(1);
    ASSERT_EQ(shown(), 2u);
    EXPECT_EQ(sounds(), (std::vector<std::string>{"Glass"}));
    const auto& first = *breakWindows.windows[0];
    EXPECT_EQ(first.screen, main);
    EXPECT_EQ(breakWindows.windows[1]->screen, side);
    EXPECT_EQ(first.keyCount, 1);  // the primary screen's window takes the keyboard
    EXPECT_EQ(breakWindows.windows[1]->keyCount, 0);

    // The same windows show the countdown every second; a layout change follows at once.
    advance(5);
    state().setBreakScreenType(BreakScreenType::breathingAnimation);
    advance(1);
    std::vector<BreakWindowContent> expected;
    for (std::int64_t s = 20; s >= 15; --s) expected.push_back({BreakScreenType::simpleText, s});
    expected.push_back({BreakScreenType::breathingAnimation, 14});
    EXPECT_EQ(first.contents, expected);

    advance(14);
    EXPECT_EQ(shown(), 0u);
    EXPECT_EQ(breakWindows.windows.size(), 2u);
    EXPECT_EQ(sounds(), (std::vector<std::string>{"Glass", "Ping"}));
    EXPECT_EQ(scheduler().breaksCompleted(), 1);
    EXPECT_EQ(delegate().breakOverlayWindowCount(), 0u);
}

TEST_F(AppDelegateBreaksTest, FlowDefersADueBreakByFiveMinutesEachTimeItComesDue) {
    launchWithBreaks();
    delegate().flowDetector().isInFlowState = true;
    advance(20 * 60);
    EXPECT_EQ(state().breakCountdownText(), "Deferred (flow state)");
    EXPECT_TRUE(breakWindows.windows.empty());
    const auto* counting = std::get_if<BreakScheduler::Counting>(&scheduler().state());
    ASSERT_NE(counting, nullptr);
    EXPECT_EQ(counting->nextBreakAt - fake.runLoop.now(), 300.0);
    advance(1);
    EXPECT_EQ(state().breakCountdownText(), "Next break in 4:59");

    advance(299);  // due again, still in flow
    EXPECT_EQ(state().breakCountdownText(), "Deferred (flow state)");
    EXPECT_EQ(scheduler().postponeCount(), 2);

    state().setFlowDetectionEnabled(false);  // flow defers nothing now
    advance(300);
    EXPECT_EQ(shown(), 2u);
}

TEST_F(AppDelegateBreaksTest, SkipPostponeAndSwitchingOffCloseTheWindowsWithoutASound) {
    launchWithBreaks();
    runToBreak();
    breakWindows.windows[1]->onSkip();
    EXPECT_EQ(shown(), 0u);  // at once
    EXPECT_FALSE(state().showBreakOverlay());
    EXPECT_EQ(scheduler().breaksSkipped(), 1);
    EXPECT_EQ(scheduler().breaksCompleted(), 0);
    EXPECT_TRUE(std::holds_alternative<BreakScheduler::Counting>(scheduler().state()));

    // Postponed from the popover: the windows go at the next tick; the break comes back later
    // with new windows.
    runToBreak();
    state().postponeBreak();
    EXPECT_EQ(shown(), 2u);
    advance(1);
    EXPECT_EQ(shown(), 0u);
    advance(5 * 60);
    EXPECT_EQ(shown(), 2u);
    EXPECT_EQ(breakWindows.windows.size(), 6u);

    state().setBreaksEnabled(false);
    advance(1);
    EXPECT_EQ(shown(), 0u);
    EXPECT_EQ(sounds(), (std::vector<std::string>{"Glass", "Glass", "Glass"}));
}

TEST_F(AppDelegateBreaksTest, TheOneSecondTimerRunsOnlyWhileBreaksAreOn) {
    launchWithBreaks(false);
    const std::size_t withoutBreaks = fake.runLoop.repeatingCount();
    state().setBreaksEnabled(true);
    state().setBreaksEnabled(true);
    EXPECT_EQ(fake.runLoop.repeatingCount(), withoutBreaks + 1);

    runToBreak();
    EXPECT_EQ(shown(), 2u);
    state().setBreaksEnabled(false);
    EXPECT_EQ(fake.runLoop.repeatingCount(), withoutBreaks);
    EXPECT_EQ(shown(), 0u);  // at once: no tick is left to take them down
    EXPECT_EQ(state().breakCountdownText(), "");
    EXPECT_EQ(sounds(), (std::vector<std::string>{"Glass"}));

    state().setBreaksEnabled(true);
    advance(1);
    EXPECT_EQ(state().breakCountdownText(), "Next break in 19:59");
    EXPECT_EQ(fake.runLoop.repeatingCount(), withoutBreaks + 1);
}

TEST_F(AppDelegateBreaksTest, WindowsFollowTheScreensDuringABreak) {
    launchWithBreaks();
    runToBreak();
    const ScreenInfo projector{13, "Projector", {3200, 0, 1024, 768}};
    fake.screens.screenList.push_back(projector);
    advance(1);
    ASSERT_EQ(shown(), 3u);
    EXPECT_EQ(breakWindows.windows[2]->screen, projector);
    EXPECT_EQ(breakWindows.windows[2]->keyCount, 0);

    fake.screens.screenList = {main, projector};  // the side screen goes
    advance(1);
    EXPECT_EQ(shown(), 2u);
    EXPECT_FALSE(breakWindows.windows[1]->visible);

    // A break that begins with no screen still runs, and the screen attached next gets its window.
    advance(20);
    fake.screens.screenList.clear();
    runToBreak();
    EXPECT_EQ(shown(), 0u);
    EXPECT_TRUE(std::holds_alternative<BreakScheduler::BreakActive>(scheduler().state()));
    fake.screens.screenList = {side};
    advance(1);
    ASSERT_EQ(shown(), 1u);
    EXPECT_EQ(breakWindows.visible()[0]->screen, side);
    advance(19);
    EXPECT_EQ(scheduler().breaksCompleted(), 2);
    EXPECT_EQ(shown(), 0u);
}

TEST_F(AppDelegateBreaksTest, ATriggeredBreakSoundsAtOnceAndShowsOnlyWhileBreaksAreOn) {
    for (bool enabled : {true, false}) {
        destroyDelegate();
        breakWindows.windows.clear();
        launchWithBreaks(enabled);
        EXPECT_TRUE(fake.globalShortcuts.press(triggerBreakKey));
        fake.runLoop.runPending();
        EXPECT_EQ(sounds(), (std::vector<std::string>{"Glass"}));  // at once
        advance(1);
        EXPECT_TRUE(std::holds_alternative<BreakScheduler::BreakActive>(scheduler().state()));
        // The tick reports the break as started, with the sound again, only while breaks are on.
        EXPECT_EQ(sounds().size(), enabled ? 2u : 1u);
        EXPECT_EQ(shown(), enabled ? 2u : 0u);
    }
}

}  // namespace
}  // namespace solvara::testing
