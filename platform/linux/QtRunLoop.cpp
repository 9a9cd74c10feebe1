#include "platform/linux/QtRunLoop.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <mutex>

#include <QMetaObject>
#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include "core/foundation/Clock.h"

namespace solvara {

namespace {

int milliseconds(double seconds) {
    if (!(seconds > 0.0)) return 0;
    const double ms = std::ceil(seconds * 1000.0);
    return static_cast<int>(std::min(ms, 2.0e9));
}

// A timer cancelled from inside its own timeout must not be deleted under Qt's feet.
void deleteLater(QTimer* timer) {
    timer->stop();
    timer->deleteLater();
}

// Qt hands a call from thread to thread through its own queue, whose lock ThreadSanitizer
// cannot see (Qt is not built with it). So the calls themselves travel through a queue of ours
// under this mutex, the language's kind of handover that the sanitizer follows too, and Qt's
// queue only carries the wake-up. Never destroyed: workers abandoned at exit may still use it.
std::mutex& handoverMutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
}

// Calls posted to the main thread, oldest first; guarded by handoverMutex().
std::deque<std::function<void()>>& postedCalls() {
    static auto* calls = new std::deque<std::function<void()>>;
    return *calls;
}

// On the main thread: runs every call posted so far (a later wake-up finds none left).
void runPostedCalls() {
    std::deque<std::function<void()>> calls;
    {
        std::lock_guard lock(handoverMutex());
        calls.swap(postedCalls());
    }
    for (auto& call : calls) call();
}

// Work for the pool: the receiving thread passes the mutex the sender held while queuing.
std::function<void()> handedOver(std::function<void()> call) {
    return [call = std::move(call)] {
        { std::lock_guard received(handoverMutex()); }
        call();
    };
}

}  // namespace

QtRunLoop::QtRunLoop()
    : context_(std::make_unique<QObject>()), gate_(std::make_shared<Gate>()), pool_(std::make_unique<QThreadPool>()) {
    gate_->context = context_.get();
}

QtRunLoop::~QtRunLoop() {
    {
        std::lock_guard lock(gate_->mutex);
        gate_->context = nullptr;
    }
    // Calls still queued for this loop are dropped now, with what they hold, rather than left
    // waiting for another loop's wake-up (calls for other loops run early, in order).
    runPostedCalls();
    timers_.clear();
    // Work still running at exit is abandoned rather than waited for (a stuck child process
    // must not hold up quitting): the pool is left to the process's end.
    if (pool_->activeThreadCount() > 0) {
        pool_->clear();
        static_cast<void>(pool_.release());
    }
}

Date QtRunLoop::now() const {
    return Clock::now();
}

TimerId QtRunLoop::scheduleRepeating(double intervalSeconds, std::function<void()> action) {
    return schedule(std::max(intervalSeconds, 0.001), true, std::move(action));
}

TimerId QtRunLoop::scheduleOnce(double delaySeconds, std::function<void()> action) {
    return schedule(delaySeconds, false, std::move(action));
}

TimerId QtRunLoop::schedule(double seconds, bool repeating, std::function<void()> action) {
    const TimerId id = nextId_++;
    auto owned = std::make_unique<QTimer>(context_.get());
    Entry entry{std::unique_ptr<QTimer, void (*)(QTimer*)>(owned.release(), &deleteLater),
                std::make_shared<std::function<void()>>(std::move(action))};
    QTimer* timer = entry.timer.get();
    timer->setSingleShot(!repeating);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(milliseconds(seconds));
    QObject::connect(timer, &QTimer::timeout, context_.get(), [this, id] { fire(id); });
    timers_.emplace(id, std::move(entry));
    timer->start();
    return id;
}

void QtRunLoop::fire(TimerId id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    // Holding the action keeps it alive if it cancels its own timer.
    std::shared_ptr<std::function<void()>> action = it->second.action;
    if (it->second.timer->isSingleShot()) timers_.erase(it);
    (*action)();
}

void QtRunLoop::cancel(TimerId id) {
    timers_.erase(id);
}

bool QtRunLoop::isScheduled(TimerId id) const {
    return timers_.count(id) > 0;
}

void QtRunLoop::Gate::post(std::function<void()> action) {
    std::lock_guard lock(mutex);
    if (!context) return;
    std::lock_guard queuing(handoverMutex());
    // The context is cleared on the main thread, where the call runs: no lock needed there.
    postedCalls().push_back([gate = shared_from_this(), action = std::move(action)] {
        if (gate->context) action();
    });
    QMetaObject::invokeMethod(
        context, [] { runPostedCalls(); }, Qt::QueuedConnection);
}

void QtRunLoop::postToMain(std::function<void()> action) {
    gate_->post(std::move(action));
}

RunLoop::MainPoster QtRunLoop::mainPoster() {
    return [gate = gate_](std::function<void()> action) { gate->post(std::move(action)); };
}

void QtRunLoop::runInBackground(std::function<void()> work) {
    std::lock_guard handingOver(handoverMutex());
    pool_->start(handedOver(std::move(work)));
}

}  // namespace solvara
