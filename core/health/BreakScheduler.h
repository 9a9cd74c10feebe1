#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "core/foundation/Date.h"
#include "core/foundation/EnumTable.h"

namespace solvara {

// The 20-20-20 eye-break rhythm: the rule in force, where the rhythm stands and the day's
// counters. It owns no timer: every transition is a call, and the deadlines it stores are
// absolute moments that the driver compares with the clock (the application does it every
// second, calling triggerBreak() once a counting deadline passes and completeBreak() once a
// break's end passes). Main thread only.
//
// Observation: the five properties report their changes to observers. Assigning a counter the
// value it already holds reports nothing; every assignment of config or state is reported,
// equal or not; an increment is one change. A view showing complianceRatio() listens to both
// breaksCompleted and breaksSkipped.
class BreakScheduler {
public:
    struct BreakConfig {
        std::int64_t intervalMinutes = 20;
        std::int64_t lookAwaySeconds = 20;
        std::int64_t lookAwayDistanceFeet = 20;  // shown to the user only
        bool enabled = true;                     // read by the callers, never by the scheduler

        bool operator==(const BreakConfig&) const = default;
    };

    // Why counting is suspended; the raw value is the text shown to the user.
    class PauseReason {
    public:
        enum Value : std::uint8_t { videoCall, screenRecording, fullScreenApp, userPaused, presentation };

        // Implicit both ways, so that a case stands for the type and switch and == work on it.
        constexpr PauseReason(Value value) : value_(value) {}
        constexpr operator Value() const { return value_; }

        constexpr std::string_view rawValue() const { return rawValueIn(table, value_); }
        static constexpr std::optional<PauseReason> fromRawValue(std::string_view raw);

    private:
        static constexpr std::array<EnumEntry<Value>, 5> table{{
            {videoCall, "Video call detected"},
            {screenRecording, "Screen recording active"},
            {fullScreenApp, "Full-screen app active"},
            {userPaused, "Paused by user"},
            {presentation, "Presentation mode"},
        }};

        Value value_;
    };

    // The cases of the break state.
    struct Counting {
        Date nextBreakAt;
        bool operator==(const Counting&) const = default;
    };
    struct BreakActive {
        Date endsAt;
        bool operator==(const BreakActive&) const = default;
    };
    struct Paused {
        PauseReason reason;
        bool operator==(const Paused& other) const { return reason == other.reason; }
    };
    struct Idle {
        bool operator==(const Idle&) const = default;
    };
    using BreakState = std::variant<Counting, BreakActive, Paused, Idle>;

    enum class Property { config, state, breaksCompleted, breaksSkipped, postponeCount };
    using Observer = std::function<void(Property)>;
    using ObserverId = std::uint64_t;

    BreakScheduler() = default;
    BreakScheduler(const BreakScheduler&) = delete;
    BreakScheduler& operator=(const BreakScheduler&) = delete;

    // Counting towards a break one full interval from now, whatever the state and whether or
    // not breaks are enabled.
    void start();
    // A break of config's look-away length from now, whatever the state.
    void triggerBreak();
    // The same from `now`, for a caller that read the clock already: a second reading would
    // lengthen the break it shows by the time between the two.
    void triggerBreak(Date now);
    void completeBreak();
    void skipBreak();
    // Counting again, due `minutes` from now; neither the count nor the calls are limited.
    void postpone(std::int64_t minutes);
    void pause(PauseReason reason);
    // A fresh full interval from now: the time left before the pause is not kept.
    void resume();
    void stop();
    void restoreStats(std::int64_t completed, std::int64_t skipped);

    // Completed over completed + skipped; 1.0 while no break has been completed or skipped.
    double complianceRatio() const;

    const BreakConfig& config() const { return config_; }
    const BreakState& state() const { return state_; }
    std::int64_t breaksCompleted() const { return breaksCompleted_; }
    std::int64_t breaksSkipped() const { return breaksSkipped_; }
    std::int64_t postponeCount() const { return postponeCount_; }

    void setConfig(const BreakConfig& config);
    void setState(const BreakState& state);
    void setBreaksCompleted(std::int64_t value);
    void setBreaksSkipped(std::int64_t value);
    void setPostponeCount(std::int64_t value);

    // Observers are called synchronously after each reported change, in the order they were
    // added; an observer may add or remove observers while being called.
    ObserverId addObserver(Observer observer);
    void removeObserver(ObserverId id);

private:
    void setCounter(std::int64_t& counter, std::int64_t value, Property property);
    void increment(std::int64_t& counter, Property property);
    void notify(Property property);

    BreakConfig config_;
    BreakState state_ = Idle{};
    std::int64_t breaksCompleted_ = 0;
    std::int64_t breaksSkipped_ = 0;
    std::int64_t postponeCount_ = 0;

    std::vector<std::pair<ObserverId, Observer>> observers_;
    ObserverId nextObserverId_ = 1;
};

constexpr std::optional<BreakScheduler::PauseReason> BreakScheduler::PauseReason::fromRawValue(std::string_view raw) {
    if (auto value = fromRawValueIn(table, raw)) return PauseReason(*value);
    return std::nullopt;
}

}  // namespace solvara
