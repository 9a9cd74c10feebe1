#include "app/ui/settings/GeneralSettingsTab.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/state/AppState.h"
#include "app/ui/kit/BuildInfo.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/SettingsRow.h"
#include "app/ui/kit/SymbolView.h"
#include "app/ui/kit/UiServices.h"
#include "app/ui/settings/SettingsTexts.h"
#include "core/foundation/Calendar.h"
#include "core/foundation/Clock.h"
#include "core/foundation/Format.h"

namespace solvara {

using namespace settingsui;

namespace {

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

QCheckBox* boundToggle(QVBoxLayout* into, const char* label, const char* objectName, AppState& state,
                       void (AppState::*setter)(bool), const char* tooltip = nullptr) {
    QCheckBox* box = toggle(localized(label), objectName);
    if (tooltip != nullptr) box->setToolTip(localized(tooltip));
    into->addWidget(box);
    QObject::connect(box, &QCheckBox::toggled, box, [&state, setter](bool on) { (state.*setter)(on); });
    return box;
}

QPushButton* button(const char* label, const char* objectName) {
    auto* b = new QPushButton(localized(label));
    b->setObjectName(objectName);
    return b;
}

}  // namespace

QString GeneralSettingsTab::appVersion() {
    return BuildInfo::version();
}

QString GeneralSettingsTab::buildNumber() {
    return BuildInfo::buildNumber();
}

GeneralSettingsTab::GeneralSettingsTab(AppState& state, UiServices& ui, QWidget* parent)
    : SettingsPage(parent), state_(state), ui_(ui) {
    setObjectName("GeneralSettingsTab");

    QVBoxLayout* about = addSection("About");
    auto* aboutRow = new QHBoxLayout;
    aboutRow->setSpacing(14);
    auto* sun = new SymbolView("sun.max.trianglebadge.exclamationmark", 36, &Theme::orange);
    aboutRow->addWidget(sun);
    auto* lines = new QVBoxLayout;
    lines->setSpacing(4);
    auto* name = new StyledLabel("Solvara", TextStyle::title3, &Theme::primary);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    lines->addWidget(name);
    auto* version = new StyledLabel(localized("Version ") + appVersion() + " (" + buildNumber() + ")", TextStyle::body,
                                    &Theme::secondary);
    version->setObjectName("versionLine");
    lines->addWidget(version);
    const int year = Calendar::localComponents(Clock::now()).year;
    auto* credit = new StyledLabel(QString::fromUtf8("© ") + text(format::integer(year)) +
                                       localized(" Solvara. Light hygiene for your screen and your sleep."),
                                   TextStyle::caption, &Theme::tertiary);
    credit->setObjectName("creditLine");
    lines->addWidget(credit);
    aboutRow->addLayout(lines);
    aboutRow->addStretch(1);
    about->addLayout(aboutRow);
    addDivider();

    QVBoxLayout* general = addSection("General");
    enabled_ = boundToggle(general, "Enable Solvara", "isEnabled", state_, &AppState::setIsEnabled);
    launchAtLogin_ =
        boundToggle(general, "Launch at login", "launchAtLogin", state_, &AppState::setLaunchAtLoginEnabled);
    morningBoost_ =
        boundToggle(general, "Morning blue boost", "morningBoost", state_, &AppState::setMorningBoostEnabled);
    hideFromDock_ = boundToggle(general, "Hide from dock on close", "hideFromDockOnClose", state_,
                                &AppState::setHideFromDockOnClose);
    addDivider();

    QVBoxLayout* automation = addSection("Smart Automation");
    autoDark_ =
        boundToggle(automation, "Auto dark mode at sunset", "autoDarkMode", state_, &AppState::setAutoDarkModeEnabled,
                    "Automatically switch the desktop to dark mode when the sun sets.");
    autoDisableApp_ = boundToggle(automation, "Auto-disable for color-accurate apps", "autoDisableByApp", state_,
                                  &AppState::setAutoDisableByApp,
                                  "Turns off filtering when GIMP, DaVinci Resolve, or other color-critical apps are in "
                                  "the foreground.");
    autoDisableFullscreen_ = boundToggle(automation, "Auto-disable for fullscreen apps", "autoDisableFullscreen",
                                         state_, &AppState::setAutoDisableFullscreen,
                                         "Pauses filtering when a fullscreen app (games, presentations) is active.");
    sleepAlarm_ = boundToggle(automation, "Bedtime countdown notifications", "sleepAlarm", state_,
                              &AppState::setSleepAlarmEnabled,
                              "Shows how many hours of sleep you'll get if you go to bed now, starting 9 hours before "
                              "your sleep time.");
    transitionSounds_ =
        boundToggle(automation, "Transition sounds", "transitionSounds", state_, &AppState::setTransitionSoundsEnabled,
                    "Play a subtle chime when the sun sets and a sound when morning boost activates.");
    bedtimeRow_ = new QWidget;
    auto* bedtime = new QHBoxLayout(bedtimeRow_);
    bedtime->setContentsMargins(4, 0, 0, 0);
    auto* bed = new SymbolView("bed.double", 15, &Theme::indigo);
    bedtime->addWidget(bed);
    bedtime_ = new StyledLabel(QString(), TextStyle::callout, &Theme::secondary);
    bedtime_->setObjectName("bedtimeCountdown");
    bedtime->addWidget(bedtime_);
    bedtime->addStretch(1);
    automation->addWidget(bedtimeRow_);
    addDivider();

    QVBoxLayout* mode = addSection("Mode");
    mode_ = picker("currentMode", 150);
    for (DisplayMode value : allCases<DisplayMode>()) {
        const QString raw = text(std::string(rawValue(value)));
        mode_->addItem(raw, raw);
    }
    mode->addWidget(pickerRow(localized("Current mode"), mode_));
    onPicked(mode_, [this](const QVariant& tag) {
        if (auto value = fromRawValue<DisplayMode>(tag.toString().toStdString())) state_.setCurrentMode(*value);
    });
    mode->addWidget(valueRow("Effective color temperature", QString(), "effectiveColorTemperature", &effective_));
    addDivider();

    QVBoxLayout* data = addSection("Data");
    auto* files = new QHBoxLayout;
    files->setSpacing(12);
    QPushButton* exportButton = button("Export Settings", "exportSettings");
    QPushButton* importButton = button("Import Settings", "importSettings");
    files->addWidget(exportButton);
    files->addWidget(importButton);
    files->addStretch(1);
    data->addLayout(files);
    auto* sharing = new QHBoxLayout;
    QPushButton* shareButton = button("Share Solvara", "shareSolvara");
    sharing->addWidget(shareButton);
    sharing->addStretch(1);
    data->addLayout(sharing);
    connect(exportButton, &QPushButton::clicked, this, &GeneralSettingsTab::exportSettings);
    connect(importButton, &QPushButton::clicked, this, &GeneralSettingsTab::importSettings);
    connect(shareButton, &QPushButton::clicked, this, &GeneralSettingsTab::share);
    addDivider();

    auto* reset = new QHBoxLayout;
    reset->addStretch(1);
    QPushButton* resetButton = button("Reset to Defaults", "resetToDefaults");
    // The destructive role: red text (a colour that reads on either theme).
    QPalette destructive = resetButton->palette();
    destructive.setColor(QPalette::ButtonText, Theme::light().red);
    resetButton->setPalette(destructive);
    reset->addWidget(resetButton);
    stack()->addLayout(reset);
    connect(resetButton, &QPushButton::clicked, this, &GeneralSettingsTab::confirmReset);
    finish();

    watchState(state_, this, [this] { refresh(); });
    refresh();
}

void GeneralSettingsTab::refresh() {
    const std::pair<QCheckBox*, bool> toggles[] = {
        {enabled_, state_.isEnabled()},
        {launchAtLogin_, state_.launchAtLoginEnabled()},
        {morningBoost_, state_.morningBoostEnabled()},
        {hideFromDock_, state_.hideFromDockOnClose()},
        {autoDark_, state_.autoDarkModeEnabled()},
        {autoDisableApp_, state_.autoDisableByApp()},
        {autoDisableFullscreen_, state_.autoDisableFullscreen()},
        {sleepAlarm_, state_.sleepAlarmEnabled()},
        {transitionSounds_, state_.transitionSoundsEnabled()},
    };
    for (const auto& [box, on] : toggles) {
        const QSignalBlocker block(box);
        box->setChecked(on);
    }
    const std::optional<std::string> countdown = state_.sleepCountdownText();
    bedtimeRow_->setVisible(state_.sleepAlarmEnabled() && countdown.has_value());
    bedtime_->setText(countdown ? text(*countdown) : QString());
    selectTag(mode_, text(std::string(rawValue(state_.currentMode()))));
    effective_->setValue(text(settingstext::kelvin(state_.effectiveKelvin())));
}

}  // namespace solvara

