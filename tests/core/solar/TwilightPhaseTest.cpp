#include "core/solar/TwilightPhase.h"

#include <cmath>
#include <limits>
#include <set>
#include <string>

#include <gtest/gtest.h>

namespace solvara {
namespace {

TEST(TwilightPhase, ClassifiesEachBoundIntoTheBandAbove) {
    struct Row {
        double elevation;
        TwilightPhase rising;
        TwilightPhase setting;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double below = -1e-9;  // just under a bound
    const Row rows[] = {
        {-90, TwilightPhase::astronomicalNight, TwilightPhase::astronomicalNight},
        {-18 + below, TwilightPhase::astronomicalNight, TwilightPhase::astronomicalNight},
        {-18, TwilightPhase::astronomicalTwilight, TwilightPhase::night},
        {-12 + below, TwilightPhase::astronomicalTwilight, TwilightPhase::night},
        {-12, TwilightPhase::nauticalTwilight, TwilightPhase::night},
        {-6 + below, TwilightPhase::nauticalTwilight, TwilightPhase::night},
        {-6, TwilightPhase::civilTwilight, TwilightPhase::eveningTwilight},
        {below, TwilightPhase::civilTwilight, TwilightPhase::eveningTwilight},
        {0, TwilightPhase::goldenHour, TwilightPhase::eveningGoldenHour},
        {10 + below, TwilightPhase::goldenHour, TwilightPhase::eveningGoldenHour},
        {10, TwilightPhase::morningRise, TwilightPhase::afternoonDecline},
        {30 + below * 10, TwilightPhase::morningRise, TwilightPhase::afternoonDecline},
        {30, TwilightPhase::solarNoon, TwilightPhase::solarNoon},
        {90, TwilightPhase::solarNoon, TwilightPhase::solarNoon},
        {nan, TwilightPhase::solarNoon, TwilightPhase::solarNoon},
        {std::numeric_limits<double>::infinity(), TwilightPhase::solarNoon, TwilightPhase::solarNoon},
        {-std::numeric_limits<double>::infinity(), TwilightPhase::astronomicalNight, TwilightPhase::astronomicalNight},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.elevation);
        EXPECT_EQ(TwilightPhase::from(row.elevation, true), row.rising);
        EXPECT_EQ(TwilightPhase::from(row.elevation, false), row.setting);
    }
}

TEST(TwilightPhase, RawValuesAndDisplayNamesInDeclarationOrder) {
    const std::pair<std::string, std::string> expected[] = {
        {"astronomicalNight", "Deep Night"},
        {"astronomicalTwilight", "Early Dawn"},
        {"nauticalTwilight", "Dawn"},
        {"civilTwilight", "Civil Twilight"},
        {"goldenHour", "Morning Golden Hour"},
        {"morningRise", "Morning"},
        {"solarNoon", "Midday"},
        {"afternoonDecline", "Afternoon"},
        {"eveningGoldenHour", "Evening Golden Hour"},
        {"eveningTwilight", "Evening Twilight"},
        {"night", "Night"},
    };
    ASSERT_EQ(TwilightPhase::allCases.size(), std::size(expected));
    std::set<std::size_t> hashes;
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const TwilightPhase phase = TwilightPhase::allCases[i];
        EXPECT_EQ(static_cast<std::size_t>(static_cast<TwilightPhase::Value>(phase)), i);
        EXPECT_EQ(phase.rawValue(), expected[i].first);
        EXPECT_EQ(phase.displayName(), expected[i].second);
        EXPECT_EQ(TwilightPhase::fromRawValue(expected[i].first), phase);
        hashes.insert(std::hash<TwilightPhase>{}(phase));
    }
    EXPECT_EQ(hashes.size(), std::size(expected));
}

TEST(TwilightPhase, ParsesOnlyExactCaseNames) {
    for (const char* text :
         {"GoldenHour", "Morning Golden Hour", "goldenhour", " goldenHour", "goldenHour ", "", "Night", "deepNight"}) {
        EXPECT_FALSE(TwilightPhase::fromRawValue(text).has_value()) << text;
    }
}

}  // namespace
}  // namespace solvara
