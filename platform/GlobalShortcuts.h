#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace solvara {

// One key press in the form the stored shortcut table keeps: the key's virtual key code of the
// Apple extended keyboard (A = 0, E = 14, Escape = 53, Up Arrow = 126, ...) and modifier bits
// in the same convention (caps lock 0x10000, shift 0x20000, control 0x40000, option/Alt
// 0x80000, command/Super 0x100000). Each implementation maps them to its own key codes.
struct KeyStroke {
    std::uint16_t keyCode = 0;
    std::uint64_t modifierFlags = 0;

    bool operator==(const KeyStroke&) const = default;
};

// Keyboard shortcuts that work whichever application has the focus, this program's own
// windows included. Main thread only; the handler runs on the main thread.
class GlobalShortcuts {
public:
    virtual ~GlobalShortcuts() = default;

    // Starts delivering presses of the grabbed combinations to `handler` (a second start()
    // replaces the handler). False when the desktop offers no way to grab keys (logged once);
    // the program then has no global shortcuts but goes on.
    virtual bool start(std::function<void(const KeyStroke&)> handler) = 0;

    // Releases every grab and drops the handler. Harmless when not started.
    virtual void stop() = 0;

    // Replaces the grabbed combinations by `combinations` (their keyCode and the shift, control,
    // option and command bits; other bits are ignored). A combination is grabbed whatever the
    // state of caps lock and num lock. Combinations with none of control, option and command are
    // never grabbed: they would steal the key from every other program. Those, keys this
    // keyboard does not have, and combinations another program already holds are skipped and
    // logged; the others still work. Before start() the list is kept and grabbed at start().
    virtual void setGrabbedKeys(const std::vector<KeyStroke>& combinations) = 0;
};

}  // namespace solvara
