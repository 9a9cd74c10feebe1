#pragma once

#include <string_view>

#include <QColor>
#include <QString>
#include <QWidget>

#include "app/ui/kit/Theme.h"

namespace solvara {

// A symbol (Symbols) in a theme colour, laid out and drawn as a label would draw its glyph: the
// same size hint, alignment and contents margins. It is painted rather than a QLabel because a
// label is read out by its text, here a private-use character of the icon font, and an empty
// accessible name does not stop that. So a screen reader hears nothing of a decorative symbol;
// where a symbol carries meaning of its own, give it that meaning with setAccessibleName().
class SymbolView : public QWidget {
    Q_OBJECT

public:
    using ColorRole = QColor Theme::*;

    // An empty `name` draws nothing until setSymbol().
    SymbolView(std::string_view name, int pixelSize, ColorRole role, QWidget* parent = nullptr);
    // In a colour of its own rather than the window's theme (a break window's fixed backdrop).
    SymbolView(std::string_view name, int pixelSize, const QColor& color, QWidget* parent = nullptr);

    void setSymbol(std::string_view name);
    void setColorRole(ColorRole role, double opacity = 1.0);
    void setColor(const QColor& color);
    // Where the glyph sits in the contents rectangle (as QLabel::setAlignment; left and centred
    // vertically unless set).
    void setAlignment(Qt::Alignment alignment);

    // The glyph drawn now; empty for an unknown symbol or a missing icon font.
    const QString& glyph() const { return glyph_; }
    // The colour the glyph is drawn in now.
    QColor color() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString glyph_;
    ColorRole role_ = nullptr;
    double opacity_ = 1.0;
    QColor fixed_;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
};

}  // namespace solvara
