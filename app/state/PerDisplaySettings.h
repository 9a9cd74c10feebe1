#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solvara {

// One display's own choices while per-display control is on, keyed by the platform's display id.
struct PerDisplaySettings {
    std::uint32_t displayID = 0;
    std::string displayName;
    // false: the display is left unfiltered (identity gamma) while per-display output is in force.
    bool isEnabled = true;
    std::optional<std::int64_t> kelvinOverride;      // absent: the global colour temperature
    std::optional<double> brightnessOverride;        // absent: 1.0

    std::uint32_t id() const { return displayID; }

    bool operator==(const PerDisplaySettings&) const = default;

    // The stored document: a compact JSON array with one object per record. Absent overrides
    // are left out, never written as null. Empty when a brightness is not a finite number.
    static std::optional<std::string> encodeList(const std::vector<PerDisplaySettings>& records);
    // Strict: any bad element rejects the whole document (empty result).
    static std::optional<std::vector<PerDisplaySettings>> decodeList(std::string_view document);
};

using PerDisplaySettingsMap = std::map<std::uint32_t, PerDisplaySettings>;

}  // namespace solvara
