#include "app/ui/settings/MainWindowHost.h"

#include <QObject>

#include "app/shell/AppDelegate.h"
#include "app/ui/kit/AppActions.h"
#include "app/ui/settings/MainWindow.h"

namespace solvara {

MainWindowHost::MainWindowHost(AppDelegate& delegate, UiServices& ui, AppActions& actions)
    : delegate_(delegate), ui_(ui), actions_(actions) {
    delegate_.mainWindowHooks.create = [this] {
        create();
        window_->present();
    };
    delegate_.mainWindowHooks.bringToFront = [this] {
        if (!window_) return false;
        window_->present();
        return true;
    };
    delegate_.mainWindowHooks.activateApplication = [this] {
        if (window_) window_->activateWindow();
    };
    QObject::connect(&actions_, &AppActions::shortcutsTabRequested, &actions_,
                     [this] { showTab(static_cast<int>(SettingsTab::shortcuts)); });
}

MainWindowHost::~MainWindowHost() {
    delegate_.mainWindowHooks = {};
    QObject::disconnect(&actions_, nullptr, &actions_, nullptr);
}

void MainWindowHost::create() {
    if (window_) return;
    window_ = std::make_unique<MainWindow>(delegate_.appState(), ui_);
    window_->addMenus(actions_);
}

void MainWindowHost::showTab(int tab) {
    create();
    window_->showTab(static_cast<SettingsTab>(tab));
    window_->present();
}

}  // namespace solvara
