#pragma once

#include <array>
#include <string>
#include <vector>

#include <QWidget>

class QGridLayout;
class QPushButton;

namespace solvara {

class AppState;
class Card;
class StyledLabel;
class SymbolView;
struct UiServices;

// "Weekly Report": the last week of the health history in six stat cards, the average sleep
// rating, the best and the worst day and the insight lines; its Export button saves the same
// week as "Solvara-WeeklyReport.txt".
class WeeklyReportView : public QWidget {
public:
    WeeklyReportView(AppState& state, UiServices& ui, QWidget* parent = nullptr);

    void refresh();

private:
    struct StatCardWidgets {
        Card* card = nullptr;
        SymbolView* symbol = nullptr;
        StyledLabel* value = nullptr;
    };
    struct LineWidgets {
        QWidget* row = nullptr;
        SymbolView* symbol = nullptr;
        StyledLabel* text = nullptr;
        StyledLabel* value = nullptr;
    };
    void exportReport();

    AppState& state_;
    UiServices& ui_;
    QPushButton* exportButton_;
    QWidget* empty_;
    QWidget* report_;
    QGridLayout* grid_;
    // By title, in the grid's order; a card shows only while the week has its figure.
    std::vector<std::pair<std::string, StatCardWidgets>> statCards_;
    std::vector<std::string> shownCards_;
    LineWidgets sleep_;
    LineWidgets best_;
    LineWidgets worst_;
    // The five insight lines, each under its own threshold.
    std::array<LineWidgets, 5> insights_{};
};

}  // namespace solvara
