#include "app/display/NightShiftManager.h"

#include <cmath>

#include "app/display/NightLightControlFile.h"
#include "core/foundation/Format.h"
#include "core/foundation/Json.h"
#include "core/foundation/Log.h"

namespace solvara {

namespace {

constexpr std::string_view component = "NightShiftManager";

std::string strengthText(float strength) { return format::fixed(static_cast<double>(strength), 6); }

}  // namespace

std::optional<std::string> NightShiftManager::NightShiftState::encode() const {
    if (!std::isfinite(strength)) return std::nullopt;
    json::Json document = {
        {"wasEnabled", wasEnabled},
        {"strength", static_cast<double>(strength)},
        {"mode", mode},
        {"platformSettings", platformSettings},
    };
    return json::encode(document);
}

std::optional<NightShiftManager::NightShiftState> NightShiftManager::NightShiftState::decode(
    std::string_view document) {
    auto parsed = json::parse(document);
    if (!parsed || !parsed->is_object()) return std::nullopt;
    json::ObjectReader reader(*parsed);
    NightShiftState state;
    state.wasEnabled = reader.required<bool>("wasEnabled");
    state.strength = reader.required<float>("strength");
    state.mode = reader.required<int>("mode");
    state.platformSettings = reader.required<std::string>("platformSettings");
    if (!reader.ok()) return std::nullopt;
    return state;
}

NightShiftManager::NightShiftManager(const Platform& platform)
    : processes_(platform.processes), files_(platform.files), client_(platform.nightLight) {
    // The client decides its availability once, at its own construction, and logs the reason.
    isAvailable_ = client_.isAvailable();
    locateHelper();
    controlFile_ = NightLightControlFile::path(files_);
    saveState();
}

NightShiftManager::~NightShiftManager() { stopHelper(); }

void NightShiftManager::locateHelper() {
    helperPath_ = files_.resourcePath(helperResourceName);
    if (!helperPath_) {
        Log::write(component, "Helper not found — Night Shift unavailable");
        isAvailable_ = false;
        return;
    }
    Log::write(component, "Helper found at: " + *helperPath_);
}

void NightShiftManager::saveState() {
    if (!isAvailable_) return;
    const auto diskPath = NightLightControlFile::savedStatePath(files_);
    if (diskPath) {
        if (auto kept = files_.read(*diskPath, NightLightControlFile::maxSavedStateBytes)) {
            if (auto state = NightShiftState::decode(*kept)) {
                savedState_ = *state;
                Log::write(component, "Keeping the state saved before a run that did not restore it");
                Log::write(component, "Saved state — strength: " + strengthText(state->strength));
                return;
            }
            Log::write(component, "Ignoring an unreadable saved state at " + *diskPath);
        }
    }

    const float strength = client_.strength().value_or(0.0f);
    NightShiftState state{strength > 0.0f, strength, 0, client_.captureSettings().value_or("")};
    savedState_ = state;
    if (!diskPath) {
        Log::write(component, "No state directory — the saved state is kept in memory only");
    } else if (auto document = state.encode(); !document || !files_.writeAtomically(*diskPath, *document)) {
        Log::write(component, "Could not keep the saved state on disk — it is kept in memory only");
    }
    Log::write(component, "Saved state — strength: " + strengthText(strength));
}

bool NightShiftManager::isHelperRunning() { return helperProcess_ && helperProcess_->isRunning(); }

std::optional<std::int64_t> NightShiftManager::applyColorTemperature(std::int64_t kelvin) {
    if (!isAvailable_ || !helperPath_) return kelvin;
    if (!controlFile_) {
        Log::write(component, "No private runtime directory for the control file — using gamma tables");
        return std::nullopt;
    }
    if (!files_.writeAtomically(*controlFile_, NightLightControlFile::encode(kelvin))) {
        Log::write(component, "Could not write the control file — using gamma tables");
        return std::nullopt;
    }
    wroteControlFile_ = true;
    if (!isHelperRunning()) startHelper();
    if (!isHelperRunning()) return std::nullopt;
    return kelvin < supplementaryThreshold ? kelvin : neutralKelvin;
}

void NightShiftManager::startHelper() {
    if (isHelperRunning() || !helperPath_) return;
    std::string error;
    Processes::LaunchOptions options;
    options.endWithParent = true;
    auto process = processes_.launch(*helperPath_, {}, options, error);
    if (!process) {
        Log::write(component, "Failed to start helper: " + error);
        return;
    }
    helperProcess_ = std::move(process);
    Log::write(component, "Helper started (PID " + format::integer(helperProcess_->processIdentifier()) + ")");
}

void NightShiftManager::stopHelper() {
    if (!wroteControlFile_ && !helperProcess_) return;
    if (controlFile_) {
        files_.writeAtomically(*controlFile_, NightLightControlFile::encode(NightLightControlFile::stopValue));
    }
    if (isHelperRunning()) {
        helperProcess_->terminate();
        Log::write(component, "Helper stopped");
    }
    helperProcess_.reset();
    if (controlFile_ && files_.remove(*controlFile_)) wroteControlFile_ = false;
}

void NightShiftManager::restoreState() {
    stopHelper();
    if (!isAvailable_ || !savedState_) return;
    const NightShiftState state = *savedState_;
    bool restored = false;
    if (!state.platformSettings.empty()) {
        restored = client_.restoreSettings(state.platformSettings);
    } else if (state.strength > 0.0f) {
        restored = client_.setStrength(state.strength, true);
        restored = client_.setEnabled(true) && restored;
    } else {
        restored = client_.setStrength(0.0f, true);
        restored = client_.setEnabled(false) && restored;
    }
    Log::write(component, "Restored state — strength: " + strengthText(state.strength));
    savedState_.reset();
    if (!restored) {
        Log::write(component, "The restore did not go through — the saved state stays on disk for the next start");
        return;
    }
    if (auto diskPath = NightLightControlFile::savedStatePath(files_)) files_.remove(*diskPath);
}

}  // namespace solvara
