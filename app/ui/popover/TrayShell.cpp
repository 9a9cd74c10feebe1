#include "app/ui/popover/TrayShell.h"

#include <QCoreApplication>

#include "app/shell/AppDelegate.h"
#include "app/ui/kit/AppActions.h"
#include "app/ui/kit/Theme.h"
#include "app/ui/popover/TrayIcon.h"

namespace solvara {

TrayShell::TrayShell(AppDelegate& delegate, UiServices& ui, QObject* parent)
    : QObject(parent),
      delegate_(delegate),
      actions_(new AppActions(delegate.appState(), ui, this)),
      trayIcon_(new TrayIcon(delegate.appState(), ui, *actions_, this)) {
    // Windows without a decision of their own (About, message boxes, file dialogs) follow the
    // state's automatic appearance; light until it speaks.
    Theme::applyToApplication(false);
    delegate.appState().onAutoAppearance = [](bool dark) { Theme::applyToApplication(dark); };

    connect(trayIcon_, &TrayIcon::openMainWindowRequested, this, [this] { delegate_.postShowMainWindow(); });
    // Quitting ends the event loop; the program's shutdown then runs the delegate's. exit(), not
    // quit(): the windows that hide on close would refuse quit() and keep the program running.
    connect(trayIcon_, &TrayIcon::quitRequested, this, [] { QCoreApplication::exit(0); });
    connect(actions_, &AppActions::quitRequested, this, [] { QCoreApplication::exit(0); });
    trayIcon_->show();
}

TrayShell::~TrayShell() {
    delegate_.appState().onAutoAppearance = nullptr;
}

}  // namespace solvara
