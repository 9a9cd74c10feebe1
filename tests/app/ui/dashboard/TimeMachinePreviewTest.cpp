#include <functional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include "app/state/AppState.h"
#include "app/ui/dashboard/TimeMachinePreviewView.h"
#include "app/ui/kit/Transition.h"
#include "core/foundation/Calendar.h"
#include "platform/fake/FakePlatform.h"
#include "tests/app/ui/EaseInOut.h"
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

// A move opens the card at once. Reset leaves the card idle at once for every reader; on screen,
// Reset and the preview rows fade where they stood and the card closes to its idle height along
// the curve, all in the default animation, and then nothing of it remains.
TEST(TimeMachinePreviewTest, ResetPlaysTheWayBackToIdleInTheDefaultAnimation) {
    FakePlatform fake(*Calendar::date(2026, 6, 21, 12, 7));
    AppState state(fake.platform());
    state.setCoordinate(Coordinate{51.5, -0.12});
    QWidget column;
    auto* layout = new QVBoxLayout(&column);
    auto* view = new TimeMachinePreviewView(state, &column);
    auto* below = new QWidget(&column);
    below->setFixedHeight(20);
    layout->addWidget(view);
    layout->addWidget(below);
    layout->addStretch(1);
    column.resize(300, 400);
    column.show();
    const auto running = [&] {
        std::vector<QVariantAnimation*> animations;
        for (auto* animation : view->findChildren<QVariantAnimation*>()) {
            if (animation->state() == QAbstractAnimation::Running) animations.push_back(animation);
        }
        return animations;
    };
    auto* slider = view->findChild<QSlider*>("timeMachineSlider");
    // Looked at as every event comes, from the move until the card rests: an animation of the
    // card's own or one made for the way in, started with the move or on a later turn, runs at
    // one of them, as a frame needs an event of its own.
    struct EveryEvent : QObject {
        std::function<void()> look;
        bool eventFilter(QObject*, QEvent*) override {
            look();
            return false;
        }
    } watch;
    bool played = false;
    watch.look = [&] { played = played || !running().empty(); };
    QCoreApplication::instance()->installEventFilter(&watch);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    watch.look();
    testing::settle();  // the rows settle, then the card
    QCoreApplication::instance()->removeEventFilter(&watch);
    EXPECT_FALSE(played) << "the preview opens at once";
    const int openHeight = view->height();
    const int belowOpen = below->y();
    QLabel* title = nullptr;
    for (auto* label : view->findChildren<QLabel*>()) {
        if (label->text() == "Time Machine") title = label;
    }
    ASSERT_NE(title, nullptr);
    const QRect titleOpen = title->geometry();
    const QRect resetOpen = view->findChild<QPushButton*>("timeMachineReset")->geometry();
    const QRect rowsOpen = view->findChild<QWidget*>("timeMachinePreviewBlock")->geometry();

    QTest::mouseClick(view->findChild<QPushButton*>("timeMachineReset"), Qt::LeftButton);
    EXPECT_FALSE(view->findChild<QLabel*>("timeMachineTime")->isVisible());
    // Held at their first frame while the card's layout places what the press changed.
    const auto animations = running();
    for (QVariantAnimation* animation : animations) animation->pause();
    testing::settle();
    // Closing from where it stood, with pictures of Reset and of the rows fading where they stood.
    EXPECT_EQ(view->height(), openHeight);
    EXPECT_EQ(title->geometry(), titleOpen);
    const auto ghosts = view->findChildren<QWidget*>("transitionGhost");
    ASSERT_EQ(ghosts.size(), 2u);
    EXPECT_EQ(ghosts[0]->geometry(), resetOpen);
    EXPECT_EQ(ghosts[1]->geometry(), rowsOpen);
    // The pictures are see-through (the card's tint shows through them) and lie beneath the
    // slider row that moves up over their place.
    const QImage frame = view->grab().toImage();
    for (QWidget* ghost : ghosts) {
        const QPoint corner = ghost->geometry().bottomLeft() + QPoint(1, -1);
        EXPECT_EQ(frame.pixelColor(corner), frame.pixelColor(corner - QPoint(2, 0)));
        EXPECT_LT(view->children().indexOf(ghost), view->children().indexOf(slider));
    }
    // Both fades and the closing, each over the default animation's time and curve.
    EXPECT_EQ(animations.size(), 3u);
    for (QVariantAnimation* animation : animations) {
        EXPECT_EQ(animation->duration(), 350);
        EXPECT_EQ(animation->easingCurve(), motion::easeInOut());
    }

    // Half way the slider row has moved up over the rows' place and covers their picture: where
    // the row stands, the frame is the same with the pictures or without them.
    for (QVariantAnimation* animation : animations) animation->setCurrentTime(175);
    testing::settle();
    QRect sliderRow = slider->geometry();
    for (auto* label : view->findChildren<QLabel*>()) {
        if (label->text() == "12a") sliderRow |= label->geometry();
    }
    EXPECT_LT(sliderRow.top(), rowsOpen.bottom());
    const QImage covered = view->grab(sliderRow).toImage();
    for (QWidget* ghost : ghosts) ghost->hide();
    const QImage alone = view->grab(sliderRow).toImage();
    for (QWidget* ghost : ghosts) ghost->show();
    EXPECT_EQ(covered, alone);
    // The card's height along the way, measured against the curve once its idle height is known.
    std::vector<std::pair<double, int>> heights;
    for (double progress : {0.25, 0.5, 0.75}) {
        for (QVariantAnimation* animation : animations) {
            animation->setCurrentTime(static_cast<int>(progress * animation->duration()));
        }
        testing::settle();
        heights.emplace_back(progress, view->height());
    }
    for (QVariantAnimation* animation : animations) animation->resume();

    testing::settle();
    EXPECT_TRUE(running().empty());
    EXPECT_LT(view->height(), openHeight);
    for (const auto& [progress, height] : heights) {
        EXPECT_NEAR(height, openHeight + (view->height() - openHeight) * testing::easeInOut(progress), 1.0)
            << "at " << progress;
    }
    EXPECT_EQ(view->height(), view->sizeHint().height());
    EXPECT_EQ(view->minimumHeight(), 0);
    EXPECT_LT(below->y(), belowOpen);
    EXPECT_EQ(view->findChild<QWidget*>("transitionGhost"), nullptr);
    for (QWidget* widget : view->findChildren<QWidget*>()) EXPECT_EQ(widget->graphicsEffect(), nullptr);
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
