#include "app/ui/kit/SteppedSlider.h"

#include <algorithm>
#include <cmath>

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QSlider>

#include "app/ui/kit/StyledLabel.h"

namespace solvara {

SteppedSlider::SteppedSlider(double minimum, double maximum, double step, Formatter format, QWidget* parent)
    : QWidget(parent),
      minimum_(minimum),
      maximum_(maximum),
      step_(step > 0 ? step : 1.0),
      format_(std::move(format)),
      value_(minimum),
      slider_(new QSlider(Qt::Horizontal, this)),
      label_(new StyledLabel({}, TextStyle::body, &Theme::secondary, this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    slider_->setRange(0, std::max(0, static_cast<int>(std::lround((maximum_ - minimum_) / step_))));
    slider_->setSingleStep(1);
    slider_->setPageStep(10);
    slider_->setFocusPolicy(Qt::StrongFocus);
    row->addWidget(slider_, 1);
    label_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(label_);
    setFocusProxy(slider_);
    QObject::connect(slider_, &QSlider::valueChanged, this, [this](int index) {
        value_ = minimum_ + index * step_;
        showText(value_);
        emit valueChanged(value_);
    });
    showText(value_);
    QObject::connect(this, &QObject::objectNameChanged, this,
                     [this](const QString& name) { slider_->setObjectName(name + "Slider"); });
}

int SteppedSlider::indexOf(double value) const {
    const double index = std::round((value - minimum_) / step_);
    return static_cast<int>(std::clamp(index, 0.0, static_cast<double>(slider_->maximum())));
}

void SteppedSlider::setValue(double value) {
    value_ = value;
    {
        const QSignalBlocker blocker(slider_);
        slider_->setValue(indexOf(value));
    }
    showText(value);
}

void SteppedSlider::showText(double value) {
    const QString text = format_(value);
    label_->setText(text);
    // The slider's own value is a step index ("26" for 4400 K), which would mean nothing to a
    // screen reader; its description carries what the label shows. A refresh that changes
    // nothing sends no description event.
    if (slider_->accessibleDescription() != text) slider_->setAccessibleDescription(text);
}

void SteppedSlider::setAccessibleName(const QString& name) {
    QWidget::setAccessibleName(name);
    slider_->setAccessibleName(name);
}

}  // namespace solvara
