#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTest>
#include <QVariantAnimation>

#include "app/state/AppState.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "app/ui/science/ScienceCard.h"
#include "app/ui/science/ScienceCharts.h"
#include "app/ui/science/ScienceView.h"
#include "app/ui/science/WrappedText.h"
#include "platform/fake/FakePlatform.h"
#include "tests/platform/linux/QtTestApplication.h"

using namespace solvara;

namespace {

struct ScienceFixture : ::testing::Test {
    FakePlatform fakes;
    AppState state{fakes.platform()};
    FakeUiServices ui;
    ScienceView view{state, ui.services()};

    ScienceFixture() {
        view.resize(732, 900);
        view.show();
    }
    QAbstractButton* header(int card) const {
        return view.card(card)->findChild<QAbstractButton*>("scienceCardHeader");
    }
};

}  // namespace

TEST_F(ScienceFixture, CardsOpenOneAtATimeByMouseAndKeyboard) {
    for (int i = 0; i < ScienceView::cardCount; ++i) EXPECT_EQ(view.card(i)->chart(), nullptr);
    auto* summary = dynamic_cast<WrappedText*>(view.card(0)->findChild<QWidget*>("scienceCardSummary"));
    ASSERT_NE(summary, nullptr);
    EXPECT_LE(summary->visibleLines(200).size(), 2);

    QTest::mouseClick(header(0), Qt::LeftButton);
    SOLVARA_EXPECT_EVENTUALLY(view.card(0)->isExpanded());
    ASSERT_NE(dynamic_cast<MelanopsinSpectrumChart*>(view.card(0)->chart()), nullptr);
    EXPECT_GT(summary->visibleLines(200).size(), 2);  // the whole summary once open
    for (int i = 1; i < ScienceView::cardCount; ++i) EXPECT_FALSE(view.card(i)->isExpanded());

    header(5)->setFocus();
    QTest::keyClick(header(5), Qt::Key_Space);
    EXPECT_TRUE(view.card(5)->isExpanded());
    EXPECT_TRUE(view.card(0)->isExpanded());

    QTest::mouseClick(header(0), Qt::LeftButton);
    SOLVARA_EXPECT_EVENTUALLY_EQ(view.card(0)->chart(), nullptr);
    EXPECT_FALSE(view.card(0)->isExpanded());
}

namespace {

// Ease in and out, worked out here on its own: the cubic Bézier through (0.42, 0) and (0.58, 1),
// its x solved for the time share by bisection.
double easeInOut(double x) {
    const auto bezier = [](double t, double p1, double p2) {
        return 3 * (1 - t) * (1 - t) * t * p1 + 3 * (1 - t) * t * t * p2 + t * t * t;
    };
    double low = 0, high = 1;
    for (int i = 0; i < 60; ++i) {
        const double mid = (low + high) / 2;
        (bezier(mid, 0.42, 0.58) < x ? low : high) = mid;
    }
    return bezier((low + high) / 2, 0.0, 1.0);
}

}  // namespace

