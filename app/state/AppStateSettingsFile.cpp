// The settings file: the 37 main settings exported as JSON and imported back through the setters.

#include <algorithm>
#include <functional>
#include <type_traits>
#include <vector>

#include "app/state/AppState.h"
#include "app/state/SettingRanges.h"
#include "core/foundation/Json.h"
#include "core/foundation/Log.h"

namespace solvara {

namespace {

constexpr std::string_view component = "AppState";

// One setting as its member of the settings file, when the file carries it: switches and
// numbers as they are, choices as their raw strings.
template <unsigned flags, class T>
void exportMember(json::Json& document, std::string_view key, const T& value) {
    if constexpr ((flags & setting::exported) != 0) {
        if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, std::int64_t> || std::is_same_v<T, double>) {
            document[std::string(key)] = value;
        } else {
            document[std::string(key)] = std::string(rawValue(value));
        }
    }
}

// One member of a settings document read for its setter: when it has the setting's JSON type,
// names one of its choices and lies in its safe range, the assignment is added to `assignments`
// (applied later, so that a file none of whose members can be used changes nothing); otherwise
// its name is added to `skipped`.
template <unsigned flags, class T, class R>
void readMember(AppState& state, const json::Json& object, std::string_view key, R range, void (AppState::*setter)(T),
                std::vector<std::function<void()>>& assignments, std::vector<std::string>& skipped) {
    if constexpr ((flags & setting::exported) != 0) {
        const auto it = object.find(key);
        if (it == object.end()) return;
        std::optional<T> value;
        if constexpr (std::is_same_v<T, bool>) {
            if (it->is_boolean()) value = it->template get<bool>();
        } else if constexpr (std::is_same_v<T, std::int64_t> || std::is_same_v<T, double>) {
            value = json::decode<T>(*it);
            if (value && !range.contains(*value)) value.reset();
        } else if (it->is_string()) {
            value = fromRawValue<T>(it->template get_ref<const std::string&>());
        }
        if (value) {
            assignments.emplace_back([&state, setter, value = *value] { (state.*setter)(value); });
        } else {
            skipped.emplace_back(key);
        }
    }
}

// Whether the object has a member named after a setting the file carries, whatever its value.
bool namesAnExportedSetting(const json::Json& object) {
    using namespace setting;
    bool found = false;
#define SOLVARA_FIND_SETTING(type, name, setter, initial, handler, key, rule, range, flags) \
    found = found || ((exported & (flags)) != 0 && object.contains(#name));
    SOLVARA_APP_STATE_PROPERTIES(SOLVARA_FIND_SETTING)
#undef SOLVARA_FIND_SETTING
    return found;
}

}  // namespace

std::optional<std::string> AppState::settingsDocument() const {
    using namespace setting;
    json::Json document = json::Json::object();
#define SOLVARA_EXPORT_SETTING(type, name, setter, initial, handler, key, rule, range, flags) \
    exportMember<(flags)>(document, #name, name##_);
    SOLVARA_APP_STATE_PROPERTIES(SOLVARA_EXPORT_SETTING)
#undef SOLVARA_EXPORT_SETTING
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
    // An empty object, or the program's own store (keys "sv_..."), would otherwise apply
    // nothing and say nothing, as if the import had worked.
    if (!namesAnExportedSetting(*parsed)) {
        Log::write(component, "Settings import refused: no setting in this file");
        return {"The settings file was not imported: there is no setting in this file.", {}};
    }

    using namespace setting;
    ImportResult result;
    std::vector<std::function<void()>> assignments;
#define SOLVARA_READ_SETTING(type, name, setter, initial, handler, key, rule, range, flags) \
    readMember<(flags)>(*this, *parsed, #name, SettingRanges::range, &AppState::setter, assignments, result.skipped);
    SOLVARA_APP_STATE_PROPERTIES(SOLVARA_READ_SETTING)
#undef SOLVARA_READ_SETTING
    std::ranges::sort(result.skipped);
    for (const auto& key : result.skipped) {
        Log::write(component, "Settings import skipped \"" + key + "\": wrong type, unknown choice or unsafe value");
    }
    if (assignments.empty()) {
        Log::write(component, "Settings import refused: no setting in this file has a usable value");
        result.refusal =
            "The settings file was not imported: none of its settings could be used. Each has a value "
            "of the wrong type, a choice that does not exist or a number outside the safe range.";
        return result;
    }
    // In the table's order, each value through its setter, so each change handler runs as if
    // the user had changed the setting by hand.
    for (const auto& assign : assignments) assign();
    return result;
}

}  // namespace solvara
