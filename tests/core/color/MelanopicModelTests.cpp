#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "core/color/MelanopicEDICalculator.h"
#include "core/color/MelanopicModel.h"
#include "core/color/PhaseResponseCurve.h"
#include "core/color/SpectralFilter.h"
#include "core/color/TransitionCurve.h"

namespace solvara {
namespace {

using Status = MelanopicModel::GuidelineStatus;
constexpr auto int64Min = std::numeric_limits<std::int64_t>::min();
constexpr auto int64Max = std::numeric_limits<std::int64_t>::max();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

TEST(MelanopicModel, RatioEdiAndPercentOfDaylight) {
    const std::pair<std::int64_t, double> ratios[] = {
        {int64Min, 0.45}, {1999, 0.45}, {2000, 0.45}, {2500, 0.55},  {3000, 0.65},          {3500, 0.725},
        {4999, 0.8999},   {5000, 0.9},  {5750, 0.95}, {6499, 0.9999333333}, {6500, 1.0},   {10000, 1.0},
    };
    for (const auto& [kelvin, ratio] : ratios) {
        EXPECT_NEAR(MelanopicModel::melanopicPhotopicRatio(kelvin), ratio, 1e-9) << kelvin;
    }
    EXPECT_NEAR(MelanopicModel::melanopicEDI(6500, 250.0, 60.0, 1500.0), 104.1666667, 1e-6);
    EXPECT_NEAR(MelanopicModel::melanopicEDI(1800, 250.0, 60.0, 1500.0), 46.875, 1e-9);
    EXPECT_NEAR(MelanopicModel::melanopicEDI(6500, 250.0, 120.0, 1500.0), 26.0416667, 1e-6);
    EXPECT_NEAR(MelanopicModel::percentDaylight(6500, 250.0), 41.6666667, 1e-6);
    EXPECT_EQ(MelanopicModel::percentDaylight(6500, 1000.0), 100.0);
    EXPECT_LT(MelanopicModel::percentDaylight(6500, -250.0), 0.0);

    const auto exposure = MelanopicEDICalculator().exposure(1800, 250.0);
    EXPECT_EQ(exposure.melanopicRatio, 0.45);
    EXPECT_NEAR(exposure.melanopicEDI, 46.875, 1e-9);
    EXPECT_EQ(MelanopicEDICalculator().exposure(-3, 100.0).colorTemperature, -3);  // reported unclamped
}

TEST(MelanopicModel, GuidelineStatusByTimeOfDay) {
    const struct {
        double edi;
        bool postDLMO, sleep;
        Status expected;
    } cases[] = {
        {1.0, false, true, Status::good},      {1.01, false, true, Status::caution},
        {10.0, false, true, Status::caution},  {10.01, false, true, Status::alert},
        {10.0, true, true, Status::caution},   // sleep time outranks post-DLMO
        {10.0, true, false, Status::good},     {50.0, true, false, Status::caution},
        {50.01, true, false, Status::alert},
        // Daytime wants bright light; the standard screen (~104 lux) never reaches good.
        {250.0, false, false, Status::good},   {249.9, false, false, Status::caution},
        {100.0, false, false, Status::caution}, {99.9, false, false, Status::alert},
        {nan, false, true, Status::alert},     {nan, true, false, Status::alert},
        {nan, false, false, Status::alert},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MelanopicModel::guidelineStatus(c.edi, c.postDLMO, c.sleep), c.expected)
            << c.edi << " postDLMO=" << c.postDLMO << " sleep=" << c.sleep;
    }
    EXPECT_EQ(rawValue(Status::caution), "Caution");
    EXPECT_EQ(fromRawValue<Status>("Good"), Status::good);
    EXPECT_EQ(fromRawValue<Status>("good"), std::nullopt);
}

TEST(SpectralFilter, BlueReductionAgainstNeutral) {
    EXPECT_EQ(SpectralFilter::blueReductionPercent(6500), 0.0);
    EXPECT_NEAR(SpectralFilter::blueReductionPercent(4000), 33.58, 0.01);
    EXPECT_NEAR(SpectralFilter::blueReductionPercent(2700), 65.04, 0.01);
    EXPECT_EQ(SpectralFilter::blueReductionPercent(1900), 100.0);
    EXPECT_EQ(SpectralFilter::blueReductionPercent(9000), 0.0);
}

TEST(PhaseResponseCurve, ShiftAndMorningWindow) {
    const std::pair<double, double> shifts[] = {{-9.0, 0.0}, {-4.0, 1.5}, {0.0, 0.0}, {4.0, -2.5}, {8.0, 0.0}, {nan, 0.0}};
    for (const auto& [hours, shift] : shifts) EXPECT_NEAR(PhaseResponseCurve::phaseShift(hours), shift, 1e-12) << hours;

    const struct {
        std::int64_t current, wake;
        bool beneficial;
    } windows[] = {
        {4, 7, false}, {5, 7, true}, {11, 7, true}, {12, 7, false}, {22, 1, false}, {23, 1, true},
        {5, 1, true},  {6, 1, false},
        // Hours that would overflow the arithmetic are never in the window.
        {5, int64Max, false}, {int64Max, 7, false}, {int64Min, 7, false},
    };
    for (const auto& w : windows) {
        EXPECT_EQ(PhaseResponseCurve::isBeneficialMorningLight(w.current, w.wake), w.beneficial) << w.current << "/" << w.wake;
    }
}

TEST(TransitionCurve, DurationEasingAndSaturatingInterpolation) {
    const std::pair<std::int64_t, double> durations[] = {
        {-499, 900.0}, {500, 1200.0}, {1499, 1200.0}, {-1500, 1800.0}, {-3000, 2700.0}, {int64Max, 2700.0}, {int64Min, 2700.0},
    };
    for (const auto& [delta, seconds] : durations) EXPECT_EQ(TransitionCurve::duration(delta), seconds) << delta;

    EXPECT_EQ(TransitionCurve::easeInOut(0.5), 0.5);
    EXPECT_EQ(TransitionCurve::easeInOut(0.25), 0.15625);
    EXPECT_EQ(TransitionCurve::easeInOut(nan), 0.0);

    const struct {
        std::int64_t from, to;
        double progress;
        std::int64_t expected;
    } cases[] = {
        {6500, 1800, 0.5, 4150},   {1800, 6500, 2.0, 6500},  {1800, 6500, -1.0, 1800},
        {6500, 1800, 0.25, 5765},  {-100, -200, 0.25, -115},  // truncated toward zero
        {int64Min, int64Max, 1.0, int64Max}, {int64Max, int64Min, 1.0, int64Min}, {0, int64Max, 1.0, int64Max},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TransitionCurve::interpolate(c.from, c.to, c.progress), c.expected) << c.from << "->" << c.to << " @" << c.progress;
    }
}

}  // namespace
}  // namespace solvara
