#include <gtest/gtest.h>
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "app/state/AppState.h"
#include "app/ui/kit/AppActions.h"
#include "app/ui/kit/BuildInfo.h"
#include "app/ui/kit/CommandMenu.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "app/ui/popover/TrayIcon.h"
#include "platform/fake/FakePlatform.h"
#include "tests/app/ui/kit/QuitOrder.h"
#include "tests/platform/linux/QtTestApplication.h"

namespace solvara::testing {
namespace {

class AppActionsTest : public ::testing::Test {
protected:
    AppActionsTest() : state(fakes.platform()), actions(state, ui.services()) {}

    FakePlatform fakes;
    AppState state;
    FakeUiServices ui;
    AppActions actions;
};

TEST_F(AppActionsTest, CycleModeWalksAllElevenModesAndWraps) {
    const std::vector<DisplayMode> expected{DisplayMode::movie,      DisplayMode::reading, DisplayMode::presentation,
                                            DisplayMode::coding,     DisplayMode::gaming,  DisplayMode::biohacker,
                                            DisplayMode::sunglasses, DisplayMode::dark,    DisplayMode::custom,
                                            DisplayMode::disabled,   DisplayMode::auto_};
    std::vector<DisplayMode> seen;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        actions.cycleModeAction()->trigger();
        seen.push_back(state.currentMode());
    }
    EXPECT_EQ(seen, expected);
}

TEST_F(AppActionsTest, WarmerAndCoolerStopAtTheAdjustmentLimits) {
    struct Case {
        std::int64_t start;
        QAction* action;
        std::int64_t after;
    };
    for (const Case& c : std::vector<Case>{{0, actions.warmerAction(), -100},
                                           {-3000, actions.warmerAction(), -3000},
                                           {-2950, actions.warmerAction(), -3000},
                                           {3000, actions.coolerAction(), 3000},
                                           {0, actions.coolerAction(), 100}}) {
        state.adjustKelvin(c.start - state.manualKelvinAdjustment());
        c.action->trigger();
        EXPECT_EQ(state.manualKelvinAdjustment(), c.after) << c.start;
    }
}

TEST_F(AppActionsTest, TogglesFlipAndPersistBothWays) {
    for (int i = 0; i < 2; ++i) {
        const bool enabled = state.isEnabled();
        const bool pwm = state.pwmProtectionEnabled();
        const std::size_t writes = fakes.userDefaults.setCount;
        actions.toggleEnabledAction()->trigger();
        actions.togglePwmAction()->trigger();
        EXPECT_EQ(state.isEnabled(), !enabled);
        EXPECT_EQ(state.pwmProtectionEnabled(), !pwm);
        EXPECT_GT(fakes.userDefaults.setCount, writes);
    }
}

TEST_F(AppActionsTest, TakeBreakNowIsEnabledOnlyWithBreaksOn) {
    QAction* takeBreak = actions.takeBreakAction();
    EXPECT_FALSE(takeBreak->isEnabled());
    takeBreak->trigger();  // disabled: nothing starts
    EXPECT_FALSE(std::holds_alternative<BreakScheduler::BreakActive>(state.breakScheduler().state()));

    state.setBreaksEnabled(true);
    settle();
    ASSERT_TRUE(takeBreak->isEnabled());
    takeBreak->trigger();
    const auto* active = std::get_if<BreakScheduler::BreakActive>(&state.breakScheduler().state());
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(active->endsAt - fakes.runLoop.now(), 20.0);

    state.setBreaksEnabled(false);
    settle();
    EXPECT_FALSE(takeBreak->isEnabled());
}

TEST_F(AppActionsTest, MenusHoldTheCommandsInOrderWithTheirKeys) {
    QWidget owner;
    // Bare titles: a D-Bus tray host shows the label as it stands and draws the keys itself.
    QStringList controls;
    QStringList keys;
    for (QAction* action : actions.createControlsMenu(&owner)->actions()) {
        controls << (action->isSeparator() ? QString("-") : action->text());
        if (!action->isSeparator()) {
            keys << CommandMenu::shownKeys(action->shortcut());
            EXPECT_TRUE(action->isShortcutVisibleInContextMenu()) << action->text().toStdString();
        }
    }
    EXPECT_EQ(controls, (QStringList{"Toggle On/Off", "Cycle Mode", "-", "Warmer (+100K)", "Cooler (-100K)", "-",
                                     "Toggle PWM Protection", "Take Break Now"}));
    EXPECT_EQ(keys, (QStringList{"Ctrl+Alt+E", "Ctrl+Alt+M", QString::fromUtf8("Ctrl+Alt+↓"),
                                 QString::fromUtf8("Ctrl+Alt+↑"), "Ctrl+Alt+P", "Ctrl+Alt+B"}));
    EXPECT_EQ(actions.warmerAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Down));
    QStringList help;
    for (QAction* action : actions.createHelpMenu(&owner)->actions()) {
        help << (action->isSeparator() ? QString("-") : action->text());
    }
    EXPECT_EQ(help, (QStringList{"Solvara Help", "Keyboard Shortcuts", "-", "Visit Website", "The Science", "-",
                                 "Send Feedback..."}));
    EXPECT_EQ(CommandMenu::shownKeys(actions.helpAction()->shortcut()), "Ctrl+?");
}

