#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "app/display/AccessibilityColorFilter.h"
#include "app/display/ColorOverlay.h"
#include "app/display/DisplayTypes.h"
#include "app/display/NightShiftManager.h"
#include "app/display/PerDisplaySettings.h"
#include "app/display/ScreenWindowMap.h"
#include "core/color/GammaRampGenerator.h"
#include "platform/Platform.h"
#include "platform/Timer.h"

namespace solvara {

// The one way the rest of the program changes what the displays show. Given a colour
// temperature, a screen effect and an output method, it picks the back end (gamma tables by
// table or by formula, the desktop night light through its helper, or tint windows), switches
// the others off, and keeps gamma tables in place with a 2-second watchdog. It owns the night
// light manager, the colour overlay and the colour-filter guard, which the shutdown reaches
// through it. Main thread only; nothing is reported to the caller.
class DisplayManager {
public:
    using GammaRamp = GammaRampGenerator::GammaRamp;

    static constexpr std::int64_t neutralKelvin = 6500;
    static constexpr double watchdogInterval = 2.0;

    // Creates, in this order, the night light manager (which saves the user's night-light
    // state at once), the colour overlay and the colour-filter guard. Changes no display.
    explicit DisplayManager(const Platform& platform);

    DisplayManager(const DisplayManager&) = delete;
    DisplayManager& operator=(const DisplayManager&) = delete;

    // Shows `kelvin` with `effect` on every display by `method`, remembering all three first.
    // Night Shift falls back to gamma tables by table when the night light cannot be driven.
    void applyColorTemperature(std::int64_t kelvin, ScreenEffect effect, GammaAPI method);

    // One ramp per active display from that display's record: none gives `kelvin` at full
    // brightness, a disabled record the identity table, otherwise the record's overrides.
    // Remembers nothing global and leaves the overlay, the helper and the watchdog alone (a
    // running watchdog re-asserts these per-display ramps).
    void applyPerDisplayTemperatures(std::int64_t kelvin, const PerDisplaySettingsMap& perDisplaySettings,
                                     ScreenEffect effect, GammaAPI method);

    // Every display back to its own tables, no helper, no tint, no watchdog; the current
    // kelvin goes back to 6500 (effect and method stay). Does not restore the user's night
    // light or colour filter: restoreDisplays() does. Repeatable.
    void resetToDefault();

    // Puts the displays back as the user had them before the program touched them: the saved
    // colour filter, then the saved night light, then no tint windows, then resetToDefault().
    // The one way back shared by the shutdown, the emergency reset and the reset to defaults.
    // The filter and night light are restored once (their saved states are used up).
    void restoreDisplays();

    // The active displays (at most 16) in the platform's order with default settings, named
    // after their screen, or "Display N" (N counted from 1) when no screen describes them.
    std::vector<PerDisplaySettings> detectDisplays();

    // The gamma-table operations the watchdog and the applications share.
    void applyRampToDisplay(DisplayId display, const GammaRamp& ramp, GammaAPI method);
    void applyGammaRampsToAllDisplays(std::int64_t kelvin, ScreenEffect effect, GammaAPI method);
    void resetGammaForDisplay(DisplayId display);
    void startGammaWatchdog();

    static const GammaRamp& identityRamp();
    // The ramp for `effect` at `kelvin` and `brightness`.
    GammaRamp rampFor(std::int64_t kelvin, double brightness, ScreenEffect effect) const;

    NightShiftManager& nightShiftManager() { return nightShiftManager_; }
    ColorOverlay& colorOverlay() { return colorOverlay_; }
    AccessibilityColorFilter& accessibilityFilter() { return accessibilityFilter_; }

    std::int64_t currentKelvin() const { return currentKelvin_; }
    ScreenEffect currentScreenEffect() const { return currentScreenEffect_; }
    GammaAPI currentGammaAPI() const { return currentGammaAPI_; }
    bool didClearGammaForNightShift() const { return didClearGammaForNightShift_; }
    bool isGammaWatchdogRunning() const { return gammaWatchdog_.isValid(); }

private:
    // What was last written to one display, so the watchdog puts back exactly that.
    struct WrittenRamp {
        GammaRamp ramp;
        bool byFormula = false;
    };

    bool applyThroughNightShift(std::int64_t kelvin, ScreenEffect effect);
    void applyByGammaTables(std::int64_t kelvin, ScreenEffect effect, GammaAPI method);
    void writeRampToAllDisplays(const GammaRamp& ramp, GammaAPI method);
    void restoreOriginalGamma();
    void stopGammaWatchdog();
    void reassertGamma();
    void forgetGrayscaleOverlays();
    bool transfer(DisplayId display, const GammaRamp& ramp, bool byFormula);

    DisplayTransfer& displayTransfer_;
    Screens& screens_;
    RunLoop& runLoop_;

    GammaRampGenerator gammaGenerator_;
    NightShiftManager nightShiftManager_;
    ColorOverlay colorOverlay_;
    AccessibilityColorFilter accessibilityFilter_;
    std::int64_t currentKelvin_ = neutralKelvin;
    ScreenEffect currentScreenEffect_ = ScreenEffect::none;
    GammaAPI currentGammaAPI_ = GammaAPI::byTable;
    ScreenWindowMap grayscaleOverlays_;
    bool didClearGammaForNightShift_ = false;
    // Tables written with the Night Shift method (below 2700 K or for an effect), to be
    // removed once they are no longer wanted.
    bool nightShiftTablesWritten_ = false;
    std::map<DisplayId, WrittenRamp> written_;
    Timer gammaWatchdog_;
};

}  // namespace solvara
