#pragma once

#include <functional>
#include <vector>

#include "platform/GlobalShortcuts.h"
#include "platform/fake/FakeEventLog.h"

namespace solvara {

// Records the grabs; press() plays a key press as the desktop would deliver it.
class FakeGlobalShortcuts : public GlobalShortcuts {
public:
    explicit FakeGlobalShortcuts(FakeEventLog* events = nullptr) : events_(events) {}

    bool start(std::function<void(const KeyStroke&)> handler) override;
    void stop() override;
    void setGrabbedKeys(const std::vector<KeyStroke>& combinations) override;

    // Delivers `press` when a grab matches it (key code and the four modifier bits), as an X
    // grab would; true when delivered.
    bool press(KeyStroke press);

    // Scripted: start() fails when false.
    bool available = true;

    // Recorded.
    bool started = false;
    std::vector<KeyStroke> grabbed;  // what setGrabbedKeys() kept, in order
    int grabUpdates = 0;

private:
    FakeEventLog* events_;
    std::function<void(const KeyStroke&)> handler_;
};

}  // namespace solvara
