#pragma once

#include <cstdint>

#include <QWidget>

class QPainter;

namespace solvara {

struct Theme;

// The science cards' small charts. The canvas charts paint everything again on every paint
// (one model evaluation per horizontal pixel) and keep no state beyond their inputs: a dark
// translucent canvas with rounded corners, and a plot kept inside insets. A canvas too small
// for its plot shows only its background.
class ChartCanvas : public QWidget {
public:
    ChartCanvas(int height, double cornerRadius, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    virtual void draw(QPainter& painter, QSizeF canvas, const Theme& theme) const = 0;

    // `text` centred on `anchor` (or ending there when trailing), kept inside the canvas.
    static void drawText(QPainter& painter, QSizeF canvas, QPointF anchor, const QString& text, const QFont& font,
                         const QColor& color, bool trailing = false);

private:
    double cornerRadius_;
};

// Melanopsin's sensitivity over the visible spectrum, peak marked at 480 nm.
class MelanopsinSpectrumChart : public ChartCanvas {
public:
    explicit MelanopsinSpectrumChart(QWidget* parent = nullptr);

protected:
    void draw(QPainter& painter, QSizeF canvas, const Theme& theme) const override;
};

// The phase-response curve in hours from the core-body-temperature minimum. The wake hour is
// kept but the chart is the same for every wake time.
class PhaseResponseChart : public ChartCanvas {
public:
    explicit PhaseResponseChart(int wakeHour, QWidget* parent = nullptr);
    int wakeHour() const { return wakeHour_; }
    void setWakeHour(int wakeHour) { wakeHour_ = wakeHour; }

protected:
    void draw(QPainter& painter, QSizeF canvas, const Theme& theme) const override;

private:
    int wakeHour_;
};

// The 590 nm cutoff over the spectrum and melanopsin's sensitivity.
class RedLightSpectrumChart : public ChartCanvas {
public:
    explicit RedLightSpectrumChart(QWidget* parent = nullptr);

protected:
    void draw(QPainter& painter, QSizeF canvas, const Theme& theme) const override;
};

// The melanopic/photopic ratio from 1800 to 6500 K, with the current temperature marked (not
// clamped: a temperature off the scale puts its marker off the plot).
class MelanopicRatioChart : public ChartCanvas {
public:
    explicit MelanopicRatioChart(std::int64_t currentKelvin, QWidget* parent = nullptr);
    std::int64_t currentKelvin() const { return currentKelvin_; }
    void setCurrentKelvin(std::int64_t kelvin);

protected:
    void draw(QPainter& painter, QSizeF canvas, const Theme& theme) const override;

private:
    std::int64_t currentKelvin_;
};

// Flickering PWM dimming beside constant software dimming: two canvases with captions.
class PWMWaveformChart : public QWidget {
public:
    explicit PWMWaveformChart(QWidget* parent = nullptr);
};

// Twenty minutes, twenty feet, twenty seconds: three tiles joined by arrows.
class TwentyTwentyTwentyChart : public QWidget {
public:
    explicit TwentyTwentyTwentyChart(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace solvara
