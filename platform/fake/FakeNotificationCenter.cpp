#include "platform/fake/FakeNotificationCenter.h"

#include <algorithm>
#include <utility>

namespace solvara {

void FakeNotificationCenter::requestAuthorization(std::function<void(bool granted)> completion) {
    if (events_ != nullptr) events_->add("notification authorization");
    ++authorizationRequests;
    waiting_.push_back(std::move(completion));
}

void FakeNotificationCenter::add(const LocalNotification& notification) {
    if (events_ != nullptr) events_->add("notification " + notification.identifier);
    posted.push_back(notification);
}

std::size_t FakeNotificationCenter::answerAuthorizations() {
    std::vector<std::function<void(bool)>> batch;
    batch.swap(waiting_);
    for (auto& completion : batch) {
        if (completion) completion(granted);
    }
    return batch.size();
}

std::vector<LocalNotification> FakeNotificationCenter::displayed() const {
    std::vector<LocalNotification> shown;
    for (const LocalNotification& notification : posted) {
        auto same = std::find_if(shown.begin(), shown.end(),
                                 [&](const LocalNotification& n) { return n.identifier == notification.identifier; });
        if (same != shown.end()) shown.erase(same);
        shown.push_back(notification);
    }
    return shown;
}

}  // namespace solvara
