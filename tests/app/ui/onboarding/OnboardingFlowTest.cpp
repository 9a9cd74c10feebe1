#include <algorithm>
#include <memory>
#include <vector>

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QPointer>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QVariantAnimation>
#include <QWindow>

#include "app/ui/kit/QtPermissions.h"
#include "app/ui/kit/Transition.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "app/ui/onboarding/OnboardingFlow.h"
#include "app/ui/onboarding/OnboardingPreviews.h"
#include "app/ui/onboarding/OnboardingWidgets.h"
#include "app/ui/settings/MainWindow.h"
#include "app/ui/settings/SettingsView.h"
#include "tests/app/ui/settings/SettingsTestSupport.h"
#include "tests/platform/linux/QtTestApplication.h"

namespace solvara::testing {
namespace {

class OnboardingFlowTest : public SettingsFixture {
protected:
    std::unique_ptr<OnboardingFlow> flow() {
        auto made = std::make_unique<OnboardingFlow>(*state, ui.services());
        made->show();
        settle();
        return made;
    }

    // A button of the page shown now.
    static QAbstractButton* button(const OnboardingFlow& flow, const char* name) {
        return child<QAbstractButton>(*flow.page(flow.currentStep()), name);
    }
    static void press(const OnboardingFlow& flow, const char* name) {
        QTest::mouseClick(button(flow, name), Qt::LeftButton);
        finishMoves();
    }
    // Plays what moves (a page's slide, the progress bar, the schedule's new hours, a check
    // mark) to its end at once, then lets the flow come to rest: for a test that looks at where
    // a move ends, not at the move.
    static void finishMoves() {
        std::vector<QPointer<QAbstractAnimation>> moving;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            for (auto* animation : window->findChildren<QAbstractAnimation*>()) {
                if (!HeldLoops::loops(animation->parent())) moving.emplace_back(animation);
            }
        }
        // An ending move may end others with it.
        for (const QPointer<QAbstractAnimation>& animation : moving) {
            if (animation && animation->state() == QAbstractAnimation::Running) {
                animation->setCurrentTime(animation->totalDuration());
            }
        }
        settle();
    }
    // The location card's check mark grows in when it comes up: a spy on that growth.
    static std::unique_ptr<QSignalSpy> markGrowth(const OnboardingFlow& flow) {
        auto* mark = child<PermissionCard>(flow, "locationCard")->findChild<GrantedMark*>("permissionGranted");
        return std::make_unique<QSignalSpy>(mark->findChild<QVariantAnimation*>(), &QAbstractAnimation::stateChanged);
    }
    static QStringList items(const QComboBox& box) {
        QStringList texts;
        for (int index = 0; index < box.count(); ++index) texts << box.itemText(index);
        return texts;
    }

