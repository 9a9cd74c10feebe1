#pragma once

#include <array>

#include <QColor>
#include <QWidget>

class QLabel;
class QPushButton;

namespace solvara {

class AppState;
class SymbolView;

// The dashboard's health summary: today's composite score with its letter grade as a ring, the
// light debt, break compliance and screen time with their 7-day, 30-day and 1-year averages,
// and a row that logs minutes of morning sunlight through the state. Its one presentation
// state is whether the minute buttons are open.
class HealthCardView : public QWidget {
    Q_OBJECT

public:
    explicit HealthCardView(AppState& state, QWidget* parent = nullptr);

    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class GradeRing;
    class Badge;
    struct MetricRow {
        SymbolView* icon = nullptr;
        QLabel* label = nullptr;
        QLabel* value = nullptr;
        QWidget* badges = nullptr;
        std::array<Badge*, 3> badge{};
    };

    MetricRow addMetricRow(QLayout* rows, const char* symbol, const char* label, const char* name);
    void showAverages(MetricRow& row, const std::array<std::optional<std::string>, 3>& averages);
    void setPickerOpen(bool open);

    AppState& state_;
    bool pickerOpen_ = false;
    QLabel* title_ = nullptr;
    GradeRing* ring_ = nullptr;
    MetricRow debt_;
    MetricRow compliance_;
    MetricRow screenTime_;
    SymbolView* sunIcon_ = nullptr;
    QLabel* sunLabel_ = nullptr;
    QLabel* logged_ = nullptr;
    QPushButton* logButton_ = nullptr;
    QWidget* picker_ = nullptr;
    QColor logButtonIconColor_;
};

}  // namespace solvara
