#include <map>
#include <memory>
#include <vector>

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "app/state/AppState.h"
#include "app/ui/dashboard/DashboardStyle.h"
#include "app/ui/dashboard/DashboardTab.h"
#include "app/ui/kit/TextStyle.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "core/foundation/Calendar.h"
#include "core/foundation/Format.h"
#include "platform/fake/FakePlatform.h"
#include "tests/app/ui/settings/SettingsTestSupport.h"
#include "tests/platform/linux/QtTestApplication.h"

namespace solvara {
namespace {

Date at(int year, int month, int day, int hour, int minute) {
    return *Calendar::date(year, month, day, hour, minute);
}

// The dashboard over an AppState on the fake platform, with one display, in London.
class DashboardTabTest : public ::testing::Test {
protected:
    void build(Date start) {
        tab.reset();
        state.reset();
        platform.reset();  // the old one hands the clock back when it goes
        platform = std::make_unique<FakePlatform>(start);
        platform->displayTransfer.displays = {11};
        state = std::make_unique<AppState>(platform->platform());
        state->setCoordinate(Coordinate{51.5, -0.12});
        tab = std::make_unique<DashboardTab>(*state, ui.services());
        tab->resize(960, 820);
        tab->show();
    }

    template <class T>
    T* child(const char* name) {
        T* widget = tab->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // Lets the state's coalesced change notice reach the page (it comes on a later turn of the
    // event loop) and the page come to rest.
    static void settle() { testing::settle(); }

    // Moves the clock to `when` and lets the periodic update report, as the shell's tick does.
    void tickAt(Date when) {
        platform->runLoop.advance(when - platform->runLoop.now());
        state->updateCircadianState();
    }

    FakeUiServices ui;
    std::unique_ptr<FakePlatform> platform;
    std::unique_ptr<AppState> state;
    std::unique_ptr<DashboardTab> tab;
};

TEST_F(DashboardTabTest, CoachShowsOnlyInItsWindowAfterTheWakeHour) {
    struct Step {
        Date when;
        bool shown;
    };
    struct Case {
        const char* name;
        std::int64_t wakeHour;
        bool weekend;
        std::vector<Step> steps;
    };
    const std::vector<Case> cases{
        {"wake at 7",
         7,
         false,
         {{at(2026, 6, 17, 6, 59), false},
          {at(2026, 6, 17, 7, 0), true},
          {at(2026, 6, 17, 9, 59), true},
          {at(2026, 6, 17, 10, 0), false}}},
        {"wake at 22 never wraps",
         22,
         false,
         {{at(2026, 6, 18, 21, 59), false},
          {at(2026, 6, 18, 22, 0), true},
          {at(2026, 6, 18, 23, 59), true},
          {at(2026, 6, 19, 0, 0), false},
          {at(2026, 6, 19, 0, 30), false}}},
        {"Saturday follows the weekend wake hour of 9",
         7,
         true,
         {{at(2026, 6, 20, 7, 30), false},
          {at(2026, 6, 20, 9, 0), true},
          {at(2026, 6, 20, 11, 59), true},
          {at(2026, 6, 20, 12, 0), false}}},
    };
    for (const Case& c : cases) {
        build(c.steps.front().when - 60);
        state->setWakeHour(c.wakeHour);
        state->setWeekendScheduleEnabled(c.weekend);
        state->setWeekendWakeHour(9);
        auto* coach = child<QWidget>("morningCoach");
        for (const Step& step : c.steps) {
            tickAt(step.when);
            settle();
            EXPECT_EQ(coach->isVisibleTo(tab.get()), step.shown);
            if (step.shown) {
                EXPECT_FALSE(child<QLabel>("coachSinceWake")->text().isEmpty());
            }
        }
    }
}

TEST_F(DashboardTabTest, ModePickerAndSwitchWriteOnlyFromTheUser) {
    build(at(2026, 6, 17, 12, 0));
    auto* picker = child<QComboBox>("dashboardModePicker");
    auto* toggle = child<QAbstractButton>("dashboardEnabledSwitch");
    auto* kelvin = child<QLabel>("dashboardKelvin");
    ASSERT_EQ(picker->count(), 11);
    EXPECT_EQ(picker->itemText(10), "Disabled");

    // The state changes elsewhere: the page follows, and its refreshes write nothing back.
    state->setCurrentMode(DisplayMode::reading);
    state->setIsEnabled(false);
    platform->events.clear();
    settle();
    EXPECT_EQ(picker->currentText(), QString("Reading"));
    settle();
    EXPECT_TRUE(!toggle->isChecked());
    tab->refresh();
    state->setLightDebtPoints(1.0);  // a notice with no display work of its own
    settle();
    EXPECT_TRUE(platform->events.events.empty());
    EXPECT_EQ(state->currentMode(), DisplayMode::reading);
    EXPECT_FALSE(state->isEnabled());

    // Mouse and keyboard on the switch.
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_TRUE(state->isEnabled());
    settle();
    EXPECT_EQ(kelvin->text(), QString("3800K"));
    toggle->setFocus();
    QTest::keyClick(toggle, Qt::Key_Space);
    EXPECT_FALSE(state->isEnabled());
    settle();
    EXPECT_EQ(kelvin->text(), QString("6500K"));
    EXPECT_EQ(state->currentMode(), DisplayMode::reading);  // the picker keeps its mode
    QTest::keyClick(toggle, Qt::Key_Space);

    // The keyboard on the picker: the next mode, then the last one.
    picker->setFocus();
    QTest::keyClick(picker, Qt::Key_Down);
    EXPECT_EQ(state->currentMode(), DisplayMode::presentation);
    QTest::keyClick(picker, Qt::Key_End);
    EXPECT_EQ(state->currentMode(), DisplayMode::disabled);
    settle();
    EXPECT_EQ(kelvin->text(), QString("6500K"));
    EXPECT_TRUE(state->isEnabled());
}

TEST_F(DashboardTabTest, SunlightIsLoggedThroughTheState) {
    build(at(2026, 6, 17, 7, 30));
    state->lightDebtCalculator().restoreDebt(40, "");
    auto* logged = child<QLabel>("healthSunlightLogged");
    auto* tip = child<QLabel>("coachTip");
    auto* open = child<QPushButton>("logSunlightButton");
    auto* thirty = child<QPushButton>("logSunlight30");
    EXPECT_FALSE(logged->isVisibleTo(tab.get()));
    EXPECT_FALSE(thirty->isVisibleTo(tab.get()));

    QTest::mouseClick(child<QPushButton>("coachLog10"), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(state->morningSunlightToday(), 10.0);
    EXPECT_EQ(state->lightDebtLevel(), "high");  // 40 - 10/60 × 10 - 5
    settle();
    EXPECT_EQ(logged->text(), QString("10min logged"));
    EXPECT_EQ(child<QLabel>("healthDebtValue")->text(), "High");
    EXPECT_EQ(tip->text(),
              QString::fromUtf8("Keep going \u2014 more morning light helps recover last night's debt faster."));

    // The card's picker, by mouse to open and keyboard to choose; it closes again.
    // Keyboard focus moves with the buttons that replace the pressed one.
    QTest::mouseClick(open, Qt::LeftButton);
    EXPECT_TRUE(thirty->isVisibleTo(tab.get()));
    EXPECT_FALSE(open->isVisibleTo(tab.get()));
    EXPECT_EQ(tab->focusWidget(), child<QPushButton>("logSunlight10"));
    thirty->setFocus();
    QTest::keyClick(thirty, Qt::Key_Space);
    EXPECT_DOUBLE_EQ(state->morningSunlightToday(), 40.0);
    EXPECT_FALSE(thirty->isVisibleTo(tab.get()));
    EXPECT_TRUE(open->isVisibleTo(tab.get()));
    EXPECT_EQ(tab->focusWidget(), open);
    settle();
    EXPECT_EQ(logged->text(), QString("40min logged"));
    EXPECT_EQ(child<QLabel>("healthDebtValue")->text(), "Medium");
    EXPECT_EQ(tip->text(), "Target reached! Your circadian clock is getting a strong reset signal.");
}

TEST_F(DashboardTabTest, BoostBadgeFollowsTheState) {
    build(at(2026, 3, 20, 7, 15));
    auto* badge = child<QWidget>("dashboardBoostBadge");
    ASSERT_TRUE(state->currentState()->isMorningBoostActive);
    EXPECT_TRUE(badge->isVisibleTo(tab.get()));
    tickAt(at(2026, 3, 20, 12, 0));
    ASSERT_FALSE(state->currentState()->isMorningBoostActive);
    settle();
    EXPECT_FALSE(badge->isVisibleTo(tab.get()));
    EXPECT_EQ(child<QLabel>("dashboardElevation")->text().toStdString(),
              format::fixed(state->currentState()->solarElevation, 1) + "\u00B0");
}

// Counts the paint events of a page and of every widget in it, by object name.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& page) {
        page.installEventFilter(this);
        for (QWidget* widget : page.findChildren<QWidget*>()) widget->installEventFilter(this);
    }

