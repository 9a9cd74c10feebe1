#pragma once

#include <functional>
#include <string>
#include <vector>

namespace solvara {

// A position in degrees, north and east positive.
struct GeoCoordinate {
    double latitude = 0;
    double longitude = 0;

    bool operator==(const GeoCoordinate&) const = default;
};

// Whether the program may learn the machine's position; the numbers are those the location
// handling expects.
enum class LocationAuthorization {
    notDetermined = 0,
    restricted = 1,
    denied = 2,
    authorizedAlways = 3,
    authorizedWhenInUse = 4,
};

// What the location service reports back; each callback may be empty. All run on the main
// thread, never from inside a call to the provider.
struct LocationCallbacks {
    // One or more new positions, oldest first; never an empty list.
    std::function<void(const std::vector<GeoCoordinate>&)> didUpdateLocations;
    // The permission changed, and once after the callbacks are set (with the status then).
    std::function<void(LocationAuthorization)> didChangeAuthorization;
    // No position can be had for now; the text is for the log.
    std::function<void(const std::string& description)> didFailWithError;
};

// The machine's position. Main thread only.
class LocationProvider {
public:
    virtual ~LocationProvider() = default;

    // Where reports go from now on; replaces earlier callbacks.
    virtual void setCallbacks(LocationCallbacks callbacks) = 0;

    // How close a fix must be, in metres (1000 for kilometre accuracy). A hint only.
    virtual void setDesiredAccuracy(double metres) = 0;

    virtual LocationAuthorization authorizationStatus() const = 0;

    // Asks for permission to read the position while the program runs. The answer arrives
    // through didChangeAuthorization; a desktop without a permission prompt answers at once.
    virtual void requestWhenInUseAuthorization() = 0;

    // Starts reporting positions (didUpdateLocations) until stopped. When no position source
    // exists or the source fails, didFailWithError reports it, and didChangeAuthorization with
    // denied when the user refused access. A second start while running is harmless.
    virtual void startUpdatingLocation() = 0;

    // Stops reporting; no report arrives after it. Harmless when not started.
    virtual void stopUpdatingLocation() = 0;
};

}  // namespace solvara
