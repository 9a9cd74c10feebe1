#pragma once

#include <functional>

#include <QAbstractButton>
#include <QPixmap>
#include <QWidget>

#include "app/ui/science/Citation.h"

class QVariantAnimation;
class QVBoxLayout;

namespace solvara {

struct UiServices;
class WrappedText;

// One reference under a card's explanation: authors and year, the journal, and a "Paper" link
// when the citation has an address.
class CitationView : public QWidget {
public:
    CitationView(const Citation& citation, UiServices& ui, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A science topic that opens in place: the header (symbol, title, summary and a chevron) is one
// button; opening shows the chart, the explanation and the reference. The chart is built only
// while the card is open. Opening and closing on screen play over 0.25 s: the chevron turns, the
// card's height moves from the old to the new and the cards below move with it, and a picture
// of the open block fades in as it comes down from under the header (and back), its bottom edge
// riding on the card's. The widgets take their new state at once (the whole summary, the block
// shown, or hidden when closing); only the height and the painting follow.
class ScienceCard : public QWidget {
public:
    using ChartBuilder = std::function<QWidget*(QWidget* parent)>;

    struct Content {
        const char* icon;
        const char* title;
        const char* summary;
        QString explanation;  // paragraphs joined by one empty line
        Citation citation;
    };

    ScienceCard(const Content& content, ChartBuilder chart, UiServices& ui, QWidget* parent = nullptr);

    bool isExpanded() const;
    // The chart on show; null while the card is closed.
    QWidget* chart() const { return isExpanded() ? chart_ : nullptr; }
    // A new builder (a new input for the chart); an open card rebuilds its chart in place.
    void setChartBuilder(ChartBuilder chart);

    bool hasHeightForWidth() const override { return true; }
    // While opening or closing, the height the card has reached; otherwise the header's and, when
    // open, the block's.
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setExpanded(bool expanded);
    void buildOpenBlock();
    int restingHeight(int width) const;
    int blockHeight(int width) const;
    // The header on top and the block, always at its full height, below it; the card's own
    // height cuts the block off while it comes and goes.
    void placeChildren();
    // A picture of the whole open block at its full size, drawn while it comes and goes.
    void takeStill();
    void animationStep(double progress);
    void finishAnimation();
    bool inMotion() const;

    Content content_;
    ChartBuilder builder_;
    UiServices& ui_;
    QAbstractButton* header_;
    WrappedText* summary_;
    QWidget* chevron_;
    QWidget* openBlock_ = nullptr;
    QVBoxLayout* openLayout_ = nullptr;
    QWidget* chart_ = nullptr;
    QVariantAnimation* animation_;
    QPixmap still_;
    // One run of the animation: its progress (0 closed, 1 open) goes from `fromProgress_` while
    // the height goes from `fromHeight_` to `toHeight_` (a reversal starts where the last run was).
    double fromProgress_ = 0;
    double shownProgress_ = 0;
    int fromHeight_ = 0;
    int toHeight_ = 0;
    int shownHeight_ = 0;
};

}  // namespace solvara
