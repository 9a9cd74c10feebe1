#include "platform/linux/LogindSleepWatcher.h"

#include <utility>

#include <QDBusConnection>

namespace solvara {

LogindSleepWatcher::LogindSleepWatcher(std::function<void()> onWake) : onWake_(std::move(onWake)) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) return;
    watching_ = bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                            SLOT(prepareForSleep(bool)));
}

void LogindSleepWatcher::prepareForSleep(bool goingToSleep) {
    if (!goingToSleep && onWake_) onWake_();
}

}  // namespace solvara
