#pragma once

#include <cstdint>

#include <QWidget>

class QVariantAnimation;

namespace solvara {

// The colour-temperature bar: a faint track across the whole width, 6 pixels high, and over it
// a fill from red through orange and yellow to white whose width grows with the kelvin (a
// 4-pixel stub at 1800 K and below, the whole track at 6500 K and above). The gradient spans
// the fill, not the track. A change while shown slides the fill to its new width over 0.8 s,
// easing in and out.
class KelvinBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int barHeight = 6;

    explicit KelvinBar(QWidget* parent = nullptr);

    void setKelvin(std::int64_t kelvin);
    std::int64_t kelvin() const { return kelvin_; }
    // The fill's width for the kelvin at the current size (where a slide ends).
    double fillWidth() const;
    // The width painted now (on the way there while sliding).
    double shownFillWidth() const;
    static constexpr int slideMilliseconds = 800;

    QSize sizeHint() const override { return {288, barHeight}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::int64_t kelvin_ = 6500;
    // 0...1 from the width of `from_` to the width of kelvin_; 1 when at rest.
    double progress_ = 1.0;
    std::int64_t from_ = 6500;
    QVariantAnimation* slide_;
};

}  // namespace solvara
