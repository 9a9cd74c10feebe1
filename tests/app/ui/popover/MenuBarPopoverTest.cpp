#include <clocale>
#include <functional>
#include <utility>

#include <gtest/gtest.h>
#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QVariantAnimation>

#include "app/state/AppState.h"
#include "app/ui/kit/BuildInfo.h"
#include "app/ui/kit/Dot.h"
#include "app/ui/kit/Pill.h"
#include "app/ui/kit/PlainButton.h"
#include "app/ui/kit/StyledLabel.h"
#include "app/ui/kit/Switch.h"
#include "app/ui/kit/TextStyle.h"
#include "app/ui/kit/Transition.h"
#include "app/ui/kit/TransitionLabel.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "app/ui/popover/KelvinBar.h"
#include "app/ui/popover/MenuBarPopover.h"
#include "app/ui/popover/ModeButton.h"
#include "app/ui/popover/PopoverReadouts.h"
#include "platform/fake/FakePlatform.h"
#include "tests/app/ui/HalfWay.h"
#include "tests/app/ui/kit/HeldAnimations.h"
#include "tests/app/ui/kit/QuitOrder.h"
#include "tests/platform/linux/QtTestApplication.h"

namespace solvara::testing {
namespace {

// 2026-06-21 00:00 UTC; the widget tests run in UTC with Berlin's coordinate.
constexpr double midsummer = 804038400.0;
constexpr Coordinate berlin{52.52, 13.405};

TEST(PopoverReadoutsTest, TextsColoursAndTheBarFollowTheirTables) {
    using popover::ColorChoice;
    const auto at = [](TwilightPhase phase) {
        CircadianEngine::CircadianState state;
        state.phase = phase;
        return popover::phaseColor(state);
    };
    EXPECT_EQ(popover::phaseColor(std::nullopt), (ColorChoice{&Theme::secondary}));
    const std::vector<std::pair<TwilightPhase, ColorChoice>> phases{
        {TwilightPhase::astronomicalNight, {&Theme::blue}},
        {TwilightPhase::astronomicalTwilight, {&Theme::secondary}},
        {TwilightPhase::nauticalTwilight, {&Theme::orange}},
        {TwilightPhase::civilTwilight, {&Theme::orange, 0.7}},
        {TwilightPhase::goldenHour, {&Theme::secondary}},
        {TwilightPhase::morningRise, {&Theme::secondary}},
        {TwilightPhase::solarNoon, {&Theme::secondary}},
        {TwilightPhase::afternoonDecline, {&Theme::secondary}},
        {TwilightPhase::eveningGoldenHour, {&Theme::secondary}},
        {TwilightPhase::eveningTwilight, {&Theme::secondary}},
        {TwilightPhase::night, {&Theme::blue}},
    };
    for (const auto& [phase, color] : phases) EXPECT_EQ(at(phase), color) << phase.displayName();

    const std::vector<std::pair<std::int64_t, double>> fills{{1000, 4.0},   {1800, 4.0},   {1850, 4.0},
                                                             {4150, 144.0}, {6500, 288.0}, {9000, 288.0}};
    for (const auto& [kelvin, fill] : fills) EXPECT_DOUBLE_EQ(popover::kelvinBarFill(kelvin, 288.0), fill) << kelvin;

    EXPECT_EQ(popover::solarText(-12.5), "Solar: -12.5\u00B0");
    EXPECT_EQ(popover::solarText(23.44), "Solar: 23.4\u00B0");
    EXPECT_EQ(popover::daylightText(6500), "42%");
    EXPECT_EQ(popover::ediText(62.6), "63 lux");
    EXPECT_EQ(popover::kelvinText(4500), "4500K");
    EXPECT_EQ(popover::targetText(true, true), "\u22641 lux");
    EXPECT_EQ(popover::targetText(false, true), "\u226410 lux");
    EXPECT_EQ(popover::targetText(false, false), "\u2265250 lux");
    EXPECT_EQ(popover::statusColor(MelanopicModel::GuidelineStatus::caution), (ColorChoice{&Theme::yellow}));

    // A German session must not turn the decimal point into a comma.
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr) {
        EXPECT_EQ(popover::solarText(-12.25), "Solar: -12.2\u00B0");
        EXPECT_EQ(popover::solarText(0.05), "Solar: 0.1\u00B0");
        std::setlocale(LC_ALL, "C");
    }
}

TEST(ModeButtonTest, ANameShrinksOnlyAsFarAsItMustAndNeverBelowFourFifths) {
    const QFont caption = TextStyle::font(TextStyle::caption);
    ASSERT_EQ(caption.pixelSize(), 10);
    const QString name = "Presentation";
    const auto width = [&](int pixels) {
        QFont font = caption;
        font.setPixelSize(pixels);
        return QFontMetrics(font).horizontalAdvance(name);
    };
    struct Case {
        int available;
        int pixels;
    };
    for (const Case& c :
         {Case{width(10), 10}, Case{width(10) - 1, 9}, Case{width(9), 9}, Case{width(9) - 1, 8}, Case{1, 8}}) {
        EXPECT_EQ(ModeButton::fittedFont(caption, name, c.available).pixelSize(), c.pixels) << c.available;
    }
}

class MenuBarPopoverTest : public ::testing::Test {
protected:
    MenuBarPopoverTest() : state(fakes.platform()) {}

