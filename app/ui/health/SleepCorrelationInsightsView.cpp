#include "app/ui/health/SleepCorrelationInsightsView.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/state/AppState.h"
#include "app/ui/health/HealthFigures.h"
#include "app/ui/health/HealthWidgets.h"
#include "app/ui/kit/Card.h"
#include "app/ui/kit/Localized.h"
#include "core/health/SleepCorrelation.h"

namespace solvara {

SleepCorrelationInsightsView::SleepCorrelationInsightsView(AppState& state, QWidget* parent)
    : QWidget(parent), state_(state) {
    setObjectName("SleepCorrelationInsightsView");
    QVBoxLayout* stack = healthwidgets::titledCard(this, 12, "chart.line.uptrend.xyaxis", &Theme::indigo,
                                                   localized("Sleep & Light Correlation"))
                             .stack;

    empty_ = new StyledLabel(
        localized("Rate your sleep quality for at least 3 days to see correlations between light exposure and sleep."),
        TextStyle::caption, &Theme::tertiary);
    empty_->setObjectName("correlationEmpty");
    empty_->setWordWrap(true);
    // Its stack hugs the text, so the line starts at the leading edge like the rest of the card.
    empty_->setAlignment(Qt::AlignLeft);
    stack->addWidget(empty_);

    insight_ = new QWidget;
    insight_->setObjectName("correlationInsight");
    auto* block = new QVBoxLayout(insight_);
    block->setContentsMargins(0, 0, 0, 0);
    block->setSpacing(10);
    stack->addWidget(insight_);

    auto* strengthRow = new QHBoxLayout;
    strengthRow->addWidget(
        new StyledLabel(localized("Sleep-Light Debt Correlation:"), TextStyle::body, &Theme::primary));
    strengthRow->addStretch(1);
    strength_ = new StyledLabel(QString(), TextStyle::systemFont(12, QFont::DemiBold), &Theme::secondary);
    strength_->setObjectName("correlationStrength");
    strengthRow->addWidget(strength_);
    block->addLayout(strengthRow);

    auto* cards = new QHBoxLayout;
    cards->setSpacing(16);
    low_ = makeDebtCard(localized("Low Debt Days"), "lowDebtCard");
    low_.card->setFill(&Theme::green, 0.06);
    high_ = makeDebtCard(localized("High Debt Days"), "highDebtCard");
    high_.card->setFill(&Theme::orange, 0.06);
    cards->addWidget(low_.card, 1);
    cards->addWidget(high_.card, 1);
    block->addLayout(cards);

    scoreRow_ = new QWidget;
    auto* score = new QHBoxLayout(scoreRow_);
    score->setContentsMargins(0, 0, 0, 0);
    score->addWidget(healthwidgets::symbolLabel("gauge.with.dots.needle.33percent", 10, &Theme::blue));
    scoreText_ = new StyledLabel(QString(), TextStyle::caption, &Theme::secondary);
    scoreText_->setObjectName("correlationScores");
    scoreText_->setWordWrap(true);
    score->addWidget(scoreText_, 1);
    block->addWidget(scoreRow_);

    for (std::size_t i = 0; i < recommendationRows_.size(); ++i) {
        auto* line = new QWidget;
        auto* lineRow = new QHBoxLayout(line);
        lineRow->setContentsMargins(0, 0, 0, 0);
        lineRow->setSpacing(6);
        auto* bulb = healthwidgets::symbolLabel("lightbulb", 10, &Theme::yellow);
        bulb->setFixedWidth(14);
        lineRow->addWidget(bulb, 0, Qt::AlignTop);
        auto* text = new StyledLabel(QString(), TextStyle::caption, &Theme::secondary);
        text->setObjectName(QString("recommendation%1").arg(i + 1));
        text->setWordWrap(true);
        lineRow->addWidget(text, 1);
        block->addWidget(line);
        recommendationRows_[i] = line;
        recommendationTexts_[i] = text;
    }
    refresh();
}

SleepCorrelationInsightsView::DebtCard SleepCorrelationInsightsView::makeDebtCard(const QString& title,
                                                                                  const char* objectName) {
    DebtCard debt;
    debt.card = new Card(nullptr, &Theme::green, 0.06, 6);
    debt.card->setObjectName(objectName);
    debt.card->setContentsMargins(8, 8, 8, 8);
    auto* stack = new QVBoxLayout(debt.card);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(4);
    stack->addWidget(new StyledLabel(title, TextStyle::caption2, &Theme::secondary), 0, Qt::AlignHCenter);
    auto* stars = new QHBoxLayout;
    stars->setSpacing(2);
    stars->addStretch(1);
    for (auto& star : debt.stars) {
        star = healthwidgets::symbolLabel("star", 10, &Theme::secondary, 0.3);
        stars->addWidget(star);
    }
    stars->addStretch(1);
    stack->addLayout(stars);
    debt.average = new StyledLabel(QString(), TextStyle::caption2, &Theme::secondary);
    stack->addWidget(debt.average, 0, Qt::AlignHCenter);
    debt.card->setAccessibleName(title);
    return debt;
}

void SleepCorrelationInsightsView::showDebtCard(DebtCard& debt, double average) {
    const int filled = healthfigures::averageStars(average);
    for (int i = 0; i < 5; ++i) {
        const bool on = i < filled;
        auto* star = debt.stars[static_cast<std::size_t>(i)];
        star->setSymbol(on ? "star.fill" : "star");
        star->setColorRole(on ? &Theme::yellow : &Theme::secondary, on ? 1.0 : 0.3);
    }
    const QString text = QString::fromStdString(healthfigures::averageRatingText(average));
    debt.average->setText(text);
    debt.card->setAccessibleDescription(localized("%1 of 5 stars, %2").arg(filled).arg(text));
}

void SleepCorrelationInsightsView::refresh() {
    const auto insight = SleepCorrelation::analyzeHistory(state_.healthHistory().snapshotsForLastDays(30));
    empty_->setVisible(!insight);
    insight_->setVisible(insight.has_value());
    if (!insight) return;

    const auto strength = insight->sleepLightDebtCorrelation;
    strength_->setText(QString::fromUtf8(strength.rawValue().data(), static_cast<int>(strength.rawValue().size())));
    strength_->setColorRole(healthwidgets::colorRole(healthfigures::strengthColor(strength)));
    showDebtCard(low_, insight->averageSleepOnLowDebt);
    showDebtCard(high_, insight->averageSleepOnHighDebt);

    const auto scores =
        healthfigures::scoreComparisonText(insight->averageScoreOnGoodSleep, insight->averageScoreOnPoorSleep);
    scoreRow_->setVisible(scores.has_value());
    if (scores) scoreText_->setText(QString::fromStdString(*scores));

    for (std::size_t i = 0; i < recommendationRows_.size(); ++i) {
        const bool shown = i < insight->recommendations.size();
        recommendationRows_[i]->setVisible(shown);
        if (shown) recommendationTexts_[i]->setText(QString::fromStdString(insight->recommendations[i]));
    }
}

}  // namespace solvara
