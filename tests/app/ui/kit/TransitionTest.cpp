#include <array>

#include <gtest/gtest.h>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include "app/ui/kit/Transition.h"
#include "app/ui/kit/TransitionLabel.h"
#include "tests/platform/linux/QtTestApplication.h"

namespace solvara::testing {
namespace {

bool anyRunning(const QObject& root) {
    for (const QAbstractAnimation* animation : root.findChildren<QAbstractAnimation*>()) {
        if (animation->state() != QAbstractAnimation::Stopped) return true;
    }
    return false;
}

// A column of three rows on screen; the middle one comes and goes.
struct Column {
    Column() {
        auto* layout = new QVBoxLayout(&window);
        for (QWidget*& row : rows) {
            row = new QWidget(&window);
            row->setFixedHeight(20);
            layout->addWidget(row);
        }
        window.resize(100, 100);
        window.show();
        QCoreApplication::processEvents();
    }
    QWidget window;
    std::array<QWidget*, 3> rows{};
};

TEST(WidgetTransitionTest, AWidgetComesAndGoesAtOnceWhileOnlyItsPictureMoves) {
    Column column;
    QWidget* row = column.rows[1];
    WidgetTransition transition(row, TransitionStyle{200, true, true, false});

    transition.setShown(false, true);
    EXPECT_TRUE(row->isHidden());  // hidden for every reader at once
    ASSERT_NE(transition.ghost(), nullptr);
    EXPECT_EQ(transition.ghost()->geometry(), row->geometry());
    EXPECT_TRUE(transition.isRunning());
    SOLVARA_EXPECT_EVENTUALLY(!transition.isRunning());
    EXPECT_EQ(column.window.findChild<QWidget*>("transitionGhost"), nullptr);

    transition.setShown(true, true);
    EXPECT_FALSE(row->isHidden());
    auto* effect = dynamic_cast<TransitionEffect*>(row->graphicsEffect());
    ASSERT_NE(effect, nullptr);
    EXPECT_LT(effect->opacity(), 0.5);
    EXPECT_LT(effect->offset().y(), -10.0);  // drawn above its place, coming down
    SOLVARA_EXPECT_EVENTUALLY(!transition.isRunning());
    EXPECT_EQ(row->graphicsEffect(), nullptr);

    // A reversal half way ends where the last call asked, with nothing left behind.
    transition.setShown(false, true);
    transition.setShown(true, true);
    transition.setShown(false, true);
    EXPECT_EQ(column.window.findChildren<QWidget*>("transitionGhost").size(), 1);
    SOLVARA_EXPECT_EVENTUALLY(!anyRunning(column.window));
    EXPECT_TRUE(row->isHidden());
    EXPECT_EQ(column.window.findChild<QWidget*>("transitionGhost"), nullptr);

    // Off screen nothing plays.
    column.window.hide();
    transition.setShown(true, false);
    EXPECT_FALSE(row->isHidden());
    EXPECT_FALSE(transition.isRunning());
    EXPECT_EQ(row->graphicsEffect(), nullptr);
}

TEST(WidgetTransitionTest, AMovedWidgetSlidesFromItsOldPlaceAndLandsWithoutAnEffect) {
    Column column;
    QWidget* below = column.rows[2];
    WidgetTransition transition(below, TransitionStyle{});
    transition.slide(QPoint(0, -26), 200);
    auto* effect = dynamic_cast<TransitionEffect*>(below->graphicsEffect());
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->offset(), QPointF(0, 26));
    EXPECT_EQ(effect->boundingRectFor(QRectF(0, 0, 100, 20)), QRectF(0, 0, 100, 46));
    SOLVARA_EXPECT_EVENTUALLY(!transition.isRunning());
    EXPECT_EQ(below->graphicsEffect(), nullptr);
    EXPECT_EQ(below->geometry(), column.rows[2]->geometry());
}

TEST(TransitionLabelTest, TheNewTextIsReadableAtOnceAndOnlyItsPaintingRolls) {
    QWidget window;
    auto* label = new TransitionLabel(TransitionLabel::Kind::roll, 200, QFont(), &Theme::primary, &window);
    label->setTextAnimated("19:59");  // first text: nothing to roll from
    EXPECT_FALSE(label->animation()->state() == QAbstractAnimation::Running);
    window.show();
    QCoreApplication::processEvents();
    label->setTextAnimated("20:00");
    EXPECT_EQ(label->text(), "20:00");
    EXPECT_EQ(label->animation()->state(), QAbstractAnimation::Running);
    // A frame half way paints (and does not crash on texts of different lengths).
    label->setTextAnimated("120:00");
    label->animation()->pause();
    label->animation()->setCurrentTime(100);
    EXPECT_FALSE(label->grab().isNull());
    label->animation()->resume();
    SOLVARA_EXPECT_EVENTUALLY(label->animation()->state() == QAbstractAnimation::Stopped);
    EXPECT_EQ(label->text(), "120:00");
    window.hide();
    label->setTextAnimated("7");
    EXPECT_EQ(label->animation()->state(), QAbstractAnimation::Stopped);
}

}  // namespace
}  // namespace solvara::testing
