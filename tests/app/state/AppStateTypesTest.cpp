#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/state/AppStateTypes.h"

namespace solvara {
namespace {

TEST(AppStateTypes, RawValuesMatchExactlyAndOnlyExactly) {
    EXPECT_EQ(fromRawValue<DisplayMode>("Auto"), DisplayMode::auto_);
    EXPECT_EQ(fromRawValue<DisplayMode>("auto"), std::nullopt);
    EXPECT_EQ(fromRawValue<DisplayMode>(" Auto"), std::nullopt);
    EXPECT_EQ(fromRawValue<GammaAPI>("byTable"), std::nullopt);
    EXPECT_EQ(fromRawValue<GammaAPI>("By Table"), GammaAPI::byTable);
    EXPECT_EQ(fromRawValue<GammaAPI>("Color Overlay"), GammaAPI::byOverlay);
    EXPECT_EQ(fromRawValue<BreakSound>("Bowl"), std::nullopt);
    EXPECT_EQ(fromRawValue<BreakSound>("Singing Bowl"), BreakSound::bowl);
    EXPECT_EQ(fromRawValue<ScreenEffect>("invert"), std::nullopt);
    EXPECT_EQ(fromRawValue<ScreenEffect>("Invert"), ScreenEffect::invert);
    EXPECT_EQ(fromRawValue<BreakScreenType>("Nature Image"), BreakScreenType::natureImage);
    EXPECT_EQ(fromRawValue<CursorStyle>("Default"), CursorStyle::defaultCursor);
    EXPECT_EQ(fromRawValue<LocationSource>("Manual"), LocationSource::manual);
    EXPECT_EQ(fromRawValue<LocationSource>(""), std::nullopt);
}

template <class E>
void expectRoundTrip() {
    for (E value : allCases<E>()) {
        EXPECT_EQ(fromRawValue<E>(rawValue(value)), value) << rawValue(value);
    }
}

TEST(AppStateTypes, EveryCaseRoundTripsThroughItsRawValue) {
    expectRoundTrip<DisplayMode>();
    expectRoundTrip<ScreenEffect>();
    expectRoundTrip<GammaAPI>();
    expectRoundTrip<BreakSound>();
    expectRoundTrip<BreakScreenType>();
    expectRoundTrip<CursorStyle>();
    expectRoundTrip<LocationSource>();
}

TEST(AppStateTypes, CodedChoicesTravelAsTheirRawString) {
    EXPECT_EQ(encodeChoice(ScreenEffect::invert), nlohmann::json("Invert"));
    EXPECT_EQ(encodeChoice(BreakSound::bowl), nlohmann::json("Singing Bowl"));
    EXPECT_EQ(decodeChoice<ScreenEffect>(nlohmann::json("Invert")), ScreenEffect::invert);
    EXPECT_EQ(decodeChoice<ScreenEffect>(nlohmann::json("invert")), std::nullopt);
    EXPECT_EQ(decodeChoice<GammaAPI>(nlohmann::json(2)), std::nullopt);
    EXPECT_EQ(decodeChoice<CursorStyle>(nlohmann::json("Large")), CursorStyle::large);
}

TEST(AppStateTypes, DisplayModesInOrderWithTheirKelvins) {
    constexpr auto modes = allCases<DisplayMode>();
    ASSERT_EQ(modes.size(), 11u);
    EXPECT_EQ(modes.front(), DisplayMode::auto_);
    EXPECT_EQ(modes[1], DisplayMode::movie);
    EXPECT_EQ(modes[9], DisplayMode::custom);
    EXPECT_EQ(modes.back(), DisplayMode::disabled);

    const std::pair<DisplayMode, std::optional<std::int64_t>> expected[] = {
        {DisplayMode::auto_, std::nullopt}, {DisplayMode::movie, 4200},      {DisplayMode::reading, 3800},
        {DisplayMode::presentation, 6500},  {DisplayMode::coding, 4500},     {DisplayMode::gaming, 6500},
        {DisplayMode::biohacker, std::nullopt}, {DisplayMode::sunglasses, 2200}, {DisplayMode::dark, 1800},
        {DisplayMode::custom, std::nullopt}, {DisplayMode::disabled, std::nullopt},
    };
    for (const auto& [mode, k] : expected) EXPECT_EQ(kelvin(mode), k) << rawValue(mode);
}

}  // namespace
}  // namespace solvara
