#include "core/health/BreakScheduler.h"

#include <algorithm>
#include <limits>

#include "core/foundation/Clock.h"

namespace solvara {

namespace {

// Minutes and seconds come from settings; multiplying in double keeps a hostile value from
// overflowing while giving the exact product for every sane one.
Date secondsFromNow(double seconds) {
    return Clock::now() + seconds;
}

}  // namespace

void BreakScheduler::start() {
    setState(Counting{secondsFromNow(static_cast<double>(config_.intervalMinutes) * 60.0)});
}

void BreakScheduler::triggerBreak() {
    triggerBreak(Clock::now());
}

void BreakScheduler::triggerBreak(Date now) {
    setState(BreakActive{now + static_cast<double>(config_.lookAwaySeconds)});
}

void BreakScheduler::completeBreak() {
    increment(breaksCompleted_, Property::breaksCompleted);
    setPostponeCount(0);
    start();
}

void BreakScheduler::skipBreak() {
    increment(breaksSkipped_, Property::breaksSkipped);
    setPostponeCount(0);
    start();
}

void BreakScheduler::postpone(std::int64_t minutes) {
    increment(postponeCount_, Property::postponeCount);
    setState(Counting{secondsFromNow(static_cast<double>(minutes) * 60.0)});
}

void BreakScheduler::pause(PauseReason reason) {
    setState(Paused{reason});
}

void BreakScheduler::resume() {
    start();
}

void BreakScheduler::stop() {
    setState(Idle{});
}

void BreakScheduler::restoreStats(std::int64_t completed, std::int64_t skipped) {
    setBreaksCompleted(completed);
    setBreaksSkipped(skipped);
}

double BreakScheduler::complianceRatio() const {
    // In double so that restored extreme counters cannot overflow the sum.
    const double total = static_cast<double>(breaksCompleted_) + static_cast<double>(breaksSkipped_);
    if (total < 1.0) return 1.0;
    return static_cast<double>(breaksCompleted_) / total;
}

void BreakScheduler::setConfig(const BreakConfig& config) {
    config_ = config;
    notify(Property::config);
}

void BreakScheduler::setState(const BreakState& state) {
    state_ = state;
    notify(Property::state);
}

void BreakScheduler::setBreaksCompleted(std::int64_t value) {
    setCounter(breaksCompleted_, value, Property::breaksCompleted);
}

void BreakScheduler::setBreaksSkipped(std::int64_t value) {
    setCounter(breaksSkipped_, value, Property::breaksSkipped);
}

void BreakScheduler::setPostponeCount(std::int64_t value) {
    setCounter(postponeCount_, value, Property::postponeCount);
}

BreakScheduler::ObserverId BreakScheduler::addObserver(Observer observer) {
    const ObserverId id = nextObserverId_++;
    observers_.emplace_back(id, std::move(observer));
    return id;
}

void BreakScheduler::removeObserver(ObserverId id) {
    std::erase_if(observers_, [id](const auto& entry) { return entry.first == id; });
}

void BreakScheduler::setCounter(std::int64_t& counter, std::int64_t value, Property property) {
    if (counter == value) return;
    counter = value;
    notify(property);
}

void BreakScheduler::increment(std::int64_t& counter, Property property) {
    // A restored counter may already sit at the top of the range; stay there rather than wrap.
    if (counter == std::numeric_limits<std::int64_t>::max()) return;
    ++counter;
    notify(property);
}

void BreakScheduler::notify(Property property) {
    // Walk a snapshot of the ids: an observer may subscribe or unsubscribe while it is being
    // called, and one removed meanwhile (a closed view) must not be called any more.
    std::vector<ObserverId> ids;
    ids.reserve(observers_.size());
    for (const auto& entry : observers_) ids.push_back(entry.first);
    for (const ObserverId id : ids) {
        const auto it =
            std::find_if(observers_.begin(), observers_.end(), [id](const auto& entry) { return entry.first == id; });
        if (it == observers_.end() || !it->second) continue;
        const Observer observer = it->second;  // the list may reallocate during the call
        observer(property);
    }
}

}  // namespace solvara
