// How long each transition of the views lasts and along which curve. Every row starts its
// transition as the user or the state would, then reads the running animation off the widgets.

#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QComboBox>
#include <QSlider>
#include <QTest>
#include <QVariantAnimation>
#include <QWindow>

#include "app/state/AppState.h"
#include "app/ui/breaks/BreathingCircle.h"
#include "app/ui/dashboard/MorningCoachView.h"
#include "app/ui/dashboard/TimeMachinePreviewView.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "app/ui/onboarding/OnboardingFlow.h"
#include "app/ui/onboarding/OnboardingWidgets.h"
#include "app/ui/popover/MenuBarPopover.h"
#include "app/ui/science/ScienceCard.h"
#include "app/ui/science/ScienceView.h"
#include "platform/fake/FakePlatform.h"
#include "tests/app/ui/EaseInOut.h"
#include "tests/app/ui/kit/HeldAnimations.h"
#include "tests/platform/linux/QtTestApplication.h"

namespace solvara::testing {
namespace {

// 2026-06-21 00:00 UTC; the widget tests run in UTC.
constexpr double midsummer = 804038400.0;
constexpr Coordinate berlin{52.52, 13.405};

double linear(double x) {
    return x;
}

// One state on fakes and the one view a row opens on it, shown.
struct Scene {
    FakePlatform fakes{Date(midsummer + 8 * 3600.0)};
    AppState state{fakes.platform()};
    FakeUiServices ui;
    std::unique_ptr<QWidget> view;