TEST_F(AppActionsTest, HelpLinksOpenTheMakersPages) {
    actions.helpAction()->trigger();
    actions.scienceAction()->trigger();
    actions.websiteAction()->trigger();
    actions.feedbackAction()->trigger();
    EXPECT_EQ(ui.urlOpener.opened,
              (std::vector<QString>{BuildInfo::helpUrl(), BuildInfo::scienceUrl(), BuildInfo::websiteUrl(),
                                    "mailto:" + BuildInfo::feedbackAddress() + "?subject=Solvara%20Feedback"}));
}

TEST_F(AppActionsTest, AboutShowsTheVersionBuildAndThisYearsCredits) {
    actions.aboutAction()->trigger();
    QDialog* box = actions.aboutBox();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(box->findChild<QLabel*>("aboutName")->text(), "Solvara");
    EXPECT_EQ(box->findChild<QLabel*>("aboutVersion")->text(),
              "Version " + BuildInfo::version() + " (" + BuildInfo::buildNumber() + ")");
    // The fake clock stands in 2026.
    EXPECT_TRUE(box->findChild<QLabel*>("aboutCredits")->text().contains("2026"));
    actions.aboutAction()->trigger();
    EXPECT_EQ(actions.aboutBox(), box);  // one box at a time
    EXPECT_EQ(AppActions::creditsText(12026).count("12026"), 1);
    QTest::mouseClick(box->findChild<QPushButton*>("aboutCloseButton"), Qt::LeftButton);
    SOLVARA_EXPECT_EVENTUALLY(actions.aboutBox() == nullptr);
}

TEST_F(AppActionsTest, TheTrayIconFollowsTheSymbolAndItsMenuHoldsTheCommands) {
    TrayIcon tray(state, ui.services(), actions);
    EXPECT_EQ(tray.symbol(), "sun.max");
    state.setCoordinate(Coordinate{52.52, 13.405});
    fakes.runLoop.advance(22 * 3600.0);  // 2026-01-01 22:00 UTC, deep in the night
    state.updateCircadianState();
    settle();
    EXPECT_EQ(tray.symbol(), state.menuBarIcon());
    EXPECT_EQ(tray.symbol(), "moon.stars");
    state.setIsEnabled(false);
    settle();
    EXPECT_EQ(tray.symbol(), "sun.max");

    // The menu holds the Help submenu from the start: only what the tray's menu holds when the
    // icon is shown reaches a D-Bus tray host.
    QStringList items;
    for (QAction* action : tray.menu()->actions()) {
        items << (action->isSeparator() ? QString("-") : action->text());
    }
    EXPECT_EQ(items, (QStringList{"Open Solvara", "-", "Toggle On/Off", "Cycle Mode", "-", "Warmer (+100K)",
                                  "Cooler (-100K)", "-", "Toggle PWM Protection", "Take Break Now", "-", "Help",
                                  "About Solvara", "-", "Quit Solvara"}));
    EXPECT_TRUE(tray.menu()->actions().contains(actions.takeBreakAction()));
    ASSERT_NE(tray.menu()->findChild<QMenu*>("helpMenu"), nullptr);
    EXPECT_TRUE(tray.menu()->findChild<QMenu*>("helpMenu")->actions().contains(actions.feedbackAction()));

    fakes.screens.screenList = {ScreenInfo{std::nullopt, "Screen", Rect{0, 0, 800, 600}}};
    state.setIsEnabled(true);
    state.setPwmProtectionEnabled(true);
    ASSERT_FALSE(state.softwareDimmer().overlayWindows().empty());
    fakes.events.clear();
    QSignalSpy quit(&actions, &AppActions::quitRequested);
    QObject::connect(&actions, &AppActions::quitRequested, [this] { fakes.events.add("quitRequested"); });
    tray.menu()->findChild<QAction*>("quitAction")->trigger();
    EXPECT_EQ(quit.count(), 1);
    expectDisplaysPutBackBeforeTheQuitRequest(fakes.events);
    EXPECT_TRUE(state.softwareDimmer().overlayWindows().empty());
}

}  // namespace
}  // namespace solvara::testing
