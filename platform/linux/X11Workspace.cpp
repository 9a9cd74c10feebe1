#include "platform/linux/X11Workspace.h"

#include <algorithm>
#include <array>
#include <vector>

#include <QGuiApplication>
#include <QMetaObject>
#include <QObject>
#include <QScreen>

#include "core/foundation/Log.h"
#include "platform/linux/LogindSleepWatcher.h"

// After Qt: Xlib's macros break Qt's headers.
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/scrnsaver.h>

#include "platform/linux/XErrorTrap.h"
#include "platform/linux/XHandles.h"

namespace solvara {
namespace {

constexpr std::string_view component = "Workspace";

struct WindowProperty {
    Atom type = 0;
    int format = 0;  // 8, 16 or 32 bits an item (32-bit items come as longs)
    unsigned long count = 0;
    x11::XFreePtr<unsigned char> data;
};

// Up to `length` 32-bit units of a window's property; empty when the window is gone or the
// request failed.
std::optional<WindowProperty> readProperty(Display* display, Window window, Atom name, Atom type, long length) {
    WindowProperty property;
    unsigned long remaining = 0;
    unsigned char* raw = nullptr;
    x11::XErrorTrap trap(display);
    const int status = XGetWindowProperty(display, window, name, 0, length, False, type, &property.type,
                                          &property.format, &property.count, &remaining, &raw);
    property.data.reset(raw);
    if (trap.sync() > 0 || status != Success) return std::nullopt;
    return property;
}

}  // namespace

X11Workspace::X11Workspace(DesktopFileIndex desktopFiles)
    : connection_(std::make_unique<XEventConnection>()),
      desktopFiles_(std::move(desktopFiles)),
      context_(std::make_unique<QObject>()) {
    if (!connection_->isOpen()) {
        Log::write(component, "No X display: the active window and idle time are unknown");
        return;
    }
    Display* display = connection_->display();
    netActiveWindow_ = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    netWmState_ = XInternAtom(display, "_NET_WM_STATE", False);
    netWmStateFullscreen_ = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    gtkApplicationId_ = XInternAtom(display, "_GTK_APPLICATION_ID", False);
    kdeDesktopFile_ = XInternAtom(display, "_KDE_NET_WM_DESKTOP_FILE", False);
    utf8String_ = XInternAtom(display, "UTF8_STRING", False);
    netWmName_ = XInternAtom(display, "_NET_WM_NAME", False);

    connection_->setHandler([this](_XEvent& event) { handle(event); });
    XSelectInput(display, connection_->root(), PropertyChangeMask);
    setUpInputWatch();
    followActiveWindow(readActiveWindow());
}

X11Workspace::~X11Workspace() {
    if (connection_->isOpen() && activeWindow_ != 0) {
        x11::XErrorTrap trap(connection_->display());
        XSelectInput(connection_->display(), activeWindow_, NoEventMask);
    }
}

void X11Workspace::setUpInputWatch() {
    Display* display = connection_->display();
    const SteadyTime now = std::chrono::steady_clock::now();
    double idleAtStart = 0;

    int eventBase = 0;
    int errorBase = 0;
    if (XScreenSaverQueryExtension(display, &eventBase, &errorBase)) {
        x11::XFreePtr<XScreenSaverInfo> info(XScreenSaverAllocInfo());
        if (info && XScreenSaverQueryInfo(display, connection_->root(), info.get())) {
            hasScreenSaverInfo_ = true;
            idleAtStart = static_cast<double>(info->idle) / 1000.0;
        }
    }

    int opcode = 0;
    int event = 0;
    int error = 0;
    if (XQueryExtension(display, "XInputExtension", &opcode, &event, &error)) {
        // 2.2 rather than 2.0: from 2.1 on, raw events reach the root window even while another
        // client holds a grab.
        int major = 2;
        int minor = 2;
        if (XIQueryVersion(display, &major, &minor) == Success) {
            std::array<unsigned char, XIMaskLen(XI_LASTEVENT)> bits{};
            XISetMask(bits.data(), XI_RawKeyPress);
            XISetMask(bits.data(), XI_RawButtonPress);
            XISetMask(bits.data(), XI_RawMotion);
            // Raw events come from the physical (slave) devices, XTEST ones included.
            XIEventMask mask{XIAllDevices, static_cast<int>(bits.size()), bits.data()};
            x11::XErrorTrap trap(display);
            XISelectEvents(display, connection_->root(), &mask, 1);
            if (trap.sync() == 0) xinputOpcode_ = opcode;
        }
    }
    // Until the first raw event, every kind dates from the session's last input.
    const auto since = std::chrono::duration_cast<SteadyTime::duration>(std::chrono::duration<double>(idleAtStart));
    for (InputEventKind kind : {InputEventKind::mouseMoved, InputEventKind::keyDown, InputEventKind::leftMouseDown}) {
        lastInput_[kind] = now - since;
    }
    if (xinputOpcode_ < 0 && !hasScreenSaverInfo_) {
        Log::write(component, "Neither XInput2 nor the screen saver extension: idle time is unknown");
    }
}

std::optional<double> X11Workspace::secondsSinceLastEvent(InputEventKind kind) {
    if (!connection_->isOpen()) return std::nullopt;
    if (xinputOpcode_ >= 0) {
        connection_->drain();  // take in raw events that arrived since the loop last ran
        const std::chrono::duration<double> idle = std::chrono::steady_clock::now() - lastInput_[kind];
        return std::max(0.0, idle.count());
    }
    if (hasScreenSaverInfo_) {
        x11::XFreePtr<XScreenSaverInfo> info(XScreenSaverAllocInfo());
        if (info && XScreenSaverQueryInfo(connection_->display(), connection_->root(), info.get())) {
            return static_cast<double>(info->idle) / 1000.0;
        }
    }
    return std::nullopt;
}

unsigned long X11Workspace::readActiveWindow() {
    const std::optional<WindowProperty> property =
        readProperty(connection_->display(), connection_->root(), netActiveWindow_, XA_WINDOW, 1);
    if (!property || property->type != XA_WINDOW || property->format != 32 || property->count < 1) return 0;
    return reinterpret_cast<const unsigned long*>(property->data.get())[0];
}

bool X11Workspace::readFullScreen(unsigned long window) {
    if (window == 0) return false;
    const std::optional<WindowProperty> property = readProperty(connection_->display(), window, netWmState_, XA_ATOM, 64);
    if (!property || property->type != XA_ATOM || property->format != 32) return false;
    const auto* atoms = reinterpret_cast<const unsigned long*>(property->data.get());
    return std::find(atoms, atoms + property->count, netWmStateFullscreen_) != atoms + property->count;
}

std::optional<std::string> X11Workspace::readStringProperty(unsigned long window, unsigned long name) {
    const std::optional<WindowProperty> property =
        readProperty(connection_->display(), window, name, AnyPropertyType, 1024);
    if (!property || property->format != 8 || property->count == 0) return std::nullopt;
    if (property->type != utf8String_ && property->type != XA_STRING) return std::nullopt;
    std::string value(reinterpret_cast<const char*>(property->data.get()), property->count);
    value.erase(std::find(value.begin(), value.end(), '\0'), value.end());
    if (value.empty()) return std::nullopt;
    return value;
}

RunningApplication X11Workspace::describe(unsigned long window) {
    RunningApplication application;
    std::optional<std::string> windowClass;
    std::optional<std::string> instanceName;
    {
        Display* display = connection_->display();
        XClassHint hint{nullptr, nullptr};
        x11::XErrorTrap trap(display);
        const Status ok = XGetClassHint(display, window, &hint);
        trap.sync();
        x11::XFreePtr<char> name(hint.res_name);
        x11::XFreePtr<char> cls(hint.res_class);
        if (ok && cls && *cls.get()) windowClass = std::string(cls.get());
        if (ok && name && *name.get()) instanceName = std::string(name.get());
    }
    // The desktop-file id is what names an application across the desktop; the window class
    // is only a program's own choice.
    if (auto id = readStringProperty(window, gtkApplicationId_)) {
        application.desktopId = id;
    } else if (auto kde = readStringProperty(window, kdeDesktopFile_)) {
        application.desktopId = kde;
    } else if (windowClass) {
        // Desktop files name either half of WM_CLASS in StartupWMClass (GIMP 2.10's window is
        // class "Gimp-2.10", instance "gimp-2.10").
        std::optional<std::string> id = desktopFiles_.desktopIdForWindowClass(*windowClass);
        if (!id && instanceName) id = desktopFiles_.desktopIdForWindowClass(*instanceName);
        application.desktopId = id.value_or(*windowClass);
    }
    application.localizedName = readStringProperty(window, netWmName_).value_or(windowClass.value_or(""));
    return application;
}

std::optional<RunningApplication> X11Workspace::describeActiveWindow() {
    if (activeWindow_ == 0) return std::nullopt;
    if (!activeDescription_) activeDescription_ = describe(activeWindow_);
    return activeDescription_;
}

bool X11Workspace::namesWindow(unsigned long atom) const {
    return atom == XA_WM_CLASS || atom == gtkApplicationId_ || atom == kdeDesktopFile_ || atom == netWmName_;
}

void X11Workspace::followActiveWindow(unsigned long window) {
    Display* display = connection_->display();
    if (window != activeWindow_) {
        activeDescription_.reset();
        x11::XErrorTrap trap(display);
        if (activeWindow_ != 0) XSelectInput(display, activeWindow_, NoEventMask);
        if (window != 0) XSelectInput(display, window, PropertyChangeMask | StructureNotifyMask);
        if (trap.sync() > 0) window = 0;  // gone already
    }
    activeWindow_ = window;
    activeFullScreen_ = readFullScreen(window);
}

std::optional<RunningApplication> X11Workspace::frontmostApplication() {
    if (!connection_->isOpen()) return std::nullopt;
    connection_->drain();
    return describeActiveWindow();
}

bool X11Workspace::isActiveWindowFullScreen() {
    if (!connection_->isOpen()) return false;
    connection_->drain();
    return activeFullScreen_;
}

void X11Workspace::handle(_XEvent& event) {
    if (event.type == GenericEvent && event.xcookie.extension == xinputOpcode_) {
        if (XGetEventData(connection_->display(), &event.xcookie)) {
            const SteadyTime now = std::chrono::steady_clock::now();
            switch (event.xcookie.evtype) {
                case XI_RawKeyPress: lastInput_[InputEventKind::keyDown] = now; break;
                case XI_RawMotion: lastInput_[InputEventKind::mouseMoved] = now; break;
                case XI_RawButtonPress: {
                    const auto* raw = static_cast<const XIRawEvent*>(event.xcookie.data);
                    if (raw->detail == Button1) lastInput_[InputEventKind::leftMouseDown] = now;
                    // Wheel "buttons" come as presses too; they move nothing the pointer does.
                    else if (raw->detail < Button4 || raw->detail > 7) lastInput_[InputEventKind::mouseMoved] = now;
                    break;
                }
                default: break;
            }
            XFreeEventData(connection_->display(), &event.xcookie);
        }
        return;
    }
    if (event.type == PropertyNotify) {
        const XPropertyEvent& property = event.xproperty;
        if (property.window == connection_->root() && property.atom == netActiveWindow_) {
            const Window window = readActiveWindow();
            const bool wasFullScreen = activeFullScreen_;
            const Window previous = activeWindow_;
            followActiveWindow(window);
            if (window != previous || activeFullScreen_ != wasFullScreen) notify(Kind::frontmost);
        } else if (property.window == activeWindow_ && property.atom == netWmState_) {
            const bool fullScreen = readFullScreen(activeWindow_);
            if (fullScreen != activeFullScreen_) {
                activeFullScreen_ = fullScreen;
                notify(Kind::frontmost);
            }
        } else if (property.window == activeWindow_ && namesWindow(property.atom)) {
            activeDescription_.reset();
        }
        return;
    }
    if (event.type == DestroyNotify && event.xdestroywindow.window == activeWindow_) {
        activeWindow_ = 0;
        activeFullScreen_ = false;
        activeDescription_.reset();
    }
}

void X11Workspace::notify(Kind kind) {
    // Always on a later turn of the loop: the event may have been read inside one of our own
    // queries (frontmostApplication() and the idle time drain the connection), and an observer
    // must never run inside a caller's call.
    QMetaObject::invokeMethod(context_.get(), [this, kind] { dispatch(kind); }, Qt::QueuedConnection);
}

void X11Workspace::dispatch(Kind kind) {
    std::optional<RunningApplication> frontmost;
    if (kind == Kind::frontmost) frontmost = describeActiveWindow();
    // Observers may remove themselves (or others) while being called.
    std::vector<WorkspaceObserverId> ids;
    for (const auto& [id, observer] : observers_) {
        if (observer.kind == kind) ids.push_back(id);
    }
    for (WorkspaceObserverId id : ids) {
        auto it = observers_.find(id);
        if (it == observers_.end()) continue;
        Observer observer = it->second;
        if (kind == Kind::frontmost) {
            observer.frontmost(frontmost);
        } else {
            observer.plain();
        }
    }
}

void X11Workspace::connectScreens() {
    if (screensConnected_) return;
    screensConnected_ = true;
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app == nullptr) {
        Log::write(component, "No GUI application: screen changes are not observed");
        return;
    }
    auto watchScreen = [this](QScreen* screen) {
        QObject::connect(screen, &QScreen::geometryChanged, context_.get(), [this] { notify(Kind::screens); });
    };
    for (QScreen* screen : QGuiApplication::screens()) watchScreen(screen);
    QObject::connect(app, &QGuiApplication::screenAdded, context_.get(), [this, watchScreen](QScreen* screen) {
        watchScreen(screen);
        notify(Kind::screens);
    });
    QObject::connect(app, &QGuiApplication::screenRemoved, context_.get(), [this] { notify(Kind::screens); });
    QObject::connect(app, &QGuiApplication::primaryScreenChanged, context_.get(), [this] { notify(Kind::screens); });
}

WorkspaceObserverId X11Workspace::observeScreenChanges(std::function<void()> action) {
    connectScreens();
    const WorkspaceObserverId id = nextId_++;
    observers_.emplace(id, Observer{Kind::screens, std::move(action), {}});
    return id;
}

WorkspaceObserverId X11Workspace::observeWake(std::function<void()> action) {
    if (!sleepWatcher_) {
        sleepWatcher_ = std::make_unique<LogindSleepWatcher>([this] { notify(Kind::wake); });
        if (!sleepWatcher_->isWatching() && !reportedNoWake_) {
            reportedNoWake_ = true;
            Log::write(component, "logind is not reachable on the system bus: waking from sleep is not observed");
        }
    }
    const WorkspaceObserverId id = nextId_++;
    observers_.emplace(id, Observer{Kind::wake, std::move(action), {}});
    return id;
}

WorkspaceObserverId X11Workspace::observeFrontmostApplication(
    std::function<void(const std::optional<RunningApplication>&)> action) {
    const WorkspaceObserverId id = nextId_++;
    observers_.emplace(id, Observer{Kind::frontmost, {}, std::move(action)});
    return id;
}

void X11Workspace::removeObserver(WorkspaceObserverId id) { observers_.erase(id); }

}  // namespace solvara
