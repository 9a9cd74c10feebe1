#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace solvara {

// Guards the system's accessibility colour filter: records the user's settings at launch and
// writes exactly those back at quit or on an emergency reset. The write runs in a separate
// interpreter process that loads the preferences library; the values travel as arguments, never
// as script text. Where the platform has no such filter (Linux) the preferences report the
// framework missing and save and restore do nothing.
class AccessibilityColorFilter {
public:
    struct SavedState {
        bool wasEnabled = false;
        std::int32_t type = 0;
        double hue = 0;
        double intensity = 0;

        bool operator==(const SavedState&) const = default;
    };

    static constexpr std::int32_t categoryColor = 1;
    static constexpr std::int32_t typeColorTint = 16;
    static constexpr std::string_view interpreter = "/usr/bin/python3";
    // A hung interpreter is killed after this long.
    static constexpr double scriptTimeoutSeconds = 10.0;
    // How long the program's exit waits for a restore still running.
    static constexpr double exitWaitSeconds = 3.0;

    // Loads the preferences library (logged either way).
    explicit AccessibilityColorFilter(const Platform& platform);
    // Waits, bounded, for a restore still running, and logs if it had to give up.
    ~AccessibilityColorFilter();

    AccessibilityColorFilter(const AccessibilityColorFilter&) = delete;
    AccessibilityColorFilter& operator=(const AccessibilityColorFilter&) = delete;

    // Reads the current filter settings into savedState() (only when loaded). Changes nothing.
    void saveState();

    // Starts writing savedState() back in the background (only when loaded and saved) and
    // forgets it, so a second call does nothing. The outcome is logged when the interpreter ends.
    void restoreState();

    // Blocks until the last restore has finished or `timeoutSeconds` pass; true when finished
    // (or none was started).
    bool waitForPendingRestore(double timeoutSeconds);

    bool isLoaded() const { return isLoaded_; }
    // The filter is only saved and restored, never driven in process: this stays at 6500.
    std::int64_t currentKelvin() const { return currentKelvin_; }
    const std::optional<SavedState>& savedState() const { return savedState_; }

    // The fixed script: reads the enabled flag, type, hue and intensity from its arguments.
    static std::string_view restoreScript();
    // The interpreter's arguments for `state`: "-c", the script, then the four values (numbers
    // as the shortest text that reads back as the same value).
    static std::vector<std::string> restoreArguments(const SavedState& state);

private:
    struct PendingRestore {
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
    };

    RunLoop& runLoop_;
    Processes& processes_;
    ColorFilterPreferences& preferences_;
    std::optional<SavedState> savedState_;
    bool isLoaded_ = false;
    std::int64_t currentKelvin_ = 6500;
    std::shared_ptr<PendingRestore> pending_;
};

}  // namespace solvara
