#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/RunLoop.h"

namespace solvara {

// A run loop on a virtual clock. Nothing fires by itself: advance() moves the clock and fires
// every timer that falls due on the way, in due order (ties in scheduling order), each with
// the clock set to its own due time; posted main-thread calls run before each firing and at the
// end. While it lives, Clock::now() answers the virtual time.
class FakeRunLoop : public RunLoop {
public:
    // 2026-01-01 00:00:00 UTC, a Thursday.
    static constexpr Date defaultStart{788918400.0};

    explicit FakeRunLoop(Date start = defaultStart);
    ~FakeRunLoop() override;

    FakeRunLoop(const FakeRunLoop&) = delete;
    FakeRunLoop& operator=(const FakeRunLoop&) = delete;

    Date now() const override;
    TimerId scheduleRepeating(double intervalSeconds, std::function<void()> action) override;
    TimerId scheduleOnce(double delaySeconds, std::function<void()> action) override;
    void cancel(TimerId id) override;
    bool isScheduled(TimerId id) const override;
    void postToMain(std::function<void()> action) override;
    MainPoster mainPoster() override;
    void runInBackground(std::function<void()> work) override;

    // Moves the clock forward by `seconds` (0 runs what is due now), firing due timers.
    void advance(double seconds);
    // Runs the posted main-thread calls (and those they post), without moving the clock.
    void runPending();
    // Runs queued background work on the calling thread (only used with inline off).
    void runBackgroundWork();

    // Background work runs at once on the calling thread by default; off queues it for
    // runBackgroundWork().
    bool runsBackgroundInline = true;

    std::size_t scheduledCount() const { return timers_.size(); }
    std::size_t repeatingCount() const;
    std::size_t pendingBackgroundCount() const;
    // Interval of a live repeating timer, 0 for a one-shot or an unknown id.
    double intervalOf(TimerId id) const;

private:
    struct Entry {
        Date due;
        double interval = 0;  // 0: one-shot
        std::uint64_t order = 0;
        std::shared_ptr<std::function<void()>> action;
    };

    // Lets a poster kept by background work outlive the loop, as on the real one.
    struct Gate {
        std::mutex mutex;
        FakeRunLoop* loop = nullptr;
    };

    TimerId schedule(double delay, double interval, std::function<void()> action);
    void drain(std::vector<std::function<void()>>& queue);

    Date now_;
    TimerId nextId_ = 1;
    std::uint64_t nextOrder_ = 1;
    std::map<TimerId, Entry> timers_;
    mutable std::mutex queueMutex_;
    std::vector<std::function<void()>> posted_;
    std::vector<std::function<void()>> background_;
    std::shared_ptr<Gate> gate_ = std::make_shared<Gate>();
};

}  // namespace solvara
