#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace solvara {

// The eleven tabs of the main window's sidebar, in declaration order; each has its title (shown
// verbatim) and the symbol drawn beside it.
enum class SettingsTab {
    dashboard,
    general,
    schedule,
    display,
    breaks,
    shortcuts,
    profiles,
    features,
    health,
    science,
    help
};

struct SettingsTabInfo {
    SettingsTab tab;
    std::string_view title;
    std::string_view icon;
};

inline constexpr std::array<SettingsTabInfo, 11> settingsTabs{{
    {SettingsTab::dashboard, "Dashboard", "gauge.with.dots.needle.33percent"},
    {SettingsTab::general, "General", "gearshape"},
    {SettingsTab::schedule, "Schedule", "clock"},
    {SettingsTab::display, "Display", "display"},
    {SettingsTab::breaks, "Breaks", "eye"},
    {SettingsTab::shortcuts, "Shortcuts", "keyboard"},
    {SettingsTab::profiles, "Profiles", "person.2"},
    {SettingsTab::features, "Features", "switch.2"},
    {SettingsTab::health, "Health", "heart"},
    {SettingsTab::science, "Science", "book"},
    {SettingsTab::help, "Help", "questionmark.circle"},
}};

constexpr const SettingsTabInfo& info(SettingsTab tab) {
    return settingsTabs[static_cast<std::size_t>(tab)];
}

struct SidebarGroup {
    std::string_view title;
    std::array<SettingsTab, 3> tabs;
    std::size_t count;
};

// The sidebar's order, which is not the declaration order.
inline constexpr std::array<SidebarGroup, 5> sidebarGroups{{
    {"Overview", {SettingsTab::dashboard}, 1},
    {"Settings", {SettingsTab::general, SettingsTab::schedule, SettingsTab::display}, 3},
    {"Wellness", {SettingsTab::breaks, SettingsTab::health, SettingsTab::features}, 3},
    {"Customization", {SettingsTab::shortcuts, SettingsTab::profiles}, 2},
    {"Reference", {SettingsTab::science, SettingsTab::help}, 2},
}};

}  // namespace solvara
