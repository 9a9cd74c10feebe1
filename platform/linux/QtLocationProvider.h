#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/LocationProvider.h"

class QGeoPositionInfoSource;
class QObject;

namespace solvara {

// The position from Qt Positioning: the default source (GeoClue2 on a desktop) or a named
// plugin with its parameters ("nmea" with "nmea.source" reads a recorded NMEA log). Desktops
// ask no permission of their own: with a source the program counts as authorised while in use;
// without one every request ends in didFailWithError. Main thread only.
class QtLocationProvider : public LocationProvider {
public:
    QtLocationProvider();
    QtLocationProvider(const std::string& sourceName, const std::map<std::string, std::string>& parameters);
    ~QtLocationProvider() override;

    void setCallbacks(LocationCallbacks callbacks) override;
    void setDesiredAccuracy(double metres) override;
    LocationAuthorization authorizationStatus() const override;
    void requestWhenInUseAuthorization() override;
    void startUpdatingLocation() override;
    void stopUpdatingLocation() override;

private:
    void connectSource();
    // Runs `report` on a later turn of the main loop, unless the provider is gone by then.
    void later(std::function<void()> report);
    void reportNoSource();

    std::unique_ptr<QObject> context_;
    QGeoPositionInfoSource* source_ = nullptr;  // owned by context_
    LocationCallbacks callbacks_;
    LocationAuthorization status_ = LocationAuthorization::notDetermined;
    bool updating_ = false;
    bool reportedNoSource_ = false;
};

}  // namespace solvara
