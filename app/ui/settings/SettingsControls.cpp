#include "app/ui/settings/SettingsControls.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QPainter>
#include <QPalette>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include "app/state/AppState.h"

namespace solvara::settingsui {

const Theme& themeOf(const QWidget* widget) {
    return widget->palette().color(QPalette::Window).lightness() < 128 ? Theme::dark() : Theme::light();
}

namespace {

// Opaque `color` as it shows over `background`.
QColor over(const QColor& color, const QColor& background) {
    const double a = color.alphaF();
    return QColor::fromRgbF(static_cast<float>(color.redF() * a + background.redF() * (1 - a)),
                            static_cast<float>(color.greenF() * a + background.greenF() * (1 - a)),
                            static_cast<float>(color.blueF() * a + background.blueF() * (1 - a)));
}

QColor toneColor(const Theme& theme, Tone tone) {
    switch (tone) {
        case Tone::primary:
            return theme.primary;
        case Tone::secondary:
            return theme.secondary;
        case Tone::tertiary:
            return theme.tertiary;
        case Tone::orange:
            return theme.orange;
        case Tone::red:
            return theme.red;
        case Tone::accent:
            return theme.accent;
        case Tone::indigo:
            return theme.indigo;
    }
    return theme.primary;
}

}  // namespace

QPalette palette(bool dark) {
    const Theme& theme = dark ? Theme::dark() : Theme::light();
    const QColor window = theme.windowBackground;
    const QColor text = over(theme.primary, window);
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, theme.controlBackground);
    p.setColor(QPalette::AlternateBase, over(theme.separator, theme.controlBackground));
    p.setColor(QPalette::Text, over(theme.primary, theme.controlBackground));
    p.setColor(QPalette::Button, dark ? QColor(0x4A, 0x4A, 0x4A) : QColor(0xFA, 0xFA, 0xFA));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Highlight, theme.accent);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::PlaceholderText, over(theme.tertiary, theme.controlBackground));
    p.setColor(QPalette::ToolTipBase, theme.controlBackground);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Light, dark ? QColor(0x5A, 0x5A, 0x5A) : Qt::white);
    p.setColor(QPalette::Midlight, dark ? QColor(0x48, 0x48, 0x48) : QColor(0xE3, 0xE3, 0xE3));
    p.setColor(QPalette::Mid, over(theme.tertiary, window));
    p.setColor(QPalette::Dark, over(theme.secondary, window));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Link, theme.accent);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(QPalette::Disabled, role, over(theme.tertiary, window));
    }
    return p;
}

ToneLabel::ToneLabel(const QString& text, TextStyle::Style style, Tone tone, QWidget* parent)
    : QLabel(text, parent), tone_(tone) {
    setFont(TextStyle::font(style));
    applyTone();
}

void ToneLabel::setTone(Tone tone) {
    if (tone == tone_) return;
    tone_ = tone;
    applyTone();
}

void ToneLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::ParentChange) applyTone();
    if (event->type() == QEvent::PaletteChange) {
        // Our own foreground change is a palette change too: only follow the window's.
        const QColor wanted = toneColor(themeOf(this), tone_);
        if (palette().color(QPalette::WindowText) != wanted) applyTone();
    }
}

void ToneLabel::applyTone() {
    QPalette p = palette();
    const QColor color = toneColor(themeOf(this), tone_);
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::Text, color);
    setPalette(p);
}

SettingsPage::SettingsPage(QWidget* parent) : QWidget(parent), stack_(new QVBoxLayout(this)) {
    stack_->setContentsMargins(24, 24, 24, 24);
    stack_->setSpacing(20);
}

QVBoxLayout* SettingsPage::addSection(const QString& title, QWidget** sectionOut) {
    auto* section = new QWidget(this);
    auto* layout = new QVBoxLayout(section);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(new ToneLabel(title, TextStyle::headline));
    stack_->addWidget(section);
    if (sectionOut != nullptr) *sectionOut = section;
    return layout;
}

QWidget* SettingsPage::addDivider() {
    QWidget* line = divider(this);
    stack_->addWidget(line);
    return line;
}

ToneLabel* SettingsPage::addCaption(const QString& text, Tone tone) {
    auto* caption = new ToneLabel(text, TextStyle::caption, tone, this);
    caption->setWordWrap(true);
    stack_->addWidget(caption);
    return caption;
}

void SettingsPage::finish() {
    stack_->addStretch(1);
}

namespace {

class Divider : public QFrame {
public:
    explicit Divider(QWidget* parent) : QFrame(parent) { setFixedHeight(1); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), themeOf(this).separator);
    }
};

}  // namespace

QWidget* divider(QWidget* parent) {
    return new Divider(parent);
}

