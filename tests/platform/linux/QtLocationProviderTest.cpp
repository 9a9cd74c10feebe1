#include "platform/linux/QtLocationProvider.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "tests/platform/linux/QtTestApplication.h"

namespace solvara {
namespace {

using testing::processEventsUntil;
using testing::qtTestApplication;

// "$<body>*<checksum>": the checksum is the XOR of the body's bytes.
std::string sentence(const std::string& body) {
    unsigned char sum = 0;
    for (char c : body) sum ^= static_cast<unsigned char>(c);
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", sum);
    return "$" + body + "*" + hex + "\r\n";
}

struct Reports {
    std::vector<GeoCoordinate> fixes;
    std::vector<LocationAuthorization> statuses;
    std::vector<std::string> errors;

    LocationCallbacks callbacks() {
        return {[this](const std::vector<GeoCoordinate>& l) { fixes.insert(fixes.end(), l.begin(), l.end()); },
                [this](LocationAuthorization s) { statuses.push_back(s); },
                [this](const std::string& e) { errors.push_back(e); }};
    }
};

TEST(QtLocationProviderTest, ARecordedNmeaLogGivesItsPosition) {
    qtTestApplication();
    std::string folder = (std::filesystem::temp_directory_path() / "solvara-location-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const std::filesystem::path log = std::filesystem::path(folder) / "fixes.nmea";
    {
        std::ofstream out(log);
        // Munich, 48°07.038' N 11°31.000' E, three fixes a second apart.
        for (const char* time : {"123519", "123520", "123521"}) {
            out << sentence(std::string("GPRMC,") + time + ",A,4807.038,N,01131.000,E,000.0,000.0,070326,,,A");
        }
    }
    QtLocationProvider provider("nmea", {{"nmea.source", log.string()}});
    Reports reports;
    provider.setCallbacks(reports.callbacks());
    EXPECT_TRUE(reports.statuses.empty()) << "reported on a later turn of the loop, never inside the call";
    ASSERT_TRUE(processEventsUntil([&] { return !reports.statuses.empty(); }));
    EXPECT_EQ(reports.statuses.front(), LocationAuthorization::authorizedWhenInUse);

    provider.setDesiredAccuracy(1000);
    provider.requestWhenInUseAuthorization();
    provider.startUpdatingLocation();
    ASSERT_TRUE(processEventsUntil([&] { return !reports.fixes.empty(); }));
    EXPECT_NEAR(reports.fixes[0].latitude, 48.1173, 1e-4);
    EXPECT_NEAR(reports.fixes[0].longitude, 11.516667, 1e-4);
    provider.stopUpdatingLocation();
    const std::size_t count = reports.fixes.size();

    // The same log played again from the start, begun after the first: by the time it has given
    // its last fix, the first would have given all of its own had it gone on.
    QtLocationProvider witness("nmea", {{"nmea.source", log.string()}});
    Reports witnessed;
    witness.setCallbacks(witnessed.callbacks());
    witness.startUpdatingLocation();
    ASSERT_TRUE(processEventsUntil([&] { return witnessed.fixes.size() == 3; }));
    EXPECT_EQ(reports.fixes.size(), count) << "nothing after stop";
    EXPECT_TRUE(reports.errors.empty());
    witness.stopUpdatingLocation();
    std::filesystem::remove_all(folder);
}

TEST(QtLocationProviderTest, NoPositionSourceEndsInOneError) {
    qtTestApplication();
    QtLocationProvider provider("no-such-positioning-plugin", {});
    Reports reports;
    provider.setCallbacks(reports.callbacks());
    provider.requestWhenInUseAuthorization();
    provider.startUpdatingLocation();
    ASSERT_TRUE(processEventsUntil([&] { return !reports.errors.empty() && !reports.statuses.empty(); }));
    // A second report may come later, on a timer of the provider's own that no wait for rest
    // sees: watched for a second (a busy machine can only make this miss one, never fail wrongly).
    processEventsUntil([&] { return reports.errors.size() + reports.statuses.size() > 2 || !reports.fixes.empty(); },
                       1000);
    EXPECT_EQ(reports.errors, std::vector<std::string>{"no position source is available"});
    EXPECT_EQ(reports.statuses, std::vector<LocationAuthorization>{LocationAuthorization::notDetermined});
    EXPECT_TRUE(reports.fixes.empty());
}

}  // namespace
}  // namespace solvara
