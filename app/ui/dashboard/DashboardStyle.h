#pragma once

#include <string_view>

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QRectF>
#include <QString>
#include <QStringList>

#include "app/ui/dashboard/DashboardTexts.h"
#include "app/ui/kit/SymbolView.h"
#include "app/ui/kit/TextLines.h"
#include "app/ui/kit/Theme.h"

class QLabel;
class QPainter;
class QWidget;

namespace solvara::dashboard {

// The theme of the window `widget` sits in.
inline const Theme& themeOf(const QWidget& widget) {
    return Theme::of(&widget);
}

QColor tintColor(const Theme& theme, Tint tint);
// The kelvin readouts: the white band would vanish on a light window, so it takes the primary
// colour there.
QColor kelvinColor(const Theme& theme, std::int64_t kelvin);

// A rounded card background.
void paintCard(QPainter& painter, const QRectF& rect, const QColor& fill, double radius);

// Label helpers: text colour through the label's palette; a symbol, coloured by setColor().
void setTextColor(QLabel& label, const QColor& color);
SymbolView* symbolLabel(std::string_view symbol, int pixelSize, QWidget* parent);
QLabel* textLabel(const QString& text, const QFont& font, QWidget* parent);
using solvara::linesWithin;
// A symbol as a button icon of `pixelSize` in `color` (the icon font has no letters, so a
// symbol cannot share a button's text).
QIcon symbolIcon(std::string_view symbol, int pixelSize, const QColor& color);

}  // namespace solvara::dashboard
