#include <algorithm>
#include <cmath>

#include "tests/app/shell/AppDelegateTestSupport.h"

namespace solvara::testing {
namespace {

constexpr std::uint64_t controlOption = 0xC0000;

// London around the summer solstice, in UTC: the sun sets about 20:20 and rises about 03:45.
class AppDelegateDayTest : public AppDelegateTest {
protected:
    AppDelegateDayTest() : AppDelegateTest(at(2026, 6, 21, 0, 0, 0)) {}

    void launchInLondon() { launchAt(51.5074, -0.1278); }

    // Every update (a fresh engine state on each) and every phase seen, in order.
    void countUpdates() {
        state().addObserver([this](AppState::Property property, AppState::Notice notice) {
            if (property != AppState::Property::currentState || notice != AppState::Notice::didChange) return;
            ++updates;
            const std::string name(state().currentState()->phase.displayName());
            if (phases.empty() || phases.back().first != name) {
                phases.emplace_back(name, state().currentState()->isMorningBoostActive);
            }
        });
    }
    // The last input at `lastInput`; idle time grows from there.
    void goIdleFrom(Date lastInput) {
        for (auto kind : {InputEventKind::mouseMoved, InputEventKind::keyDown, InputEventKind::leftMouseDown}) {
            fake.workspace.recordInput(kind, lastInput);
        }
    }
    // Input all the time from now on.
    void becomeActive() {
        fake.workspace.lastInput.clear();
        fake.workspace.setIdle(0);
    }

