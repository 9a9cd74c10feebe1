#include "platform/fake/FakeUserDefaults.h"

#include <cmath>

#include "core/foundation/Json.h"

namespace solvara {

const FakeUserDefaults::Stored* FakeUserDefaults::find(std::string_view key) const {
    auto it = values.find(key);
    return it == values.end() ? nullptr : &it->second;
}

bool FakeUserDefaults::contains(std::string_view key) const { return find(key) != nullptr; }

std::optional<bool> FakeUserDefaults::boolValue(std::string_view key) const {
    const Stored* v = find(key);
    if (v != nullptr && std::holds_alternative<bool>(*v)) return std::get<bool>(*v);
    return std::nullopt;
}

std::optional<std::int64_t> FakeUserDefaults::integerValue(std::string_view key) const {
    const Stored* v = find(key);
    if (v != nullptr && std::holds_alternative<std::int64_t>(*v)) return std::get<std::int64_t>(*v);
    return std::nullopt;
}

std::optional<double> FakeUserDefaults::realValue(std::string_view key) const {
    const Stored* v = find(key);
    if (v == nullptr) return std::nullopt;
    if (std::holds_alternative<double>(*v)) return std::get<double>(*v);
    if (std::holds_alternative<std::int64_t>(*v)) return static_cast<double>(std::get<std::int64_t>(*v));
    return std::nullopt;
}

std::optional<std::string> FakeUserDefaults::stringValue(std::string_view key) const {
    const Stored* v = find(key);
    if (v != nullptr && std::holds_alternative<std::string>(*v)) return std::get<std::string>(*v);
    return std::nullopt;
}

std::optional<nlohmann::json> FakeUserDefaults::jsonValue(std::string_view key) const {
    const Stored* v = find(key);
    if (v != nullptr && std::holds_alternative<nlohmann::json>(*v)) return std::get<nlohmann::json>(*v);
    if (v != nullptr && std::holds_alternative<Text>(*v)) return json::parse(std::get<Text>(*v).text);
    return std::nullopt;
}

bool FakeUserDefaults::set(std::string_view key, Value value) {
    if (std::holds_alternative<double>(value) && !std::isfinite(std::get<double>(value))) return false;
    if (std::holds_alternative<nlohmann::json>(value) && !json::isEncodable(std::get<nlohmann::json>(value))) {
        return false;
    }
    ++setCount;
    auto it = values.find(key);
    if (it == values.end()) it = values.emplace(std::string(key), Stored{}).first;
    std::visit(
        [&](auto&& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, JsonText>) {
                // Into the text already held where there is one: a day's document is a megabyte.
                if (auto* held = std::get_if<Text>(&it->second)) {
                    held->text.assign(v.text);
                } else {
                    it->second = Text{std::string(v.text)};
                }
            } else {
                it->second = std::move(v);
            }
        },
        std::move(value));
    return true;
}

void FakeUserDefaults::remove(std::string_view key) {
    auto it = values.find(key);
    if (it != values.end()) values.erase(it);
}

bool FakeUserDefaults::flush() {
    ++flushCount;
    return !failFlush;
}

}  // namespace solvara
