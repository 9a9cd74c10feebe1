#pragma once

#include <optional>
#include <string>

#include "platform/LoginItem.h"

namespace solvara {

// A scripted login-item registration.
class FakeLoginItem : public LoginItem {
public:
    bool isRegistered() const override { return registered; }
    std::optional<std::string> setRegistered(bool value) override {
        ++writes;
        if (failure) return failure;
        registered = value;
        return std::nullopt;
    }

    // Scripted: a set failure refuses every write with that text.
    bool registered = false;
    std::optional<std::string> failure;

    // Recorded.
    int writes = 0;
};

}  // namespace solvara
