// The fixed tables of the settings tabs, read off the real widgets: every picker's items with
// the value each writes, and every slider's range and step with the value its ends store.

#include <cmath>
#include <functional>

#include <QComboBox>
#include <QSlider>

#include "app/ui/kit/SteppedSlider.h"
#include "app/ui/settings/BreakSettingsTab.h"
#include "app/ui/settings/DisplaySettingsTab.h"
#include "app/ui/settings/ScheduleSettingsTab.h"
#include "tests/app/ui/settings/SettingsTestSupport.h"

namespace solvara::testing {
namespace {

using SettingsTablesTest = SettingsFixture;

struct PickerCase {
    const char* name;
    int width;
    QStringList texts;
    QVariantList tags;
};

QVariantList numbers(std::initializer_list<qlonglong> values) {
    QVariantList tags;
    for (qlonglong value : values) tags << QVariant::fromValue(value);
    return tags;
}

QVariantList strings(const QStringList& values) {
    QVariantList tags;
    for (const QString& value : values) tags << value;
    return tags;
}

void expectPickers(const QWidget& tab, const std::vector<PickerCase>& cases) {
    for (const PickerCase& c : cases) {
        auto* box = tab.findChild<QComboBox*>(c.name);
        ASSERT_NE(box, nullptr) << c.name;
        QStringList texts;
        QVariantList tags;
        for (int i = 0; i < box->count(); ++i) {
            texts << box->itemText(i);
            tags << box->itemData(i);
        }
        EXPECT_EQ(texts, c.texts) << c.name;
        EXPECT_EQ(tags, c.tags) << c.name;
        EXPECT_EQ(box->width(), c.width) << c.name;
    }
}

TEST_F(SettingsTablesTest, SchedulePickersOfferTheirHoursAndMinutes) {
    state->setWeekendScheduleEnabled(true);
    state->setUseManualNightSchedule(true);
    auto tab = shown<ScheduleSettingsTab>();
    const QStringList quarters{"00", "15", "30", "45"};
    expectPickers(
        *tab,
        {
            {"wakeHour",
             100,
             {"4:00", "5:00", "6:00", "7:00", "8:00", "9:00", "10:00", "11:00", "12:00"},
             numbers({4, 5, 6, 7, 8, 9, 10, 11, 12})},
            {"sleepHour", 100, {"20:00", "21:00", "22:00", "23:00", "0:00", "1:00"}, numbers({20, 21, 22, 23, 0, 1})},
            {"weekendWakeHour",
             100,
             {"4:00", "5:00", "6:00", "7:00", "8:00", "9:00", "10:00", "11:00", "12:00", "13:00"},
             numbers({4, 5, 6, 7, 8, 9, 10, 11, 12, 13})},
            {"weekendSleepHour", 100, {"22:00", "23:00", "0:00", "1:00", "2:00"}, numbers({22, 23, 0, 1, 2})},
            {"movieModeAutoRevert",
             120,
             {"1 hour", "1.5 hours", "2 hours", "2.5 hours", "3 hours", "Never"},
             numbers({60, 90, 120, 150, 180, 0})},
            {"nightStartHour", 60, {"17", "18", "19", "20", "21", "22", "23"}, numbers({17, 18, 19, 20, 21, 22, 23})},
            {"nightStartMinute", 60, quarters, numbers({0, 15, 30, 45})},
            {"nightEndHour", 60, {"04", "05", "06", "07", "08", "09"}, numbers({4, 5, 6, 7, 8, 9})},
            {"nightEndMinute", 60, quarters, numbers({0, 15, 30, 45})},
            {"locationSource", 150, {"Automatic", "Manual"}, strings({"Automatic", "Manual"})},
        });
}

TEST_F(SettingsTablesTest, BreakPickersOfferTheirLengthsSoundsAndScreens) {
    auto tab = shown<BreakSettingsTab>();
    const QStringList sounds{"None", "Chime", "Bell", "Singing Bowl", "Nature"};
    const QStringList screens{"Simple Text", "Exercise Prompts", "Nature Image", "Breathing Animation"};
    expectPickers(
        *tab,
        {
            {"breakInterval", 120, {"15 min", "20 min", "30 min", "45 min", "60 min"}, numbers({15, 20, 30, 45, 60})},
            {"breakPostpone", 120, {"2 min", "5 min", "10 min", "15 min"}, numbers({2, 5, 10, 15})},
            {"breakStartSound", 150, sounds, strings(sounds)},
            {"breakEndSound", 150, sounds, strings(sounds)},
            {"breakScreenType", 180, screens, strings(screens)},
        });
}

TEST_F(SettingsTablesTest, DisplaySlidersSpanTheirRangesInTheirSteps) {
    state->setCurrentMode(DisplayMode::custom);
    state->setPwmProtectionEnabled(true);
    state->setSpotlightEnabled(true);
    PerDisplaySettingsMap displays;
    displays[5] = PerDisplaySettings{5, "Display 1", true, std::nullopt, std::nullopt};
    state->setPerDisplaySettings(displays);
    auto tab = shown<DisplaySettingsTab>();

    auto& s = *state;
    const auto card = [&s] { return s.perDisplaySettings().at(5); };
    const struct {
        const char* name;
        double min;
        double max;
        double step;
        std::function<double()> stored;
    } cases[] = {
        {"dayKelvin", 4000, 6500, 100, [&s] { return double(s.dayKelvin()); }},
        {"nightKelvin", 1800, 3500, 100, [&s] { return double(s.nightKelvin()); }},
        {"customModeKelvin", 1800, 6500, 100, [&s] { return double(s.customModeKelvin()); }},
        {"customModeDimLevel", 0, 0.9, 0.05, [&s] { return s.customModeDimLevel(); }},
        {"softwareDimmerOpacity", 0.05, 0.85, 0.05, [&s] { return s.softwareDimmerOpacity(); }},
        {"pwmThreshold", 20, 60, 5, [&s] { return s.pwmThreshold(); }},
        {"transitionDurationDay", 300, 3600, 60, [&s] { return double(s.transitionDurationDay()); }},
        {"transitionDurationNight", 300, 7200, 60, [&s] { return double(s.transitionDurationNight()); }},
        {"spotlightRadius", 50, 500, 10, [&s] { return s.spotlightRadius(); }},
        {"spotlightOpacity", 0.1, 0.95, 0.05, [&s] { return s.spotlightOpacity(); }},
        {"kelvinOverride", 1800, 6500, 100, [card] { return double(card().kelvinOverride.value_or(-1)); }},
        {"brightnessOverride", 0.1, 1.0, 0.05, [card] { return card().brightnessOverride.value_or(-1); }},
    };
    for (const auto& c : cases) {
        auto* stepped = tab->findChild<SteppedSlider*>(c.name);
        ASSERT_NE(stepped, nullptr) << c.name;
        EXPECT_DOUBLE_EQ(stepped->minimum(), c.min) << c.name;
        EXPECT_DOUBLE_EQ(stepped->step(), c.step) << c.name;
        QSlider* slider = stepped->slider();
        EXPECT_EQ(slider->maximum(), std::lround((c.max - c.min) / c.step)) << c.name;
        // The ends, as the keyboard reaches them, store the range's ends (a knob already at an
        // end moves nothing, hence both ways).
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_Home);
        settle();
        EXPECT_NEAR(c.stored(), c.min, 1e-9) << c.name;
        slider = tab->findChild<SteppedSlider*>(c.name)->slider();  // a card may be drawn anew
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_End);
        settle();
        EXPECT_NEAR(c.stored(), c.max, 1e-9) << c.name;
    }
}

}  // namespace
}  // namespace solvara::testing
