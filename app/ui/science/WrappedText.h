#pragma once

#include <array>

#include <QWidget>

#include "app/ui/kit/Theme.h"

namespace solvara {

// A text wrapped to the width it is given, in one font and one theme colour, with extra
// spacing between lines and an optional line limit (the last line shown ends in "…" when text
// is left over). Paragraphs are separated by line feeds. Its height follows its width.
class WrappedText : public QWidget {
public:
    using ColorRole = QColor Theme::*;

    WrappedText(const QString& text, const QFont& font, ColorRole role, QWidget* parent = nullptr);

    void setMaxLines(int lines);  // 0: unlimited
    int maxLines() const { return maxLines_; }
    void setLineSpacing(double extra);
    const QString& text() const { return text_; }

    // The lines shown at `width`, after the limit; the last one elided when text is cut.
    QStringList visibleLines(int width) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    QFont font_;
    ColorRole role_;
    int maxLines_ = 0;
    double lineSpacing_ = 0;
    // Layouts ask for the height at the same few widths many times (a card that opens asks on
    // every frame): the last answers are kept, one per width.
    struct Wrapped {
        int width = -1;
        QStringList lines;
    };
    mutable std::array<Wrapped, 4> cache_;
    mutable std::size_t nextSlot_ = 0;
};

}  // namespace solvara
