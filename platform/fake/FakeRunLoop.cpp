#include "platform/fake/FakeRunLoop.h"

#include <algorithm>
#include <utility>

#include "core/foundation/Clock.h"

namespace solvara {

FakeRunLoop::FakeRunLoop(Date start) : now_(start) {
    gate_->loop = this;
    Clock::setSourceForTesting([this] { return now_; });
}

FakeRunLoop::~FakeRunLoop() {
    {
        std::lock_guard lock(gate_->mutex);
        gate_->loop = nullptr;
    }
    Clock::resetForTesting();
}

Date FakeRunLoop::now() const {
    return now_;
}

TimerId FakeRunLoop::schedule(double delay, double interval, std::function<void()> action) {
    TimerId id = nextId_++;
    timers_[id] = Entry{now_ + std::max(delay, 0.0), interval, nextOrder_++,
                        std::make_shared<std::function<void()>>(std::move(action))};
    return id;
}

TimerId FakeRunLoop::scheduleRepeating(double intervalSeconds, std::function<void()> action) {
    double interval = std::max(intervalSeconds, 0.001);
    return schedule(interval, interval, std::move(action));
}

TimerId FakeRunLoop::scheduleOnce(double delaySeconds, std::function<void()> action) {
    return schedule(delaySeconds, 0, std::move(action));
}

void FakeRunLoop::cancel(TimerId id) {
    timers_.erase(id);
}

bool FakeRunLoop::isScheduled(TimerId id) const {
    return timers_.count(id) != 0;
}

void FakeRunLoop::postToMain(std::function<void()> action) {
    std::lock_guard lock(queueMutex_);
    posted_.push_back(std::move(action));
}

RunLoop::MainPoster FakeRunLoop::mainPoster() {
    return [gate = gate_](std::function<void()> action) {
        std::lock_guard lock(gate->mutex);
        if (gate->loop) gate->loop->postToMain(std::move(action));
    };
}

void FakeRunLoop::runInBackground(std::function<void()> work) {
    if (runsBackgroundInline) {
        work();
        return;
    }
    std::lock_guard lock(queueMutex_);
    background_.push_back(std::move(work));
}

// Runs the queue until it stays empty: calls may queue more.
void FakeRunLoop::drain(std::vector<std::function<void()>>& queue) {
    for (;;) {
        std::vector<std::function<void()>> batch;
        {
            std::lock_guard lock(queueMutex_);
            batch.swap(queue);
        }
        if (batch.empty()) return;
        for (auto& call : batch) call();
    }
}

void FakeRunLoop::runPending() {
    drain(posted_);
}

void FakeRunLoop::runBackgroundWork() {
    drain(background_);
}

void FakeRunLoop::advance(double seconds) {
    const Date end = now_ + std::max(seconds, 0.0);
    runPending();
    for (;;) {
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            if (it->second.due > end) continue;
            if (next == timers_.end() || it->second.due < next->second.due ||
                (it->second.due == next->second.due && it->second.order < next->second.order)) {
                next = it;
            }
        }
        if (next == timers_.end()) break;
        now_ = std::max(now_, next->second.due);
        auto action = next->second.action;  // the action may cancel its own timer
        if (next->second.interval > 0) {
            next->second.due = next->second.due + next->second.interval;
            next->second.order = nextOrder_++;
        } else {
            timers_.erase(next);
        }
        (*action)();
        runPending();
    }
    now_ = std::max(now_, end);
}

std::size_t FakeRunLoop::repeatingCount() const {
    return static_cast<std::size_t>(
        std::count_if(timers_.begin(), timers_.end(), [](const auto& t) { return t.second.interval > 0; }));
}

std::size_t FakeRunLoop::pendingBackgroundCount() const {
    std::lock_guard lock(queueMutex_);
    return background_.size();
}

double FakeRunLoop::intervalOf(TimerId id) const {
    auto it = timers_.find(id);
    return it == timers_.end() ? 0.0 : it->second.interval;
}

}  // namespace solvara
