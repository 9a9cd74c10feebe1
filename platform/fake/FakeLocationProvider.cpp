#include "platform/fake/FakeLocationProvider.h"

#include <utility>

namespace solvara {

void FakeLocationProvider::setCallbacks(LocationCallbacks callbacks) {
    if (events_ != nullptr) events_->add("location callbacks");
    callbacks_ = std::move(callbacks);
}

void FakeLocationProvider::setDesiredAccuracy(double metres) {
    if (events_ != nullptr) events_->add("location accuracy");
    desiredAccuracy = metres;
}

void FakeLocationProvider::requestWhenInUseAuthorization() {
    if (events_ != nullptr) events_->add("location authorization");
    ++authorizationRequests;
}

void FakeLocationProvider::startUpdatingLocation() {
    if (events_ != nullptr) events_->add("location start");
    ++startCount;
    updating = true;
}

void FakeLocationProvider::stopUpdatingLocation() {
    if (events_ != nullptr) events_->add("location stop");
    ++stopCount;
    updating = false;
}

void FakeLocationProvider::deliverLocations(const std::vector<GeoCoordinate>& locations) {
    if (callbacks_.didUpdateLocations) callbacks_.didUpdateLocations(locations);
}

void FakeLocationProvider::changeAuthorization(LocationAuthorization newStatus) {
    status = newStatus;
    if (callbacks_.didChangeAuthorization) callbacks_.didChangeAuthorization(newStatus);
}

void FakeLocationProvider::fail(const std::string& description) {
    if (callbacks_.didFailWithError) callbacks_.didFailWithError(description);
}

}  // namespace solvara
