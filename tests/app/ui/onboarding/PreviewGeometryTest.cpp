#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "app/ui/onboarding/PreviewGeometry.h"

namespace solvara::preview {
namespace {

TEST(PreviewGeometry, TheProgressFillCoversAQuarterAPage) {
    struct Case {
        double width;
        double step;
        double fill;
    };
    const Case cases[] = {{520, 0, 130}, {520, 1, 260}, {520, 2, 390}, {520, 3, 520}, {520, 1.5, 325},
                          {520, 7, 520}, {520, -3, 0},  {0, 2, 0},     {-5, 2, 0}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(progressFillWidth(c.width, c.step, 4), c.fill) << c.step;
    EXPECT_EQ(progressFillWidth(520, 1, 0), 0);
    EXPECT_EQ(progressFillWidth(std::numeric_limits<double>::quiet_NaN(), 1, 4), 0);
}

TEST(PreviewGeometry, TheSunClimbsThirtyAboveItsEndsAndTurnsOrangeAtNoon) {
    struct Case {
        double phase;
        double x;
        double y;
        bool orange;
    };
    // A canvas 456 x 100: the centre is (228, 50).
    const Case cases[] = {{0, 128, 50, false},
                          {0.25, 178, 50 - 30 * std::sin(M_PI / 4), false},
                          {0.4999, 228 - 0.02, 50 - 30 * std::sin(M_PI * 0.4999), false},
                          {0.5, 228, 20, true},
                          {1, 328, 50, true}};
    for (const Case& c : cases) {
        const QPointF centre = sunCentre(QSizeF(456, 100), c.phase);
        EXPECT_NEAR(centre.x(), c.x, 1e-9) << c.phase;
        EXPECT_NEAR(centre.y(), c.y, 1e-9) << c.phase;
        EXPECT_EQ(sunIsOrange(c.phase), c.orange) << c.phase;
    }
}

TEST(PreviewGeometry, TheMockScreensShareTheWidthBetweenTheirMargins) {
    const MockScreens screens = mockScreens(QSizeF(456, 180), 14);
    ASSERT_TRUE(screens.drawable);
    EXPECT_EQ(screens.cold, QRectF(20, 30, 200, 100));
    EXPECT_EQ(screens.warm, QRectF(236, 30, 200, 100));
    EXPECT_EQ(screens.warmCaption, QRectF(236, 136, 200, 14));
    const std::vector<QRectF> bars = textBars(screens.cold);
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(bars[0], QRectF(32, 64, 176, 8));
    EXPECT_EQ(bars[1], QRectF(32, 76, 176, 8));
    EXPECT_EQ(bars[2], QRectF(32, 88, 60, 8));
    // Narrower than the margins: nothing; a narrow screen keeps its short bar inside.
    for (const double width : {0.0, 56.0, -10.0, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_FALSE(mockScreens(QSizeF(width, 180), 14).drawable) << width;
    EXPECT_EQ(textBars(QRectF(0, 0, 40, 100))[2].width(), 16);
    EXPECT_TRUE(textBars(QRectF(0, 0, 20, 100)).empty());
}

TEST(PreviewGeometry, TheScheduleBarMarksTheAwakeSpanAndWrapsPastMidnight) {
    const QSizeF canvas(480, 40);
    const QSizeF text(30, 10);
    struct Case {
        double wake;
        double sleep;
        std::vector<QRectF> awake;
        double wakeLabelLeft;
        double sleepLabelRight;
    };
    const Case cases[] = {
        {7, 23, {QRectF(140, 0, 320, 40)}, 130, 470},
        {4, 20, {QRectF(80, 0, 320, 40)}, 70, 410},                        // one sixth to five sixths
        {7, 24, {QRectF(140, 0, 340, 40)}, 130, 480},                      // its label kept inside the canvas
        {7, 0, {QRectF(140, 0, 340, 40)}, 130, 480},                       // midnight stored as 0 ends the day
        {7, 1, {QRectF(140, 0, 340, 40), QRectF(0, 0, 20, 40)}, 130, 30},  // past midnight: two pieces
        {0, 23, {QRectF(0, 0, 460, 40)}, 0, 470},                          // the wake label kept inside too
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.wake << "-" << c.sleep);
        const ScheduleBar bar = scheduleBar(canvas, c.wake, c.sleep, text, text);
        EXPECT_EQ(bar.awake, c.awake);
        EXPECT_DOUBLE_EQ(bar.wakeLabel.left(), c.wakeLabelLeft);
        EXPECT_DOUBLE_EQ(bar.sleepLabel.right(), c.sleepLabelRight);
        EXPECT_DOUBLE_EQ(bar.sleepLabel.top(), 15);
        for (const QRectF& piece : bar.awake) EXPECT_GT(piece.width(), 0);
    }
    EXPECT_TRUE(scheduleBar(QSizeF(0, 40), 7, 23, text, text).awake.empty());
    EXPECT_TRUE(scheduleBar(canvas, std::numeric_limits<double>::quiet_NaN(), 23, text, text).awake.empty());
}

}  // namespace
}  // namespace solvara::preview
