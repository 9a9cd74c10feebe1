// The one-second break tick and the break texts.

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

#include "app/state/AppState.h"
#include "core/foundation/Clock.h"
#include "core/foundation/Format.h"

namespace solvara {

namespace {

// Whole seconds of `seconds`, rounded by `round`, pinned within what the texts can show (a
// deadline centuries away must not overflow).
template <class Round>
std::int64_t wholeSeconds(double seconds, Round round) {
    constexpr double limit = 1.0e15;
    if (std::isnan(seconds)) return 0;
    return static_cast<std::int64_t>(round(std::clamp(seconds, -limit, limit)));
}

std::string twoDigits(std::int64_t value) {
    std::string text = format::integer(value);
    return value < 10 ? "0" + text : text;
}

}  // namespace

std::optional<AppState::BreakEvent> AppState::tickBreakTimer() {
    if (!breaksEnabled_) {
        setBreakCountdownText("");
        return std::nullopt;
    }
    const Date now = Clock::now();
    const auto& state = breakScheduler_.state();

    if (std::holds_alternative<BreakScheduler::Idle>(state)) {
        setBreakCountdownText("");
        return std::nullopt;
    }
    if (const auto* paused = std::get_if<BreakScheduler::Paused>(&state)) {
        setBreakCountdownText("Paused: " + std::string(paused->reason.rawValue()));
        return std::nullopt;
    }
    if (const auto* counting = std::get_if<BreakScheduler::Counting>(&state)) {
        const double left = counting->nextBreakAt - now;
        if (left > 0) {
            const std::int64_t s = wholeSeconds(left, [](double v) { return std::trunc(v); });
            setBreakCountdownText("Next break in " + format::integer(s / 60) + ":" + twoDigits(s % 60));
            return std::nullopt;
        }
        breakScheduler_.triggerBreak(now);  // one reading of the clock for the whole tick
        setShowBreakOverlay(true);
        if (const auto* active = std::get_if<BreakScheduler::BreakActive>(&breakScheduler_.state())) {
            const double remaining = active->endsAt - now;
            setBreakRemainingSeconds(std::max<std::int64_t>(0, wholeSeconds(remaining, [](double v) { return std::ceil(v); })));
        }
        setBreakCountdownText("Break now!");
        return BreakEvent::breakStarted;
    }
    const auto& active = std::get<BreakScheduler::BreakActive>(state);
    const double left = active.endsAt - now;
    if (!(left > 0)) {
        setShowBreakOverlay(false);
        breakScheduler_.completeBreak();
        setBreakCountdownText("");
        persistSettings();  // the completed count is stored
        return BreakEvent::breakEnded;
    }
    const std::int64_t r = std::max<std::int64_t>(0, wholeSeconds(left, [](double v) { return std::ceil(v); }));
    setBreakRemainingSeconds(r);
    setBreakCountdownText("Break: " + format::integer(r) + "s");
    if (!showBreakOverlay_) {
        // A break started elsewhere (a shortcut, the menu) comes on screen this way.
        setShowBreakOverlay(true);
        return BreakEvent::breakStarted;
    }
    return std::nullopt;
}

void AppState::postponeBreak() {
    setShowBreakOverlay(false);
    breakScheduler_.postpone(breakPostponeMinutes_);
}

}  // namespace solvara
