#include "app/ui/popover/TrayIcon.h"

#include <vector>

#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QSizeF>
#include <QSystemTrayIcon>
#include <QTimer>

#include "app/ui/kit/AppActions.h"
#include "app/ui/kit/CommandMenu.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/StateSignals.h"
#include "app/ui/kit/TrayIconRenderer.h"
#include "app/ui/popover/MenuBarPopover.h"
#include "app/ui/popover/PopoverPlacement.h"
#include "core/foundation/Log.h"
#include "platform/linux/X11Panels.h"

namespace solvara {

namespace {

constexpr std::string_view component = "Tray";
constexpr qint64 reopenGuardMs = 300;
// How long an XEmbed tray waits for a StatusNotifierItem host while a watcher already runs. On
// KDE Plasma xembedsniproxy takes the XEmbed selection about when plasmashell registers its host
// with the watcher, in either order, within a second or two of each other; an icon made in
// between would be XEmbed for the whole run.
constexpr int hostGraceMs = 2500;

// The desktop's panels in Qt's coordinates, screen by screen; none off X11 (the offscreen
// platform of the widget tests has no panels to read).
DesktopPanels readPanels() {
    DesktopPanels panels;
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return panels;
    const DesktopPanels native = X11Panels::read();
    const QList<QScreen*> screens = QGuiApplication::screens();
    // Qt keeps a screen's top-left corner in device pixels and scales what lies inside it.
    const auto nativeGeometry = [](const QScreen* screen) {
        return QRect(screen->geometry().topLeft(),
                     (QSizeF(screen->geometry().size()) * screen->devicePixelRatio()).toSize());
    };
    std::vector<QRect> nativeMonitors;
    for (const QScreen* screen : screens) nativeMonitors.push_back(nativeGeometry(screen));
    for (const QScreen* screen : screens) {
        const auto toQt = [screen](const QRect& rect) {
            return PopoverPlacement::fromDevicePixels(rect, screen->geometry(), screen->devicePixelRatio());
        };
        // Decided before the band is cut into its parts on each screen, which would hide how far
        // it reaches.
        for (const PanelStrut& strut : native.struts) {
            if (!PopoverPlacement::bandLiesOn(strut, nativeGeometry(screen), nativeMonitors)) continue;
            if (const QRect rect = toQt(strut.rect); !rect.isEmpty()) panels.struts.push_back({strut.edge, rect});
        }
        for (const QRect& dock : native.docks) {
            if (const QRect rect = toQt(dock); !rect.isEmpty()) panels.docks.push_back(rect);
        }
        if (native.workArea) {
            // The work area spans the monitors: its part on each, put together again.
            if (const QRect rect = toQt(*native.workArea); !rect.isEmpty()) {
                panels.workArea = panels.workArea ? panels.workArea->united(rect) : rect;
            }
        }
    }
    return panels;
}

}  // namespace

TrayIcon::TrayIcon(AppState& state, UiServices& ui, AppActions& actions, QObject* parent)
    : QObject(parent), state_(state), ui_(ui), actions_(actions), tray_(nullptr), menu_(nullptr) {
    hostGrace_ = new QTimer(this);
    hostGrace_->setObjectName("trayHostGrace");
    hostGrace_->setSingleShot(true);
    hostGrace_->setInterval(hostGraceMs);
    connect(hostGrace_, &QTimer::timeout, this, [this] {
        hostGraceOver_ = true;
        Log::write(component, "The StatusNotifierWatcher got no host in time: taking the XEmbed tray");
        followHosts();
    });
    buildMenu();
    connect(&actions_.stateSignals(), &StateSignals::stateChanged, this, &TrayIcon::refresh);
    refresh();
}

TrayIcon::~TrayIcon() {
    ui_.trayHosts.watch({});
    delete popover_;
    // The icon's D-Bus export refers to the menu's: the icon goes first.
    delete tray_;
    delete menu_;
}

void TrayIcon::createTray() {
    tray_ = new QSystemTrayIcon(this);
    tray_->setToolTip("Solvara");
    tray_->setIcon(TrayIconRenderer::icon(symbol_));
    // Given before the first show, with its Help submenu already in it: on a StatusNotifierItem
    // host Qt exports the menu over com.canonical.dbusmenu when the icon is shown, and it gives
    // D-Bus counterparts only to the submenus the menu holds at that moment. On an XEmbed tray Qt
    // pops the same menu up at the pointer itself before it reports the Context activation.
    tray_->setContextMenu(menu_);

    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) togglePopover();
        // A StatusNotifierItem host that asks the item for its menu (ContextMenu) instead of
        // reading the exported one, maybe while the popover is open; on XEmbed the menu is open
        // already and must not open twice.
        if (reason == QSystemTrayIcon::Context) showMenu(QCursor::pos());
    });
}

void TrayIcon::buildMenu() {
    menu_ = new CommandMenu();
    menu_->setObjectName("trayMenu");
    QAction* open = menu_->addAction(localized("Open Solvara"));
    open->setObjectName("openAction");
    connect(open, &QAction::triggered, this, &TrayIcon::openMainWindowRequested);
    menu_->addSeparator();
    actions_.addControlsTo(menu_);
    menu_->addSeparator();
    menu_->addMenu(actions_.createHelpMenu(menu_));
    menu_->addAction(actions_.aboutAction());
    menu_->addSeparator();
    QAction* quitAction = menu_->addAction(localized("Quit Solvara"));
    quitAction->setObjectName("quitAction");
    // Its own item, not the shared action: hosts would show that one's Ctrl+Q, which works only in
    // the main window.
    connect(quitAction, &QAction::triggered, &actions_, &AppActions::quit);
}

