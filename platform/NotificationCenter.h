#pragma once

#include <functional>
#include <string>

namespace solvara {

// One notification shown to the user at once.
struct LocalNotification {
    std::string identifier;  // a later notification with the same identifier replaces it
    std::string title;
    std::string body;

    bool operator==(const LocalNotification&) const = default;
};

// The desktop's notification service. Main thread only.
class NotificationCenter {
public:
    virtual ~NotificationCenter() = default;

    // Asks whether notifications may be shown. `completion` runs later on the main thread, never
    // inside this call, with true when the desktop offers a notification service that accepts
    // them and false otherwise (no service on the session bus: logged once).
    virtual void requestAuthorization(std::function<void(bool granted)> completion) = 0;

    // Shows `notification` at once, replacing one shown earlier with the same identifier while
    // that is still on screen. A service that refuses or is gone: logged, nothing shown.
    virtual void add(const LocalNotification& notification) = 0;
};

}  // namespace solvara
