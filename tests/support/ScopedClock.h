#pragma once

#include "core/foundation/Clock.h"

namespace solvara::testing {

// Fixes Clock::now() for one scope; set() moves it.
class ScopedClock {
public:
    explicit ScopedClock(Date start) : now_(start) {
        Clock::setSourceForTesting([this] { return now_; });
    }
    ~ScopedClock() { Clock::resetForTesting(); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

    void set(Date date) { now_ = date; }
    void advance(double seconds) { now_ = now_ + seconds; }
    Date now() const { return now_; }

private:
    Date now_;
};

}  // namespace solvara::testing
