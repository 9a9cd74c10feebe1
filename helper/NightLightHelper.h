#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/Files.h"
#include "platform/NightLightClient.h"

namespace solvara {

// The night-light helper's logic: follows the control file the program writes and makes the
// desktop's night light show that colour temperature; "0", a terminate request or the end of
// the parent puts the user's settings back. The executable's main only adds the signals and
// the parent check around run().
class NightLightHelper {
public:
    static constexpr double pollInterval = 0.25;  // seconds

    NightLightHelper(NightLightClient& client, Files& files);

    // Remembers the settings to put back at the end: the current ones now; at the end the
    // user's state the program saved on disk is preferred when there is one (our own leftover
    // from a crashed run must never become the "user's" setting).
    void start();

    // Reads the control file once and follows it: a new temperature is shown, "0" restores,
    // anything else is ignored (logged once per distinct content). A missing file changes
    // nothing.
    void poll();

    // Puts the night light back if this helper changed it since the last restore. Repeatable.
    void finish();

    // start(), then poll() and `wait()` while `keepRunning()` says so, then finish().
    // Answers the process exit status.
    int run(const std::function<bool()>& keepRunning, const std::function<void()>& wait);

    std::optional<std::int64_t> shownKelvin() const { return shownKelvin_; }
    bool hasChangedNightLight() const { return changed_; }

private:
    std::optional<std::string> settingsToRestore();

    NightLightClient& client_;
    Files& files_;
    std::optional<std::string> controlFile_;
    std::optional<std::string> startSettings_;
    std::optional<std::int64_t> shownKelvin_;
    std::optional<std::string> lastIgnored_;
    std::optional<std::int64_t> refusedKelvin_;
    bool changed_ = false;
};

}  // namespace solvara