    // The popover, shown, on screen and at rest.
    MenuBarPopover& open() {
        popover = std::make_unique<MenuBarPopover>(state, ui.services());
        popover->show();
        settle();
        return *popover;
    }
    // The popover's refresh after the state's changes, with what it plays held at its first frame.
    std::unique_ptr<HeldAnimations> refreshAndHold() { return std::make_unique<HeldAnimations>(*popover); }
    void moveTo(double secondsAfterMidnight) {
        fakes.runLoop.advance(midsummer + secondsAfterMidnight - fakes.runLoop.now().secondsSinceReferenceDate);
    }
    template <class T>
    T* find(const char* name) {
        T* widget = popover->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString textOf(const char* name) { return find<QLabel>(name)->text(); }
    // Every transition has ended: nothing runs, nothing is drawn through an effect or a picture.
    bool atRest() const {
        for (const QAbstractAnimation* animation : popover->findChildren<QAbstractAnimation*>()) {
            if (animation->state() != QAbstractAnimation::Stopped) return false;
        }
        for (const QWidget* widget : popover->findChildren<QWidget*>()) {
            if (widget->graphicsEffect() != nullptr || widget->objectName() == "transitionGhost") return false;
        }
        return true;
    }
    bool shown(const char* name) { return find<QWidget>(name)->isVisibleTo(popover.get()); }

    FakePlatform fakes{Date(midsummer + 8 * 3600.0)};
    AppState state;
    FakeUiServices ui;
    std::unique_ptr<MenuBarPopover> popover;
};

TEST_F(MenuBarPopoverTest, BeforeTheFirstStateItShowsInitializingAndTheEffectiveKelvin) {
    open();
    EXPECT_EQ(popover->width(), 320);
    EXPECT_EQ(textOf("phaseLabel"), "Initializing...");
    EXPECT_EQ(find<Dot>("phaseDot")->colorRole(), &Theme::secondary);
    EXPECT_FALSE(shown("solarColumn"));
    EXPECT_EQ(textOf("kelvinLabel"), QString::fromStdString(popover::kelvinText(state.effectiveKelvin())));
    EXPECT_EQ(find<KelvinBar>("kelvinBar")->kelvin(), state.effectiveKelvin());
    EXPECT_EQ(find<QLabel>("kelvinLabel")->accessibleName(), "Color temperature 5500 Kelvin");
    // 08:00: no hint applies, so the insights take no room; breaks are off.
    EXPECT_FALSE(shown("insights"));
    EXPECT_FALSE(shown("breakRow"));
}

TEST_F(MenuBarPopoverTest, FilterOffByDayAndAfterTheOnsetShowsNeutralReadouts) {
    moveTo(12 * 3600.0);
    state.setCoordinate(berlin);
    state.updateCircadianState();
    state.setIsEnabled(false);
    open();
    EXPECT_EQ(textOf("phaseLabel"), "Midday");
    EXPECT_TRUE(shown("solarColumn"));
    EXPECT_EQ(textOf("kelvinLabel"), "6500K");
    EXPECT_EQ(textOf("daylightValue"), "42%");
    EXPECT_EQ(textOf("ediValue"), "0 lux");
    EXPECT_EQ(find<Dot>("statusDot")->colorRole(), &Theme::red);
    EXPECT_EQ(find<Pill>("targetPill")->text(), "\u2265250 lux");
    EXPECT_FALSE(find<Switch>("enableSwitch")->isChecked());
    EXPECT_FALSE(Theme::of(popover.get()).isDark);

    moveTo(21.5 * 3600.0);  // after the onset (21:00), before the sleep window (23:00)
    state.updateCircadianState();
    settle();
    EXPECT_EQ(find<Dot>("statusDot")->colorRole(), &Theme::green);
    EXPECT_EQ(find<Pill>("targetPill")->text(), "\u226410 lux");
    EXPECT_EQ(textOf("melatoninRowText"), "Melatonin production active");
    EXPECT_EQ(find<QLabel>("melatoninRowText")->palette().color(QPalette::WindowText), Theme::light().indigo);
}

TEST_F(MenuBarPopoverTest, TheBarClampsAtBothEndsAndTheWindowTurnsDarkBelow4500K) {
    state.setCurrentMode(DisplayMode::custom);
    open();
    auto* bar = find<KelvinBar>("kelvinBar");
    struct Case {
        std::int64_t custom;
        bool enabled;
        bool dark;
        double fill;  // of the bar's width
    };
    const double w = bar->width();
    for (const Case& c : std::vector<Case>{{1000, true, true, 4.0 / w},
                                           {4499, true, true, 2699.0 / 4700.0},
                                           {4500, true, false, 2700.0 / 4700.0},
                                           {9000, true, false, 1.0},
                                           {3000, false, false, 1.0}}) {
        state.setCustomModeKelvin(c.custom);
        state.setIsEnabled(c.enabled);
        settle();
        EXPECT_EQ(Theme::of(popover.get()).isDark, c.dark) << c.custom;
        EXPECT_EQ(popover->palette().color(QPalette::Window), Theme::forDark(c.dark).windowBackground);
        EXPECT_NEAR(bar->fillWidth() / w, c.fill, 0.001) << c.custom;
    }
}

TEST_F(MenuBarPopoverTest, TheBarSlidesToANewKelvinWhileShown) {
    state.setCurrentMode(DisplayMode::custom);
    state.setCustomModeKelvin(6500);
    open();
    auto* bar = find<KelvinBar>("kelvinBar");
    EXPECT_DOUBLE_EQ(bar->shownFillWidth(), bar->width());
    state.setCustomModeKelvin(1800);
    auto held = refreshAndHold();
    EXPECT_DOUBLE_EQ(bar->fillWidth(), 4.0);
    EXPECT_GT(bar->shownFillWidth(), 4.0);  // on its way, not there at once
    held->release();
    settle();
    EXPECT_DOUBLE_EQ(bar->shownFillWidth(), 4.0);
}

TEST_F(MenuBarPopoverTest, ADarkDecisionHoldsFromTheFirstFrame) {
    state.setCurrentMode(DisplayMode::custom);
    state.setCustomModeKelvin(3000);
    MenuBarPopover fresh(state, ui.services());  // not shown yet
    EXPECT_TRUE(Theme::of(&fresh).isDark);
    EXPECT_EQ(fresh.palette().color(QPalette::Window), Theme::dark().windowBackground);
}

TEST_F(MenuBarPopoverTest, ThePhaseDotTakesThePhasesColour) {
    moveTo(23.5 * 3600.0);
    state.setCoordinate(berlin);
    state.updateCircadianState();
    open();
    ASSERT_TRUE(state.currentState());
    const auto expected = popover::phaseColor(state.currentState());
    EXPECT_EQ(find<Dot>("phaseDot")->colorRole(), expected.role);
    EXPECT_EQ(find<Dot>("phaseDot")->color(), Theme::withOpacity(Theme::dark().*expected.role, expected.opacity));
    EXPECT_TRUE(shown("solarColumn"));
    EXPECT_TRUE(textOf("solarLabel").startsWith("Solar: -"));
}

TEST_F(MenuBarPopoverTest, TheBreakRowFollowsEachBreakState) {
    open();
    EXPECT_FALSE(shown("breakRow"));
    state.setBreaksEnabled(true);
    state.tickBreakTimer();
    settle();
    EXPECT_TRUE(shown("breakRow"));
    EXPECT_EQ(textOf("breakCountdown"), "Next break in 20:00");
    EXPECT_TRUE(shown("breakNowButton"));

    // Break Now starts the break; the button goes, the text stays until the next tick.
    QTest::mouseClick(find<QWidget>("breakNowButton"), Qt::LeftButton);
    settle();
    EXPECT_TRUE(std::holds_alternative<BreakScheduler::BreakActive>(state.breakScheduler().state()));
    EXPECT_FALSE(shown("breakNowButton"));
    EXPECT_EQ(textOf("breakCountdown"), "Next break in 20:00");
    state.tickBreakTimer();
    settle();
    EXPECT_TRUE(textOf("breakCountdown").startsWith("Break: "));

    state.breakScheduler().pause(BreakScheduler::PauseReason::fullScreenApp);
    state.tickBreakTimer();
    settle();
    EXPECT_EQ(textOf("breakCountdown"), "Paused: Full-screen app active");
    EXPECT_FALSE(shown("breakNowButton"));

    state.breakScheduler().stop();  // idle: the text empties and the row goes
    state.tickBreakTimer();
    settle();
    EXPECT_FALSE(shown("breakRow"));

    state.breakScheduler().start();
    state.tickBreakTimer();
    settle();
    EXPECT_TRUE(shown("breakNowButton"));
    state.setBreaksEnabled(false);
    settle();
    EXPECT_FALSE(shown("breakRow"));
}

TEST_F(MenuBarPopoverTest, RowsComeAndGoAtOnceWhileOnlyTheirPictureMoves) {
    open();
    QWidget* footer = find<QWidget>("openButton")->parentWidget();
    const int footerAt = footer->y();
    state.setBreaksEnabled(true);
    state.tickBreakTimer();
    auto held = refreshAndHold();
    EXPECT_TRUE(shown("breakRow"));
    EXPECT_GT(footer->y(), footerAt);  // in its new place at once
    auto* slide = dynamic_cast<TransitionEffect*>(footer->graphicsEffect());
    ASSERT_NE(slide, nullptr);
    EXPECT_LT(slide->offset().y(), 0.0);  // drawn from where it stood
    EXPECT_NE(find<QWidget>("breakRow")->graphicsEffect(), nullptr);
    const std::size_t writes = fakes.userDefaults.setCount;
    const std::size_t gamma = fakes.displayTransfer.writes.size();
    held->release();
    settle();
    EXPECT_TRUE(atRest());

    state.setBreaksEnabled(false);
    held = refreshAndHold();
    EXPECT_FALSE(shown("breakRow"));
    EXPECT_EQ(footer->y(), footerAt);
    EXPECT_NE(popover->findChild<QWidget*>("transitionGhost"), nullptr);
    const std::size_t writesBeforeLeaving = fakes.userDefaults.setCount;
    held->release();
    settle();
    EXPECT_TRUE(atRest());
    EXPECT_EQ(fakes.userDefaults.setCount, writesBeforeLeaving);  // the animations wrote nothing
    EXPECT_GT(writesBeforeLeaving, writes);                       // while the switch did
    EXPECT_EQ(fakes.displayTransfer.writes.size(), gamma);
}

TEST_F(MenuBarPopoverTest, ReadoutsAndTheModeTintTakeTheirValuesAtOnceAndAnimateOnlyOnScreen) {
    state.setBreaksEnabled(true);
    state.tickBreakTimer();
    state.setCurrentMode(DisplayMode::reading);  // dark before and after Movie: only the tint moves
    open();
    auto* movie = find<ModeButton>("modeMovie");
    auto* reading = find<ModeButton>("modeReading");
    const auto pictures = [&] { return std::pair{movie->grab().toImage(), reading->grab().toImage()}; };
    const auto [movieBefore, readingBefore] = pictures();
    QTest::mouseClick(movie, Qt::LeftButton);
    auto held = refreshAndHold();
    EXPECT_TRUE(movie->isSelected());
    // Half way the tint has half left the old cell and half reached the new one.
    for (ModeButton* cell : {movie, reading}) {
        ASSERT_TRUE(held->holds(cell->tintAnimation()));
        cell->tintAnimation()->setCurrentTime(ModeButton::tintMilliseconds / 2);
    }
    const auto [movieHalfWay, readingHalfWay] = pictures();
    for (ModeButton* cell : {movie, reading}) cell->tintAnimation()->setCurrentTime(ModeButton::tintMilliseconds);
    const auto [movieAfter, readingAfter] = pictures();
    expectHalfWayBetween(movieBefore, movieHalfWay, movieAfter, 12);
    expectHalfWayBetween(readingBefore, readingHalfWay, readingAfter, 12);
    EXPECT_EQ(textOf("kelvinLabel"), QString::fromStdString(popover::kelvinText(state.effectiveKelvin())));
    EXPECT_EQ(textOf("daylightValue"), QString::fromStdString(popover::daylightText(state.effectiveKelvin())));
    for (const char* label : {"kelvinLabel", "daylightValue", "ediValue"}) {
        EXPECT_TRUE(held->holds(find<TransitionLabel>(label)->animation())) << label;
    }
    held->release();

    fakes.runLoop.advance(1.0);
    state.tickBreakTimer();
    held = refreshAndHold();
    EXPECT_EQ(textOf("breakCountdown"), "Next break in 19:59");
    EXPECT_TRUE(held->holds(find<TransitionLabel>("breakCountdown")->animation()));
    const std::size_t writes = fakes.userDefaults.setCount;
    held->release();
    settle();
    EXPECT_TRUE(atRest());
    EXPECT_EQ(fakes.userDefaults.setCount, writes);

    // Off screen nothing plays.
    popover->hide();
    state.setCurrentMode(DisplayMode::dark);
    held = refreshAndHold();
    EXPECT_TRUE(find<ModeButton>("modeDark")->isSelected());
    EXPECT_TRUE(held->animations().empty());
    EXPECT_TRUE(atRest());
}

// The phase dot moves with the phase name, the status dot and the target pill with a new kelvin,
// the "Solar:" line with Morning Boost; each takes its value at once, and plays nothing when its
// section's trigger did not change.
TEST_F(MenuBarPopoverTest, SectionReadoutsPlayTheirSectionsAnimation) {
    const auto shownValue = [&](const char* name) {
        QWidget* widget = find<QWidget>(name);
        if (auto* dot = qobject_cast<Dot*>(widget)) return dot->color().name(QColor::HexArgb);
        if (auto* pill = qobject_cast<Pill*>(widget)) return pill->text();
        return qobject_cast<QLabel*>(widget)->text();
    };
    const auto at = [&](double hours) {
        return [this, hours] { moveTo(hours * 3600.0), state.updateCircadianState(); };
    };
    struct Row {
        const char* name;
        std::function<void()> change;
        int milliseconds;  // 0: no animation
    };
    const std::vector<Row> rows{
        // The first state after "Initializing...": a night phase's colour.
        {"phaseDot", [&] { state.setCoordinate(berlin), state.updateCircadianState(); }, 500},
        // The filter goes off as the sleep window begins: the dot turns green, the target "≤1 lux".
        {"statusDot", [&] { state.setSleepHour(21), state.setIsEnabled(false); }, 500},
        {"targetPill", [&] { state.setSleepHour(23); }, 0},  // a new target with the same kelvin
        {"targetPill", [&] { state.setSleepHour(21), state.setIsEnabled(true); }, 500},
        // Civil dawn within 90 minutes of waking (3:00): Morning Boost comes, then stays.
        {"solarLabel", at(26.3), 300},
        {"solarLabel", at(26.6), 0},
    };
    moveTo(21.5 * 3600.0);
    state.setWakeHour(3);
    state.setCurrentMode(DisplayMode::custom);
    state.setCustomModeKelvin(6000);
    open();
    for (const Row& row : rows) {
        settle();
        EXPECT_TRUE(atRest()) << row.name;
        const QString before = shownValue(row.name);
        row.change();
        const auto held = refreshAndHold();
        EXPECT_NE(shownValue(row.name), before) << row.name;  // at once
        auto* animation = find<QWidget>(row.name)->findChild<QVariantAnimation*>({}, Qt::FindDirectChildrenOnly);
        ASSERT_NE(animation, nullptr) << row.name;
        EXPECT_EQ(held->holds(animation), row.milliseconds > 0) << row.name;
        if (row.milliseconds == 0) continue;
        EXPECT_EQ(animation->duration(), row.milliseconds) << row.name;
        EXPECT_EQ(animation->easingCurve(), motion::easeInOut()) << row.name;
    }
    EXPECT_TRUE(shown("boostLabel"));
    settle();
    EXPECT_TRUE(atRest());
}

TEST_F(MenuBarPopoverTest, AnOpenPopoverAtRestPaintsNothing) {
    state.setBreaksEnabled(true);
    state.tickBreakTimer();
    open();
    EXPECT_TRUE(atRest());
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    popover->installEventFilter(&counter);
    for (QWidget* widget : popover->findChildren<QWidget*>()) widget->installEventFilter(&counter);
    // Watched for a second, as settle() passes over slow timers: a busy machine can only make
    // this miss a repaint, never see one that is not there.
    processEventsUntil([] { return false; }, 1000);
    EXPECT_EQ(counter.paints, 0);
    // Nor does anything wait to paint it later, on the popover itself or under it.
    QList<QObject*> objects = popover->findChildren<QObject*>();
    objects.prepend(popover.get());
    for (QObject* object : objects) {
        EXPECT_TRUE(QAbstractEventDispatcher::instance()->registeredTimers(object).isEmpty())
            << object->metaObject()->className() << " " << object->objectName().toStdString();
    }
    // A change paints, so the count does see frames.
    state.setCurrentMode(DisplayMode::movie);
    settle();
    EXPECT_GT(counter.paints, 0);
}

TEST_F(MenuBarPopoverTest, ModeCellsWriteTheModeThroughItsSetterByMouseAndKeyboard) {
    open();
    std::vector<DisplayMode> written;
    state.addObserver([&](AppState::Property property, AppState::Notice notice) {
        if (property == AppState::Property::currentMode && notice == AppState::Notice::didChange) {
            written.push_back(state.currentMode());
        }
    });
    QTest::mouseClick(find<ModeButton>("modeMovie"), Qt::LeftButton);
    EXPECT_EQ(written, std::vector<DisplayMode>{DisplayMode::movie});
    settle();
    EXPECT_TRUE(find<ModeButton>("modeMovie")->isSelected());
    EXPECT_EQ(find<ModeButton>("modeMovie")->accessibleDescription(), "Selected");
    EXPECT_FALSE(find<ModeButton>("modeAuto")->isSelected());

    // The current mode again: written (and persisted) again, though nothing changes.
    const std::size_t writes = fakes.userDefaults.setCount;
    QTest::mouseClick(find<ModeButton>("modeMovie"), Qt::LeftButton);
    EXPECT_GT(fakes.userDefaults.setCount, writes);

    find<ModeButton>("modeDark")->setFocus();
    QTest::keyClick(find<ModeButton>("modeDark"), Qt::Key_Space);
    EXPECT_EQ(state.currentMode(), DisplayMode::dark);

    // Modes the grid does not offer select no cell.
    state.setCurrentMode(DisplayMode::custom);
    settle();
    for (ModeButton* cell : popover->findChildren<ModeButton*>()) EXPECT_FALSE(cell->isSelected());
    EXPECT_EQ(popover->findChildren<ModeButton*>().size(), 9);
}

TEST_F(MenuBarPopoverTest, ARefreshWritesNothingBack) {
    moveTo(22 * 3600.0);
    state.setCoordinate(berlin);
    state.updateCircadianState();
    state.setBreaksEnabled(true);
    state.tickBreakTimer();
    open();
    int notices = 0;
    state.addObserver([&](AppState::Property, AppState::Notice) { ++notices; });
    const std::size_t writes = fakes.userDefaults.setCount;
    const std::size_t gamma = fakes.displayTransfer.writes.size();
    for (bool enabled : {false, true}) {
        state.setIsEnabled(enabled);
        notices = 0;
        popover->refresh();
        popover->refresh();
        EXPECT_EQ(notices, 0);
    }
    state.setCurrentMode(DisplayMode::disabled);
    const std::size_t afterWrites = fakes.userDefaults.setCount;
    const std::size_t afterGamma = fakes.displayTransfer.writes.size();
    popover->refresh();
    EXPECT_EQ(fakes.userDefaults.setCount, afterWrites);
    EXPECT_EQ(fakes.displayTransfer.writes.size(), afterGamma);
    EXPECT_GT(afterWrites, writes);  // the test's own writes did reach the store
    EXPECT_GE(afterGamma, gamma);
}

TEST_F(MenuBarPopoverTest, TheSwitchWritesIsEnabledByMouseAndKeyboard) {
    open();
    auto* toggle = find<Switch>("enableSwitch");
    EXPECT_EQ(toggle->accessibleName(), "Enable Solvara");
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_FALSE(state.isEnabled());
    toggle->setFocus();
    QTest::keyClick(toggle, Qt::Key_Space);
    EXPECT_TRUE(state.isEnabled());
}

TEST_F(MenuBarPopoverTest, TabReachesEveryControlInReadingOrderEachWithAName) {
    state.setBreaksEnabled(true);
    state.tickBreakTimer();
    open();
    popover->activateWindow();
    ASSERT_TRUE(processEventsUntil([&] { return popover->isActiveWindow(); }));
    find<Switch>("enableSwitch")->setFocus();
    QStringList order;
    for (int i = 0; i < 14; ++i) {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        order << focused->objectName();
        EXPECT_FALSE(focused->accessibleName().isEmpty()) << focused->objectName().toStdString();
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    EXPECT_EQ(order, (QStringList{"enableSwitch", "modeAuto", "modeMovie", "modeReading", "modePresentation",
                                  "modeCoding", "modeGaming", "modeBiohacker", "modeSunglasses", "modeDark",
                                  "breakNowButton", "openButton", "shareButton", "quitButton"}));
}

TEST_F(MenuBarPopoverTest, EscapeClosesThePopoverWindow) {
    open();
    ASSERT_TRUE(popover->isVisible());
    QTest::keyClick(popover.get(), Qt::Key_Escape);
    EXPECT_FALSE(popover->isVisible());
}

TEST_F(MenuBarPopoverTest, ShareOffersTheTextFirstThenTheLink) {
    open();
    EXPECT_EQ(find<PlainButton>("shareButton")->font().pixelSize(), 11);  // the small system size
    const QString text = MenuBarPopover::shareText;
    popover->shareMenu()->findChild<QAction*>("shareCopyAction")->trigger();
    EXPECT_EQ(ui.clipboard.text(), text + "\n" + BuildInfo::shareUrl());
    popover->shareMenu()->findChild<QAction*>("shareMailAction")->trigger();
    ASSERT_EQ(ui.urlOpener.opened.size(), 1u);
    const QString mail = QUrl::fromPercentEncoding(ui.urlOpener.opened.front().toUtf8());
    EXPECT_TRUE(mail.startsWith("mailto:"));
    EXPECT_LT(mail.indexOf(text), mail.indexOf(BuildInfo::shareUrl()));
    EXPECT_GE(mail.indexOf(text), 0);
}

TEST_F(MenuBarPopoverTest, FooterButtonsAskForTheMainWindowAndQuitAfterResetting) {
    open();
    QSignalSpy openRequests(popover.get(), &MenuBarPopover::openMainWindowRequested);
    QSignalSpy quitRequests(popover.get(), &MenuBarPopover::quitRequested);
    auto* openButton = find<PlainButton>("openButton");
    EXPECT_EQ(openButton->accessibleName(), "Open main window");
    QTest::mouseClick(openButton, Qt::LeftButton);
    EXPECT_EQ(openRequests.count(), 1);

    fakes.screens.screenList = {ScreenInfo{std::nullopt, "Screen", Rect{0, 0, 800, 600}}};
    state.setPwmProtectionEnabled(true);
    ASSERT_FALSE(state.softwareDimmer().overlayWindows().empty());
    fakes.events.clear();
    QObject::connect(popover.get(), &MenuBarPopover::quitRequested, [this] { fakes.events.add("quitRequested"); });
    auto* quitButton = find<PlainButton>("quitButton");
    EXPECT_EQ(quitButton->accessibleName(), "Quit Solvara");
    quitButton->setFocus();
    QTest::keyClick(quitButton, Qt::Key_Space);
    EXPECT_EQ(quitRequests.count(), 1);
    EXPECT_TRUE(state.softwareDimmer().overlayWindows().empty());
    expectDisplaysPutBackBeforeTheQuitRequest(fakes.events);
}

}  // namespace
}  // namespace solvara::testing