QWidget* valueRow(const QString& label, const QString& value, const char* objectName, ToneLabel** valueOut) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new ToneLabel(label, TextStyle::body));
    layout->addStretch(1);
    auto* valueLabel = new ToneLabel(value, TextStyle::body, Tone::secondary);
    valueLabel->setObjectName(objectName);
    valueLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(valueLabel);
    if (valueOut != nullptr) *valueOut = valueLabel;
    return row;
}

QCheckBox* toggle(const QString& text, const char* objectName) {
    auto* box = new QCheckBox(text);
    box->setObjectName(objectName);
    return box;
}

QComboBox* picker(const char* objectName, int width) {
    auto* box = new QComboBox;
    box->setObjectName(objectName);
    box->setFixedWidth(width);
    box->setMaxVisibleItems(16);
    return box;
}

QComboBox* intPicker(const char* objectName, int width, const std::vector<std::int64_t>& values,
                     const std::function<QString(std::int64_t)>& text) {
    QComboBox* box = picker(objectName, width);
    for (std::int64_t value : values) box->addItem(text(value), QVariant::fromValue<qlonglong>(value));
    return box;
}

void onPicked(QComboBox* picker, std::function<void(const QVariant&)> chosen) {
    QObject::connect(picker, &QComboBox::activated, picker,
                     [picker, chosen = std::move(chosen)](int index) { chosen(picker->itemData(index)); });
}

void selectTag(QComboBox* picker, const QVariant& tag) {
    const QSignalBlocker block(picker);
    picker->setCurrentIndex(picker->findData(tag));
}

QWidget* pickerRow(const QString& label, QComboBox* picker) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* text = new ToneLabel(label, TextStyle::body);
    text->setBuddy(picker);
    picker->setAccessibleName(label);
    layout->addWidget(text);
    layout->addStretch(1);
    layout->addWidget(picker);
    return row;
}

SteppedSlider::SteppedSlider(const QString& label, double min, double max, double step, int maxSliderWidth,
                             int valueWidth, const char* objectName, QWidget* parent)
    : QWidget(parent),
      min_(min),
      step_(step),
      slider_(new QSlider(Qt::Horizontal)),
      value_(new ToneLabel(QString(), TextStyle::body, Tone::secondary)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* text = new ToneLabel(label, TextStyle::body);
    text->setBuddy(slider_);
    slider_->setObjectName(objectName);
    slider_->setAccessibleName(label);
    slider_->setRange(0, static_cast<int>(std::lround((max - min) / step)));
    slider_->setSingleStep(1);
    slider_->setPageStep(1);
    slider_->setMaximumWidth(maxSliderWidth);
    value_->setFixedWidth(valueWidth);
    value_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value_->setObjectName(QString::fromLatin1(objectName) + "Value");
    layout->addWidget(text);
    layout->addWidget(slider_, 1);
    layout->addWidget(value_);
}

void SteppedSlider::showValue(double value, const QString& text) {
    const QSignalBlocker block(slider_);
    const double index = std::isfinite(value) ? std::round((value - min_) / step_) : 0.0;
    slider_->setValue(static_cast<int>(std::clamp(index, 0.0, static_cast<double>(slider_->maximum()))));
    value_->setText(text);
    slider_->setAccessibleDescription(text);
}

double SteppedSlider::value() const {
    // Rounded to a millionth so that 0.05 steps store 0.3, not 0.30000000000000004.
    return std::round((min_ + slider_->value() * step_) * 1e6) / 1e6;
}

void SteppedSlider::onMoved(std::function<void(double)> moved) {
    QObject::connect(slider_, &QSlider::valueChanged, this, [this, moved = std::move(moved)] { moved(value()); });
}

namespace {

// Lives as a child of the watching object; unhooks from the state when it goes.
class StateHook : public QObject {
public:
    StateHook(AppState& state, QObject* owner, std::function<void()> refresh)
        : QObject(owner), state_(state), refresh_(std::move(refresh)) {
        stateObserver_ = state_.addObserver([this](AppState::Property, AppState::Notice notice) {
            if (notice == AppState::Notice::didChange) schedule();
        });
        breakObserver_ = state_.breakScheduler().addObserver([this](BreakScheduler::Property) { schedule(); });
    }
    ~StateHook() override {
        state_.removeObserver(stateObserver_);
        state_.breakScheduler().removeObserver(breakObserver_);
    }

private:
    void schedule() {
        if (pending_) return;
        pending_ = true;
        QTimer::singleShot(0, this, [this] {
            pending_ = false;
            refresh_();
        });
    }

    AppState& state_;
    std::function<void()> refresh_;
    AppState::ObserverId stateObserver_ = 0;
    BreakScheduler::ObserverId breakObserver_ = 0;
    bool pending_ = false;
};

}  // namespace

void watchState(AppState& state, QObject* owner, std::function<void()> refresh) {
    new StateHook(state, owner, std::move(refresh));
}

}  // namespace solvara::settingsui
