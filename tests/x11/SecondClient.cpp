#include "tests/x11/SecondClient.h"

#include <algorithm>
#include <cstdlib>

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

#include "platform/linux/XErrorTrap.h"

namespace solvara::testing {

namespace {

RRCrtc crtcOf(Display* display, const std::string& outputName) {
    x11::ScreenResourcesPtr resources(XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display)));
    if (!resources) return None;
    for (int i = 0; i < resources->noutput; ++i) {
        x11::OutputInfoPtr info(XRRGetOutputInfo(display, resources.get(), resources->outputs[i]));
        if (info && std::string(info->name, static_cast<std::size_t>(info->nameLen)) == outputName) return info->crtc;
    }
    return None;
}

}  // namespace

SecondClient::SecondClient() : display_(XOpenDisplay(nullptr)) {}

std::vector<std::string> SecondClient::enabledOutputs() {
    std::vector<std::string> names;
    x11::XErrorTrap trap(display());
    x11::ScreenResourcesPtr resources(XRRGetScreenResourcesCurrent(display(), DefaultRootWindow(display())));
    if (!resources) return names;
    for (int i = 0; i < resources->noutput; ++i) {
        x11::OutputInfoPtr info(XRRGetOutputInfo(display(), resources.get(), resources->outputs[i]));
        if (info && info->crtc != None) names.emplace_back(info->name, static_cast<std::size_t>(info->nameLen));
    }
    return names;
}

std::optional<SecondClient::Tables> SecondClient::gamma(const std::string& outputName) {
    x11::XErrorTrap trap(display());
    const RRCrtc crtc = crtcOf(display(), outputName);
    if (crtc == None) return std::nullopt;
    x11::CrtcGammaPtr gamma(XRRGetCrtcGamma(display(), crtc));
    if (!gamma || gamma->size <= 0) return std::nullopt;
    Tables tables;
    tables.red.assign(gamma->red, gamma->red + gamma->size);
    tables.green.assign(gamma->green, gamma->green + gamma->size);
    tables.blue.assign(gamma->blue, gamma->blue + gamma->size);
    return tables;
}

int SecondClient::gammaSize(const std::string& outputName) {
    x11::XErrorTrap trap(display());
    const RRCrtc crtc = crtcOf(display(), outputName);
    return crtc == None ? 0 : XRRGetCrtcGammaSize(display(), crtc);
}

bool SecondClient::setGamma(const std::string& outputName, const Tables& tables) {
    x11::XErrorTrap trap(display());
    const RRCrtc crtc = crtcOf(display(), outputName);
    if (crtc == None) return false;
    const int size = static_cast<int>(tables.red.size());
    x11::CrtcGammaPtr gamma(XRRAllocGamma(size));
    if (!gamma) return false;
    for (int i = 0; i < size; ++i) {
        gamma->red[i] = tables.red[static_cast<std::size_t>(i)];
        gamma->green[i] = tables.green[static_cast<std::size_t>(i)];
        gamma->blue[i] = tables.blue[static_cast<std::size_t>(i)];
    }
    XRRSetCrtcGamma(display(), crtc, gamma.get());
    return trap.sync() == 0;
}

bool SecondClient::switchOutput(const std::string& outputName, bool on) {
    // The dummy driver updates an output's connection state only when probed (plain xrandr).
    const std::string command =
        on ? "xrandr --output " + outputName + " --mode 1280x800 --right-of DUMMY0 && xrandr >/dev/null"
           : "xrandr --output " + outputName + " --off && xrandr >/dev/null";
    return std::system(command.c_str()) == 0;
}

bool SecondClient::ensureTwoOutputs() {
    if (enabledOutputs().size() < 2) switchOutput("DUMMY1", true);
    return enabledOutputs().size() >= 2;
}

