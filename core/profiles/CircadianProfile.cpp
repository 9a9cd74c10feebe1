#include "core/profiles/CircadianProfile.h"

#include <utility>

namespace solvara {

CircadianProfile::CircadianProfile(std::string name, std::int64_t wakeHour, std::int64_t wakeMinute,
                                   std::int64_t sleepHour, std::int64_t sleepMinute)
    : id(Uuid::random()),
      name(std::move(name)),
      wakeHour(wakeHour),
      wakeMinute(wakeMinute),
      sleepHour(sleepHour),
      sleepMinute(sleepMinute) {}

json::Json CircadianProfile::toJson() const {
    return json::Json{
        {"id", json::encodeUuid(id)},
        {"name", name},
        {"wakeHour", wakeHour},
        {"wakeMinute", wakeMinute},
        {"sleepHour", sleepHour},
        {"sleepMinute", sleepMinute},
        {"morningBoostEnabled", morningBoostEnabled},
        {"minimumKelvin", minimumKelvin},
        {"maximumKelvin", maximumKelvin},
        {"transitionSpeed", std::string(rawValue(transitionSpeed))},
    };
}

std::optional<CircadianProfile> CircadianProfile::fromJson(const json::Json& value) {
    json::ObjectReader reader(value);
    const auto id = reader.required<Uuid>("id");
    auto name = reader.required<std::string>("name");
    const auto wakeHour = reader.required<std::int64_t>("wakeHour");
    const auto wakeMinute = reader.required<std::int64_t>("wakeMinute");
    const auto sleepHour = reader.required<std::int64_t>("sleepHour");
    const auto sleepMinute = reader.required<std::int64_t>("sleepMinute");
    const auto morningBoostEnabled = reader.required<bool>("morningBoostEnabled");
    const auto minimumKelvin = reader.required<std::int64_t>("minimumKelvin");
    const auto maximumKelvin = reader.required<std::int64_t>("maximumKelvin");
    const auto speedText = reader.required<std::string>("transitionSpeed");
    const auto speed = fromRawValue<TransitionSpeed>(speedText);
    if (!reader.ok() || !speed) return std::nullopt;

    CircadianProfile profile(std::move(name), wakeHour, wakeMinute, sleepHour, sleepMinute);
    profile.id = id;
    profile.morningBoostEnabled = morningBoostEnabled;
    profile.minimumKelvin = minimumKelvin;
    profile.maximumKelvin = maximumKelvin;
    profile.transitionSpeed = *speed;
    return profile;
}

}  // namespace solvara
