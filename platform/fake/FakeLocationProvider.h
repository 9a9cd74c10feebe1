#pragma once

#include <string>
#include <vector>

#include "platform/LocationProvider.h"
#include "platform/fake/FakeEventLog.h"

namespace solvara {

// Records the requests; tests deliver fixes, permission changes and errors themselves.
class FakeLocationProvider : public LocationProvider {
public:
    explicit FakeLocationProvider(FakeEventLog* events = nullptr) : events_(events) {}

    void setCallbacks(LocationCallbacks callbacks) override;
    void setDesiredAccuracy(double metres) override;
    LocationAuthorization authorizationStatus() const override { return status; }
    void requestWhenInUseAuthorization() override;
    void startUpdatingLocation() override;
    void stopUpdatingLocation() override;

    // As the location service would report.
    void deliverLocations(const std::vector<GeoCoordinate>& locations);
    void changeAuthorization(LocationAuthorization newStatus);
    void fail(const std::string& description);

    // Scripted.
    LocationAuthorization status = LocationAuthorization::notDetermined;

    // Recorded.
    double desiredAccuracy = 0;
    int authorizationRequests = 0;
    int startCount = 0;
    int stopCount = 0;
    bool updating = false;

private:
    FakeEventLog* events_;
    LocationCallbacks callbacks_;
};

}  // namespace solvara
