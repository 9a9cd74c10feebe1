#include "app/services/KeyboardShortcutManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/fake/FakePlatform.h"

namespace solvara {
namespace {

using Action = KeyboardShortcutManager::Action;
using Shortcut = KeyboardShortcutManager::Shortcut;

constexpr std::uint64_t controlOption = 0xC0000;

class KeyboardShortcutManagerTest : public ::testing::Test {
protected:
    KeyboardShortcutManager makeManager() {
        return KeyboardShortcutManager(fake.userDefaults, fake.globalShortcuts, fake.runLoop);
    }
    void store(const nlohmann::json& table) { fake.userDefaults.set(KeyboardShortcutManager::storageKey, table); }
    nlohmann::json stored() {
        return fake.userDefaults.jsonValue(KeyboardShortcutManager::storageKey).value_or(nlohmann::json());
    }

    FakePlatform fake;
};

TEST_F(KeyboardShortcutManagerTest, DefaultTableDisplaysInActionOrder) {
    std::vector<std::string> shown;
    for (Action action : KeyboardShortcutManager::allActions) {
        shown.push_back(KeyboardShortcutManager::defaultShortcuts().at(action).displayString());
    }
    EXPECT_EQ(shown,
              (std::vector<std::string>{"^⌥E", "^⌥M", "^⌥↑", "^⌥⇧↑", "^⌥↓", "^⌥⇧↓", "^⌥P", "^⌥B", "^⌥Key43", "^⌥⎋"}));

    const std::vector<std::pair<Shortcut, std::string>> cases{
        {{0, 0x100000}, "⌘A"},   {{22, 0x1E0000}, "^⌥⇧⌘6"}, {{23, 0x20000}, "⇧5"}, {{122, 0}, "F1"},
        {{100, 0x40000}, "^F8"}, {{123, 0x80000}, "⌥←"},    {{10, 0}, "Key10"},    {{65535, 0}, "Key65535"}};
    for (const auto& [shortcut, text] : cases) EXPECT_EQ(shortcut.displayString(), text) << shortcut.keyCode;
}

TEST_F(KeyboardShortcutManagerTest, NothingStoredLoadsAndStoresTheDefaults) {
    auto manager = makeManager();
    manager.loadShortcuts();
    EXPECT_EQ(manager.shortcuts(), KeyboardShortcutManager::defaultShortcuts());
    auto entry = [](int keyCode, int modifiers) {
        return nlohmann::json{{"keyCode", keyCode}, {"modifiers", modifiers}};
    };
    EXPECT_EQ(stored(), (nlohmann::json{{"Toggle On/Off", entry(14, 0xC0000)},
                                        {"Cycle Mode", entry(46, 0xC0000)},
                                        {"Kelvin +100", entry(126, 0xC0000)},
                                        {"Kelvin +500", entry(126, 0xE0000)},
                                        {"Kelvin -100", entry(125, 0xC0000)},
                                        {"Kelvin -500", entry(125, 0xE0000)},
                                        {"Toggle PWM Protection", entry(35, 0xC0000)},
                                        {"Trigger Break", entry(11, 0xC0000)},
                                        {"Open Settings", entry(43, 0xC0000)},
                                        {"Emergency Reset", entry(53, 0xC0000)}}));
}

TEST_F(KeyboardShortcutManagerTest, StoredTablesAreReadEntryByEntry) {
    struct Case {
        const char* name;
        nlohmann::json table;
        std::map<Action, Shortcut> expected;  // empty: the defaults
    };
    const std::vector<Case> cases{
        {"partial table",
         {{"Cycle Mode", {{"keyCode", 46}, {"modifiers", 0x100000}}}},
         {{Action::cycleMode, {46, 0x100000}}}},
        {"bad entries skipped",
         {{"Cycle Mode", {{"keyCode", 46}, {"modifiers", 0x100000}}},
          {"No Such Action", {{"keyCode", 1}, {"modifiers", 0x40000}}},
          {"Toggle On/Off", nlohmann::json::object()},
          {"Kelvin +100", {{"keyCode", 70000}, {"modifiers", 0x40000}}},
          {"Kelvin -100", {{"keyCode", -1}, {"modifiers", 0x40000}}},
          {"Kelvin +500", {{"keyCode", "14"}, {"modifiers", 0x40000}}},
          {"Kelvin -500", {{"keyCode", 3.5}, {"modifiers", 0x40000}}},
          {"Toggle PWM Protection", {{"keyCode", 35}}},
          {"Trigger Break", {{"keyCode", 11}, {"modifiers", -5}}}},
         {{Action::cycleMode, {46, 0x100000}}}},
        {"every entry unusable", {{"Toggle On/Off", {{"keyCode", "E"}}}}, {}},
        {"empty table (all cleared)", nlohmann::json::object(), {}},
        {"not a dictionary", nlohmann::json::array({1, 2}), {}},
        {"a value that is no dictionary",
         {{"Cycle Mode", {{"keyCode", 46}, {"modifiers", 0x100000}}}, {"Toggle On/Off", 5}},
         {}},
    };
    for (const Case& c : cases) {
        store(c.table);
        auto manager = makeManager();
        manager.loadShortcuts();
        const auto& expected = c.expected.empty() ? KeyboardShortcutManager::defaultShortcuts() : c.expected;
        EXPECT_EQ(manager.shortcuts(), expected) << c.name;
        // The cleaned table is what is stored from now on.
        EXPECT_EQ(stored().size(), expected.size()) << c.name;
    }
}

TEST_F(KeyboardShortcutManagerTest, CharacterKeysWithoutControlOptionOrCommandAreRejected) {
    // Shift alone still types a character; F5, an arrow key and Escape type none.
    const std::vector<std::pair<Shortcut, bool>> cases{
        {{14, 0}, false},      {{14, 0x20000}, false}, {{49, 0}, false}, {{83, 0x10000}, false}, {{14, 0x40000}, true},
        {{14, 0x80000}, true}, {{14, 0x100000}, true}, {{96, 0}, true},  {{126, 0x20000}, true}, {{53, 0}, true}};
    for (const auto& [shortcut, allowed] : cases) {
        EXPECT_EQ(KeyboardShortcutManager::isAllowedGlobally(shortcut), allowed) << shortcut.displayString();
    }

    // Stored: skipped with a log line, the others kept.
    store({{"Cycle Mode", {{"keyCode", 46}, {"modifiers", 0}}}, {"Kelvin +100", {{"keyCode", 126}, {"modifiers", 0}}}});
    auto manager = makeManager();
    manager.loadShortcuts();
    EXPECT_EQ(manager.shortcuts(), (std::map<Action, Shortcut>{{Action::kelvinUp100, {126, 0}}}));
    EXPECT_TRUE(fake.log.contains("[KeyboardShortcutManager] Skipping stored shortcut Cycle Mode (M)"));

    // Recorded on the Shortcuts tab: dropped at the save that follows, and never stored.
    auto table = manager.shortcuts();
    table[Action::toggleOnOff] = {14, 0x20000};
    manager.setShortcuts(table);
    EXPECT_FALSE(manager.shortcuts().contains(Action::toggleOnOff));
    EXPECT_FALSE(stored().contains("Toggle On/Off"));
    EXPECT_TRUE(fake.log.contains("Skipping shortcut Toggle On/Off (⇧E)"));
}

TEST_F(KeyboardShortcutManagerTest, GrabbedKeysFireTheirActionOnALaterTurn) {
    auto manager = makeManager();
    std::vector<Action> fired;
    manager.setOnAction([&](Action action) { fired.push_back(action); });
    manager.loadShortcuts();
    manager.start();
    EXPECT_TRUE(fake.globalShortcuts.started);
    EXPECT_EQ(fake.globalShortcuts.grabbed.size(), 10u);

    ASSERT_TRUE(fake.globalShortcuts.press({14, controlOption}));
    EXPECT_TRUE(fired.empty()) << "the action must run after the key handler returns";
    fake.runLoop.runPending();
    EXPECT_EQ(fired, std::vector<Action>{Action::toggleOnOff});

    // Caps lock and other flag bits are ignored; an extra command key is not.
    fired.clear();
    EXPECT_TRUE(manager.handleKeyEvent({126, controlOption | 0x10000 | 0x800000}));
    EXPECT_FALSE(manager.handleKeyEvent({126, controlOption | 0x100000}));
    EXPECT_FALSE(manager.handleKeyEvent({15, controlOption}));
    fake.runLoop.runPending();
    EXPECT_EQ(fired, std::vector<Action>{Action::kelvinUp100});

    // Two actions on one key: one press fires exactly one.
    fired.clear();
    auto table = manager.shortcuts();
    table[Action::togglePWM] = {14, controlOption};
    manager.setShortcuts(table);
    EXPECT_TRUE(fake.globalShortcuts.press({14, controlOption}));
    fake.runLoop.runPending();
    EXPECT_EQ(fired.size(), 1u);

    // An edited table is grabbed anew at its save; stop() releases everything.
    table = manager.shortcuts();
    table.erase(Action::cycleMode);
    manager.setShortcuts(table);
    EXPECT_FALSE(fake.globalShortcuts.press({46, controlOption}));
    manager.stop();
    EXPECT_FALSE(fake.globalShortcuts.started);
    EXPECT_FALSE(fake.globalShortcuts.press({14, controlOption}));
}

TEST_F(KeyboardShortcutManagerTest, AMatchForAManagerGoneBeforeItsActionRunsDoesNothing) {
    auto manager = std::make_unique<KeyboardShortcutManager>(fake.userDefaults, fake.globalShortcuts, fake.runLoop);
    manager->loadShortcuts();
    bool fired = false;
    manager->setOnAction([&](Action) { fired = true; });
    EXPECT_TRUE(manager->handleKeyEvent({53, controlOption}));
    manager.reset();
    fake.runLoop.runPending();
    EXPECT_FALSE(fired);
}

}  // namespace
}  // namespace solvara
