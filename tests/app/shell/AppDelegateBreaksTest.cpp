#include "tests/app/shell/AppDelegateTestSupport.h"

namespace solvara::testing {
namespace {

// Two screens, breaks every 20 minutes with the default sounds (chime "Glass", bell "Ping").
class AppDelegateBreaksTest : public AppDelegateTest {
protected:
    AppDelegateBreaksTest() {
        fake.displayTransfer.displays = {11, 12};
        fake.screens.screenList = {ScreenInfo{11, "Built-in", {0, 0, 1920, 1080}},
                                   ScreenInfo{12, "Side", {1920, 0, 1280, 800}}};
    }

    void launchWithBreaks() {
        state().setBreaksEnabled(true);
        launchAt();
        fake.audio.systemSounds.clear();
    }
    // To one second into the first break.
    void runToBreak() { advance(20 * 60 + 1); }

    std::vector<std::int64_t> remainingShown(const BreakWindowRecord& window) const {
        std::vector<std::int64_t> seconds;
        for (const auto& content : window.contents) seconds.push_back(content.remainingSeconds);
        return seconds;
    }
    const BreakScheduler& scheduler() { return state().breakScheduler(); }
};

TEST_F(AppDelegateBreaksTest, ADueBreakPutsOneWindowOnEveryScreenAndCompletes) {
    launchWithBreaks();
    advance(20 * 60 - 1);
    EXPECT_TRUE(breakWindows.windows.empty());
    EXPECT_EQ(state().breakCountdownText(), "Next break in 0:01");

    advance(1);
    ASSERT_EQ(breakWindows.visible().size(), 2u);
    EXPECT_EQ(fake.audio.systemSounds, (std::vector<std::string>{"Glass"}));
    const auto& primary = *breakWindows.windows[0];
    const auto& side = *breakWindows.windows[1];
    EXPECT_EQ(primary.screen.displayId, 11u);
    EXPECT_EQ(side.screen.frame, (Rect{1920, 0, 1280, 800}));
    EXPECT_EQ(primary.keyCount, 1);  // the primary screen's window takes the keyboard
    EXPECT_EQ(side.keyCount, 0);
    EXPECT_EQ(primary.contents.front(), (BreakWindowContent{BreakScreenType::simpleText, 20}));

    // The same windows show the countdown every second; a layout change follows at once.
    advance(5);
    state().setBreakScreenType(BreakScreenType::breathingAnimation);
    advance(1);
    EXPECT_EQ(remainingShown(primary), (std::vector<std::int64_t>{20, 19, 18, 17, 16, 15, 14}));
    EXPECT_EQ(primary.contents.back().breakScreenType, BreakScreenType::breathingAnimation);
    EXPECT_EQ(breakWindows.windows.size(), 2u);

    advance(14);
    EXPECT_TRUE(breakWindows.visible().empty());
    EXPECT_EQ(fake.audio.systemSounds, (std::vector<std::string>{"Glass", "Ping"}));
    EXPECT_EQ(scheduler().breaksCompleted(), 1);
    EXPECT_EQ(delegate().breakOverlayWindowCount(), 0u);
    EXPECT_TRUE(std::holds_alternative<BreakScheduler::Counting>(scheduler().state()));
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

    // With flow detection off, flow defers nothing.
    state().setFlowDetectionEnabled(false);
    advance(300);
    EXPECT_EQ(breakWindows.visible().size(), 2u);
}

TEST_F(AppDelegateBreaksTest, SkipClosesEveryWindowAtOnceWithoutASound) {
    launchWithBreaks();
    runToBreak();
    ASSERT_EQ(breakWindows.visible().size(), 2u);

    breakWindows.windows[1]->onSkip();
    EXPECT_TRUE(breakWindows.visible().empty());
    EXPECT_FALSE(state().showBreakOverlay());
    EXPECT_EQ(scheduler().breaksSkipped(), 1);
    EXPECT_EQ(scheduler().breaksCompleted(), 0);
    advance(30);
    EXPECT_EQ(fake.audio.systemSounds, (std::vector<std::string>{"Glass"}));
    EXPECT_TRUE(std::holds_alternative<BreakScheduler::Counting>(scheduler().state()));
}

TEST_F(AppDelegateBreaksTest, WindowsCloseAtTheNextTickWhenTheOverlayIsSwitchedOff) {
    launchWithBreaks();
    runToBreak();
    state().postponeBreak();  // from the popover
    EXPECT_EQ(breakWindows.visible().size(), 2u);
    advance(1);
    EXPECT_TRUE(breakWindows.visible().empty());
    EXPECT_EQ(fake.audio.systemSounds, (std::vector<std::string>{"Glass"}));

    advance(5 * 60);  // the postponed break comes back with new windows
    EXPECT_EQ(breakWindows.visible().size(), 2u);
    EXPECT_EQ(breakWindows.windows.size(), 4u);

    state().setBreaksEnabled(false);
    advance(1);
    EXPECT_TRUE(breakWindows.visible().empty());
}

TEST_F(AppDelegateBreaksTest, WindowsFollowTheScreensDuringABreak) {
    launchWithBreaks();
    runToBreak();
    fake.screens.screenList.push_back(ScreenInfo{13, "Projector", {3200, 0, 1024, 768}});
    advance(1);
    ASSERT_EQ(breakWindows.visible().size(), 3u);
    EXPECT_EQ(breakWindows.windows[2]->screen.displayId, 13u);
    EXPECT_EQ(breakWindows.windows[2]->keyCount, 0);

    fake.screens.screenList.erase(fake.screens.screenList.begin() + 1);  // the side screen goes
    advance(1);
    EXPECT_EQ(breakWindows.visible().size(), 2u);
    EXPECT_FALSE(breakWindows.windows[1]->visible());
}

TEST_F(AppDelegateBreaksTest, TriggeredBreaksAndBreaksWithoutScreens) {
    launchWithBreaks();
    advance(60);
    EXPECT_TRUE(fake.globalShortcuts.press({11, 0xC0000}));  // ^⌥B
    fake.runLoop.runPending();
    EXPECT_EQ(fake.audio.systemSounds, (std::vector<std::string>{"Glass"}));  // at once
    advance(1);
    EXPECT_EQ(fake.audio.systemSounds, (std::vector<std::string>{"Glass", "Glass"}));  // and when shown
    EXPECT_EQ(breakWindows.visible().size(), 2u);
    breakWindows.windows[0]->onSkip();

    // No screen at all: the break still runs in the scheduler, and a screen attached while it
    // runs gets its window at the next tick.
    const auto screens = fake.screens.screenList;
    fake.screens.screenList.clear();
    runToBreak();
    EXPECT_TRUE(breakWindows.visible().empty());
    EXPECT_TRUE(std::holds_alternative<BreakScheduler::BreakActive>(scheduler().state()));
    fake.screens.screenList = {screens[1]};
    advance(1);
    ASSERT_EQ(breakWindows.visible().size(), 1u);
    EXPECT_EQ(breakWindows.visible()[0]->screen, screens[1]);
    advance(19);
    EXPECT_EQ(scheduler().breaksCompleted(), 1);
    EXPECT_TRUE(breakWindows.visible().empty());
}

TEST_F(AppDelegateBreaksTest, ABreakTriggeredWhileBreaksAreOffShowsNoWindow) {
    launchAt();
    EXPECT_TRUE(fake.globalShortcuts.press({11, 0xC0000}));
    fake.runLoop.runPending();
    advance(5);
    EXPECT_TRUE(std::holds_alternative<BreakScheduler::BreakActive>(scheduler().state()));
    EXPECT_TRUE(breakWindows.windows.empty());
}

}  // namespace
}  // namespace solvara::testing
