#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/Workspace.h"
#include "platform/linux/DesktopFileIndex.h"
#include "platform/linux/XEventConnection.h"

class QObject;

namespace solvara {

class LogindSleepWatcher;

// The desktop session on X11: the active window from EWMH (_NET_ACTIVE_WINDOW) named by its
// desktop-file id or window class, full screen from _NET_WM_STATE_FULLSCREEN, idle times from
// XInput2 raw events (else the screen saver extension's one idle time), wake from logind, screen
// changes from Qt. Construct on the main thread after the QGuiApplication.
//
// The active window's description is read once and kept until another window becomes active or
// one of the properties that name it changes (the window's PropertyNotify events say so): the
// shell asks for it at every tick, and each reading is several round trips to the X server.
class X11Workspace : public Workspace {
public:
    explicit X11Workspace(DesktopFileIndex desktopFiles = DesktopFileIndex());
    ~X11Workspace() override;

    std::optional<RunningApplication> frontmostApplication() override;
    bool isActiveWindowFullScreen() override;
    std::optional<double> secondsSinceLastEvent(InputEventKind kind) override;

    WorkspaceObserverId observeScreenChanges(std::function<void()> action) override;
    WorkspaceObserverId observeWake(std::function<void()> action) override;
    WorkspaceObserverId observeFrontmostApplication(
        std::function<void(const std::optional<RunningApplication>&)> action) override;
    void removeObserver(WorkspaceObserverId id) override;

private:
    enum class Kind { screens, wake, frontmost };
    struct Observer {
        Kind kind;
        std::function<void()> plain;
        std::function<void(const std::optional<RunningApplication>&)> frontmost;
    };
    using SteadyTime = std::chrono::steady_clock::time_point;

    // Window and Atom are Xlib's XIDs (unsigned long), spelled out to keep Xlib out of here.
    void handle(_XEvent& event);
    unsigned long readActiveWindow();
    void followActiveWindow(unsigned long window);
    bool readFullScreen(unsigned long window);
    std::optional<std::string> readStringProperty(unsigned long window, unsigned long name);
    RunningApplication describe(unsigned long window);
    // The active window's description, read when not kept; empty with no active window.
    std::optional<RunningApplication> describeActiveWindow();
    bool namesWindow(unsigned long atom) const;
    void notify(Kind kind);
    void dispatch(Kind kind);
    void connectScreens();
    void setUpInputWatch();

    std::unique_ptr<XEventConnection> connection_;
    DesktopFileIndex desktopFiles_;
    std::unique_ptr<QObject> context_;
    std::unique_ptr<LogindSleepWatcher> sleepWatcher_;

    unsigned long netActiveWindow_ = 0;
    unsigned long netWmState_ = 0;
    unsigned long netWmStateFullscreen_ = 0;
    unsigned long gtkApplicationId_ = 0;
    unsigned long kdeDesktopFile_ = 0;
    unsigned long utf8String_ = 0;
    unsigned long netWmName_ = 0;

    unsigned long activeWindow_ = 0;
    bool activeFullScreen_ = false;
    std::optional<RunningApplication> activeDescription_;

    int xinputOpcode_ = -1;  // -1: no XInput2 raw events
    bool hasScreenSaverInfo_ = false;
    std::map<InputEventKind, SteadyTime> lastInput_;

    bool screensConnected_ = false;
    bool reportedNoWake_ = false;
    WorkspaceObserverId nextId_ = 1;
    std::map<WorkspaceObserverId, Observer> observers_;
};

}  // namespace solvara
