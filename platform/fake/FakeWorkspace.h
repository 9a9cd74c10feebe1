#pragma once

#include <functional>
#include <map>
#include <optional>

#include "core/foundation/Date.h"
#include "platform/Workspace.h"
#include "platform/fake/FakeEventLog.h"

namespace solvara {

// A scripted desktop session: tests set the frontmost application, the full-screen flag and the
// idle times, and post the notifications themselves.
class FakeWorkspace : public Workspace {
public:
    explicit FakeWorkspace(FakeEventLog* events = nullptr) : events_(events) {}

    std::optional<RunningApplication> frontmostApplication() override { return frontmost; }
    bool isActiveWindowFullScreen() override { return activeWindowFullScreen; }
    std::optional<double> secondsSinceLastEvent(InputEventKind kind) override;

    WorkspaceObserverId observeScreenChanges(std::function<void()> action) override;
    WorkspaceObserverId observeWake(std::function<void()> action) override;
    WorkspaceObserverId observeFrontmostApplication(
        std::function<void(const std::optional<RunningApplication>&)> action) override;
    void removeObserver(WorkspaceObserverId id) override;

    // Scripted.
    std::optional<RunningApplication> frontmost;
    bool activeWindowFullScreen = false;
    bool idleAvailable = true;
    std::map<InputEventKind, double> idleSeconds{
        {InputEventKind::mouseMoved, 0}, {InputEventKind::keyDown, 0}, {InputEventKind::leftMouseDown, 0}};
    // Sets every kind's idle time at once.
    void setIdle(double seconds);
    // Dates the last input of `kind` at `at`: from then on its idle time follows Clock::now()
    // (the fake run loop's virtual clock) instead of idleSeconds.
    void recordInput(InputEventKind kind, Date at) { lastInput[kind] = at; }
    std::map<InputEventKind, Date> lastInput;

    // Calls the live observers of that kind, as the desktop would.
    void postScreenChange();
    void postWake();
    // Sets `frontmost` and tells the observers.
    void activate(std::optional<RunningApplication> application);
    // Sets the full-screen flag and tells the frontmost observers, as a window entering or
    // leaving full screen does.
    void setActiveWindowFullScreen(bool fullScreen);

    std::size_t observerCount() const;

private:
    enum class Kind { screens, wake, frontmost };
    struct Observer {
        Kind kind;
        std::function<void()> plain;
        std::function<void(const std::optional<RunningApplication>&)> frontmost;
    };

    WorkspaceObserverId add(Observer observer, const char* event);
    template <class F>
    void each(Kind kind, F&& call);

    FakeEventLog* events_;
    WorkspaceObserverId nextId_ = 1;
    std::map<WorkspaceObserverId, Observer> observers_;
};

}  // namespace solvara
