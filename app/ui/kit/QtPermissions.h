#pragma once

#include <memory>

#include "app/ui/kit/Permissions.h"

class QGeoPositionInfoSource;
class QObject;

namespace solvara {

// The permissions on an X11 desktop. Location: the default Qt Positioning source (GeoClue2),
// granted once it has delivered a position; a source that refuses access or is missing leaves it
// refused. The shell's needs: an X11 connection with a keyboard (global key grabs) and a window
// manager that names the active window (_NET_ACTIVE_WINDOW).
class QtPermissions : public Permissions {
public:
    QtPermissions();
    ~QtPermissions() override;

    bool locationGranted() override;
    void requestLocation() override;
    bool accessibilityGranted() override;
    void requestAccessibility() override {}

private:
    QGeoPositionInfoSource* source();

    std::unique_ptr<QObject> context_;
    QGeoPositionInfoSource* source_ = nullptr;  // owned by context_
    bool sourceLookedFor_ = false;
    bool answered_ = false;
};

}  // namespace solvara
