#include "app/ui/settings/MainWindow.h"

#include <malloc.h>

#include <QCloseEvent>
#include <QDialog>
#include <QGridLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "app/state/AppState.h"
#include "app/ui/kit/AppActions.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/Theme.h"
#include "app/ui/onboarding/OnboardingFlow.h"
#include "app/ui/settings/SettingsControls.h"
#include "app/ui/settings/SettingsView.h"

namespace solvara {

namespace {

// A sheet the user cannot dismiss: Escape and the window manager's close button do nothing.
// A close the program asks for (the application quitting closes every window) goes through and
// leaves the onboarding flag as it is, so the tour comes back at the next launch.
class Sheet : public QDialog {
public:
    explicit Sheet(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
        setObjectName("onboardingSheet");
        setWindowTitle(localized("Welcome to Solvara"));
        setWindowModality(Qt::WindowModal);
    }
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override {
        // (QDialog's own closeEvent would reject(), which does nothing here.)
        if (event->spontaneous()) return event->ignore();
        event->accept();
    }
};

}  // namespace

MainWindow::MainWindow(AppState& state, UiServices& ui, QWidget* parent) : QMainWindow(parent), state_(state), ui_(ui) {
    setObjectName("mainWindow");
    setWindowTitle("Solvara");
    auto* central = new QWidget;
    auto* layout = new QGridLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    view_ = new SettingsView(state_, ui_);
    layout->addWidget(view_, 0, 0, Qt::AlignCenter);
    setCentralWidget(central);
    applyTheme(state_.shouldUseDarkMode());
    settingsui::watchState(state_, this, [this] { refresh(); });
}

MainWindow::~MainWindow() = default;

void MainWindow::present() {
    if (!placed_) {
        adjustSize();
        if (QScreen* screen = this->screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
        placed_ = true;
    }
    if (isMinimized()) {
        showNormal();
    } else {
        show();
    }
    raise();
    // A window manager stacks and focuses what it is asked last: with the sheet up, the window
    // comes forward and the sheet over it, with the focus (openbox and xfwm4 would otherwise leave
    // the focus in the window the sheet blocks, and openbox would stack it over the sheet).
    if (sheet_ != nullptr && sheet_->isVisible()) {
        raiseSheet();
    } else {
        activateWindow();
    }
}

void MainWindow::showTab(SettingsTab tab) {
    view_->select(tab);
}

void MainWindow::addMenus(const AppActions& actions) {
    menuBar()->addMenu(actions.createApplicationMenu(this));
    menuBar()->addMenu(actions.createControlsMenu(this));
    menuBar()->addMenu(actions.createHelpMenu(this));
    quit_ = actions.quitAction();
    if (sheet_ != nullptr) sheet_->addAction(quit_);
}

void MainWindow::refresh() {
    const bool dark = state_.shouldUseDarkMode();
    if (dark != dark_) applyTheme(dark);
    if (!state_.hasCompletedOnboarding()) {
        if (isVisible()) presentSheet();
    } else {
        dismissSheet();
    }
}

void MainWindow::applyTheme(bool dark) {
    dark_ = dark;
    Theme::apply(this, dark);
    if (sheet_ != nullptr) Theme::apply(sheet_, dark);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (sheet_ != nullptr || !state_.hasCompletedOnboarding()) presentSheet();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // A click on the window beside its sheet makes the window manager raise and focus the
    // window, which the sheet blocks: the sheet goes over it again and takes the focus back.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && sheet_ != nullptr && sheet_->isVisible()) {
        QTimer::singleShot(0, this, [this] {
            if (isActiveWindow() && sheet_ != nullptr && sheet_->isVisible()) raiseSheet();
        });
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The sheet waits for the window to be on screen: shown before the window manager has mapped
    // the window it belongs to, openbox stacks the window over its own sheet.
    if (event->type() == QEvent::Expose && watched == windowHandle() && windowHandle()->isExposed()) {
        windowHandle()->removeEventFilter(this);
        if (sheet_ != nullptr && !sheet_->isVisible() && isVisible()) showSheet();
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::hideEvent(QHideEvent* event) {
    QMainWindow::hideEvent(event);
    if (event->spontaneous()) return;
    if (sheet_ != nullptr) sheet_->hide();
    // The program lives on in the tray for hours: what the window's tabs freed goes back to the
    // system once the window is gone, rather than staying in the allocator's free lists.
    QTimer::singleShot(0, [] { malloc_trim(0); });
}

void MainWindow::presentSheet() {
    if (sheet_ == nullptr) sheet_ = makeSheet();
    if (sheet_->isVisible() || !isVisible()) return;
    if (windowHandle() != nullptr && windowHandle()->isExposed()) {
        showSheet();
    } else {
        windowHandle()->installEventFilter(this);
    }
}

void MainWindow::showSheet() {
    sheet_->open();
    raiseSheet();
}

void MainWindow::raiseSheet() {
    sheet_->raise();
    sheet_->activateWindow();
}

QDialog* MainWindow::makeSheet() {
    auto* sheet = new Sheet(this);
    // The sheet blocks the menu bar: without this, nothing would end a first run without a tray.
    if (quit_) sheet->addAction(quit_);
    Theme::apply(sheet, dark_);
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* flow = new OnboardingFlow(state_, ui_);
    layout->addWidget(flow);
    // The flow has its own fixed size.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(flow, &OnboardingFlow::finished, this, [this] { refresh(); });
    return sheet;
}

void MainWindow::dismissSheet() {
    if (sheet_ == nullptr) return;
    QDialog* sheet = sheet_;
    sheet_ = nullptr;
    // The flow's finish button may be the sender that led here: the sheet goes on the next turn.
    sheet->accept();
    sheet->deleteLater();
}

}  // namespace solvara
