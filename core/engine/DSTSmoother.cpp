#include "core/engine/DSTSmoother.h"

#include <cmath>
#include <cstdlib>

#include "core/foundation/Calendar.h"
#include "core/foundation/Clock.h"
#include "core/foundation/Format.h"

namespace solvara {

DSTSmoother::DSTSmoother(int transitionDays) : transitionDays_(transitionDays) {}

// Whole calendar days since the jump; negative when the clock was set back before it.
std::int64_t DSTSmoother::elapsedDays() const {
    return transitionDate_ ? Calendar::daysBetween(*transitionDate_, Clock::now()) : 0;
}

// A non-positive transition length never smooths (it would divide by zero below). A negative
// day count still runs, so a clock set back keeps the transition, larger than an hour.
bool DSTSmoother::isRunning(std::int64_t elapsed) const {
    return transitionDate_ && direction_ != 0 && transitionDays_ > 0 && elapsed < transitionDays_;
}

void DSTSmoother::checkForDSTChange() {
    const Date now = Clock::now();
    const int offset = Calendar::secondsFromGMT(now);
    if (lastKnownUTCOffset && *lastKnownUTCOffset != offset) {
        const std::int64_t delta = static_cast<std::int64_t>(offset) - *lastKnownUTCOffset;
        // A half-hour zone change or a move across several zones is not smoothed.
        if (std::llabs(delta) >= 3000 && std::llabs(delta) <= 7200) {
            direction_ = delta < 0 ? -1 : 1;
            transitionDate_ = now;
        }
    }
    lastKnownUTCOffset = offset;
}

std::int64_t DSTSmoother::currentOffsetMinutes() const {
    if (!transitionDate_ || direction_ == 0) return 0;
    const std::int64_t days = elapsedDays();
    if (!isRunning(days)) return 0;
    // Integer steps: 60, 45, 30, 15 with four days; day -1 gives 75.
    return -direction_ * (60 - (days * 60) / transitionDays_);
}

bool DSTSmoother::isSmoothing() const {
    return isRunning(elapsedDays());
}

std::optional<std::string> DSTSmoother::statusMessage() const {
    const std::int64_t days = elapsedDays();
    if (!isRunning(days)) return std::nullopt;
    const std::int64_t remaining = transitionDays_ - days;
    std::string text = "Smoothing DST ";
    text += direction_ > 0 ? "spring forward" : "fall back";
    text += " — ";
    text += format::integer(remaining);
    text += remaining == 1 ? " day" : " days";
    text += " remaining";
    return text;
}

DSTSmoother::PersistableState DSTSmoother::persistableState() const {
    return PersistableState{transitionDate_ ? transitionDate_->unixTime() : 0.0, direction_,
                            lastKnownUTCOffset.value_or(Calendar::secondsFromGMT(Clock::now()))};
}

void DSTSmoother::restore(double transitionTimestamp, int direction, int lastOffset) {
    if (std::isfinite(transitionTimestamp) && transitionTimestamp > 0) {
        transitionDate_ = Date::fromUnixTime(transitionTimestamp);
    }
    direction_ = (direction > 0) - (direction < 0);
    lastKnownUTCOffset = lastOffset;
}

}  // namespace solvara
