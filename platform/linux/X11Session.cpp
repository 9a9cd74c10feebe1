#include "platform/linux/X11Session.h"

#include <cstdlib>
#include <string>
#include <string_view>

#include <X11/Xlib.h>

#include "core/foundation/Log.h"

namespace solvara {
namespace {

constexpr std::string_view component = "Main";

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

bool X11Session::isReachable() {
    const std::string display = environment("DISPLAY");
    if (display.empty()) {
        Log::write(component, "Solvara needs an X11 session: DISPLAY is not set");
        return false;
    }
    Display* connection = XOpenDisplay(display.c_str());
    if (connection == nullptr) {
        Log::write(component, "Solvara needs an X11 session: cannot open the X display " + display);
        return false;
    }
    XCloseDisplay(connection);
    return true;
}

bool X11Session::warnIfWayland() {
    if (environment("WAYLAND_DISPLAY").empty() && environment("XDG_SESSION_TYPE") != "wayland") return false;
    Log::write(component, "Wayland session: the gamma tables Solvara sets through XWayland do not reach the screens");
    return true;
}

}  // namespace solvara
