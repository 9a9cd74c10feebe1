#pragma once

#include <functional>
#include <memory>

#include <QObject>

#include "platform/TrayHosts.h"

class QDBusServiceWatcher;

namespace solvara {

class XEventConnection;

// The tray hosts of an X11 session. The StatusNotifierWatcher is followed on the session bus
// through the owner of its name and its host signals; the XEmbed tray through XFixes selection
// events on an X connection of our own (Qt's is left alone). Nothing is opened or watched
// before the first question or watch(), and the watching ends with watch({}).
class LinuxTrayHosts : public QObject, public TrayHosts {
    Q_OBJECT

public:
    LinuxTrayHosts();
    ~LinuxTrayHosts() override;

    bool statusNotifierHost() override;
    bool statusNotifierWatcher() override;
    bool xembedTray() override;
    void watch(std::function<void()> changed) override;

private slots:
    // The watcher's StatusNotifierHostRegistered and StatusNotifierHostUnregistered.
    void hostSignal();

private:
    bool openX();
    void startWatching();
    void stopWatching();
    // Several events of one change (a name owner and a host signal, a selection's old and new
    // owner) give one call, on a later turn of the event loop.
    void schedule();

    std::function<void()> changed_;
    bool watching_ = false;
    bool pending_ = false;
    // A question the watcher left unanswered is asked again.
    bool retryPending_ = false;
    int retryDelayMs_ = 1000;
    QDBusServiceWatcher* busWatcher_ = nullptr;
    std::unique_ptr<XEventConnection> x_;
    unsigned long traySelection_ = 0;
    int fixesEventBase_ = -1;
};

}  // namespace solvara