    int of(const char* name) const {
        const auto it = paints_.find(name);
        return it == paints_.end() ? 0 : it->second;
    }
    std::string painted() const {
        std::string names;
        for (const auto& [name, count] : paints_) names += name.toStdString() + " ";
        return names;
    }
    void reset() { paints_.clear(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints_[watched->objectName()];
        return false;
    }

private:
    std::map<QString, int> paints_;
};

// The state's ten-second tick refreshes the page; the page repaints only what a tick changed,
// so an open window that shows the same values costs no drawing.
TEST_F(DashboardTabTest, RepaintsOnlyWhenAShownValueChanges) {
    // Near solar noon in London the elevation holds its tenth of a degree for minutes; a minute
    // of ticks takes the screen time past its seconds.
    build(at(2026, 6, 17, 11, 59));
    for (int seconds = 10; seconds <= 60; seconds += 10) tickAt(at(2026, 6, 17, 11, 59) + seconds);
    // Shown, painted, and done with what Qt defers (the mode picker fits its items a moment later).
    settle();
    PaintCounter paints(*tab);
    auto* elevation = child<QLabel>("dashboardElevation");
    const QString shownElevation = elevation->text();

    tickAt(at(2026, 6, 17, 12, 0) + 10);
    tickAt(at(2026, 6, 17, 12, 0) + 20);
    settle();
    ASSERT_EQ(elevation->text(), shownElevation);
    EXPECT_EQ(paints.painted(), "");

    // A new temperature: the dial and the readout show it.
    state->setCurrentMode(DisplayMode::reading);
    settle();
    EXPECT_GT(paints.of("circadianClock"), 0);
    EXPECT_GT(paints.of("dashboardKelvin"), 0);
    EXPECT_EQ(child<QLabel>("dashboardKelvin")->text(), QString("3800K"));

    // A new minute: the dial's time and hand, and the timeline's marker.
    paints.reset();
    tickAt(at(2026, 6, 17, 12, 1));
    settle();
    EXPECT_GT(paints.of("circadianClock"), 0);
    EXPECT_GT(paints.of("timelineBar"), 0);
    EXPECT_EQ(paints.of("dashboardKelvin"), 0);
}

TEST_F(DashboardTabTest, AHiddenPageCatchesUpWhenShownInsteadOfFollowingEveryChange) {
    build(at(2026, 6, 17, 11, 59));
    settle();
    auto* kelvin = child<QLabel>("dashboardKelvin");
    const QString shownKelvin = kelvin->text();

    tab->hide();
    state->setCurrentMode(DisplayMode::reading);
    settle();
    EXPECT_EQ(kelvin->text(), shownKelvin);

    tab->show();
    EXPECT_EQ(kelvin->text(), QString("3800K"));
}

// The same reach for scripts, the keyboard and screen readers the settings pages have.
struct ControlNames : testing::SettingsFixture {
    using SettingsFixture::expectControlsNamed;
};

TEST_F(DashboardTabTest, EveryControlIsNamedAndTakesTheKeyboard) {
    build(at(2026, 6, 17, 7, 30));
    QTest::mouseClick(child<QSlider>("timeMachineSlider"), Qt::LeftButton);
    ControlNames::expectControlsNamed(*tab, "Dashboard");
    QTest::mouseClick(child<QPushButton>("logSunlightButton"), Qt::LeftButton);
    ControlNames::expectControlsNamed(*tab, "Dashboard, sunlight picker open");
}

TEST_F(DashboardTabTest, PaintedViewsTellWhatTheyShow) {
    build(at(2026, 6, 17, 7, 30));
    state->setMorningSunlightToday(12.0);
    settle();
    struct Case {
        const char* object;
        const char* name;
        const char* descriptionStart;
    };
    for (const Case& c : std::vector<Case>{
             {"circadianClock", "Circadian clock", "07:30, Midday, "},
             {"timelineBar", "Today's timeline", "Early Dawn until 01:45, Dawn until 03:00"},
             {"coachRing", "Morning sunlight", "12 / 30 minutes"},
             {"healthGradeRing", "Health score", "Grade "},
             {"dashboardMelanopicGauge", "Melanopic", ""},
             {"coachLevelDot", "Light debt level", "Low"},
         }) {
        auto* view = child<QWidget>(c.object);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->accessibleName(), c.name);
        EXPECT_TRUE(view->accessibleDescription().startsWith(c.descriptionStart))
            << view->accessibleDescription().toStdString();
        EXPECT_FALSE(view->accessibleDescription().isEmpty()) << c.object;
    }
    EXPECT_TRUE(child<QWidget>("circadianClock")->accessibleDescription().contains("Sunrise 3:"));
}

// A tip longer than its three lines ends in an ellipsis on the third instead of stopping mid-sentence.
TEST(DashboardTextsTest, LongTextsKeepToTheirLines) {
    const QFont font = TextStyle::font(TextStyle::caption2);
    const QString tip("Last night's light debt is elevated. 15 minutes of outdoor light can reduce it by ~18 points.");
    struct Case {
        int width;
        int lines;
        bool elided;
    };
    for (const Case& c : std::vector<Case>{{150, 3, true}, {300, 2, false}, {2000, 1, false}}) {
        const QStringList lines = dashboard::linesWithin(tip, font, c.width, 3);
        EXPECT_EQ(lines.size(), c.lines) << c.width;
        if (lines.isEmpty()) continue;
        EXPECT_EQ(lines.back().endsWith(QChar(0x2026)), c.elided) << lines.back().toStdString();
        if (!c.elided) {
            EXPECT_EQ(lines.join(' '), tip);
        }
        for (const QString& line : lines) EXPECT_LE(QFontMetrics(font).horizontalAdvance(line), c.width);
    }
}

// White kelvin text would vanish on a light window: that band takes the primary colour there.
TEST(DashboardColorsTest, KelvinWhiteBandIsPrimaryOnALightWindow) {
    for (std::int64_t kelvin : {4501, 5500}) {
        EXPECT_EQ(dashboard::kelvinColor(Theme::light(), kelvin), Theme::light().primary) << kelvin;
        EXPECT_EQ(dashboard::kelvinColor(Theme::dark(), kelvin), QColor(Qt::white)) << kelvin;
    }
    EXPECT_EQ(dashboard::kelvinColor(Theme::light(), 5501), Theme::light().blue);
    EXPECT_EQ(dashboard::kelvinColor(Theme::light(), 2000), Theme::light().red);
}

}  // namespace
}  // namespace solvara
