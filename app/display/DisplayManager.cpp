#include "app/display/DisplayManager.h"

#include <algorithm>

#include "core/foundation/Format.h"
#include "core/foundation/Log.h"

namespace solvara {

namespace {

constexpr std::string_view component = "DisplayManager";

// A table whose every entry is 0 (or not a number) blacks the screen out, and the user could not
// see to undo it.
bool isBlack(const GammaRampGenerator::GammaRamp& ramp) {
    float largest = 0.0f;
    for (const auto* channel : {&ramp.red, &ramp.green, &ramp.blue}) {
        for (float v : *channel) {
            if (v > largest) largest = v;
        }
    }
    return !(largest > 0.0f);
}

TransferFormula formulaFor(const GammaRampGenerator::GammaRamp& ramp) {
    // With linear ramps minimum + (maximum - minimum) x input reproduces the table exactly,
    // falling ramps included.
    TransferFormula f;
    f.redMin = ramp.red.front();
    f.redMax = ramp.red.back();
    f.greenMin = ramp.green.front();
    f.greenMax = ramp.green.back();
    f.blueMin = ramp.blue.front();
    f.blueMax = ramp.blue.back();
    f.redGamma = f.greenGamma = f.blueGamma = 1.0f;
    return f;
}

}  // namespace

DisplayManager::DisplayManager(const Platform& platform)
    : displayTransfer_(platform.displayTransfer),
      screens_(platform.screens),
      runLoop_(platform.runLoop),
      nightShiftManager_(platform),
      colorOverlay_(platform.screens),
      accessibilityFilter_(platform) {}

const DisplayManager::GammaRamp& DisplayManager::identityRamp() {
    static const GammaRamp identity = [] {
        GammaRamp ramp;
        for (std::size_t i = 0; i < GammaRampGenerator::size; ++i) {
            ramp.red[i] = static_cast<float>(i) / 255.0f;
        }
        ramp.green = ramp.red;
        ramp.blue = ramp.red;
        return ramp;
    }();
    return identity;
}

DisplayManager::GammaRamp DisplayManager::rampFor(std::int64_t kelvin, double brightness, ScreenEffect effect) const {
    switch (effect) {
        case ScreenEffect::invert:
            return gammaGenerator_.generateInvertedRamp(kelvin, brightness);
        case ScreenEffect::grayscale:
            return gammaGenerator_.generateGrayscaleRamp(kelvin, brightness);
        case ScreenEffect::none:
            break;
    }
    return gammaGenerator_.generateRamp(kelvin, brightness);
}

// --- Applying a colour temperature -----------------------------------------------------

void DisplayManager::applyColorTemperature(std::int64_t kelvin, ScreenEffect effect, GammaAPI method) {
    currentKelvin_ = kelvin;
    currentScreenEffect_ = effect;
    currentGammaAPI_ = method;

    if (method == GammaAPI::byOverlay) {
        stopGammaWatchdog();
        restoreOriginalGamma();
        nightShiftManager_.stopHelper();
        didClearGammaForNightShift_ = false;
        if (effect != ScreenEffect::none) writeRampToAllDisplays(rampFor(kelvin, 1.0, effect), GammaAPI::byTable);
        colorOverlay_.applyColorTemperature(kelvin);
    } else if (method == GammaAPI::byNightShift && nightShiftManager_.isAvailable() && nightShiftManager_.helperPath()) {
        stopGammaWatchdog();
        if (!didClearGammaForNightShift_) {
            didClearGammaForNightShift_ = true;
            restoreOriginalGamma();
        }
        colorOverlay_.deactivate();
        // A control file that cannot be written or a helper that cannot start must not pass for
        // success: this application falls back to tables.
        if (!applyThroughNightShift(kelvin, effect)) {
            applyByGammaTables(kelvin, effect, GammaAPI::byTable);
            // While the helper keeps failing, the next application must not put the system tables
            // back before writing ours again (a flash every tick); once it works, the night light
            // clears these tables as it clears any it no longer needs.
            didClearGammaForNightShift_ = true;
            nightShiftTablesWritten_ = true;
        }
    } else {
        applyByGammaTables(kelvin, effect, method);
    }
    forgetGrayscaleOverlays();
}

bool DisplayManager::applyThroughNightShift(std::int64_t kelvin, ScreenEffect effect) {
    const auto answered = nightShiftManager_.applyColorTemperature(kelvin);
    if (!answered) return false;
    if (effect == ScreenEffect::none && kelvin >= NightShiftManager::supplementaryThreshold) {
        // The night light alone carries the colour; a table left from a warmer target or an
        // effect would otherwise stay (an inverted screen staying inverted).
        if (nightShiftTablesWritten_) restoreOriginalGamma();
        return true;
    }
    const std::int64_t rampKelvin = effect == ScreenEffect::none ? *answered : kelvin;
    writeRampToAllDisplays(rampFor(rampKelvin, 1.0, effect), GammaAPI::byTable);
    nightShiftTablesWritten_ = true;
    return true;
}

void DisplayManager::applyByGammaTables(std::int64_t kelvin, ScreenEffect effect, GammaAPI method) {
    colorOverlay_.deactivate();
    nightShiftManager_.stopHelper();
    didClearGammaForNightShift_ = false;
    nightShiftTablesWritten_ = false;
    applyGammaRampsToAllDisplays(kelvin, effect, method);
    startGammaWatchdog();
}

void DisplayManager::applyPerDisplayTemperatures(std::int64_t kelvin, const PerDisplaySettingsMap& perDisplaySettings,
                                                 ScreenEffect effect, GammaAPI method) {
    WriteBatch batch(displayTransfer_);
    std::array<DisplayId, DisplayTransfer::maxDisplays> ids{};
    const std::size_t count = displayTransfer_.activeDisplays(ids);
    for (std::size_t i = 0; i < count; ++i) {
        const DisplayId id = ids[i];
        std::int64_t displayKelvin = kelvin;
        double brightness = 1.0;
        if (auto it = perDisplaySettings.find(id); it != perDisplaySettings.end()) {
            const PerDisplaySettings& record = it->second;
            if (!record.isEnabled) {
                resetGammaForDisplay(id);
                continue;
            }
            displayKelvin = record.kelvinOverride.value_or(kelvin);
            brightness = record.brightnessOverride.value_or(1.0);
        }
        applyRampToDisplay(id, rampFor(displayKelvin, brightness, effect), method);
    }
    forgetGrayscaleOverlays();
}

void DisplayManager::resetToDefault() {
    stopGammaWatchdog();
    restoreOriginalGamma();
    nightShiftManager_.stopHelper();
    colorOverlay_.deactivate();
    didClearGammaForNightShift_ = false;
    currentKelvin_ = neutralKelvin;
    forgetGrayscaleOverlays();
}

void DisplayManager::restoreDisplays() {
    // The user's own settings first, so that the tables reset last are not overwritten by a
    // night light or filter coming back.
    accessibilityFilter_.restoreState();
    nightShiftManager_.restoreState();
    colorOverlay_.deactivate();
    resetToDefault();
}

std::vector<PerDisplaySettings> DisplayManager::detectDisplays() {
    std::array<DisplayId, DisplayTransfer::maxDisplays> ids{};
    const std::size_t count = displayTransfer_.activeDisplays(ids);
    std::vector<PerDisplaySettings> result;
    if (count == 0) return result;
    const auto screens = screens_.screens();
    result.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        PerDisplaySettings record;
        record.displayID = ids[i];
        auto screen = std::find_if(screens.begin(), screens.end(),
                                   [id = ids[i]](const ScreenInfo& s) { return s.displayId == id; });
        record.displayName = screen != screens.end() ? screen->localizedName
                                                     : "Display " + format::integer(static_cast<std::int64_t>(i) + 1);
        record.isEnabled = true;
        result.push_back(std::move(record));
    }
    return result;
}

