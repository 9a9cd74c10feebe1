#include "app/ui/settings/ScheduleSettingsTab.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/state/AppState.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/SettingsRow.h"
#include "app/ui/settings/SettingsTexts.h"

namespace solvara {

using namespace settingsui;

namespace {

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

std::vector<std::int64_t> range(std::int64_t from, std::int64_t to) {
    std::vector<std::int64_t> values;
    for (std::int64_t v = from; v <= to; ++v) values.push_back(v);
    return values;
}

// Hours past midnight are stored as 0, 1, 2 (the lists run on past 24).
std::vector<std::int64_t> hoursAround(std::int64_t from, std::int64_t to) {
    std::vector<std::int64_t> values;
    for (std::int64_t v = from; v <= to; ++v) values.push_back(v % 24);
    return values;
}

QString hourText(std::int64_t value) {
    return text(settingstext::hour(value));
}
QString twoDigitText(std::int64_t value) {
    return text(settingstext::twoDigits(value));
}

QWidget* timeRow(const QString& label, Picker* hour, Picker* minute) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* name = new StyledLabel(label, TextStyle::body, &Theme::primary);
    name->setBuddy(hour);
    hour->setAccessibleName(label);
    minute->setAccessibleName(label + localized(", minute"));
    layout->addWidget(name);
    layout->addStretch(1);
    layout->addWidget(hour);
    layout->addWidget(new StyledLabel(":", TextStyle::body, &Theme::primary));
    layout->addWidget(minute);
    return row;
}

QWidget* group(QVBoxLayout** layoutOut) {
    auto* widget = new QWidget;
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    *layoutOut = layout;
    return widget;
}

void pickInt(Picker* picker, AppState& state, void (AppState::*setter)(std::int64_t)) {
    onPicked(picker, [&state, setter](const QVariant& tag) { (state.*setter)(tag.toLongLong()); });
}

}  // namespace

ScheduleSettingsTab::ScheduleSettingsTab(AppState& state, QWidget* parent) : SettingsPage(parent), state_(state) {
    setObjectName("ScheduleSettingsTab");
    const std::vector<std::int64_t> quarters{0, 15, 30, 45};

    QVBoxLayout* location = addSection("Location");
    source_ = picker("locationSource", 150);
    for (LocationSource source : allCases<LocationSource>()) {
        const QString raw = text(std::string(rawValue(source)));
        source_->addItem(raw, raw);
    }
    location->addWidget(pickerRow(localized("Source"), source_));
    city_ = picker("selectedCity", 180);
    for (const CityLocation& city : CityLocation::presets()) city_->addItem(text(city.name), text(city.name));
    cityRow_ = pickerRow(localized("City"), city_);
    location->addWidget(cityRow_);
    coordinateRow_ = valueRow("Coordinates", QString(), "coordinates", &coordinate_);
    location->addWidget(coordinateRow_);
    onPicked(source_, [this](const QVariant& tag) {
        if (auto source = fromRawValue<LocationSource>(tag.toString().toStdString())) state_.setLocationSource(*source);
    });
    onPicked(city_, [this](const QVariant& tag) {
        if (auto city = CityLocation::preset(tag.toString().toStdString())) state_.setSelectedCity(*city);
    });
    addDivider();

    QVBoxLayout* schedule = addSection("Wake / Sleep Schedule");
    wake_ = intPicker("wakeHour", 100, range(4, 12), hourText);
    sleep_ = intPicker("sleepHour", 100, hoursAround(20, 25), hourText);
    schedule->addWidget(pickerRow(localized("Wake time"), wake_));
    schedule->addWidget(pickerRow(localized("Sleep time"), sleep_));
    pickInt(wake_, state_, &AppState::setWakeHour);
    pickInt(sleep_, state_, &AppState::setSleepHour);
    addDivider();

    QVBoxLayout* weekend = addSection("Weekend Schedule");
    weekend_ = toggle(localized("Sleep in on weekends"), "weekendSchedule");
    weekend_->setToolTip(localized("Use a different wake/sleep schedule on Friday and Saturday nights."));
    weekend->addWidget(weekend_);
    QVBoxLayout* weekendLayout = nullptr;
    weekendRows_ = group(&weekendLayout);
    weekendWake_ = intPicker("weekendWakeHour", 100, range(4, 13), hourText);
    weekendSleep_ = intPicker("weekendSleepHour", 100, hoursAround(22, 26), hourText);
    weekendLayout->addWidget(pickerRow(localized("Weekend wake time"), weekendWake_));
    weekendLayout->addWidget(pickerRow(localized("Weekend sleep time"), weekendSleep_));
    auto* weekendCaption = new StyledLabel(
        localized("Active on Friday & Saturday nights. Your morning boost and alarm clock will adjust automatically."),
        TextStyle::caption, &Theme::tertiary);
    weekendCaption->setWordWrap(true);
    weekendLayout->addWidget(weekendCaption);
    weekend->addWidget(weekendRows_);
    connect(weekend_, &QCheckBox::toggled, this, [this](bool on) { state_.setWeekendScheduleEnabled(on); });
    pickInt(weekendWake_, state_, &AppState::setWeekendWakeHour);
    pickInt(weekendSleep_, state_, &AppState::setWeekendSleepHour);
    addDivider();

    QVBoxLayout* movie = addSection("Movie Mode Timer");
    movieRevert_ = picker("movieModeAutoRevert", 120);
    const std::pair<const char*, std::int64_t> revertChoices[] = {
        {"1 hour", 60}, {"1.5 hours", 90}, {"2 hours", 120}, {"2.5 hours", 150}, {"3 hours", 180}, {"Never", 0}};
    for (const auto& [label, minutes] : revertChoices)
        movieRevert_->addItem(localized(label), QVariant::fromValue<qlonglong>(minutes));
    movie->addWidget(pickerRow(localized("Auto-revert to Auto after"), movieRevert_));
    auto* movieCaption = new StyledLabel(
        localized("When Movie mode is selected, it will automatically switch back to Auto after this duration."),
        TextStyle::caption, &Theme::tertiary);
    movieCaption->setWordWrap(true);
    movie->addWidget(movieCaption);
    pickInt(movieRevert_, state_, &AppState::setMovieModeAutoRevertMinutes);
    addDivider();

    QVBoxLayout* night = addSection("Manual Night Schedule");
    manualNight_ = toggle(localized("Use manual night schedule"), "manualNightSchedule");
    night->addWidget(manualNight_);
    QVBoxLayout* manualLayout = nullptr;
    manualRows_ = group(&manualLayout);
    nightStartHour_ = intPicker("nightStartHour", 60, range(17, 23), twoDigitText);
    nightStartMinute_ = intPicker("nightStartMinute", 60, quarters, twoDigitText);
    nightEndHour_ = intPicker("nightEndHour", 60, range(4, 9), twoDigitText);
    nightEndMinute_ = intPicker("nightEndMinute", 60, quarters, twoDigitText);
    manualLayout->addWidget(timeRow(localized("Night starts"), nightStartHour_, nightStartMinute_));
    manualLayout->addWidget(timeRow(localized("Night ends"), nightEndHour_, nightEndMinute_));
    night->addWidget(manualRows_);
    connect(manualNight_, &QCheckBox::toggled, this, [this](bool on) { state_.setUseManualNightSchedule(on); });
    pickInt(nightStartHour_, state_, &AppState::setManualNightStartHour);
    pickInt(nightStartMinute_, state_, &AppState::setManualNightStartMinute);
    pickInt(nightEndHour_, state_, &AppState::setManualNightEndHour);
    pickInt(nightEndMinute_, state_, &AppState::setManualNightEndMinute);
    addDivider();

    QVBoxLayout* solar = addSection("Current Solar Info");
    QVBoxLayout* solarLayout = nullptr;
    solarRows_ = group(&solarLayout);
    solarLayout->addWidget(valueRow("Solar elevation", QString(), "solarElevation", &elevation_));
    solarLayout->addWidget(valueRow("Phase", QString(), "solarPhase", &phase_));
    solarLayout->addWidget(valueRow("Morning boost", QString(), "morningBoost", &boost_));
    solar->addWidget(solarRows_);
    waiting_ = new StyledLabel(localized("Waiting for location..."), TextStyle::body, &Theme::secondary);
    waiting_->setObjectName("waitingForLocation");
    solar->addWidget(waiting_);
    finish();

    watchState(state_, this, [this] { refresh(); });
    refresh();
}

