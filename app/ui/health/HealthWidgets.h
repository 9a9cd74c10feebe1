#pragma once

#include <functional>
#include <string>
#include <string_view>

#include <QAbstractButton>
#include <QPushButton>

class QHBoxLayout;
class QVBoxLayout;

#include "app/ui/health/HealthFigures.h"
#include "app/ui/kit/StyledLabel.h"
#include "app/ui/kit/SymbolView.h"
#include "app/ui/kit/UiServices.h"

namespace solvara {

class AppState;

// Small pieces the health views share.
namespace healthwidgets {

// The theme member of a health colour ("teal" is the theme's cyan).
StyledLabel::ColorRole colorRole(healthfigures::HealthColor color);

// A symbol of the icon font in a theme colour, centred in its space.
SymbolView* symbolLabel(std::string_view name, int pixelSize, StyledLabel::ColorRole role, double opacity = 1.0);

// The health tab's titled card filling `owner`: a faint secondary fill with radius 10, 14 pixels
// inside, and a header of its symbol, its title and a stretch (callers may add to the header's
// end). Returns the card's stack, the header already in it.
struct TitledCard {
    QVBoxLayout* stack;
    QHBoxLayout* header;
};
TitledCard titledCard(QWidget* owner, int spacing, std::string_view symbol, StyledLabel::ColorRole symbolRole,
                      const QString& title);

// Asks where to save `fileName` with the save dialog, then writes what `build` gives (built
// after the answer) atomically through the state's files. Cancelling writes nothing and says
// nothing; a failed write is logged and shown in a warning; success is silent.
void exportText(QWidget* parent, AppState& state, UiServices& ui, const QString& title, const QString& fileName,
                std::function<std::string()> build);

}  // namespace healthwidgets

// A bordered small push button with a symbol of the icon font before its text ("Export"); the
// symbol follows the button's text colour when the window turns light or dark.
class SymbolPushButton : public QPushButton {
public:
    SymbolPushButton(const QString& text, std::string_view symbol, const char* objectName, int fontPixels,
                     QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;

private:
    void drawIcon();

    std::string symbol_;
    int side_;
};

// A borderless button that draws a symbol of the icon font, or a text, in a theme colour; with
// a focus ring, so it is reachable and visible from the keyboard (Space presses it).
class GlyphButton : public QAbstractButton {
public:
    GlyphButton(const QString& glyphOrText, const QFont& font, StyledLabel::ColorRole role, double opacity,
                QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    StyledLabel::ColorRole role_;
    double opacity_;
};

}  // namespace solvara
