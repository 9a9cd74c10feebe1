#include "app/display/PerDisplaySettings.h"

#include "core/foundation/Json.h"

namespace solvara {

nlohmann::json PerDisplaySettings::encodeList(const std::vector<PerDisplaySettings>& records) {
    json::Json array = json::Json::array();
    for (const auto& record : records) {
        json::Json object = {
            {"displayID", record.displayID},
            {"displayName", record.displayName},
            {"isEnabled", record.isEnabled},
        };
        if (record.kelvinOverride) object["kelvinOverride"] = *record.kelvinOverride;
        if (record.brightnessOverride) object["brightnessOverride"] = *record.brightnessOverride;
        array.push_back(std::move(object));
    }
    return array;
}

std::optional<std::vector<PerDisplaySettings>> PerDisplaySettings::decodeList(const nlohmann::json& document) {
    if (!document.is_array()) return std::nullopt;
    std::vector<PerDisplaySettings> records;
    records.reserve(document.size());
    for (const auto& element : document) {
        if (!element.is_object()) return std::nullopt;
        json::ObjectReader reader(element);
        PerDisplaySettings record;
        record.displayID = reader.required<std::uint32_t>("displayID");
        record.displayName = reader.required<std::string>("displayName");
        record.isEnabled = reader.required<bool>("isEnabled");
        record.kelvinOverride = reader.optional<std::int64_t>("kelvinOverride");
        record.brightnessOverride = reader.optional<double>("brightnessOverride");
        if (!reader.ok()) return std::nullopt;
        records.push_back(std::move(record));
    }
    return records;
}

}  // namespace solvara
