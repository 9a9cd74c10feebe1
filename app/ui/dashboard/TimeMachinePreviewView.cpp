#include "app/ui/dashboard/TimeMachinePreviewView.h"

#include <cmath>

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpacerItem>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include "app/state/AppState.h"
#include "app/ui/dashboard/DashboardStyle.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/TextStyle.h"
#include "app/ui/kit/Transition.h"
#include "core/color/ColorTemperatureConverter.h"
#include "core/foundation/Clock.h"

namespace solvara {

using namespace dashboard;

namespace {

// The slider moves in quarter hours over 0 to 23.99, so its last step is 23.75.
constexpr double hourStep = 0.25;
constexpr int lastIndex = 95;

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

class TimeMachinePreviewView::Swatch : public QWidget {
public:
    explicit Swatch(QWidget* parent) : QWidget(parent) {
        setObjectName("timeMachineSwatch");
        setFixedSize(36, 36);
        setAccessibleName(localized("Previewed colour"));
    }

    void setKelvin(std::int64_t kelvin) {
        const auto rgb = ColorTemperatureConverter().kelvinToRGB(kelvin);
        QColor color;
        color.setRgbF(static_cast<float>(rgb.red), static_cast<float>(rgb.green), static_cast<float>(rgb.blue));
        if (color == color_) return;
        color_ = color;
        setAccessibleDescription(fromStd(kelvinText(kelvin)));
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(0, 0, 36, 36), 6, 6);
        painter.fillPath(path, color_);
        QPainterPath border;
        border.addRoundedRect(QRectF(0.5, 0.5, 35, 35), 5.5, 5.5);
        painter.strokePath(border, QPen(QColor(255, 255, 255, 77), 1));
    }

private:
    QColor color_;
};

TimeMachinePreviewView::TimeMachinePreviewView(AppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setObjectName("timeMachinePreview");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);

    auto* header = new QHBoxLayout();
    header_ = header;
    symbol_ = symbolLabel("clock.arrow.2.circlepath", 13, this);
    header->addWidget(symbol_);
    QFont titleFont = TextStyle::font(TextStyle::caption);
    titleFont.setBold(true);
    header->addWidget(textLabel(localized("Time Machine"), titleFont, this));
    header->addStretch();
    reset_ = new QPushButton(localized("Reset"), this);
    reset_->setObjectName("timeMachineReset");
    reset_->setFlat(true);
    reset_->setFont(TextStyle::font(TextStyle::caption2));
    reset_->setCursor(Qt::PointingHandCursor);
    header->addWidget(reset_);
    // Holds the header row's height while Reset's picture fades; no room at rest.
    headerStrut_ = new QSpacerItem(0, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    header->addSpacerItem(headerStrut_);
    resetTransition_ = new WidgetTransition(reset_, TransitionStyle{motion::defaultMilliseconds, true, false, false});
    layout->addLayout(header);

    // The preview rows come and go together.
    previewBlock_ = new QWidget(this);
    previewBlock_->setObjectName("timeMachinePreviewBlock");
    auto* block = new QVBoxLayout(previewBlock_);
    block->setContentsMargins(0, 0, 0, 0);
    block->setSpacing(8);
    previewRow_ = new QWidget(previewBlock_);
    auto* row = new QHBoxLayout(previewRow_);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    swatch_ = new Swatch(previewRow_);
    row->addWidget(swatch_);
    auto* left = new QVBoxLayout();
    left->setSpacing(2);
    QFont kelvinFont = TextStyle::font(TextStyle::callout);
    kelvinFont.setBold(true);
    kelvin_ = textLabel(QString(), kelvinFont, previewRow_);
    kelvin_->setObjectName("timeMachineKelvin");
    phase_ = textLabel(QString(), TextStyle::font(TextStyle::caption2), previewRow_);
    left->addWidget(kelvin_);
    left->addWidget(phase_);
    row->addLayout(left);
    row->addStretch();
    auto* right = new QVBoxLayout();
    right->setSpacing(2);
    solar_ = textLabel(QString(), TextStyle::font(TextStyle::caption2), previewRow_);
    melanopic_ = textLabel(QString(), TextStyle::font(TextStyle::caption2), previewRow_);
    solar_->setAlignment(Qt::AlignRight);
    melanopic_->setAlignment(Qt::AlignRight);
    right->addWidget(solar_);
    right->addWidget(melanopic_);
    row->addLayout(right);
    block->addWidget(previewRow_);

    QFont mono("DejaVu Sans Mono");
    mono.setPixelSize(10);
    time_ = textLabel(QString(), mono, previewBlock_);
    time_->setObjectName("timeMachineTime");
    time_->setAlignment(Qt::AlignCenter);
    block->addWidget(time_);
    layout->addWidget(previewBlock_);
    previewTransition_ =
        new WidgetTransition(previewBlock_, TransitionStyle{motion::defaultMilliseconds, true, false, false});
    // The slider row moves up over the rows' place as the card closes and covers their picture.
    previewTransition_->setLeavingRoom(
        [this, layout] { return QRect(0, 0, width(), sliderRow_->geometry().top() - layout->spacing()); });
    // Takes no room at rest; while the card closes, it holds the room the preview left, so that
    // the slider row moves up from where it stood.
    layout->addStretch(1);
    // No repaint of its own: the card's new height and the moving rows repaint what they cover.
    closing_ = new QVariantAnimation(this);
    closing_->setDuration(motion::defaultMilliseconds);
    closing_->setEasingCurve(motion::easeInOut());
    closing_->setStartValue(0.0);
    closing_->setEndValue(1.0);
    connect(closing_, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& progress) { closeTo(progress.toDouble()); });
    connect(closing_, &QAbstractAnimation::finished, this, &TimeMachinePreviewView::stopClosing);

