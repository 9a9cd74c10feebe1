#pragma once

#include <functional>
#include <memory>

class QObject;
class QSocketNotifier;
// Xlib's types, declared here so that Qt code can include this header (Xlib's macros break Qt's
// headers): Display is struct _XDisplay and XEvent is union _XEvent.
struct _XDisplay;
union _XEvent;

namespace solvara {

// A private Xlib connection whose events are read on the Qt main loop: when the socket has
// data, and before the loop goes to sleep (a round trip made elsewhere may have queued events
// without leaving the socket readable). Events reach `handler` on the main thread, outside any
// call of ours. Used by the services that select their own events (grabs, property changes,
// raw input) so Qt's own connection stays untouched.
class XEventConnection {
public:
    // Opens $DISPLAY; isOpen() is false when there is no X server (nothing is ever delivered).
    XEventConnection();
    ~XEventConnection();
    XEventConnection(const XEventConnection&) = delete;
    XEventConnection& operator=(const XEventConnection&) = delete;

    bool isOpen() const { return display_ != nullptr; }
    _XDisplay* display() const { return display_.get(); }
    unsigned long root() const;  // the root window of the default screen

    void setHandler(std::function<void(_XEvent&)> handler) { handler_ = std::move(handler); }

    // Hands every queued event to the handler now.
    void drain();

private:
    struct DisplayCloser {
        void operator()(_XDisplay* display) const;
    };

    std::unique_ptr<_XDisplay, DisplayCloser> display_;
    std::unique_ptr<QObject> context_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void(_XEvent&)> handler_;
    bool draining_ = false;
};

}  // namespace solvara
