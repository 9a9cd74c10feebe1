#include "platform/linux/QtRunLoop.h"

#include <algorithm>
#include <cmath>

#include <QCoreApplication>
#include <QEvent>
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

QEvent::Type wakeEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

// The loop's context object, which also runs the posted calls when woken. The wake-up is the
// only custom event it gets; Qt sorts it out from the rest, so our code never reads an event
// that another thread made.
class Context : public QObject {
public:
    explicit Context(std::function<void()> runPending) : runPending_(std::move(runPending)) {}

protected:
    void customEvent(QEvent*) override { runPending_(); }

private:
    std::function<void()> runPending_;
};

}  // namespace

QtRunLoop::QtRunLoop() : gate_(std::make_shared<Gate>()), pool_(std::make_unique<QThreadPool>()) {
    context_ = std::make_unique<Context>([gate = gate_.get()] { gate->runPending(); });
    gate_->context = context_.get();
}

QtRunLoop::~QtRunLoop() {
    std::vector<std::function<void()>> abandoned;
    {
        std::lock_guard lock(gate_->mutex);
        gate_->context = nullptr;
        abandoned.swap(gate_->pending);
    }
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
    // One wake-up per batch: the calls posted before it runs go with it, in order.
    const bool wake = pending.empty();
    pending.push_back(std::move(action));
    if (wake) QCoreApplication::postEvent(context, new QEvent(wakeEventType()));
}

void QtRunLoop::Gate::runPending() {
    std::vector<std::function<void()>> actions;
    {
        std::lock_guard lock(mutex);
        actions.swap(pending);
    }
    // Calls these post are queued behind them and run at the next wake-up.
    for (auto& action : actions) action();
}

void QtRunLoop::postToMain(std::function<void()> action) {
    gate_->post(std::move(action));
}

RunLoop::MainPoster QtRunLoop::mainPoster() {
    return [gate = gate_](std::function<void()> action) { gate->post(std::move(action)); };
}

void QtRunLoop::runInBackground(std::function<void()> work) {
    pool_->start(std::move(work));
}

}  // namespace solvara
