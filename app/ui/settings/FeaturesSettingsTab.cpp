#include "app/ui/settings/FeaturesSettingsTab.h"

#include <QEnterEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include "app/state/AppState.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/Switch.h"
#include "app/ui/kit/SymbolView.h"
#include "app/ui/settings/SettingsTexts.h"
#include "core/audio/SoundscapeGenerator.h"

namespace solvara {

using namespace settingsui;

namespace {

struct Feature {
    const char* name;
    const char* icon;
    const char* description;
    void (AppState::*set)(bool);
    const char* objectName;
};

const std::array<Feature, 9> features{{
    {"Circadian Filtering", "sun.max",
     "Automatically adjusts color temperature based on solar position to reduce blue light exposure at night and "
     "support your natural circadian rhythm.",
     &AppState::setFeatureCircadianFiltering, "featureCircadianFiltering"},
    {"PWM Protection", "light.max",
     "Adds a software dimming overlay to keep your backlight at 100%, eliminating PWM flicker that can cause eye "
     "strain and headaches on some displays.",
     &AppState::setFeaturePWMProtection, "featurePWMProtection"},
    {"Break Reminders", "eye",
     "Follows the 20-20-20 rule: every 20 minutes, reminds you to look at something 20 feet away for 20 seconds to "
     "reduce eye fatigue.",
     &AppState::setFeatureBreakReminders, "featureBreakReminders"},
    {"Morning Boost", "sunrise.fill",
     "Increases color temperature toward 6500K during the morning golden hour to promote alertness and help reset "
     "your circadian clock.",
     &AppState::setFeatureMorningBoost, "featureMorningBoost"},
    {"Per-Display Control", "display.2",
     "Allows independent color temperature and brightness settings for each connected display, useful for "
     "multi-monitor setups.",
     &AppState::setFeaturePerDisplayControl, "featurePerDisplayControl"},
    {"Inactivity Pause", "pause.circle",
     "Automatically pauses filtering when no mouse or keyboard activity is detected, saving resources when you step "
     "away from your computer.",
     &AppState::setFeatureInactivityPause, "featureInactivityPause"},
    {"Spotlight Dimming", "flashlight.on.fill",
     "Dims the screen around a central spotlight area, reducing peripheral light exposure while keeping your focus "
     "area bright.",
     &AppState::setFeatureSpotlightDimming, "featureSpotlightDimming"},
    {"Software Cursor", "cursorarrow",
     "Replaces the system cursor with a high-contrast software cursor that remains visible even with heavy color "
     "filtering applied.",
     &AppState::setFeatureSoftwareCursor, "featureSoftwareCursor"},
    {"Ambient Soundscapes", "waveform",
     "Phase-matched ambient audio that transitions with your circadian cycle. Calming drones at night, rising tones "
     "at dawn, bright ambient during the day.",
     &AppState::setFeatureSoundscapes, "featureSoundscapes"},
}};

// The switches' settings, in the order of the table above.
bool featureValue(const AppState& state, std::size_t index) {
    switch (index) {
        case 0:
            return state.featureCircadianFiltering();
        case 1:
            return state.featurePWMProtection();
        case 2:
            return state.featureBreakReminders();
        case 3:
            return state.featureMorningBoost();
        case 4:
            return state.featurePerDisplayControl();
        case 5:
            return state.featureInactivityPause();
        case 6:
            return state.featureSpotlightDimming();
        case 7:
            return state.featureSoftwareCursor();
        case 8:
            return state.featureSoundscapes();
        default:
            return false;
    }
}

SymbolView* symbol(const char* name, int pixelSize, StyledLabel::ColorRole tone) {
    return new SymbolView(name, pixelSize, tone);
}

}  // namespace

// One feature: its icon, name and switch on a rounded panel; tells the tab when the pointer
// comes and goes.
class FeatureCard : public QWidget {
public:
    FeatureCard(const Feature& feature, std::function<void()> entered, std::function<void()> left)
        : entered_(std::move(entered)), left_(std::move(left)) {
        setObjectName(QString::fromLatin1(feature.objectName) + "Card");
        setAttribute(Qt::WA_Hover);
        setToolTip(localized(feature.description));
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(10, 10, 10, 10);
        row->setSpacing(10);
        SymbolView* icon = symbol(feature.icon, 16, &Theme::accent);
        icon->setFixedWidth(20);
        row->addWidget(icon);
        auto* name = new StyledLabel(localized(feature.name), TextStyle::caption, &Theme::primary);
        row->addWidget(name);
        row->addStretch(1);
        toggle = new Switch(localized(feature.name));
        toggle->setObjectName(feature.objectName);
        toggle->setAccessibleDescription(localized(feature.description));
        row->addWidget(toggle);
    }

    Switch* toggle = nullptr;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()), 8, 8);
        painter.fillPath(path, Theme::withOpacity(Theme::of(this).secondary, 0.06));
    }
    void enterEvent(QEnterEvent* event) override {
        QWidget::enterEvent(event);
        entered_();
    }
    void leaveEvent(QEvent* event) override {
        QWidget::leaveEvent(event);
        left_();
    }

private:
    std::function<void()> entered_;
    std::function<void()> left_;
};

namespace {

// The hover popover: a small frameless panel with the feature's name and description.
class Popover : public QWidget {
public:
    explicit Popover(QWidget* parent) : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint) {
        setObjectName("featurePopover");
        setFixedWidth(280);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Theme::of(this).controlBackground);
        painter.setPen(Theme::of(this).separator);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

}  // namespace

