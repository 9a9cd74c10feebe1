// A process that neither links the charts plugin in nor finds it beside itself, as the program
// would be with solvara-charts.so missing from its installation.

#include <cstdlib>
#include <ctime>

#include <gtest/gtest.h>
#include <QApplication>
#include <QPushButton>

#include "app/state/AppState.h"
#include "app/ui/health/HealthSettingsTab.h"
#include "app/ui/kit/ChartViews.h"
#include "app/ui/kit/SettingsRow.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "core/foundation/Calendar.h"
#include "platform/fake/FakePlatform.h"
#include "tests/platform/linux/QtTestApplication.h"

namespace solvara {
namespace {

TEST(HealthWithoutCharts, TheTabShowsItsFiguresAndSaysWhyTheChartsAreMissing) {
    FakePlatform platform(*Calendar::date(2026, 6, 17, 12, 0));
    AppState state(platform.platform());
    FakeUiServices ui;

    HealthSettingsTab tab(state, ui.services());
    tab.show();
    EXPECT_EQ(chartViewFactory(), nullptr);
    EXPECT_TRUE(
        platform.log.contains("[Charts] No solvara-charts.so beside the program: showing the data without charts"));
    EXPECT_EQ(tab.findChild<QPushButton*>("chartRange30"), nullptr);

    // The rest of the tab follows the state as before.
    auto* debt = tab.findChild<SettingsRow*>("lightDebtRow");
    ASSERT_NE(debt, nullptr);
    const QString before = debt->value();
    state.setLightDebtPoints(12.0);
    SOLVARA_EXPECT_EVENTUALLY(debt->value() != before);
    EXPECT_NE(tab.findChild<QPushButton*>("exportHealthData"), nullptr);
}

}  // namespace
}  // namespace solvara

// As the other widget tests' main: the application on main's stack (one among the statics would
// outlive Qt's font database at exit).
int main(int argc, char** argv) {
    setenv("TZ", "UTC", 1);
    tzset();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
