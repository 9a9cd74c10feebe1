#include "app/ui/health/WeeklyReportView.h"

#include <algorithm>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/state/AppState.h"
#include "app/ui/health/HealthExports.h"
#include "app/ui/health/HealthFigures.h"
#include "app/ui/health/HealthWidgets.h"
#include "app/ui/kit/Card.h"
#include "app/ui/kit/Divider.h"
#include "app/ui/kit/Localized.h"
#include "app/ui/kit/UiServices.h"

namespace solvara {

namespace {

using healthfigures::HealthColor;

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

// The insight lines in their fixed order, by symbol (each line has its own).
constexpr std::array<const char*, 5> insightSymbols{"exclamationmark.triangle", "moon.haze", "eye.slash",
                                                    "checkmark.seal", "star"};

}  // namespace

WeeklyReportView::WeeklyReportView(AppState& state, UiServices& ui, QWidget* parent)
    : QWidget(parent), state_(state), ui_(ui) {
    setObjectName("WeeklyReportView");
    const auto [stack, header] =
        healthwidgets::titledCard(this, 16, "doc.text.magnifyingglass", &Theme::blue, localized("Weekly Report"));
    exportButton_ = new SymbolPushButton(localized("Export"), "square.and.arrow.up", "exportWeeklyReport", 10);
    exportButton_->setAccessibleName(localized("Export Weekly Report"));
    header->addWidget(exportButton_);
    connect(exportButton_, &QPushButton::clicked, this, [this] { exportReport(); });

    empty_ = new QWidget;
    empty_->setObjectName("weeklyReportEmpty");
    empty_->setMinimumHeight(100);
    auto* emptyStack = new QVBoxLayout(empty_);
    emptyStack->setSpacing(8);
    emptyStack->addStretch(1);
    emptyStack->addWidget(healthwidgets::symbolLabel("chart.bar.doc.horizontal", 26, &Theme::tertiary));
    auto* emptyTitle = new StyledLabel(localized("Not enough data yet"), TextStyle::body, &Theme::secondary);
    emptyTitle->setAlignment(Qt::AlignHCenter);
    emptyStack->addWidget(emptyTitle);
    auto* emptyText = new StyledLabel(localized("Your weekly report will appear after tracking for a few days."),
                                      TextStyle::caption, &Theme::tertiary);
    emptyText->setAlignment(Qt::AlignHCenter);
    emptyText->setWordWrap(true);
    emptyStack->addWidget(emptyText);
    emptyStack->addStretch(1);
    stack->addWidget(empty_);

    report_ = new QWidget;
    report_->setObjectName("weeklyReportContent");
    auto* report = new QVBoxLayout(report_);
    report->setContentsMargins(0, 0, 0, 0);
    report->setSpacing(12);
    stack->addWidget(report_);

    grid_ = new QGridLayout;
    grid_->setVerticalSpacing(10);
    grid_->setHorizontalSpacing(8);
    for (int column = 0; column < 3; ++column) grid_->setColumnStretch(column, 1);
    report->addLayout(grid_);
    for (const char* title : {"Days Tracked", "Avg Score", "Screen Time", "Avg Debt", "Compliance", "Breaks"}) {
        StatCardWidgets widgets;
        // Owned by the report from the start: a card the week lacks is never in the grid.
        widgets.card = new Card(report_, &Theme::secondary, 0.06, 6);
        widgets.card->setContentsMargins(8, 8, 8, 8);
        widgets.card->setMinimumWidth(10);
        auto* cardStack = new QVBoxLayout(widgets.card);
        cardStack->setContentsMargins(0, 0, 0, 0);
        cardStack->setSpacing(4);
        widgets.symbol = healthwidgets::symbolLabel("calendar", 10, &Theme::blue);
        cardStack->addWidget(widgets.symbol);
        widgets.value = new StyledLabel(QString(), TextStyle::systemFont(13, QFont::Bold), &Theme::primary);
        widgets.value->setAlignment(Qt::AlignHCenter);
        widgets.value->setObjectName(QString("stat ") + title);
        cardStack->addWidget(widgets.value);
        auto* caption = new StyledLabel(localized(title), TextStyle::systemFont(10), &Theme::secondary);
        caption->setAlignment(Qt::AlignHCenter);
        cardStack->addWidget(caption);
        widgets.card->hide();
        statCards_.emplace_back(title, widgets);
    }

    auto line = [](const char* symbol, HealthColor color, const char* objectName) {
        LineWidgets widgets;
        widgets.row = new QWidget;
        auto* row = new QHBoxLayout(widgets.row);
        row->setContentsMargins(0, 0, 0, 0);
        widgets.symbol = healthwidgets::symbolLabel(symbol, 12, healthwidgets::colorRole(color));
        row->addWidget(widgets.symbol);
        widgets.text = new StyledLabel(QString(), TextStyle::callout, &Theme::primary);
        widgets.text->setObjectName(objectName);
        row->addWidget(widgets.text);
        row->addStretch(1);
        widgets.value = new StyledLabel(QString(), TextStyle::systemFont(12, QFont::DemiBold), &Theme::primary);
        row->addWidget(widgets.value);
        return widgets;
    };
    sleep_ = line("bed.double", HealthColor::indigo, "weeklySleep");
    sleep_.text->setText(localized("Average sleep quality:"));
    best_ = line("star.fill", HealthColor::yellow, "bestDay");
    best_.value->setColorRole(&Theme::green);
    worst_ = line("arrow.down.circle", HealthColor::red, "worstDay");
    worst_.value->setColorRole(&Theme::orange);
    for (auto* row : {sleep_.row, best_.row, worst_.row}) report->addWidget(row);
    report->addWidget(new Divider);

    auto* insights = new QVBoxLayout;
    insights->setSpacing(6);
    insights->addWidget(
        new StyledLabel(localized("Insights"), TextStyle::systemFont(11, QFont::DemiBold), &Theme::primary));
    for (std::size_t i = 0; i < insights_.size(); ++i) {
        LineWidgets widgets;
        widgets.row = new QWidget;
        auto* row = new QHBoxLayout(widgets.row);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(8);
        widgets.symbol = healthwidgets::symbolLabel(insightSymbols[i], 10, &Theme::orange);
        widgets.symbol->setFixedWidth(16);
        row->addWidget(widgets.symbol, 0, Qt::AlignTop);
        widgets.text = new StyledLabel(QString(), TextStyle::caption, &Theme::secondary);
        widgets.text->setObjectName(QString("weeklyInsight %1").arg(insightSymbols[i]));
        widgets.text->setWordWrap(true);
        row->addWidget(widgets.text, 1);
        insights->addWidget(widgets.row);
        insights_[i] = widgets;
    }
    report->addLayout(insights);
    refresh();
}

void WeeklyReportView::refresh() {
    const auto report = state_.healthHistory().weeklyReport();
    empty_->setVisible(!report);
    report_->setVisible(report.has_value());
    if (!report) return;

    const auto cards = healthfigures::weeklyStatCards(*report);
    std::vector<std::string> titles;
    for (const auto& card : cards) titles.push_back(card.title);
    for (const auto& card : cards) {
        for (auto& [title, widgets] : statCards_) {
            if (title != card.title) continue;
            widgets.symbol->setSymbol(card.symbol);
            widgets.symbol->setColorRole(healthwidgets::colorRole(card.color));
            widgets.value->setText(text(card.value));
            widgets.card->setAccessibleName(localized(title.c_str()) + ": " + text(card.value));
        }
    }
    // A card without its figure is absent and the following ones move up: lay the grid out
    // again only when the set of cards changes.
    if (titles != shownCards_) {
        for (auto& [title, widgets] : statCards_) {
            grid_->removeWidget(widgets.card);
            widgets.card->hide();
        }
        int index = 0;
        for (const auto& shown : titles) {
            for (auto& [title, widgets] : statCards_) {
                if (title != shown) continue;
                grid_->addWidget(widgets.card, index / 3, index % 3);
                widgets.card->show();
                ++index;
            }
        }
        shownCards_ = titles;
    }

    sleep_.row->setVisible(report->avgSleepQuality.has_value());
    if (report->avgSleepQuality) sleep_.value->setText(text(healthfigures::averageSleepText(*report->avgSleepQuality)));
    for (auto [widgets, row] : {std::pair{&best_, healthfigures::bestDayRow(*report)},
                                std::pair{&worst_, healthfigures::worstDayRow(*report)}}) {
        widgets->row->setVisible(row.has_value());
        if (!row) continue;
        widgets->text->setText(text(row->text));
        widgets->value->setText(text(row->score));
    }

    const auto lines = healthfigures::weeklyInsights(*report);
    for (std::size_t i = 0; i < insights_.size(); ++i) {
        const auto match = std::find_if(lines.begin(), lines.end(),
                                        [i](const auto& line) { return line.symbol == insightSymbols[i]; });
        insights_[i].row->setVisible(match != lines.end());
        if (match == lines.end()) continue;
        insights_[i].symbol->setColorRole(healthwidgets::colorRole(match->color));
        insights_[i].text->setText(text(match->text));
    }
}

void WeeklyReportView::exportReport() {
    const auto report = state_.healthHistory().weeklyReport();
    if (!report) return;
    // The week as it was when the button was pressed, not when the dialog closes.
    std::string content = healthexports::weeklyReportText(*report);
    healthwidgets::exportText(this, state_, ui_, localized("Export Weekly Report"), healthexports::weeklyReportFileName,
                              [content] { return content; });
}

}  // namespace solvara