void ScheduleSettingsTab::refresh() {
    const QSignalBlocker blockWeekend(weekend_);
    const QSignalBlocker blockNight(manualNight_);
    const bool manual = state_.locationSource() == LocationSource::manual;
    selectTag(source_, text(std::string(rawValue(state_.locationSource()))));
    selectTag(city_, text(state_.selectedCity().name));
    cityRow_->setVisible(manual);
    const auto& coordinate = state_.coordinate();
    coordinateRow_->setVisible(coordinate.has_value());
    if (coordinate) coordinate_->setValue(text(settingstext::coordinate(coordinate->latitude, coordinate->longitude)));

    selectTag(wake_, QVariant::fromValue<qlonglong>(state_.wakeHour()));
    selectTag(sleep_, QVariant::fromValue<qlonglong>(state_.sleepHour()));
    weekend_->setChecked(state_.weekendScheduleEnabled());
    weekendRows_->setVisible(state_.weekendScheduleEnabled());
    selectTag(weekendWake_, QVariant::fromValue<qlonglong>(state_.weekendWakeHour()));
    selectTag(weekendSleep_, QVariant::fromValue<qlonglong>(state_.weekendSleepHour()));
    selectTag(movieRevert_, QVariant::fromValue<qlonglong>(state_.movieModeAutoRevertMinutes()));

    manualNight_->setChecked(state_.useManualNightSchedule());
    manualRows_->setVisible(state_.useManualNightSchedule());
    selectTag(nightStartHour_, QVariant::fromValue<qlonglong>(state_.manualNightStartHour()));
    selectTag(nightStartMinute_, QVariant::fromValue<qlonglong>(state_.manualNightStartMinute()));
    selectTag(nightEndHour_, QVariant::fromValue<qlonglong>(state_.manualNightEndHour()));
    selectTag(nightEndMinute_, QVariant::fromValue<qlonglong>(state_.manualNightEndMinute()));

    const auto& current = state_.currentState();
    solarRows_->setVisible(current.has_value());
    waiting_->setVisible(!current.has_value());
    if (current) {
        elevation_->setValue(text(settingstext::elevation(current->solarElevation)));
        phase_->setValue(text(std::string(current->phase.displayName())));
        boost_->setValue(current->isMorningBoostActive ? localized("Active") : localized("Inactive"));
    }
}

}  // namespace solvara
