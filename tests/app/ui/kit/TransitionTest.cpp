#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>

#include <gtest/gtest.h>
#include <QHBoxLayout>
#include <QImage>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include "app/ui/kit/Dot.h"
#include "app/ui/kit/Pill.h"
#include "app/ui/kit/Transition.h"
#include "app/ui/kit/TransitionLabel.h"
#include "tests/app/ui/HalfWay.h"
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
        settle();
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
    settle();
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

// Half way through "19:59" to "20:00", the digits that change are each painted twice at part strength, the old ones
// risen and the new ones still below, so their ink reaches above and below the text at rest; the colon both texts
// share stands still.
TEST(TransitionLabelTest, HalfWayTheChangedDigitsRollWhileTheSharedColonStays) {
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    QFont font;
    font.setPixelSize(24);
    auto* label = new TransitionLabel(TransitionLabel::Kind::roll, 200, font, &Theme::primary, &window);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    layout->addWidget(label);
    layout->addStretch(1);
    label->setTextAnimated("19:59");
    window.resize(200, 100);
    window.show();
    settle();
    const auto picture = [&] { return window.grab().toImage().copy(label->geometry()); };
    const QImage before = picture();
    label->setTextAnimated("20:00");
    label->animation()->pause();
    label->animation()->setCurrentTime(100);
    settle();
    const QImage halfWay = picture();
    label->animation()->setCurrentTime(200);
    settle();
    const QImage after = picture();

    const QFontMetrics metrics(font);
    const int left = label->contentsRect().left();
    const int colonStart = left + metrics.horizontalAdvance("19");
    const int colonEnd = left + metrics.horizontalAdvance("19:");
    const QRect colon(colonStart + 1, 0, colonEnd - colonStart - 2, before.height());
    EXPECT_TRUE(halfWay.copy(colon) == before.copy(colon)) << "the colon stands still half way";
    EXPECT_TRUE(after.copy(colon) == before.copy(colon)) << "and at the end";

    // Over the changed digits: the first and last rows with ink, and the darkest ink.
    struct Ink {
        int top = -1;
        int bottom = -1;
        int darkest = 255;
    };
    const int background = qGray(before.pixel(0, 0));
    const auto inkOf = [&](const QImage& image) {
        Ink ink;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (x >= colonStart && x < colonEnd) continue;
                const int gray = qGray(image.pixel(x, y));
                if (std::abs(gray - background) < 24) continue;
                if (ink.top < 0) ink.top = y;
                ink.bottom = y;
                ink.darkest = std::min(ink.darkest, gray);
            }
        }
        return ink;
    };
    const Ink rest = inkOf(before);
    const Ink rolling = inkOf(halfWay);
    ASSERT_GE(rest.top, 0);
    EXPECT_EQ(inkOf(after).top, rest.top);
    EXPECT_LT(rolling.top, rest.top - 3) << "the old digits have risen";
    EXPECT_GT(rolling.bottom, rest.bottom + 3) << "the new ones are still below";
    EXPECT_GT(rolling.darkest, rest.darkest + 40) << "neither is drawn at full strength";
}

// A label on a row that gives it what it asks for, on the side it is aligned to. A change starts where the old text
// stood: the first frame is the old text as it was (nothing of the new drawn over it, nothing cut off by the new size);
// the label keeps room for both texts while it plays and ends at the new text's size.
TEST(TransitionLabelTest, AChangeStartsFromTheOldTextAsItStoodAndEndsAtTheNewSize) {
    struct Row {
        TransitionLabel::Kind kind;
        Qt::Alignment alignment;
        QString from;
        QString to;
    };
    const Row rows[] = {
        {TransitionLabel::Kind::roll, Qt::AlignLeft, "9 lux", "12 lux"},   // " lux" moves: it rolls
        {TransitionLabel::Kind::roll, Qt::AlignLeft, "101 lux", "0 lux"},  // and the label shrinks
        {TransitionLabel::Kind::roll, Qt::AlignRight, "9 lux", "12 lux"},  // " lux" stays
        {TransitionLabel::Kind::roll, Qt::AlignLeft, "19:59", "20:00"},
        {TransitionLabel::Kind::crossFade, Qt::AlignLeft, "Initializing...", "Night"},
    };
    for (const Row& row : rows) {
        QWidget window;
        auto* layout = new QHBoxLayout(&window);
        auto* label = new TransitionLabel(row.kind, 200, QFont(), &Theme::primary, &window);
        label->setAlignment(row.alignment | Qt::AlignVCenter);
        layout->addStretch(row.alignment == Qt::AlignRight ? 1 : 0);
        layout->addWidget(label);
        layout->addStretch(row.alignment == Qt::AlignRight ? 0 : 1);
        label->setTextAnimated(row.from);
        window.resize(300, 40);
        window.show();
        settle();
        const QImage before = window.grab().toImage();
        const QSize fromSize = label->size();

        label->setTextAnimated(row.to);
        label->animation()->pause();
        label->animation()->setCurrentTime(0);
        settle();
        EXPECT_EQ(window.grab().toImage(), before) << row.to.toStdString();
        EXPECT_GE(label->width(), fromSize.width()) << row.to.toStdString();

        label->animation()->setCurrentTime(200);
        settle();
        TransitionLabel settled(row.kind, 200, QFont(), &Theme::primary);
        settled.setTextAnimated(row.to);
        EXPECT_EQ(label->width(), settled.sizeHint().width()) << row.to.toStdString();
    }
}

