#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "app/ui/settings/BreakSettingsTab.h"
#include "tests/app/ui/settings/SettingsTestSupport.h"

namespace solvara::testing {
namespace {

using BreakSettingsTabTest = SettingsFixture;

TEST_F(BreakSettingsTabTest, RemindersShowTheCountdownAndTheDaysCounts) {
    state->breakScheduler().restoreStats(3, 1);
    auto tab = shown<BreakSettingsTab>();
    auto* interval = child<QComboBox>(*tab, "breakInterval");
    auto* postpone = child<QPushButton>(*tab, "postponeBreak");
    EXPECT_FALSE(interval->isVisibleTo(tab.get()));
    EXPECT_TRUE(postpone->isVisibleTo(tab.get()));
    EXPECT_FALSE(postpone->isEnabled());

    clickBox(child<QCheckBox>(*tab, "breaksEnabled"));
    EXPECT_TRUE(state->breaksEnabled());
    state->tickBreakTimer();
    settle();
    EXPECT_TRUE(interval->isVisibleTo(tab.get()));
    EXPECT_TRUE(postpone->isEnabled());
    EXPECT_EQ(child<QLabel>(*tab, "breakCountdown")->text(), "Next break in 20:00");
    EXPECT_EQ(child<QLabel>(*tab, "breaksCompleted")->text(), "3");
    EXPECT_EQ(child<QLabel>(*tab, "compliance")->text(), "75%");

    QTest::mouseClick(postpone, Qt::LeftButton);
    EXPECT_EQ(state->breakScheduler().postponeCount(), 1);
}

TEST_F(BreakSettingsTabTest, TheCaptionFollowsTheIntervalAndAnUnlistedOneSelectsNothing) {
    state->setBreaksEnabled(true);
    state->setBreakIntervalMinutes(25);
    auto tab = shown<BreakSettingsTab>();
    auto* interval = child<QComboBox>(*tab, "breakInterval");
    auto* caption = child<QLabel>(*tab, "breaksCaption");
    EXPECT_EQ(interval->currentIndex(), -1);
    EXPECT_TRUE(caption->text().startsWith("Every 25 minutes, look at something 20 feet away"));

    interval->setFocus();
    QTest::keyClick(interval, Qt::Key_End);
    settle();
    EXPECT_EQ(state->breakIntervalMinutes(), 60);
    EXPECT_TRUE(caption->text().startsWith("Every 60 minutes,"));

    auto* sound = child<QComboBox>(*tab, "breakEndSound");
    sound->setFocus();
    QTest::keyClick(sound, Qt::Key_Down);  // Bell -> Singing Bowl
    EXPECT_EQ(state->breakEndSound(), BreakSound::bowl);
}

}  // namespace
}  // namespace solvara::testing
