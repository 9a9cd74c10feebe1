// The Health tab with a year of generated history and with none, and the trend charts at each
// range and over a new user's first days.
#include <algorithm>
#include <cmath>

#include <QPushButton>

#include "app/ui/health/HealthChartsView.h"
#include "app/ui/health/HealthSettingsTab.h"
#include "core/foundation/Calendar.h"
#include "core/foundation/Clock.h"
#include "tests/screenshots/Screenshots.h"

namespace solvara {
namespace {

// A year of plausible days up to yesterday: weekly and seasonal swings, a missed score now and
// then, and ratings on most nights.
void recordYear(AppState& state) {
    for (int ago = 365; ago >= 1; --ago) {
        const double week = std::sin(ago * 2 * M_PI / 7);
        const double season = std::cos(ago * 2 * M_PI / 365);
        const std::string date = HealthHistory::dateString(*Calendar::addingDays(-ago, Clock::now()));
        const double debt = std::max(0.0, 18 + 14 * week + 8 * season + (ago % 5) * 1.7);
        const double compliance = std::clamp(0.72 + 0.2 * std::sin(ago * 0.9), 0.0, 1.0);
        const std::optional<std::int64_t> score =
            ago % 11 == 0 ? std::nullopt : std::optional<std::int64_t>(std::lround(74 - debt * 0.6 + 12 * compliance));
        const std::optional<std::int64_t> rating =
            ago % 6 == 0 ? std::nullopt
                         : std::optional<std::int64_t>(std::clamp<long>(std::lround(4.6 - debt / 14), 1, 5));
        state.healthHistory().recordDay(date, 5.5 + 2.5 * week + (ago % 3) * 0.8, debt, compliance, 6 + ago % 4,
                                        ago % 3, score, rating);
    }
    state.setLightDebtPoints(23.4);
    state.setLightDebtLevel("medium");
    state.setLightDebtRecommendation(
        std::string(LightDebtCalculator::DebtLevel(LightDebtCalculator::DebtLevel::medium).recommendation()));
    state.setScreenTimeToday(3.75);
}

std::unique_ptr<QWidget> chartsAt(screenshots::SceneContext& scene, const char* button) {
    recordYear(scene.state());
    auto view = std::make_unique<HealthChartsView>(scene.state());
    if (button != nullptr) view->findChild<QPushButton*>(button)->click();
    return view;
}

}  // namespace

SOLVARA_SCENE(healthYear, "health-year", 640, 0) {
    recordYear(scene.state());
    scene.state().setSleepQualityRating(4);
    scene.state().setLastSleepRatingDate(HealthHistory::dateString(Clock::now()));
    return std::make_unique<HealthSettingsTab>(scene.state(), scene.ui());
}

SOLVARA_SCENE(healthEmpty, "health-empty", 640, 0) {
    return std::make_unique<HealthSettingsTab>(scene.state(), scene.ui());
}

SOLVARA_SCENE(healthCharts7, "health-charts-7", 600, 0) {
    return chartsAt(scene, nullptr);
}
// A new user's first days: a few minutes of screen time, hardly any light debt, no score yet.
SOLVARA_SCENE(healthChartsFirstDays, "health-charts-first-days", 600, 0) {
    const struct {
        int ago;
        double screenHours;
        double debt;
        double compliance;
    } days[] = {{3, 0.02, 0.0, 0.0}, {2, 0.1, 0.3, 0.5}, {1, 0.05, 0.12, 1.0}};
    for (const auto& day : days) {
        scene.state().healthHistory().recordDay(
            HealthHistory::dateString(*Calendar::addingDays(-day.ago, Clock::now())), day.screenHours, day.debt,
            day.compliance, day.compliance > 0 ? 1 : 0, day.compliance < 1 ? 1 : 0, std::nullopt, std::nullopt);
    }
    return std::make_unique<HealthChartsView>(scene.state());
}
SOLVARA_SCENE(healthCharts30, "health-charts-30", 600, 0) {
    return chartsAt(scene, "chartRange30");
}
SOLVARA_SCENE(healthCharts90, "health-charts-90", 600, 0) {
    return chartsAt(scene, "chartRange90");
}

}  // namespace solvara
