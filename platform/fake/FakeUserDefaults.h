#pragma once

#include <map>
#include <string>

#include "platform/UserDefaults.h"

namespace solvara {

// User defaults in a map.
class FakeUserDefaults : public UserDefaults {
public:
    // A document handed in as text, kept as that text.
    struct Text {
        std::string text;
    };
    using Stored = std::variant<bool, std::int64_t, double, std::string, nlohmann::json, Text>;

    bool contains(std::string_view key) const override;
    std::optional<bool> boolValue(std::string_view key) const override;
    std::optional<std::int64_t> integerValue(std::string_view key) const override;
    std::optional<double> realValue(std::string_view key) const override;
    std::optional<std::string> stringValue(std::string_view key) const override;
    std::optional<nlohmann::json> jsonValue(std::string_view key) const override;
    bool set(std::string_view key, Value value) override;
    void remove(std::string_view key) override;
    bool flush() override;

    std::map<std::string, Stored, std::less<>> values;
    bool failFlush = false;
    std::size_t setCount = 0;
    std::size_t flushCount = 0;

private:
    const Stored* find(std::string_view key) const;
};

}  // namespace solvara
