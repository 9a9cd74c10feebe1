#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/state/AppState.h"
#include "app/ui/health/HealthExports.h"
#include "app/ui/health/HealthSettingsTab.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "core/foundation/Calendar.h"
#include "core/foundation/Clock.h"
#include "platform/fake/FakePlatform.h"
#include "tests/app/ui/settings/SettingsTestSupport.h"
#include "tests/platform/linux/QtTestApplication.h"

namespace solvara {
namespace {

class HealthViewsTest : public ::testing::Test {
protected:
    HealthViewsTest() {
        tab_ = std::make_unique<HealthSettingsTab>(state, ui.services());
        tab_->resize(640, 2000);
        tab_->show();
    }

    std::string daysAgo(int days) const {
        return HealthHistory::dateString(*Calendar::addingDays(-days, Clock::now()));
    }

    void recordDays(int count) {
        for (int ago = count; ago >= 1; --ago) {
            state.healthHistory().recordDay(daysAgo(ago), 2.5, 12.0 + ago, 0.75, 3, 1, 70 + ago % 20, 1 + ago % 5);
        }
    }

    template <class W>
    W* child(const char* name) const {
        W* widget = tab_->findChild<W*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    qsizetype screenTimeBars() const {
        auto* view = child<QChartView>("screenTimeChart");
        const auto* series = static_cast<QBarSeries*>(view->chart()->series().front());
        return view->isVisibleTo(tab_.get()) ? series->barSets().front()->count() : 0;
    }

    // Lets the nested layouts place what a refresh moved.
    static void settle() { testing::settle(); }

    void press(QWidget* widget, bool keyboard) {
        if (keyboard) {
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_Space);
        } else {
            QTest::mouseClick(widget, Qt::LeftButton);
        }
    }

