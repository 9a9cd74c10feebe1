#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace solvara {

// Identifies one observation registered with Workspace. 0 is never handed out.
using WorkspaceObserverId = std::uint64_t;

// The application whose window has the keyboard focus.
struct RunningApplication {
    // The desktop-file id ("org.gnome.Terminal") where one can be found, else the window's class
    // ("firefox"); empty when the window names none. Activity profiles list these.
    std::optional<std::string> desktopId;
    std::string localizedName;  // for people; may be empty

    bool operator==(const RunningApplication&) const = default;
};

// The kinds of input whose last occurrence the workspace can date.
enum class InputEventKind { mouseMoved, keyDown, leftMouseDown };

// What the desktop tells about the user's session: the frontmost application and whether its
// window fills the screen, how long the user has left the input devices alone, and the events
// that matter to the display (screens changed, the machine woke up). Main thread only; every
// observer is called on the main thread, after the event, never from inside a registration.
class Workspace {
public:
    virtual ~Workspace() = default;

    // The application of the active window. Empty when no window is active or the desktop does
    // not say which one is (no window manager).
    virtual std::optional<RunningApplication> frontmostApplication() = 0;

    // True when the active window covers its screen as a full-screen window. False when it does
    // not, when no window is active, or when the desktop cannot tell.
    virtual bool isActiveWindowFullScreen() = 0;

    // Seconds since the last input of that kind from any application, 0 or more. Empty when the
    // session's input cannot be watched; an implementation that only knows the time since any
    // input answers that for every kind.
    virtual std::optional<double> secondsSinceLastEvent(InputEventKind kind) = 0;

    // Called when the screens are added, removed, moved or resized.
    virtual WorkspaceObserverId observeScreenChanges(std::function<void()> action) = 0;

    // Called when the machine has woken from sleep. An implementation that cannot learn of it
    // logs that once and never calls.
    virtual WorkspaceObserverId observeWake(std::function<void()> action) = 0;

    // Called with the new frontmost application when another window becomes active, and also
    // when the active window enters or leaves full screen (so a pause that depends on full
    // screen follows a window that changes without a change of application). The argument is
    // empty when no window is active any more.
    virtual WorkspaceObserverId observeFrontmostApplication(
        std::function<void(const std::optional<RunningApplication>&)> action) = 0;

    // Ends an observation; its action is not called again and is released. Unknown or already
    // removed ids are ignored. Safe to call from inside the observer's own action.
    virtual void removeObserver(WorkspaceObserverId id) = 0;
};

}  // namespace solvara
