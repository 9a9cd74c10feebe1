#include "app/ui/settings/SettingsTexts.h"

#include <algorithm>

#include "core/color/ColorTemperatureConverter.h"
#include "core/foundation/Format.h"

namespace solvara::settingstext {

std::string kelvin(std::int64_t kelvin) {
    return format::integer(kelvin) + "K";
}

std::string fractionPercent(double fraction) {
    return format::fixed(fraction * 100.0, 0) + "%";
}

std::string percent(double value) {
    return format::fixed(value, 0) + "%";
}

std::string minutes(std::int64_t seconds) {
    return format::integer(seconds / 60) + " min";
}

std::string hour(std::int64_t hour) {
    return format::integer(hour) + ":00";
}

std::string twoDigits(std::int64_t value) {
    const std::string digits = format::integer(value);
    return value >= 0 && value < 10 ? "0" + digits : digits;
}

std::string coordinate(double latitude, double longitude) {
    return format::fixed(latitude, 2) + ", " + format::fixed(longitude, 2);
}

std::string elevation(double degrees) {
    return format::fixed(degrees, 1) + "°";
}

std::string pixels(double value) {
    return format::fixed(value, 0) + " px";
}

double blueLightReduction(std::int64_t kelvin) {
    const ColorTemperatureConverter converter;
    const double blue = converter.kelvinToRGB(kelvin).blue;
    const double reference = converter.kelvinToRGB(6500).blue;
    if (reference <= 0.0) return 100.0;
    return std::clamp((1.0 - blue / reference) * 100.0, 0.0, 100.0);
}

std::string identifierLine(const std::vector<std::string>& identifiers) {
    std::string line;
    const std::size_t shown = std::min<std::size_t>(identifiers.size(), 3);
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0) line += ", ";
        line += identifiers[i];
    }
    return line;
}

std::string shortcut(const KeyboardShortcutManager::Shortcut& shortcut) {
    using Manager = KeyboardShortcutManager;
    std::string text;
    if ((shortcut.modifiers & Manager::controlKey) != 0) text += "Ctrl+";
    if ((shortcut.modifiers & Manager::optionKey) != 0) text += "Alt+";
    if ((shortcut.modifiers & Manager::shiftKey) != 0) text += "Shift+";
    if ((shortcut.modifiers & Manager::commandKey) != 0) text += "Super+";
    return text + (shortcut.keyCode == 53 ? std::string("Esc") : Manager::keyCodeToString(shortcut.keyCode));
}

bool isGrabbedOnDesktop(const KeyboardShortcutManager::Shortcut& shortcut) {
    using Manager = KeyboardShortcutManager;
    return (shortcut.modifiers & (Manager::controlKey | Manager::optionKey | Manager::commandKey)) != 0;
}

QString kelvinText(double value) {
    return QString::fromStdString(kelvin(static_cast<std::int64_t>(value)));
}
QString fractionText(double value) {
    return QString::fromStdString(fractionPercent(value));
}
QString percentText(double value) {
    return QString::fromStdString(percent(value));
}
QString minutesText(double seconds) {
    return QString::fromStdString(minutes(static_cast<std::int64_t>(seconds)));
}
QString pixelsText(double value) {
    return QString::fromStdString(pixels(value));
}

}  // namespace solvara::settingstext
