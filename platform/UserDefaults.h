#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include <nlohmann/json.hpp>

namespace solvara {

// The user's persisted settings: a flat store of typed values under string keys. Main thread
// only. The Linux store is one file under $XDG_CONFIG_HOME/solvara/, written atomically and not
// rewritten when nothing changed; a corrupt file is kept aside, never overwritten.
class UserDefaults {
public:
    // One stored value. Structured documents (lists of records, dictionaries) are stored as
    // JSON; non-finite doubles are refused by set().
    using Value = std::variant<bool, std::int64_t, double, std::string, nlohmann::json>;

    virtual ~UserDefaults() = default;

    // True when a value of any type is stored under `key`.
    virtual bool contains(std::string_view key) const = 0;

    // The value under `key` if one is stored and is of the asked type; empty otherwise (absent
    // or another type; no conversion, except that realValue() also reads a stored integer).
    virtual std::optional<bool> boolValue(std::string_view key) const = 0;
    virtual std::optional<std::int64_t> integerValue(std::string_view key) const = 0;
    virtual std::optional<double> realValue(std::string_view key) const = 0;
    virtual std::optional<std::string> stringValue(std::string_view key) const = 0;
    virtual std::optional<nlohmann::json> jsonValue(std::string_view key) const = 0;

    // Stores `value` under `key`, replacing any value of any type. A non-finite double (also
    // inside JSON) is refused: false, logged, the old value kept.
    virtual bool set(std::string_view key, Value value) = 0;

    // Removes `key`; nothing happens when it is absent.
    virtual void remove(std::string_view key) = 0;

    // Writes pending changes to storage now (the store also writes by itself soon after a
    // change). False when the write failed (logged); the values stay in memory and the next
    // flush tries again.
    virtual bool flush() = 0;
};

}  // namespace solvara
