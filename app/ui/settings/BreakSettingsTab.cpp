#include "app/ui/settings/BreakSettingsTab.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/state/AppState.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/SettingsRow.h"
#include "app/ui/kit/SymbolView.h"
#include "app/ui/settings/SettingsTexts.h"
#include "core/foundation/Format.h"

namespace solvara {

using namespace settingsui;

namespace {

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

template <StateEnum E>
Picker* enumPicker(const char* objectName, int width, AppState& state, void (AppState::*setter)(E)) {
    Picker* box = picker(objectName, width);
    for (E value : allCases<E>()) {
        const QString raw = text(std::string(rawValue(value)));
        box->addItem(raw, raw);
    }
    onPicked(box, [&state, setter](const QVariant& tag) {
        if (auto value = fromRawValue<E>(tag.toString().toStdString())) (state.*setter)(*value);
    });
    return box;
}

Picker* minutesPicker(const char* objectName, const std::vector<std::int64_t>& values, AppState& state,
                      void (AppState::*setter)(std::int64_t)) {
    Picker* box = picker(objectName, 120);
    for (std::int64_t minutes : values) {
        box->addItem(text(format::integer(minutes)) + localized(" min"), QVariant::fromValue<qlonglong>(minutes));
    }
    onPicked(box, [&state, setter](const QVariant& tag) { (state.*setter)(tag.toLongLong()); });
    return box;
}

}  // namespace

BreakSettingsTab::BreakSettingsTab(AppState& state, QWidget* parent) : SettingsPage(parent), state_(state) {
    setObjectName("BreakSettingsTab");

    QVBoxLayout* timer = addSection("20-20-20 Break Timer");
    enabled_ = toggle(localized("Enable break reminders"), "breaksEnabled");
    timer->addWidget(enabled_);
    details_ = new QWidget;
    auto* details = new QVBoxLayout(details_);
    details->setContentsMargins(0, 0, 0, 0);
    details->setSpacing(10);
    interval_ = minutesPicker("breakInterval", {15, 20, 30, 45, 60}, state_, &AppState::setBreakIntervalMinutes);
    details->addWidget(pickerRow(localized("Interval"), interval_));
    countdownRow_ = new QWidget;
    auto* countdown = new QHBoxLayout(countdownRow_);
    countdown->setContentsMargins(0, 4, 0, 4);
    auto* timerIcon = new SymbolView("timer", 15, &Theme::orange);
    countdown->addWidget(timerIcon);
    countdown_ = new StyledLabel(QString(), TextStyle::body, &Theme::orange);
    countdown_->setObjectName("breakCountdown");
    QFont mono("DejaVu Sans Mono");
    mono.setPixelSize(13);
    countdown_->setFont(mono);
    countdown->addWidget(countdown_);
    countdown->addStretch(1);
    details->addWidget(countdownRow_);
    details->addWidget(valueRow("Breaks completed", QString(), "breaksCompleted", &completed_));
    details->addWidget(valueRow("Breaks skipped", QString(), "breaksSkipped", &skipped_));
    details->addWidget(valueRow("Compliance", QString(), "compliance", &compliance_));
    timer->addWidget(details_);
    connect(enabled_, &QCheckBox::toggled, this, [this](bool on) { state_.setBreaksEnabled(on); });

    addDivider();
    QVBoxLayout* postpone = addSection("Postpone");
    postpone_ = minutesPicker("breakPostpone", {2, 5, 10, 15}, state_, &AppState::setBreakPostponeMinutes);
    postpone->addWidget(pickerRow(localized("Postpone duration"), postpone_));
    postponeButton_ = new QPushButton(localized("Postpone Next Break"));
    postponeButton_->setObjectName("postponeBreak");
    postpone->addWidget(postponeButton_, 0, Qt::AlignLeft);
    connect(postponeButton_, &QPushButton::clicked, this, [this] { state_.postponeBreak(); });

    addDivider();
    QVBoxLayout* sounds = addSection("Break Sounds");
    startSound_ = enumPicker("breakStartSound", 150, state_, &AppState::setBreakStartSound);
    endSound_ = enumPicker("breakEndSound", 150, state_, &AppState::setBreakEndSound);
    sounds->addWidget(pickerRow(localized("Start sound"), startSound_));
    sounds->addWidget(pickerRow(localized("End sound"), endSound_));

    addDivider();
    QVBoxLayout* screen = addSection("Break Screen");
    screenType_ = enumPicker("breakScreenType", 180, state_, &AppState::setBreakScreenType);
    screen->addWidget(pickerRow(localized("Screen type"), screenType_));

    addDivider();
    QVBoxLayout* advanced = addSection("Advanced");
    blockKeyboard_ = toggle(localized("Block keyboard during breaks"), "blockKeyboard");
    advanced->addWidget(blockKeyboard_);
    connect(blockKeyboard_, &QCheckBox::toggled, this, [this](bool on) { state_.setBlockKeyboardDuringBreaks(on); });

    addDivider();
    caption_ = addCaption(QString());
    caption_->setObjectName("breaksCaption");
    finish();

    watchState(state_, this, [this] { refresh(); });
    refresh();
}

void BreakSettingsTab::refresh() {
    const bool on = state_.breaksEnabled();
    {
        const QSignalBlocker blockEnabled(enabled_);
        const QSignalBlocker blockKeyboard(blockKeyboard_);
        enabled_->setChecked(on);
        blockKeyboard_->setChecked(state_.blockKeyboardDuringBreaks());
    }
    details_->setVisible(on);
    selectTag(interval_, QVariant::fromValue<qlonglong>(state_.breakIntervalMinutes()));
    countdownRow_->setVisible(!state_.breakCountdownText().empty());
    countdown_->setText(text(state_.breakCountdownText()));
    const BreakScheduler& scheduler = state_.breakScheduler();
    completed_->setValue(text(format::integer(scheduler.breaksCompleted())));
    skipped_->setValue(text(format::integer(scheduler.breaksSkipped())));
    compliance_->setValue(text(settingstext::fractionPercent(scheduler.complianceRatio())));

    selectTag(postpone_, QVariant::fromValue<qlonglong>(state_.breakPostponeMinutes()));
    postponeButton_->setEnabled(on);
    selectTag(startSound_, text(std::string(rawValue(state_.breakStartSound()))));
    selectTag(endSound_, text(std::string(rawValue(state_.breakEndSound()))));
    selectTag(screenType_, text(std::string(rawValue(state_.breakScreenType()))));
    caption_->setText(localized("Every ") + text(format::integer(state_.breakIntervalMinutes())) +
                      localized(" minutes, look at something 20 feet away for 20 seconds. Breaks auto-pause during "
                                "video calls, screen recording, and full-screen apps."));
}

}  // namespace solvara