namespace solvara {

void GeneralSettingsTab::exportSettings() {
    AppState& state = state_;
    UiServices& ui = ui_;
    QPointer<QWidget> self(this);
    ui_.fileDialogs.chooseFileToSave(
        this, {localized("Export Settings"), QString::fromUtf8(AppState::settingsFileName.data()), "JSON (*.json)"},
        [&state, &ui, self](std::optional<QString> path) {
            if (!path) return;
            const std::optional<std::string> failure = state.exportSettings(path->toStdString());
            if (!failure) return;
            MessageBoxes::Question question;
            question.kind = MessageBoxes::Kind::warning;
            question.title = localized("Export Settings");
            question.text = localized("The settings could not be exported.");
            question.informativeText = QString::fromStdString(*failure);
            ui.messageBoxes.ask(self, question, [](const QString&) {});
        });
}

void GeneralSettingsTab::importSettings() {
    AppState& state = state_;
    UiServices& ui = ui_;
    QPointer<QWidget> self(this);
    ui_.fileDialogs.chooseFileToOpen(
        this, {localized("Import Settings"), QString(), "JSON (*.json)"},
        [&state, &ui, self](std::optional<QString> path) {
            if (!path) return;
            const AppState::ImportResult result = state.importSettings(path->toStdString());
            MessageBoxes::Question question;
            question.title = localized("Import Settings");
            QStringList names;
            for (const std::string& name : result.skipped) names << QString::fromStdString(name);
            if (result.refusal) {
                question.kind = MessageBoxes::Kind::warning;
                question.text = localized("The settings file was not imported; nothing was changed.");
                question.informativeText = QString::fromStdString(*result.refusal);
                if (!names.isEmpty()) {
                    question.informativeText +=
                        "\n\n" + localized("Settings that could not be used:") + " " + names.join(", ");
                }
            } else if (!names.isEmpty()) {
                question.kind = MessageBoxes::Kind::information;
                question.text = localized("The settings were imported, except for these, which were left unchanged:");
                question.informativeText = names.join(", ");
            } else {
                return;
            }
            ui.messageBoxes.ask(self, question, [](const QString&) {});
        });
}

void GeneralSettingsTab::confirmReset() {
    AppState& state = state_;
    MessageBoxes::Question question;
    question.kind = MessageBoxes::Kind::warning;
    question.title = localized("Reset to Defaults");
    question.text = localized("This will reset all settings to their default values. This action cannot be undone.");
    const QString reset = localized("Reset");
    const QString cancel = localized("Cancel");
    // Cancel first: it is the default, so Return never resets by accident.
    question.buttons = {cancel, reset};
    question.cancelButton = cancel;
    ui_.messageBoxes.ask(this, question, [&state, reset](const QString& chosen) {
        if (chosen == reset) state.resetToDefaults();
    });
}

void GeneralSettingsTab::share() {
    // The desktop has no sharing picker: the message and the link go to the clipboard.
    const QString message =
        localized("Check out Solvara — protect your eyes and circadian rhythm with science-based screen filtering.");
    ui_.clipboard.setText(message + "\n" + BuildInfo::shareUrl());
    MessageBoxes::Question question;
    question.kind = MessageBoxes::Kind::information;
    question.title = localized("Share Solvara");
    question.text = localized("A message about Solvara and its link are on the clipboard, ready to paste.");
    ui_.messageBoxes.ask(this, question, [](const QString&) {});
}

}  // namespace solvara
