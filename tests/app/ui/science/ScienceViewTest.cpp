#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPaintEvent>
#include <QTest>
#include <QVariantAnimation>

#include "app/state/AppState.h"
#include "app/ui/kit/Transition.h"
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

TEST_F(ScienceFixture, TheOpenBlockFadesAndMovesFromTheTopAndLandsWithoutAnEffect) {
    ScienceCard* card = view.card(2);
    const auto atRest = [card] {
        for (const QAbstractAnimation* animation : card->findChildren<QAbstractAnimation*>()) {
            if (animation->state() != QAbstractAnimation::Stopped) return false;
        }
        for (const QWidget* widget : card->findChildren<QWidget*>()) {
            if (widget->graphicsEffect() != nullptr) return false;
        }
        return true;
    };
    QTest::mouseClick(header(2), Qt::LeftButton);
    EXPECT_TRUE(card->isExpanded());
    ASSERT_NE(card->chart(), nullptr);  // built at once, shown as the block comes
    auto* details = card->findChild<QWidget*>("scienceCardDetails");
    ASSERT_NE(details, nullptr);
    auto* effect = dynamic_cast<TransitionEffect*>(details->graphicsEffect());
    ASSERT_NE(effect, nullptr);
    EXPECT_LT(effect->opacity(), 0.5);
    EXPECT_LT(effect->offset().y(), 0.0);
    SOLVARA_EXPECT_EVENTUALLY(atRest());
    EXPECT_TRUE(details->isVisible());
    EXPECT_EQ(details->maximumHeight(), QWIDGETSIZE_MAX);

    QTest::mouseClick(header(2), Qt::LeftButton);
    EXPECT_FALSE(card->isExpanded());
    SOLVARA_EXPECT_EVENTUALLY_EQ(card->chart(), nullptr);
    SOLVARA_EXPECT_EVENTUALLY(atRest());
}

namespace {

// Every region painted under `root` while it lives, in root's coordinates.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget& root) : root_(root) { qApp->installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(object);
        if (event->type() == QEvent::Paint && widget && (widget == &root_ || root_.isAncestorOf(widget))) {
            painted += static_cast<QPaintEvent*>(event)->region().translated(widget->mapTo(&root_, QPoint()));
        }
        return false;
    }

private:
    QWidget& root_;
};

}  // namespace

// The page takes the card's new height at once (or, closing, once the block has left); a frame
// in between repaints the block's rectangle and the chevron and leaves the cards below alone.
TEST_F(ScienceFixture, AFrameOfOpeningOrClosingPaintsOnlyTheBlockAndTheChevron) {
    ScienceCard* card = view.card(0);
    auto* animation = card->findChild<QVariantAnimation*>();
    ASSERT_NE(animation, nullptr);
    for (bool opening : {true, false}) {
        SCOPED_TRACE(opening ? "opening" : "closing");
        SOLVARA_EXPECT_EVENTUALLY_EQ(animation->state(), QAbstractAnimation::Stopped);
        QTest::mouseClick(header(0), Qt::LeftButton);
        animation->pause();
        QCoreApplication::processEvents();
        auto* details = card->findChild<QWidget*>("scienceCardDetails");
        ASSERT_NE(details, nullptr);
        const int below = view.card(1)->y();
        QRegion allowed(QRect(details->mapTo(&view, QPoint()), details->size()));
        const QWidget* chevron = card->findChild<QWidget*>("scienceCardChevron");
        allowed += QRect(chevron->mapTo(&view, QPoint()), chevron->size());
        for (int time : {60, 120, 180}) {
            PaintRecorder recorder(view);
            animation->setCurrentTime(time);
            QCoreApplication::processEvents();
            const QRect stray = (recorder.painted - allowed).boundingRect();
            EXPECT_FALSE(recorder.painted.isEmpty()) << time;
            EXPECT_TRUE(stray.isEmpty()) << "at " << time << " ms painted rows " << stray.top() << " to "
                                         << stray.bottom();
            EXPECT_EQ(view.card(1)->y(), below) << time;
        }
        animation->resume();
    }
    SOLVARA_EXPECT_EVENTUALLY_EQ(card->findChild<QWidget*>("scienceCardDetails"), nullptr);
}

// A frame repaints a band of the card, which fills its straight middle apart from its corners:
// no seam may show. The bands keep to the card's edges, where only the card itself draws.
TEST_F(ScienceFixture, ACardRepaintedInBandsLooksAsPaintedWhole) {
    ScienceCard* card = view.card(3);
    QTest::mouseClick(header(3), Qt::LeftButton);
    SOLVARA_EXPECT_EVENTUALLY(card->findChild<QWidget*>("scienceCardDetails")->graphicsEffect() == nullptr);
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
    SOLVARA_EXPECT_EVENTUALLY(!link->visibleRegion().isEmpty());  // the card has finished opening
    QTest::mouseClick(link, Qt::LeftButton);
    ASSERT_EQ(ui.urlOpener.opened.size(), 1u);
    EXPECT_EQ(ui.urlOpener.opened[0], "https://doi.org/10.1113/jphysiol.2003.040477");
}
