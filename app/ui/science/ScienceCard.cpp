#include "app/ui/science/ScienceCard.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QVariantAnimation>

#include "app/ui/kit/Divider.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/StyledLabel.h"
#include "app/ui/kit/SymbolView.h"
#include "app/ui/kit/Symbols.h"
#include "app/ui/kit/TextStyle.h"
#include "app/ui/kit/Theme.h"
#include "app/ui/kit/Transition.h"
#include "app/ui/kit/UiServices.h"
#include "app/ui/science/WrappedText.h"

namespace solvara {

namespace {

constexpr int headerMargin = 14;
constexpr int cornerRadius = 10;
constexpr int stripRows = 64;
constexpr int animationMilliseconds = 250;

// The chevron turns a quarter clockwise (pointing down) as its card opens.
class Chevron : public QWidget {
public:
    explicit Chevron(QWidget* parent) : QWidget(parent) {
        setFixedSize(14, 14);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    void setAngle(double degrees) {
        angle_ = degrees;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(width() / 2.0, height() / 2.0);
        painter.rotate(angle_);
        painter.translate(-width() / 2.0, -height() / 2.0);
        Symbols::paint(painter, QRectF(rect()), "chevron.right", 12, Theme::of(this).tertiary);
    }

private:
    double angle_ = 0;
};

// The whole padded header row takes the press, empty space included.
class CardHeader : public QAbstractButton {
public:
    explicit CardHeader(QWidget* parent) : QAbstractButton(parent) {
        setCheckable(true);
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::PointingHandCursor);
    }
    QSize sizeHint() const override { return layout() ? layout()->sizeHint() : QSize(); }
    bool hasHeightForWidth() const override { return layout() && layout()->hasHeightForWidth(); }
    int heightForWidth(int width) const override { return layout() ? layout()->totalHeightForWidth(width) : -1; }

protected:
    void paintEvent(QPaintEvent*) override {
        if (!hasFocus()) return;
        QStylePainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(2, 2, -2, -2);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
};

// "Paper": the reference's address, opened in the user's browser.
class PaperLink : public QAbstractButton {
public:
    PaperLink(const QString& url, QWidget* parent) : QAbstractButton(parent) {
        setObjectName("paperLink");
        setText(localized("Paper"));
        setAccessibleName(localized("Paper"));
        setAccessibleDescription(url);
        setToolTip(url);
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::PointingHandCursor);
    }
    QSize sizeHint() const override {
        const QFontMetrics metrics(TextStyle::font(TextStyle::caption2));
        return {12 + 3 + metrics.horizontalAdvance(text()) + 4, metrics.height() + 2};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor blue = Theme::of(this).blue;
        Symbols::paint(painter, QRectF(0, 0, 12, height()), "link", 10, blue);
        painter.setFont(TextStyle::font(TextStyle::caption2));
        painter.setPen(blue);
        painter.drawText(QRectF(15, 0, width() - 15, height()), Qt::AlignVCenter | Qt::AlignLeft, text());
        if (hasFocus()) {
            QStyleOptionFocusRect option;
            option.initFrom(this);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
        }
    }
};

}  // namespace

// --- Citation --------------------------------------------------------------------------------

CitationView::CitationView(const Citation& citation, UiServices& ui, QWidget* parent) : QWidget(parent) {
    setObjectName("citationView");
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 10, 10, 10);
    row->setSpacing(6);
    row->setAlignment(Qt::AlignTop);

    auto* quote = new SymbolView("quote.opening", 10, &Theme::tertiary, this);
    quote->setContentsMargins(0, 2, 0, 0);
    row->addWidget(quote, 0, Qt::AlignTop);

    auto* lines = new QVBoxLayout();
    lines->setSpacing(2);
    QFont authorsFont = TextStyle::font(TextStyle::caption);
    authorsFont.setWeight(QFont::Medium);
    auto* authors =
        new StyledLabel(citation.authors + " (" + citation.year + ")", authorsFont, &Theme::secondary, this);
    authors->setWordWrap(true);
    QFont journalFont = TextStyle::font(TextStyle::caption2);
    journalFont.setItalic(true);
    auto* journal = new StyledLabel(citation.journal, journalFont, &Theme::tertiary, this);
    journal->setWordWrap(true);
    lines->addWidget(authors);
    lines->addWidget(journal);
    row->addLayout(lines, 1);

