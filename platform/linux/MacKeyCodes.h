#pragma once

#include <cstdint>
#include <optional>

namespace solvara {

// The stored shortcut table names keys by the virtual key codes of the Apple extended keyboard
// (A = 0, E = 14, comma = 43, Escape = 53, Up Arrow = 126). This maps them to X keysyms and
// back, by the character or function each key carries on a US layout.
class MacKeyCodes {
public:
    // The keysym for a key code; empty for codes with no counterpart (modifier keys, media keys).
    // (KeySym is unsigned long; Xlib stays out of this header so Qt code can include it.)
    static std::optional<unsigned long> keysym(std::uint16_t keyCode);

    // The key code for a keysym; letters in either case. Empty when no key code carries it.
    static std::optional<std::uint16_t> keyCode(unsigned long keysym);
};

}  // namespace solvara
