#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/state/AppState.h"
#include "core/foundation/Calendar.h"
#include "platform/fake/FakePlatform.h"

namespace solvara::testing {

// 2026-01-01 00:00:00 UTC (a Thursday); the test main runs in UTC.
inline Date at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return *Calendar::date(year, month, day, hour, minute, second);
}

// One display with its screen, an empty store; the state is built on demand so tests can
// script the store first.
class AppStateTest : public ::testing::Test {
protected:
    explicit AppStateTest(Date start = at(2026, 1, 15, 12)) : fake(start) {
        fake.displayTransfer.displays = {11};
        fake.screens.screenList = {ScreenInfo{11, "Built-in", {0, 0, 1920, 1080}}};
    }

    AppState& state() {
        if (!state_) state_ = std::make_unique<AppState>(fake.platform());
        return *state_;
    }
    void relaunch() {
        state_.reset();
        state();
    }

    // Records every notice as "will:name" or "did:name".
    void observe() {
        state().addObserver([this](AppState::Property property, AppState::Notice notice) {
            notices.push_back(std::string(notice == AppState::Notice::willChange ? "will:" : "did:") +
                              std::string(AppState::propertyName(property)));
        });
    }

    // Moves the virtual clock forward to `when`, firing what falls due on the way.
    void moveTo(Date when) { fake.runLoop.advance(when - fake.runLoop.now()); }

    std::size_t dimmerWindows() { return fake.screens.visibleWindows(1001).size(); }

    FakePlatform fake;
    FakeLoginItem& loginItem = fake.loginItem;
    std::vector<std::string> notices;

private:
    std::unique_ptr<AppState> state_;
};

}  // namespace solvara::testing
