#pragma once

#include <QWidget>

namespace solvara {

class AppState;
struct UiServices;

// The first-run flow the main window presents while the onboarding flag is false. Until its own
// pages land, a page with one button that finishes the flow.
class OnboardingFlow : public QWidget {
    Q_OBJECT
public:
    explicit OnboardingFlow(AppState& state, UiServices& ui, QWidget* parent = nullptr);

signals:
    // After the finish: filtering switched on, then the onboarding flag set.
    void finished();

private:
    void finish();

    AppState& state_;
};

}  // namespace solvara
