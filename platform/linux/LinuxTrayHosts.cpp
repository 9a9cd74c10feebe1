#include "platform/linux/LinuxTrayHosts.h"

#include <array>
#include <string>

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusServiceWatcher>
#include <QTimer>

#include "platform/linux/XEventConnection.h"
// After Qt: Xlib's macros break Qt's headers.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include "platform/linux/XErrorTrap.h"

namespace solvara {

namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");
constexpr std::array<const char*, 2> hostSignals{"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"};

}  // namespace

LinuxTrayHosts::LinuxTrayHosts() = default;

LinuxTrayHosts::~LinuxTrayHosts() = default;

bool LinuxTrayHosts::statusNotifierHost() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    // Asked the way Qt asks when it first chooses between StatusNotifierItem and XEmbed (through
    // a QDBusInterface, which reads the property only when the watcher's introspection lists
    // it): a host that Qt would turn down is not taken for one here.
    QDBusInterface watcher(watcherService, watcherPath, watcherService, bus);
    return watcher.isValid() && watcher.property("IsStatusNotifierHostRegistered").toBool();
}

bool LinuxTrayHosts::xembedTray() {
    if (!openX()) return false;
    Display* display = x_->display();
    x11::XErrorTrap trap(display);
    return XGetSelectionOwner(display, traySelection_) != None;
}

void LinuxTrayHosts::watch(std::function<void()> changed) {
    changed_ = std::move(changed);
    if (changed_ && !watching_) startWatching();
    if (!changed_ && watching_) stopWatching();
}

bool LinuxTrayHosts::openX() {
    if (!x_) {
        x_ = std::make_unique<XEventConnection>();
        if (!x_->isOpen()) return false;
        Display* display = x_->display();
        const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display));
        traySelection_ = XInternAtom(display, selection.c_str(), False);
    }
    return x_->isOpen();
}

void LinuxTrayHosts::startWatching() {
    watching_ = true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        busWatcher_ = new QDBusServiceWatcher(watcherService, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(busWatcher_, &QDBusServiceWatcher::serviceOwnerChanged, this, [this] { schedule(); });
        for (const char* signal : hostSignals) {
            bus.connect(watcherService, watcherPath, watcherService, signal, this, SLOT(hostSignal()));
        }
    }
    if (!openX()) return;
    Display* display = x_->display();
    x11::XErrorTrap trap(display);
    int errorBase = 0;
    if (!XFixesQueryExtension(display, &fixesEventBase_, &errorBase)) return;
    int major = 0;
    int minor = 0;
    XFixesQueryVersion(display, &major, &minor);
    XFixesSelectSelectionInput(display, x_->root(), traySelection_,
                               XFixesSetSelectionOwnerNotifyMask | XFixesSelectionWindowDestroyNotifyMask |
                                   XFixesSelectionClientCloseNotifyMask);
    x_->setHandler([this](XEvent& event) {
        if (event.type == fixesEventBase_ + XFixesSelectionNotify) schedule();
    });
}

void LinuxTrayHosts::stopWatching() {
    watching_ = false;
    delete busWatcher_;
    busWatcher_ = nullptr;
    QDBusConnection bus = QDBusConnection::sessionBus();
    for (const char* signal : hostSignals) {
        bus.disconnect(watcherService, watcherPath, watcherService, signal, this, SLOT(hostSignal()));
    }
    // The X connection goes too; a later question opens one again.
    x_.reset();
    fixesEventBase_ = -1;
}

void LinuxTrayHosts::hostSignal() {
    schedule();
}

void LinuxTrayHosts::schedule() {
    if (pending_) return;
    pending_ = true;
    QTimer::singleShot(0, this, [this] {
        pending_ = false;
        // A copy: the call may stop the news, which replaces changed_ while it runs.
        const std::function<void()> changed = changed_;
        if (changed) changed();
    });
}

}  // namespace solvara
