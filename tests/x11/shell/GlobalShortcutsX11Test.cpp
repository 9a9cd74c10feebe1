#include "platform/linux/X11GlobalShortcuts.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "app/services/KeyboardShortcutManager.h"
#include "platform/fake/FakeUserDefaults.h"
#include "platform/linux/QtRunLoop.h"
#include "tests/support/LogCapture.h"
#include "tests/x11/shell/SessionHelpers.h"

// After Qt: Xlib's macros break Qt's headers.
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "platform/linux/XErrorTrap.h"

namespace solvara {
namespace {

using testing::processEventsUntil;
using testing::runTool;

constexpr std::uint64_t controlOption = 0xC0000;

bool sendKeys(const QString& keys) { return runTool("xdotool", {"key", keys}).has_value(); }

TEST(GlobalShortcutsX11Test, AGrabbedCombinationFiresWhateverTheLockKeys) {
    X11GlobalShortcuts shortcuts;
    std::vector<KeyStroke> pressed;
    ASSERT_TRUE(shortcuts.start([&](const KeyStroke& stroke) { pressed.push_back(stroke); }));
    shortcuts.setGrabbedKeys({{14, controlOption}, {126, controlOption | 0x20000}});

    ASSERT_TRUE(sendKeys("ctrl+alt+e"));
    ASSERT_TRUE(processEventsUntil([&] { return !pressed.empty(); }));
    EXPECT_EQ(pressed[0].keyCode, 14);
    EXPECT_EQ(pressed[0].modifierFlags & 0x1E0000, controlOption);

    pressed.clear();
    ASSERT_TRUE(sendKeys("ctrl+alt+shift+Up"));
    ASSERT_TRUE(processEventsUntil([&] { return !pressed.empty(); }));
    EXPECT_EQ(pressed[0].keyCode, 126);

    // Caps lock and num lock on: still grabbed, and the caps lock bit is reported.
    pressed.clear();
    ASSERT_TRUE(sendKeys("Caps_Lock"));
    ASSERT_TRUE(sendKeys("Num_Lock"));
    ASSERT_TRUE(sendKeys("ctrl+alt+e"));
    const bool firedWithLocks = processEventsUntil([&] { return !pressed.empty(); });
    sendKeys("Caps_Lock");
    sendKeys("Num_Lock");
    ASSERT_TRUE(firedWithLocks);
    EXPECT_NE(pressed[0].modifierFlags & 0x10000, 0u);

    // Another combination on the same key is not ours: the server sends our events in order, so
    // the grabbed one pressed after it comes alone.
    pressed.clear();
    ASSERT_TRUE(sendKeys("ctrl+e"));
    ASSERT_TRUE(sendKeys("ctrl+alt+shift+Up"));
    ASSERT_TRUE(processEventsUntil([&] { return !pressed.empty(); }));
    ASSERT_EQ(pressed.size(), 1u);
    EXPECT_EQ(pressed[0].keyCode, 126);

    // After stop() nothing is grabbed: another program can take the combination, and a press
    // meanwhile is not reported once the grabs are back.
    shortcuts.stop();
    Display* other = XOpenDisplay(nullptr);
    ASSERT_NE(other, nullptr);
    {
        x11::XErrorTrap trap(other);
        XGrabKey(other, XKeysymToKeycode(other, XK_e), ControlMask | Mod1Mask, DefaultRootWindow(other), False,
                 GrabModeAsync, GrabModeAsync);
        EXPECT_EQ(trap.sync(), 0) << "Ctrl+Alt+E is still held";
    }
    XCloseDisplay(other);  // and its grab with it
    pressed.clear();
    ASSERT_TRUE(sendKeys("ctrl+alt+e"));
    ASSERT_TRUE(shortcuts.start([&](const KeyStroke& stroke) { pressed.push_back(stroke); }));
    ASSERT_TRUE(sendKeys("ctrl+alt+shift+Up"));
    ASSERT_TRUE(processEventsUntil([&] { return !pressed.empty(); }));
    ASSERT_EQ(pressed.size(), 1u);
    EXPECT_EQ(pressed[0].keyCode, 126);
}

TEST(GlobalShortcutsX11Test, RefusedCombinationsAreLoggedAndSkipped) {
    // Another program holds Ctrl+Alt+M (with every lock variant, as a careful program would).
    Display* other = XOpenDisplay(nullptr);
    ASSERT_NE(other, nullptr);
    const KeyCode m = XKeysymToKeycode(other, XK_m);
    for (unsigned int locks : {0u, unsigned(LockMask), unsigned(Mod2Mask), unsigned(LockMask | Mod2Mask)}) {
        XGrabKey(other, m, ControlMask | Mod1Mask | locks, DefaultRootWindow(other), False, GrabModeAsync, GrabModeAsync);
    }
    XSync(other, False);

    solvara::testing::LogCapture log;
    X11GlobalShortcuts shortcuts;
    std::vector<KeyStroke> pressed;
    ASSERT_TRUE(shortcuts.start([&](const KeyStroke& stroke) { pressed.push_back(stroke); }));
    // Ctrl+Alt+Shift+Up, pressed last below, closes the check: the server sends our events in
    // order, so anything reported wrongly before it is in by then.
    shortcuts.setGrabbedKeys(
        {{46, controlOption}, {14, 0}, {96, 0}, {14, controlOption}, {126, controlOption | 0x20000}});
    EXPECT_TRUE(log.contains("Not grabbing Ctrl+Alt+m: another program already holds it"));
    EXPECT_TRUE(log.contains("Not grabbing e: a global shortcut needs Ctrl, Alt or Super"));
    EXPECT_TRUE(log.contains("Not grabbing F5: a global shortcut needs Ctrl, Alt or Super"));

    // The one that was free still works, and a plain "e" reaches whoever has the focus.
    ASSERT_TRUE(sendKeys("e"));
    ASSERT_TRUE(sendKeys("ctrl+alt+e"));
    ASSERT_TRUE(sendKeys("ctrl+alt+shift+Up"));
    ASSERT_TRUE(processEventsUntil([&] { return !pressed.empty() && pressed.back().keyCode == 126; }));
    ASSERT_EQ(pressed.size(), 2u);
    EXPECT_EQ(pressed[0].keyCode, 14);
    EXPECT_EQ(pressed[0].modifierFlags & 0x1E0000, controlOption);
    XCloseDisplay(other);
}

TEST(GlobalShortcutsX11Test, TheShortcutManagerReportsItsActionFromARealKeyPress) {
    QtRunLoop runLoop;
    FakeUserDefaults defaults;
    X11GlobalShortcuts grabs;
    KeyboardShortcutManager manager(defaults, grabs, runLoop);
    std::optional<KeyboardShortcutManager::Action> fired;
    manager.setOnAction([&](KeyboardShortcutManager::Action action) { fired = action; });
    manager.loadShortcuts();
    manager.start();

    ASSERT_TRUE(sendKeys("ctrl+alt+b"));
    ASSERT_TRUE(processEventsUntil([&] { return fired.has_value(); }));
    EXPECT_EQ(*fired, KeyboardShortcutManager::Action::triggerBreak);

    // A re-recorded shortcut is grabbed at its save.
    fired.reset();
    auto table = manager.shortcuts();
    table[KeyboardShortcutManager::Action::triggerBreak] = {11, 0x100000 | 0x40000};  // Ctrl+Super+B
    manager.setShortcuts(table);
    ASSERT_TRUE(sendKeys("ctrl+super+b"));
    ASSERT_TRUE(processEventsUntil([&] { return fired.has_value(); }));
    manager.stop();
}

}  // namespace
}  // namespace solvara
