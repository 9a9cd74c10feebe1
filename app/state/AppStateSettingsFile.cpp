// The settings file: the 37 main settings exported as JSON and imported back through the setters.

#include <functional>
#include <vector>

#include "app/state/AppState.h"
#include "app/state/SettingRanges.h"
#include "core/foundation/Json.h"
#include "core/foundation/Log.h"

namespace solvara {

namespace {

constexpr std::string_view component = "AppState";

// Checks each member of a settings document on its own, collecting the assignments of the
// good ones in the order they must run and the names of the others.
class ImportPlan {
public:
    explicit ImportPlan(AppState& state, const json::Json& object) : state_(state), object_(object) {}

    void boolean(std::string_view key, void (AppState::*setter)(bool)) {
        const json::Json* node = member(key);
        if (node == nullptr) return;
        if (!node->is_boolean()) return skip(key);
        steps_.push_back([this, setter, value = node->get<bool>()] { (state_.*setter)(value); });
    }

    void integer(std::string_view key, void (AppState::*setter)(std::int64_t), SettingRanges::Range<std::int64_t> range) {
        const json::Json* node = member(key);
        if (node == nullptr) return;
        const auto value = json::decode<std::int64_t>(*node);
        if (!value || !range.contains(*value)) return skip(key);
        steps_.push_back([this, setter, v = *value] { (state_.*setter)(v); });
    }

    void number(std::string_view key, void (AppState::*setter)(double), SettingRanges::Range<double> range) {
        const json::Json* node = member(key);
        if (node == nullptr) return;
        const auto value = json::decode<double>(*node);
        if (!value || !range.contains(*value)) return skip(key);
        steps_.push_back([this, setter, v = *value] { (state_.*setter)(v); });
    }

    template <class E>
    void choice(std::string_view key, void (AppState::*setter)(E)) {
        const json::Json* node = member(key);
        if (node == nullptr) return;
        const auto value = node->is_string() ? fromRawValue<E>(node->get_ref<const std::string&>()) : std::nullopt;
        if (!value) return skip(key);
        steps_.push_back([this, setter, v = *value] { (state_.*setter)(v); });
    }

    std::vector<std::string> apply() {
        for (auto& step : steps_) step();
        return std::move(skipped_);
    }

private:
    const json::Json* member(std::string_view key) const {
        const auto it = object_.find(key);
        return it == object_.end() ? nullptr : &*it;
    }

    void skip(std::string_view key) { skipped_.emplace_back(key); }

