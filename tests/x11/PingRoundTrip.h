#pragma once

#include <chrono>
#include <thread>

#include <X11/Xlib.h>

#include "platform/linux/XErrorTrap.h"

namespace solvara::testing {

// Waits until the program that owns `window` has handled every X event that reached it before the
// call, and the server every request the program made before: Qt answers a _NET_WM_PING in turn
// with its other events, sending the answer to the root window. False when the window is gone or
// no answer comes within `limit` (a bound against hanging, not a timing assertion).
inline bool programCaughtUp(Display* display, Window window,
                            std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    static long pings = 0;
    const Window root = DefaultRootWindow(display);
    // Qt sends it with StructureNotifyMask (and the redirection, for the window manager).
    XSelectInput(display, root, StructureNotifyMask);
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
    const long stamp = ++pings;
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = window;
    request.xclient.message_type = protocols;
    request.xclient.format = 32;
    request.xclient.data.l[0] = static_cast<long>(ping);
    request.xclient.data.l[1] = stamp;
    request.xclient.data.l[2] = static_cast<long>(window);
    bool sent = false;
    {
        x11::XErrorTrap trap(display);
        XSendEvent(display, window, False, NoEventMask, &request);
        sent = trap.sync() == 0;
    }
    const auto answered = [&] {
        XEvent answer{};
        while (XCheckTypedWindowEvent(display, root, ClientMessage, &answer)) {
            if (answer.xclient.message_type == protocols && answer.xclient.data.l[0] == static_cast<long>(ping) &&
                answer.xclient.data.l[1] == stamp) {
                return true;
            }
        }
        return false;
    };
    bool caughtUp = false;
    const auto end = std::chrono::steady_clock::now() + limit;
    while (sent && !(caughtUp = answered()) && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    XSelectInput(display, root, NoEventMask);
    XSync(display, False);
    return caughtUp;
}

}  // namespace solvara::testing
