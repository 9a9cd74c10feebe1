#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace solvara {

// One display's own choices while per-display control is on, keyed by the platform's display id.
struct PerDisplaySettings {
    std::uint32_t displayID = 0;
    std::string displayName;
    // false: the display is left unfiltered (identity gamma) while per-display output is in force.
    bool isEnabled = true;
    std::optional<std::int64_t> kelvinOverride;  // absent: the global colour temperature
    std::optional<double> brightnessOverride;    // absent: 1.0

    std::uint32_t id() const { return displayID; }

    bool operator==(const PerDisplaySettings&) const = default;

    // The stored document: a JSON array with one object per record ("displayID",
    // "displayName", "isEnabled", and "kelvinOverride" and "brightnessOverride" only when
    // present, never as null).
    static nlohmann::json encodeList(const std::vector<PerDisplaySettings>& records);
    // Strict: any bad element rejects the whole document (empty result); null overrides and
    // unknown keys are accepted.
    static std::optional<std::vector<PerDisplaySettings>> decodeList(const nlohmann::json& document);
};

using PerDisplaySettingsMap = std::map<std::uint32_t, PerDisplaySettings>;

}  // namespace solvara
