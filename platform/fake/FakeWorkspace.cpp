#include "platform/fake/FakeWorkspace.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/foundation/Clock.h"

namespace solvara {

std::optional<double> FakeWorkspace::secondsSinceLastEvent(InputEventKind kind) {
    if (!idleAvailable) return std::nullopt;
    if (auto it = lastInput.find(kind); it != lastInput.end()) return std::max(0.0, Clock::now() - it->second);
    return idleSeconds[kind];
}

void FakeWorkspace::setIdle(double seconds) {
    for (auto& [kind, value] : idleSeconds) value = seconds;
}

WorkspaceObserverId FakeWorkspace::add(Observer observer, const char* event) {
    if (events_ != nullptr) events_->add(event);
    WorkspaceObserverId id = nextId_++;
    observers_.emplace(id, std::move(observer));
    return id;
}

WorkspaceObserverId FakeWorkspace::observeScreenChanges(std::function<void()> action) {
    return add({Kind::screens, std::move(action), {}}, "observe screens");
}

WorkspaceObserverId FakeWorkspace::observeWake(std::function<void()> action) {
    return add({Kind::wake, std::move(action), {}}, "observe wake");
}

WorkspaceObserverId FakeWorkspace::observeFrontmostApplication(
    std::function<void(const std::optional<RunningApplication>&)> action) {
    return add({Kind::frontmost, {}, std::move(action)}, "observe frontmost");
}

void FakeWorkspace::removeObserver(WorkspaceObserverId id) {
    auto it = observers_.find(id);
    if (it == observers_.end()) return;
    if (events_ != nullptr) {
        switch (it->second.kind) {
            case Kind::screens: events_->add("unobserve screens"); break;
            case Kind::wake: events_->add("unobserve wake"); break;
            case Kind::frontmost: events_->add("unobserve frontmost"); break;
        }
    }
    observers_.erase(it);
}

std::size_t FakeWorkspace::observerCount() const { return observers_.size(); }

template <class F>
void FakeWorkspace::each(Kind kind, F&& call) {
    // Observers may remove themselves (or others) while being called.
    std::vector<WorkspaceObserverId> ids;
    for (const auto& [id, observer] : observers_) {
        if (observer.kind == kind) ids.push_back(id);
    }
    for (WorkspaceObserverId id : ids) {
        auto it = observers_.find(id);
        if (it == observers_.end()) continue;
        Observer copy = it->second;
        call(copy);
    }
}

void FakeWorkspace::postScreenChange() {
    each(Kind::screens, [](Observer& o) { o.plain(); });
}

void FakeWorkspace::postWake() {
    each(Kind::wake, [](Observer& o) { o.plain(); });
}

void FakeWorkspace::activate(std::optional<RunningApplication> application) {
    frontmost = std::move(application);
    each(Kind::frontmost, [this](Observer& o) { o.frontmost(frontmost); });
}

void FakeWorkspace::setActiveWindowFullScreen(bool fullScreen) {
    activeWindowFullScreen = fullScreen;
    each(Kind::frontmost, [this](Observer& o) { o.frontmost(frontmost); });
}

}  // namespace solvara