// --- Gamma tables ----------------------------------------------------------------------

bool DisplayManager::transfer(DisplayId display, const GammaRamp& ramp, bool byFormula) {
    if (byFormula) return displayTransfer_.setTransferByFormula(display, formulaFor(ramp));
    return displayTransfer_.setTransferByTable(display, ramp.red, ramp.green, ramp.blue);
}

void DisplayManager::applyRampToDisplay(DisplayId display, const GammaRamp& ramp, GammaAPI method) {
    const bool byFormula = method == GammaAPI::byFormula;
    const GammaRamp* chosen = &ramp;
    if (isBlack(ramp)) {
        Log::write(component, "Refusing an all-black table for display " + format::integer(display) +
                                  " — writing the identity table instead");
        chosen = &identityRamp();
    }
    // Remembered even when the display refuses it, so the watchdog tries the same ramp again.
    auto& slot = written_[display];
    slot.ramp = *chosen;
    slot.byFormula = byFormula;
    transfer(display, *chosen, byFormula);
}

void DisplayManager::writeRampToAllDisplays(const GammaRamp& ramp, GammaAPI method) {
    WriteBatch batch(displayTransfer_);
    std::array<DisplayId, DisplayTransfer::maxDisplays> ids{};
    const std::size_t count = displayTransfer_.activeDisplays(ids);
    for (std::size_t i = 0; i < count; ++i) applyRampToDisplay(ids[i], ramp, method);
}

void DisplayManager::applyGammaRampsToAllDisplays(std::int64_t kelvin, ScreenEffect effect, GammaAPI method) {
    writeRampToAllDisplays(rampFor(kelvin, 1.0, effect), method);
}

void DisplayManager::resetGammaForDisplay(DisplayId display) {
    applyRampToDisplay(display, identityRamp(), GammaAPI::byTable);
}

void DisplayManager::restoreOriginalGamma() {
    displayTransfer_.restoreOriginalGamma();
    written_.clear();
    nightShiftTablesWritten_ = false;
}

// --- Watchdog --------------------------------------------------------------------------

void DisplayManager::startGammaWatchdog() {
    if (gammaWatchdog_) return;
    // The timer is owned: destroying the manager cancels it, so a firing never outlives it.
    gammaWatchdog_ = Timer::repeating(runLoop_, watchdogInterval, [this] { reassertGamma(); });
}

void DisplayManager::stopGammaWatchdog() { gammaWatchdog_.invalidate(); }

void DisplayManager::reassertGamma() {
    // Each display gets back exactly what it was last given (per-display ramps included); a
    // display seen for the first time gets the current global values. One batch, so a firing
    // costs one round trip to the display server whatever the number of displays.
    WriteBatch batch(displayTransfer_);
    std::array<DisplayId, DisplayTransfer::maxDisplays> ids{};
    const std::size_t count = displayTransfer_.activeDisplays(ids);
    for (std::size_t i = 0; i < count; ++i) {
        auto it = written_.find(ids[i]);
        if (it != written_.end()) {
            transfer(ids[i], it->second.ramp, it->second.byFormula);
        } else {
            applyRampToDisplay(ids[i], rampFor(currentKelvin_, 1.0, currentScreenEffect_), currentGammaAPI_);
        }
    }
}

void DisplayManager::forgetGrayscaleOverlays() { grayscaleOverlays_.orderOutAll(); }

}  // namespace solvara
