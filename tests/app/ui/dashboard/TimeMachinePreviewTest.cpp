#include <gtest/gtest.h>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "app/state/AppState.h"
#include "app/ui/dashboard/TimeMachinePreviewView.h"
#include "core/foundation/Calendar.h"
#include "platform/fake/FakePlatform.h"
#include "tests/platform/linux/QtTestApplication.h"

namespace solvara {
namespace {

// The preview asks the engine for the chosen quarter hour and shows it; the state keeps its own
// applied values, and only the user's slider move starts a preview.
TEST(TimeMachinePreviewTest, PreviewsTheChosenHourWithoutTouchingTheAppliedState) {
    FakePlatform fake(*Calendar::date(2026, 6, 21, 12, 7));
    fake.displayTransfer.displays = {11};
    AppState state(fake.platform());
    state.setCoordinate(Coordinate{51.5, -0.12});
    const auto applied = state.currentState();
    ASSERT_TRUE(applied);
    fake.events.clear();

    auto engineKelvin = [&](int hour, int minute) {
        const Date moment = *Calendar::date(2026, 6, 21, hour, minute);
        return QString::number(state.circadianEngine().currentState(*state.coordinate(), moment).colorTemperature) +
               "K";
    };

    TimeMachinePreviewView view(state);
    view.show();
    auto* slider = view.findChild<QSlider*>("timeMachineSlider");
    auto* reset = view.findChild<QPushButton*>("timeMachineReset");
    auto* time = view.findChild<QLabel*>("timeMachineTime");
    auto* kelvin = view.findChild<QLabel*>("timeMachineKelvin");
    ASSERT_TRUE(slider && reset && time && kelvin);

    // Idle refreshes, also across a quarter hour, only move the thumb to the present time.
    view.refresh();
    EXPECT_EQ(slider->value(), 48);  // 12:00 to 12:14
    fake.runLoop.advance(10 * 60);
    view.refresh();
    EXPECT_EQ(slider->value(), 49);
    fake.events.clear();
    EXPECT_FALSE(view.isPreviewing());
    EXPECT_FALSE(reset->isVisible());
    EXPECT_FALSE(time->isVisible());

    // Keyboard: End goes to the last quarter hour, the middle of the night.
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_End);
    EXPECT_TRUE(view.isPreviewing());
    EXPECT_TRUE(reset->isVisible());
    EXPECT_EQ(time->text(), "11:45 PM");
    EXPECT_EQ(kelvin->text(), engineKelvin(23, 45));
    QTest::keyClick(slider, Qt::Key_Home);
    EXPECT_EQ(time->text(), "12:00 AM");
    for (int i = 0; i < 48; ++i) QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(time->text(), "12:00 PM");
    EXPECT_EQ(kelvin->text(), engineKelvin(12, 0));
    EXPECT_NE(engineKelvin(12, 0), engineKelvin(23, 45));
    view.refresh();  // a refresh keeps the chosen hour
    EXPECT_EQ(time->text(), "12:00 PM");

    EXPECT_TRUE(fake.events.events.empty());
    EXPECT_EQ(state.currentState()->timestamp, applied->timestamp);
    EXPECT_EQ(state.currentState()->colorTemperature, applied->colorTemperature);

    QTest::mouseClick(reset, Qt::LeftButton);
    EXPECT_FALSE(view.isPreviewing());
    EXPECT_FALSE(time->isVisible());
    EXPECT_EQ(slider->value(), 49);  // back at the present time
    // Reset is gone at once; only its picture fades out, and then that goes too.
    EXPECT_FALSE(reset->isVisible());
    EXPECT_NE(view.findChild<QWidget*>("transitionGhost"), nullptr);
    SOLVARA_EXPECT_EVENTUALLY(view.findChild<QWidget*>("transitionGhost") == nullptr);
    EXPECT_EQ(reset->graphicsEffect(), nullptr);
    EXPECT_TRUE(fake.events.events.empty());
}

TEST(TimeMachinePreviewTest, WithoutACoordinateTheSliderActivatesButShowsNoPreview) {
    FakePlatform fake(*Calendar::date(2026, 6, 21, 12, 7));
    AppState state(fake.platform());
    TimeMachinePreviewView view(state);
    view.show();
    auto* slider = view.findChild<QSlider*>("timeMachineSlider");
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_TRUE(view.isPreviewing());
    EXPECT_TRUE(view.findChild<QPushButton*>("timeMachineReset")->isVisible());
    EXPECT_FALSE(view.findChild<QLabel*>("timeMachineTime")->isVisible());
    EXPECT_EQ(slider->value(), 49);
}

}  // namespace
}  // namespace solvara