    auto* sliderRow = new QHBoxLayout();
    sliderRow_ = sliderRow;
    sliderRow->setSpacing(6);
    startLabel_ = textLabel("12a", TextStyle::systemFont(9), this);
    endLabel_ = textLabel("12a", TextStyle::systemFont(9), this);
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName("timeMachineSlider");
    slider_->setRange(0, lastIndex);
    slider_->setPageStep(4);
    slider_->setAccessibleName(localized("Preview hour"));
    sliderRow->addWidget(startLabel_);
    sliderRow->addWidget(slider_, 1);
    sliderRow->addWidget(endLabel_);
    layout->addLayout(sliderRow);

    // valueChanged is what a drag, the arrow keys and a screen reader all fire; refresh() sets
    // the idle position under a blocker, so only the user starts a preview.
    connect(slider_, &QSlider::valueChanged, this, &TimeMachinePreviewView::onSliderMoved);
    connect(reset_, &QPushButton::clicked, this, &TimeMachinePreviewView::onReset);
    refresh();
}

void TimeMachinePreviewView::onSliderMoved(int index) {
    active_ = true;
    previewHour_ = index * hourStep;
    updatePreview();
    refresh();
}

void TimeMachinePreviewView::onReset() {
    const bool animated = isVisible();
    if (animated) {
        // Everything stands where it stood while Reset and the rows leave: the card keeps its
        // height and the header row keeps its height without Reset, so both pictures are taken
        // where they stand.
        closingHeights_.open = height();
        closingHeights_.headerOpen = header_->geometry().height();
        setMinimumHeight(closingHeights_.open);
        holdHeader(closingHeights_.headerOpen);
    }
    active_ = false;
    previewState_.reset();
    refresh();
    if (!animated) return;
    holdHeader(0);
    closingHeights_.idle = sizeHint().height();
    closingHeights_.headerIdle = header_->sizeHint().height();
    if (closingHeights_.idle >= closingHeights_.open) {
        stopClosing();
        return;
    }
    closeTo(0.0);
    closing_->start();
}

void TimeMachinePreviewView::closeTo(double progress) {
    const auto along = [progress](int from, int to) {
        return static_cast<int>(std::lround(from + (to - from) * progress));
    };
    setMinimumHeight(along(closingHeights_.open, closingHeights_.idle));
    holdHeader(along(closingHeights_.headerOpen, closingHeights_.headerIdle));
}

void TimeMachinePreviewView::holdHeader(int height) {
    if (headerStrut_->sizeHint().height() == height) return;
    headerStrut_->changeSize(0, height, QSizePolicy::Fixed, QSizePolicy::Minimum);
    // The card's layout keeps the size hint it last worked out until it is invalidated itself,
    // and onReset() reads the idle height from it before the layout runs again.
    header_->invalidate();
    layout()->invalidate();
}

void TimeMachinePreviewView::stopClosing() {
    closing_->stop();
    // Back to what the layout asks for alone.
    holdHeader(0);
    setMinimumHeight(0);
}

void TimeMachinePreviewView::updatePreview() {
    const auto& coordinate = state_.coordinate();
    if (!coordinate) return;
    previewState_ = state_.circadianEngine().currentState(*coordinate, previewMoment(Clock::now(), previewHour_));
}

void TimeMachinePreviewView::refresh() {
    const Theme& theme = themeOf(*this);
    {
        const QSignalBlocker blocker(slider_);
        const int index = active_ ? static_cast<int>(std::lround(previewHour_ / hourStep))
                                  : static_cast<int>(hourFraction(Clock::now()) / hourStep);
        if (slider_->value() != index) slider_->setValue(std::min(index, lastIndex));
    }
    // Reset and the preview come with a move at once and leave, after Reset's press, fading.
    const bool leaving = isVisible() && !active_;
    if (active_ && closing_->state() == QAbstractAnimation::Running) stopClosing();
    resetTransition_->setShown(active_, leaving);
    const bool showPreview = active_ && previewState_.has_value();
    previewTransition_->setShown(showPreview, leaving);
    if (showPreview) {
        swatch_->setKelvin(previewState_->colorTemperature);
        kelvin_->setText(fromStd(kelvinText(previewState_->colorTemperature)));
        phase_->setText(QString::fromUtf8(previewState_->phase.displayName()));
        solar_->setText(fromStd(previewSolarText(previewState_->solarElevation)));
        melanopic_->setText(fromStd(previewMelanopicText(previewState_->melanopicFactor)));
        time_->setText(fromStd(previewTimeText(previewHour_)));
        slider_->setAccessibleDescription(time_->text());
    } else {
        slider_->setAccessibleDescription(QString());
    }
    symbol_->setColor(theme.blue);
    if (reset_->palette().color(QPalette::ButtonText) != theme.blue) {
        QPalette resetPalette = reset_->palette();
        resetPalette.setColor(QPalette::ButtonText, theme.blue);
        reset_->setPalette(resetPalette);
    }
    for (QLabel* label : {phase_, solar_, melanopic_, time_}) setTextColor(*label, theme.secondary);
    setTextColor(*kelvin_, theme.primary);
    for (QLabel* label : {startLabel_, endLabel_}) setTextColor(*label, theme.tertiary);
}

void TimeMachinePreviewView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintCard(painter, rect(), Theme::withOpacity(themeOf(*this).secondary, 0.06), 8);
}

void TimeMachinePreviewView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) refresh();
}

}  // namespace solvara
