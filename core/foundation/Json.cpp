#include "core/foundation/Json.h"

#include <cmath>
#include <limits>

namespace solvara::json {

namespace {

// Counts brackets outside strings. A text that is not JSON may pass; the parser refuses it.
bool nestedWithinLimit(std::string_view text) {
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > maxDepth) return false;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

}  // namespace

std::optional<Json> parse(std::string_view text) {
    if (!nestedWithinLimit(text)) return std::nullopt;
    Json value = Json::parse(text.begin(), text.end(), nullptr, /*allow_exceptions=*/false);
    if (value.is_discarded()) return std::nullopt;
    return value;
}

bool accept(std::string_view text) {
    return nestedWithinLimit(text) && Json::accept(text.begin(), text.end());
}

bool isEncodable(const Json& value) {
    switch (value.type()) {
        case Json::value_t::number_float:
            return std::isfinite(value.get<double>());
        case Json::value_t::array:
        case Json::value_t::object:
            for (const auto& element : value) {
                if (!isEncodable(element)) return false;
            }
            return true;
        default:
            return true;
    }
}

std::optional<std::string> encode(const Json& value, bool pretty) {
    if (!isEncodable(value)) return std::nullopt;
    // Replace invalid UTF-8 rather than throw: a stray byte in a name must not lose the document.
    return value.dump(pretty ? 2 : -1, ' ', false, Json::error_handler_t::replace);
}

namespace {

template <class Int>
std::optional<Int> decodeInteger(const Json& value) {
    if (value.is_number_integer()) {
        if (value.is_number_unsigned()) {
            const auto u = value.get<std::uint64_t>();
            if (u > static_cast<std::uint64_t>(std::numeric_limits<Int>::max())) return std::nullopt;
            return static_cast<Int>(u);
        }
        const auto i = value.get<std::int64_t>();
        if constexpr (std::is_signed_v<Int>) {
            if (i < std::numeric_limits<Int>::min() || i > std::numeric_limits<Int>::max()) return std::nullopt;
        } else {
            if (i < 0 || static_cast<std::uint64_t>(i) > std::numeric_limits<Int>::max()) return std::nullopt;
        }
        return static_cast<Int>(i);
    }
    if (value.is_number_float()) {
        const double d = value.get<double>();
        // The upper bound is exclusive: for int64 the maximum rounds up to 2^63 as a double.
        const double lowest = static_cast<double>(std::numeric_limits<Int>::min());
        const double beyond = static_cast<double>(std::numeric_limits<Int>::max()) + 1.0;
        if (!std::isfinite(d) || std::trunc(d) != d || d < lowest || d >= beyond) return std::nullopt;
        return static_cast<Int>(d);
    }
    return std::nullopt;
}

}  // namespace

template <>
std::optional<bool> decode<bool>(const Json& value) {
    if (!value.is_boolean()) return std::nullopt;
    return value.get<bool>();
}

template <>
std::optional<std::int64_t> decode<std::int64_t>(const Json& value) {
    return decodeInteger<std::int64_t>(value);
}

template <>
std::optional<int> decode<int>(const Json& value) {
    return decodeInteger<int>(value);
}

template <>
std::optional<std::uint32_t> decode<std::uint32_t>(const Json& value) {
    return decodeInteger<std::uint32_t>(value);
}

template <>
std::optional<double> decode<double>(const Json& value) {
    if (!value.is_number()) return std::nullopt;
    const double d = value.get<double>();
    if (!std::isfinite(d)) return std::nullopt;
    return d;
}

template <>
std::optional<float> decode<float>(const Json& value) {
    auto d = decode<double>(value);
    if (!d || std::fabs(*d) > static_cast<double>(std::numeric_limits<float>::max())) return std::nullopt;
    return static_cast<float>(*d);
}

template <>
std::optional<std::string> decode<std::string>(const Json& value) {
    if (!value.is_string()) return std::nullopt;
    return value.get<std::string>();
}

template <>
std::optional<Date> decode<Date>(const Json& value) {
    auto d = decode<double>(value);
    if (!d) return std::nullopt;
    return Date(*d);
}

template <>
std::optional<Uuid> decode<Uuid>(const Json& value) {
    if (!value.is_string()) return std::nullopt;
    return Uuid::parse(value.get_ref<const std::string&>());
}

template <>
std::optional<std::vector<std::string>> decode<std::vector<std::string>>(const Json& value) {
    if (!value.is_array()) return std::nullopt;
    std::vector<std::string> out;
    out.reserve(value.size());
    for (const auto& element : value) {
        if (!element.is_string()) return std::nullopt;
        out.push_back(element.get<std::string>());
    }
    return out;
}

ObjectReader::ObjectReader(const Json& value) {
    if (value.is_object()) {
        object_ = &value;
    } else {
        ok_ = false;
    }
}

const Json* ObjectReader::find(std::string_view key) const {
    if (object_ == nullptr) return nullptr;
    auto it = object_->find(key);
    if (it == object_->end() || it->is_null()) return nullptr;
    return &*it;
}

const Json* ObjectReader::requiredNode(std::string_view key) {
    const Json* node = find(key);
    if (node == nullptr) ok_ = false;
    return node;
}

}  // namespace solvara::json
