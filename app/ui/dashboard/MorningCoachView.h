#pragma once

#include <array>

#include <QWidget>

class QLabel;
class QPushButton;

namespace solvara {

class AppState;
class SymbolView;

// The card for the first hours after waking: time since wake, a ring of the morning sunlight
// logged today against a target, the light-debt level, one coaching tip, and buttons that log
// 10, 15 or 30 minutes of sunlight through the state. The dashboard decides when it shows.
class MorningCoachView : public QWidget {
    Q_OBJECT

public:
    MorningCoachView(AppState& state, double sunlightTarget, QWidget* parent = nullptr);

    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class Ring;
    class Dot;
    class Tip;

    AppState& state_;
    double target_;
    SymbolView* symbol_ = nullptr;
    QLabel* sinceWake_ = nullptr;
    Ring* ring_ = nullptr;
    Dot* dot_ = nullptr;
    QLabel* level_ = nullptr;
    Tip* tip_ = nullptr;
    std::array<QPushButton*, 3> buttons_{};
};

}  // namespace solvara