std::optional<std::uint32_t> SecondClient::rootPixel(int x, int y) {
    x11::XErrorTrap trap(display());
    XImage* image = XGetImage(display(), DefaultRootWindow(display()), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return std::nullopt;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return static_cast<std::uint32_t>(pixel & 0xffffffu);
}

Window SecondClient::createOpaqueWindow(int x, int y, unsigned width, unsigned height, std::uint32_t rgb) {
    x11::XErrorTrap trap(display());
    XSetWindowAttributes attributes{};
    attributes.background_pixel = rgb;
    attributes.override_redirect = True;
    const Window window = XCreateWindow(display(), DefaultRootWindow(display()), x, y, width, height, 0, CopyFromParent,
                                        InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect, &attributes);
    XMapWindow(display(), window);
    return trap.sync() == 0 ? window : 0;
}

Window SecondClient::createDock(int x, int y, unsigned width, unsigned height, const std::array<long, 12>& strut) {
    Display* d = display();
    x11::XErrorTrap trap(d);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = 0x303030;
    const Window window = XCreateWindow(d, DefaultRootWindow(d), x, y, width, height, 0, CopyFromParent, InputOutput,
                                        CopyFromParent, CWBackPixel, &attributes);
    XSizeHints hints{};
    hints.flags = USPosition | USSize;
    hints.x = x;
    hints.y = y;
    hints.width = static_cast<int>(width);
    hints.height = static_cast<int>(height);
    XSetWMNormalHints(d, window, &hints);
    Atom dock = XInternAtom(d, "_NET_WM_WINDOW_TYPE_DOCK", False);
    XChangeProperty(d, window, XInternAtom(d, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&dock), 1);
    XChangeProperty(d, window, XInternAtom(d, "_NET_WM_STRUT_PARTIAL", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(strut.data()), 12);
    XMapWindow(d, window);
    return trap.sync() == 0 ? window : 0;
}

void SecondClient::destroyWindow(Window window) {
    x11::XErrorTrap trap(display());
    XDestroyWindow(display(), window);
    trap.sync();
}

std::vector<Window> SecondClient::mappedWindowsAt(int x, int y) {
    std::vector<Window> found;
    x11::XErrorTrap trap(display());
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display(), DefaultRootWindow(display()), &root, &parent, &children, &count)) return found;
    x11::XFreePtr<Window> owned(children);
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display(), children[i], &attributes)) continue;
        if (attributes.map_state != IsViewable || attributes.c_class != InputOutput) continue;
        if (x >= attributes.x && x < attributes.x + attributes.width && y >= attributes.y &&
            y < attributes.y + attributes.height) {
            found.push_back(children[i]);
        }
    }
    return found;
}

void SecondClient::followStacking() {
    XSelectInput(display(), DefaultRootWindow(display()), SubstructureNotifyMask);
    XSync(display(), False);
    // What the query below sees may come again as events: replayed, they change nothing.
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display(), DefaultRootWindow(display()), &root, &parent, &children, &count)) return;
    x11::XFreePtr<Window> owned(children);
    stacking_.assign(children, children + count);
    orders_ = {stacking_};
}

std::vector<std::vector<Window>> SecondClient::stackingSince() {
    XSync(display(), False);
    while (XPending(display()) > 0) {
        XEvent event;
        XNextEvent(display(), &event);
        if (event.type == CreateNotify) {
            const Window made = event.xcreatewindow.window;
            if (std::find(stacking_.begin(), stacking_.end(), made) == stacking_.end()) stacking_.push_back(made);
        } else if (event.type == DestroyNotify) {
            std::erase(stacking_, event.xdestroywindow.window);
        } else if (event.type == ConfigureNotify) {
            // Right above its sibling `above`, or at the bottom.
            const Window moved = event.xconfigure.window;
            std::erase(stacking_, moved);
            auto at = std::find(stacking_.begin(), stacking_.end(), event.xconfigure.above);
            at = at == stacking_.end() ? stacking_.begin() : at + 1;
            stacking_.insert(at, moved);
            orders_.push_back(stacking_);
        }
    }
    return orders_;
}

std::optional<std::array<int, 4>> SecondClient::geometry(Window window) {
    x11::XErrorTrap trap(display());
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display(), window, &attributes)) return std::nullopt;
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display(), window, DefaultRootWindow(display()), 0, 0, &x, &y, &child);
    return std::array{x, y, attributes.width, attributes.height};
}

bool SecondClient::compositorRuns() {
    const Atom selection = XInternAtom(display(), "_NET_WM_CM_S0", False);
    return XGetSelectionOwner(display(), selection) != None;
}

void SecondClient::forceScreenSaver(bool on) {
    XForceScreenSaver(display(), on ? ScreenSaverActive : ScreenSaverReset);
    XSync(display(), False);
}

bool SecondClient::rootHasProperty(const std::string& name) {
    const Atom atom = XInternAtom(display(), name.c_str(), False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display(), DefaultRootWindow(display()), atom, 0, 0, False, AnyPropertyType, &type, &format,
                       &count, &remaining, &data);
    x11::XFreePtr<unsigned char> owned(data);
    return type != None;
}

void SecondClient::deleteRootProperty(const std::string& name) {
    XDeleteProperty(display(), DefaultRootWindow(display()), XInternAtom(display(), name.c_str(), False));
    XSync(display(), False);
}

SecondClient::Tables SecondClient::identity(int size) {
    Tables tables;
    for (int i = 0; i < size; ++i) {
        tables.red.push_back(static_cast<std::uint16_t>(i * 65535 / (size - 1)));
    }
    tables.green = tables.red;
    tables.blue = tables.red;
    return tables;
}

}  // namespace solvara::testing
