#include "app/ui/popover/TrayIcon.h"

#include <algorithm>

#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>

#include "app/ui/kit/AppActions.h"
#include "app/ui/kit/CommandMenu.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/StateSignals.h"
#include "app/ui/kit/TrayIconRenderer.h"
#include "app/ui/popover/MenuBarPopover.h"
#include "core/foundation/Log.h"

namespace solvara {

namespace {

constexpr std::string_view component = "Tray";
constexpr int gap = 4;
constexpr qint64 reopenGuardMs = 300;

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
        // reading the exported one; on XEmbed the menu is open already and must not open twice.
        if (reason == QSystemTrayIcon::Context && !menu_->isVisible()) menu_->popup(QCursor::pos());
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
    // Its own item, not the shared action: hosts would show that one's Ctrl+Q, which works only in
    // the main window.
    connect(quitAction, &QAction::triggered, &actions_, &AppActions::quit);
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

QPoint TrayIcon::popoverPosition(const QRect& icon, const QSize& size, const QRect& screen, const QPoint& cursor) {
    QPoint at;
    if (icon.isEmpty()) {
        at = QPoint(cursor.x() - size.width() / 2, cursor.y() + gap);
    } else {
        at = QPoint(icon.center().x() - size.width() / 2, icon.bottom() + 1 + gap);
    }
    // A tray at the bottom of the screen: open upwards.
    const int above = (icon.isEmpty() ? cursor.y() : icon.top()) - gap - size.height();
    if (at.y() + size.height() > screen.bottom() + 1 && above >= screen.top()) at.setY(above);
    at.setX(std::clamp(at.x(), screen.left(), std::max(screen.left(), screen.right() + 1 - size.width())));
    at.setY(std::clamp(at.y(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height())));
    return at;
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
    popover_ = popover;

    popover->adjustSize();
    const QRect icon = tray_->geometry();
    const QPoint cursor = QCursor::pos();
    QScreen* screen = QGuiApplication::screenAt(icon.isEmpty() ? cursor : icon.center());
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
    popover->move(popoverPosition(icon, popover->size(), area, cursor));
    popover->show();
    popover->activateWindow();
}

}  // namespace solvara
