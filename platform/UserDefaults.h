#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include <nlohmann/json.hpp>

namespace solvara {

// The user's persisted settings: a flat store of typed values under string keys. Main thread
// only. The Linux store is one file under $XDG_CONFIG_HOME/solvara/, written atomically, not
// rewritten when nothing changed, a change at once and values that change at every update at most
// once a minute; a corrupt file is kept aside, never overwritten.
class UserDefaults {
public:
    // A JSON document already encoded by our own encoders (json::encode, the exposure
    // tracker): complete, well formed, numbers finite. It is taken as text so that a large
    // document stored again and again (a day of exposure samples is a megabyte, stored every
    // ten seconds) is never parsed on the way in. set() copies the text before it returns and
    // does not check it, so never hand in text from anywhere else (the file store still never
    // writes a file that would not read back: it drops such a document, logged).
    struct JsonText {
        std::string_view text;
    };

    // One stored value. Structured documents (lists of records, dictionaries) are stored as
    // JSON, either as a tree or as encoded text: the two are the same kind of value, read back
    // with jsonValue(). Non-finite doubles are refused by set().
    using Value = std::variant<bool, std::int64_t, double, std::string, nlohmann::json, JsonText>;

    virtual ~UserDefaults() = default;

    // True when a value of any type is stored under `key`.
    virtual bool contains(std::string_view key) const = 0;

    // The value under `key` if one is stored and is of the asked type; empty otherwise (absent
    // or another type; no conversion, except that realValue() also reads a stored integer).
    virtual std::optional<bool> boolValue(std::string_view key) const = 0;
    virtual std::optional<std::int64_t> integerValue(std::string_view key) const = 0;
    virtual std::optional<double> realValue(std::string_view key) const = 0;
    virtual std::optional<std::string> stringValue(std::string_view key) const = 0;
    // A document stored as text is parsed here, at each call (meant for the reads at launch).
    virtual std::optional<nlohmann::json> jsonValue(std::string_view key) const = 0;

    // Stores `value` under `key`, replacing any value of any type. A non-finite double (also
    // inside a JSON tree) is refused: false, logged, the old value kept. Storing the value
    // already stored (for a document given as text: the same text) is no change.
    virtual bool set(std::string_view key, Value value) = 0;

    // Removes `key`; nothing happens when it is absent.
    virtual void remove(std::string_view key) = 0;

    // Writes pending changes to storage now (the store also writes by itself after a change). False when the write failed (logged); the values stay in memory and the
    // next flush tries again.
    virtual bool flush() = 0;
};

}  // namespace solvara
