#include "app/ui/popover/TrayIcon.h"

#include <vector>

#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QSystemTrayIcon>

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

// The desktop's panels in Qt's coordinates, screen by screen; none off X11 (the offscreen
// platform of the widget tests has no panels to read).
DesktopPanels readPanels() {
    DesktopPanels panels;
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return panels;
    const DesktopPanels native = X11Panels::read();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const auto toQt = [screen](const QRect& rect) {
            return PopoverPlacement::fromDevicePixels(rect, screen->geometry(), screen->devicePixelRatio());
        };
        for (const PanelStrut& strut : native.struts) {
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
    : QObject(parent), state_(state), ui_(ui), actions_(actions), tray_(new QSystemTrayIcon(this)), menu_(nullptr) {
    tray_->setToolTip("Solvara");
    buildMenu();
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
    connect(&actions_.stateSignals(), &StateSignals::stateChanged, this, &TrayIcon::refresh);
    refresh();
}

TrayIcon::~TrayIcon() {
    delete popover_;
    // The icon's D-Bus export refers to the menu's: the icon goes first.
    delete tray_;
    delete menu_;
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
    connect(quitAction, &QAction::triggered, this, &TrayIcon::quit);
}

void TrayIcon::show() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        Log::write(component,
                   "No system tray on this desktop: Solvara runs on; start it again to open its main window");
    }
    tray_->show();
}

void TrayIcon::refresh() {
    const std::string symbol = state_.menuBarIcon();
    if (symbol == symbol_) return;
    symbol_ = symbol;
    tray_->setIcon(TrayIconRenderer::icon(symbol));
}

void TrayIcon::togglePopover() {
    if (popover_ && popover_->isVisible()) {
        popover_->close();
        return;
    }
    if (sinceClosed_.isValid() && sinceClosed_.elapsed() < reopenGuardMs) return;
    openPopover();
}

void TrayIcon::openPopover() {
    if (popover_) {
        popover_->raise();
        popover_->activateWindow();
        return;
    }
    auto* popover = new MenuBarPopover(state_, ui_);
    popover->setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    popover->setAttribute(Qt::WA_DeleteOnClose);
    popover->setWindowTitle("Solvara popover");
    connect(popover, &MenuBarPopover::openMainWindowRequested, this, [this] {
        if (popover_) popover_->close();
        emit openMainWindowRequested();
    });
    connect(popover, &MenuBarPopover::quitRequested, this, &TrayIcon::quitRequested);
    connect(popover, &QObject::destroyed, this, [this] { sinceClosed_.start(); });

    popover->installEventFilter(this);
    popover_ = popover;

    popover->adjustSize();
    std::vector<QRect> monitors;
    for (const QScreen* screen : QGuiApplication::screens()) monitors.push_back(screen->geometry());
    const PopoverPlacement placement(monitors, readPanels(), tray_->geometry(), QCursor::pos());
    iconArea_ = placement.iconArea();
    popover->move(placement.position(popover->size()));
    popover->show();
    popover->activateWindow();
}

bool TrayIcon::eventFilter(QObject* watched, QEvent* event) {
    if (watched == popover_ && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        const QPoint at = press->globalPosition().toPoint();
        if (press->button() == Qt::RightButton && !popover_->rect().contains(press->position().toPoint()) &&
            iconArea_.contains(at)) {
            // After the popover has closed on this press and let the pointer go: a menu opened
            // while it is still the active popup would be closed with it.
            QMetaObject::invokeMethod(
                this, [this, at] { showMenu(at); }, Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

void TrayIcon::showMenu(const QPoint& at) {
    if (popover_ && popover_->isVisible()) popover_->close();
    if (!menu_->isVisible()) menu_->popup(at);
}

void TrayIcon::quit() {
    state_.displayManager().resetToDefault();
    state_.softwareDimmer().deactivate();
    emit quitRequested();
}

}  // namespace solvara
