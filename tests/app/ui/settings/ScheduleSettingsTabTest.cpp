#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include "app/ui/settings/ScheduleSettingsTab.h"
#include "tests/app/ui/settings/SettingsTestSupport.h"

namespace solvara::testing {
namespace {

using ScheduleSettingsTabTest = SettingsFixture;

TEST_F(ScheduleSettingsTabTest, ManualSourceShowsTheCityAndMovesTheCoordinateThere) {
    auto tab = shown<ScheduleSettingsTab>();
    auto* source = child<QComboBox>(*tab, "locationSource");
    EXPECT_FALSE(child<QComboBox>(*tab, "selectedCity")->isVisibleTo(tab.get()));
    EXPECT_FALSE(child<QLabel>(*tab, "coordinates")->isVisibleTo(tab.get()));
    EXPECT_TRUE(child<QLabel>(*tab, "waitingForLocation")->isVisibleTo(tab.get()));

    source->setFocus();
    QTest::keyClick(source, Qt::Key_Down);  // Automatic -> Manual, as a keyboard user picks it
    settle();
    EXPECT_EQ(state->locationSource(), LocationSource::manual);
    EXPECT_TRUE(child<QComboBox>(*tab, "selectedCity")->isVisibleTo(tab.get()));
    EXPECT_EQ(child<QLabel>(*tab, "coordinates")->text(), "40.71, -74.01");

    QTest::keyClick(source, Qt::Key_Up);
    settle();
    EXPECT_EQ(state->locationSource(), LocationSource::automatic);
    EXPECT_TRUE(child<QLabel>(*tab, "coordinates")->isVisibleTo(tab.get())) << "the coordinate stays";
    EXPECT_FALSE(child<QComboBox>(*tab, "selectedCity")->isVisibleTo(tab.get()));
}

TEST_F(ScheduleSettingsTabTest, PickersStoreTheirTagsAndKeepAStoredValueOutsideTheirList) {
    state->setWakeHour(3);  // as a settings import may bring
    auto tab = shown<ScheduleSettingsTab>();
    auto* wake = child<QComboBox>(*tab, "wakeHour");
    auto* sleep = child<QComboBox>(*tab, "sleepHour");
    EXPECT_EQ(wake->currentIndex(), -1);
    EXPECT_EQ(sleep->currentText(), "23:00");

    const std::size_t before = mark();
    tab->refresh();
    EXPECT_EQ(writesSince(before), 0u) << "a refresh writes nothing";
    EXPECT_EQ(state->wakeHour(), 3);

    sleep->setFocus();
    QTest::keyClick(sleep, Qt::Key_Down);  // 23:00 -> 0:00
    EXPECT_EQ(state->sleepHour(), 0);
    settle();
    EXPECT_EQ(sleep->currentText(), "0:00");

    QStringList revertTexts;
    auto* revert = child<QComboBox>(*tab, "movieModeAutoRevert");
    for (int i = 0; i < revert->count(); ++i) revertTexts << revert->itemText(i);
    EXPECT_EQ(revertTexts, QStringList({"1 hour", "1.5 hours", "2 hours", "2.5 hours", "3 hours", "Never"}));
    revert->setFocus();
    QTest::keyClick(revert, Qt::Key_End);
    EXPECT_EQ(state->movieModeAutoRevertMinutes(), 0);
}

TEST_F(ScheduleSettingsTabTest, ScheduleSwitchesShowTheirRowsAndKeepTheirValues) {
    state->setManualNightEndHour(4);
    auto tab = shown<ScheduleSettingsTab>();
    auto* weekend = child<QCheckBox>(*tab, "weekendSchedule");
    auto* manual = child<QCheckBox>(*tab, "manualNightSchedule");
    auto* endHour = child<QComboBox>(*tab, "nightEndHour");
    EXPECT_FALSE(child<QComboBox>(*tab, "weekendWakeHour")->isVisibleTo(tab.get()));
    EXPECT_FALSE(endHour->isVisibleTo(tab.get()));

    clickBox(weekend);
    manual->setFocus();
    QTest::keyClick(manual, Qt::Key_Space);
    settle();
    EXPECT_TRUE(state->weekendScheduleEnabled());
    EXPECT_TRUE(state->useManualNightSchedule());
    EXPECT_TRUE(child<QComboBox>(*tab, "weekendWakeHour")->isVisibleTo(tab.get()));
    EXPECT_EQ(endHour->currentText(), "04");
    EXPECT_EQ(child<QComboBox>(*tab, "nightStartMinute")->currentText(), "00");

    clickBox(manual);
    settle();
    EXPECT_FALSE(endHour->isVisibleTo(tab.get()));
    EXPECT_EQ(state->manualNightEndHour(), 4);
}

TEST_F(ScheduleSettingsTabTest, SolarRowsFollowTheCurrentState) {
    auto tab = shown<ScheduleSettingsTab>();
    CircadianEngine::CircadianState current;
    current.solarElevation = -12.34;
    current.phase = TwilightPhase::nauticalTwilight;
    current.isMorningBoostActive = true;
    state->setCurrentState(current);
    settle();
    EXPECT_FALSE(child<QLabel>(*tab, "waitingForLocation")->isVisibleTo(tab.get()));
    EXPECT_EQ(child<QLabel>(*tab, "solarElevation")->text(), "-12.3°");
    EXPECT_EQ(child<QLabel>(*tab, "solarPhase")->text(), "Dawn");
    EXPECT_EQ(child<QLabel>(*tab, "morningBoost")->text(), "Active");
}

}  // namespace
}  // namespace solvara::testing
