#pragma once

#include <array>

#include <QWidget>

namespace solvara {

class AppState;
class Card;
class StyledLabel;
class SymbolView;

// "Sleep & Light Correlation": the core's analysis of the last 30 days of ratings against light
// debt and circadian score, or a line asking for three rated nights. Read-only.
class SleepCorrelationInsightsView : public QWidget {
public:
    explicit SleepCorrelationInsightsView(AppState& state, QWidget* parent = nullptr);

    void refresh();

private:
    struct DebtCard {
        Card* card = nullptr;
        std::array<SymbolView*, 5> stars{};
        StyledLabel* average = nullptr;
    };
    DebtCard makeDebtCard(const QString& title, const char* objectName);
    void showDebtCard(DebtCard& card, double average);

    AppState& state_;
    StyledLabel* empty_;
    QWidget* insight_;
    StyledLabel* strength_;
    DebtCard low_;
    DebtCard high_;
    QWidget* scoreRow_;
    StyledLabel* scoreText_;
    // The analysis gives one to three recommendations.
    std::array<QWidget*, 3> recommendationRows_{};
    std::array<StyledLabel*, 3> recommendationTexts_{};
};

}  // namespace solvara