FeaturesSettingsTab::FeaturesSettingsTab(AppState& state, QWidget* parent) : SettingsPage(parent), state_(state) {
    setObjectName("FeaturesSettingsTab");

    auto* toggles = new QWidget;
    auto* togglesLayout = new QVBoxLayout(toggles);
    togglesLayout->setContentsMargins(0, 0, 0, 0);
    togglesLayout->setSpacing(12);
    togglesLayout->addWidget(new StyledLabel(localized("Feature Toggles"), TextStyle::headline, &Theme::primary));
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(10);
    for (std::size_t i = 0; i < features.size(); ++i) {
        const int index = static_cast<int>(i);
        auto* card = new FeatureCard(
            features[i], [this, index] { hover(index); }, [this, index] { leave(index); });
        cards_[i] = card;
        grid->addWidget(card, index / 2, index % 2);
        AppState* state = &state_;
        const auto set = features[i].set;
        connect(card->toggle, &QAbstractButton::toggled, this, [state, set](bool on) { (state->*set)(on); });
    }
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    togglesLayout->addLayout(grid);
    stack()->addWidget(toggles);

    soundscapeDivider_ = addDivider();
    QVBoxLayout* sound = addSection("Soundscapes", &soundscapeSection_);
    auto* themeRow = new QHBoxLayout;
    themeRow->setSpacing(12);
    auto* themeLabel = new StyledLabel(localized("Theme"), TextStyle::caption, &Theme::primary);
    theme_ = picker("soundscapeTheme", 160);
    theme_->setAccessibleName(localized("Theme"));
    themeLabel->setBuddy(theme_);
    for (const auto& entry : SoundscapeGenerator::themeTable) {
        const QString raw = QString::fromUtf8(entry.raw.data(), static_cast<int>(entry.raw.size()));
        theme_->addItem(raw, raw);
    }
    themeRow->addWidget(themeLabel);
    themeRow->addWidget(theme_);
    themeRow->addStretch(1);
    sound->addLayout(themeRow);
    auto* volumeRow = new QHBoxLayout;
    volumeRow->setSpacing(8);
    volume_ = new SliderRow(QString(), 0.05, 1.0, 0.05, settingstext::fractionText, 200, 35, "soundscapeVolume");
    volume_->slider()->setAccessibleName(localized("Volume"));
    volume_->slider()->setMinimumWidth(200);
    // The percentage stands after the loud symbol, outside the slider's own row.
    StyledLabel* volumeText = volume_->steppedSlider()->valueLabel();
    volume_->steppedSlider()->layout()->removeWidget(volumeText);
    volumeText->setColorRole(&Theme::secondary);
    volumeText->setFont(TextStyle::font(TextStyle::caption));
    volumeText->setObjectName("soundscapeVolumeText");
    volumeRow->addWidget(symbol("speaker.wave.1", 14, &Theme::secondary));
    volumeRow->addWidget(volume_);
    SymbolView* loud = symbol("speaker.wave.3", 14, &Theme::secondary);
    loud->setObjectName("soundscapeVolumeLoud");
    volumeRow->addWidget(loud);
    volumeRow->addWidget(volumeText);
    volumeRow->addStretch(1);
    sound->addLayout(volumeRow);
    onPicked(theme_, [this](const QVariant& tag) { state_.setSoundscapeTheme(tag.toString().toStdString()); });
    volume_->onMoved([this](double value) { state_.setSoundscapeVolume(value); });

    addDivider();
    addCaption(localized("Toggle individual features on or off. Disabled features will not consume system resources."));
    finish();

    popover_ = new Popover(this);
    auto* popoverLayout = new QVBoxLayout(popover_);
    popoverLayout->setContentsMargins(12, 12, 12, 12);
    popoverLayout->setSpacing(8);
    auto* head = new QHBoxLayout;
    popoverIcon_ = new SymbolView({}, 16, &Theme::accent);
    popoverTitle_ = new StyledLabel(QString(), TextStyle::headline, &Theme::primary);
    head->addWidget(popoverIcon_);
    head->addWidget(popoverTitle_, 1);
    popoverLayout->addLayout(head);
    popoverText_ = new StyledLabel(QString(), TextStyle::body, &Theme::secondary);
    popoverText_->setWordWrap(true);
    popoverText_->setObjectName("featurePopoverText");
    popoverLayout->addWidget(popoverText_);

    watchState(state_, this, [this] { refresh(); });
    refresh();
}

FeaturesSettingsTab::~FeaturesSettingsTab() = default;

void FeaturesSettingsTab::hover(int card) {
    hoveredFeature_ = card;
    const Feature& feature = features[static_cast<std::size_t>(card)];
    popoverIcon_->setSymbol(feature.icon);
    popoverTitle_->setText(localized(feature.name));
    popoverText_->setText(localized(feature.description));
    Theme::apply(popover_, Theme::of(this).isDark);
    popover_->adjustSize();
    QWidget* anchor = cards_[static_cast<std::size_t>(card)];
    const QPoint below = anchor->mapToGlobal(QPoint((anchor->width() - popover_->width()) / 2, anchor->height() + 4));
    popover_->move(below);
    popover_->show();
}

void FeaturesSettingsTab::leave(int card) {
    // A short grace, so moving straight onto the next card hands the popover over.
    QTimer::singleShot(100, this, [this, card] {
        if (hoveredFeature_ != card) return;
        hoveredFeature_ = -1;
        popover_->hide();
    });
}

void FeaturesSettingsTab::refresh() {
    for (std::size_t i = 0; i < cards_.size(); ++i) {
        const QSignalBlocker block(cards_[i]->toggle);
        cards_[i]->toggle->setChecked(featureValue(state_, i));
    }
    const bool sound = state_.featureSoundscapes();
    soundscapeDivider_->setVisible(sound);
    soundscapeSection_->setVisible(sound);
    selectTag(theme_, QString::fromStdString(state_.soundscapeTheme()));
    volume_->showValue(state_.soundscapeVolume());
}

}  // namespace solvara
