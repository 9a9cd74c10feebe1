#include <QAbstractButton>
#include <QComboBox>
#include <QSlider>

#include "app/ui/settings/FeaturesSettingsTab.h"
#include "tests/app/ui/settings/SettingsTestSupport.h"
#include "tests/platform/linux/QtTestApplication.h"

namespace solvara::testing {
namespace {

using FeaturesSettingsTabTest = SettingsFixture;

TEST_F(FeaturesSettingsTabTest, CardsShowTheirSwitchesAndSoundscapesAppearWithTheirCard) {
    state->setSoundscapeTheme("Thunder");  // names no theme
    auto tab = shown<FeaturesSettingsTab>();
    const std::pair<const char*, bool> defaults[] = {
        {"featureCircadianFiltering", true}, {"featurePWMProtection", false},     {"featureBreakReminders", false},
        {"featureMorningBoost", true},       {"featurePerDisplayControl", false}, {"featureInactivityPause", false},
        {"featureSpotlightDimming", false},  {"featureSoftwareCursor", false},    {"featureSoundscapes", false},
    };
    for (const auto& [name, on] : defaults) EXPECT_EQ(child<QAbstractButton>(*tab, name)->isChecked(), on) << name;
    auto* theme = child<QComboBox>(*tab, "soundscapeTheme");
    EXPECT_FALSE(theme->isVisibleTo(tab.get()));

    QTest::mouseClick(child<QAbstractButton>(*tab, "featureSoundscapes"), Qt::LeftButton);
    auto* pwm = child<QAbstractButton>(*tab, "featurePWMProtection");
    pwm->setFocus();
    QTest::keyClick(pwm, Qt::Key_Space);
    settle();
    EXPECT_TRUE(state->featureSoundscapes());
    EXPECT_TRUE(state->pwmProtectionEnabled());
    EXPECT_TRUE(theme->isVisibleTo(tab.get()));
    EXPECT_EQ(theme->currentIndex(), -1);
    EXPECT_EQ(state->soundscapeTheme(), "Thunder");

    auto* volume = child<QSlider>(*tab, "soundscapeVolumeSlider");
    volume->setFocus();
    QTest::keyClick(volume, Qt::Key_Right);
    EXPECT_DOUBLE_EQ(state->soundscapeVolume(), 0.35);
    auto* volumeText = child<QLabel>(*tab, "soundscapeVolumeText");
    EXPECT_EQ(volumeText->text(), "35%");
    const auto left = [&tab](QWidget* widget) { return widget->mapTo(tab.get(), QPoint()).x(); };
    EXPECT_GT(left(volumeText), left(child<QWidget>(*tab, "soundscapeVolumeLoud"))) << "speaker, slider, speaker, %";
    const std::size_t before = mark();
    tab->refresh();
    EXPECT_EQ(writesSince(before), 0u);
}

TEST_F(FeaturesSettingsTabTest, HoveringACardShowsItsDescription) {
    auto tab = shown<FeaturesSettingsTab>();
    QWidget* card = child<QWidget>(*tab, "featureBreakRemindersCard");
    EXPECT_TRUE(card->toolTip().startsWith("Follows the 20-20-20 rule"));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), card->mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(card, &enter);
    EXPECT_EQ(tab->hoveredFeature(), 2);
    EXPECT_TRUE(tab->popover()->isVisible());
    EXPECT_TRUE(child<QLabel>(*tab->popover(), "featurePopoverText")->text().startsWith("Follows the 20-20-20 rule"));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(card, &leave);
    SOLVARA_EXPECT_EVENTUALLY(!tab->popover()->isVisible());
    EXPECT_EQ(tab->hoveredFeature(), -1);
}

}  // namespace
}  // namespace solvara::testing
