#include "core/profiles/ProfileManager.h"

#include <algorithm>
#include <utility>

#include "core/foundation/Json.h"
#include "core/foundation/Log.h"

namespace solvara {

ProfileManager::ProfileManager()
    : circadianProfile_("Default", 7, 0, 23, 0), activityProfiles_(ActivityProfile::defaults()) {}

std::optional<ActivityProfile> ProfileManager::activityProfile(std::string_view bundleIdentifier) const {
    for (const auto& profile : activityProfiles_) {
        const auto& ids = profile.bundleIdentifiers;
        if (std::find(ids.begin(), ids.end(), bundleIdentifier) != ids.end()) return profile;
    }
    return std::nullopt;
}

ActivityProfile::Behavior ProfileManager::effectiveBehavior(std::string_view bundleIdentifier) const {
    if (auto profile = activityProfile(bundleIdentifier)) return profile->behavior;
    return ActivityProfile::Behavior::normal;
}

void ProfileManager::addProfile(ActivityProfile profile) { activityProfiles_.push_back(std::move(profile)); }

void ProfileManager::updateProfile(ActivityProfile profile) {
    auto it = std::find_if(activityProfiles_.begin(), activityProfiles_.end(),
                           [&](const ActivityProfile& existing) { return existing.id == profile.id; });
    if (it != activityProfiles_.end()) *it = std::move(profile);
}

void ProfileManager::deleteProfile(const Uuid& id) {
    std::erase_if(activityProfiles_,
                  [&](const ActivityProfile& profile) { return profile.id == id && !profile.isBuiltIn; });
}

std::optional<std::string> ProfileManager::encodeCustomProfiles() const {
    json::Json document = json::Json::array();
    for (const auto& profile : activityProfiles_) {
        if (!profile.isBuiltIn) document.push_back(profile.toJson());
    }
    if (document.empty()) return std::nullopt;
    return json::encode(document);
}

bool ProfileManager::restoreCustomProfiles(std::string_view data) {
    const auto document = json::parse(data);
    if (!document || !document->is_array()) {
        Log::write("ProfileManager", "Custom profiles are not a JSON list; keeping the current profiles");
        return false;
    }

    std::vector<ActivityProfile> restored = ActivityProfile::defaults();
    restored.reserve(restored.size() + document->size());
    for (const auto& element : *document) {
        auto profile = ActivityProfile::fromJson(element);
        if (!profile) {
            Log::write("ProfileManager", "A custom profile is incomplete or has an unknown behavior; "
                                         "keeping the current profiles");
            return false;
        }
        restored.push_back(std::move(*profile));
    }
    activityProfiles_ = std::move(restored);
    return true;
}

}  // namespace solvara
