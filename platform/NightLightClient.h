#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace solvara {

// The desktop's own night light (its built-in colour-warmth feature: GNOME's colour plugin on
// Linux). The program reads and puts back the user's settings in process; the night-light
// helper (a separate process) drives the colour through showTemperature(). Main thread only.
//
// Every member but isAvailable() answers false or empty when the client is unavailable or the
// desktop refuses; nothing is fatal, and the implementation logs a refusal once per member.
class NightLightClient {
public:
    virtual ~NightLightClient() = default;

    // True when the desktop's night light was found and can be both read and changed. Decided
    // once at construction; a missing desktop service leaves it false (logged once).
    virtual bool isAvailable() const = 0;

    // The night light's current strength, 0 (off or neutral) to 1 (warmest it goes). Empty
    // when it cannot be read.
    virtual std::optional<float> strength() = 0;

    // Sets the strength (clamped to 0...1); with `commit` the value is also stored as the
    // user's setting, without it only shown. False when refused.
    virtual bool setStrength(float strength, bool commit) = 0;

    // Switches the night light on or off. False when refused.
    virtual bool setEnabled(bool enabled) = 0;

    // Every setting that showTemperature() may change (on/off, temperature, schedule...) as one
    // opaque text that restoreSettings() of the same implementation reads back. Empty when any
    // of them cannot be read.
    virtual std::optional<std::string> captureSettings() = 0;

    // Writes back exactly the settings captured in `captured`. False (nothing or only part
    // written, logged) when the text is not a capture of this implementation or a write fails.
    virtual bool restoreSettings(std::string_view captured) = 0;

    // Makes the night light show `kelvin` now and keep showing it, whatever its own schedule
    // says. Values outside the desktop's reachable range are clamped to it (GNOME: 1700...4700 K
    // warm limit, and a value at or above 6500 K shows neutral). False when refused.
    virtual bool showTemperature(int kelvin) = 0;
};

}  // namespace solvara
