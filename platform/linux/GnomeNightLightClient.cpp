#include "platform/linux/GnomeNightLightClient.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <gio/gio.h>
#include <nlohmann/json.hpp>

#include "core/foundation/Json.h"
#include "core/foundation/Log.h"

namespace solvara {

namespace {

constexpr const char* component = "GnomeNightLightClient";
constexpr const char* captureFormat = "gnome-night-light/1";

constexpr const char* enabledKey = "night-light-enabled";
constexpr const char* temperatureKey = "night-light-temperature";
constexpr const char* automaticKey = "night-light-schedule-automatic";
constexpr const char* fromKey = "night-light-schedule-from";
constexpr const char* toKey = "night-light-schedule-to";

// Every key showTemperature() may change, with the type the schema must give it.
struct Key {
    const char* name;
    const char* type;
};
constexpr std::array<Key, 5> drivenKeys{{
    {enabledKey, "b"},
    {temperatureKey, "u"},
    {automaticKey, "b"},
    {fromKey, "d"},
    {toKey, "d"},
}};

struct VariantUnref {
    void operator()(GVariant* value) const { g_variant_unref(value); }
};
using VariantPtr = std::unique_ptr<GVariant, VariantUnref>;

struct SchemaUnref {
    void operator()(GSettingsSchema* schema) const { g_settings_schema_unref(schema); }
};
struct SourceUnref {
    void operator()(GSettingsSchemaSource* source) const { g_settings_schema_source_unref(source); }
};

bool schemaHasDrivenKeys(GSettingsSchema* schema) {
    for (const Key& key : drivenKeys) {
        if (!g_settings_schema_has_key(schema, key.name)) return false;
        GSettingsSchemaKey* schemaKey = g_settings_schema_get_key(schema, key.name);
        const bool typed = g_variant_type_equal(g_settings_schema_key_get_value_type(schemaKey),
                                                G_VARIANT_TYPE(key.type));
        g_settings_schema_key_unref(schemaKey);
        if (!typed) return false;
    }
    return true;
}

}  // namespace

void GnomeNightLightClient::SettingsUnref::operator()(_GSettings* settings) const { g_object_unref(settings); }

GnomeNightLightClient::GnomeNightLightClient(std::optional<std::string> schemaDirectory) {
    std::unique_ptr<GSettingsSchemaSource, SourceUnref> own;
    GSettingsSchemaSource* source = nullptr;
    if (schemaDirectory) {
        own.reset(g_settings_schema_source_new_from_directory(schemaDirectory->c_str(), nullptr, TRUE, nullptr));
        source = own.get();
    } else {
        source = g_settings_schema_source_get_default();
    }
    if (!source) return;
    std::unique_ptr<GSettingsSchema, SchemaUnref> schema(g_settings_schema_source_lookup(source, schemaId, TRUE));
    if (!schema) return;
    if (!schemaHasDrivenKeys(schema.get())) {
        Log::write(component, "The night-light settings lack keys this program drives; night light unavailable");
        return;
    }
    std::unique_ptr<_GSettings, SettingsUnref> settings(g_settings_new_full(schema.get(), nullptr, nullptr));
    for (const Key& key : drivenKeys) {
        if (!g_settings_is_writable(settings.get(), key.name)) {
            Log::write(component, std::string("The night-light setting ") + key.name +
                                      " is locked; night light unavailable");
            return;
        }
    }
    settings_ = std::move(settings);
}

GnomeNightLightClient::~GnomeNightLightClient() = default;

bool GnomeNightLightClient::isAvailable() const { return settings_ != nullptr; }

bool GnomeNightLightClient::refused(const char* member, const std::string& why) {
    if (refusalsLogged_.insert(member).second) Log::write(component, std::string(member) + ": " + why);
    return false;
}

bool GnomeNightLightClient::finishWrites(const char* member, bool allWritten) {
    // The dconf back end writes asynchronously; the daemon must see the change now.
    g_settings_sync();
    return allWritten ? true : refused(member, "the desktop refused a write");
}

std::optional<float> GnomeNightLightClient::strength() {
    if (!settings_) return std::nullopt;
    if (!g_settings_get_boolean(settings_.get(), enabledKey)) return 0.0f;
    const double kelvin = g_settings_get_uint(settings_.get(), temperatureKey);
    const double fraction = (neutralKelvin - kelvin) / static_cast<double>(neutralKelvin - warmestKelvin);
    return static_cast<float>(std::clamp(fraction, 0.0, 1.0));
}

bool GnomeNightLightClient::setStrength(float strength, bool /*commit*/) {
    if (!settings_) return false;
    const double fraction = std::isnan(strength) ? 0.0 : std::clamp(static_cast<double>(strength), 0.0, 1.0);
    const auto kelvin =
        static_cast<guint>(std::lround(neutralKelvin - fraction * (neutralKelvin - warmestKelvin)));
    return finishWrites("setStrength", g_settings_set_uint(settings_.get(), temperatureKey, kelvin));
}

bool GnomeNightLightClient::setEnabled(bool enabled) {
    if (!settings_) return false;
    return finishWrites("setEnabled", g_settings_set_boolean(settings_.get(), enabledKey, enabled));
}

std::optional<std::string> GnomeNightLightClient::captureSettings() {
    if (!settings_) return std::nullopt;
    // A key still at its default is captured as null and restored by a reset, so that the
    // user's settings end up exactly as they were, defaults included.
    nlohmann::json keys = nlohmann::json::object();
    for (const Key& key : drivenKeys) {
        VariantPtr value(g_settings_get_user_value(settings_.get(), key.name));
        if (!value) {
            keys[key.name] = nullptr;
            continue;
        }
        gchar* text = g_variant_print(value.get(), FALSE);
        keys[key.name] = text;
        g_free(text);
    }
    return nlohmann::json{{"format", captureFormat}, {"keys", keys}}.dump();
}

bool GnomeNightLightClient::restoreSettings(std::string_view captured) {
    if (!settings_) return false;
    const nlohmann::json document = json::parse(captured).value_or(nlohmann::json());
    auto format = document.is_object() ? document.find("format") : document.end();
    auto keysEntry = document.is_object() ? document.find("keys") : document.end();
    if (!document.is_object() || format == document.end() || !format->is_string() ||
        format->get<std::string>() != captureFormat || keysEntry == document.end() || !keysEntry->is_object()) {
        Log::write(component, "restoreSettings: not a night-light capture of this program; nothing restored");
        return false;
    }
    const nlohmann::json& keys = *keysEntry;
    // Parse everything before writing anything: a bad capture changes nothing.
    std::array<VariantPtr, drivenKeys.size()> values;
    std::array<bool, drivenKeys.size()> reset{};
    for (std::size_t i = 0; i < drivenKeys.size(); ++i) {
        const Key& key = drivenKeys[i];
        auto entry = keys.find(key.name);
        if (entry == keys.end() || entry->is_null()) {
            reset[i] = true;
            continue;
        }
        if (!entry->is_string()) {
            Log::write(component, "restoreSettings: malformed capture; nothing restored");
            return false;
        }
        const std::string text = entry->get<std::string>();
        GVariant* parsed = g_variant_parse(G_VARIANT_TYPE(key.type), text.c_str(), nullptr, nullptr, nullptr);
        if (!parsed) {
            Log::write(component, "restoreSettings: malformed capture; nothing restored");
            return false;
        }
        values[i].reset(g_variant_ref_sink(parsed));
    }
    bool allWritten = true;
    // The on/off switch (index 0) goes last, so the night light never shows a half-restored state.
    for (std::size_t i : {1u, 2u, 3u, 4u, 0u}) {
        const Key& key = drivenKeys[i];
        if (reset[i]) {
            g_settings_reset(settings_.get(), key.name);
        } else if (!g_settings_set_value(settings_.get(), key.name, values[i].get())) {
            allWritten = false;
        }
    }
    return finishWrites("restoreSettings", allWritten);
}

bool GnomeNightLightClient::showTemperature(int kelvin) {
    if (!settings_) return false;
    GSettings* settings = settings_.get();
    if (kelvin >= neutralKelvin) {
        return finishWrites("showTemperature", g_settings_set_boolean(settings, enabledKey, FALSE));
    }
    const auto shown = static_cast<guint>(std::clamp(kelvin, warmestKelvin, coolestWarmKelvin));
    bool allWritten = g_settings_set_uint(settings, temperatureKey, shown);
    allWritten = g_settings_set_boolean(settings, automaticKey, FALSE) && allWritten;
    allWritten = g_settings_set_double(settings, fromKey, 0.0) && allWritten;
    allWritten = g_settings_set_double(settings, toKey, 0.0) && allWritten;
    allWritten = g_settings_set_boolean(settings, enabledKey, TRUE) && allWritten;
    return finishWrites("showTemperature", allWritten);
}

}  // namespace solvara
