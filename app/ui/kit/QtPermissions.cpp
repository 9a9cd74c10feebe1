#include "app/ui/kit/QtPermissions.h"

#include <QGeoPositionInfoSource>
#include <QGuiApplication>
#include <QObject>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "core/foundation/Log.h"

namespace solvara {

namespace {

constexpr std::string_view component = "Permissions";

// How long the location service may take to answer a request, in milliseconds.
constexpr int locationTimeout = 30000;

// Whether the window manager says (in _NET_SUPPORTED) that it keeps _NET_ACTIVE_WINDOW up to date;
// the property itself may be missing while no window is active.
bool windowManagerNamesActiveWindow(Display* display) {
    const Atom supported = XInternAtom(display, "_NET_SUPPORTED", True);
    const Atom active = XInternAtom(display, "_NET_ACTIVE_WINDOW", True);
    if (supported == None || active == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), supported, 0, 4096, False, XA_ATOM,
                                          &type, &format, &count, &remaining, &data);
    bool found = false;
    if (status == Success && type == XA_ATOM && format == 32 && data != nullptr) {
        const auto* atoms = reinterpret_cast<const Atom*>(data);
        for (unsigned long index = 0; index < count && !found; ++index) found = atoms[index] == active;
    }
    if (data != nullptr) XFree(data);
    return found;
}

}  // namespace

QtPermissions::QtPermissions() : context_(std::make_unique<QObject>()) {}

QtPermissions::~QtPermissions() = default;

QGeoPositionInfoSource* QtPermissions::source() {
    if (sourceLookedFor_) return source_;
    sourceLookedFor_ = true;
    source_ = QGeoPositionInfoSource::createDefaultSource(context_.get());
    if (source_ == nullptr) {
        Log::write(component, "No position source is installed: location stays unavailable");
        return nullptr;
    }
    QObject::connect(source_, &QGeoPositionInfoSource::positionUpdated, context_.get(),
                     [this](const QGeoPositionInfo& info) {
                         if (info.isValid()) answered_ = true;
                     });
    QObject::connect(source_, &QGeoPositionInfoSource::errorOccurred, context_.get(),
                     [this](QGeoPositionInfoSource::Error error) {
                         if (error == QGeoPositionInfoSource::AccessError) {
                             answered_ = false;
                             Log::write(component, "The location service refused access");
                         }
                     });
    return source_;
}

bool QtPermissions::locationGranted() {
    if (answered_) return true;
    QGeoPositionInfoSource* positions = source();
    return positions != nullptr && positions->lastKnownPosition().isValid();
}

void QtPermissions::requestLocation() {
    if (QGeoPositionInfoSource* positions = source()) positions->requestUpdate(locationTimeout);
}

bool QtPermissions::accessibilityGranted() {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    if (display == nullptr) return false;
    const bool keys = XKeysymToKeycode(display, XK_E) != 0;
    return keys && windowManagerNamesActiveWindow(display);
}

}  // namespace solvara
