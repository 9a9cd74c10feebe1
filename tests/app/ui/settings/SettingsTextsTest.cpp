#include <gtest/gtest.h>

#include "app/ui/settings/SettingsTexts.h"

namespace solvara::testing {
namespace {

using namespace settingstext;
using Manager = KeyboardShortcutManager;

TEST(SettingsTexts, FormatsTheValuesOfTheTabs) {
    const std::pair<std::string, std::string> cases[] = {
        {kelvin(6500), "6500K"},
        {fractionPercent(0.35), "35%"},
        {fractionPercent(0.3), "30%"},
        {fractionPercent(0.125), "12%"},  // printf's "%.0f" rounds a half to even
        {percent(12.5), "12%"},
        {percent(13.5), "14%"},
        {kelvinText(4321.9).toStdString(), "4321K"},  // a slider's whole number is truncated
        {minutesText(119.9).toStdString(), "1 min"},
        {elevation(-0.04), "-0.0°"},
        {percent(40), "40%"},
        {minutes(1200), "20 min"},
        {minutes(7259), "120 min"},
        {hour(0), "0:00"},
        {hour(12), "12:00"},
        {twoDigits(4), "04"},
        {twoDigits(45), "45"},
        {coordinate(40.7128, -74.006), "40.71, -74.01"},
        {elevation(-12.34), "-12.3°"},
        {pixels(200), "200 px"},
        {identifierLine({"a", "b", "c", "d", "e", "f"}), "a, b, c"},
        {identifierLine({}), ""},
        {shortcut({14, Manager::controlKey | Manager::optionKey}), "Ctrl+Alt+E"},
        {shortcut({126, Manager::controlKey | Manager::optionKey | Manager::shiftKey}), "Ctrl+Alt+Shift+↑"},
        {shortcut({53, Manager::controlKey | Manager::optionKey}), "Ctrl+Alt+Esc"},
        {shortcut({0, Manager::commandKey}), "Super+A"},
    };
    for (const auto& [actual, expected] : cases) EXPECT_EQ(actual, expected);
}

TEST(SettingsTexts, BlueLightReductionIsZeroAtDaylightAndGrowsWarmer) {
    EXPECT_DOUBLE_EQ(blueLightReduction(6500), 0.0);
    EXPECT_DOUBLE_EQ(blueLightReduction(9000), 0.0) << "bluer than daylight removes nothing";
    EXPECT_GT(blueLightReduction(2200), 50.0);
    EXPECT_LT(blueLightReduction(4500), blueLightReduction(3000));
    EXPECT_LE(blueLightReduction(1000), 100.0);
}

TEST(SettingsTexts, OnlyCtrlAltOrSuperMakeADesktopGrab) {
    EXPECT_TRUE(isGrabbedOnDesktop({96, Manager::controlKey}));
    EXPECT_TRUE(isGrabbedOnDesktop({96, Manager::commandKey}));
    EXPECT_FALSE(isGrabbedOnDesktop({96, Manager::shiftKey}));
}

}  // namespace
}  // namespace solvara::testing
