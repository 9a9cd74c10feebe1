#include <QAction>
#include <QMenu>
#include <QPointer>

#include <gtest/gtest.h>

#include "app/ui/kit/AppActions.h"
#include "app/ui/kit/BuildInfo.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "app/ui/settings/MainWindow.h"
#include "app/ui/settings/MainWindowHost.h"
#include "app/ui/settings/SettingsView.h"
#include "tests/app/shell/AppDelegateTestSupport.h"

namespace solvara::testing {
namespace {

TEST(MainWindowHostTest, TheLaunchOpensTheWindowAndEveryLaterRequestBringsTheSameOneBack) {
    FakePlatform fakes;
    FakeBreakWindowFactory breakWindows;
    AppDelegate delegate(fakes.platform(), breakWindows);
    delegate.appState().setHasCompletedOnboarding(true);
    FakeUiServices ui;
    AppActions actions(delegate.appState(), ui.services());
    MainWindowHost host(delegate, ui.services(), actions);
    EXPECT_EQ(host.window(), nullptr);

    delegate.applicationDidFinishLaunching();
    QPointer<MainWindow> window = host.window();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());

    window->close();
    EXPECT_FALSE(window->isVisible());
    delegate.applicationShouldHandleReopen();  // a second launch
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(host.window(), window.data());

    window->close();
    actions.shortcutsAction()->trigger();  // "Keyboard Shortcuts" in a menu
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->settingsView()->selectedTab(), SettingsTab::shortcuts);

    // Help and science are the maker's pages, in the browser, even with the window open.
    QMenu* help = window->findChild<QMenu*>("helpMenu");
    ASSERT_NE(help, nullptr);
    for (QAction* item : help->actions()) {
        if (item->objectName() == "helpAction" || item->objectName() == "scienceAction") item->trigger();
    }
    EXPECT_EQ(ui.urlOpener.opened, (std::vector<QString>{BuildInfo::helpUrl(), BuildInfo::scienceUrl()}));
    EXPECT_EQ(window->settingsView()->selectedTab(), SettingsTab::shortcuts);
    delegate.applicationWillTerminate();
}

}  // namespace
}  // namespace solvara::testing
