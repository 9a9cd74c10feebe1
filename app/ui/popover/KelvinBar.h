#pragma once

#include <cstdint>

#include <QWidget>

namespace solvara {

// The colour-temperature bar: a faint track across the whole width, 6 pixels high, and over it
// a fill from red through orange and yellow to white whose width grows with the kelvin (a
// 4-pixel stub at 1800 K and below, the whole track at 6500 K and above). The gradient spans
// the fill, not the track.
class KelvinBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int barHeight = 6;

    explicit KelvinBar(QWidget* parent = nullptr);

    void setKelvin(std::int64_t kelvin);
    std::int64_t kelvin() const { return kelvin_; }
    // The fill's width at the current size.
    double fillWidth() const;

    QSize sizeHint() const override { return {288, barHeight}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::int64_t kelvin_ = 6500;
};

}  // namespace solvara