    int updates = 0;
    std::vector<std::pair<std::string, bool>> phases;  // name, morning boost on entering
};

TEST_F(AppDelegateDayTest, ADayOfTicksSoundsAtPhaseChangesAndLogsExposureOnlyWhileActive) {
    fake.displayTransfer.keepHistory = false;
    state().setWakeHour(4);  // waking near dawn brings the morning boost
    // The display sleeps but from 12:00 to 16:00; within that the user leaves mouse and
    // keyboard alone from 13:00 to 15:00.
    fake.displayTransfer.mainDisplayAsleep = true;
    countUpdates();
    launchInLondon();
    const int updatesAtLaunch = updates;
    ASSERT_EQ(phases.size(), 1u);
    EXPECT_TRUE(fake.audio.systemSounds.empty());
    EXPECT_EQ(state().lastPhaseName(), "");  // filled by the first tick, never by the launch

    moveTo(at(2026, 6, 21, 12));
    EXPECT_EQ(state().exposureTracker().todayScreenTimeHours(), 0.0);
    fake.displayTransfer.mainDisplayAsleep = false;
    goIdleFrom(at(2026, 6, 21, 13));
    moveTo(at(2026, 6, 21, 15));
    EXPECT_TRUE(state().isUserInactive());
    becomeActive();
    moveTo(at(2026, 6, 21, 16));
    fake.displayTransfer.mainDisplayAsleep = true;
    moveTo(at(2026, 6, 21, 23, 59, 59));

    EXPECT_EQ(updates - updatesAtLaunch, 8639);  // one every 10 seconds
    EXPECT_FALSE(state().isUserInactive());
    // Idle is noticed between 900 and 930 seconds after the last input, and the return within 30.
    EXPECT_NEAR(state().exposureTracker().todayScreenTimeHours(), 2.0 + 900.0 / 3600.0, 60.0 / 3600.0);

    // The first tick only remembers the phase; every later change announces itself: "Tink" into
    // the twilights and the night, "Hero" into a brighter phase with the morning boost on.
    std::vector<std::string> expected;
    for (std::size_t i = 1; i < phases.size(); ++i) {
        const auto& [name, boost] = phases[i];
        if (name.find("Night") != std::string::npos || name.find("Twilight") != std::string::npos) {
            expected.emplace_back("Tink");
        } else if (boost) {
            expected.emplace_back("Hero");
        }
    }
    EXPECT_EQ(phases.size(), 10u);  // "Early Dawn" at midnight to "Night"
    EXPECT_EQ(fake.audio.systemSounds, expected);
    EXPECT_EQ(std::count(expected.begin(), expected.end(), "Tink"), 3);
    EXPECT_GE(std::count(expected.begin(), expected.end(), "Hero"), 1);
    EXPECT_EQ(state().lastPhaseName(), "Night");
}

// The same place at 22:00, well into the night.
class AppDelegateNightTest : public AppDelegateDayTest {
protected:
    AppDelegateNightTest() { moveTo(at(2026, 6, 21, 22)); }
};

// The same place at 20:00, in the evening golden hour.
class AppDelegateEveningTest : public AppDelegateDayTest {
protected:
    AppDelegateEveningTest() { moveTo(at(2026, 6, 21, 20)); }
};

TEST_F(AppDelegateEveningTest, TransitionSoundsSwitchedOnLateAnnounceTheCurrentPhase) {
    state().setTransitionSoundsEnabled(false);
    launchInLondon();
    advance(10);
    ASSERT_EQ(state().lastPhaseName(), "Evening Golden Hour");
    moveTo(at(2026, 6, 21, 20, 30));  // "Evening Twilight" now, in silence
    EXPECT_TRUE(fake.audio.systemSounds.empty());
    EXPECT_EQ(state().lastPhaseName(), "Evening Golden Hour");

    state().setTransitionSoundsEnabled(true);
    advance(10);
    EXPECT_EQ(fake.audio.systemSounds, (std::vector<std::string>{"Tink"}));
    EXPECT_EQ(state().lastPhaseName(), "Evening Twilight");
}

TEST_F(AppDelegateDayTest, SoundscapeFollowsThePartOfTheDayAndTheTheme) {
    state().setFeatureSoundscapes(true);
    launchInLondon();
    advance(10);
    ASSERT_EQ(fake.audio.players.size(), 1u);  // "Early Dawn": the dawn loop
    EXPECT_EQ(delegate().soundscapeManager()->currentGroup, SoundscapeGenerator::SoundscapeGroup::dawn);
    advance(60);
    EXPECT_EQ(fake.audio.players.size(), 1u);  // the same group keeps its loop

    state().setSoundscapeVolume(0.5);
    state().setSoundscapeTheme("Rainfall");  // the state stops the old theme at once
    advance(10);
    EXPECT_EQ(delegate().soundscapeManager()->currentTheme, SoundscapeGenerator::SoundscapeTheme::rain);
    ASSERT_EQ(fake.audio.playingPlayers().size(), 1u);
    EXPECT_EQ(delegate().soundscapeManager()->targetVolume, 0.5f);

    state().setFeatureSoundscapes(false);
    advance(10);
    EXPECT_TRUE(fake.audio.playingPlayers().empty());
    EXPECT_FALSE(delegate().soundscapeManager()->currentGroup);
}

TEST_F(AppDelegateNightTest, FullScreenPausesFilteringOnATickOrAtOnceWhenTheWindowSaysSo) {
    launchInLondon();
    ASSERT_LT(state().displayManager().currentKelvin(), 6500);

    // A window that goes full screen without a word to the observers: the next tick finds it.
    fake.workspace.frontmost = RunningApplication{"mpv", "mpv"};
    fake.workspace.activeWindowFullScreen = true;
    advance(10);
    EXPECT_TRUE(state().isFullscreenAppActive());
    EXPECT_EQ(state().displayManager().currentKelvin(), 6500);

    // Leaving full screen as the desktop reports it re-applies at once.
    fake.workspace.setActiveWindowFullScreen(false);
    EXPECT_FALSE(state().isFullscreenAppActive());
    EXPECT_LT(state().displayManager().currentKelvin(), 6500);

    // A colour-critical application in front switches filtering off at once.
    fake.workspace.activate(RunningApplication{"com.adobe.Photoshop", "Photoshop"});
    EXPECT_EQ(state().currentFrontmostBundleID(), "com.adobe.Photoshop");
    EXPECT_TRUE(state().isDisabledByAppProfile());
    EXPECT_EQ(state().displayManager().currentKelvin(), 6500);
    fake.workspace.activate(std::nullopt);  // no active window: nothing changes
    EXPECT_EQ(state().currentFrontmostBundleID(), "com.adobe.Photoshop");
}

TEST_F(AppDelegateNightTest, InactivityPausesOnlyWhenAskedAndResumeAlwaysReapplies) {
    state().setInactivityPauseEnabled(true);
    launchInLondon();
    const auto filtered = state().displayManager().currentKelvin();
    ASSERT_LT(filtered, 6500);

    goIdleFrom(fake.runLoop.now());
    advance(899);
    EXPECT_FALSE(state().isUserInactive());
    advance(31);
    EXPECT_TRUE(state().isUserInactive());
    EXPECT_EQ(state().displayManager().currentKelvin(), 6500);

    goIdleFrom(fake.runLoop.now());
    advance(30);
    EXPECT_FALSE(state().isUserInactive());
    EXPECT_LT(state().displayManager().currentKelvin(), 6500);
}

TEST_F(AppDelegateNightTest, WakeReappliesASecondLaterAndScreensAtOnce) {
    launchInLondon();
    fake.events.clear();
    fake.workspace.postWake();
    advance(0.5);
    EXPECT_FALSE(fake.events.contains("table 11"));
    advance(0.5);
    EXPECT_TRUE(fake.events.contains("table 11"));

    fake.displayTransfer.displays = {11, 12};
    fake.screens.screenList.push_back(ScreenInfo{12, "Side", {1920, 0, 1280, 800}});
    fake.workspace.postScreenChange();
    EXPECT_TRUE(state().perDisplaySettings().contains(12));
    EXPECT_TRUE(fake.events.contains("table 12"));
}

TEST_F(AppDelegateNightTest, ShortcutsDriveTheState) {
    launchInLondon();
    auto press = [this](std::uint16_t key, std::uint64_t modifiers) {
        EXPECT_TRUE(fake.globalShortcuts.press({key, modifiers}));
        fake.runLoop.runPending();
    };

    press(14, controlOption);  // E: toggle
    EXPECT_FALSE(state().isEnabled());
    press(14, controlOption);
    EXPECT_TRUE(state().isEnabled());

    state().setCurrentMode(DisplayMode::custom);
    press(46, controlOption);  // M: cycle, wrapping at the end
    EXPECT_EQ(state().currentMode(), DisplayMode::disabled);
    press(46, controlOption);
    EXPECT_EQ(state().currentMode(), DisplayMode::auto_);

    press(125, controlOption | 0x20000);  // Down, with shift: -500
    press(126, controlOption);            // Up: +100
    EXPECT_EQ(state().manualKelvinAdjustment(), -400);

    press(35, controlOption);  // P: PWM protection
    EXPECT_TRUE(state().pwmProtectionEnabled());

    bool shown = false;
    delegate().mainWindowHooks.create = [&] { shown = true; };
    press(43, controlOption);  // comma: the settings live in the main window
    EXPECT_TRUE(shown);

    press(53, controlOption);  // Escape: emergency reset
    EXPECT_FALSE(state().pwmProtectionEnabled());
}

}  // namespace
}  // namespace solvara::testing
