#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/foundation/EnumTable.h"
#include "platform/GlobalShortcuts.h"
#include "platform/RunLoop.h"
#include "platform/UserDefaults.h"

namespace solvara {

// The ten keyboard shortcuts that work in every application: a table from action to key and
// modifiers, stored under "sv_keyboardShortcuts", grabbed through the platform and reported
// to the callback of setOnAction().
class KeyboardShortcutManager {
public:
    // The actions; raw values are the display texts and the keys of the stored table.
    enum class Action {
        toggleOnOff,
        cycleMode,
        kelvinUp100,
        kelvinUp500,
        kelvinDown100,
        kelvinDown500,
        togglePWM,
        triggerBreak,
        openSettings,
        emergencyReset,
    };

    static constexpr std::array<EnumEntry<Action>, 10> actionTable{{
        {Action::toggleOnOff, "Toggle On/Off"},
        {Action::cycleMode, "Cycle Mode"},
        {Action::kelvinUp100, "Kelvin +100"},
        {Action::kelvinUp500, "Kelvin +500"},
        {Action::kelvinDown100, "Kelvin -100"},
        {Action::kelvinDown500, "Kelvin -500"},
        {Action::togglePWM, "Toggle PWM Protection"},
        {Action::triggerBreak, "Trigger Break"},
        {Action::openSettings, "Open Settings"},
        {Action::emergencyReset, "Emergency Reset"},
    }};

    static constexpr std::array<Action, 10> allActions{
        Action::toggleOnOff,   Action::cycleMode, Action::kelvinUp100,  Action::kelvinUp500,  Action::kelvinDown100,
        Action::kelvinDown500, Action::togglePWM, Action::triggerBreak, Action::openSettings, Action::emergencyReset};

    static constexpr std::string_view rawValue(Action action) { return rawValueIn(actionTable, action); }
    static constexpr std::optional<Action> actionFromRawValue(std::string_view raw) {
        return fromRawValueIn(actionTable, raw);
    }

    // Modifier bits as the table stores them.
    static constexpr std::uint64_t shiftKey = 0x20000;
    static constexpr std::uint64_t controlKey = 0x40000;
    static constexpr std::uint64_t optionKey = 0x80000;
    static constexpr std::uint64_t commandKey = 0x100000;
    static constexpr std::uint64_t matchedModifiers = 0x1E0000;  // the four above

    static constexpr std::string_view storageKey = "sv_keyboardShortcuts";

    // A key (virtual key code of the Apple extended keyboard) and its modifier bits.
    struct Shortcut {
        std::uint16_t keyCode = 0;
        std::uint64_t modifiers = 0;

        // The modifier glyphs ("^", "⌥", "⇧", "⌘" in that order) followed by the key's name.
        std::string displayString() const;

        bool operator==(const Shortcut&) const = default;
    };

    static std::string keyCodeToString(std::uint16_t keyCode);

    static const std::map<Action, Shortcut>& defaultShortcuts();

    // False for a combination that must never be grabbed for the whole desktop: a key that types
    // a character, with none of control, option and command (it would be taken from every other
    // program). Such combinations are skipped, with a log line, when loaded and when saved.
    static bool isAllowedGlobally(const Shortcut& shortcut);

    KeyboardShortcutManager(UserDefaults& defaults, GlobalShortcuts& globalShortcuts, RunLoop& runLoop);
    ~KeyboardShortcutManager();

    KeyboardShortcutManager(const KeyboardShortcutManager&) = delete;
    KeyboardShortcutManager& operator=(const KeyboardShortcutManager&) = delete;

    // Fills the table from the stored one (the defaults when nothing usable is stored), then
    // saves.
    void loadShortcuts();
    // The live table, which the Shortcuts tab shows.
    const std::map<Action, Shortcut>& shortcuts() const { return shortcuts_; }
    // Replaces the table (the Shortcuts tab after each change) and saves it; combinations that
    // must not be grabbed are dropped with a log line. While started, the grabs follow it.
    void setShortcuts(std::map<Action, Shortcut> table);
    // Reported on a later turn of the run loop than the key press.
    void setOnAction(std::function<void(Action)> callback) { onAction_ = std::move(callback); }
    // Grabs the table's keys and starts reporting; stop() releases them.
    void start();
    void stop();
    bool isStarted() const { return started_; }
    // True when `event` matches a shortcut; the action is then reported on a later turn of the
    // run loop.
    bool handleKeyEvent(const KeyStroke& event);

private:
    // Writes the whole table, replacing what was stored.
    void saveShortcuts();

    std::map<Action, Shortcut> shortcuts_;
    std::function<void(Action)> onAction_;
    UserDefaults& defaults_;
    GlobalShortcuts& globalShortcuts_;
    RunLoop& runLoop_;
    bool started_ = false;
    std::shared_ptr<bool> alive_;
};

}  // namespace solvara
