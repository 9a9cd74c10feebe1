// One frame of each view transition, offscreen (goal: at most 1 ms CPU a frame): the view on
// screen, the transition started as the user's change starts it, then every running animation
// held and stepped 16 ms at a time through its run, each step painted as the event loop paints
// a frame (only what the step made dirty).

#include <algorithm>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>
#include <QAbstractAnimation>
#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QSlider>

#include "app/state/AppState.h"
#include "app/ui/dashboard/DashboardTab.h"
#include "app/ui/dashboard/TimeMachinePreviewView.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "app/ui/onboarding/OnboardingFlow.h"
#include "app/ui/popover/MenuBarPopover.h"
#include "app/ui/science/ScienceCard.h"
#include "app/ui/science/ScienceView.h"
#include "bench/ViewBenchMain.h"
#include "platform/fake/FakePlatform.h"

namespace {

using namespace solvara;

// 2026-06-21 22:00 UTC in Berlin: night, two hints shown.
constexpr Date night{804038400.0 + 22 * 3600.0};
constexpr Coordinate berlin{52.52, 13.405};

// The animations running under `root`, held; next() is one frame.
class Frames {
public:
    explicit Frames(QWidget& root) {
        for (QAbstractAnimation* animation : root.findChildren<QAbstractAnimation*>()) {
            if (animation->state() != QAbstractAnimation::Running) continue;
            animation->pause();
            held_.push_back(animation);
            longest_ = std::max(longest_, animation->duration());
        }
    }
    bool empty() const { return held_.empty(); }
    void next() {
        time_ = (time_ + 16) % longest_;
        // Short of each end: an animation that reaches its end stops and cleans up.
        for (QAbstractAnimation* animation : held_)
            animation->setCurrentTime(std::min(time_, animation->duration() - 1));
        QCoreApplication::processEvents();
    }

private:
    std::vector<QAbstractAnimation*> held_;
    int longest_ = 1;
    int time_ = 0;
};

void waitForRest(QWidget& root) {
    const auto running = [&] {
        const auto animations = root.findChildren<QAbstractAnimation*>();
        return std::any_of(animations.begin(), animations.end(),
                           [](QAbstractAnimation* a) { return a->state() == QAbstractAnimation::Running; });
    };
    while (running()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
}

void step(benchmark::State& run, QWidget& root) {
    Frames frames(root);
    if (frames.empty()) {
        run.SkipWithError("no transition is running");
        return;
    }
    for (auto _ : run) frames.next();
}

struct Popover {
    explicit Popover(bool breaks) : fakes(night), state(fakes.platform()) {
        state.setCoordinate(berlin);
        state.updateCircadianState();
        state.setBreaksEnabled(breaks);
        state.tickBreakTimer();
        popover = std::make_unique<MenuBarPopover>(state, ui.services());
        popover->show();
        QCoreApplication::processEvents();
    }
    FakePlatform fakes;
    AppState state;
    FakeUiServices ui;
    std::unique_ptr<MenuBarPopover> popover;
};

void BM_PopoverBreakRowEnters(benchmark::State& run) {
    Popover scene(false);
    scene.state.setBreaksEnabled(true);
    scene.state.tickBreakTimer();
    scene.popover->refresh();
    step(run, *scene.popover);
}
BENCHMARK(BM_PopoverBreakRowEnters)->Unit(benchmark::kMicrosecond);

void BM_PopoverBreakRowLeaves(benchmark::State& run) {
    Popover scene(true);
    scene.state.setBreaksEnabled(false);
    scene.popover->refresh();
    step(run, *scene.popover);
}
BENCHMARK(BM_PopoverBreakRowLeaves)->Unit(benchmark::kMicrosecond);

// The countdown's digits roll each second.
void BM_PopoverCountdownTick(benchmark::State& run) {
    Popover scene(true);
    scene.fakes.runLoop.advance(1.0);
    scene.state.tickBreakTimer();
    scene.popover->refresh();
    step(run, *scene.popover);
}
BENCHMARK(BM_PopoverCountdownTick)->Unit(benchmark::kMicrosecond);

// A new mode: the tint moves, the kelvin number and the melanopic readout roll, the bar slides.
void BM_PopoverModeChange(benchmark::State& run) {
    Popover scene(true);
    scene.popover->findChild<QAbstractButton*>("modeMovie")->click();
    scene.popover->refresh();
    step(run, *scene.popover);
}
BENCHMARK(BM_PopoverModeChange)->Unit(benchmark::kMicrosecond);

// The filter switched off: every readout changes at once, the look turns light.
void BM_PopoverFilterOff(benchmark::State& run) {
    Popover scene(true);
    scene.popover->findChild<QAbstractButton*>("enableSwitch")->click();
    scene.popover->refresh();
    step(run, *scene.popover);
}
BENCHMARK(BM_PopoverFilterOff)->Unit(benchmark::kMicrosecond);

// Morning comes: the phase name cross-fades, "Morning Boost" scales in, hints go.
void BM_PopoverMorningArrives(benchmark::State& run) {
    Popover scene(false);
    scene.fakes.runLoop.advance(9.5 * 3600.0);  // 07:30
    scene.state.updateCircadianState();
    scene.popover->refresh();
    step(run, *scene.popover);
}
BENCHMARK(BM_PopoverMorningArrives)->Unit(benchmark::kMicrosecond);

// The first state comes: the phase name cross-fades and the dot's colour moves with it.
void BM_PopoverPhaseDotColour(benchmark::State& run) {
    FakePlatform fakes(night);
    AppState state(fakes.platform());
    FakeUiServices ui;
    MenuBarPopover popover(state, ui.services());
    popover.show();
    QCoreApplication::processEvents();
    state.setCoordinate(berlin);
    state.updateCircadianState();
    popover.refresh();
    step(run, popover);
}
BENCHMARK(BM_PopoverPhaseDotColour)->Unit(benchmark::kMicrosecond);

// A new kelvin as the sleep window begins: the numbers roll, the status dot's colour moves and
// the target pill's text cross-fades.
void BM_PopoverMelanopicStatusChange(benchmark::State& run) {
    Popover scene(false);
    scene.state.setCurrentMode(DisplayMode::custom);
    scene.state.setCustomModeKelvin(6000);
    scene.popover->refresh();
    waitForRest(*scene.popover);
    scene.state.setSleepHour(21);
    scene.state.setIsEnabled(false);
    scene.popover->refresh();
    step(run, *scene.popover);
}
BENCHMARK(BM_PopoverMelanopicStatusChange)->Unit(benchmark::kMicrosecond);

void BM_OnboardingPageSlide(benchmark::State& run) {
    FakePlatform fakes(night);
    AppState state(fakes.platform());
    FakeUiServices ui;
    OnboardingFlow flow(state, ui.services());
    flow.show();
    QCoreApplication::processEvents();
    flow.page(0)->findChild<QAbstractButton*>("onboardingNext")->click();
    step(run, flow);
}
BENCHMARK(BM_OnboardingPageSlide)->Unit(benchmark::kMicrosecond);

void scienceCard(benchmark::State& run, bool opening) {
    FakePlatform fakes(night);
    AppState state(fakes.platform());
    FakeUiServices ui;
    ScienceView view(state, ui.services());
    // The page's height: a short page, a window's worth, and the whole page with every card on
    // show. The card's height follows the block, so a frame lays the page out again and paints
    // the card and every card below it that is on show.
    view.resize(620, static_cast<int>(run.range(0)));
    view.show();
    QCoreApplication::processEvents();
    // The first card, with every other card below it.
    auto* header = view.card(0)->findChild<QAbstractButton*>("scienceCardHeader");
    header->click();
    if (!opening) {
        while (view.card(0)->findChild<QWidget*>("scienceCardDetails")->graphicsEffect() != nullptr) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        }
        header->click();
    }
    step(run, view);
}
void BM_ScienceCardOpens(benchmark::State& run) {
    scienceCard(run, true);
}
BENCHMARK(BM_ScienceCardOpens)->Arg(250)->Arg(700)->Arg(1400)->ArgName("height")->Unit(benchmark::kMicrosecond);
void BM_ScienceCardCloses(benchmark::State& run) {
    scienceCard(run, false);
}
BENCHMARK(BM_ScienceCardCloses)->Arg(250)->Arg(700)->Arg(1400)->ArgName("height")->Unit(benchmark::kMicrosecond);

void BM_TimeMachineResetFades(benchmark::State& run) {
    FakePlatform fakes(night);
    AppState state(fakes.platform());
    state.setCoordinate(berlin);
    TimeMachinePreviewView view(state);
    view.resize(300, 200);
    view.show();
    QCoreApplication::processEvents();
    view.findChild<QSlider*>("timeMachineSlider")->setValue(40);
    view.findChild<QPushButton*>("timeMachineReset")->click();
    step(run, view);
}
BENCHMARK(BM_TimeMachineResetFades)->Unit(benchmark::kMicrosecond);

// Reset on the dashboard: the card closes, and the column it stands in, centred on the page,
// moves with it.
void BM_TimeMachineResetOnDashboard(benchmark::State& run) {
    FakePlatform fakes(night);
    AppState state(fakes.platform());
    state.setCoordinate(berlin);
    state.updateCircadianState();
    FakeUiServices ui;
    DashboardTab tab(state, ui.services());
    tab.resize(900, 900);
    tab.show();
    QCoreApplication::processEvents();
    tab.findChild<QSlider*>("timeMachineSlider")->setValue(40);
    QCoreApplication::processEvents();
    tab.findChild<QPushButton*>("timeMachineReset")->click();
    step(run, tab);
}
BENCHMARK(BM_TimeMachineResetOnDashboard)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return solvara::bench::runViewBenchmarks(argc, argv);
}