    AppState& state_;
    const json::Json& object_;
    std::vector<std::function<void()>> steps_;
    std::vector<std::string> skipped_;
};

}  // namespace

std::optional<std::string> AppState::settingsDocument() const {
    const json::Json document = {
        {"isEnabled", isEnabled_},
        {"currentMode", rawValue(currentMode_)},
        {"morningBoostEnabled", morningBoostEnabled_},
        {"launchAtLoginEnabled", launchAtLoginEnabled_},
        {"pwmProtectionEnabled", pwmProtectionEnabled_},
        {"softwareDimmerOpacity", softwareDimmerOpacity_},
        {"pwmThreshold", pwmThreshold_},
        {"breaksEnabled", breaksEnabled_},
        {"breakIntervalMinutes", breakIntervalMinutes_},
        {"breakPostponeMinutes", breakPostponeMinutes_},
        {"dayKelvin", dayKelvin_},
        {"nightKelvin", nightKelvin_},
        {"customModeKelvin", customModeKelvin_},
        {"customModeDimLevel", customModeDimLevel_},
        {"wakeHour", wakeHour_},
        {"sleepHour", sleepHour_},
        {"locationSource", rawValue(locationSource_)},
        {"screenEffect", rawValue(screenEffect_)},
        {"gammaAPI", rawValue(gammaAPI_)},
        {"transitionDurationDay", transitionDurationDay_},
        {"transitionDurationNight", transitionDurationNight_},
        {"useManualNightSchedule", useManualNightSchedule_},
        {"manualNightStartHour", manualNightStartHour_},
        {"manualNightStartMinute", manualNightStartMinute_},
        {"manualNightEndHour", manualNightEndHour_},
        {"manualNightEndMinute", manualNightEndMinute_},
        {"breakStartSound", rawValue(breakStartSound_)},
        {"breakEndSound", rawValue(breakEndSound_)},
        {"breakScreenType", rawValue(breakScreenType_)},
        {"fontSmoothingEnabled", fontSmoothingEnabled_},
        {"spotlightEnabled", spotlightEnabled_},
        {"spotlightRadius", spotlightRadius_},
        {"spotlightOpacity", spotlightOpacity_},
        {"useSoftwareCursor", useSoftwareCursor_},
        {"cursorStyle", rawValue(cursorStyle_)},
        {"blockKeyboardDuringBreaks", blockKeyboardDuringBreaks_},
        {"hideFromDockOnClose", hideFromDockOnClose_},
    };
    // Pretty, keys in ascending order (the JSON object keeps them sorted).
    auto text = json::encode(document, true);
    if (text) text->push_back('\n');
    return text;
}

std::optional<std::string> AppState::exportSettings(const std::string& path) const {
    const auto document = settingsDocument();
    if (!document) {
        Log::write(component, "Settings export refused: a setting is not a finite number");
        return "The settings could not be exported: a setting holds a value that is not a number.";
    }
    if (!platform_.files.writeAtomically(path, *document)) {
        Log::write(component, "Settings export to " + path + " failed");
        return "The settings file could not be written to " + path + ".";
    }
    return std::nullopt;
}

AppState::ImportResult AppState::importSettings(const std::string& path) {
    const auto bytes = platform_.files.read(path, maxSettingsFileBytes);
    if (!bytes) {
        Log::write(component, "Settings import from " + path + " refused: unreadable, not a regular file or too large");
        return {"The settings file could not be read. It must be a regular file of yours, of at most 1 MiB.", {}};
    }
    return importSettingsDocument(*bytes);
}

AppState::ImportResult AppState::importSettingsDocument(std::string_view document) {
    const auto parsed = document.size() <= maxSettingsFileBytes ? json::parse(document) : std::nullopt;
    if (!parsed || !parsed->is_object()) {
        Log::write(component, "Settings import refused: not a JSON object");
        return {"The settings file was not imported: it is not a JSON object of settings.", {}};
    }

    using R = SettingRanges;
    ImportPlan plan(*this, *parsed);
    plan.boolean("isEnabled", &AppState::setIsEnabled);
    plan.choice<DisplayMode>("currentMode", &AppState::setCurrentMode);
    plan.boolean("morningBoostEnabled", &AppState::setMorningBoostEnabled);
    plan.boolean("launchAtLoginEnabled", &AppState::setLaunchAtLoginEnabled);
    plan.boolean("pwmProtectionEnabled", &AppState::setPwmProtectionEnabled);
    plan.number("softwareDimmerOpacity", &AppState::setSoftwareDimmerOpacity, R::dimmerOpacity);
    plan.number("pwmThreshold", &AppState::setPwmThreshold, R::anyNumber);
    plan.boolean("breaksEnabled", &AppState::setBreaksEnabled);
    plan.integer("breakIntervalMinutes", &AppState::setBreakIntervalMinutes, R::intervalMinutes);
    plan.integer("breakPostponeMinutes", &AppState::setBreakPostponeMinutes, R::intervalMinutes);
    plan.integer("dayKelvin", &AppState::setDayKelvin, R::kelvin);
    plan.integer("nightKelvin", &AppState::setNightKelvin, R::kelvin);
    plan.integer("customModeKelvin", &AppState::setCustomModeKelvin, R::kelvin);
    plan.number("customModeDimLevel", &AppState::setCustomModeDimLevel, R::anyNumber);
    plan.integer("wakeHour", &AppState::setWakeHour, R::hour);
    plan.integer("sleepHour", &AppState::setSleepHour, R::hour);
    plan.choice<LocationSource>("locationSource", &AppState::setLocationSource);
    plan.choice<ScreenEffect>("screenEffect", &AppState::setScreenEffect);
    plan.choice<GammaAPI>("gammaAPI", &AppState::setGammaAPI);
    plan.integer("transitionDurationDay", &AppState::setTransitionDurationDay, R::transitionSeconds);
    plan.integer("transitionDurationNight", &AppState::setTransitionDurationNight, R::transitionSeconds);
    plan.boolean("useManualNightSchedule", &AppState::setUseManualNightSchedule);
    plan.integer("manualNightStartHour", &AppState::setManualNightStartHour, R::hour);
    plan.integer("manualNightStartMinute", &AppState::setManualNightStartMinute, R::minute);
    plan.integer("manualNightEndHour", &AppState::setManualNightEndHour, R::hour);
    plan.integer("manualNightEndMinute", &AppState::setManualNightEndMinute, R::minute);
    plan.choice<BreakSound>("breakStartSound", &AppState::setBreakStartSound);
    plan.choice<BreakSound>("breakEndSound", &AppState::setBreakEndSound);
    plan.choice<BreakScreenType>("breakScreenType", &AppState::setBreakScreenType);
    plan.boolean("fontSmoothingEnabled", &AppState::setFontSmoothingEnabled);
    plan.boolean("spotlightEnabled", &AppState::setSpotlightEnabled);
    plan.number("spotlightRadius", &AppState::setSpotlightRadius, R::anyNumber);
    plan.number("spotlightOpacity", &AppState::setSpotlightOpacity, R::anyNumber);
    plan.boolean("useSoftwareCursor", &AppState::setUseSoftwareCursor);
    plan.choice<CursorStyle>("cursorStyle", &AppState::setCursorStyle);
    plan.boolean("blockKeyboardDuringBreaks", &AppState::setBlockKeyboardDuringBreaks);
    plan.boolean("hideFromDockOnClose", &AppState::setHideFromDockOnClose);

    // Every value goes through its setter, so each change handler runs as if the user had
    // changed the setting by hand.
    ImportResult result{std::nullopt, plan.apply()};
    for (const auto& key : result.skipped) {
        Log::write(component, "Settings import skipped \"" + key + "\": wrong type, unknown choice or unsafe value");
    }
    return result;
}

}  // namespace solvara
