#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/foundation/Date.h"
#include "core/foundation/Uuid.h"

namespace solvara::json {

using Json = nlohmann::json;

// The deepest nesting a document may have. Ours go five levels deep at most (the settings file
// wrapping a list of records holding lists). A tree's copies, comparisons and dumps recurse once
// per level, so a document nested tens of thousands deep would overflow the stack the first
// time it is copied or written, long after it parsed: such a document is refused on the way in.
inline constexpr int maxDepth = 64;

// Parses without throwing; empty on any syntax error and for a document nested deeper than
// maxDepth.
std::optional<Json> parse(std::string_view text);

// True when parse() would succeed, without building the tree.
bool accept(std::string_view text);

// Serialises `value`; empty when it holds a non-finite number anywhere (nlohmann would write
// `null`, which a later strict decode rejects, losing the whole document). Object keys come
// out sorted. `pretty` indents by two spaces.
std::optional<std::string> encode(const Json& value, bool pretty = false);

// True when no number anywhere in `value` is NaN or infinite.
bool isEncodable(const Json& value);

// Strict scalar decoding: an integer must be integral and in range (3.0 is 3, 3.5 is not),
// a Bool only true/false, a Double any finite number, a Date a number of seconds since 2001,
// a Uuid a UUID string. Anything else is empty.
template <class T>
std::optional<T> decode(const Json& value);

template <>
std::optional<bool> decode<bool>(const Json& value);
template <>
std::optional<std::int64_t> decode<std::int64_t>(const Json& value);
template <>
std::optional<int> decode<int>(const Json& value);
template <>
std::optional<std::uint32_t> decode<std::uint32_t>(const Json& value);
template <>
std::optional<double> decode<double>(const Json& value);
template <>
std::optional<float> decode<float>(const Json& value);
template <>
std::optional<std::string> decode<std::string>(const Json& value);
template <>
std::optional<Date> decode<Date>(const Json& value);
template <>
std::optional<Uuid> decode<Uuid>(const Json& value);
template <>
std::optional<std::vector<std::string>> decode<std::vector<std::string>>(const Json& value);

inline Json encodeDate(Date date) {
    return date.secondsSinceReferenceDate;
}
inline Json encodeUuid(const Uuid& uuid) {
    return uuid.string();
}

// Reads the fields of one JSON object strictly. A missing required key, or a present key of
// the wrong type, makes the reader fail; null counts as absent; unknown keys are ignored.
// Callers read every field, then check ok() once and drop the whole record when it is false.
class ObjectReader {
public:
    explicit ObjectReader(const Json& value);

    bool ok() const { return ok_; }
    void fail() { ok_ = false; }

    template <class T>
    T required(std::string_view key) {
        const Json* node = find(key);
        if (node == nullptr) {
            ok_ = false;
            return T{};
        }
        auto decoded = decode<T>(*node);
        if (!decoded) {
            ok_ = false;
            return T{};
        }
        return *decoded;
    }

    template <class T>
    std::optional<T> optional(std::string_view key) {
        const Json* node = find(key);
        if (node == nullptr) return std::nullopt;
        auto decoded = decode<T>(*node);
        if (!decoded) ok_ = false;
        return decoded;
    }

    // The raw node for nested objects and arrays; nullptr (and failure) when absent.
    const Json* requiredNode(std::string_view key);
    // The raw node, or nullptr when absent or null.
    const Json* optionalNode(std::string_view key) const { return find(key); }

private:
    const Json* find(std::string_view key) const;

    const Json* object_ = nullptr;
    bool ok_ = true;
};

}  // namespace solvara::json
