#pragma once

#include <functional>
#include <vector>

#include "platform/NotificationCenter.h"
#include "platform/fake/FakeEventLog.h"

namespace solvara {

// Records every notification; permission answers wait for answerAuthorizations().
class FakeNotificationCenter : public NotificationCenter {
public:
    explicit FakeNotificationCenter(FakeEventLog* events = nullptr) : events_(events) {}

    void requestAuthorization(std::function<void(bool granted)> completion) override;
    void add(const LocalNotification& notification) override;

    // Runs the waiting completions with `granted`; returns how many ran.
    std::size_t answerAuthorizations();

    // Scripted.
    bool granted = true;

    // Recorded.
    int authorizationRequests = 0;
    std::vector<LocalNotification> posted;  // every add(), in order
    // The notifications on screen: a later one with the same identifier replaces the earlier.
    std::vector<LocalNotification> displayed() const;

private:
    FakeEventLog* events_;
    std::vector<std::function<void(bool)>> waiting_;
};

}  // namespace solvara
