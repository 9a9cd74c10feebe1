#include "core/solar/TwilightPhase.h"

#include "core/foundation/EnumTable.h"

namespace solvara {
namespace {

using P = TwilightPhase;

constexpr std::array<EnumEntry<P::Value>, 11> rawValues{{
    {P::astronomicalNight, "astronomicalNight"},
    {P::astronomicalTwilight, "astronomicalTwilight"},
    {P::nauticalTwilight, "nauticalTwilight"},
    {P::civilTwilight, "civilTwilight"},
    {P::goldenHour, "goldenHour"},
    {P::morningRise, "morningRise"},
    {P::solarNoon, "solarNoon"},
    {P::afternoonDecline, "afternoonDecline"},
    {P::eveningGoldenHour, "eveningGoldenHour"},
    {P::eveningTwilight, "eveningTwilight"},
    {P::night, "night"},
}};

constexpr std::array<EnumEntry<P::Value>, 11> displayNames{{
    {P::astronomicalNight, "Deep Night"},
    {P::astronomicalTwilight, "Early Dawn"},
    {P::nauticalTwilight, "Dawn"},
    {P::civilTwilight, "Civil Twilight"},
    {P::goldenHour, "Morning Golden Hour"},
    {P::morningRise, "Morning"},
    {P::solarNoon, "Midday"},
    {P::afternoonDecline, "Afternoon"},
    {P::eveningGoldenHour, "Evening Golden Hour"},
    {P::eveningTwilight, "Evening Twilight"},
    {P::night, "Night"},
}};

}  // namespace

const std::array<TwilightPhase, 11> TwilightPhase::allCases{
    astronomicalNight, astronomicalTwilight, nauticalTwilight,  civilTwilight,   goldenHour, morningRise,
    solarNoon,         afternoonDecline,     eveningGoldenHour, eveningTwilight, night,
};

TwilightPhase TwilightPhase::from(double elevation, bool isAscending) {
    // Strict less-than tests in this order: NaN fails them all and lands on midday.
    if (elevation < -18) return astronomicalNight;
    if (elevation < -12) return isAscending ? astronomicalTwilight : night;
    if (elevation < -6) return isAscending ? nauticalTwilight : night;
    if (elevation < 0) return isAscending ? civilTwilight : eveningTwilight;
    if (elevation < 10) return isAscending ? goldenHour : eveningGoldenHour;
    if (elevation < 30) return isAscending ? morningRise : afternoonDecline;
    return solarNoon;
}

std::string_view TwilightPhase::rawValue() const {
    return rawValueIn(rawValues, value_);
}

std::optional<TwilightPhase> TwilightPhase::fromRawValue(std::string_view raw) {
    if (auto value = fromRawValueIn(rawValues, raw)) return TwilightPhase(*value);
    return std::nullopt;
}

std::string_view TwilightPhase::displayName() const {
    return rawValueIn(displayNames, value_);
}

}  // namespace solvara