void TrayIcon::show() {
    ui_.trayHosts.watch([this] { followHosts(); });
    followHosts();
}

void TrayIcon::followHosts() {
    if (tray_ != nullptr) return;
    // Qt chooses between StatusNotifierItem and XEmbed once for the whole process, when the first
    // QSystemTrayIcon is made or QSystemTrayIcon::isSystemTrayAvailable() is first asked, and
    // keeps that answer. So neither happens before a tray host runs: asked with no host, Qt would
    // settle on XEmbed for good and never show the icon to a StatusNotifierItem panel started
    // later. Once made, the icon follows hosts of its kind by itself: Qt registers a
    // StatusNotifierItem again with each new watcher, and docks into each new XEmbed tray.
    const bool statusNotifier = ui_.trayHosts.statusNotifierHost();
    if (!statusNotifier && !ui_.trayHosts.xembedTray()) {
        hostGrace_->stop();
        if (!saidNoTray_) {
            Log::write(component,
                       "No system tray on this desktop: Solvara runs on; start it again to open its main window");
            saidNoTray_ = true;
        }
        return;
    }
    // A watcher without a host next to an XEmbed tray: its host is most likely on its way (see
    // hostGraceMs), and the choice made now is kept for good.
    if (!statusNotifier && !hostGraceOver_ && ui_.trayHosts.statusNotifierWatcher()) {
        if (!hostGrace_->isActive()) hostGrace_->start();
        return;
    }
    hostGrace_->stop();
    if (saidNoTray_) {
        Log::write(component, statusNotifier ? "A system tray (StatusNotifierItem) is there now: showing the icon"
                                             : "A system tray (XEmbed) is there now: showing the icon");
    }
    ui_.trayHosts.watch({});
    createTray();
    tray_->show();
}

void TrayIcon::refresh() {
    const std::string symbol = state_.menuBarIcon();
    if (symbol == symbol_) return;
    symbol_ = symbol;
    if (tray_ != nullptr) tray_->setIcon(TrayIconRenderer::icon(symbol));
}

void TrayIcon::togglePopover() {
    if (MenuBarPopover* open = popover(); open && open->isVisible()) {
        open->close();
        return;
    }
    if (sinceClosed_.isValid() && sinceClosed_.elapsed() < reopenGuardMs) return;
    openPopover();
}

void TrayIcon::openPopover() {
    if (MenuBarPopover* open = popover()) {
        open->raise();
        open->activateWindow();
        return;
    }
    auto* popover = new MenuBarPopover(state_, ui_);
    popover->setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    popover->setAttribute(Qt::WA_DeleteOnClose);
    popover->setWindowTitle("Solvara popover");
    connect(popover, &MenuBarPopover::openMainWindowRequested, this, [this] {
        if (MenuBarPopover* open = this->popover()) open->close();
        emit openMainWindowRequested();
    });
    connect(popover, &MenuBarPopover::quitRequested, this, &TrayIcon::quitRequested);
    connect(popover, &QObject::destroyed, this, [this] { sinceClosed_.start(); });

    popover->installEventFilter(this);
    popover_ = popover;

    popover->adjustSize();
    std::vector<QRect> monitors;
    for (const QScreen* screen : QGuiApplication::screens()) monitors.push_back(screen->geometry());
    const PopoverPlacement placement(monitors, readPanels(), tray_ != nullptr ? tray_->geometry() : QRect(),
                                     QCursor::pos());
    iconArea_ = placement.iconArea();
    placed_ = QRect(placement.position(popover->size()), popover->size());
    popover->move(placed_.topLeft());
    placement_ = placement;
    popover->show();
    popover->activateWindow();
}

bool TrayIcon::eventFilter(QObject* watched, QEvent* event) {
    // The type first: the popover's own destruction sends events here too (see popover_).
    const QEvent::Type type = event->type();
    if ((type != QEvent::MouseButtonPress && type != QEvent::Resize) || watched != popover_) {
        return QObject::eventFilter(watched, event);
    }
    if (type == QEvent::Resize) {
        // A row that comes or goes while it is open changes its height, and a window grows from
        // its top edge: the edge next to the panel goes back where it was (above a bottom panel
        // the popover grows upwards). The resize has not moved it yet. The window system reports
        // sizes late, and with its own last report as the old size, so the new place follows
        // from where the popover was put, not from where the window is said to be now: each
        // size has one place, however often it is reported.
        auto* window = static_cast<QWidget*>(watched);
        const auto* resize = static_cast<QResizeEvent*>(event);
        if (placement_ && window->isVisible()) {
            placed_ = QRect(placement_->resized(placed_, resize->size()), resize->size());
            window->move(placed_.topLeft());
        }
        return QObject::eventFilter(watched, event);
    }
    const auto* press = static_cast<QMouseEvent*>(event);
    const QPoint at = press->globalPosition().toPoint();
    const auto* window = static_cast<QWidget*>(watched);
    if (press->button() == Qt::RightButton && !window->rect().contains(press->position().toPoint()) &&
        iconArea_.contains(at)) {
        // After the popover has closed on this press and let the pointer go: a menu opened
        // while it is still the active popup would be closed with it.
        QMetaObject::invokeMethod(
            this, [this, at] { showMenu(at); }, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void TrayIcon::showMenu(const QPoint& at) {
    if (MenuBarPopover* open = popover(); open && open->isVisible()) open->close();
    if (!menu_->isVisible()) menu_->popup(at);
}

}  // namespace solvara
