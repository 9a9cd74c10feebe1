#include "platform/linux/QtLocationProvider.h"

#include <utility>

#include <QGeoPositionInfoSource>
#include <QMetaObject>
#include <QObject>
#include <QVariantMap>

#include "core/foundation/Log.h"

namespace solvara {
namespace {

constexpr std::string_view component = "Location";

std::string describe(QGeoPositionInfoSource::Error error) {
    switch (error) {
        case QGeoPositionInfoSource::AccessError: return "access to the position was refused";
        case QGeoPositionInfoSource::ClosedError: return "the position source closed";
        case QGeoPositionInfoSource::UpdateTimeoutError: return "no position arrived in time";
        case QGeoPositionInfoSource::UnknownSourceError: return "the position source failed";
        case QGeoPositionInfoSource::NoError: break;
    }
    return "unknown error";
}

}  // namespace

QtLocationProvider::QtLocationProvider() : context_(std::make_unique<QObject>()) {
    source_ = QGeoPositionInfoSource::createDefaultSource(context_.get());
    connectSource();
}

QtLocationProvider::QtLocationProvider(const std::string& sourceName, const std::map<std::string, std::string>& parameters)
    : context_(std::make_unique<QObject>()) {
    QVariantMap map;
    for (const auto& [key, value] : parameters) map.insert(QString::fromStdString(key), QString::fromStdString(value));
    source_ = QGeoPositionInfoSource::createSource(QString::fromStdString(sourceName), map, context_.get());
    connectSource();
}

QtLocationProvider::~QtLocationProvider() {
    if (source_ != nullptr && updating_) source_->stopUpdates();
}

void QtLocationProvider::connectSource() {
    if (source_ == nullptr) {
        Log::write(component, "No position source is installed (Qt Positioning found no plugin)");
        return;
    }
    status_ = LocationAuthorization::authorizedWhenInUse;
    QObject::connect(source_, &QGeoPositionInfoSource::positionUpdated, context_.get(),
                     [this](const QGeoPositionInfo& info) {
                         if (!updating_ || !info.isValid() || !callbacks_.didUpdateLocations) return;
                         const QGeoCoordinate c = info.coordinate();
                         callbacks_.didUpdateLocations({GeoCoordinate{c.latitude(), c.longitude()}});
                     });
    QObject::connect(source_, &QGeoPositionInfoSource::errorOccurred, context_.get(),
                     [this](QGeoPositionInfoSource::Error error) {
                         if (error == QGeoPositionInfoSource::NoError) return;
                         if (error == QGeoPositionInfoSource::AccessError) {
                             status_ = LocationAuthorization::denied;
                             if (callbacks_.didChangeAuthorization) callbacks_.didChangeAuthorization(status_);
                             return;
                         }
                         if (callbacks_.didFailWithError) callbacks_.didFailWithError(describe(error));
                     });
}

void QtLocationProvider::later(std::function<void()> report) {
    QMetaObject::invokeMethod(context_.get(), std::move(report), Qt::QueuedConnection);
}

void QtLocationProvider::reportNoSource() {
    if (reportedNoSource_) return;
    reportedNoSource_ = true;
    later([this] {
        if (callbacks_.didFailWithError) callbacks_.didFailWithError("no position source is available");
    });
}

void QtLocationProvider::setCallbacks(LocationCallbacks callbacks) {
    callbacks_ = std::move(callbacks);
    later([this] {
        if (callbacks_.didChangeAuthorization) callbacks_.didChangeAuthorization(status_);
    });
}

void QtLocationProvider::setDesiredAccuracy(double metres) {
    if (source_ == nullptr) return;
    // Anything coarser than a few hundred metres is happy with the network's estimate.
    source_->setPreferredPositioningMethods(metres >= 500 ? QGeoPositionInfoSource::AllPositioningMethods
                                                          : QGeoPositionInfoSource::SatellitePositioningMethods);
}

LocationAuthorization QtLocationProvider::authorizationStatus() const { return status_; }

void QtLocationProvider::requestWhenInUseAuthorization() {
    if (source_ == nullptr) {
        reportNoSource();
        return;
    }
    later([this] {
        if (callbacks_.didChangeAuthorization) callbacks_.didChangeAuthorization(status_);
    });
}

void QtLocationProvider::startUpdatingLocation() {
    if (source_ == nullptr) {
        reportNoSource();
        return;
    }
    if (updating_) return;
    updating_ = true;
    source_->startUpdates();
}

void QtLocationProvider::stopUpdatingLocation() {
    if (source_ == nullptr || !updating_) return;
    updating_ = false;
    source_->stopUpdates();
}

}  // namespace solvara
