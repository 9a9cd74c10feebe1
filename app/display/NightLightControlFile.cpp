#include "app/display/NightLightControlFile.h"

#include <charconv>

namespace solvara {

namespace {

std::optional<std::string> join(const std::optional<std::string>& directory, std::string_view name) {
    if (!directory || directory->empty()) return std::nullopt;
    std::string path = *directory;
    if (path.back() != '/') path += '/';
    path += name;
    return path;
}

}  // namespace

std::optional<std::string> NightLightControlFile::path(Files& files) {
    return join(files.runtimeDirectory(), fileName);
}

std::optional<std::string> NightLightControlFile::savedStatePath(Files& files) {
    return join(files.stateDirectory(), savedStateFileName);
}

std::string NightLightControlFile::encode(std::int64_t kelvin) {
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, kelvin);
    return std::string(buffer, result.ptr);
}

std::optional<std::int64_t> NightLightControlFile::parse(std::string_view text) {
    if (text.empty() || text.size() > 6) return std::nullopt;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
    }
    if (text.size() > 1 && text.front() == '0') return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) value = value * 10 + (c - '0');
    return value;
}

}  // namespace solvara
