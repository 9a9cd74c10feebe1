#include "tests/app/shell/AppDelegateTestSupport.h"

namespace solvara::testing {
namespace {

constexpr std::uint64_t controlOption = 0xC0000;

// London around the summer solstice, in UTC: the sun sets about 20:20 and rises about 03:45.
class AppDelegateDayTest : public AppDelegateTest {
protected:
    AppDelegateDayTest() : AppDelegateTest(at(2026, 6, 21)) {}

    // Launches there at `hour` of the solstice, or now when that is past.
    void launchInLondon(int hour = 0) {
        moveTo(std::max(at(2026, 6, 21, hour), fake.runLoop.now()));
        launchAt(51.5074, -0.1278);
    }
    // The last input of every kind at `lastInput`; idle time grows from there.
    void goIdleFrom(Date lastInput) {
        for (auto kind : {InputEventKind::mouseMoved, InputEventKind::keyDown, InputEventKind::leftMouseDown}) {
            fake.workspace.recordInput(kind, lastInput);
        }
    }
    void becomeActive() {
        fake.workspace.lastInput.clear();
        fake.workspace.setIdle(0);
    }
    int kelvin() { return state().displayManager().currentKelvin(); }
};

TEST_F(AppDelegateDayTest, ADayOfTicksSoundsAtPhaseChangesAndLogsExposureOnlyWhileActive) {
    fake.displayTransfer.keepHistory = false;
    state().setWakeHour(4);  // waking near dawn brings the morning boost
    int updates = 0;
    std::vector<std::pair<std::string, bool>> phases;  // name, morning boost on entering
    state().addObserver([&](AppState::Property property, AppState::Notice notice) {
        if (property != AppState::Property::currentState || notice != AppState::Notice::didChange) return;
        ++updates;
        const std::string name(state().currentState()->phase.displayName());
        if (phases.empty() || phases.back().first != name) {
            phases.emplace_back(name, state().currentState()->isMorningBoostActive);
        }
    });
    // The display sleeps but from 12:00 to 16:00; within that the user leaves mouse and
    // keyboard alone from 13:00 to 15:00.
    fake.displayTransfer.mainDisplayAsleep = true;
    launchInLondon();
    const int updatesAtLaunch = updates;
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

    // "Early Dawn" at midnight is only remembered; every later change announces itself: "Tink"
    // into the twilights and the night, "Hero" into a brighter phase with the morning boost on.
    const std::vector<std::pair<std::string, bool>> day{
        {"Early Dawn", false},       {"Dawn", false},   {"Civil Twilight", true}, {"Morning Golden Hour", true},
        {"Morning", true},           {"Midday", false}, {"Afternoon", false},     {"Evening Golden Hour", false},
        {"Evening Twilight", false}, {"Night", false}};
    EXPECT_EQ(phases, day);
    EXPECT_EQ(fake.audio.systemSounds, (std::vector<std::string>{"Tink", "Hero", "Hero", "Tink", "Tink"}));
    EXPECT_EQ(state().lastPhaseName(), "Night");
}

TEST_F(AppDelegateDayTest, TransitionSoundsSwitchedOnLateAnnounceTheCurrentPhase) {
    state().setTransitionSoundsEnabled(false);
    launchInLondon(20);
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
    const SoundscapeManager& manager = *delegate().soundscapeManager();
    advance(70);
    ASSERT_EQ(fake.audio.players.size(), 1u);  // "Early Dawn": one dawn loop, kept while the group holds
    EXPECT_EQ(manager.currentGroup(), SoundscapeGenerator::SoundscapeGroup::dawn);

    state().setSoundscapeVolume(0.5);
    state().setSoundscapeTheme("Rainfall");
    advance(10);
    EXPECT_EQ(manager.theme(), SoundscapeGenerator::SoundscapeTheme::rain);
    ASSERT_EQ(fake.audio.playingPlayers().size(), 1u);
    EXPECT_EQ(manager.targetVolume(), 0.5f);
    state().setSoundscapeTheme("Whale Song");  // no such theme: the current one stays
    advance(10);
    EXPECT_EQ(manager.theme(), SoundscapeGenerator::SoundscapeTheme::rain);

    state().setFeatureSoundscapes(false);
    advance(10);
    EXPECT_TRUE(fake.audio.playingPlayers().empty());
    EXPECT_FALSE(manager.currentGroup());
}

TEST_F(AppDelegateDayTest, FullScreenAndColourCriticalApplicationsPauseFiltering) {
    launchInLondon(22);
    ASSERT_LT(kelvin(), 6500);

    // A window that goes full screen without a word to the observers: the next tick finds it.
    fake.workspace.frontmost = RunningApplication{"mpv", "mpv"};
    fake.workspace.activeWindowFullScreen = true;
    advance(10);
    EXPECT_TRUE(state().isFullscreenAppActive());
    EXPECT_EQ(kelvin(), 6500);
    // Leaving full screen as the desktop reports it re-applies at once.
    fake.workspace.setActiveWindowFullScreen(false);
    EXPECT_LT(kelvin(), 6500);

    fake.workspace.activate(RunningApplication{"org.gimp.GIMP", "GNU Image Manipulation Program"});
    EXPECT_EQ(state().currentFrontmostBundleID(), "org.gimp.GIMP");
    EXPECT_EQ(kelvin(), 6500);
    fake.workspace.activate(std::nullopt);  // no active window: nothing changes
    EXPECT_EQ(state().currentFrontmostBundleID(), "org.gimp.GIMP");
}

TEST_F(AppDelegateDayTest, InactivityPausesOnlyWhenAskedAndResumeAlwaysReapplies) {
    launchInLondon(22);
    for (bool pauseEnabled : {false, true}) {
        state().setInactivityPauseEnabled(pauseEnabled);
        goIdleFrom(fake.runLoop.now());
        advance(899);
        EXPECT_FALSE(state().isUserInactive());
        advance(31);
        EXPECT_TRUE(state().isUserInactive());
        EXPECT_EQ(kelvin() == 6500, pauseEnabled);

        becomeActive();
        advance(30);
        EXPECT_FALSE(state().isUserInactive());
        EXPECT_LT(kelvin(), 6500);
    }
}

TEST_F(AppDelegateDayTest, WakeReappliesASecondLaterAndScreensAtOnce) {
    launchInLondon(22);
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

TEST_F(AppDelegateDayTest, ShortcutsDriveTheState) {
    launchInLondon(22);
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

    std::vector<std::int64_t> adjustments;  // after up, shift-up, down, shift-down
    for (const KeyStroke& key : {KeyStroke{126, controlOption}, KeyStroke{126, controlOption | 0x20000},
                                 KeyStroke{125, controlOption}, KeyStroke{125, controlOption | 0x20000}}) {
        press(key.keyCode, key.modifierFlags);
        adjustments.push_back(state().manualKelvinAdjustment());
    }
    EXPECT_EQ(adjustments, (std::vector<std::int64_t>{100, 600, 500, 0}));
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
