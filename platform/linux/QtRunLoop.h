#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>

#include "platform/RunLoop.h"

class QObject;
class QThreadPool;
class QTimer;

namespace solvara {

// The run loop of the Qt application on the main thread: timers are QTimers, calls from other
// threads are queued to a context object with QMetaObject::invokeMethod, background work runs
// on a thread pool of its own. Construct it on the main thread after the QCoreApplication.
class QtRunLoop : public RunLoop {
public:
    QtRunLoop();
    ~QtRunLoop() override;
    QtRunLoop(const QtRunLoop&) = delete;
    QtRunLoop& operator=(const QtRunLoop&) = delete;

    Date now() const override;
    TimerId scheduleRepeating(double intervalSeconds, std::function<void()> action) override;
    TimerId scheduleOnce(double delaySeconds, std::function<void()> action) override;
    void cancel(TimerId id) override;
    bool isScheduled(TimerId id) const override;
    void postToMain(std::function<void()> action) override;
    MainPoster mainPoster() override;
    void runInBackground(std::function<void()> work) override;

private:
    // What posting needs, shared with every poster a worker keeps: the loop closes it when it
    // goes, and posting through a closed gate does nothing.
    struct Gate : std::enable_shared_from_this<Gate> {
        std::mutex mutex;
        QObject* context = nullptr;

        void post(std::function<void()> action);
    };
    struct Entry {
        std::unique_ptr<QTimer, void (*)(QTimer*)> timer;
        std::shared_ptr<std::function<void()>> action;
    };

    TimerId schedule(double seconds, bool repeating, std::function<void()> action);
    void fire(TimerId id);

    std::unique_ptr<QObject> context_;
    std::shared_ptr<Gate> gate_;
    std::unique_ptr<QThreadPool> pool_;
    std::map<TimerId, Entry> timers_;
    TimerId nextId_ = 1;
};

}  // namespace solvara
