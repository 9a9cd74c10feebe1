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
// while the card is open. Opening and closing on screen play over 0.25 s: the chevron turns and
// the open block fades in as it comes down from under the header (and back). The card takes its
// open height at once and gives it back only once the block has left, so the page around it
// stays still and a frame paints the block's own rectangle and the chevron, nothing more.
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
    QWidget* chart() const { return chart_; }
    // A new builder (a new input for the chart); an open card rebuilds its chart in place.
    void setChartBuilder(ChartBuilder chart);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void setExpanded(bool expanded);
    void buildOpenBlock();
    // A picture of the whole open block at its full size, drawn while it comes and goes.
    void takeStill();
    void animationStep(double progress);
    void finishAnimation();

    Content content_;
    ChartBuilder builder_;
    UiServices& ui_;
    QAbstractButton* header_;
    WrappedText* summary_;
    QWidget* chevron_;
    QVBoxLayout* stack_;
    QWidget* openBlock_ = nullptr;
    QVBoxLayout* openLayout_ = nullptr;
    QWidget* chart_ = nullptr;
    QVariantAnimation* animation_;
    QPixmap still_;
};

}  // namespace solvara
