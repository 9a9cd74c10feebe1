#pragma once

#include <X11/Xlib.h>

namespace solvara::x11 {

// Catches the X protocol errors of one connection for the life of the object, so that a
// request on a vanished CRTC or output (a monitor unplugged mid-write) is counted here instead
// of reaching Xlib's default handler, which ends the process. Errors on other connections go
// on to the handler that was installed before. Main thread only; traps nest. Errors of requests
// sent before the trap was set may still arrive under it: keep every request on a connection
// inside a trap (the trap's end syncs) so nothing is left outstanding between traps.
class XErrorTrap {
public:
    explicit XErrorTrap(Display* display);
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // Waits until the server has handled every request sent so far (one round trip) and
    // answers how many of them failed since the trap was set.
    int sync();

    int errorCount() const { return errorCount_; }
    // The first failure's error code and request opcodes, for the log.
    unsigned char firstErrorCode() const { return firstErrorCode_; }
    unsigned char firstRequestCode() const { return firstRequestCode_; }
    unsigned char firstMinorCode() const { return firstMinorCode_; }

private:
    static int handle(Display* display, XErrorEvent* event);

    Display* display_;
    XErrorTrap* outer_;
    XErrorHandler previousHandler_;
    bool synced_ = false;
    int errorCount_ = 0;
    unsigned char firstErrorCode_ = 0;
    unsigned char firstRequestCode_ = 0;
    unsigned char firstMinorCode_ = 0;
};

}  // namespace solvara::x11
