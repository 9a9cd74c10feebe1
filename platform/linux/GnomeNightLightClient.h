#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/NightLightClient.h"

struct _GSettings;

namespace solvara {

// GNOME's night light through its colour plugin's settings (GSettings schema
// org.gnome.settings-daemon.plugins.color); gnome-settings-daemon follows the keys at once.
//
// Strength maps onto the night-light temperature: 0 is 6500 K (neutral) or the feature off,
// 1 is 1700 K. GSettings has no "show without storing", so setStrength() stores either way.
// showTemperature() pins the schedule to a full day (from 0:00 to 0:00, which the daemon
// reads as always) so the temperature shows whatever the hour. An absent schema leaves the
// client unavailable without a word (most desktops simply are not GNOME), and an unavailable
// client answers false or empty without logging either.
class GnomeNightLightClient : public NightLightClient {
public:
    static constexpr const char* schemaId = "org.gnome.settings-daemon.plugins.color";
    static constexpr int neutralKelvin = 6500;
    static constexpr int warmestKelvin = 1700;
    static constexpr int coolestWarmKelvin = 4700;

    // Looks the schema up in the default schema sources, or only in `schemaDirectory` (a
    // directory with a compiled gschemas.compiled) when given.
    explicit GnomeNightLightClient(std::optional<std::string> schemaDirectory = std::nullopt);
    ~GnomeNightLightClient() override;
    GnomeNightLightClient(const GnomeNightLightClient&) = delete;
    GnomeNightLightClient& operator=(const GnomeNightLightClient&) = delete;

    bool isAvailable() const override;
    std::optional<float> strength() override;
    bool setStrength(float strength, bool commit) override;
    bool setEnabled(bool enabled) override;
    std::optional<std::string> captureSettings() override;
    bool restoreSettings(std::string_view captured) override;
    bool showTemperature(int kelvin) override;

private:
    struct SettingsUnref {
        void operator()(_GSettings* settings) const;
    };

    bool refused(const char* member, const std::string& why);
    bool finishWrites(const char* member, bool allWritten);

    std::unique_ptr<_GSettings, SettingsUnref> settings_;
    std::set<std::string> refusalsLogged_;
};

}  // namespace solvara
