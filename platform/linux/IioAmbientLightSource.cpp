#include "platform/linux/IioAmbientLightSource.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QVariant>

#include "core/foundation/Log.h"

namespace solvara {
namespace {

constexpr std::string_view component = "AmbientLight";

// One number from a sysfs attribute, read without the C locale.
std::optional<double> readNumber(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string text;
    if (!in || !std::getline(in, text)) return std::nullopt;
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

IioAmbientLightSource::IioAmbientLightSource(std::string sysfsDevices, bool useSensorProxy)
    : sysfsDevices_(std::move(sysfsDevices)), useSensorProxy_(useSensorProxy) {}

IioAmbientLightSource::~IioAmbientLightSource() {
    if (proxy_) proxy_->call(QStringLiteral("ReleaseLight"));
}

bool IioAmbientLightSource::open() {
    if (proxy_ || !deviceFolder_.empty()) return true;
    if (useSensorProxy_ && openSensorProxy()) return true;
    if (openSysfs()) return true;
    if (!reportedUnavailable_) Log::write(component, "No ambient-light sensor found");
    reportedUnavailable_ = true;
    return false;
}

bool IioAmbientLightSource::openSensorProxy() {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) return false;
    auto proxy = std::make_unique<QDBusInterface>(QStringLiteral("net.hadess.SensorProxy"),
                                                  QStringLiteral("/net/hadess/SensorProxy"),
                                                  QStringLiteral("net.hadess.SensorProxy"), bus);
    if (!proxy->isValid() || !proxy->property("HasAmbientLight").toBool()) return false;
    QDBusReply<void> claimed = proxy->call(QStringLiteral("ClaimLight"));
    if (!claimed.isValid()) return false;
    proxy_ = std::move(proxy);
    return true;
}

bool IioAmbientLightSource::openSysfs() {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator it(sysfsDevices_, error);
    if (error) return false;
    std::vector<fs::path> devices;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) break;
        devices.push_back(it->path());
    }
    std::sort(devices.begin(), devices.end());  // iio:device0 before iio:device1
    for (const fs::path& device : devices) {
        deviceFolder_ = device.string();
        if (readSysfs()) return true;
    }
    deviceFolder_.clear();
    return false;
}

std::optional<double> IioAmbientLightSource::readSysfs() const {
    const std::filesystem::path device(deviceFolder_);
    for (const char* name : {"in_illuminance_input", "in_illuminance0_input"}) {
        if (auto lux = readNumber(device / name)) return std::max(*lux, 0.0);
    }
    for (const char* prefix : {"in_illuminance", "in_illuminance0"}) {
        const std::string base(prefix);
        auto raw = readNumber(device / (base + "_raw"));
        if (!raw) continue;
        const double scale = readNumber(device / (base + "_scale")).value_or(1.0);
        const double offset = readNumber(device / (base + "_offset")).value_or(0.0);
        return std::max((*raw + offset) * scale, 0.0);
    }
    return std::nullopt;
}

std::optional<double> IioAmbientLightSource::readLux() {
    if (proxy_) {
        const QVariant level = proxy_->property("LightLevel");
        bool ok = false;
        const double lux = level.toDouble(&ok);
        if (!ok || !std::isfinite(lux)) return std::nullopt;
        if (!reportedVendorUnits_ && proxy_->property("LightLevelUnit").toString() == QStringLiteral("vendor")) {
            reportedVendorUnits_ = true;
            Log::write(component, "The sensor reports in its own units, not lux; levels are approximate");
        }
        return std::max(lux, 0.0);
    }
    if (!deviceFolder_.empty()) return readSysfs();
    return std::nullopt;
}

}  // namespace solvara
