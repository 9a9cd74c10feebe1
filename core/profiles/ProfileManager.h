#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/foundation/Uuid.h"
#include "core/profiles/ActivityProfile.h"
#include "core/profiles/CircadianProfile.h"

namespace solvara {

// Holds the activity profiles (the three built-ins first, then the user's own in the order
// they were added or restored) and the one circadian schedule. Main thread only; no lock.
class ProfileManager {
public:
    ProfileManager();

    const CircadianProfile& circadianProfile() const { return circadianProfile_; }
    void setCircadianProfile(CircadianProfile profile) { circadianProfile_ = std::move(profile); }

    const std::vector<ActivityProfile>& activityProfiles() const { return activityProfiles_; }
    void setActivityProfiles(std::vector<ActivityProfile> profiles) { activityProfiles_ = std::move(profiles); }

    // The first profile listing the identifier (exact match). Built-ins stand first, so they
    // win over any user profile naming the same application.
    std::optional<ActivityProfile> activityProfile(std::string_view bundleIdentifier) const;
    // The matching profile's behaviour, or normal.
    ActivityProfile::Behavior effectiveBehavior(std::string_view bundleIdentifier) const;

    // Appends as given: no check for duplicate ids, identifiers or the built-in flag.
    void addProfile(ActivityProfile profile);
    // Replaces the first profile with the same id in place, built-ins included; unknown ids
    // change nothing.
    void updateProfile(ActivityProfile profile);
    // Removes the user's profiles with this id; built-ins stay.
    void deleteProfile(const Uuid& id);

    // A compact JSON array of the user's profiles, or empty when there are none.
    std::optional<std::string> encodeCustomProfiles() const;
    // Rebuilds the list as the built-ins followed by the document's profiles. A document that
    // fails anywhere is rejected whole and the list stays as it was: false (logged).
    bool restoreCustomProfiles(std::string_view data);

private:
    CircadianProfile circadianProfile_;
    std::vector<ActivityProfile> activityProfiles_;
};

}  // namespace solvara
