#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/foundation/Date.h"

namespace solvara {

// Eases the user's schedule across a daylight-saving switch: after the local GMT offset jumps
// by about an hour, yields the minutes by which to shift wake and sleep times, the full hour
// against the jump on the day of the switch, shrinking in equal daily steps to nothing over
// `transitionDays`. Reads Clock::now() and the current time zone on every call; no lock.
class DSTSmoother {
public:
    // The three values the settings store keeps.
    struct PersistableState {
        double transitionTimestamp = 0.0;  // seconds since 1970; 0 when no jump is known
        int direction = 0;                 // +1 spring forward, -1 fall back, 0 none
        int lastOffset = 0;                // seconds east of GMT
    };

    explicit DSTSmoother(int transitionDays);

    int transitionDays() const { return transitionDays_; }
    std::optional<Date> transitionDate() const { return transitionDate_; }
    int direction() const { return direction_; }

    // Starts a transition when the offset moved by 3000 to 7200 seconds since the last check;
    // the first check only remembers the offset.
    void checkForDSTChange();

    // Minutes to add to the wake and sleep times now.
    std::int64_t currentOffsetMinutes() const;
    bool isSmoothing() const;
    // "Smoothing DST spring forward — 4 days remaining" while smoothing, else empty.
    std::optional<std::string> statusMessage() const;

    PersistableState persistableState() const;
    // A timestamp that is not a positive finite number keeps the current transition date;
    // only the sign of `direction` is kept.
    void restore(double transitionTimestamp, int direction, int lastOffset);

private:
    std::int64_t elapsedDays() const;
    bool isRunning(std::int64_t elapsed) const;

    int transitionDays_;
    std::optional<Date> transitionDate_;
    int direction_ = 0;
    std::optional<int> lastKnownUTCOffset;
};

}  // namespace solvara
