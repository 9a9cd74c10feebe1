#include "app/services/KeyboardShortcutManager.h"

#include <limits>
#include <utility>
#include <vector>

#include "core/foundation/Log.h"

namespace solvara {
namespace {

constexpr std::string_view component = "KeyboardShortcutManager";

// Keys that type a character (letters, digits, punctuation, space, the numeric keypad).
bool isPrintableKey(std::uint16_t keyCode) {
    if (keyCode <= 50) return keyCode != 36 && keyCode != 48;  // Return and Tab type no character
    switch (keyCode) {
        case 65: case 67: case 69: case 75: case 78: case 81: case 82: case 83: case 84: case 85:
        case 86: case 87: case 88: case 89: case 91: case 92:
            return true;
        default:
            return false;
    }
}

// The integer under `key` when it is one and fits in T.
template <class T>
std::optional<T> unsignedField(const nlohmann::json& object, const char* key) {
    auto it = object.find(key);
    if (it == object.end()) return std::nullopt;
    if (it->is_number_unsigned()) {
        const auto value = it->get<std::uint64_t>();
        if (value > std::numeric_limits<T>::max()) return std::nullopt;
        return static_cast<T>(value);
    }
    if (it->is_number_integer()) {
        const auto value = it->get<std::int64_t>();
        if (value < 0 || static_cast<std::uint64_t>(value) > std::numeric_limits<T>::max()) return std::nullopt;
        return static_cast<T>(value);
    }
    return std::nullopt;
}

std::string describe(KeyboardShortcutManager::Action action, const KeyboardShortcutManager::Shortcut& shortcut) {
    return std::string(KeyboardShortcutManager::rawValue(action)) + " (" + shortcut.displayString() + ")";
}

}  // namespace

std::string KeyboardShortcutManager::keyCodeToString(std::uint16_t keyCode) {
    switch (keyCode) {
        case 0: return "A";
        case 1: return "S";
        case 2: return "D";
        case 3: return "F";
        case 4: return "H";
        case 5: return "G";
        case 6: return "Z";
        case 7: return "X";
        case 8: return "C";
        case 9: return "V";
        case 11: return "B";
        case 12: return "Q";
        case 13: return "W";
        case 14: return "E";
        case 15: return "R";
        case 16: return "Y";
        case 17: return "T";
        case 31: return "O";
        case 32: return "U";
        case 34: return "I";
        case 35: return "P";
        case 37: return "L";
        case 38: return "J";
        case 40: return "K";
        case 45: return "N";
        case 46: return "M";
        case 18: return "1";
        case 19: return "2";
        case 20: return "3";
        case 21: return "4";
        case 22: return "6";
        case 23: return "5";
        case 25: return "9";
        case 26: return "7";
        case 28: return "8";
        case 29: return "0";
        case 53: return "⎋";
        case 122: return "F1";
        case 120: return "F2";
        case 99: return "F3";
        case 118: return "F4";
        case 96: return "F5";
        case 97: return "F6";
        case 98: return "F7";
        case 100: return "F8";
        case 123: return "←";
        case 124: return "→";
        case 125: return "↓";
        case 126: return "↑";
        default: return "Key" + std::to_string(keyCode);
    }
}

std::string KeyboardShortcutManager::Shortcut::displayString() const {
    std::string text;
    if ((modifiers & controlKey) != 0) text += "^";
    if ((modifiers & optionKey) != 0) text += "⌥";
    if ((modifiers & shiftKey) != 0) text += "⇧";
    if ((modifiers & commandKey) != 0) text += "⌘";
    return text + keyCodeToString(keyCode);
}

const std::map<KeyboardShortcutManager::Action, KeyboardShortcutManager::Shortcut>&
KeyboardShortcutManager::defaultShortcuts() {
    static const std::map<Action, Shortcut> table = [] {
        constexpr std::uint64_t controlOption = controlKey | optionKey;                 // 0xC0000
        constexpr std::uint64_t controlOptionShift = controlKey | optionKey | shiftKey;  // 0xE0000
        return std::map<Action, Shortcut>{
            {Action::toggleOnOff, {14, controlOption}},
            {Action::cycleMode, {46, controlOption}},
            {Action::kelvinUp100, {126, controlOption}},
            {Action::kelvinUp500, {126, controlOptionShift}},
            {Action::kelvinDown100, {125, controlOption}},
            {Action::kelvinDown500, {125, controlOptionShift}},
            {Action::togglePWM, {35, controlOption}},
            {Action::triggerBreak, {11, controlOption}},
            {Action::openSettings, {43, controlOption}},
            {Action::emergencyReset, {53, controlOption}},
        };
    }();
    return table;
}

bool KeyboardShortcutManager::isAllowedGlobally(const Shortcut& shortcut) {
    return (shortcut.modifiers & (controlKey | optionKey | commandKey)) != 0 || !isPrintableKey(shortcut.keyCode);
}

KeyboardShortcutManager::KeyboardShortcutManager(UserDefaults& defaults, GlobalShortcuts& globalShortcuts,
                                                 RunLoop& runLoop)
    : defaults_(defaults), globalShortcuts_(globalShortcuts), runLoop_(runLoop), alive_(std::make_shared<bool>(true)) {}

KeyboardShortcutManager::~KeyboardShortcutManager() {
    alive_.reset();
    if (started_) globalShortcuts_.stop();
}

void KeyboardShortcutManager::loadShortcuts() {
    std::map<Action, Shortcut> loaded;
    const std::optional<nlohmann::json> stored = defaults_.jsonValue(storageKey);
    bool readable = stored && stored->is_object();
    if (readable) {
        for (const auto& [key, entry] : stored->items()) {
            if (!entry.is_object()) readable = false;
        }
    }
    if (readable) {
        for (const auto& [key, entry] : stored->items()) {
            const std::optional<Action> action = actionFromRawValue(key);
            if (!action || entry.empty()) continue;
            const std::optional<std::uint16_t> keyCode = unsignedField<std::uint16_t>(entry, "keyCode");
            const std::optional<std::uint64_t> modifiers = unsignedField<std::uint64_t>(entry, "modifiers");
            if (!keyCode || !modifiers) continue;
            const Shortcut shortcut{*keyCode, *modifiers};
            if (!isAllowedGlobally(shortcut)) {
                Log::write(component, "Skipping stored shortcut " + describe(*action, shortcut) +
                                          ": a key that types a character needs Ctrl, Alt or Super");
                continue;
            }
            loaded[*action] = shortcut;
        }
    }
    shortcuts_ = loaded.empty() ? defaultShortcuts() : std::move(loaded);
    saveShortcuts();
}

void KeyboardShortcutManager::setShortcuts(std::map<Action, Shortcut> table) {
    shortcuts_ = std::move(table);
    saveShortcuts();
}

void KeyboardShortcutManager::saveShortcuts() {
    for (auto it = shortcuts_.begin(); it != shortcuts_.end();) {
        if (isAllowedGlobally(it->second)) {
            ++it;
            continue;
        }
        Log::write(component, "Skipping shortcut " + describe(it->first, it->second) +
                                  ": a key that types a character needs Ctrl, Alt or Super");
        it = shortcuts_.erase(it);
    }

    nlohmann::json table = nlohmann::json::object();
    for (const auto& [action, shortcut] : shortcuts_) {
        table[std::string(rawValue(action))] = {{"keyCode", shortcut.keyCode}, {"modifiers", shortcut.modifiers}};
    }
    defaults_.set(storageKey, std::move(table));

    if (started_) {
        std::vector<KeyStroke> grabs;
        grabs.reserve(shortcuts_.size());
        for (const auto& [action, shortcut] : shortcuts_) grabs.push_back({shortcut.keyCode, shortcut.modifiers});
        globalShortcuts_.setGrabbedKeys(grabs);
    }
}

void KeyboardShortcutManager::start() {
    std::weak_ptr<bool> alive = alive_;
    globalShortcuts_.start([this, alive](const KeyStroke& event) {
        if (!alive.expired()) handleKeyEvent(event);
    });
    started_ = true;
    std::vector<KeyStroke> grabs;
    for (const auto& [action, shortcut] : shortcuts_) grabs.push_back({shortcut.keyCode, shortcut.modifiers});
    globalShortcuts_.setGrabbedKeys(grabs);
}

void KeyboardShortcutManager::stop() {
    if (!started_) return;
    globalShortcuts_.stop();
    started_ = false;
}

bool KeyboardShortcutManager::handleKeyEvent(const KeyStroke& event) {
    const std::uint64_t flags = event.modifierFlags & matchedModifiers;
    for (const auto& [action, shortcut] : shortcuts_) {
        if (shortcut.keyCode != event.keyCode || (shortcut.modifiers & matchedModifiers) != flags) continue;
        // The action runs after the key handler has returned, on a later turn of the loop.
        std::weak_ptr<bool> alive = alive_;
        const Action matched = action;
        runLoop_.postToMain([this, alive, matched] {
            if (alive.expired() || !onAction_) return;
            onAction_(matched);
        });
        return true;
    }
    return false;
}

}  // namespace solvara