    if (const auto url = citation.url()) {
        auto* link = new PaperLink(*url, this);
        UrlOpener& opener = ui.urlOpener;
        const QString address = *url;
        connect(link, &QAbstractButton::clicked, this, [&opener, address] { opener.openUrl(address); });
        row->addWidget(link, 0, Qt::AlignTop);
    }
}

void CitationView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), 6, 6);
    painter.fillPath(shape, Theme::withOpacity(Theme::of(this).primary, 0.03));
}

// --- Card ------------------------------------------------------------------------------------

ScienceCard::ScienceCard(const Content& content, ChartBuilder chart, UiServices& ui, QWidget* parent)
    : QWidget(parent), content_(content), builder_(std::move(chart)), ui_(ui) {
    stack_ = new QVBoxLayout(this);
    stack_->setContentsMargins(0, 0, 0, 0);
    stack_->setSpacing(0);

    header_ = new CardHeader(this);
    header_->setObjectName("scienceCardHeader");
    header_->setAccessibleName(localized(content.title));
    header_->setAccessibleDescription(localized(content.summary));
    auto* row = new QHBoxLayout(header_);
    row->setContentsMargins(headerMargin, headerMargin, headerMargin, headerMargin);
    row->setSpacing(10);
    auto* icon = new SymbolView(content.icon, 15, &Theme::blue, header_);
    icon->setFixedWidth(24);
    icon->setAlignment(Qt::AlignCenter);
    row->addWidget(icon);
    auto* texts = new QVBoxLayout();
    texts->setSpacing(2);
    texts->addWidget(new StyledLabel(localized(content.title), TextStyle::headline, &Theme::primary, header_));
    summary_ =
        new WrappedText(localized(content.summary), TextStyle::font(TextStyle::caption), &Theme::secondary, header_);
    summary_->setObjectName("scienceCardSummary");
    summary_->setMaxLines(2);
    texts->addWidget(summary_);
    row->addLayout(texts, 1);
    chevron_ = new Chevron(header_);
    chevron_->setObjectName("scienceCardChevron");
    row->addWidget(chevron_);
    for (QWidget* child : header_->findChildren<QWidget*>()) child->setAttribute(Qt::WA_TransparentForMouseEvents);
    stack_->addWidget(header_);

    animation_ = new QVariantAnimation(this);
    animation_->setDuration(animationMilliseconds);
    animation_->setEasingCurve(motion::easeInOut());
    connect(animation_, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { animationStep(value.toDouble()); });
    connect(animation_, &QVariantAnimation::finished, this, &ScienceCard::finishAnimation);
    connect(header_, &QAbstractButton::toggled, this, &ScienceCard::setExpanded);
}

bool ScienceCard::isExpanded() const {
    return header_->isChecked();
}

void ScienceCard::setChartBuilder(ChartBuilder chart) {
    builder_ = std::move(chart);
    if (!chart_ || !openLayout_) return;
    QWidget* replacement = builder_(openBlock_);
    openLayout_->replaceWidget(chart_, replacement);
    chart_->hide();
    chart_->deleteLater();
    chart_ = replacement;
}

void ScienceCard::buildOpenBlock() {
    openBlock_ = new QWidget(this);
    openBlock_->setObjectName("scienceCardDetails");
    auto* outer = new QVBoxLayout(openBlock_);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto* dividerRow = new QHBoxLayout();
    dividerRow->setContentsMargins(headerMargin, 0, headerMargin, 0);
    dividerRow->addWidget(new Divider(Qt::Horizontal, openBlock_));
    outer->addLayout(dividerRow);
    openLayout_ = new QVBoxLayout();
    openLayout_->setContentsMargins(headerMargin, headerMargin, headerMargin, headerMargin);
    openLayout_->setSpacing(14);
    chart_ = builder_(openBlock_);
    openLayout_->addWidget(chart_);
    auto* explanation =
        new WrappedText(content_.explanation, TextStyle::font(TextStyle::callout), &Theme::secondary, openBlock_);
    explanation->setObjectName("scienceCardExplanation");
    explanation->setLineSpacing(3);
    openLayout_->addWidget(explanation);
    openLayout_->addWidget(new CitationView(content_.citation, ui_, openBlock_));
    outer->addLayout(openLayout_);
    stack_->addWidget(openBlock_);
}

