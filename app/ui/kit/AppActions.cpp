#include "app/ui/kit/AppActions.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/kit/BuildInfo.h"
#include "app/ui/kit/CommandMenu.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/StateSignals.h"
#include "app/ui/kit/StyledLabel.h"
#include "core/foundation/Calendar.h"
#include "core/foundation/Clock.h"
#include "core/foundation/Format.h"

namespace solvara {

AppActions::AppActions(AppState& state, UiServices& ui, QObject* parent)
    : QObject(parent), state_(state), ui_(ui), signals_(new StateSignals(state, this)) {
    toggleEnabled_ = addAction("toggleEnabledAction", "Toggle On/Off", "Ctrl+Alt+E");
    cycleMode_ = addAction("cycleModeAction", "Cycle Mode", "Ctrl+Alt+M");
    warmer_ = addAction("warmerAction", "Warmer (+100K)", "Ctrl+Alt+Down");
    cooler_ = addAction("coolerAction", "Cooler (-100K)", "Ctrl+Alt+Up");
    togglePwm_ = addAction("togglePwmAction", "Toggle PWM Protection", "Ctrl+Alt+P");
    takeBreak_ = addAction("takeBreakAction", "Take Break Now", "Ctrl+Alt+B");
    help_ = addAction("helpAction", "Solvara Help", "Ctrl+?");
    shortcuts_ = addAction("shortcutsAction", "Keyboard Shortcuts", {});
    website_ = addAction("websiteAction", "Visit Website", {});
    science_ = addAction("scienceAction", "The Science", {});
    feedback_ = addAction("feedbackAction", "Send Feedback...", {});
    about_ = addAction("aboutAction", "About Solvara", {});
    about_->setMenuRole(QAction::AboutRole);
    quit_ = addAction("quitAction", "Quit Solvara", "Ctrl+Q");
    quit_->setMenuRole(QAction::QuitRole);
    quit_->setShortcutContext(Qt::WindowShortcut);

    connect(toggleEnabled_, &QAction::triggered, this, [this] { state_.setIsEnabled(!state_.isEnabled()); });
    connect(cycleMode_, &QAction::triggered, this, [this] { state_.setCurrentMode(nextMode(state_.currentMode())); });
    connect(warmer_, &QAction::triggered, this, [this] { state_.adjustKelvin(-100); });
    connect(cooler_, &QAction::triggered, this, [this] { state_.adjustKelvin(100); });
    connect(togglePwm_, &QAction::triggered, this,
            [this] { state_.setPwmProtectionEnabled(!state_.pwmProtectionEnabled()); });
    connect(takeBreak_, &QAction::triggered, this, [this] {
        // The action may still be triggered through a stale menu: the rule holds here too.
        if (state_.breaksEnabled()) state_.breakScheduler().triggerBreak();
    });
    connect(help_, &QAction::triggered, this, [this] { ui_.urlOpener.openUrl(BuildInfo::helpUrl()); });
    connect(shortcuts_, &QAction::triggered, this, [this] { emit shortcutsTabRequested(); });
    connect(website_, &QAction::triggered, this, [this] { ui_.urlOpener.openUrl(BuildInfo::websiteUrl()); });
    connect(science_, &QAction::triggered, this, [this] { ui_.urlOpener.openUrl(BuildInfo::scienceUrl()); });
    connect(feedback_, &QAction::triggered, this,
            [this] { ui_.urlOpener.openUrl(BuildInfo::feedbackMailUrl("Solvara Feedback")); });
    connect(about_, &QAction::triggered, this, &AppActions::showAbout);
    connect(quit_, &QAction::triggered, this, &AppActions::quit);

    connect(signals_, &StateSignals::stateChanged, this, &AppActions::refresh);
    refresh();
}

AppActions::~AppActions() {
    delete aboutBox_;
}

QAction* AppActions::addAction(const char* objectName, const char* title, const QString& keys) {
    auto* action = new QAction(this);
    action->setObjectName(objectName);
    // The bare title: menus add the keys (see CommandMenu).
    action->setText(localized(title));
    if (!keys.isEmpty()) {
        action->setShortcut(QKeySequence(keys));
        action->setShortcutContext(Qt::ApplicationShortcut);
        // The tray's menu is a context menu, where Qt hides shortcuts unless told.
        action->setShortcutVisibleInContextMenu(true);
    }
    return action;
}

void AppActions::refresh() {
    takeBreak_->setEnabled(state_.breaksEnabled());
}

void AppActions::addControlsTo(QMenu* menu) const {
    menu->addAction(toggleEnabled_);
    menu->addAction(cycleMode_);
    menu->addSeparator();
    menu->addAction(warmer_);
    menu->addAction(cooler_);
    menu->addSeparator();
    menu->addAction(togglePwm_);
    menu->addAction(takeBreak_);
}

void AppActions::addHelpTo(QMenu* menu) const {
    menu->addAction(help_);
    menu->addAction(shortcuts_);
    menu->addSeparator();
    menu->addAction(website_);
    menu->addAction(science_);
    menu->addSeparator();
    menu->addAction(feedback_);
}

QMenu* AppActions::createControlsMenu(QWidget* parent) const {
    auto* menu = new CommandMenu(localized("Controls"), parent);
    menu->setObjectName("controlsMenu");
    addControlsTo(menu);
    return menu;
}

QMenu* AppActions::createHelpMenu(QWidget* parent) const {
    auto* menu = new CommandMenu(localized("Help"), parent);
    menu->setObjectName("helpMenu");
    addHelpTo(menu);
    return menu;
}

QMenu* AppActions::createApplicationMenu(QWidget* parent) const {
    auto* menu = new CommandMenu(localized("Solvara"), parent);
    menu->setObjectName("applicationMenu");
    menu->addAction(about_);
    menu->addSeparator();
    menu->addAction(quit_);
    return menu;
}

void AppActions::quit() {
    state_.displayManager().resetToDefault();
    state_.softwareDimmer().deactivate();
    emit quitRequested();
}

DisplayMode AppActions::nextMode(DisplayMode mode) {
    constexpr auto all = allCases<DisplayMode>();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i] == mode) return all[(i + 1) % all.size()];
    }
    return mode;
}

