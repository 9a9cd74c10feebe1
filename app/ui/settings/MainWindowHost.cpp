#include "app/ui/settings/MainWindowHost.h"

#include "app/shell/AppDelegate.h"
#include "app/ui/settings/MainWindow.h"

namespace solvara {

MainWindowHost::MainWindowHost(AppDelegate& delegate, UiServices& ui) : delegate_(delegate), ui_(ui) {
    delegate_.mainWindowHooks.create = [this] {
        if (!window_) window_ = std::make_unique<MainWindow>(delegate_.appState(), ui_);
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
}

MainWindowHost::~MainWindowHost() {
    delegate_.mainWindowHooks = {};
}

}  // namespace solvara
