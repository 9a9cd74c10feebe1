#include "platform/linux/QtScreens.h"

#include <algorithm>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QSocketNotifier>
#include <QWidget>

#include "core/foundation/Log.h"
#include "platform/linux/OverlayWidget.h"
#include "platform/linux/QtOverlayWindow.h"
#include "platform/linux/X11DesktopWatch.h"

// After Qt: Xlib's macros break Qt's headers.
#include <X11/Xlib.h>

namespace solvara {

namespace {
constexpr const char* component = "QtScreens";
}

// The overlay widgets that are up (created and not ordered out); shared with the handles so a
// handle that outlives the screens service does no harm.
struct QtScreens::Registry {
    std::vector<OverlayWidget*> widgets;
    bool suppressed = false;  // hidden because no compositor runs
};

QtScreens::QtScreens() : watch_(std::make_unique<X11DesktopWatch>()), registry_(std::make_shared<Registry>()) {
    if (!watch_->isOpen()) return;
    compositorRuns_ = watch_->compositorRuns();
    notifier_ = std::make_unique<QSocketNotifier>(watch_->connectionFd(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { handleXEvents(); });
}

QtScreens::~QtScreens() = default;

std::vector<ScreenInfo> QtScreens::screens() {
    std::vector<ScreenInfo> result;
    QList<QScreen*> list = QGuiApplication::screens();
    QScreen* primary = QGuiApplication::primaryScreen();
    std::stable_partition(list.begin(), list.end(), [&](QScreen* screen) { return screen == primary; });
    const std::vector<RandrDisplay> displays = watch_->displays();
    for (QScreen* screen : list) {
        if (!screen) continue;
        ScreenInfo info;
        const std::string name = screen->name().toStdString();
        for (const RandrDisplay& display : displays) {
            if (display.outputName == name) info.displayId = display.id;
        }
        info.localizedName = (screen->manufacturer() + ' ' + screen->model()).trimmed().toStdString();
        if (info.localizedName.empty()) info.localizedName = name;
        const QRect geometry = screen->geometry();
        info.frame = {static_cast<double>(geometry.x()), static_cast<double>(geometry.y()),
                      static_cast<double>(geometry.width()), static_cast<double>(geometry.height())};
        result.push_back(std::move(info));
    }
    return result;
}

std::unique_ptr<OverlayWindow> QtScreens::createOverlayWindow(const OverlayWindowSpec& spec) {
    handleXEvents();
    if (!compositorRuns_) {
        if (!unavailableLogged_) {
            unavailableLogged_ = true;
            Log::write(component,
                       "No compositing manager is running: overlay windows would show opaque, so none is shown");
        }
        return nullptr;
    }
    auto widget = std::make_unique<OverlayWidget>(spec);
    OverlayWidget* raw = widget.get();
    if (!spec.hasShadow) watch_->disableShadow(raw->winId());
    raw->show();
    registry_->widgets.push_back(raw);
    restack();
    std::weak_ptr<Registry> registry = registry_;
    return std::make_unique<QtOverlayWindow>(std::move(widget), [registry](OverlayWidget* gone) {
        if (auto live = registry.lock()) std::erase(live->widgets, gone);
    });
}

void QtScreens::restack() {
    std::vector<QWidget*> stacked;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->property(OverlayWidget::levelProperty).isValid()) stacked.push_back(widget);
    }
    std::stable_sort(stacked.begin(), stacked.end(), [](QWidget* a, QWidget* b) {
        return a->property(OverlayWidget::levelProperty).toInt() < b->property(OverlayWidget::levelProperty).toInt();
    });
    // Qt's raise() asks the window manager, which is right for managed windows; the overlays
    // bypass it, so they are restacked directly as well. Qt's requests (the windows' creation
    // and mapping, these raises) reach the server first: raised one by one a second time after
    // them, the lower windows would pass over the higher ones for a moment, and a compositor
    // shows that moment (the tint over the dimmer).
    std::vector<unsigned long> ids;
    for (QWidget* widget : stacked) {
        widget->raise();
        ids.push_back(static_cast<unsigned long>(widget->winId()));
    }
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) XSync(x11->display(), False);
    watch_->raiseInOrder(ids);
}

std::vector<unsigned long> QtScreens::overlayWindowIds() const {
    std::vector<unsigned long> ids;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->property(OverlayWidget::levelProperty).isValid()) {
            ids.push_back(static_cast<unsigned long>(widget->winId()));
        }
    }
    return ids;
}

void QtScreens::handleXEvents() {
    if (!watch_->isOpen()) return;
    const std::vector<unsigned long> ours = overlayWindowIds();
    const X11DesktopWatch::Changes changes = watch_->drain(ours);
    if (changes.compositor) followCompositor(watch_->compositorRuns());
    if (changes.stacking && !registry_->widgets.empty() && !registry_->suppressed && !watch_->oursOnTop(ours)) {
        restack();
    }
}

void QtScreens::followCompositor(bool runs) {
    if (runs == compositorRuns_) return;
    compositorRuns_ = runs;
    if (!runs) {
        unavailableLogged_ = true;
        if (!registry_->widgets.empty()) {
            Log::write(component, "The compositing manager stopped: overlay windows are hidden until one runs again");
        } else {
            Log::write(component, "The compositing manager stopped: overlay windows are unavailable");
        }
        registry_->suppressed = true;
        for (OverlayWidget* widget : registry_->widgets) widget->hide();
        return;
    }
    unavailableLogged_ = false;
    if (registry_->suppressed) {
        registry_->suppressed = false;
        for (OverlayWidget* widget : registry_->widgets) widget->show();
        restack();
    }
}

}  // namespace solvara
