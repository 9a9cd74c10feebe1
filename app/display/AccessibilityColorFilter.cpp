#include "app/display/AccessibilityColorFilter.h"

#include <charconv>
#include <chrono>

#include "core/foundation/Format.h"
#include "core/foundation/Log.h"

namespace solvara {

namespace {

constexpr std::string_view component = "AccessibilityColorFilter";

// Shortest text that reads back as the same double, always with a point or an exponent.
std::string number(double value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    if (text.find_first_of(".eE") == std::string::npos && text.find_first_of("ni") == std::string::npos) {
        text += ".0";
    }
    return text;
}

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 0x2) return false;
        }
        i += length;
    }
    return true;
}

}  // namespace

std::string_view AccessibilityColorFilter::restoreScript() {
    return "import sys\n"
           "import ctypes\n"
           "from ctypes import c_bool, c_int, c_double\n"
           "lib = ctypes.cdll.LoadLibrary('/System/Library/Frameworks/MediaAccessibility.framework/MediaAccessibility')\n"
           "lib.MADisplayFilterPrefSetCategoryEnabled.argtypes = [c_int, c_bool]\n"
           "lib.MADisplayFilterPrefSetCategoryEnabled.restype = None\n"
           "lib.MADisplayFilterPrefSetType.argtypes = [c_int, c_int]\n"
           "lib.MADisplayFilterPrefSetType.restype = None\n"
           "lib.MADisplayFilterPrefSetSingleColorHue.argtypes = [c_double]\n"
           "lib.MADisplayFilterPrefSetSingleColorHue.restype = None\n"
           "lib.MADisplayFilterPrefSetSingleColorIntensity.argtypes = [c_double]\n"
           "lib.MADisplayFilterPrefSetSingleColorIntensity.restype = None\n"
           "enabled = sys.argv[1] == '1'\n"
           "filter_type = int(sys.argv[2])\n"
           "hue = float(sys.argv[3])\n"
           "intensity = float(sys.argv[4])\n"
           "lib.MADisplayFilterPrefSetType(1, filter_type)\n"
           "lib.MADisplayFilterPrefSetSingleColorHue(hue)\n"
           "lib.MADisplayFilterPrefSetSingleColorIntensity(intensity)\n"
           "lib.MADisplayFilterPrefSetCategoryEnabled(1, enabled)";
}

std::vector<std::string> AccessibilityColorFilter::restoreArguments(const SavedState& state) {
    return {"-c", std::string(restoreScript()), state.wasEnabled ? "1" : "0", format::integer(state.type),
            number(state.hue), number(state.intensity)};
}

AccessibilityColorFilter::AccessibilityColorFilter(const Platform& platform)
    : runLoop_(platform.runLoop), processes_(platform.processes), preferences_(platform.colorFilter) {
    switch (preferences_.load()) {
        case ColorFilterPreferences::LoadResult::frameworkMissing:
            // The desktops here have no system-wide colour filter of this kind.
            Log::write(component, "No accessibility colour filter on this system — nothing to save or restore");
            return;
        case ColorFilterPreferences::LoadResult::symbolsMissing:
            Log::write(component, "Failed to resolve symbols");
            return;
        case ColorFilterPreferences::LoadResult::loaded:
            isLoaded_ = true;
            Log::write(component, "Loaded successfully");
            return;
    }
}

AccessibilityColorFilter::~AccessibilityColorFilter() {
    if (!waitForPendingRestore(exitWaitSeconds)) {
        Log::write(component, "The restore was still running at exit — its outcome is unknown");
    }
}

void AccessibilityColorFilter::saveState() {
    if (!isLoaded_) return;
    SavedState state;
    state.wasEnabled = preferences_.categoryEnabled(categoryColor);
    state.type = preferences_.type(categoryColor);
    state.hue = preferences_.singleColorHue();
    state.intensity = preferences_.singleColorIntensity();
    savedState_ = state;
    Log::write(component, "Saved — enabled: " + format::integer(state.wasEnabled ? 1 : 0) +
                              ", type: " + format::integer(state.type) + ", hue: " + format::fixed(state.hue, 3) +
                              ", intensity: " + format::fixed(state.intensity, 3));
}

void AccessibilityColorFilter::restoreState() {
    if (!isLoaded_ || !savedState_) return;
    const SavedState state = *savedState_;
    savedState_.reset();

    auto pending = std::make_shared<PendingRestore>();
    pending_ = pending;
    // The work touches no field of this object: it may outlive it at exit.
    runLoop_.runInBackground([&processes = processes_, pending, state] {
        auto completion = processes.runToCompletion(std::string(interpreter), restoreArguments(state),
                                                    scriptTimeoutSeconds);
        if (!completion.launched) {
            Log::write(component, "Failed to run subprocess: " + completion.launchError);
        } else if (completion.exitStatus != 0) {
            const std::string text = isValidUtf8(completion.standardError) ? completion.standardError : "unknown";
            Log::write(component, "Python exit " + format::integer(completion.exitStatus) + ": " + text);
        } else {
            Log::write(component, std::string("Restored state (wasEnabled: ") + (state.wasEnabled ? "1" : "0") + ")");
        }
        std::lock_guard lock(pending->mutex);
        pending->done = true;
        pending->finished.notify_all();
    });
}

bool AccessibilityColorFilter::waitForPendingRestore(double timeoutSeconds) {
    if (!pending_) return true;
    std::unique_lock lock(pending_->mutex);
    return pending_->finished.wait_for(lock, std::chrono::duration<double>(timeoutSeconds),
                                       [this] { return pending_->done; });
}

}  // namespace solvara
