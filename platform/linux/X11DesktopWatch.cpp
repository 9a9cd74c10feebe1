#include "platform/linux/X11DesktopWatch.h"

#include <algorithm>
#include <string>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include "platform/linux/XErrorTrap.h"
#include "platform/linux/XHandles.h"

namespace solvara {

struct X11DesktopWatch::State {
    x11::DisplayPtr display;
    Window root = 0;
    Atom compositorSelection = None;
    bool hasFixes = false;
    int fixesEventBase = 0;
};

X11DesktopWatch::X11DesktopWatch() : state_(std::make_unique<State>()) {
    state_->display.reset(XOpenDisplay(nullptr));
    Display* display = state_->display.get();
    if (!display) return;
    x11::XErrorTrap trap(display);
    state_->root = DefaultRootWindow(display);
    const std::string selection = "_NET_WM_CM_S" + std::to_string(DefaultScreen(display));
    state_->compositorSelection = XInternAtom(display, selection.c_str(), False);
    int errorBase = 0;
    state_->hasFixes = XFixesQueryExtension(display, &state_->fixesEventBase, &errorBase);
    if (state_->hasFixes) {
        XFixesSelectSelectionInput(display, state_->root, state_->compositorSelection,
                                   XFixesSetSelectionOwnerNotifyMask | XFixesSelectionWindowDestroyNotifyMask |
                                       XFixesSelectionClientCloseNotifyMask);
    }
    XSelectInput(display, state_->root, SubstructureNotifyMask);
}

X11DesktopWatch::~X11DesktopWatch() = default;

bool X11DesktopWatch::isOpen() const { return state_->display != nullptr; }

int X11DesktopWatch::connectionFd() const {
    return state_->display ? ConnectionNumber(state_->display.get()) : -1;
}

bool X11DesktopWatch::compositorRuns() {
    if (!state_->display) return false;
    x11::XErrorTrap trap(state_->display.get());
    return XGetSelectionOwner(state_->display.get(), state_->compositorSelection) != None;
}

X11DesktopWatch::Changes X11DesktopWatch::drain(std::span<const unsigned long> ours) {
    Changes changes;
    Display* display = state_->display.get();
    if (!display) return changes;
    auto isOurs = [&](Window window) { return std::find(ours.begin(), ours.end(), window) != ours.end(); };
    XEvent event;
    while (XPending(display) > 0) {
        XNextEvent(display, &event);
        if (state_->hasFixes && event.type == state_->fixesEventBase + XFixesSelectionNotify) {
            changes.compositor = true;
        } else if (event.type == ConfigureNotify) {
            if (!isOurs(event.xconfigure.window)) changes.stacking = true;
        } else if (event.type == MapNotify) {
            if (!isOurs(event.xmap.window)) changes.stacking = true;
        }
    }
    return changes;
}

bool X11DesktopWatch::oursOnTop(std::span<const unsigned long> ours) {
    Display* display = state_->display.get();
    if (!display || ours.empty()) return true;
    x11::XErrorTrap trap(display);
    // Our windows as the root sees them: a managed one sits inside a frame of the window manager.
    std::vector<Window> topLevel;
    for (unsigned long window : ours) {
        Window current = window;
        for (int depth = 0; depth < 8; ++depth) {
            Window root = 0;
            Window parent = 0;
            Window* children = nullptr;
            unsigned count = 0;
            if (!XQueryTree(display, current, &root, &parent, &children, &count)) break;
            x11::XFreePtr<Window> owned(children);
            if (parent == root || parent == None) break;
            current = parent;
        }
        topLevel.push_back(current);
    }
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, state_->root, &root, &parent, &children, &count)) return true;
    x11::XFreePtr<Window> owned(children);
    // Children come bottom to top.
    std::size_t lowest = count;
    for (std::size_t i = 0; i < count; ++i) {
        if (std::find(topLevel.begin(), topLevel.end(), children[i]) != topLevel.end()) {
            lowest = i;
            break;
        }
    }
    for (std::size_t i = lowest + 1; i < count; ++i) {
        if (std::find(topLevel.begin(), topLevel.end(), children[i]) != topLevel.end()) continue;
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes)) continue;
        if (attributes.map_state == IsViewable && attributes.c_class == InputOutput) return false;
    }
    return true;
}

void X11DesktopWatch::raiseInOrder(std::span<const unsigned long> bottomToTop) {
    Display* display = state_->display.get();
    if (!display || bottomToTop.empty()) return;
    x11::XErrorTrap trap(display);
    // From the top down: the highest is raised, each other goes right below the one above it.
    // Windows already in this order do not move at all.
    XRaiseWindow(display, bottomToTop.back());
    for (std::size_t i = bottomToTop.size() - 1; i-- > 0;) {
        XWindowChanges below{};
        below.sibling = bottomToTop[i + 1];
        below.stack_mode = Below;
        XConfigureWindow(display, bottomToTop[i], CWSibling | CWStackMode, &below);
    }
}

void X11DesktopWatch::disableShadow(unsigned long window) {
    if (!state_->display) return;
    Display* display = state_->display.get();
    x11::XErrorTrap trap(display);
    const Atom shadow = XInternAtom(display, "_COMPTON_SHADOW", False);
    const long off = 0;
    XChangeProperty(display, window, shadow, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&off), 1);
}

std::vector<RandrDisplay> X11DesktopWatch::displays() {
    if (!state_->display) return {};
    x11::XErrorTrap trap(state_->display.get());
    std::vector<RandrDisplay> list = RandrDisplays::active(state_->display.get());
    if (trap.sync() > 0) return {};
    return list;
}

}  // namespace solvara
