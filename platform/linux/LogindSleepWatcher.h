#pragma once

#include <functional>

#include <QObject>

namespace solvara {

// Listens to logind's PrepareForSleep signal on the system bus and reports the way back from
// sleep (the signal with false). Main thread only.
class LogindSleepWatcher : public QObject {
    Q_OBJECT

public:
    explicit LogindSleepWatcher(std::function<void()> onWake);

    // False when there is no system bus or logind's signal cannot be subscribed to.
    bool isWatching() const { return watching_; }

private slots:
    void prepareForSleep(bool goingToSleep);

private:
    std::function<void()> onWake_;
    bool watching_ = false;
};

}  // namespace solvara
