#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/state/AppStateTypes.h"

namespace solvara {
namespace {

template <class E>
void expectRoundTrip() {
    for (E value : allCases<E>()) {
        EXPECT_EQ(fromRawValue<E>(rawValue(value)), value) << rawValue(value);
        if constexpr (JsonCodedStateEnum<E>) {
            EXPECT_EQ(decodeChoice<E>(encodeChoice(value)), value);
        }
    }
}

TEST(AppStateTypes, ChoicesTravelAsTheirExactRawStrings) {
    expectRoundTrip<DisplayMode>();
    expectRoundTrip<ScreenEffect>();
    expectRoundTrip<GammaAPI>();
    expectRoundTrip<BreakSound>();
    expectRoundTrip<BreakScreenType>();
    expectRoundTrip<CursorStyle>();
    expectRoundTrip<LocationSource>();

    const std::pair<std::string_view, std::string_view> spelled[] = {
        {rawValue(GammaAPI::byTable), "By Table"},        {rawValue(GammaAPI::byOverlay), "Color Overlay"},
        {rawValue(BreakSound::bowl), "Singing Bowl"},     {rawValue(BreakScreenType::natureImage), "Nature Image"},
        {rawValue(CursorStyle::defaultCursor), "Default"}, {rawValue(CursorStyle::large), "Large"},
        {rawValue(LocationSource::manual), "Manual"},
    };
    for (const auto& [actual, expected] : spelled) EXPECT_EQ(actual, expected);
    EXPECT_EQ(encodeChoice(ScreenEffect::invert), nlohmann::json("Invert"));

    // Only the exact spelling reads back.
    EXPECT_EQ(fromRawValue<DisplayMode>("auto"), std::nullopt);
    EXPECT_EQ(fromRawValue<DisplayMode>(" Auto"), std::nullopt);
    EXPECT_EQ(fromRawValue<GammaAPI>("byTable"), std::nullopt);
    EXPECT_EQ(fromRawValue<BreakSound>("Bowl"), std::nullopt);
    EXPECT_EQ(fromRawValue<LocationSource>(""), std::nullopt);
    EXPECT_EQ(decodeChoice<ScreenEffect>(nlohmann::json("invert")), std::nullopt);
    EXPECT_EQ(decodeChoice<GammaAPI>(nlohmann::json(2)), std::nullopt);
}

TEST(AppStateTypes, DisplayModesInOrderWithTheirKelvins) {
    const std::pair<DisplayMode, std::optional<std::int64_t>> expected[] = {
        {DisplayMode::auto_, std::nullopt}, {DisplayMode::movie, 4200},      {DisplayMode::reading, 3800},
        {DisplayMode::presentation, 6500},  {DisplayMode::coding, 4500},     {DisplayMode::gaming, 6500},
        {DisplayMode::biohacker, std::nullopt}, {DisplayMode::sunglasses, 2200}, {DisplayMode::dark, 1800},
        {DisplayMode::custom, std::nullopt}, {DisplayMode::disabled, std::nullopt},
    };
    constexpr auto modes = allCases<DisplayMode>();
    ASSERT_EQ(modes.size(), std::size(expected));
    for (std::size_t i = 0; i < modes.size(); ++i) {
        EXPECT_EQ(modes[i], expected[i].first) << i;
        EXPECT_EQ(kelvin(modes[i]), expected[i].second) << rawValue(modes[i]);
    }
}

}  // namespace
}  // namespace solvara