    template <class View, class... Args>
    View& show(Args&&... args) {
        auto made = std::make_unique<View>(std::forward<Args>(args)...);
        View& shown = *made;
        view = std::move(made);
        view->resize(view->sizeHint().expandedTo(QSize(520, 480)));
        view->show();
        EXPECT_TRUE(
            processEventsUntil([&] { return view->windowHandle() != nullptr && view->windowHandle()->isExposed(); }));
        return shown;
    }
    MenuBarPopover& popover() { return show<MenuBarPopover>(state, ui.services()); }
    OnboardingFlow& firstRun() { return show<OnboardingFlow>(state, ui.services()); }
    // Hours after midnight of midsummer's day (past 24 for the next day).
    void at(double hours) {
        fakes.runLoop.advance(midsummer + hours * 3600.0 - fakes.runLoop.now().secondsSinceReferenceDate);
    }
    static void click(const QWidget& root, const char* name) {
        auto* widget = root.findChild<QWidget*>(name);
        ASSERT_NE(widget, nullptr) << name;
        QTest::mouseClick(widget, Qt::LeftButton);
    }
    static void nextPage(const OnboardingFlow& flow) { click(*flow.page(flow.currentStep()), "onboardingNext"); }
};

// How each row starts its transition; each answers the view to look in.
QWidget& pickSunglasses(Scene& s) {
    MenuBarPopover& popover = s.popover();
    s.click(popover, "modeSunglasses");
    return popover;
}
QWidget& firstPhase(Scene& s) {
    MenuBarPopover& popover = s.popover();  // "Initializing..."
    s.state.setCoordinate(berlin);
    s.state.updateCircadianState();
    return popover;
}
QWidget& firstNightPhase(Scene& s) {
    s.at(21.5);  // a night phase's colour, after "Initializing..."'s grey
    return firstPhase(s);
}
QWidget& boostArrives(Scene& s) {
    // Civil dawn within 90 minutes of waking at 3:00; the sun has moved since the last update.
    s.state.setWakeHour(3);
    s.state.setCoordinate(berlin);
    s.at(24 + 1.5);
    s.state.updateCircadianState();
    MenuBarPopover& popover = s.popover();
    s.at(24 + 2.3);
    s.state.updateCircadianState();
    return popover;
}
QWidget& breaksOn(Scene& s) {
    MenuBarPopover& popover = s.popover();
    s.state.setBreaksEnabled(true);
    s.state.tickBreakTimer();
    return popover;
}
QWidget& nextSecond(Scene& s) {
    s.state.setBreaksEnabled(true);
    s.state.tickBreakTimer();
    MenuBarPopover& popover = s.popover();
    s.fakes.runLoop.advance(1.0);
    s.state.tickBreakTimer();
    return popover;
}
QWidget& evening(Scene& s) {
    MenuBarPopover& popover = s.popover();  // no hint in the morning
    s.at(21.5);
    s.state.setCoordinate(berlin);
    s.state.updateCircadianState();
    return popover;
}
QWidget& boostOn(Scene& s) {
    // Waking at civil dawn; at 03:00 the sun is just up.
    s.state.setMorningBoostEnabled(false);
    s.state.setWakeHour(2);
    s.state.setCoordinate(berlin);
    s.at(24 + 3.0);
    s.state.updateCircadianState();
    MenuBarPopover& popover = s.popover();
    s.state.setMorningBoostEnabled(true);
    s.state.updateCircadianState();
    return popover;
}
QWidget& sleepWindowBegins(Scene& s) {
    // The filter goes off as the sleep window begins: a new colour and a new target at once.
    s.at(21.5);
    s.state.setCurrentMode(DisplayMode::custom);
    s.state.setCustomModeKelvin(6000);
    MenuBarPopover& popover = s.popover();
    s.state.setSleepHour(21);
    s.state.setIsEnabled(false);
    return popover;
}
QWidget& secondPage(Scene& s) {
    OnboardingFlow& flow = s.firstRun();
    Scene::nextPage(flow);
    return flow;
}
QWidget& laterWake(Scene& s) {
    OnboardingFlow& flow = s.firstRun();
    Scene::nextPage(flow);
    Scene::nextPage(flow);
    auto* wake = flow.findChild<QComboBox*>("wakePicker");
    wake->setFocus();
    QTest::keyClick(wake, Qt::Key_Down);
    return flow;
}
QWidget& grantLocation(Scene& s) {
    OnboardingFlow& flow = s.firstRun();
    for (int page = 0; page < 3; ++page) Scene::nextPage(flow);
    s.ui.permissions.grantOnRequest = true;
    auto* card = flow.findChild<PermissionCard*>("locationCard");
    QTest::mouseClick(card->grantButton(), Qt::LeftButton);
    processEventsUntil([&] { return card->isGranted(); });  // the desktop's answer is looked for later
    return flow;
}
QWidget& openCard(Scene& s) {
    ScienceView& science = s.show<ScienceView>(s.state, s.ui.services());
    s.click(*science.card(0), "scienceCardHeader");
    return science;
}
QWidget& resetPreview(Scene& s) {
    s.state.setCoordinate(berlin);
    TimeMachinePreviewView& preview = s.show<TimeMachinePreviewView>(s.state);
    auto* slider = preview.findChild<QSlider*>("timeMachineSlider");
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_End);
    s.click(preview, "timeMachineReset");
    return preview;
}
QWidget& logSunlight(Scene& s) {
    MorningCoachView& coach = s.show<MorningCoachView>(s.state, 30.0);
    s.click(coach, "coachLog10");
    coach.refresh();  // as its dashboard does on the state's notice
    return coach;
}

struct Row {
    const char* transition;
    std::function<QWidget&(Scene&)> start;
    const char* drawnBy;  // the widget the animation belongs to
    int milliseconds;
    double (*curve)(double);
};

// One row per transition: how it starts, the widget that draws it, its length and its curve.
const Row rows[] = {
    {"the kelvin number rolls", pickSunglasses, "kelvinLabel", 500, easeInOut},
    {"the share of daylight rolls", pickSunglasses, "daylightValue", 500, easeInOut},
    {"the melanopic lux roll", pickSunglasses, "ediValue", 500, easeInOut},
    {"the kelvin bar's fill slides", pickSunglasses, "kelvinBar", 800, easeInOut},
    {"the selected mode's tint moves", pickSunglasses, "modeSunglasses", 200, easeInOut},
    {"the phase name cross-fades", firstPhase, "phaseLabel", 500, easeInOut},
    {"the phase dot's colour blends", firstNightPhase, "phaseDot", 500, easeInOut},
    {"the melanopic status dot's colour blends", sleepWindowBegins, "statusDot", 500, easeInOut},
    {"the melanopic target cross-fades", sleepWindowBegins, "targetPill", 500, easeInOut},
    {"the break countdown rolls", nextSecond, "breakCountdown", 300, easeInOut},
    {"the break row comes from the top", breaksOn, "breakRow", 300, easeInOut},
    {"the sections below a new row slide", breaksOn, "popoverFooter", 300, easeInOut},
    {"the insights come from the top", evening, "insights", 300, easeInOut},
    {"Morning Boost fades and scales", boostOn, "boostLabel", 300, easeInOut},
    {"the \"Solar:\" line cross-fades", boostArrives, "solarLabel", 300, easeInOut},
    {"a first-run page slides", secondPage, "OnboardingFlow", 350, easeInOut},
    {"the first-run progress fills", secondPage, "onboardingProgress", 400, easeInOut},
    {"the sun crosses the welcome page", [](Scene& s) -> QWidget& { return s.firstRun(); }, "sunAnimation", 4000,
     linear},
    {"the warm screen grows", secondPage, "beforeAfterPreview", 1500, easeInOut},
    {"the awake span moves", laterWake, "schedulePreview", 300, easeInOut},
    {"a granted check mark grows in", grantLocation, "permissionGranted", 300, easeInOut},
    {"a science card opens with its block", openCard, "scienceCard0", 250, easeInOut},
    {"the time machine's Reset fades out", resetPreview, "timeMachineReset", 350, easeInOut},
    {"the time machine's preview fades out", resetPreview, "timeMachinePreviewBlock", 350, easeInOut},
    {"the time machine closes to idle", resetPreview, "timeMachinePreview", 350, easeInOut},
    {"the sunlight ring fills", logSunlight, "coachRing", 500, easeInOut},
    {"the breathing circle grows (half a breath)",
     [](Scene& s) -> QWidget& { return s.show<BreathingCircle>(60, QColor(Qt::cyan)); }, "breathingCircle", 4000,
     easeInOut},
};

// The animations held whose nearest widget is the one named `owner`.
std::vector<const QVariantAnimation*> heldFor(const HeldAnimations& held, const char* owner) {
    std::vector<const QVariantAnimation*> found;
    for (const QAbstractAnimation* each : held.animations()) {
        const auto* animation = qobject_cast<const QVariantAnimation*>(each);
        if (animation == nullptr) continue;
        const QObject* widget = animation->parent();
        while (widget != nullptr && !widget->isWidgetType()) widget = widget->parent();
        if (widget != nullptr && widget->objectName() == owner) found.push_back(animation);
    }
    return found;
}

TEST(TransitionTimingTest, EachTransitionLastsItsTimeAlongItsCurve) {
    for (const Row& row : rows) {
        SCOPED_TRACE(row.transition);
        Scene scene;
        const QWidget& view = row.start(scene);
        // The views refresh on a queued call; what that and the row's own start play is held.
        const HeldAnimations held(view);
        const auto running = heldFor(held, row.drawnBy);
        EXPECT_EQ(running.size(), 1u) << "running for " << row.drawnBy;
        if (running.size() != 1) continue;
        EXPECT_EQ(running[0]->duration(), row.milliseconds);
        for (double progress : {0.1, 0.25, 0.4, 0.6, 0.75, 0.9}) {
            EXPECT_NEAR(running[0]->easingCurve().valueForProgress(progress), row.curve(progress), 0.002)
                << "at " << progress;
        }
    }
}

}  // namespace
}  // namespace solvara::testing
