#include "platform/linux/X11GlobalShortcuts.h"

#include <algorithm>
#include <array>
#include <string>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "core/foundation/Log.h"
#include "platform/linux/MacKeyCodes.h"
#include "platform/linux/XErrorTrap.h"

namespace solvara {
namespace {

constexpr std::string_view component = "GlobalShortcuts";

// Modifier bits of the stored table.
constexpr std::uint64_t capsLockFlag = 0x10000;
constexpr std::uint64_t shiftFlag = 0x20000;
constexpr std::uint64_t controlFlag = 0x40000;
constexpr std::uint64_t optionFlag = 0x80000;
constexpr std::uint64_t commandFlag = 0x100000;

std::string describe(const KeyStroke& combination) {
    std::string text;
    if (combination.modifierFlags & controlFlag) text += "Ctrl+";
    if (combination.modifierFlags & optionFlag) text += "Alt+";
    if (combination.modifierFlags & shiftFlag) text += "Shift+";
    if (combination.modifierFlags & commandFlag) text += "Super+";
    if (auto keysym = MacKeyCodes::keysym(combination.keyCode)) {
        if (const char* name = XKeysymToString(*keysym)) return text + name;
    }
    return text + "key " + std::to_string(combination.keyCode);
}

}  // namespace

X11GlobalShortcuts::X11GlobalShortcuts() = default;

X11GlobalShortcuts::~X11GlobalShortcuts() { stop(); }

X11GlobalShortcuts::ModifierMasks X11GlobalShortcuts::readModifierMasks() const {
    ModifierMasks masks;
    Display* display = connection_->display();
    XModifierKeymap* map = XGetModifierMapping(display);
    if (map == nullptr) return masks;
    // Which of Mod1...Mod5 carries Alt, Super and Num Lock differs between keyboard layouts.
    auto maskOf = [&](KeySym keysym, unsigned int fallback) {
        const KeyCode code = XKeysymToKeycode(display, keysym);
        if (code == 0) return fallback;
        for (int modifier = Mod1MapIndex; modifier <= Mod5MapIndex; ++modifier) {
            for (int k = 0; k < map->max_keypermod; ++k) {
                if (map->modifiermap[modifier * map->max_keypermod + k] == code) return 1u << modifier;
            }
        }
        return fallback;
    };
    masks.alt = maskOf(XK_Alt_L, Mod1Mask);
    masks.super = maskOf(XK_Super_L, Mod4Mask);
    masks.numLock = maskOf(XK_Num_Lock, Mod2Mask);
    XFreeModifiermap(map);
    return masks;
}

bool X11GlobalShortcuts::start(std::function<void(const KeyStroke&)> handler) {
    if (!connection_) connection_ = std::make_unique<XEventConnection>();
    if (!connection_->isOpen()) {
        if (!reportedUnavailable_) Log::write(component, "No X display: global shortcuts are unavailable");
        reportedUnavailable_ = true;
        return false;
    }
    handler_ = std::move(handler);
    connection_->setHandler([this](_XEvent& event) { handle(event); });
    masks_ = readModifierMasks();
    started_ = true;
    grabAll();
    return true;
}

void X11GlobalShortcuts::stop() {
    if (!started_) return;
    ungrabAll();
    handler_ = nullptr;
    started_ = false;
}

void X11GlobalShortcuts::setGrabbedKeys(const std::vector<KeyStroke>& combinations) {
    wanted_ = combinations;
    if (started_) grabAll();
}

void X11GlobalShortcuts::ungrabAll() {
    if (!connection_ || !connection_->isOpen()) return;
    Display* display = connection_->display();
    x11::XErrorTrap trap(display);
    for (const Grab& grab : grabs_) {
        for (unsigned int locks : {0u, unsigned(LockMask), masks_.numLock, LockMask | masks_.numLock}) {
            XUngrabKey(display, grab.keycode, grab.modifiers | locks, connection_->root());
        }
    }
    trap.sync();
    grabs_.clear();
}

void X11GlobalShortcuts::grabAll() {
    // The new grabs are taken before the old ones go, and a combination in both stays held
    // throughout (grabbing what we hold already replaces it): a keyboard mapping change comes as
    // the first key of another keyboard goes down, and a shortcut typed on would otherwise fall
    // in the gap between letting go and grabbing again.
    if (!connection_ || !connection_->isOpen()) return;
    const std::vector<Grab> previous = std::move(grabs_);
    grabs_.clear();
    Display* display = connection_->display();
    const Window root = connection_->root();
    for (const KeyStroke& combination : wanted_) {
        if ((combination.modifierFlags & (controlFlag | optionFlag | commandFlag)) == 0) {
            Log::write(component, "Not grabbing " + describe(combination) +
                                      ": a global shortcut needs Ctrl, Alt or Super, or it would take the key from every program");
            continue;
        }
        const std::optional<KeySym> keysym = MacKeyCodes::keysym(combination.keyCode);
        const KeyCode keycode = keysym ? XKeysymToKeycode(display, *keysym) : 0;
        if (keycode == 0) {
            Log::write(component, "Not grabbing " + describe(combination) + ": this keyboard has no such key");
            continue;
        }
        unsigned int modifiers = 0;
        if (combination.modifierFlags & shiftFlag) modifiers |= ShiftMask;
        if (combination.modifierFlags & controlFlag) modifiers |= ControlMask;
        if (combination.modifierFlags & optionFlag) modifiers |= masks_.alt;
        if (combination.modifierFlags & commandFlag) modifiers |= masks_.super;

        // Grabs are exact about modifiers: without the lock variants a shortcut would stop
        // working whenever caps lock or num lock is on.
        x11::XErrorTrap trap(display);
        for (unsigned int locks : {0u, unsigned(LockMask), masks_.numLock, LockMask | masks_.numLock}) {
            XGrabKey(display, keycode, modifiers | locks, root, False, GrabModeAsync, GrabModeAsync);
        }
        if (trap.sync() > 0) {
            Log::write(component, "Not grabbing " + describe(combination) + ": another program already holds it");
            for (unsigned int locks : {0u, unsigned(LockMask), masks_.numLock, LockMask | masks_.numLock}) {
                XUngrabKey(display, keycode, modifiers | locks, root);
            }
            XSync(display, False);
            continue;
        }
        grabs_.push_back({combination, keycode, modifiers});
    }
    x11::XErrorTrap trap(display);
    for (const Grab& old : previous) {
        const bool kept = std::any_of(grabs_.begin(), grabs_.end(), [&](const Grab& grab) {
            return grab.keycode == old.keycode && grab.modifiers == old.modifiers;
        });
        if (kept) continue;
        for (unsigned int locks : {0u, unsigned(LockMask), masks_.numLock, LockMask | masks_.numLock}) {
            XUngrabKey(display, old.keycode, old.modifiers | locks, root);
        }
    }
    trap.sync();
    connection_->drain();
}

void X11GlobalShortcuts::handle(_XEvent& event) {
    if (event.type == MappingNotify && event.xmapping.request != MappingPointer) {
        // A new keyboard layout moves keys and modifiers: grab the same combinations anew.
        XRefreshKeyboardMapping(&event.xmapping);
        if (started_) {
            masks_ = readModifierMasks();
            grabAll();
        }
        return;
    }
    if (event.type != KeyPress || !handler_) return;
    const XKeyEvent& key = event.xkey;
    const unsigned int relevant = ShiftMask | ControlMask | masks_.alt | masks_.super;
    for (const Grab& grab : grabs_) {
        if (grab.keycode != key.keycode || grab.modifiers != (key.state & relevant)) continue;
        KeyStroke press{grab.combination.keyCode, 0};
        if (key.state & LockMask) press.modifierFlags |= capsLockFlag;
        if (key.state & ShiftMask) press.modifierFlags |= shiftFlag;
        if (key.state & ControlMask) press.modifierFlags |= controlFlag;
        if (key.state & masks_.alt) press.modifierFlags |= optionFlag;
        if (key.state & masks_.super) press.modifierFlags |= commandFlag;
        auto handler = handler_;  // the handler may stop() us
        handler(press);
        return;
    }
}

}  // namespace solvara
