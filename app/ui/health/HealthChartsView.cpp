#include "app/ui/health/HealthChartsView.h"

#include <cmath>

#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QButtonGroup>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QGraphicsLayout>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/state/AppState.h"
#include "app/ui/health/HealthWidgets.h"
#include "app/ui/kit/Card.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/TextStyle.h"
#include "app/ui/kit/Theme.h"
#include "core/foundation/Format.h"

namespace solvara {

namespace {

using Kind = HealthChartPlan::Kind;
using Marks = HealthChartPlan::Marks;
using healthfigures::HealthColor;

// Axis labels: the x dates at 8 px as the design gives them, the y marks one pixel larger.
constexpr int xLabelPixels = 8;
constexpr int yLabelPixels = 9;

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

void clearAxis(QCategoryAxis* axis) {
    for (const QString& label : axis->categoriesLabels()) axis->remove(label);
}

}  // namespace

HealthChartsView::HealthChartsView(AppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setObjectName("HealthChartsView");
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(16);

    auto* header = new QHBoxLayout;
    header->addWidget(new StyledLabel(localized("Trends"), TextStyle::headline, &Theme::primary));
    header->addStretch(1);
    auto* segments = new QWidget;
    segments->setObjectName("chartRange");
    segments->setFixedWidth(240);
    auto* segmentRow = new QHBoxLayout(segments);
    segmentRow->setContentsMargins(0, 0, 0, 0);
    segmentRow->setSpacing(0);
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    std::size_t index = 0;
    for (const auto range : HealthChartPlan::ranges) {
        const QString label = text(HealthChartPlan::rawValue(range));
        auto* button = new QPushButton(label);
        button->setCheckable(true);
        button->setObjectName(QString("chartRange%1").arg(HealthChartPlan::days(range)));
        button->setAccessibleName(localized("Trend range %1").arg(label));
        group->addButton(button);
        segmentRow->addWidget(button, 1);
        connect(button, &QAbstractButton::toggled, this, [this, range](bool on) {
            if (!on || range_ == range) return;
            range_ = range;
            refresh();
        });
        rangeButtons_[index++] = button;
    }
    header->addWidget(segments);
    stack->addLayout(header);

    empty_ = new QWidget;
    empty_->setObjectName("chartsEmpty");
    empty_->setMinimumHeight(200);
    auto* emptyStack = new QVBoxLayout(empty_);
    emptyStack->setSpacing(8);
    emptyStack->addStretch(1);
    emptyStack->addWidget(healthwidgets::symbolLabel("chart.line.uptrend.xyaxis", 26, &Theme::tertiary));
    auto* emptyTitle = new StyledLabel(localized("No data yet"), TextStyle::body, &Theme::secondary);
    emptyTitle->setAlignment(Qt::AlignHCenter);
    emptyStack->addWidget(emptyTitle);
    auto* emptyText =
        new StyledLabel(localized("Charts will appear after a day of tracking."), TextStyle::caption, &Theme::tertiary);
    emptyText->setAlignment(Qt::AlignHCenter);
    emptyStack->addWidget(emptyText);
    emptyStack->addStretch(1);
    stack->addWidget(empty_);

    cards_[0] = makeCard("Circadian Score", "gauge.with.dots.needle.33percent", HealthColor::blue,
                         Marks::lineWithPoints, 120, "scoreChart");
    cards_[1] = makeCard("Screen Time", "desktopcomputer", HealthColor::purple, Marks::bars, 120, "screenTimeChart");
    cards_[2] = makeCard("Light Debt", "moon.haze", HealthColor::orange, Marks::areaWithLine, 120, "lightDebtChart");
    cards_[3] = makeCard("Break Compliance", "eye", HealthColor::green, Marks::bars, 120, "complianceChart");
    cards_[4] = makeCard("Sleep Quality", "bed.double", HealthColor::indigo, Marks::bars, 100, "sleepChart");
    for (auto& card : cards_) stack->addWidget(card.card);

    applyColors();
    refresh();
}

HealthChartsView::~HealthChartsView() = default;

HealthChartsView::ChartCard HealthChartsView::makeCard(const char* title, const char* symbol, HealthColor color,
                                                       Marks marks, int height, const char* objectName) {
    ChartCard c;
    c.color = color;
    c.card = new Card(nullptr, &Theme::secondary, 0.04, 8);
    c.card->setContentsMargins(12, 12, 12, 12);
    c.card->hide();
    auto* stack = new QVBoxLayout(c.card);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(6);
    auto* titleRow = new QHBoxLayout;
    titleRow->setSpacing(6);
    titleRow->addWidget(healthwidgets::symbolLabel(symbol, 10, healthwidgets::colorRole(color)));
    titleRow->addWidget(new StyledLabel(localized(title), TextStyle::systemFont(11, QFont::Medium), &Theme::primary));
    titleRow->addStretch(1);
    stack->addLayout(titleRow);

    c.chart = new QChart;
    c.chart->legend()->hide();
    c.chart->setBackgroundVisible(false);
    c.chart->setPlotAreaBackgroundVisible(false);
    c.chart->setBackgroundRoundness(0);
    // Room above for the top mark's label and at the sides for half of a date, which
    // Qt Charts would otherwise clip or drop.
    c.chart->setMargins(QMargins(14, 6, 28, 0));
    c.chart->layout()->setContentsMargins(0, 0, 0, 0);

    c.x = new QCategoryAxis;
    c.x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    c.x->setLabelsFont(TextStyle::systemFont(xLabelPixels));
    c.x->setTruncateLabels(false);
    c.x->setLineVisible(false);
    c.y = new QCategoryAxis;
    c.y->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    c.y->setLabelsFont(TextStyle::systemFont(yLabelPixels));
    c.y->setTruncateLabels(false);
    c.y->setLineVisible(false);
    c.chart->addAxis(c.x, Qt::AlignBottom);
    c.chart->addAxis(c.y, Qt::AlignLeft);

    auto attach = [&c](QAbstractSeries* series) {
        c.chart->addSeries(series);
        series->attachAxis(c.x);
        series->attachAxis(c.y);
    };
    switch (marks) {
        case Marks::bars:
            c.bars = new QBarSeries;
            c.barSet = new QBarSet(localized(title));
            c.barSet->setBorderColor(Qt::transparent);
            c.bars->append(c.barSet);
            c.bars->setBarWidth(0.6);
            attach(c.bars);
            break;
        case Marks::areaWithLine:
            // The area has no outline of its own; the line over it is a series of its own.
            c.baseline = new QLineSeries;
            c.areaTop = new QLineSeries;
            c.area = new QAreaSeries(c.areaTop, c.baseline);
            attach(c.area);
            c.line = new QLineSeries;
            attach(c.line);
            break;
        case Marks::lineWithPoints:
            c.line = new QLineSeries;
            attach(c.line);
            c.points = new QScatterSeries;
            c.points->setMarkerSize(6);
            c.points->setBorderColor(Qt::transparent);
            attach(c.points);
            break;
    }
    c.view = new QChartView(c.chart);
    // An area series does not own its boundary lines: the view does, and deletes them after the
    // chart and its area are gone.
    if (c.area != nullptr) {
        c.areaTop->setParent(c.view);
        c.baseline->setParent(c.view);
    }
    c.view->setObjectName(objectName);
    c.view->setAccessibleName(localized(title));
    c.view->setRenderHint(QPainter::Antialiasing);
    c.view->setFrameShape(QFrame::NoFrame);
    c.view->setBackgroundBrush(Qt::NoBrush);
    c.view->setStyleSheet("background: transparent");
    c.view->setFixedHeight(height);
    c.view->setFocusPolicy(Qt::NoFocus);
    stack->addWidget(c.view);
    return c;
}

void HealthChartsView::show(ChartCard& c, const HealthChartPlan::Card& plan) {
    const auto count = static_cast<qreal>(plan.categories.size());
    clearAxis(c.x);
    c.x->setStartValue(-0.5);
    for (const std::size_t slot : plan.labelledSlots)
        c.x->append(text(plan.categories[slot]), static_cast<qreal>(slot));
    c.x->setRange(-0.5, count - 0.5);
    clearAxis(c.y);
    c.y->setStartValue(plan.yMin);
    // The plan makes every label distinct: the axis keys its marks by label and would drop a
    // repeated one.
    for (std::size_t i = 0; i < plan.yTicks.size(); ++i) c.y->append(text(plan.yLabels[i]), plan.yTicks[i]);
    c.y->setRange(plan.yMin, plan.yMax);

    if (c.barSet != nullptr) {
        QList<qreal> values(plan.values.begin(), plan.values.end());
        c.barSet->remove(0, c.barSet->count());
        c.barSet->append(values);
    }
    if (c.line != nullptr) {
        QList<QPointF> curve;
        for (const auto& [x, y] : HealthChartPlan::smoothCurve(plan.values, plan.yMin, plan.yMax)) curve.append({x, y});
        c.line->replace(curve);
        if (c.areaTop != nullptr) c.areaTop->replace(curve);
    }
    if (c.baseline != nullptr) {
        c.baseline->replace(QList<QPointF>{{0.0, 0.0}, {count - 1, 0.0}});
    }
    if (c.points != nullptr) {
        QList<QPointF> points;
        for (std::size_t i = 0; i < plan.values.size(); ++i) points.append({static_cast<qreal>(i), plan.values[i]});
        c.points->replace(points);
    }
    QString description = localized("%1 days").arg(plan.categories.size());
    if (!plan.categories.empty()) {
        description += ", " + text(plan.categories.front()) + " to " + text(plan.categories.back()) + ", " +
                       localized("latest %1").arg(text(HealthChartPlan::readOut(plan, plan.values.back())));
    }
    c.view->setAccessibleDescription(description);
}

void HealthChartsView::applyColors() {
    const Theme& theme = Theme::of(this);
    for (auto& c : cards_) {
        const QColor color = theme.*healthwidgets::colorRole(c.color);
        for (QCategoryAxis* axis : {c.x, c.y}) {
            axis->setLabelsColor(theme.secondary);
            axis->setGridLineColor(theme.separator);
        }
        if (c.barSet != nullptr) c.barSet->setColor(Theme::withOpacity(color, 0.7));
        if (c.area != nullptr) {
            c.area->setColor(Theme::withOpacity(color, 0.3));
            c.area->setPen(Qt::NoPen);
        }
        if (c.line != nullptr) {
            QPen pen(color, 2);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
            c.line->setPen(pen);
        }
        if (c.points != nullptr) c.points->setColor(color);
    }
}

void HealthChartsView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        applyColors();
        showChosenRange();
    }
}