// Half way, a cross-fade paints a blend: not the new look at once, not the new text's ink alone, not the old look
// held until a cut at the end.
TEST(CrossFadeTest, HalfWayPaintsTheOldLookAndTheNewEachAtHalfStrength) {
    struct Row {
        const char* widget;
        // Puts the widget with its old look into `row`; answers its animated change to the new look.
        std::function<std::function<void()>(QHBoxLayout& row)> place;
    };
    const Row rows[] = {
        {"a dot",
         [](QHBoxLayout& row) -> std::function<void()> {
             auto* dot = new Dot(12, &Theme::red);
             row.addWidget(dot);
             return [dot] { dot->setColor(&Theme::green, 1.0, 500); };
         }},
        // Digits of one width keep the capsule's width, so only the texts change.
        {"a pill",
         [](QHBoxLayout& row) -> std::function<void()> {
             auto* pill = new Pill("10 lux", QFont());
             row.addWidget(pill);
             return [pill] { pill->setText("47 lux", 500); };
         }},
        {"a cross-fading label",
         [](QHBoxLayout& row) -> std::function<void()> {
             auto* label = new TransitionLabel(TransitionLabel::Kind::crossFade, 500, QFont(), &Theme::primary);
             label->setTextAnimated("Initializing...");
             row.addWidget(label);
             return [label] { label->setTextAnimated("Night"); };
         }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.widget);
        QWidget window;
        auto* layout = new QHBoxLayout(&window);
        const std::function<void()> change = r.place(*layout);
        layout->addStretch(1);
        window.resize(200, 40);
        window.show();
        settle();
        const QImage from = window.grab().toImage();

        change();
        auto* fade = window.findChild<QVariantAnimation*>();
        ASSERT_NE(fade, nullptr);
        ASSERT_EQ(fade->state(), QAbstractAnimation::Running);
        fade->pause();
        fade->setCurrentTime(fade->duration() / 2);
        settle();
        const QImage halfWay = window.grab().toImage();
        fade->setCurrentTime(fade->duration());
        settle();
        expectHalfWayBetween(from, halfWay, window.grab().toImage());
    }
}

// The capsule goes from the old text's width to the new one's with the cross-fade.
TEST(PillTest, TheCapsuleWidensOrNarrowsWithTheCrossFade) {
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* pill = new Pill("\u226410 lux", QFont(), &window);
    layout->addWidget(pill);
    layout->addStretch(1);
    window.show();
    settle();
    const int from = pill->width();
    const int to = Pill("\u22641 lux", QFont()).sizeHint().width();
    ASSERT_LT(to, from);

    pill->setText("\u22641 lux", 500);
    EXPECT_EQ(pill->accessibleName(), "\u22641 lux");
    auto* fade = pill->findChild<QVariantAnimation*>();
    fade->pause();
    const struct {
        int milliseconds;
        int width;
    } frames[] = {{0, from}, {250, (from + to + 1) / 2}, {500, to}};
    for (const auto& frame : frames) {
        fade->setCurrentTime(frame.milliseconds);
        settle();
        EXPECT_NEAR(pill->width(), frame.width, 1) << frame.milliseconds;
    }
    EXPECT_EQ(fade->state(), QAbstractAnimation::Stopped);
}

}  // namespace
}  // namespace solvara::testing
