#include "app/ui/settings/DisplaySettingsTab.h"

#include <cmath>

#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/state/AppState.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/SettingsRow.h"
#include "app/ui/settings/PerDisplayCards.h"
#include "app/ui/settings/SettingsTexts.h"

namespace solvara {

using namespace settingsui;

namespace {

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

template <StateEnum E>
Picker* enumPicker(const char* objectName, int width) {
    Picker* box = picker(objectName, width);
    for (E value : allCases<E>()) {
        const QString raw = text(std::string(rawValue(value)));
        box->addItem(raw, raw);
    }
    return box;
}

template <StateEnum E>
void pickEnum(Picker* box, AppState& state, void (AppState::*setter)(E)) {
    onPicked(box, [&state, setter](const QVariant& tag) {
        if (auto value = fromRawValue<E>(tag.toString().toStdString())) (state.*setter)(*value);
    });
}

template <StateEnum E>
void selectEnum(Picker* box, E value) {
    selectTag(box, text(std::string(rawValue(value))));
}

QWidget* column(QVBoxLayout** layoutOut) {
    auto* widget = new QWidget;
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    *layoutOut = layout;
    return widget;
}

// A whole-number setting moved by a slider is stored truncated toward zero.
std::int64_t whole(double value) {
    return static_cast<std::int64_t>(std::trunc(value));
}

}  // namespace

DisplaySettingsTab::DisplaySettingsTab(AppState& state, QWidget* parent) : SettingsPage(parent), state_(state) {
    setObjectName("DisplaySettingsTab");

    QVBoxLayout* color = addSection("Color Temperature");
    color->addWidget(valueRow("Effective temperature", QString(), "effectiveTemperature", &effective_));
    color->addWidget(valueRow(localized("Blue light reduction"), QString(), "blueLightReduction", &reduction_));
    dayKelvin_ =
        new SliderRow(localized("Day temperature"), 4000, 6500, 100, settingstext::kelvinText, 200, 55, "dayKelvin");
    nightKelvin_ = new SliderRow(localized("Night temperature"), 1800, 3500, 100, settingstext::kelvinText, 200, 55,
                                 "nightKelvin");
    color->addWidget(dayKelvin_);
    color->addWidget(nightKelvin_);
    dayKelvin_->onMoved([this](double v) { state_.setDayKelvin(whole(v)); });
    nightKelvin_->onMoved([this](double v) { state_.setNightKelvin(whole(v)); });

    customDivider_ = addDivider();
    QVBoxLayout* custom = addSection("Custom Mode", &customSection_);
    customKelvin_ =
        new SliderRow(localized("Kelvin"), 1800, 6500, 100, settingstext::kelvinText, 200, 55, "customModeKelvin");
    customDim_ =
        new SliderRow(localized("Dim level"), 0, 0.9, 0.05, settingstext::fractionText, 200, 55, "customModeDimLevel");
    custom->addWidget(customKelvin_);
    custom->addWidget(customDim_);
    customKelvin_->onMoved([this](double v) { state_.setCustomModeKelvin(whole(v)); });
    customDim_->onMoved([this](double v) { state_.setCustomModeDimLevel(v); });

    addDivider();
    QVBoxLayout* pwm = addSection("PWM Flicker Protection");
    pwm_ = toggle(localized("Enable software dimmer"), "pwmProtection");
    pwm->addWidget(pwm_);
    QVBoxLayout* pwmLayout = nullptr;
    pwmSliders_ = column(&pwmLayout);
    dimmerOpacity_ = new SliderRow(localized("Overlay opacity"), 0.05, 0.85, 0.05, settingstext::fractionText, 200, 40,
                                   "softwareDimmerOpacity");
    pwmThreshold_ =
        new SliderRow(localized("PWM threshold"), 20, 60, 5, settingstext::percentText, 200, 40, "pwmThreshold");
    pwmLayout->addWidget(dimmerOpacity_);
    pwmLayout->addWidget(pwmThreshold_);
    pwm->addWidget(pwmSliders_);
    connect(pwm_, &QCheckBox::toggled, this, [this](bool on) { state_.setPwmProtectionEnabled(on); });
    dimmerOpacity_->onMoved([this](double v) { state_.setSoftwareDimmerOpacity(v); });
    pwmThreshold_->onMoved([this](double v) { state_.setPwmThreshold(v); });

    addDivider();
    QVBoxLayout* effect = addSection("Screen Effect");
    effect_ = enumPicker<ScreenEffect>("screenEffect", 150);
    effect->addWidget(pickerRow(localized("Effect"), effect_));
    pickEnum(effect_, state_, &AppState::setScreenEffect);

    addDivider();
    QVBoxLayout* transition = addSection("Transition Duration");
    dayTransition_ = new SliderRow(localized("Day transition"), 300, 3600, 60, settingstext::minutesText, 200, 55,
                                   "transitionDurationDay");
    nightTransition_ = new SliderRow(localized("Night transition"), 300, 7200, 60, settingstext::minutesText, 200, 55,
                                     "transitionDurationNight");
    transition->addWidget(dayTransition_);
    transition->addWidget(nightTransition_);
    // Only a changed value is stored, but every move persists.
    dayTransition_->onMoved([this](double v) {
        if (whole(v) != state_.transitionDurationDay()) {
            state_.setTransitionDurationDay(whole(v));  // persists
        } else {
            state_.persistSettings();
        }
    });
    nightTransition_->onMoved([this](double v) {
        if (whole(v) != state_.transitionDurationNight()) {
            state_.setTransitionDurationNight(whole(v));  // persists
        } else {
            state_.persistSettings();
        }
    });

    addDivider();
    QVBoxLayout* gamma = addSection("Gamma API");
    gammaAPI_ = enumPicker<GammaAPI>("gammaAPI", 150);
    gamma->addWidget(pickerRow(localized("Method"), gammaAPI_));
    pickEnum(gammaAPI_, state_, &AppState::setGammaAPI);

    addDivider();
    QVBoxLayout* font = addSection("Font Smoothing");
    fontSmoothing_ = toggle(localized("Enable font smoothing"), "fontSmoothing");
    fontSmoothingCaption_ =
        new solvara::StyledLabel(localized("Changes to font smoothing may require a logout to take full effect."),
                                 TextStyle::caption, &Theme::orange);
    fontSmoothingCaption_->setObjectName("fontSmoothingCaption");
    fontSmoothingCaption_->setWordWrap(true);
    font->addWidget(fontSmoothing_);
    font->addWidget(fontSmoothingCaption_);
    connect(fontSmoothing_, &QCheckBox::toggled, this, [this](bool on) { state_.setFontSmoothingEnabled(on); });

    addDivider();
    QVBoxLayout* spotlight = addSection("Spotlight Dimming");
    spotlight_ = toggle(localized("Enable spotlight dimming"), "spotlight");
    spotlight->addWidget(spotlight_);
    QVBoxLayout* spotlightLayout = nullptr;
    spotlightSliders_ = column(&spotlightLayout);
    spotlightRadius_ =
        new SliderRow(localized("Radius"), 50, 500, 10, settingstext::pixelsText, 200, 55, "spotlightRadius");
    spotlightOpacity_ =
        new SliderRow(localized("Opacity"), 0.1, 0.95, 0.05, settingstext::fractionText, 200, 55, "spotlightOpacity");
    spotlightLayout->addWidget(spotlightRadius_);
    spotlightLayout->addWidget(spotlightOpacity_);
    spotlight->addWidget(spotlightSliders_);
    connect(spotlight_, &QCheckBox::toggled, this, [this](bool on) { state_.setSpotlightEnabled(on); });
    spotlightRadius_->onMoved([this](double v) { state_.setSpotlightRadius(v); });
    spotlightOpacity_->onMoved([this](double v) { state_.setSpotlightOpacity(v); });

    addDivider();
    QVBoxLayout* cursor = addSection("Software Cursor");
    softwareCursor_ = toggle(localized("Use software cursor"), "softwareCursor");
    cursor->addWidget(softwareCursor_);
    cursorStyle_ = enumPicker<CursorStyle>("cursorStyle", 150);
    cursorRow_ = pickerRow(localized("Style"), cursorStyle_);
    cursor->addWidget(cursorRow_);
    connect(softwareCursor_, &QCheckBox::toggled, this, [this](bool on) { state_.setUseSoftwareCursor(on); });
    pickEnum(cursorStyle_, state_, &AppState::setCursorStyle);

    addDivider();
    QVBoxLayout* perDisplay = addSection("Per-Display Settings");
    cards_ = new PerDisplayCards(state_);
    perDisplay->addWidget(cards_);
    finish();

    watchState(state_, this, [this] { refresh(); });
    refresh();
}

void DisplaySettingsTab::refresh() {
    const std::int64_t kelvin = state_.effectiveKelvin();
    effective_->setValue(text(settingstext::kelvin(kelvin)));
    const double reduction = settingstext::blueLightReduction(kelvin);
    reduction_->setValue(text(settingstext::percent(reduction)));
    reduction_->valueText()->setColorRole(reduction > 50.0 ? &Theme::orange : &Theme::secondary);

    const auto kelvinValue = [](SliderRow* slider, std::int64_t value) {
        slider->showValue(static_cast<double>(value));
    };
    const auto fraction = [](SliderRow* slider, double value) { slider->showValue(value); };
    kelvinValue(dayKelvin_, state_.dayKelvin());
    kelvinValue(nightKelvin_, state_.nightKelvin());

    const bool custom = state_.currentMode() == DisplayMode::custom;
    customDivider_->setVisible(custom);
    customSection_->setVisible(custom);
    kelvinValue(customKelvin_, state_.customModeKelvin());
    fraction(customDim_, state_.customModeDimLevel());

    {
        const QSignalBlocker block(pwm_);
        pwm_->setChecked(state_.pwmProtectionEnabled());
    }
    pwmSliders_->setVisible(state_.pwmProtectionEnabled());
    fraction(dimmerOpacity_, state_.softwareDimmerOpacity());
    pwmThreshold_->showValue(state_.pwmThreshold());

    selectEnum(effect_, state_.screenEffect());
    dayTransition_->showValue(static_cast<double>(state_.transitionDurationDay()));
    nightTransition_->showValue(static_cast<double>(state_.transitionDurationNight()));
    selectEnum(gammaAPI_, state_.gammaAPI());

    {
        const QSignalBlocker block(fontSmoothing_);
        fontSmoothing_->setChecked(state_.fontSmoothingEnabled());
    }
    fontSmoothingCaption_->setVisible(!state_.fontSmoothingEnabled());
    {
        const QSignalBlocker block(spotlight_);
        spotlight_->setChecked(state_.spotlightEnabled());
    }
    spotlightSliders_->setVisible(state_.spotlightEnabled());
    spotlightRadius_->showValue(state_.spotlightRadius());
    fraction(spotlightOpacity_, state_.spotlightOpacity());
    {
        const QSignalBlocker block(softwareCursor_);
        softwareCursor_->setChecked(state_.useSoftwareCursor());
    }
    cursorRow_->setVisible(state_.useSoftwareCursor());
    selectEnum(cursorStyle_, state_.cursorStyle());
    cards_->refresh();
}

}  // namespace solvara
