#include "app/ui/science/ScienceCard.h"

#include <algorithm>
#include <cmath>

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
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);

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

    animation_ = new QVariantAnimation(this);
    animation_->setObjectName("scienceCardAnimation");
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

bool ScienceCard::inMotion() const {
    // A held (paused) run still shows its frame.
    return animation_->state() != QAbstractAnimation::Stopped;
}

void ScienceCard::setChartBuilder(ChartBuilder chart) {
    builder_ = std::move(chart);
    if (!chart_ || !openLayout_) return;
    QWidget* replacement = builder_(openBlock_);
    // The layout hands back the old chart's item: it is ours to delete.
    delete openLayout_->replaceWidget(chart_, replacement);
    chart_->hide();
    chart_->deleteLater();
    chart_ = replacement;
}

int ScienceCard::blockHeight(int width) const {
    return openBlock_ ? openBlock_->layout()->totalHeightForWidth(width) : 0;
}

int ScienceCard::restingHeight(int width) const {
    return header_->heightForWidth(width) + (isExpanded() ? blockHeight(width) : 0);
}

int ScienceCard::heightForWidth(int width) const {
    return inMotion() ? shownHeight_ : restingHeight(width);
}

QSize ScienceCard::sizeHint() const {
    int width = header_->sizeHint().width();
    if (openBlock_) width = std::max(width, openBlock_->sizeHint().width());
    return {width, heightForWidth(width)};
}

QSize ScienceCard::minimumSizeHint() const {
    int width = header_->minimumSizeHint().expandedTo(header_->minimumSize()).width();
    if (openBlock_)
        width = std::max(width, openBlock_->minimumSizeHint().expandedTo(openBlock_->minimumSize()).width());
    return {width, 0};
}

bool ScienceCard::event(QEvent* event) {
    // The header's or the block's size hint changed (the summary's line limit, a new chart).
    if (event->type() == QEvent::LayoutRequest) {
        placeChildren();
        updateGeometry();
        return true;
    }
    return QWidget::event(event);
}

void ScienceCard::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeChildren();
}

void ScienceCard::placeChildren() {
    const int top = header_->heightForWidth(width());
    header_->setGeometry(0, 0, width(), top);
    if (openBlock_) openBlock_->setGeometry(0, top, width(), blockHeight(width()));
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
}

void ScienceCard::setExpanded(bool expanded) {
    // A reversal goes on from the frame on show.
    const int startHeight = height();
    const double from = inMotion() ? shownProgress_ : (expanded ? 0.0 : 1.0);
    animation_->stop();
    summary_->setMaxLines(expanded ? 0 : 2);
    // The header's new height is needed now, not once the event loop gets to it.
    header_->layout()->activate();
    if (expanded && !openBlock_) buildOpenBlock();
    if (!isVisible()) {
        // Nothing to watch: land on the end state at once.
        if (openBlock_) openBlock_->setVisible(expanded);
        animationStep(expanded ? 1.0 : 0.0);
        finishAnimation();
        return;
    }
    placeChildren();
    if (openBlock_) {
        openBlock_->show();
        if (still_.isNull()) takeStill();
        // The block's widgets are there at once for the keyboard and screen readers (or gone at
        // once); what is seen of it is the card's painting of its picture.
        openBlock_->setVisible(expanded);
        auto* unpainted = new TransitionEffect(openBlock_);
        unpainted->setFrame(0.0, {}, 1.0);
        openBlock_->setGraphicsEffect(unpainted);
    }
    fromProgress_ = from;
    fromHeight_ = startHeight;
    toHeight_ = restingHeight(width());
    animation_->setStartValue(from);
    animation_->setEndValue(expanded ? 1.0 : 0.0);
    animation_->start();
    animationStep(from);
}

void ScienceCard::finishAnimation() {
    still_ = QPixmap();
    if (openBlock_) {
        openBlock_->setGraphicsEffect(nullptr);
        if (!isExpanded()) {
            // Deferred: the block may hold the widget whose signal is running.
            openBlock_->hide();
            openBlock_->deleteLater();
            openBlock_ = nullptr;
            openLayout_ = nullptr;
            chart_ = nullptr;
        }
    }
    placeChildren();
    updateGeometry();
    update();
}

void ScienceCard::takeStill() {
    openBlock_->setGraphicsEffect(nullptr);
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
    shownProgress_ = progress;
    static_cast<Chevron*>(chevron_)->setAngle(90 * progress);
    if (!inMotion()) return;
    // The height eases from where it was to where it goes as the progress does.
    const double to = animation_->endValue().toDouble();
    const double share = to == fromProgress_ ? 1.0 : (progress - fromProgress_) / (to - fromProgress_);
    const int height = static_cast<int>(std::lround(fromHeight_ + (toHeight_ - fromHeight_) * share));
    if (height != shownHeight_) {
        shownHeight_ = height;
        updateGeometry();
    }
    update();
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
    if (still_.isNull()) return;
    // The block's picture hangs from the card's bottom edge, below the header, fading in as the
    // card opens. A faded picture is blended, in strips for the same reason as the fill above.
    const int top = header_->height();
    const QRect band = area & QRect(0, top, width(), height() - top);
    const int stillTop = height() - static_cast<int>(still_.deviceIndependentSize().height());
    const qreal ratio = still_.devicePixelRatio();
    painter.setOpacity(std::clamp(shownProgress_, 0.0, 1.0));
    for (int y = band.top(); y <= band.bottom(); y += stripRows) {
        const QRect strip = band & QRect(0, y, width(), stripRows);
        const QRectF source(strip.x() * ratio, (strip.y() - stillTop) * ratio, strip.width() * ratio,
                            strip.height() * ratio);
        painter.drawPixmap(QRectF(strip), still_, source);
    }
}

}  // namespace solvara