    FakeUiServices ui;
};

TEST_F(OnboardingFlowTest, PagesFollowTheirButtonsAndTheProgressFillsByQuarters) {
    auto onboarding = flow();
    auto* progress = child<OnboardingProgressBar>(*onboarding, "onboardingProgress");
    const auto expectPage = [&](int step) {
        EXPECT_EQ(onboarding->currentStep(), step);
        EXPECT_TRUE(onboarding->page(step)->isVisible());
        SOLVARA_EXPECT_EVENTUALLY_EQ(progress->fillWidth(), 520.0 * (step + 1) / 4);
    };
    expectPage(0);
    EXPECT_EQ(button(*onboarding, "onboardingNext")->text(), "Get Started");
    press(*onboarding, "onboardingNext");
    expectPage(1);
    press(*onboarding, "onboardingBack");
    expectPage(0);
    EXPECT_NE(button(*onboarding, "onboardingSkip"), nullptr) << "the first page offers Skip again";
    // The keyboard moves on as the mouse does.
    QAbstractButton* next = button(*onboarding, "onboardingNext");
    next->setFocus();
    QTest::keyClick(next, Qt::Key_Space);
    settle();
    expectPage(1);
    press(*onboarding, "onboardingNext");
    expectPage(2);
    press(*onboarding, "onboardingNext");
    expectPage(3);
    press(*onboarding, "onboardingBack");
    expectPage(2);
    EXPECT_FALSE(state->hasCompletedOnboarding());

    // Quick presses cut the slides short; every page ends in place and opaque.
    QTest::mouseClick(button(*onboarding, "onboardingBack"), Qt::LeftButton);
    ASSERT_NE(onboarding->findChild<QWidget*>("onboardingLeavingPage"), nullptr) << "the first slide runs";
    press(*onboarding, "onboardingBack");
    EXPECT_EQ(onboarding->findChild<QWidget*>("onboardingLeavingPage"), nullptr);
    for (int step = 0; step < OnboardingFlow::totalSteps; ++step) {
        EXPECT_EQ(onboarding->page(step)->pos(), QPoint(0, 0)) << step;
        EXPECT_EQ(onboarding->page(step)->graphicsEffect(), nullptr) << step;
    }
    expectPage(0);
}

TEST_F(OnboardingFlowTest, APageComesInFromTheTrailingEdgeAndTheOldOneLeavesByTheWholeWidth) {
    auto onboarding = flow();
    const int width = child<QStackedWidget>(*onboarding, "onboardingPages")->width();
    QTest::mouseClick(button(*onboarding, "onboardingNext"), Qt::LeftButton);
    EXPECT_EQ(onboarding->currentStep(), 1);  // the step changes at once
    auto* leaving = onboarding->findChild<QWidget*>("onboardingLeavingPage");
    ASSERT_NE(leaving, nullptr);
    const auto own = onboarding->findChildren<QVariantAnimation*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(own.size(), 1);
    QVariantAnimation* slide = own.front();
    slide->pause();
    slide->setCurrentTime(slide->duration() / 2);
    EXPECT_NEAR(onboarding->page(1)->x(), width / 2, 2);
    EXPECT_NEAR(leaving->x(), -width / 2, 2);
    slide->resume();
    SOLVARA_EXPECT_EVENTUALLY(onboarding->findChild<QWidget*>("onboardingLeavingPage") == nullptr);
    EXPECT_EQ(slide->state(), QAbstractAnimation::Stopped);
    EXPECT_EQ(onboarding->page(1)->pos(), QPoint(0, 0));
    EXPECT_EQ(onboarding->page(1)->graphicsEffect(), nullptr);
}

TEST_F(OnboardingFlowTest, TheScheduleChoicesAreStoredAtOnceAndStayWhenGoingBack) {
    auto onboarding = flow();
    press(*onboarding, "onboardingNext");
    press(*onboarding, "onboardingNext");
    auto* wake = child<QComboBox>(*onboarding, "wakePicker");
    auto* sleep = child<QComboBox>(*onboarding, "sleepPicker");
    EXPECT_EQ(items(*wake), QStringList({"4:00", "5:00", "6:00", "7:00", "8:00", "9:00", "10:00", "11:00"}));
    EXPECT_EQ(items(*sleep), QStringList({"20:00", "21:00", "22:00", "23:00", "0:00"}));
    EXPECT_EQ(wake->currentText(), "7:00");
    EXPECT_EQ(sleep->currentText(), "23:00");

    struct Choice {
        QComboBox* picker;
        Qt::Key key;
        std::int64_t wake;
        std::int64_t sleep;
    };
    const Choice choices[] = {
        {wake, Qt::Key_Down, 8, 23},
        {wake, Qt::Key_Up, 7, 23},
        {sleep, Qt::Key_Down, 7, 0},  // midnight is stored as hour 0, as the settings keep it
        {sleep, Qt::Key_Up, 7, 23},
    };
    for (const Choice& choice : choices) {
        choice.picker->setFocus();
        QTest::keyClick(choice.picker, choice.key);
        // Stored by the key press itself, before anything it set going plays out.
        EXPECT_EQ(state->wakeHour(), choice.wake);
        EXPECT_EQ(state->sleepHour(), choice.sleep);
        finishMoves();
    }
    QTest::keyClick(sleep, Qt::Key_Down);
    press(*onboarding, "onboardingBack");
    EXPECT_EQ(state->sleepHour(), 0) << "going back undoes nothing";

    // A stored hour the list does not offer selects nothing and is kept.
    state->setWakeHour(12);
    settle();
    EXPECT_EQ(wake->currentIndex(), -1);
    EXPECT_EQ(state->wakeHour(), 12);
}

TEST_F(OnboardingFlowTest, ThePermissionCardsShowWhatTheDesktopAnswers) {
    struct Case {
        bool location;
        bool accessibility;
    };
    for (const Case c : {Case{false, false}, Case{true, false}, Case{false, true}, Case{true, true}}) {
        SCOPED_TRACE(::testing::Message() << c.location << c.accessibility);
        ui.permissions.location = c.location;
        ui.permissions.accessibility = c.accessibility;
        auto onboarding = flow();
        const auto grown = markGrowth(*onboarding);
        for (int step = 0; step < 3; ++step) press(*onboarding, "onboardingNext");
        auto* location = child<PermissionCard>(*onboarding, "locationCard");
        auto* accessibility = child<PermissionCard>(*onboarding, "accessibilityCard");
        EXPECT_EQ(location->isGranted(), c.location);
        EXPECT_EQ(location->grantButton()->isVisible(), !c.location);
        auto* mark = location->findChild<GrantedMark*>("permissionGranted");
        EXPECT_EQ(mark->isVisible(), c.location);
        if (c.location) {
            EXPECT_EQ(mark->shown(), 1.0);
            EXPECT_EQ(grown->count(), 0) << "already granted: there at once";
        }
        EXPECT_EQ(accessibility->isGranted(), c.accessibility);
        EXPECT_EQ(child<QWidget>(*onboarding, "permissionsNote")->isVisible(), !(c.location && c.accessibility));
    }
}

// The permissions page slides in as a picture: it shows the answer the page settles on, not the
// "Grant" buttons of a page that has not looked yet.
TEST_F(OnboardingFlowTest, ThePermissionsPageSlidesInAsItSettles) {
    struct Case {
        bool location;
        bool accessibility;
    };
    for (const Case c : {Case{false, true}, Case{true, true}, Case{false, false}}) {
        SCOPED_TRACE(::testing::Message() << c.location << c.accessibility);
        ui.permissions.location = c.location;
        ui.permissions.accessibility = c.accessibility;
        auto onboarding = flow();
        for (int step = 0; step < 2; ++step) press(*onboarding, "onboardingNext");
        QTest::mouseClick(button(*onboarding, "onboardingNext"), Qt::LeftButton);
        auto* sliding = dynamic_cast<TransitionEffect*>(onboarding->page(3)->graphicsEffect());
        ASSERT_NE(sliding, nullptr);
        const QImage painted = sliding->picture().toImage();
        settle();
        EXPECT_EQ(onboarding->page(3)->graphicsEffect(), nullptr);
        EXPECT_EQ(painted, onboarding->page(3)->grab().toImage());
    }
}

TEST_F(OnboardingFlowTest, APositionAlreadyDeliveredShowsTheLocationGrantedAtOnce) {
    ui.permissions.location = false;  // the flow's own look at the service has no answer yet
    state->setHasLocationFix(true);
    struct Case {
        LocationSource source;
        bool granted;
    };
    for (const Case c : {Case{LocationSource::automatic, true}, Case{LocationSource::manual, false}}) {
        state->setLocationSource(c.source);
        auto onboarding = flow();
        const auto grown = markGrowth(*onboarding);
        for (int step = 0; step < 3; ++step) press(*onboarding, "onboardingNext");
        auto* location = child<PermissionCard>(*onboarding, "locationCard");
        EXPECT_EQ(location->isGranted(), c.granted);
        EXPECT_EQ(location->grantButton()->isVisible(), !c.granted);
        auto* mark = location->findChild<GrantedMark*>("permissionGranted");
        EXPECT_EQ(mark->isVisible(), c.granted);
        if (c.granted) {
            EXPECT_EQ(mark->shown(), 1.0);
            EXPECT_EQ(grown->count(), 0) << "there at once";
        }
    }
}

TEST_F(OnboardingFlowTest, GrantAsksAndLooksAgainOnceTheDesktopHadTime) {
    auto onboarding = flow();
    for (int step = 0; step < 3; ++step) press(*onboarding, "onboardingNext");
    auto* location = child<PermissionCard>(*onboarding, "locationCard");
    auto* accessibility = child<PermissionCard>(*onboarding, "accessibilityCard");
    ui.permissions.grantOnRequest = true;
    QTest::mouseClick(location->grantButton(), Qt::LeftButton);
    QTest::mouseClick(accessibility->grantButton(), Qt::LeftButton);
    EXPECT_EQ(ui.permissions.locationRequests, 1);
    EXPECT_EQ(ui.permissions.accessibilityRequests, 1);
    EXPECT_FALSE(location->isGranted()) << "the answer shows only at the delayed check";
    SOLVARA_EXPECT_EVENTUALLY(location->isGranted());
    auto* mark = location->findChild<GrantedMark*>("permissionGranted");
    EXPECT_LT(mark->shown(), 1.0) << "granted meanwhile: it grows in";
    SOLVARA_EXPECT_EVENTUALLY_EQ(mark->shown(), 1.0);
    SOLVARA_EXPECT_EVENTUALLY(accessibility->isGranted());
    SOLVARA_EXPECT_EVENTUALLY(!child<QWidget>(*onboarding, "permissionsNote")->isVisible());
}

TEST_F(OnboardingFlowTest, SkipAndTheLastContinueSwitchFilteringOnThenSetTheFlag) {
    for (const bool fromLastPage : {false, true}) {
        SCOPED_TRACE(fromLastPage ? "Continue on the permissions page" : "Skip on the welcome page");
        state->setIsEnabled(false);
        state->setHasCompletedOnboarding(false);
        auto onboarding = flow();
        QSignalSpy finished(onboarding.get(), &OnboardingFlow::finished);
        if (fromLastPage) {
            for (int step = 0; step < 3; ++step) press(*onboarding, "onboardingNext");
        }
        changed.clear();
        press(*onboarding, fromLastPage ? "onboardingNext" : "onboardingSkip");
        EXPECT_EQ(finished.count(), 1);
        EXPECT_TRUE(state->isEnabled());
        EXPECT_TRUE(state->hasCompletedOnboarding());
        const auto enabled = std::find(changed.begin(), changed.end(), AppState::Property::isEnabled);
        const auto completed = std::find(changed.begin(), changed.end(), AppState::Property::hasCompletedOnboarding);
        EXPECT_LT(enabled, completed) << "filtering first, then the flag";
        EXPECT_NE(completed, changed.end());
        EXPECT_EQ(fake.userDefaults.boolValue("sv_hasCompletedOnboarding"), true);
        EXPECT_EQ(fake.userDefaults.boolValue("sv_isEnabled"), true);
    }
}

TEST_F(OnboardingFlowTest, OnlyTheShownPreviewMoves) {
    auto onboarding = flow();
    auto* sun = child<SunAnimationView>(*onboarding, "sunAnimation");
    auto* screens = child<BeforeAfterPreview>(*onboarding, "beforeAfterPreview");
    EXPECT_TRUE(sun->isRunning());
    EXPECT_FALSE(screens->isRunning());
    SOLVARA_EXPECT_EVENTUALLY(sun->phase() > 0);
    press(*onboarding, "onboardingNext");
    EXPECT_FALSE(sun->isRunning());
    EXPECT_TRUE(screens->isRunning());
    onboarding->hide();
    EXPECT_FALSE(screens->isRunning());
}

TEST_F(OnboardingFlowTest, InTheMainWindowOnlyTheFlowEndsItAndRestartTourOpensItOnItsFirstPage) {
    state->setHasCompletedOnboarding(false);
    auto main = std::make_unique<MainWindow>(*state, ui.services());
    main->present();
    settle();
    QPointer<QDialog> sheet = main->onboardingSheet();
    ASSERT_TRUE(sheet);
    auto* onboarding = sheet->findChild<OnboardingFlow*>();
    ASSERT_NE(onboarding, nullptr);
    EXPECT_EQ(sheet->size(), QSize(520, 480));
    QTest::keyClick(sheet, Qt::Key_Escape);
    // The window manager's close button: a close event to the sheet's window, which reaches the
    // sheet as a spontaneous one.
    QCloseEvent wmClose;
    QCoreApplication::sendEvent(sheet->windowHandle(), &wmClose);
    settle();
    ASSERT_TRUE(sheet && sheet->isVisible()) << "neither Escape nor closing ends it";
    EXPECT_FALSE(state->hasCompletedOnboarding());

    // A second launch brings the window forward: the sheet stays over it with the focus, and
    // Return goes through the pages from the blue button of each.
    main->present();
    settle();
    for (int step = 0; step < 4; ++step) {
        ASSERT_EQ(QApplication::activeWindow(), sheet.data()) << "page " << step;
        ASSERT_EQ(QApplication::focusWidget(), button(*onboarding, "onboardingNext")) << "page " << step;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        settle();
    }
    EXPECT_TRUE(state->hasCompletedOnboarding());
    EXPECT_EQ(main->onboardingSheet(), nullptr);

    main->showTab(SettingsTab::help);
    QTest::mouseClick(child<QAbstractButton>(*main->settingsView()->tabView(), "restartTour"), Qt::LeftButton);
    settle();
    ASSERT_NE(main->onboardingSheet(), nullptr);
    auto* again = main->onboardingSheet()->findChild<OnboardingFlow*>();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->currentStep(), 0);
    EXPECT_TRUE(again->page(0)->isVisible());
    EXPECT_FALSE(again->locationGranted());
}

// Without an X11 connection (offscreen, Wayland without XWayland) the shell can neither grab keys
// nor read the active window: refused, and asking again changes nothing.
TEST(QtPermissionsTest, WithoutX11TheShellsNeedsAreRefused) {
    QtPermissions permissions;
    EXPECT_FALSE(permissions.accessibilityGranted());
    permissions.requestAccessibility();
    EXPECT_FALSE(permissions.accessibilityGranted());
}

}  // namespace
}  // namespace solvara::testing