void HealthChartsView::showChosenRange() {
    // The style's sunken look for a checked button is a shade apart from the others, too faint to
    // tell the chosen range on a dark window: the chosen segment takes the accent instead.
    const Theme& theme = Theme::of(this);
    for (std::size_t i = 0; i < rangeButtons_.size(); ++i) {
        QAbstractButton* button = rangeButtons_[i];
        const bool chosen = HealthChartPlan::ranges[i] == range_;
        {
            const QSignalBlocker blocker(button);
            button->setChecked(chosen);
        }
        QPalette colors;
        if (chosen) {
            colors.setColor(QPalette::Button, theme.accent);
            colors.setColor(QPalette::ButtonText, QColor(Qt::white));
        }
        if (button->palette().color(QPalette::Button) != (chosen ? theme.accent : palette().color(QPalette::Button)))
            button->setPalette(colors);
    }
}

void HealthChartsView::refresh() {
    showChosenRange();
    auto snapshots = state_.healthHistory().snapshotsForLastDays(HealthChartPlan::days(range_));
    if (shown_ && *shown_ == snapshots) return;
    const HealthChartPlan plan(snapshots);
    shown_ = std::move(snapshots);

    empty_->setVisible(plan.empty());
    std::array<bool, HealthChartPlan::kindCount> present{};
    for (const auto& cardPlan : plan.cards()) {
        const auto index = static_cast<std::size_t>(cardPlan.kind);
        present[index] = true;
        show(cards_[index], cardPlan);
    }
    for (std::size_t i = 0; i < cards_.size(); ++i) cards_[i].card->setVisible(present[i]);
}

}  // namespace solvara