void ScienceCard::setExpanded(bool expanded) {
    summary_->setMaxLines(expanded ? 0 : 2);
    if (expanded && !openBlock_) buildOpenBlock();
    const double from = animation_->state() == QAbstractAnimation::Running ? animation_->currentValue().toDouble()
                                                                           : (expanded ? 0.0 : 1.0);
    animation_->stop();
    animation_->setStartValue(from);
    animation_->setEndValue(expanded ? 1.0 : 0.0);
    if (isVisible()) {
        if (openBlock_) {
            openBlock_->show();
            // A reversal goes on with the picture already playing.
            if (still_.isNull()) takeStill();
        }
        animationStep(from);
        animation_->start();
    } else {
        // Nothing to watch: land on the end state at once.
        animationStep(expanded ? 1.0 : 0.0);
        finishAnimation();
    }
}

void ScienceCard::finishAnimation() {
    if (!openBlock_) return;
    still_ = QPixmap();
    openBlock_->setGraphicsEffect(nullptr);
    if (header_->isChecked()) return;
    // Deferred: the block may hold the widget whose signal is running.
    openBlock_->hide();
    openBlock_->deleteLater();
    openBlock_ = nullptr;
    openLayout_ = nullptr;
    chart_ = nullptr;
}

void ScienceCard::takeStill() {
    openBlock_->setGraphicsEffect(nullptr);
    // Laid out at its final size for the picture: the layout may not have placed it yet.
    openBlock_->resize(width(), openBlock_->layout()->totalHeightForWidth(width()));
    openBlock_->layout()->activate();
    // Without the window background that grab() would lay under it: the block is see-through,
    // and its picture must show the card beneath as the block itself does once it lands.
    const qreal ratio = devicePixelRatioF();
    still_ = QPixmap(openBlock_->size() * ratio);
    still_.setDevicePixelRatio(ratio);
    still_.fill(Qt::transparent);
    openBlock_->render(&still_, QPoint(), QRegion(), QWidget::DrawChildren);
}

void ScienceCard::animationStep(double progress) {
    static_cast<Chevron*>(chevron_)->setAngle(90 * progress);
    if (!openBlock_) return;
    if (progress >= 1.0) {
        openBlock_->setGraphicsEffect(nullptr);
        return;
    }
    // The block keeps its full height all along, so nothing around it moves while it plays:
    // only its own rectangle is painted again, the picture fading in as it comes down from
    // under the header (and back), clipped to that rectangle.
    auto* effect = dynamic_cast<TransitionEffect*>(openBlock_->graphicsEffect());
    if (effect == nullptr) {
        effect = new TransitionEffect(openBlock_);
        effect->setClipped(true);
        effect->setPicture(still_);
        openBlock_->setGraphicsEffect(effect);
    }
    const double full = still_.deviceIndependentSize().height();
    effect->setFrame(progress, QPointF(0, -(1.0 - progress) * full), 1.0);
}

void ScienceCard::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Theme& theme = Theme::of(this);
    const QColor fill = Theme::withOpacity(theme.controlBackground, 0.5);
    const QColor border = Theme::withOpacity(theme.primary, 0.08);
    // Only the rows of the rounded corners need the shape. Between them the shape is a plain
    // rectangle with a one-pixel border down each side, filled as such: an opening block
    // repaints its rectangle on every frame, and an antialiased path that tall costs many
    // times more to fill than the same pixels as rectangles. The rectangles go in strips of
    // fewer rows than Qt's raster engine hands to its thread pool (about a hundred): for a
    // translucent colour, waking the pool costs the painting thread more than the blend.
    const int straightTop = std::min(cornerRadius, height() / 2);
    const int straightBottom = std::max(height() - cornerRadius, straightTop);
    const QRect area = event->rect() & rect();
    const QRect straight = area & QRect(0, straightTop, width(), straightBottom - straightTop);
    for (int top = straight.top(); top <= straight.bottom(); top += stripRows) {
        const QRect strip = straight & QRect(0, top, width(), stripRows);
        painter.fillRect(strip, fill);
        painter.fillRect(strip & QRect(0, 0, 1, height()), border);
        painter.fillRect(strip & QRect(width() - 1, 0, 1, height()), border);
    }
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    QPainterPath inner;
    inner.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius - 0.5, cornerRadius - 0.5);
    painter.setPen(QPen(border, 1));
    for (const QRect& corners :
         {QRect(0, 0, width(), straightTop), QRect(0, straightBottom, width(), height() - straightBottom)}) {
        const QRect band = area & corners;
        if (band.isEmpty()) continue;
        painter.save();
        painter.setClipRect(band, Qt::IntersectClip);
        painter.fillPath(shape, fill);
        painter.drawPath(inner);
        painter.restore();
    }
}

}  // namespace solvara
