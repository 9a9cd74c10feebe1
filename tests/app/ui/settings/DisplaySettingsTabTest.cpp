#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

#include "app/ui/kit/SteppedSlider.h"
#include "app/ui/kit/StyledLabel.h"
#include "app/ui/kit/Theme.h"
#include "app/ui/settings/DisplaySettingsTab.h"
#include "tests/app/ui/settings/SettingsTestSupport.h"

namespace solvara::testing {
namespace {

using DisplaySettingsTabTest = SettingsFixture;

// The middle of a slider's handle: a press there takes hold of it as a drag does, where a press
// beside it pages toward the pointer, and again every 50 ms for as long as it is held.
QPoint handleCentre(const QSlider& slider) {
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.orientation = slider.orientation();
    if (slider.orientation() == Qt::Horizontal) option.state |= QStyle::State_Horizontal;
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = slider.sliderPosition();
    option.sliderValue = slider.value();
    option.singleStep = slider.singleStep();
    option.pageStep = slider.pageStep();
    option.tickPosition = slider.tickPosition();
    option.tickInterval = slider.tickInterval();
    option.upsideDown = slider.invertedAppearance() != (option.direction == Qt::RightToLeft);
    return slider.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &slider).center();
}

TEST_F(DisplaySettingsTabTest, ConditionalSectionsFollowTheirSettingsWhoeverChangesThem) {
    auto tab = shown<DisplaySettingsTab>();
    EXPECT_FALSE(child<QSlider>(*tab, "customModeKelvinSlider")->isVisibleTo(tab.get()));
    EXPECT_FALSE(child<QSlider>(*tab, "softwareDimmerOpacitySlider")->isVisibleTo(tab.get()));
    EXPECT_FALSE(child<QLabel>(*tab, "fontSmoothingCaption")->isVisibleTo(tab.get()));

    state->setCurrentMode(DisplayMode::custom);  // as the popover's mode grid would
    state->setFontSmoothingEnabled(false);
    settle();
    EXPECT_TRUE(child<QSlider>(*tab, "customModeKelvinSlider")->isVisibleTo(tab.get()));
    EXPECT_TRUE(child<QLabel>(*tab, "fontSmoothingCaption")->isVisibleTo(tab.get()));

    clickBox(child<QCheckBox>(*tab, "pwmProtection"));
    settle();
    EXPECT_TRUE(state->pwmProtectionEnabled());
    EXPECT_TRUE(child<QSlider>(*tab, "softwareDimmerOpacitySlider")->isVisibleTo(tab.get()));
}

TEST_F(DisplaySettingsTabTest, EffectiveTemperatureAndItsBlueLightReduction) {
    auto tab = shown<DisplaySettingsTab>();
    auto* effective = child<QLabel>(*tab, "effectiveTemperature");
    auto* reduction = child<StyledLabel>(*tab, "blueLightReduction");
    state->setIsEnabled(false);
    settle();
    EXPECT_EQ(effective->text(), "6500K");
    EXPECT_EQ(reduction->text(), "0%");
    EXPECT_EQ(reduction->color(), Theme::of(tab.get()).secondary);

    state->setIsEnabled(true);
    state->setCurrentMode(DisplayMode::sunglasses);  // 2200 K
    settle();
    EXPECT_EQ(effective->text(), "2200K");
    EXPECT_GT(reduction->text().chopped(1).toInt(), 50);
    EXPECT_EQ(reduction->color(), Theme::of(tab.get()).orange);
}

TEST_F(DisplaySettingsTabTest, SlidersStoreOnlyStepsAndLeaveAnOutOfRangeValueUntilMoved) {
    state->setDayKelvin(7000);  // beyond the slider, as an import may bring
    auto tab = shown<DisplaySettingsTab>();
    auto* day = child<QSlider>(*tab, "dayKelvinSlider");
    EXPECT_EQ(day->value(), day->maximum());
    const std::size_t before = mark();
    tab->refresh();
    EXPECT_EQ(writesSince(before), 0u);
    EXPECT_EQ(state->dayKelvin(), 7000);

    day->setFocus();
    QTest::keyClick(day, Qt::Key_Left);
    EXPECT_EQ(state->dayKelvin(), 6400);
    QTest::keyClick(day, Qt::Key_Home);
    EXPECT_EQ(state->dayKelvin(), 4000);

    auto* opacity = child<QSlider>(*tab, "spotlightOpacitySlider");
    opacity->setValue(5);  // a screen reader's "set value": the sixth step
    EXPECT_DOUBLE_EQ(state->spotlightOpacity(), 0.35);
}

TEST_F(DisplaySettingsTabTest, TransitionSlidersStoreSecondsAndShowWholeMinutes) {
    state->setTransitionDurationNight(7230);  // off the steps and beyond the end
    auto tab = shown<DisplaySettingsTab>();
    auto* day = child<QSlider>(*tab, "transitionDurationDaySlider");
    auto* night = child<QSlider>(*tab, "transitionDurationNightSlider");
    EXPECT_EQ(night->parentWidget()->findChild<QLabel*>()->text(), "120 min");
    const std::size_t before = mark();
    day->setFocus();
    QTest::keyClick(day, Qt::Key_Right);
    EXPECT_EQ(state->transitionDurationDay(), 1260);
    EXPECT_GT(writesSince(before), 0u) << "persisted";
    settle();
    EXPECT_EQ(day->parentWidget()->findChild<QLabel*>()->text(), "21 min");
    EXPECT_EQ(state->transitionDurationNight(), 7230);
}

TEST_F(DisplaySettingsTabTest, DisplayCardsAreSortedByNameAndWriteEveryStepOfADrag) {
    PerDisplaySettingsMap displays;
    displays[7] = PerDisplaySettings{7, "Display 2", true, std::nullopt, std::nullopt};
    displays[3] = PerDisplaySettings{3, "Display 1", true, std::nullopt, std::nullopt};
    displays[9] = PerDisplaySettings{9, "built-in", true, std::nullopt, std::nullopt};
    state->setPerDisplaySettings(displays);
    auto tab = shown<DisplaySettingsTab>();
    EXPECT_FALSE(child<QLabel>(*tab, "noDisplays")->isVisibleTo(tab.get()));

    QList<QWidget*> cards;
    for (std::uint32_t id : {3u, 7u, 9u})
        cards << child<QWidget>(*tab, QString("displayCard%1").arg(id).toUtf8().data());
    EXPECT_LT(cards[0]->y(), cards[1]->y());
    EXPECT_LT(cards[1]->y(), cards[2]->y()) << "a capital letter sorts before a small one";

    QPointer<QSlider> kelvin = cards[1]->findChild<QSlider*>("kelvinOverrideSlider");
    ASSERT_TRUE(kelvin);
    EXPECT_EQ(kelvin->value(), (state->effectiveKelvin() - 1800) / 100) << "follows the effective temperature";
    const std::size_t beforeDrag = mark();
    QTest::mousePress(kelvin, Qt::LeftButton, {}, handleCentre(*kelvin));
    ASSERT_TRUE(kelvin->isSliderDown());
    EXPECT_EQ(writesSince(beforeDrag), 0u) << "taking hold of the handle moves nothing";
    for (int step = 1; step <= 3; ++step) {
        kelvin->setValue(kelvin->value() + 1);
        settle();  // the refreshes in between must not rebuild the card under the pointer
        ASSERT_TRUE(kelvin) << "the dragged slider survives the refresh";
        EXPECT_EQ(state->perDisplaySettings().at(7).kelvinOverride, 1800 + kelvin->value() * 100);
    }
    QTest::mouseRelease(kelvin, Qt::LeftButton, {}, handleCentre(*kelvin));
    EXPECT_FALSE(kelvin->isSliderDown());

    auto* enabled = cards[0]->findChild<QAbstractButton*>("displayEnabled");
    QTest::mouseClick(enabled, Qt::LeftButton);
    settle();
    EXPECT_FALSE(state->perDisplaySettings().at(3).isEnabled);
    EXPECT_FALSE(cards[0]->findChild<QSlider*>("kelvinOverrideSlider")->isVisibleTo(tab.get()));
}

// Every slider row of the tab and of a display card, in a narrow, a middle and a wide window.
TEST_F(DisplaySettingsTabTest, SliderRowsReadLabelSliderValueAndLeaveTheSpareWidthAfterThem) {
    state->setCurrentMode(DisplayMode::custom);
    state->setPwmProtectionEnabled(true);
    state->setSpotlightEnabled(true);
    state->setPerDisplaySettings({{3, PerDisplaySettings{3, "Display 1", true, std::nullopt, std::nullopt}}});
    struct Row {
        const char* name;
        int widestSlider;
        int valueWidth;
    };
    const Row rows[] = {
        {"dayKelvin", 200, 55},
        {"nightKelvin", 200, 55},
        {"customModeKelvin", 200, 55},
        {"customModeDimLevel", 200, 55},
        {"softwareDimmerOpacity", 200, 40},
        {"pwmThreshold", 200, 40},
        {"transitionDurationDay", 200, 55},
        {"transitionDurationNight", 200, 55},
        {"spotlightRadius", 200, 55},
        {"spotlightOpacity", 200, 55},
        {"kelvinOverride", 160, 55},
        {"brightnessOverride", 160, 55},
    };
    constexpr int spacing = 8;  // the design's default, between each of the three
    struct Window {
        int width;
        bool roomy;  // every slider at its widest, with width to spare
    };
    auto tab = shown<DisplaySettingsTab>();
    for (const Window window : {Window{340, false}, Window{560, true}, Window{900, true}}) {
        tab->resize(window.width, 900);
        settle();
        for (const Row& r : rows) {
            SCOPED_TRACE(::testing::Message() << window.width << " " << r.name);
            auto* stepped = child<SteppedSlider>(*tab, r.name);
            QWidget* row = stepped->parentWidget();
            auto* label = row->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
            ASSERT_NE(label, nullptr);
            const QRect slider = stepped->slider()->geometry().translated(stepped->pos());
            const QRect value = stepped->valueLabel()->geometry().translated(stepped->pos());
            const int spare = row->width() - 1 - value.right();
            EXPECT_EQ(label->width(), label->sizeHint().width()) << "the label takes no spare width";
            EXPECT_EQ(slider.left() - label->geometry().right() - 1, spacing) << "the slider follows the label";
            EXPECT_EQ(value.left() - slider.right() - 1, spacing) << "the value follows the slider";
            EXPECT_EQ(value.right(), stepped->geometry().right()) << "no width between the value and the spare width";
            EXPECT_EQ(value.width(), r.valueWidth);
            EXPECT_LE(slider.width(), r.widestSlider);
            EXPECT_TRUE(slider.width() == r.widestSlider || spare == 0) << "no width spared while the slider lacks it";
            EXPECT_EQ(slider.width() == r.widestSlider && spare > 0, window.roomy);
        }
    }
}

}  // namespace
}  // namespace solvara::testing
