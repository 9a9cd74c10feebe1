#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace solvara::testing {

// Switches the process time zone (TZ + tzset) for one scope and puts the previous one back.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const std::string& zone) {
        if (const char* old = std::getenv("TZ")) previous_ = old;
        setenv("TZ", zone.c_str(), 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (previous_) {
            setenv("TZ", previous_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> previous_;
};

}  // namespace solvara::testing
