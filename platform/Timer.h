#pragma once

#include <functional>
#include <utility>

#include "platform/RunLoop.h"

namespace solvara {

// One owned timer on a RunLoop: destroying or resetting the handle cancels it, so an owner's
// timer can never fire into an owner that is gone. Movable, not copyable.
class Timer {
public:
    Timer() = default;
    ~Timer() { invalidate(); }

    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    Timer(Timer&& other) noexcept : loop_(std::exchange(other.loop_, nullptr)), id_(std::exchange(other.id_, 0)) {}
    Timer& operator=(Timer&& other) noexcept {
        if (this != &other) {
            invalidate();
            loop_ = std::exchange(other.loop_, nullptr);
            id_ = std::exchange(other.id_, 0);
        }
        return *this;
    }

    static Timer repeating(RunLoop& loop, double intervalSeconds, std::function<void()> action) {
        return Timer(loop, loop.scheduleRepeating(intervalSeconds, std::move(action)));
    }
    static Timer once(RunLoop& loop, double delaySeconds, std::function<void()> action) {
        return Timer(loop, loop.scheduleOnce(delaySeconds, std::move(action)));
    }

    // True while a timer is held (a fired one-shot still counts until reset or invalidated).
    explicit operator bool() const { return loop_ != nullptr; }
    // True while the held timer is still due to fire.
    bool isValid() const { return loop_ != nullptr && loop_->isScheduled(id_); }

    void invalidate() {
        if (loop_ != nullptr) loop_->cancel(id_);
        loop_ = nullptr;
        id_ = 0;
    }

private:
    Timer(RunLoop& loop, TimerId id) : loop_(&loop), id_(id) {}

    RunLoop* loop_ = nullptr;
    TimerId id_ = 0;
};

}  // namespace solvara
