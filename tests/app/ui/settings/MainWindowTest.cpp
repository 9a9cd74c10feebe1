#include <functional>

#include <QAccessibleActionInterface>
#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>

#include "app/ui/kit/AppActions.h"
#include "app/ui/kit/BuildInfo.h"
#include "app/ui/kit/Theme.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "app/ui/onboarding/OnboardingFlow.h"
#include "app/ui/settings/HelpTab.h"
#include "app/ui/settings/MainWindow.h"
#include "app/ui/settings/ScheduleSettingsTab.h"
#include "app/ui/settings/SettingsView.h"
#include "tests/app/ui/kit/QuitOrder.h"
#include "tests/app/ui/settings/SettingsTestSupport.h"

namespace solvara::testing {
namespace {

class MainWindowTest : public SettingsFixture {
protected:
    std::unique_ptr<MainWindow> window(bool onboarded = true) {
        state->setHasCompletedOnboarding(onboarded);
        auto made = std::make_unique<MainWindow>(*state, ui.services());
        made->present();
        settle();
        return made;
    }
    FakeUiServices ui;
};

TEST_F(MainWindowTest, TheSidebarListsElevenTabsInFiveGroupsAndEachSwitchBuildsAFreshView) {
    auto main = window();
    QListWidget* sidebar = main->settingsView()->sidebar();
    QStringList headers;
    QStringList tabs;
    for (int row = 0; row < sidebar->count(); ++row) {
        QListWidgetItem* item = sidebar->item(row);
        (item->flags() == Qt::NoItemFlags ? headers : tabs) << item->text();
    }
    EXPECT_EQ(headers, QStringList({"OVERVIEW", "SETTINGS", "WELLNESS", "CUSTOMIZATION", "REFERENCE"}));
    EXPECT_EQ(tabs, QStringList({"Dashboard", "General", "Schedule", "Display", "Breaks", "Health", "Features",
                                 "Shortcuts", "Profiles", "Science", "Help"}));
    EXPECT_EQ(main->settingsView()->selectedTab(), SettingsTab::dashboard);
    EXPECT_EQ(main->settingsView()->size(), QSize(780, 560));
    EXPECT_EQ(sidebar->width(), 160);

    sidebar->setFocus();
    QTest::keyClick(sidebar, Qt::Key_Down);  // the keyboard skips the SETTINGS title
    EXPECT_EQ(main->settingsView()->selectedTab(), SettingsTab::general);
    QTest::keyClick(sidebar, Qt::Key_Down);
    QPointer<QWidget> schedule = main->settingsView()->tabView();
    EXPECT_EQ(schedule->objectName(), "ScheduleSettingsTab");
    QTest::keyClick(sidebar, Qt::Key_Up);
    QTest::keyClick(sidebar, Qt::Key_Down);
    settle();
    EXPECT_TRUE(schedule.isNull()) << "the old view is gone";
    EXPECT_NE(main->settingsView()->tabView(), nullptr);

    main->showTab(SettingsTab::shortcuts);
    EXPECT_EQ(sidebar->currentItem()->text(), "Shortcuts");
}

TEST_F(MainWindowTest, NoTabWritesASettingWhenItRefreshes) {
    auto main = window();
    for (const SettingsTabInfo& tab : settingsTabs) {
        main->showTab(tab.tab);
        settle();
        const std::size_t before = mark();
        changed.clear();
        state->setLastPhaseName(std::string(tab.title));  // a change every view hears of
        settle();
        EXPECT_EQ(writesSince(before), 0u) << tab.title;
        EXPECT_EQ(changed.size(), 1u) << tab.title;
    }
}

TEST_F(MainWindowTest, EverySettingsControlHasANameForScriptsAndScreenReadersAndTakesTheKeyboard) {
    // Every optional row shown.
    state->setCurrentMode(DisplayMode::custom);
    state->setPwmProtectionEnabled(true);
    state->setSpotlightEnabled(true);
    state->setUseSoftwareCursor(true);
    state->setWeekendScheduleEnabled(true);
    state->setUseManualNightSchedule(true);
    state->setLocationSource(LocationSource::manual);
    state->setBreaksEnabled(true);
    state->setFeatureSoundscapes(true);
    state->setPerDisplaySettings({{7, PerDisplaySettings{7, "Display 7", true, std::nullopt, std::nullopt}}});
    auto main = window();
    for (SettingsTab tab : {SettingsTab::general, SettingsTab::schedule, SettingsTab::display, SettingsTab::breaks,
                            SettingsTab::shortcuts, SettingsTab::profiles, SettingsTab::features, SettingsTab::help}) {
        main->showTab(tab);
        settle();
        expectControlsNamed(*main->settingsView()->tabView(), info(tab).title);
    }
}

TEST_F(MainWindowTest, TheMenuBarCarriesTheApplicationMenuControlsAndHelp) {
    auto main = window();
    AppActions actions(*state, ui.services());
    main->addMenus(actions);
    QStringList titles;
    for (QAction* menu : main->menuBar()->actions()) titles << menu->text();
    EXPECT_EQ(titles, QStringList({"Solvara", "Controls", "Help"}));
    QStringList items;
    for (QAction* item : main->menuBar()->actions().front()->menu()->actions()) {
        items << (item->isSeparator() ? QString("-") : item->text() + " " + item->shortcut().toString());
    }
    EXPECT_EQ(items, QStringList({"About Solvara ", "-", "Quit Solvara Ctrl+Q"}));
    QMenu* help = main->menuBar()->actions().back()->menu();
    EXPECT_TRUE(help->actions().contains(actions.shortcutsAction()));
    EXPECT_EQ(help->actions().back(), actions.feedbackAction());
}

// Without a tray the main window is the only way in: its Quit must work with the keyboard from
// any focus, and from a screen reader, and put the displays back before the program ends.
TEST_F(MainWindowTest, QuitWorksFromEveryFocusAndFromAScreenReaderAndPutsTheDisplaysBackFirst) {
    fake.screens.screenList = {ScreenInfo{std::nullopt, "Screen", Rect{0, 0, 800, 600}}};
    state->setIsEnabled(true);
    AppActions actions(*state, ui.services());
    int quits = 0;
    QObject::connect(&actions, &AppActions::quitRequested, [&] {
        fake.events.add("quitRequested");
        ++quits;
    });
    struct Case {
        const char* where;
        bool onboarded;
        std::function<QWidget*(MainWindow&)> focus;  // null: pressed through the accessibility tree
    };
    const auto firstIn = [](SettingsTab tab, auto type) {
        return [tab, type](MainWindow& main) -> QWidget* {
            main.showTab(tab);
            settle();
            return main.settingsView()->tabView()->findChild<std::remove_pointer_t<decltype(type)>*>();
        };
    };
    const std::vector<Case> cases{
        {"the sidebar", true, [](MainWindow& main) -> QWidget* { return main.settingsView()->sidebar(); }},
        {"a picker", true, firstIn(SettingsTab::general, static_cast<QComboBox*>(nullptr))},
        {"a slider", true, firstIn(SettingsTab::display, static_cast<QAbstractSlider*>(nullptr))},
        {"a switch", true, firstIn(SettingsTab::breaks, static_cast<QAbstractButton*>(nullptr))},
        {"the first-run sheet", false, [](MainWindow& main) -> QWidget* { return main.onboardingSheet(); }},
        {"a screen reader", true, nullptr},
    };
    for (const Case& c : cases) {
        state->setHasCompletedOnboarding(c.onboarded);
        MainWindow main(*state, ui.services());
        main.addMenus(actions);  // before the first showing, as the program does
        main.present();
        settle();
        state->setPwmProtectionEnabled(true);
        ASSERT_FALSE(state->softwareDimmer().overlayWindows().empty()) << c.where;
        fake.events.clear();
        const int before = quits;
        if (c.focus) {
            QWidget* focus = c.focus(main);
            ASSERT_NE(focus, nullptr) << c.where;
            focus->activateWindow();
            focus->setFocus();
            settle();
            ASSERT_EQ(QApplication::focusWidget()->window(), focus->window()) << c.where;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
        } else {
            QAccessibleInterface* menu =
                QAccessible::queryAccessibleInterface(main.menuBar()->actions().front()->menu());
            ASSERT_NE(menu, nullptr);
            for (int i = 0; i < menu->childCount(); ++i) {
                QAccessibleInterface* item = menu->child(i);
                if (item->text(QAccessible::Name) == "Quit Solvara") {
                    item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
                }
            }
        }
        settle();
        EXPECT_EQ(quits, before + 1) << c.where;
        expectDisplaysPutBackBeforeTheQuitRequest(fake.events);
        EXPECT_TRUE(state->softwareDimmer().overlayWindows().empty()) << c.where;
    }
}

TEST_F(MainWindowTest, FollowsTheDarkDecisionLive) {
    auto main = window();
    EXPECT_FALSE(Theme::of(main->settingsView()).isDark);
    state->setCurrentMode(DisplayMode::sunglasses);
    settle();
    EXPECT_TRUE(state->shouldUseDarkMode());
    EXPECT_TRUE(Theme::of(main->settingsView()).isDark);
    state->setIsEnabled(false);
    settle();
    EXPECT_FALSE(Theme::of(main->settingsView()).isDark);
}

TEST_F(MainWindowTest, TheFirstRunSheetClosesOnlyByItsFinishAndComesBackWithRestartTour) {
    state->setIsEnabled(false);
    auto main = window(false);
    QPointer<QDialog> sheet = main->onboardingSheet();
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(main->settingsView()->selectedTab(), SettingsTab::dashboard);
    QTest::keyClick(sheet, Qt::Key_Escape);
    settle();
    EXPECT_TRUE(sheet && sheet->isVisible()) << "Escape does not dismiss it";

    QTest::mouseClick(child<QAbstractButton>(*sheet, "onboardingSkip"), Qt::LeftButton);
    settle();
    EXPECT_TRUE(state->isEnabled());
    EXPECT_TRUE(state->hasCompletedOnboarding());
    EXPECT_TRUE(sheet.isNull() || !sheet->isVisible());
    EXPECT_EQ(main->onboardingSheet(), nullptr);

    main->showTab(SettingsTab::help);
    QTest::mouseClick(child<QPushButton>(*main->settingsView()->tabView(), "restartTour"), Qt::LeftButton);
    EXPECT_FALSE(state->hasCompletedOnboarding());
    settle();
    ASSERT_NE(main->onboardingSheet(), nullptr);
    EXPECT_TRUE(main->onboardingSheet()->isVisible());
    EXPECT_NE(main->onboardingSheet(), sheet.data());
}

TEST_F(MainWindowTest, QuittingClosesTheSheetAndLeavesTheTourForTheNextLaunch) {
    auto main = window(false);
    ASSERT_NE(main->onboardingSheet(), nullptr);
    EXPECT_TRUE(main->onboardingSheet()->close()) << "the application's quit closes every window";
    settle();
    EXPECT_FALSE(state->hasCompletedOnboarding());
}

TEST_F(MainWindowTest, ClosingHidesTheSameWindowThatComesBack) {
    auto main = window();
    QPointer<MainWindow> same = main.get();
    main->close();
    EXPECT_FALSE(main->isVisible());
    main->present();
    EXPECT_TRUE(same && main->isVisible());
}

TEST_F(MainWindowTest, HelpLinksOpenTheirAddressesAndTheFeedbackSubjectCarriesTheVersion) {
    auto main = window();
    main->showTab(SettingsTab::help);
    QWidget* help = main->settingsView()->tabView();
    QTest::mouseClick(child<QPushButton>(*help, "faqLink"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(*help, "sendFeedback"), Qt::LeftButton);
    ASSERT_EQ(ui.urlOpener.opened.size(), 2u);
    EXPECT_EQ(ui.urlOpener.opened[0], BuildInfo::helpUrl());
    EXPECT_TRUE(ui.urlOpener.opened[1].endsWith("?subject=Solvara%20v" + BuildInfo::version() + "%20Feedback"))
        << ui.urlOpener.opened[1].toStdString();
}

}  // namespace
}  // namespace solvara::testing
