#pragma once

namespace solvara {

// The two permissions the first-run flow asks for, as this desktop knows them. Location counts
// as granted once the location service has answered with a position; the other permission
// ("Accessibility" in the flow) is what the shell needs of the desktop: grabbing global keys and
// reading the active window, granted when both work. Requests return at once; their outcome
// shows in the next check. Main thread only.
class Permissions {
public:
    virtual ~Permissions() = default;

    virtual bool locationGranted() = 0;
    // Asks the location service for a position (the desktop may ask the user first).
    virtual void requestLocation() = 0;

    virtual bool accessibilityGranted() = 0;
    // Nothing prompts for it here; the request only makes the next check look again.
    virtual void requestAccessibility() = 0;
};

}  // namespace solvara