QString AppActions::versionText() {
    return localized("Version") + " " + BuildInfo::version() + " (" + BuildInfo::buildNumber() + ")";
}

QString AppActions::creditsText(int year) {
    return localized("Made by") + " " + BuildInfo::makerName() + "\n" + QString::fromUtf8("© ") +
           QString::fromStdString(format::integer(year)) + " " + localized("Light that follows the sun.");
}

void AppActions::showAbout() {
    if (aboutBox_) {
        aboutBox_->raise();
        aboutBox_->activateWindow();
        return;
    }
    auto* box = new QDialog();
    box->setObjectName("aboutBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(localized("About Solvara"));
    auto* stack = new QVBoxLayout(box);
    stack->setContentsMargins(24, 20, 24, 16);
    stack->setSpacing(6);
    auto* name = new StyledLabel("Solvara", TextStyle::systemFont(17, QFont::Bold), &Theme::primary, box);
    name->setObjectName("aboutName");
    auto* version = new StyledLabel(versionText(), TextStyle::body, &Theme::secondary, box);
    version->setObjectName("aboutVersion");
    // Computed at each opening, so a new year shows at the next one.
    const int year = Calendar::localComponents(Clock::now()).year;
    auto* credits = new StyledLabel(creditsText(year), TextStyle::systemFont(11), &Theme::secondary, box);
    credits->setObjectName("aboutCredits");
    for (QLabel* label : {static_cast<QLabel*>(name), static_cast<QLabel*>(version), static_cast<QLabel*>(credits)}) {
        label->setAlignment(Qt::AlignCenter);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        stack->addWidget(label);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, box);
    buttons->button(QDialogButtonBox::Close)->setObjectName("aboutCloseButton");
    connect(buttons, &QDialogButtonBox::rejected, box, &QDialog::close);
    stack->addSpacing(8);
    stack->addWidget(buttons);
    aboutBox_ = box;
    box->show();
}

}  // namespace solvara