// Opening and closing, the block's widgets are there (or gone) at once, while the card's height
// eases between its closed and open heights over 0.25 s and the cards below move with it.
TEST_F(ScienceFixture, TheCardsHeightFollowsTheBlockAndTheCardsBelowMoveWithIt) {
    ScienceCard* card = view.card(0);
    auto* animation = card->findChild<QVariantAnimation*>("scienceCardAnimation");
    ASSERT_NE(animation, nullptr);
    const auto atRest = [card, animation] {
        for (const QWidget* widget : card->findChildren<QWidget*>()) {
            if (widget->graphicsEffect() != nullptr) return false;
        }
        return animation->state() == QAbstractAnimation::Stopped;
    };
    // At rest, the card's last height has reached the layout too.
    const auto toggle = [&] {
        QTest::mouseClick(header(0), Qt::LeftButton);
        solvara::testing::settle();
        EXPECT_TRUE(atRest());
        return card->height();
    };
    const int closed = card->height();
    const int open = toggle();
    ASSERT_EQ(toggle(), closed);

    struct Case {
        bool opening;
        int milliseconds;
        int from;
        int to;
    };
    for (const Case c : {Case{true, 250, closed, open}, Case{false, 250, open, closed}}) {
        SCOPED_TRACE(c.opening ? "opening" : "closing");
        QTest::mouseClick(header(0), Qt::LeftButton);
        auto* details = card->findChild<QWidget*>("scienceCardDetails");
        ASSERT_NE(details, nullptr);
        EXPECT_EQ(details->isVisible(), c.opening) << "the block's widgets take their state at once";
        EXPECT_EQ(card->chart() != nullptr, c.opening);
        ASSERT_EQ(animation->state(), QAbstractAnimation::Running);
        EXPECT_EQ(animation->duration(), c.milliseconds);
        // Near x = 0.35 and 0.65 this curve stands furthest from the quadratic one.
        for (const double x : {0.2, 0.35, 0.65}) {
            EXPECT_NEAR(animation->easingCurve().valueForProgress(x), easeInOut(x), 0.001) << x;
        }
        animation->pause();
        for (const int time : {87, 125, 162}) {
            animation->setCurrentTime(time);
            solvara::testing::settle();
            const double share = easeInOut(time / double(c.milliseconds));
            EXPECT_NEAR(card->height(), c.from + (c.to - c.from) * share, 1) << time;
            EXPECT_EQ(view.card(1)->y(), card->geometry().bottom() + 1 + 12) << time;
        }
        animation->resume();
        solvara::testing::settle();
        EXPECT_TRUE(atRest());
        EXPECT_EQ(card->height(), c.to);
    }
    SOLVARA_EXPECT_EVENTUALLY(card->findChild<QWidget*>("scienceCardDetails") == nullptr);
}

// A frame repaints a band of the card, which fills its straight middle apart from its corners:
// no seam may show. The bands keep to the card's edges, where only the card itself draws.
TEST_F(ScienceFixture, ACardRepaintedInBandsLooksAsPaintedWhole) {
    ScienceCard* card = view.card(3);
    QTest::mouseClick(header(3), Qt::LeftButton);
    solvara::testing::settle();
    ASSERT_EQ(card->findChild<QWidget*>("scienceCardDetails")->graphicsEffect(), nullptr);
    const QImage whole = card->grab().toImage();
    const int right = card->width() - 12;
    const int bottom = card->height();
    for (const QRect& band : {QRect(0, 3, 12, 300), QRect(right, 37, 12, 200), QRect(0, bottom - 150, 12, 145),
                              QRect(right, bottom - 9, 12, 9)}) {
        EXPECT_EQ(card->grab(band).toImage(), whole.copy(band)) << "rows " << band.top() << " to " << band.bottom();
    }
}

TEST_F(ScienceFixture, TheRatioChartMarksTheTemperatureTheDisplaysAreGiven) {
    QTest::mouseClick(header(4), Qt::LeftButton);
    auto chart = [&] { return dynamic_cast<MelanopicRatioChart*>(view.card(4)->chart()); };
    ASSERT_NE(chart(), nullptr);
    EXPECT_EQ(chart()->currentKelvin(), state.effectiveKelvin());
    state.setCurrentMode(AppState::DisplayMode::reading);
    SOLVARA_EXPECT_EVENTUALLY_EQ(chart() ? chart()->currentKelvin() : 0, state.effectiveKelvin());
    state.setIsEnabled(false);
    SOLVARA_EXPECT_EVENTUALLY_EQ(chart() ? chart()->currentKelvin() : 0, std::int64_t{6500});
    EXPECT_TRUE(view.card(4)->isExpanded());  // rebuilt in place, still open
}

TEST_F(ScienceFixture, PaperLinksOpenTheirDoiThroughTheUrlOpener) {
    QTest::mouseClick(header(1), Qt::LeftButton);
    auto* link = view.card(1)->findChild<QAbstractButton*>("paperLink");
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->accessibleName(), "Paper");
    solvara::testing::settle();  // the card has finished opening
    EXPECT_FALSE(link->visibleRegion().isEmpty());
    QTest::mouseClick(link, Qt::LeftButton);
    ASSERT_EQ(ui.urlOpener.opened.size(), 1u);
    EXPECT_EQ(ui.urlOpener.opened[0], "https://doi.org/10.1113/jphysiol.2003.040477");
}
