#include <gtest/gtest.h>
#include <QApplication>

#include "app/ui/kit/AppActions.h"
#include "app/ui/kit/Theme.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "app/ui/popover/TrayIcon.h"
#include "app/ui/popover/TrayShell.h"
#include "tests/app/shell/AppDelegateTestSupport.h"

namespace solvara::testing {
namespace {

TEST(TrayShellTest, TheStatesAutomaticAppearanceSetsTheApplicationPaletteWhileTheShellLives) {
    FakePlatform fakes;
    FakeBreakWindowFactory breakWindows;
    AppDelegate delegate(fakes.platform(), breakWindows);
    FakeUiServices ui;
    {
        TrayShell shell(delegate, ui.services());
        ASSERT_TRUE(delegate.appState().onAutoAppearance);
        for (bool dark : {true, false, true}) {
            delegate.appState().onAutoAppearance(dark);
            EXPECT_EQ(Theme::isApplicationDark(), dark);
            EXPECT_EQ(QApplication::palette().color(QPalette::Window), Theme::forDark(dark).windowBackground);
        }
        // Windows without a decision of their own (About) follow it.
        shell.actions().showAbout();
        EXPECT_TRUE(Theme::of(shell.actions().aboutBox()).isDark);
        EXPECT_EQ(shell.trayIcon().symbol(), delegate.appState().menuBarIcon());
    }
    EXPECT_FALSE(delegate.appState().onAutoAppearance);
    Theme::applyToApplication(false);
}

}  // namespace
}  // namespace solvara::testing
