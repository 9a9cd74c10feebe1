// One position fix per launch, with the time zone's estimate when there is none to be had.

#include "app/shell/AppDelegate.h"
#include "core/foundation/Calendar.h"
#include "core/foundation/Clock.h"

namespace solvara {

Coordinate AppDelegate::timeZoneEstimate(Date date) {
    const double offsetHours = static_cast<double>(Calendar::secondsFromGMT(date)) / 3600.0;
    return {40.0, offsetHours * 15.0};
}

void AppDelegate::didUpdateLocations(const std::vector<GeoCoordinate>& locations) {
    if (locations.empty()) return;
    lastLocationProblem_.clear();
    // A city the user chose by hand is where the user wants the sun computed, wherever the
    // machine happens to be.
    if (appState_.locationSource() != LocationSource::manual) {
        const GeoCoordinate& last = locations.back();
        // The coordinate's setter runs the update at once, so the display follows the new
        // position without waiting for the next tick.
        appState_.setCoordinate(Coordinate{last.latitude, last.longitude});
        // The first-run flow counts the location permission as granted once a fix is in hand.
        appState_.setHasLocationFix(true);
    }
    locationManager_.stopUpdatingLocation();
}

void AppDelegate::didChangeAuthorization(LocationAuthorization status) {
    switch (status) {
        case LocationAuthorization::authorizedAlways:
        case LocationAuthorization::authorizedWhenInUse:
            lastLocationProblem_.clear();
            locationManager_.startUpdatingLocation();
            break;
        case LocationAuthorization::restricted:
        case LocationAuthorization::denied:
            reportLocationProblem("Location denied. Using timezone-estimated location.");
            fallBackToTimeZoneEstimate();
            break;
        case LocationAuthorization::notDetermined:
            break;
    }
}

void AppDelegate::didFailWithError(const std::string& description) {
    reportLocationProblem("Location error: " + description + ". Using timezone-estimated location.");
    fallBackToTimeZoneEstimate();
}

void AppDelegate::reportLocationProblem(const std::string& line) {
    if (line == lastLocationProblem_) return;
    lastLocationProblem_ = line;
    platform_.log.writeLine(line);
}

void AppDelegate::fallBackToTimeZoneEstimate() {
    if (appState_.coordinate()) return;
    // The stored source stays as it is: the estimate only serves this run, and the next launch
    // asks for a real position again.
    appState_.setCoordinate(timeZoneEstimate(Clock::now()));
}

}  // namespace solvara
