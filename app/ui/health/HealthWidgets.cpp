#include "app/ui/health/HealthWidgets.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionFocusRect>
#include <QVBoxLayout>

#include "app/state/AppState.h"
#include "app/ui/kit/Card.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/Symbols.h"
#include "app/ui/kit/TextStyle.h"
#include "app/ui/kit/Theme.h"
#include "core/foundation/Log.h"

namespace solvara {

namespace healthwidgets {

using healthfigures::HealthColor;

StyledLabel::ColorRole colorRole(HealthColor color) {
    switch (color) {
        case HealthColor::blue:
            return &Theme::blue;
        case HealthColor::purple:
            return &Theme::purple;
        case HealthColor::orange:
            return &Theme::orange;
        case HealthColor::green:
            return &Theme::green;
        case HealthColor::indigo:
            return &Theme::indigo;
        case HealthColor::yellow:
            return &Theme::yellow;
        case HealthColor::red:
            return &Theme::red;
        case HealthColor::teal:
            return &Theme::cyan;
        case HealthColor::secondary:
            break;
    }
    return &Theme::secondary;
}

SymbolView* symbolLabel(std::string_view name, int pixelSize, StyledLabel::ColorRole role, double opacity) {
    auto* symbol = new SymbolView(name, pixelSize, role);
    symbol->setColorRole(role, opacity);
    symbol->setAlignment(Qt::AlignCenter);
    return symbol;
}

TitledCard titledCard(QWidget* owner, int spacing, std::string_view symbol, StyledLabel::ColorRole symbolRole,
                      const QString& title) {
    auto* outer = new QVBoxLayout(owner);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* card = new Card(nullptr, &Theme::secondary, 0.04, 10);
    card->setContentsMargins(14, 14, 14, 14);
    outer->addWidget(card);
    auto* stack = new QVBoxLayout(card);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(spacing);
    auto* header = new QHBoxLayout;
    header->addWidget(symbolLabel(symbol, 13, symbolRole));
    header->addWidget(new StyledLabel(title, TextStyle::headline, &Theme::primary));
    header->addStretch(1);
    stack->addLayout(header);
    return {stack, header};
}

void exportText(QWidget* parent, AppState& state, UiServices& ui, const QString& title, const QString& fileName,
                std::function<std::string()> build) {
    QPointer<QWidget> owner(parent);
    ui.fileDialogs.chooseFileToSave(
        parent, FileDialogs::Request{title, fileName, QString()},
        [owner, &state, &ui, fileName, build = std::move(build)](std::optional<QString> path) {
            if (!path || path->isEmpty()) return;
            const std::string target = path->toStdString();
            if (state.files().writeAtomically(target, build())) return;
            Log::write("Health", "Export of " + fileName.toStdString() + " to " + target + " failed");
            MessageBoxes::Question warning;
            warning.kind = MessageBoxes::Kind::warning;
            warning.title = localized("Export Failed");
            warning.text = localized("The file could not be saved.");
            warning.informativeText = localized(
                                          "It could not be written to %1. Check that the folder exists and "
                                          "that you may write to it.")
                                          .arg(*path);
            ui.messageBoxes.ask(owner.data(), warning, [](const QString&) {});
        });
}

}  // namespace healthwidgets

SymbolPushButton::SymbolPushButton(const QString& text, std::string_view symbol, const char* objectName, int fontPixels,
                                   QWidget* parent)
    : QPushButton(text, parent), symbol_(symbol), side_(fontPixels + 2) {
    setObjectName(objectName);
    setAccessibleName(text);
    setFont(TextStyle::systemFont(fontPixels));
    setIconSize(QSize(side_, side_));
    drawIcon();
}

void SymbolPushButton::changeEvent(QEvent* event) {
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) drawIcon();
}

void SymbolPushButton::drawIcon() {
    // Drawn at twice the size, so that it stays sharp on a high-density screen.
    QPixmap pixmap(side_ * 2, side_ * 2);
    pixmap.setDevicePixelRatio(2.0);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        Symbols::paint(painter, QRectF(0, 0, side_, side_), symbol_, side_, palette().color(QPalette::ButtonText));
    }
    setIcon(QIcon(pixmap));
}

GlyphButton::GlyphButton(const QString& glyphOrText, const QFont& font, StyledLabel::ColorRole role, double opacity,
                         QWidget* parent)
    : QAbstractButton(parent), role_(role), opacity_(opacity) {
    setText(glyphOrText);
    setFont(font);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

QSize GlyphButton::sizeHint() const {
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(text()) + 6, metrics.height() + 4);
}

void GlyphButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QColor color = Theme::withOpacity(Theme::of(this).*role_, opacity_);
    if (isDown()) color = Theme::withOpacity(color, 0.6);
    painter.setPen(color);
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, text());
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

}  // namespace solvara
