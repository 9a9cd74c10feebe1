#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace solvara {

// One ordered record of what the fakes were asked to do ("table 1", "restoreOriginalGamma",
// "window+ 1000", "launch /x"), shared by the fakes of one FakePlatform so tests can check
// the order of steps across services.
class FakeEventLog {
public:
    void add(std::string event) {
        if (enabled) events.push_back(std::move(event));
    }
    void clear() { events.clear(); }
    bool contains(const std::string& event) const { return std::find(events.begin(), events.end(), event) != events.end(); }
    std::size_t count(const std::string& event) const {
        return static_cast<std::size_t>(std::count(events.begin(), events.end(), event));
    }
    // Index of the first `event` at or after `from`; events.size() when absent.
    std::size_t indexOf(const std::string& event, std::size_t from = 0) const {
        auto it = std::find(events.begin() + static_cast<std::ptrdiff_t>(std::min(from, events.size())), events.end(), event);
        return static_cast<std::size_t>(it - events.begin());
    }

    // Index of the first event at or after `from` that starts with `prefix` ("table ", "orderOut");
    // events.size() when absent.
    std::size_t indexOfPrefix(const std::string& prefix, std::size_t from = 0) const {
        auto it = std::find_if(events.begin() + static_cast<std::ptrdiff_t>(std::min(from, events.size())),
                               events.end(), [&](const std::string& event) { return event.starts_with(prefix); });
        return static_cast<std::size_t>(it - events.begin());
    }

    bool enabled = true;  // benchmarks switch recording off
    std::vector<std::string> events;
};

}  // namespace solvara
