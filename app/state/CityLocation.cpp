#include "app/state/CityLocation.h"

#include <algorithm>
#include <memory>

#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include "core/foundation/StringHash.h"

namespace solvara {

namespace {

struct PresetRow {
    const char* name;
    double lat;
    double lon;
};

// The United States, Canada, Mexico and Central America, South America, Europe, the Middle
// East, South Asia, East Asia, South-East Asia, Oceania and Africa, in that order.
constexpr PresetRow presetRows[] = {
        {"New York", 40.7128, -74.006},  // 0
        {"Los Angeles", 34.0522, -118.2437},
        {"Chicago", 41.8781, -87.6298},
        {"Houston", 29.7604, -95.3698},
        {"Phoenix", 33.4484, -112.074},
        {"Philadelphia", 39.9526, -75.1652},
        {"San Antonio", 29.4241, -98.4936},
        {"San Diego", 32.7157, -117.1611},
        {"Dallas", 32.7767, -96.797},
        {"San Francisco", 37.7749, -122.4194},
        {"Austin", 30.2672, -97.7431},  // 10
        {"Seattle", 47.6062, -122.3321},
        {"Denver", 39.7392, -104.9903},
        {"Washington DC", 38.9072, -77.0369},
        {"Boston", 42.3601, -71.0589},
        {"Nashville", 36.1627, -86.7816},
        {"Detroit", 42.3314, -83.0458},
        {"Portland", 45.5152, -122.6784},
        {"Las Vegas", 36.1699, -115.1398},
        {"Miami", 25.7617, -80.1918},
        {"Atlanta", 33.749, -84.388},  // 20
        {"Minneapolis", 44.9778, -93.265},
        {"Charlotte", 35.2271, -80.8431},
        {"Tampa", 27.9506, -82.4572},
        {"Orlando", 28.5383, -81.3792},
        {"St. Louis", 38.627, -90.1994},
        {"Pittsburgh", 40.4406, -79.9959},
        {"Salt Lake City", 40.7608, -111.891},
        {"Honolulu", 21.3069, -157.8583},
        {"Anchorage", 61.2181, -149.9003},
        {"Toronto", 43.6532, -79.3832},  // 30
        {"Vancouver", 49.2827, -123.1207},
        {"Montreal", 45.5017, -73.5673},
        {"Calgary", 51.0447, -114.0719},
        {"Ottawa", 45.4215, -75.6972},
        {"Edmonton", 53.5461, -113.4938},
        {"Mexico City", 19.4326, -99.1332},
        {"Guadalajara", 20.6597, -103.3496},
        {"Monterrey", 25.6866, -100.3161},
        {"Panama City", 8.9824, -79.5199},
        {"San José, CR", 9.9281, -84.0907},  // 40
        {"San Juan", 18.4655, -66.1057},
        {"Havana", 23.1136, -82.3666},
        {"Kingston", 18.0179, -76.8099},
        {"São Paulo", -23.5505, -46.6333},
        {"Rio de Janeiro", -22.9068, -43.1729},
        {"Buenos Aires", -34.6037, -58.3816},
        {"Bogotá", 4.711, -74.0721},
        {"Lima", -12.0464, -77.0428},
        {"Santiago", -33.4489, -70.6693},
        {"Medellín", 6.2476, -75.5658},  // 50
        {"Caracas", 10.4806, -66.9036},
        {"Quito", -0.1807, -78.4678},
        {"Montevideo", -34.9011, -56.1645},
        {"London", 51.5074, -0.1278},
        {"Paris", 48.8566, 2.3522},
        {"Berlin", 52.52, 13.405},
        {"Madrid", 40.4168, -3.7038},
        {"Rome", 41.9028, 12.4964},
        {"Amsterdam", 52.3676, 4.9041},
        {"Barcelona", 41.3874, 2.1686},  // 60
        {"Munich", 48.1351, 11.582},
        {"Milan", 45.4642, 9.19},
        {"Lisbon", 38.7223, -9.1393},
        {"Dublin", 53.3498, -6.2603},
        {"Brussels", 50.8503, 4.3517},
        {"Zurich", 47.3769, 8.5417},
        {"Vienna", 48.2082, 16.3738},
        {"Geneva", 46.2044, 6.1432},
        {"Edinburgh", 55.9533, -3.1883},
        {"Manchester", 53.4808, -2.2426},  // 70
        {"Hamburg", 53.5511, 9.9937},
        {"Frankfurt", 50.1109, 8.6821},
        {"Stockholm", 59.3293, 18.0686},
        {"Copenhagen", 55.6761, 12.5683},
        {"Oslo", 59.9139, 10.7522},
        {"Helsinki", 60.1699, 24.9384},
        {"Reykjavik", 64.1466, -21.9426},
        {"Moscow", 55.7558, 37.6173},
        {"Warsaw", 52.2297, 21.0122},
        {"Prague", 50.0755, 14.4378},  // 80
        {"Budapest", 47.4979, 19.0402},
        {"Bucharest", 44.4268, 26.1025},
        {"Athens", 37.9838, 23.7275},
        {"Istanbul", 41.0082, 28.9784},
        {"Kyiv", 50.4501, 30.5234},
        {"Dubai", 25.2048, 55.2708},
        {"Tel Aviv", 32.0853, 34.7818},
        {"Riyadh", 24.7136, 46.6753},
        {"Doha", 25.2854, 51.531},
        {"Abu Dhabi", 24.4539, 54.3773},  // 90
        {"Beirut", 33.8938, 35.5018},
        {"Amman", 31.9454, 35.9284},
        {"Kuwait City", 29.3759, 47.9774},
        {"Mumbai", 19.076, 72.8777},
        {"Delhi", 28.7041, 77.1025},
        {"Bangalore", 12.9716, 77.5946},
        {"Hyderabad", 17.385, 78.4867},
        {"Chennai", 13.0827, 80.2707},
        {"Kolkata", 22.5726, 88.3639},
        {"Karachi", 24.8607, 67.0011},  // 100
        {"Lahore", 31.5204, 74.3587},
        {"Dhaka", 23.8103, 90.4125},
        {"Colombo", 6.9271, 79.8612},
        {"Tokyo", 35.6762, 139.6503},
        {"Osaka", 34.6937, 135.5023},
        {"Shanghai", 31.2304, 121.4737},
        {"Beijing", 39.9042, 116.4074},
        {"Shenzhen", 22.5431, 114.0579},
        {"Guangzhou", 23.1291, 113.2644},
        {"Hong Kong", 22.3193, 114.1694},  // 110
        {"Taipei", 25.033, 121.5654},
        {"Seoul", 37.5665, 126.978},
        {"Busan", 35.1796, 129.0756},
        {"Singapore", 1.3521, 103.8198},
        {"Bangkok", 13.7563, 100.5018},
        {"Jakarta", -6.2088, 106.8456},
        {"Kuala Lumpur", 3.139, 101.6869},
        {"Manila", 14.5995, 120.9842},
        {"Ho Chi Minh City", 10.8231, 106.6297},
        {"Hanoi", 21.0278, 105.8342},  // 120
        {"Sydney", -33.8688, 151.2093},
        {"Melbourne", -37.8136, 144.9631},
        {"Brisbane", -27.4698, 153.0251},
        {"Perth", -31.9505, 115.8605},
        {"Auckland", -36.8485, 174.7633},
        {"Wellington", -41.2865, 174.7762},
        {"Cairo", 30.0444, 31.2357},
        {"Casablanca", 33.5731, -7.5898},
        {"Tunis", 36.8065, 10.1815},
        {"Algiers", 36.7538, 3.0588},  // 130
        {"Lagos", 6.5244, 3.3792},
        {"Nairobi", -1.2921, 36.8219},
        {"Cape Town", -33.9249, 18.4241},
        {"Johannesburg", -26.2041, 28.0473},
        {"Accra", 5.6037, -0.187},
        {"Addis Ababa", 9.025, 38.7469},
        {"Dar es Salaam", -6.7924, 39.2083},
        {"Kinshasa", -4.4419, 15.2663},
        {"Luanda", -8.839, 13.2894},
};

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// NFC of a UTF-8 text; ill-formed input is compared as it stands.
std::string canonical(std::string_view text) {
    if (isAscii(text)) return std::string(text);
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status) || nfc == nullptr) return std::string(text);
    icu::UnicodeString source = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    icu::UnicodeString normalized = nfc->normalize(source, status);
    if (U_FAILURE(status)) return std::string(text);
    std::string out;
    normalized.toUTF8String(out);
    return out;
}

}  // namespace

bool CityLocation::operator==(const CityLocation& other) const {
    if (name == other.name) return true;
    if (isAscii(name) && isAscii(other.name)) return false;
    return canonical(name) == canonical(other.name);
}

std::size_t CityLocation::hash() const {
    return static_cast<std::size_t>(StringHash::hash(canonical(name)));
}

const std::vector<CityLocation>& CityLocation::presets() {
    static const std::vector<CityLocation> list = [] {
        std::vector<CityLocation> cities;
        cities.reserve(std::size(presetRows));
        for (const auto& row : presetRows) cities.push_back({Uuid::random(), row.name, row.lat, row.lon});
        return cities;
    }();
    return list;
}

std::optional<CityLocation> CityLocation::preset(std::string_view name) {
    // The preset names are written in composed form, so one normalisation of the probe does.
    const std::string key = canonical(name);
    for (const auto& city : presets()) {
        if (city.name == key) return city;
    }
    return std::nullopt;
}

}  // namespace solvara
