#include <gtest/gtest.h>

#include <set>
#include <unordered_set>

#include "app/state/CityLocation.h"

namespace solvara {
namespace {

TEST(CityLocation, PresetListShapeAndSpotChecks) {
    const auto& cities = CityLocation::presets();
    ASSERT_EQ(cities.size(), 140u);
    std::set<std::string> names;
    std::set<Uuid> ids;
    for (const auto& city : cities) {
        names.insert(city.name);
        ids.insert(city.id);
    }
    EXPECT_EQ(names.size(), 140u);
    EXPECT_EQ(ids.size(), 140u);

    struct Row {
        std::size_t position;
        const char* name;
        double lat;
        double lon;
    };
    const Row rows[] = {
        {0, "New York", 40.7128, -74.006},   {29, "Anchorage", 61.2181, -149.9003},
        {30, "Toronto", 43.6532, -79.3832},  {40, "San José, CR", 9.9281, -84.0907},
        {44, "São Paulo", -23.5505, -46.6333}, {52, "Quito", -0.1807, -78.4678},
        {54, "London", 51.5074, -0.1278},    {85, "Kyiv", 50.4501, 30.5234},
        {86, "Dubai", 25.2048, 55.2708},     {104, "Tokyo", 35.6762, 139.6503},
        {126, "Wellington", -41.2865, 174.7762}, {135, "Accra", 5.6037, -0.187},
        {139, "Luanda", -8.839, 13.2894},
    };
    for (const auto& row : rows) {
        const auto& city = cities.at(row.position);
        EXPECT_EQ(city.name, row.name);
        EXPECT_EQ(city.lat, row.lat) << row.name;
        EXPECT_EQ(city.lon, row.lon) << row.name;
    }
    // Built once: the same ids on every call within one run.
    EXPECT_EQ(CityLocation::presets().front().id, cities.front().id);
}

TEST(CityLocation, LookupByNameIsExactUpToCanonicalEquivalence) {
    EXPECT_EQ(CityLocation::preset("Berlin")->lat, 52.52);
    EXPECT_FALSE(CityLocation::preset("berlin"));
    EXPECT_FALSE(CityLocation::preset("Atlantis"));
    EXPECT_FALSE(CityLocation::preset(""));
    // Decomposed spellings (base letter + combining accent) find the composed presets.
    EXPECT_EQ(CityLocation::preset("Bogota\xCC\x81")->name, "Bogotá");
    EXPECT_EQ(CityLocation::preset("Sa\xCC\x83o Paulo")->name, "São Paulo");
    EXPECT_EQ(CityLocation::preset("Medelli\xCC\x81n")->name, "Medellín");
    EXPECT_EQ(CityLocation::preset("San Jose\xCC\x81, CR")->name, "San José, CR");
    EXPECT_FALSE(CityLocation::preset("San Jose, CR"));
}

TEST(CityLocation, EqualityAndHashFollowTheNameAlone) {
    const CityLocation composed{Uuid::random(), "Bogotá", 1.0, 2.0};
    const CityLocation decomposed{Uuid::random(), "Bogota\xCC\x81", 3.0, 4.0};
    const CityLocation other{composed.id, "Lima", 1.0, 2.0};
    EXPECT_EQ(composed, decomposed);
    EXPECT_EQ(composed.hash(), decomposed.hash());
    EXPECT_NE(composed, other);

    std::unordered_set<CityLocation> set{composed};
    EXPECT_TRUE(set.contains(decomposed));
}

}  // namespace
}  // namespace solvara
