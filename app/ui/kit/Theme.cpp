#include "app/ui/kit/Theme.h"

#include <QApplication>
#include <QEvent>
#include <QVariant>
#include <QWidget>

namespace solvara {

namespace {

QColor rgb(unsigned value, double alpha = 1.0) {
    QColor color(static_cast<int>((value >> 16) & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                 static_cast<int>(value & 0xFF));
    color.setAlphaF(static_cast<float>(alpha));
    return color;
}

// `over` composed onto the opaque `under`: palettes of frames and bevels want solid colours.
QColor blend(const QColor& under, const QColor& over) {
    const double a = over.alphaF();
    return QColor::fromRgbF(static_cast<float>(under.redF() * (1 - a) + over.redF() * a),
                            static_cast<float>(under.greenF() * (1 - a) + over.greenF() * a),
                            static_cast<float>(under.blueF() * (1 - a) + over.blueF() * a));
}

bool applicationDark = false;

}  // namespace

const Theme& Theme::light() {
    static const Theme theme{.primary = rgb(0x000000, 0.85),
                             .secondary = rgb(0x000000, 0.50),
                             .tertiary = rgb(0x000000, 0.26),
                             .separator = rgb(0x000000, 0.10),
                             .accent = rgb(0x007AFF),
                             .windowBackground = rgb(0xECECEC),
                             .controlBackground = rgb(0xFFFFFF),
                             .orange = rgb(0xFF9500),
                             .red = rgb(0xFF3B30),
                             .green = rgb(0x28CD41),
                             .yellow = rgb(0xFFCC00),
                             .purple = rgb(0xAF52DE),
                             .indigo = rgb(0x5856D6),
                             .cyan = rgb(0x55BEF0),
                             .blue = rgb(0x007AFF),
                             .isDark = false};
    return theme;
}

const Theme& Theme::dark() {
    static const Theme theme{.primary = rgb(0xFFFFFF, 0.85),
                             .secondary = rgb(0xFFFFFF, 0.55),
                             .tertiary = rgb(0xFFFFFF, 0.25),
                             .separator = rgb(0xFFFFFF, 0.10),
                             .accent = rgb(0x0A84FF),
                             .windowBackground = rgb(0x323232),
                             .controlBackground = rgb(0x1E1E1E),
                             .orange = rgb(0xFF9F0A),
                             .red = rgb(0xFF453A),
                             .green = rgb(0x32D74B),
                             .yellow = rgb(0xFFD60A),
                             .purple = rgb(0xBF5AF2),
                             .indigo = rgb(0x5E5CE6),
                             .cyan = rgb(0x5AC8F5),
                             .blue = rgb(0x0A84FF),
                             .isDark = true};
    return theme;
}

QColor Theme::withOpacity(QColor color, double opacity) {
    color.setAlphaF(static_cast<float>(color.alphaF() * opacity));
    return color;
}

QColor Theme::mixed(const QColor& from, const QColor& to, double progress) {
    const double p = progress;
    const double alpha = from.alphaF() + (to.alphaF() - from.alphaF()) * p;
    if (alpha <= 0.0) return Qt::transparent;
    const auto mix = [&](double a, double b) { return (a * from.alphaF() * (1.0 - p) + b * to.alphaF() * p) / alpha; };
    QColor color;
    color.setRgbF(static_cast<float>(mix(from.redF(), to.redF())), static_cast<float>(mix(from.greenF(), to.greenF())),
                  static_cast<float>(mix(from.blueF(), to.blueF())), static_cast<float>(alpha));
    return color;
}

QPalette Theme::palette() const {
    const QColor window = windowBackground;
    const QColor text = blend(window, primary);
    const QColor dimText = blend(window, tertiary);
    const QColor button = isDark ? blend(window, rgb(0xFFFFFF, 0.10)) : controlBackground;
    QPalette p;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        p.setColor(group, QPalette::Window, window);
        p.setColor(group, QPalette::WindowText, disabled ? dimText : text);
        p.setColor(group, QPalette::Base, controlBackground);
        p.setColor(group, QPalette::AlternateBase, blend(controlBackground, separator));
        p.setColor(group, QPalette::Text, disabled ? dimText : blend(controlBackground, primary));
        p.setColor(group, QPalette::PlaceholderText, blend(controlBackground, tertiary));
        p.setColor(group, QPalette::Button, button);
        p.setColor(group, QPalette::ButtonText, disabled ? dimText : text);
        p.setColor(group, QPalette::BrightText, red);
        // Fusion etches disabled menu text with Light one pixel below it; on a dark window a
        // light etch reads as a blurred double, so the dark palette's disabled etch is invisible.
        const QColor light = isDark ? blend(window, rgb(0xFFFFFF, 0.20)) : rgb(0xFFFFFF);
        p.setColor(group, QPalette::Light, disabled && isDark ? QColor(Qt::transparent) : light);
        p.setColor(group, QPalette::Midlight, blend(window, rgb(isDark ? 0xFFFFFF : 0x000000, 0.05)));
        p.setColor(group, QPalette::Mid, blend(window, rgb(isDark ? 0xFFFFFF : 0x000000, 0.20)));
        p.setColor(group, QPalette::Dark, blend(window, rgb(isDark ? 0x000000 : 0x000000, 0.35)));
        p.setColor(group, QPalette::Shadow, rgb(0x000000, 0.6));
        p.setColor(group, QPalette::Highlight, disabled ? blend(window, secondary) : accent);
        p.setColor(group, QPalette::HighlightedText, rgb(0xFFFFFF));
        p.setColor(group, QPalette::Link, accent);
        p.setColor(group, QPalette::LinkVisited, purple);
        p.setColor(group, QPalette::ToolTipBase, controlBackground);
        p.setColor(group, QPalette::ToolTipText, blend(controlBackground, primary));
    }
    return p;
}

void Theme::apply(QWidget* window, bool dark) {
    const QVariant current = window->property(darkProperty);
    if (current.isValid() && current.toBool() == dark) return;
    window->setProperty(darkProperty, dark);
    window->setPalette(forDark(dark).palette());
    // Custom painters read of() at paint time: repaint everything inside.
    window->update();
    for (QWidget* child : window->findChildren<QWidget*>()) child->update();
}

void Theme::applyToApplication(bool dark) {
    applicationDark = dark;
    QApplication::setPalette(forDark(dark).palette());
}

bool Theme::isApplicationDark() {
    return applicationDark;
}

const Theme& Theme::of(const QWidget* widget) {
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        const QVariant decided = w->property(darkProperty);
        if (decided.isValid()) return forDark(decided.toBool());
    }
    return forDark(applicationDark);
}

}  // namespace solvara
