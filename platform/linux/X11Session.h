#pragma once

namespace solvara {

// What the desktop session offers the program, asked before Qt starts (Qt aborts when it finds
// no display). Every answer that rules something out is said in one log line.
class X11Session {
public:
    // True when an X server answers at $DISPLAY; otherwise logs that Solvara needs an X11
    // session.
    static bool isReachable();

    // True in a Wayland session (WAYLAND_DISPLAY set, or XDG_SESSION_TYPE "wayland"), where the
    // program runs on XWayland: logs that the gamma tables it sets there do not reach the
    // screens.
    static bool warnIfWayland();
};

}  // namespace solvara
