#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QString>

#include "app/services/KeyboardShortcutManager.h"

namespace solvara::settingstext {

// The computed texts of the settings tabs, built with the locale-free formatter so a German
// session still reads "40.71, -74.01". The English words around them are looked up by the views.

// 6500 -> "6500K" (no space).
std::string kelvin(std::int64_t kelvin);
// A fraction shown as a whole percentage: 0.35 -> "35%" (rounded as printf's "%.0f").
std::string fractionPercent(double fraction);
// A number that already is a percentage: 40 -> "40%".
std::string percent(double value);
// Whole minutes of a duration in seconds, truncated: 1200 -> "20 min".
std::string minutes(std::int64_t seconds);
// An hour of a picker: 7 -> "7:00", 0 -> "0:00".
std::string hour(std::int64_t hour);
// 4 -> "04".
std::string twoDigits(std::int64_t value);
// "40.71, -74.01".
std::string coordinate(double latitude, double longitude);
// "-12.3°".
std::string elevation(double degrees);
// "200 px".
std::string pixels(double value);

// How much of the blue channel of 6500 K the temperature removes, in percent within 0...100.
double blueLightReduction(std::int64_t kelvin);

// The first three identifiers joined by ", "; empty for none.
std::string identifierLine(const std::vector<std::string>& identifiers);

// A shortcut written for this desktop: "Ctrl+Alt+Shift+Super+E" (modifiers in the order the
// table keeps them, Escape as "Esc").
std::string shortcut(const KeyboardShortcutManager::Shortcut& shortcut);
// True when the desktop grabs the combination for every application: it holds Ctrl, Alt or
// Super. Shift alone is never grabbed.
bool isGrabbedOnDesktop(const KeyboardShortcutManager::Shortcut& shortcut);

// The value texts of the slider rows, from the value shown (whole numbers are truncated).
QString kelvinText(double value);
QString fractionText(double value);
QString percentText(double value);
QString minutesText(double seconds);
QString pixelsText(double value);

}  // namespace solvara::settingstext
