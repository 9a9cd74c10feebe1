#include "app/ui/breaks/BreakOverlayView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "app/ui/breaks/BreathingCircle.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/SymbolView.h"
#include "app/ui/kit/TextStyle.h"
#include "core/foundation/Format.h"

namespace solvara {

namespace {

constexpr int stackSpacing = 24;
constexpr int titleSize = 36;

const QColor white(255, 255, 255);

QLabel* label(const QString& text, const QFont& font, const QColor& color, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setFont(font);
    l->setAlignment(Qt::AlignCenter);
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, color);
    l->setPalette(palette);
    return l;
}

SymbolView* symbol(std::string_view name, int pixelSize, const QColor& color, QWidget* parent) {
    auto* view = new SymbolView(name, pixelSize, color, parent);
    view->setAlignment(Qt::AlignCenter);
    return view;
}

QFont roundedBold(int pixelSize) {
    return TextStyle::systemFont(pixelSize, QFont::Bold);
}

// The small filled dot in front of each stretching prompt.
class Bullet : public QWidget {
public:
    Bullet(const QColor& color, QWidget* parent) : QWidget(parent), color_(color) { setFixedSize(6, 6); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(color_);
        painter.drawEllipse(rect());
    }

private:
    QColor color_;
};

constexpr std::array<const char*, 4> prompts{
    "Roll your shoulders back 5 times",
    "Look up at the ceiling, hold 5 seconds",
    "Stretch your wrists in circles",
    "Stand up and take 3 deep breaths",
};

}  // namespace

BreakOverlayView::BreakOverlayView(BreakScreenType breakScreenType, std::int64_t remainingSeconds, const Theme& theme,
                                   QWidget* parent)
    : QWidget(parent), breakScreenType_(breakScreenType), remainingSeconds_(remainingSeconds) {
    setAttribute(Qt::WA_TranslucentBackground);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);

    // Simple text.
    {
        QWidget* page = addPage();
        auto* stack = static_cast<QVBoxLayout*>(page->layout());
        stack->addWidget(symbol("eye", 60, theme.orange, page));
        stack->addWidget(label(localized("Look Away"), roundedBold(titleSize), white, page));
        stack->addWidget(label(localized("Focus on something 20 feet away"), TextStyle::font(TextStyle::title3),
                               Theme::withOpacity(white, 0.7), page));
        auto* countdown = label({}, roundedBold(72), theme.orange, page);
        stack->addWidget(countdown);
        layouts_[0] = {page, countdown, false};
    }
    // Exercise prompts.
    {
        QWidget* page = addPage();
        auto* stack = static_cast<QVBoxLayout*>(page->layout());
        stack->addWidget(symbol("figure.stand", 60, theme.green, page));
        stack->addWidget(label(localized("Stretch Break"), roundedBold(titleSize), white, page));
        auto* list = new QWidget(page);
        auto* rows = new QVBoxLayout(list);
        rows->setSpacing(12);
        rows->setContentsMargins(40, 0, 40, 0);
        for (const char* prompt : prompts) {
            auto* row = new QHBoxLayout();
            row->setSpacing(8);
            row->addWidget(new Bullet(Theme::withOpacity(theme.green, 0.7), list), 0, Qt::AlignVCenter);
            QLabel* text =
                label(localized(prompt), TextStyle::font(TextStyle::body), Theme::withOpacity(white, 0.8), list);
            text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            row->addWidget(text, 0, Qt::AlignVCenter);
            row->addStretch(1);
            rows->addLayout(row);
        }
        stack->addWidget(list, 0, Qt::AlignHCenter);
        auto* countdown = label({}, roundedBold(48), theme.green, page);
        stack->addWidget(countdown);
        layouts_[1] = {page, countdown, true};
    }
    // Nature image.
    {
        QWidget* page = addPage();
        auto* stack = static_cast<QVBoxLayout*>(page->layout());
        stack->addWidget(symbol("leaf.fill", 80, theme.green, page));
        stack->addWidget(label(localized("Take a moment to relax"), TextStyle::font(TextStyle::title2),
                               Theme::withOpacity(white, 0.8), page));
        auto* countdown = label({}, roundedBold(48), white, page);
        stack->addWidget(countdown);
        layouts_[2] = {page, countdown, false};
    }
    // Breathing animation.
    {
        QWidget* page = addPage();
        auto* stack = static_cast<QVBoxLayout*>(page->layout());
        breathingCircle_ = new BreathingCircle(remainingSeconds, theme.cyan, page);
        stack->addWidget(breathingCircle_, 0, Qt::AlignHCenter);
        stack->addWidget(label(localized("Breathe"), roundedBold(titleSize), white, page));
        auto* countdown = label({}, roundedBold(48), theme.cyan, page);
        stack->addWidget(countdown);
        layouts_[3] = {page, countdown, true};
    }

    for (const Layout& layout : layouts_) outer->addWidget(layout.page, 0, Qt::AlignCenter);
    setContent(breakScreenType, remainingSeconds);
}

QWidget* BreakOverlayView::addPage() {
    auto* page = new QWidget(this);
    auto* stack = new QVBoxLayout(page);
    stack->setSpacing(stackSpacing);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setAlignment(Qt::AlignCenter);
    page->hide();
    return page;
}

std::size_t BreakOverlayView::indexOf(BreakScreenType type) {
    switch (type) {
        case BreakScreenType::simpleText:
            return 0;
        case BreakScreenType::exercisePrompts:
            return 1;
        case BreakScreenType::natureImage:
            return 2;
        case BreakScreenType::breathingAnimation:
            return 3;
    }
    return 0;
}

QString BreakOverlayView::countdownText() const {
    return layouts_[indexOf(breakScreenType_)].countdown->text();
}

void BreakOverlayView::setContent(BreakScreenType breakScreenType, std::int64_t remainingSeconds) {
    breakScreenType_ = breakScreenType;
    remainingSeconds_ = remainingSeconds;
    breathingCircle_->setRemainingSeconds(remainingSeconds);
    Layout& shown = layouts_[indexOf(breakScreenType)];
    const std::string text = format::integer(remainingSeconds) + (shown.secondsSuffix ? "s" : "");
    shown.countdown->setText(QString::fromStdString(text));
    for (Layout& layout : layouts_) {
        if (&layout != &shown) layout.page->hide();
    }
    shown.page->show();
}

void BreakOverlayView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0, static_cast<int>(backdropOpacity * 255.0 + 0.5)));
}

}  // namespace solvara
