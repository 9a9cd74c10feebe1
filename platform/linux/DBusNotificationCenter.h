#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/NotificationCenter.h"

class QObject;
class QDBusPendingCallWatcher;

namespace solvara {

// Notifications through the desktop's notification service (org.freedesktop.Notifications on
// the session bus). The service's own id of the last notification per identifier is kept, so a
// new one with the same identifier replaces it on screen. Main thread only.
class DBusNotificationCenter : public NotificationCenter {
public:
    explicit DBusNotificationCenter(std::string applicationName = "Solvara");
    ~DBusNotificationCenter() override;

    void requestAuthorization(std::function<void(bool granted)> completion) override;
    void add(const LocalNotification& notification) override;

private:
    bool serviceAvailable();

    std::string applicationName_;
    std::unique_ptr<QObject> context_;
    std::map<std::string, unsigned int> shownIds_;
    std::map<QDBusPendingCallWatcher*, std::unique_ptr<QDBusPendingCallWatcher>> pending_;
    bool reportedUnavailable_ = false;
};

}  // namespace solvara
