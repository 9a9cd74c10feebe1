#include <algorithm>
#include <memory>
#include <set>

#include <gtest/gtest.h>
#include <QLabel>
#include <QPointer>
#include <QTest>

#include "app/ui/breaks/BreakOverlayView.h"
#include "app/ui/breaks/BreakOverlayWindow.h"
#include "app/ui/breaks/BreakSkipButton.h"
#include "app/ui/breaks/BreathingCircle.h"
#include "app/ui/breaks/QtBreakWindow.h"
#include "tests/platform/linux/QtTestApplication.h"

namespace solvara::testing {
namespace {

class BreakOverlayViewTest : public ::testing::Test {
protected:
    // The texts of the visible labels under `widget`, top to bottom.
    static QStringList visibleTexts(const QWidget& widget) {
        QList<QLabel*> labels = widget.findChildren<QLabel*>();
        std::stable_sort(labels.begin(), labels.end(), [&](QLabel* a, QLabel* b) {
            return a->mapTo(&widget, QPoint()).y() < b->mapTo(&widget, QPoint()).y();
        });
        QStringList texts;
        for (QLabel* label : labels) {
            if (label->isVisibleTo(&widget) && !label->text().isEmpty()) texts << label->text();
        }
        return texts;
    }
};

TEST_F(BreakOverlayViewTest, EachLayoutShowsItsTextsAndItsCountdown) {
    struct Case {
        BreakScreenType type;
        std::int64_t seconds;
        QString countdown;
        QStringList texts;  // without the symbol glyphs
    };
    const std::vector<Case> cases{
        {BreakScreenType::simpleText, 20, "20", {"Look Away", "Focus on something 20 feet away", "20"}},
        {BreakScreenType::simpleText, 0, "0", {"Look Away", "Focus on something 20 feet away", "0"}},
        {BreakScreenType::exercisePrompts,
         20,
         "20s",
         {"Stretch Break", "Roll your shoulders back 5 times", "Look up at the ceiling, hold 5 seconds",
          "Stretch your wrists in circles", "Stand up and take 3 deep breaths", "20s"}},
        {BreakScreenType::natureImage, 7, "7", {"Take a moment to relax", "7"}},
        {BreakScreenType::breathingAnimation, 20, "20s", {"Breathe", "20s"}},
        {BreakScreenType::breathingAnimation, 0, "0s", {"Breathe", "0s"}},
    };
    BreakOverlayView view(BreakScreenType::simpleText, 1, Theme::light());
    view.resize(1280, 800);
    for (const auto& c : cases) {
        view.setContent(c.type, c.seconds);
        EXPECT_EQ(view.countdownText(), c.countdown);
        QStringList texts = visibleTexts(view);
        texts.removeIf([](const QString& t) { return t.size() == 1 && t.at(0).unicode() >= 0xF000; });
        EXPECT_EQ(texts, c.texts) << static_cast<int>(c.type);
    }
}

TEST_F(BreakOverlayViewTest, PromptRowsKeepTheirLeadingEdgeAtAnyWidth) {
    BreakOverlayView view(BreakScreenType::exercisePrompts, 20, Theme::light());
    for (int width : {800, 1280, 2560}) {
        view.resize(width, 800);
        view.show();
        settle();
        std::set<int> leftEdges;
        for (QLabel* label : view.findChildren<QLabel*>()) {
            const QString text = label->text();
            const bool prompt = text.startsWith("Roll") || text.startsWith("Look up") ||
                                text.startsWith("Stretch your") || text.startsWith("Stand up");
            if (prompt && label->isVisibleTo(&view)) {
                leftEdges.insert(label->mapTo(&view, QPoint()).x());
            }
        }
        EXPECT_EQ(leftEdges.size(), 1u) << width;
    }
}

TEST_F(BreakOverlayViewTest, TheBreathCarriesOnAcrossCountdownsAndStaysWithinItsBounds) {
    BreakOverlayView view(BreakScreenType::breathingAnimation, 20, Theme::light());
    view.resize(1280, 800);
    view.show();
    BreathingCircle* circle = view.breathingCircle();
    ASSERT_TRUE(circle->isBreathing());
    EXPECT_EQ(circle->size(), QSize(160, 160));

    double smallest = 1.0;
    double largest = 0.0;
    auto sample = [&] {
        smallest = std::min(smallest, circle->scale());
        largest = std::max(largest, circle->scale());
        return circle->scale() > 0.7;
    };
    ASSERT_TRUE(processEventsUntil(sample));
    const double before = circle->scale();
    view.setContent(BreakScreenType::breathingAnimation, 19);
    EXPECT_EQ(view.breathingCircle(), circle);
    EXPECT_TRUE(circle->isBreathing());
    EXPECT_GE(circle->scale(), before);  // not set back to the small circle
    EXPECT_EQ(circle->remainingSeconds(), 19);
    EXPECT_GE(smallest, 0.6);
    EXPECT_LE(largest, 1.0);

    // Another layout takes the circle off screen; coming back starts a new breath.
    view.setContent(BreakScreenType::simpleText, 18);
    EXPECT_FALSE(circle->isBreathing());
    view.setContent(BreakScreenType::breathingAnimation, 17);
    EXPECT_TRUE(circle->isBreathing());
}

TEST_F(BreakOverlayViewTest, TheWindowIsCoveredByTheBackdropWithSkipInTheTopRightCorner) {
    int skips = 0;
    BreakOverlayWindow window(Rect{0, 0, 1024, 768}, {BreakScreenType::simpleText, 20}, Theme::light(),
                              [&] { ++skips; });
    window.show();
    settle();
    EXPECT_EQ(window.geometry(), QRect(0, 0, 1024, 768));

    const QImage image = window.grab().toImage();
    for (const QPoint corner : {QPoint(0, 0), QPoint(1023, 767), QPoint(0, 767), QPoint(1000, 400)}) {
        const QColor pixel = image.pixelColor(corner);
        EXPECT_EQ(pixel.red() + pixel.green() + pixel.blue(), 0) << corner.x() << "," << corner.y();
        EXPECT_NEAR(pixel.alphaF(), 0.85, 0.01);
    }

    const QRect skip = window.skipButton()->geometry();
    EXPECT_EQ(skip.top(), 24);
    EXPECT_EQ(window.width() - 1 - skip.right(), 24);

    // The skip runs after the click's own event: the window may be closed from it.
    QTest::mouseClick(window.skipButton(), Qt::LeftButton);
    EXPECT_EQ(skips, 0);
    ASSERT_TRUE(processEventsUntil([&] { return skips == 1; }));
}

TEST_F(BreakOverlayViewTest, AHandleMayBeDestroyedFromItsOwnSkip) {
    std::unique_ptr<QtBreakWindow> handle;
    QPointer<BreakOverlayWindow> widget;
    bool skipped = false;
    auto window = std::make_unique<BreakOverlayWindow>(
        Rect{0, 0, 800, 600}, BreakWindowContent{BreakScreenType::natureImage, 5}, Theme::dark(), [&] {
            skipped = true;
            handle.reset();
        });
    widget = window.get();
    handle = std::make_unique<QtBreakWindow>(std::move(window));
    widget->show();
    handle->setContent({BreakScreenType::natureImage, 4});
    EXPECT_EQ(widget->view()->countdownText(), "4");
    EXPECT_EQ(handle->frame(), (Rect{0, 0, 800, 600}));

    QTest::mouseClick(widget->skipButton(), Qt::LeftButton);
    ASSERT_TRUE(processEventsUntil([&] { return skipped && widget.isNull(); }));
}

}  // namespace
}  // namespace solvara::testing