    FakePlatform platform;
    AppState state{platform.platform()};
    FakeUiServices ui;
    std::unique_ptr<HealthSettingsTab> tab_;
};

TEST_F(HealthViewsTest, RatingANightWritesTheRatingThenTheDate) {
    for (const bool keyboard : {false, true}) {
        std::vector<AppState::Property> written;
        const auto id = state.addObserver([&](AppState::Property property, AppState::Notice notice) {
            if (notice == AppState::Notice::didChange) written.push_back(property);
        });
        const int stars = keyboard ? 2 : 4;
        press(child<QWidget>(keyboard ? "rateStar2" : "rateStar4"), keyboard);
        state.removeObserver(id);

        EXPECT_EQ(written,
                  (std::vector{AppState::Property::sleepQualityRating, AppState::Property::lastSleepRatingDate}));
        EXPECT_EQ(state.lastSleepRatingDate(), HealthHistory::dateString(Clock::now()));
        EXPECT_EQ(platform.userDefaults.integerValue("sv_sleepQualityRating"), stars);  // saved at once
        EXPECT_TRUE(child<QWidget>("changeRating")->isVisibleTo(tab_.get()));
        EXPECT_FALSE(child<QWidget>("rateStar1")->isVisibleTo(tab_.get()));
        EXPECT_EQ(child<QLabel>("ratingWord")->text(), keyboard ? "Fair" : "Good");
        state.setLastSleepRatingDate("");
        tab_->refresh();
    }
}

// The same reach for scripts, the keyboard and screen readers the settings pages have.
struct ControlNames : testing::SettingsFixture {
    using SettingsFixture::expectControlsNamed;
};

TEST_F(HealthViewsTest, EveryControlIsNamedAndTakesTheKeyboard) {
    recordDays(10);
    tab_->refresh();
    ControlNames::expectControlsNamed(*tab_, "Health, not rated");
    press(child<QWidget>("rateStar3"), false);
    ControlNames::expectControlsNamed(*tab_, "Health, rated");
}

TEST_F(HealthViewsTest, ChangeRatingKeepsTheRating) {
    for (const bool keyboard : {false, true}) {
        press(child<QWidget>("rateStar3"), false);
        press(child<QWidget>("changeRating"), keyboard);
        EXPECT_EQ(state.sleepQualityRating(), 3);
        EXPECT_EQ(state.lastSleepRatingDate(), "");
        EXPECT_TRUE(child<QWidget>("rateStar1")->isVisibleTo(tab_.get()));
        EXPECT_FALSE(child<QWidget>("changeRating")->isVisibleTo(tab_.get()));
    }
}

TEST_F(HealthViewsTest, AStoredRatingOutsideOneToFiveShowsNoWord) {
    const auto today = HealthHistory::dateString(Clock::now());
    for (const std::int64_t rating : {0, -2, 6, 1000}) {
        state.setSleepQualityRating(rating);
        state.setLastSleepRatingDate(today);
        tab_->refresh();
        EXPECT_FALSE(child<QLabel>("ratingWord")->isVisibleTo(tab_.get())) << rating;
        EXPECT_EQ(child<QWidget>("ratedStars")->accessibleName(),
                  QString("Rated %1 of 5 stars").arg(rating > 0 ? 5 : 0))
            << rating;
    }
}

// Without a scored day the week has no "Avg Score" card, and the cards after it move up: "Avg
// Debt" joins the first row.
TEST_F(HealthViewsTest, WeeklyCardsMoveUpWhenTheWeekHasNoScore) {
    state.healthHistory().recordDay(daysAgo(1), 2.0, 5.0, 1.0, 5, 3, std::nullopt, std::nullopt);
    tab_->refresh();
    auto* days = child<QLabel>("stat Days Tracked");
    auto* debt = child<QLabel>("stat Avg Debt");
    settle();
    EXPECT_FALSE(child<QLabel>("stat Avg Score")->isVisibleTo(tab_.get()));
    EXPECT_EQ(debt->mapTo(tab_.get(), QPoint()).y(), days->mapTo(tab_.get(), QPoint()).y());
    EXPECT_EQ(child<QLabel>("stat Breaks")->text(), "5/8");

    state.healthHistory().recordDay(daysAgo(2), 2.0, 5.0, 1.0, 5, 3, 90, std::nullopt);
    tab_->refresh();
    settle();
    EXPECT_TRUE(child<QLabel>("stat Avg Score")->isVisibleTo(tab_.get()));
    EXPECT_GT(debt->mapTo(tab_.get(), QPoint()).y(), days->mapTo(tab_.get(), QPoint()).y());
}

TEST_F(HealthViewsTest, TheRangePickerSwitchesTheCharts) {
    recordDays(40);
    tab_->refresh();
    EXPECT_EQ(screenTimeBars(), 7);
    press(child<QPushButton>("chartRange90"), false);
    EXPECT_EQ(screenTimeBars(), 40);
    press(child<QPushButton>("chartRange30"), true);
    EXPECT_EQ(screenTimeBars(), 30);
    EXPECT_TRUE(child<QPushButton>("chartRange30")->isChecked());
    EXPECT_FALSE(child<QPushButton>("chartRange90")->isChecked());
    // The chosen segment stands out from the others, not by a shade.
    const QPalette chosen = child<QPushButton>("chartRange30")->palette();
    const QPalette other = child<QPushButton>("chartRange90")->palette();
    EXPECT_NE(chosen.color(QPalette::Button), other.color(QPalette::Button));
    EXPECT_EQ(chosen.color(QPalette::ButtonText), QColor(Qt::white));
    // A refresh from the state keeps the user's range.
    tab_->refresh();
    EXPECT_EQ(screenTimeBars(), 30);
}

TEST_F(HealthViewsTest, ExportsWriteTheirFilesSilentlyAndCancelWritesNothing) {
    recordDays(10);
    tab_->refresh();
    ui.fileDialogs.answerNext(std::nullopt);
    ui.fileDialogs.answerNext(std::nullopt);
    press(child<QWidget>("exportHealthData"), false);
    press(child<QWidget>("exportWeeklyReport"), true);
    SOLVARA_EXPECT_EVENTUALLY_EQ(ui.fileDialogs.asked.size(), 2u);
    settle();
    EXPECT_EQ(platform.files.writeCount, 0u);

    ui.fileDialogs.answerNext(QString("/home/user/Solvara-HealthData.csv"));
    ui.fileDialogs.answerNext(QString("/home/user/Solvara-WeeklyReport.txt"));
    press(child<QWidget>("exportHealthData"), true);
    press(child<QWidget>("exportWeeklyReport"), false);
    SOLVARA_EXPECT_EVENTUALLY_EQ(platform.files.writeCount, 2u);
    EXPECT_EQ(ui.fileDialogs.asked[2].request.title, "Export Health Data");
    EXPECT_EQ(ui.fileDialogs.asked[2].request.suggestedName, "Solvara-HealthData.csv");
    EXPECT_EQ(ui.fileDialogs.asked[3].request.title, "Export Weekly Report");
    EXPECT_EQ(ui.fileDialogs.asked[3].request.suggestedName, "Solvara-WeeklyReport.txt");
    EXPECT_EQ(platform.files.contents["/home/user/Solvara-HealthData.csv"],
              healthexports::healthDataFile(state.healthHistory()));
    EXPECT_EQ(platform.files.contents["/home/user/Solvara-WeeklyReport.txt"],
              healthexports::weeklyReportText(*state.healthHistory().weeklyReport()));
    settle();
    EXPECT_TRUE(ui.messageBoxes.asked.empty());
}

TEST_F(HealthViewsTest, AWeekWithoutDataOpensNoDialog) {
    press(child<QWidget>("exportWeeklyReport"), false);
    settle();
    EXPECT_TRUE(ui.fileDialogs.asked.empty());
}

TEST_F(HealthViewsTest, AFailingWriteWarnsWithThePathAndLogs) {
    recordDays(3);
    tab_->refresh();
    platform.files.failAllWrites = true;
    ui.fileDialogs.answerNext(QString("/gone/Solvara-HealthData.csv"));
    press(child<QWidget>("exportHealthData"), false);
    SOLVARA_EXPECT_EVENTUALLY_EQ(ui.messageBoxes.asked.size(), 1u);
    const auto& warning = ui.messageBoxes.asked.front();
    EXPECT_EQ(warning.kind, MessageBoxes::Kind::warning);
    EXPECT_TRUE(warning.informativeText.contains("/gone/Solvara-HealthData.csv"));
    EXPECT_TRUE(platform.log.contains("[Health]"));
}

}  // namespace
}  // namespace solvara
