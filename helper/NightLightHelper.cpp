#include "helper/NightLightHelper.h"

#include "app/display/NightLightControlFile.h"
#include "app/display/NightShiftManager.h"
#include "core/foundation/Format.h"
#include "core/foundation/Log.h"

namespace solvara {

namespace {

constexpr std::string_view component = "NightLightHelper";

}  // namespace

NightLightHelper::NightLightHelper(NightLightClient& client, Files& files)
    : client_(client), files_(files), controlFile_(NightLightControlFile::path(files)) {}

void NightLightHelper::start() {
    if (!client_.isAvailable()) Log::write(component, "The desktop night light is unavailable — nothing to drive");
    if (!controlFile_) Log::write(component, "No private runtime directory — no control file to follow");
    startSettings_ = client_.captureSettings();
}

void NightLightHelper::poll() {
    if (!controlFile_) return;
    const auto content = files_.read(*controlFile_, NightLightControlFile::maxBytes);
    if (!content) return;
    const auto kelvin = NightLightControlFile::parse(*content);
    if (!kelvin) {
        if (lastIgnored_ != *content) {
            Log::write(component, "Ignoring a control file that does not hold a colour temperature");
            lastIgnored_ = *content;
        }
        return;
    }
    lastIgnored_.reset();
    if (*kelvin == NightLightControlFile::stopValue) {
        finish();
        return;
    }
    if (shownKelvin_ == *kelvin) return;
    changed_ = true;  // even a refused write may have changed part of the settings
    if (!client_.showTemperature(static_cast<int>(*kelvin))) {
        // Tried again at every poll, said once.
        if (refusedKelvin_ != *kelvin) Log::write(component, "The desktop refused " + format::integer(*kelvin) + " K");
        refusedKelvin_ = *kelvin;
        shownKelvin_.reset();
        return;
    }
    refusedKelvin_.reset();
    shownKelvin_ = *kelvin;
}

std::optional<std::string> NightLightHelper::settingsToRestore() {
    if (auto path = NightLightControlFile::savedStatePath(files_)) {
        if (auto document = files_.read(*path, NightLightControlFile::maxSavedStateBytes)) {
            auto saved = NightShiftManager::NightShiftState::decode(*document);
            if (saved && !saved->platformSettings.empty()) return saved->platformSettings;
        }
    }
    return startSettings_;
}

void NightLightHelper::finish() {
    shownKelvin_.reset();
    if (!changed_) return;
    changed_ = false;
    const auto settings = settingsToRestore();
    if (!settings) {
        Log::write(component, "No saved settings to put back — switching the night light off");
        client_.setEnabled(false);
        return;
    }
    if (!client_.restoreSettings(*settings)) Log::write(component, "Could not put the night light back");
}

int NightLightHelper::run(const std::function<bool()>& keepRunning, const std::function<void()>& wait) {
    start();
    while (keepRunning()) {
        poll();
        wait();
    }
    finish();
    return 0;
}

}  // namespace solvara
