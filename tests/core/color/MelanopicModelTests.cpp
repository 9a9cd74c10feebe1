#include "core/color/MelanopicModel.h"

#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "core/color/MelanopicEDICalculator.h"
#include "core/color/SpectralFilter.h"

namespace solvara {
namespace {

using Status = MelanopicModel::GuidelineStatus;

TEST(MelanopicModel, RatioFollowsTheKnots) {
    const struct {
        std::int64_t kelvin;
        double ratio;
    } cases[] = {
        {std::numeric_limits<std::int64_t>::min(), 0.45},
        {-100, 0.45},
        {1999, 0.45},
        {2000, 0.45},
        {2500, 0.55},
        {3000, 0.65},
        {3500, 0.725},
        {4000, 0.8},
        {4999, 0.8999},
        {5000, 0.9},
        {6499, 0.9999333333},
        {6500, 1.0},
        {10000, 1.0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(MelanopicModel::melanopicPhotopicRatio(c.kelvin), c.ratio, 1e-9) << c.kelvin;
    }
}

TEST(MelanopicModel, EdiAndPercentOfDaylightForTheStandardScreen) {
    EXPECT_NEAR(MelanopicModel::melanopicEDI(6500, 250.0, 60.0, 1500.0), 104.1666667, 1e-6);
    EXPECT_NEAR(MelanopicModel::melanopicEDI(1800, 250.0, 60.0, 1500.0), 46.875, 1e-9);
    // Twice the distance, a quarter of the light.
    EXPECT_NEAR(MelanopicModel::melanopicEDI(6500, 250.0, 120.0, 1500.0), 104.1666667 / 4.0, 1e-6);

    EXPECT_NEAR(MelanopicModel::percentDaylight(6500, 250.0), 41.6666667, 1e-6);
    EXPECT_EQ(MelanopicModel::percentDaylight(6500, 1000.0), 100.0);
    EXPECT_LT(MelanopicModel::percentDaylight(6500, -250.0), 0.0);

    const auto exposure = MelanopicEDICalculator().exposure(1800, 250.0);
    EXPECT_EQ(exposure.colorTemperature, 1800);
    EXPECT_EQ(exposure.luminance, 250.0);
    EXPECT_EQ(exposure.melanopicRatio, 0.45);
    EXPECT_NEAR(exposure.melanopicEDI, 46.875, 1e-9);
    // The kelvin is reported as given, not clamped.
    EXPECT_EQ(MelanopicEDICalculator().exposure(-3, 100.0).colorTemperature, -3);
}

TEST(MelanopicModel, GuidelineStatusByTimeOfDay) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double edi;
        bool postDLMO;
        bool sleep;
        Status expected;
    } cases[] = {
        // sleep time
        {1.0, false, true, Status::good},
        {1.01, false, true, Status::caution},
        {10.0, false, true, Status::caution},
        {10.01, false, true, Status::alert},
        {10.0, true, true, Status::caution},  // sleep time outranks post-DLMO
        // evening after melatonin onset
        {10.0, true, false, Status::good},
        {50.0, true, false, Status::caution},
        {50.01, true, false, Status::alert},
        // daytime: bright is good, and the standard screen (~104 lux) never gets there
        {250.0, false, false, Status::good},
        {249.9, false, false, Status::caution},
        {104.17, false, false, Status::caution},
        {100.0, false, false, Status::caution},
        {99.9, false, false, Status::alert},
        {nan, false, true, Status::alert},
        {nan, true, false, Status::alert},
        {nan, false, false, Status::alert},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MelanopicModel::guidelineStatus(c.edi, c.postDLMO, c.sleep), c.expected)
            << c.edi << " postDLMO=" << c.postDLMO << " sleep=" << c.sleep;
    }
}

TEST(MelanopicModel, GuidelineStatusRawValues) {
    EXPECT_EQ(rawValue(Status::good), "Good");
    EXPECT_EQ(rawValue(Status::caution), "Caution");
    EXPECT_EQ(rawValue(Status::alert), "Alert");
    EXPECT_EQ(fromRawValue<Status>("Good"), Status::good);
    EXPECT_EQ(fromRawValue<Status>("Alert"), Status::alert);
    EXPECT_EQ(fromRawValue<Status>("good"), std::nullopt);
    EXPECT_EQ(fromRawValue<Status>("Good "), std::nullopt);
    EXPECT_EQ(fromRawValue<Status>(""), std::nullopt);
}

TEST(SpectralFilter, BlueReductionAgainstNeutral) {
    EXPECT_EQ(SpectralFilter::blueReductionPercent(6500), 0.0);
    EXPECT_NEAR(SpectralFilter::blueReductionPercent(4000), 33.58, 0.01);
    EXPECT_NEAR(SpectralFilter::blueReductionPercent(2700), 65.04, 0.01);
    EXPECT_EQ(SpectralFilter::blueReductionPercent(1900), 100.0);
    EXPECT_EQ(SpectralFilter::blueReductionPercent(-40), 100.0);
    EXPECT_EQ(SpectralFilter::blueReductionPercent(9000), 0.0);  // bluer than 6500 K is not negative
}

}  // namespace
}  // namespace solvara
