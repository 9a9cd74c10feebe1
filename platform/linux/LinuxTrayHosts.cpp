#include "platform/linux/LinuxTrayHosts.h"

#include <algorithm>
#include <array>
#include <string>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
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
// Asked on the main thread, at start and after each change of the watcher: a watcher that is
// busy at login must not hold the UI for D-Bus's own 25 s.
constexpr int askTimeoutMs = 1000;
constexpr int maxRetryDelayMs = 32000;
constexpr std::array<const char*, 2> hostSignals{"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"};

}  // namespace

LinuxTrayHosts::LinuxTrayHosts() = default;

LinuxTrayHosts::~LinuxTrayHosts() = default;

bool LinuxTrayHosts::statusNotifierHost() {
    if (!statusNotifierWatcher()) return false;
    // The answer Qt gets when it first chooses between StatusNotifierItem and XEmbed: the
    // watcher's IsStatusNotifierHostRegistered, taken only when it is a boolean. Qt reads it
    // through a QDBusInterface, which introspects the watcher first; every watcher we know lists
    // the property there, so a plain Get spares that round trip.
    QDBusMessage get = QDBusMessage::createMethodCall(
        watcherService, watcherPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << watcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = QDBusConnection::sessionBus().call(get, QDBus::Block, askTimeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage && watching_ && !retryPending_) {
        const QDBusError::ErrorType error = QDBusError(reply).type();
        if (error == QDBusError::NoReply || error == QDBusError::Timeout) {
            // A watcher too busy to answer now may have its host already and send no more news:
            // ask again in a while rather than wait for news, less often while it stays silent.
            retryPending_ = true;
            retryDelayMs_ = std::min(retryDelayMs_ * 2, maxRetryDelayMs);
            QTimer::singleShot(retryDelayMs_, this, [this] {
                retryPending_ = false;
                if (watching_) schedule();
            });
        }
    }
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) return false;
    retryDelayMs_ = askTimeoutMs;
    const QVariant value = reply.arguments().constFirst().value<QDBusVariant>().variant();
    return value.metaType() == QMetaType::fromType<bool>() && value.toBool();
}

bool LinuxTrayHosts::statusNotifierWatcher() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr) return false;
    // Answered by the bus daemon, not by the watcher.
    return bus.interface()->isServiceRegistered(watcherService).value();
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
