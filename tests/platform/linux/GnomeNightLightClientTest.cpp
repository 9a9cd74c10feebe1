#include "platform/linux/GnomeNightLightClient.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>

#include <gio/gio.h>
#include <gtest/gtest.h>

#include "tests/support/LogCapture.h"

namespace solvara {
namespace {

constexpr const char* installedSchemas = "/usr/share/glib-2.0/schemas";

struct SettingsUnref {
    void operator()(GSettings* settings) const { g_object_unref(settings); }
};

// Reads and writes the same keys the way the Settings panel would, on the memory back end
// shared by the whole process.
class GnomeNightLightClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("GSETTINGS_BACKEND", "memory", 1);
        if (!std::filesystem::exists(std::string(installedSchemas) + "/gschemas.compiled")) {
            GTEST_SKIP() << "no compiled GSettings schemas (Debian gnome-settings-daemon-common)";
        }
        GSettingsSchemaSource* source =
            g_settings_schema_source_new_from_directory(installedSchemas, nullptr, TRUE, nullptr);
        ASSERT_NE(source, nullptr);
        GSettingsSchema* schema = g_settings_schema_source_lookup(source, GnomeNightLightClient::schemaId, TRUE);
        g_settings_schema_source_unref(source);
        if (!schema) GTEST_SKIP() << "the GNOME colour plugin schema is not installed";
        user.reset(g_settings_new_full(schema, nullptr, nullptr));
        g_settings_schema_unref(schema);
        for (const char* key : {"night-light-enabled", "night-light-temperature", "night-light-schedule-automatic",
                                "night-light-schedule-from", "night-light-schedule-to"}) {
            g_settings_reset(user.get(), key);
        }
    }

    bool isUserSet(const char* key) {
        GVariant* value = g_settings_get_user_value(user.get(), key);
        if (value) g_variant_unref(value);
        return value != nullptr;
    }

    std::unique_ptr<GSettings, SettingsUnref> user;
};

TEST_F(GnomeNightLightClientTest, WithoutTheSchemaItIsUnavailableAndSilent) {
    testing::LogCapture log;
    // A folder of this run's own: another run of the tests beside this one removes its own.
    std::string empty = (std::filesystem::temp_directory_path() / "solvara-no-schemas-XXXXXX").string();
    ASSERT_NE(mkdtemp(empty.data()), nullptr);
    GnomeNightLightClient client(empty);
    EXPECT_FALSE(client.isAvailable());
    EXPECT_FALSE(client.strength());
    EXPECT_FALSE(client.captureSettings());
    EXPECT_FALSE(client.setStrength(0.5f, true));
    EXPECT_FALSE(client.setEnabled(true));
    EXPECT_FALSE(client.showTemperature(3400));
    EXPECT_FALSE(client.restoreSettings("{}"));
    EXPECT_TRUE(log.lines.empty());
    std::filesystem::remove(empty);
}

TEST_F(GnomeNightLightClientTest, DrivesATemperatureAndRestoresExactlyWhatWasThere) {
    GnomeNightLightClient client(installedSchemas);
    ASSERT_TRUE(client.isAvailable());
    // The user's own choices on three keys; the schedule's start stays at its default.
    g_settings_set_boolean(user.get(), "night-light-enabled", TRUE);
    g_settings_set_uint(user.get(), "night-light-temperature", 3912);
    g_settings_set_double(user.get(), "night-light-schedule-to", 7.1);

    const auto captured = client.captureSettings();
    ASSERT_TRUE(captured);

    struct Case {
        int kelvin;
        bool enabled;
        guint shown;
    };
    for (const Case c : {Case{3400, true, 3400}, Case{1200, true, 1700}, Case{5000, true, 4700},
                         Case{4700, true, 4700}, Case{6500, false, 4700}, Case{9000, false, 4700}}) {
        EXPECT_TRUE(client.showTemperature(c.kelvin)) << c.kelvin;
        EXPECT_EQ(g_settings_get_boolean(user.get(), "night-light-enabled"), c.enabled) << c.kelvin;
        EXPECT_EQ(g_settings_get_uint(user.get(), "night-light-temperature"), c.shown) << c.kelvin;
        if (c.enabled) {
            // Pinned to the whole day so the daemon's schedule cannot switch it off.
            EXPECT_FALSE(g_settings_get_boolean(user.get(), "night-light-schedule-automatic"));
            EXPECT_EQ(g_settings_get_double(user.get(), "night-light-schedule-from"), 0.0);
            EXPECT_EQ(g_settings_get_double(user.get(), "night-light-schedule-to"), 0.0);
        }
    }

    EXPECT_TRUE(client.restoreSettings(*captured));
    EXPECT_TRUE(g_settings_get_boolean(user.get(), "night-light-enabled"));
    EXPECT_EQ(g_settings_get_uint(user.get(), "night-light-temperature"), 3912u);
    EXPECT_EQ(g_settings_get_double(user.get(), "night-light-schedule-to"), 7.1);
    // Keys that were at their defaults are back at their defaults, not merely equal to them.
    EXPECT_FALSE(isUserSet("night-light-schedule-automatic"));
    EXPECT_FALSE(isUserSet("night-light-schedule-from"));
    EXPECT_TRUE(isUserSet("night-light-schedule-to"));
}

TEST_F(GnomeNightLightClientTest, RefusesCapturesItDidNotMakeAndChangesNothing) {
    testing::LogCapture log;
    GnomeNightLightClient client(installedSchemas);
    ASSERT_TRUE(client.isAvailable());
    g_settings_set_uint(user.get(), "night-light-temperature", 3000);
    for (const char* bad : {"", "not json", "[]", R"({"format":"other/1","keys":{}})",
                            R"({"format":"gnome-night-light/1"})",
                            R"({"format":"gnome-night-light/1","keys":{"night-light-temperature":"true"}})",
                            R"({"format":"gnome-night-light/1","keys":{"night-light-temperature":7}})"}) {
        EXPECT_FALSE(client.restoreSettings(bad)) << bad;
    }
    EXPECT_EQ(g_settings_get_uint(user.get(), "night-light-temperature"), 3000u);
    EXPECT_EQ(log.lines.size(), 7u);
}

TEST_F(GnomeNightLightClientTest, StrengthIsTheTemperaturesDistanceFromNeutral) {
    GnomeNightLightClient client(installedSchemas);
    ASSERT_TRUE(client.isAvailable());
    EXPECT_EQ(client.strength(), 0.0f);  // off by default

    ASSERT_TRUE(client.setEnabled(true));
    struct Case {
        float strength;
        guint kelvin;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const Case c : {Case{0.0f, 6500}, Case{1.0f, 1700}, Case{0.5f, 4100}, Case{2.0f, 1700},
                         Case{-1.0f, 6500}, Case{nan, 6500}}) {
        EXPECT_TRUE(client.setStrength(c.strength, true));
        EXPECT_EQ(g_settings_get_uint(user.get(), "night-light-temperature"), c.kelvin) << c.strength;
    }
    g_settings_set_uint(user.get(), "night-light-temperature", 4100);
    EXPECT_FLOAT_EQ(*client.strength(), 0.5f);
    g_settings_set_uint(user.get(), "night-light-temperature", 1000);  // below the warm limit
    EXPECT_FLOAT_EQ(*client.strength(), 1.0f);
    ASSERT_TRUE(client.setEnabled(false));
    EXPECT_EQ(client.strength(), 0.0f);
}

}  // namespace
}  // namespace solvara
