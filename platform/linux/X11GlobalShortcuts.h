#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/GlobalShortcuts.h"
#include "platform/linux/XEventConnection.h"

namespace solvara {

// Global shortcuts as passive key grabs on the root window (XGrabKey), one per combination and
// state of caps lock and num lock, on a connection of their own.
class X11GlobalShortcuts : public GlobalShortcuts {
public:
    X11GlobalShortcuts();
    ~X11GlobalShortcuts() override;

    bool start(std::function<void(const KeyStroke&)> handler) override;
    void stop() override;
    void setGrabbedKeys(const std::vector<KeyStroke>& combinations) override;

private:
    struct Grab {
        KeyStroke combination;       // as asked for
        unsigned char keycode = 0;   // the X key code it landed on
        unsigned int modifiers = 0;  // X modifier mask, without the lock keys
    };
    // X modifier masks; the defaults are those of most keyboard maps (Mod1, Mod4, Mod2).
    struct ModifierMasks {
        unsigned int alt = 1u << 3;
        unsigned int super = 1u << 6;
        unsigned int numLock = 1u << 4;
    };

    void grabAll();
    void ungrabAll();
    void handle(_XEvent& event);
    ModifierMasks readModifierMasks() const;

    std::unique_ptr<XEventConnection> connection_;
    std::function<void(const KeyStroke&)> handler_;
    std::vector<KeyStroke> wanted_;
    std::vector<Grab> grabs_;
    ModifierMasks masks_;
    bool started_ = false;
    bool reportedUnavailable_ = false;
};

}  // namespace solvara
