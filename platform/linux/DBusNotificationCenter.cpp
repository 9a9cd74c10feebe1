#include "platform/linux/DBusNotificationCenter.h"

#include <utility>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QMetaObject>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include "core/foundation/Log.h"

namespace solvara {
namespace {

constexpr std::string_view component = "Notifications";
const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString path = QStringLiteral("/org/freedesktop/Notifications");

}  // namespace

DBusNotificationCenter::DBusNotificationCenter(std::string applicationName)
    : applicationName_(std::move(applicationName)), context_(std::make_unique<QObject>()) {}

DBusNotificationCenter::~DBusNotificationCenter() = default;

bool DBusNotificationCenter::serviceAvailable() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    bool available = false;
    if (bus.isConnected() && bus.interface() != nullptr) {
        // A service that is not running yet but can be started by the bus counts too.
        available = bus.interface()->isServiceRegistered(service).value();
        if (!available) {
            QDBusReply<QStringList> activatable = bus.interface()->call(QStringLiteral("ListActivatableNames"));
            available = activatable.isValid() && activatable.value().contains(service);
        }
    }
    if (!available && !reportedUnavailable_) {
        reportedUnavailable_ = true;
        Log::write(component, bus.isConnected() ? "No notification service on the session bus: notifications are not shown"
                                                : "No session bus: notifications are not shown");
    }
    if (available) reportedUnavailable_ = false;
    return available;
}

void DBusNotificationCenter::requestAuthorization(std::function<void(bool granted)> completion) {
    const bool granted = serviceAvailable();
    QMetaObject::invokeMethod(
        context_.get(), [completion = std::move(completion), granted] { if (completion) completion(granted); },
        Qt::QueuedConnection);
}

void DBusNotificationCenter::add(const LocalNotification& notification) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        Log::write(component, "No session bus: " + notification.identifier + " not shown");
        return;
    }
    unsigned int replaces = 0;
    if (auto it = shownIds_.find(notification.identifier); it != shownIds_.end()) replaces = it->second;

    QDBusMessage call = QDBusMessage::createMethodCall(service, path, service, QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("solvara"));
    call << QString::fromStdString(applicationName_) << replaces << QString() << QString::fromStdString(notification.title)
         << QString::fromStdString(notification.body) << QStringList() << hints << -1;

    auto owned = std::make_unique<QDBusPendingCallWatcher>(bus.asyncCall(call));
    QDBusPendingCallWatcher* watcher = owned.get();
    pending_.emplace(watcher, std::move(owned));
    const std::string identifier = notification.identifier;
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context_.get(),
                     [this, identifier](QDBusPendingCallWatcher* finished) {
                         QDBusPendingReply<unsigned int> reply = *finished;
                         if (reply.isError()) {
                             Log::write(component, "The notification service refused " + identifier + ": " +
                                                       reply.error().message().toStdString());
                         } else {
                             shownIds_[identifier] = reply.value();
                         }
                         // Deleted once its signal has returned, not inside it.
                         if (auto node = pending_.extract(finished)) node.mapped().release()->deleteLater();
                     });
}

}  // namespace solvara
