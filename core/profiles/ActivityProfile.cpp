#include "core/profiles/ActivityProfile.h"

#include <utility>

namespace solvara {

ActivityProfile::ActivityProfile(std::string name, std::vector<std::string> bundleIdentifiers, Behavior behavior,
                                 bool isBuiltIn)
    : id(Uuid::random()),
      name(std::move(name)),
      bundleIdentifiers(std::move(bundleIdentifiers)),
      behavior(behavior),
      isBuiltIn(isBuiltIn) {}

const std::vector<ActivityProfile>& ActivityProfile::defaults() {
    static const std::vector<ActivityProfile> builtIns{
        ActivityProfile("Color Accurate",
                        {"com.adobe.Photoshop", "com.adobe.Lightroom", "com.bohemiancoding.sketch3",
                         "com.figma.Desktop", "com.blackmagic-design.DaVinciResolve", "com.apple.FinalCut"},
                        Behavior::colorAccurate, true),
        ActivityProfile("Cinema", {"com.apple.tv", "com.netflix.Netflix", "com.disney.disneyplus"},
                        Behavior::cinema, true),
        ActivityProfile("Coding",
                        {"com.apple.dt.Xcode", "com.microsoft.VSCode", "com.googlecode.iterm2",
                         "com.todesktop.230313mzl4w4u92"},
                        Behavior::coding, true),
    };
    return builtIns;
}

json::Json ActivityProfile::toJson() const {
    return json::Json{
        {"id", json::encodeUuid(id)},
        {"name", name},
        {"bundleIdentifiers", bundleIdentifiers},
        {"behavior", std::string(rawValue(behavior))},
        {"isBuiltIn", isBuiltIn},
    };
}

std::optional<ActivityProfile> ActivityProfile::fromJson(const json::Json& value) {
    json::ObjectReader reader(value);
    const auto id = reader.required<Uuid>("id");
    auto name = reader.required<std::string>("name");
    auto bundleIdentifiers = reader.required<std::vector<std::string>>("bundleIdentifiers");
    const auto behaviorText = reader.required<std::string>("behavior");
    const auto isBuiltIn = reader.required<bool>("isBuiltIn");
    const auto behavior = fromRawValue<Behavior>(behaviorText);
    if (!reader.ok() || !behavior) return std::nullopt;

    ActivityProfile profile(std::move(name), std::move(bundleIdentifiers), *behavior, isBuiltIn);
    profile.id = id;
    return profile;
}

}  // namespace solvara
