#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/NightLightClient.h"
#include "platform/fake/FakeEventLog.h"

namespace solvara {

// A scripted desktop night light: its settings are plain fields, every call is recorded as
// text ("setStrength 0.5 commit", "setEnabled 1", "show 3400", "restoreSettings").
class FakeNightLightClient : public NightLightClient {
public:
    explicit FakeNightLightClient(FakeEventLog* events = nullptr) : events_(events) {}

    bool isAvailable() const override { return available; }
    std::optional<float> strength() override;
    bool setStrength(float value, bool commit) override;
    bool setEnabled(bool value) override;
    std::optional<std::string> captureSettings() override;
    bool restoreSettings(std::string_view captured) override;
    bool showTemperature(int kelvin) override;

    // Scripted settings (what the desktop holds now).
    bool available = true;
    bool readable = true;    // false: strength() and captureSettings() answer empty
    bool capturable = true;  // false: only captureSettings() answers empty
    bool refuseWrites = false;
    bool enabled = false;
    float currentStrength = 0.0f;
    int temperature = 4000;
    bool followsSchedule = true;

    // Recorded.
    std::vector<std::string> calls;

private:
    void note(std::string call);

    FakeEventLog* events_;
};

}  // namespace solvara
