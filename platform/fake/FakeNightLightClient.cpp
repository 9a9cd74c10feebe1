#include "platform/fake/FakeNightLightClient.h"

#include <charconv>
#include <sstream>

#include "core/foundation/Format.h"

namespace solvara {

void FakeNightLightClient::note(std::string call) {
    if (events_ != nullptr) events_->add("nightLight " + call);
    calls.push_back(std::move(call));
}

std::optional<float> FakeNightLightClient::strength() {
    if (!available || !readable) return std::nullopt;
    return currentStrength;
}

bool FakeNightLightClient::setStrength(float value, bool commit) {
    note("setStrength " + format::fixed(value, 3) + (commit ? " commit" : ""));
    if (!available || refuseWrites) return false;
    currentStrength = value < 0 ? 0 : (value > 1 ? 1 : value);
    return true;
}

bool FakeNightLightClient::setEnabled(bool value) {
    note(std::string("setEnabled ") + (value ? "1" : "0"));
    if (!available || refuseWrites) return false;
    enabled = value;
    return true;
}

// "fake:<enabled> <strength> <temperature> <schedule>", strength in thousandths.
std::optional<std::string> FakeNightLightClient::captureSettings() {
    if (!available || !readable || !capturable) return std::nullopt;
    return "fake:" + std::to_string(enabled ? 1 : 0) + " " +
           std::to_string(static_cast<int>(currentStrength * 1000.0f + 0.5f)) + " " + std::to_string(temperature) +
           " " + std::to_string(followsSchedule ? 1 : 0);
}

bool FakeNightLightClient::restoreSettings(std::string_view captured) {
    note("restoreSettings " + std::string(captured));
    if (!available || refuseWrites || captured.substr(0, 5) != "fake:") return false;
    std::istringstream in{std::string(captured.substr(5))};
    int e = 0, s = 0, t = 0, f = 0;
    if (!(in >> e >> s >> t >> f)) return false;
    enabled = e != 0;
    currentStrength = static_cast<float>(s) / 1000.0f;
    temperature = t;
    followsSchedule = f != 0;
    return true;
}

bool FakeNightLightClient::showTemperature(int kelvin) {
    note("show " + std::to_string(kelvin));
    if (!available || refuseWrites) return false;
    enabled = kelvin < 6500;
    followsSchedule = false;
    temperature = kelvin < 1700 ? 1700 : kelvin;
    return true;
}

}  // namespace solvara
