#include "app/ui/settings/PerDisplayCards.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/state/AppState.h"
#include "app/ui/kit/Card.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/Switch.h"
#include "app/ui/kit/SymbolView.h"
#include "app/ui/settings/SettingsControls.h"
#include "app/ui/settings/SettingsTexts.h"

namespace solvara {

using namespace settingsui;

PerDisplayCards::PerDisplayCards(AppState& state, QWidget* parent)
    : QWidget(parent),
      state_(state),
      layout_(new QVBoxLayout(this)),
      empty_(new StyledLabel(localized("No additional displays detected."), TextStyle::caption, &Theme::secondary)) {
    setObjectName("perDisplayCards");
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(10);
    empty_->setObjectName("noDisplays");
    layout_->addWidget(empty_);
    refresh();
}

template <class Change>
void PerDisplayCards::write(std::uint32_t displayID, Change change) {
    PerDisplaySettingsMap map = state_.perDisplaySettings();
    auto it = map.find(displayID);
    if (it == map.end()) return;
    change(it->second);
    // The setter persists the settings.
    state_.setPerDisplaySettings(std::move(map));
}

PerDisplayCards::Card PerDisplayCards::makeCard(std::uint32_t displayID) {
    Card card;
    card.frame = new solvara::Card(this, &Theme::secondary, 0.06, 8);
    card.frame->setObjectName(QString("displayCard%1").arg(displayID));
    card.frame->setContentsMargins(0, 0, 0, 0);
    auto* column = new QVBoxLayout(card.frame);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(6);

    auto* header = new QHBoxLayout;
    auto* icon = new SymbolView("display", 16, &Theme::primary);
    header->addWidget(icon);
    card.name = new StyledLabel(QString(), TextStyle::body, &Theme::primary);
    QFont medium = card.name->font();
    medium.setWeight(QFont::Medium);
    card.name->setFont(medium);
    header->addWidget(card.name);
    header->addStretch(1);
    card.enabled = new Switch(QString());
    card.enabled->setObjectName("displayEnabled");
    header->addWidget(card.enabled);
    column->addLayout(header);

    card.sliders = new QWidget;
    auto* sliders = new QVBoxLayout(card.sliders);
    sliders->setContentsMargins(0, 0, 0, 0);
    sliders->setSpacing(6);
    card.kelvin = new SliderRow(localized("Kelvin override"), 1800, 6500, 100, settingstext::kelvinText, 160, 55,
                                "kelvinOverride");
    card.brightness = new SliderRow(localized("Brightness override"), 0.1, 1.0, 0.05, settingstext::fractionText, 160,
                                    55, "brightnessOverride");
    sliders->addWidget(card.kelvin);
    sliders->addWidget(card.brightness);
    column->addWidget(card.sliders);

    connect(card.enabled, &QAbstractButton::toggled, this,
            [this, displayID](bool on) { write(displayID, [on](PerDisplaySettings& r) { r.isEnabled = on; }); });
    card.kelvin->onMoved([this, displayID](double value) {
        const auto kelvin = static_cast<std::int64_t>(std::trunc(value));
        write(displayID, [kelvin](PerDisplaySettings& r) { r.kelvinOverride = kelvin; });
    });
    card.brightness->onMoved([this, displayID](double value) {
        write(displayID, [value](PerDisplaySettings& r) { r.brightnessOverride = value; });
    });
    return card;
}

void PerDisplayCards::refresh() {
    const PerDisplaySettingsMap& map = state_.perDisplaySettings();
    std::vector<const PerDisplaySettings*> records;
    for (const auto& [id, record] : map) records.push_back(&record);
    std::stable_sort(records.begin(), records.end(),
                     [](const auto* a, const auto* b) { return a->displayName < b->displayName; });

    // Records are never removed by this view; a card whose record went (a reset) goes later,
    // never under its own signal.
    for (auto it = cards_.begin(); it != cards_.end();) {
        if (map.count(it->first) != 0) {
            ++it;
            continue;
        }
        it->second.frame->hide();
        it->second.frame->deleteLater();
        it = cards_.erase(it);
    }

    empty_->setVisible(records.empty());
    int position = 1;  // after the empty text
    for (const PerDisplaySettings* record : records) {
        auto found = cards_.find(record->displayID);
        if (found == cards_.end()) found = cards_.emplace(record->displayID, makeCard(record->displayID)).first;
        Card& card = found->second;
        if (layout_->indexOf(card.frame) != position) {
            layout_->removeWidget(card.frame);
            layout_->insertWidget(position, card.frame);
        }
        ++position;
        card.name->setText(QString::fromStdString(record->displayName));
        {
            const QSignalBlocker block(card.enabled);
            card.enabled->setChecked(record->isEnabled);
        }
        card.enabled->setAccessibleName(QString::fromStdString(record->displayName));
        card.sliders->setVisible(record->isEnabled);
        const std::int64_t kelvin = record->kelvinOverride.value_or(state_.effectiveKelvin());
        card.kelvin->showValue(static_cast<double>(kelvin));
        const double brightness = record->brightnessOverride.value_or(1.0);
        card.brightness->showValue(brightness);
        card.frame->show();
    }
}

}  // namespace solvara
