#pragma once

#include <QWidget>

class QAbstractButton;
class QStackedWidget;
class QVariantAnimation;

namespace solvara {

class AppState;
class OnboardingProgressBar;
class PermissionCard;
class Picker;
class SchedulePreview;
class StateSignals;
struct UiServices;

// The first-run flow the main window presents while the onboarding flag is false: four pages
// (welcome, how it works, the wake and sleep hours, the two permissions) under a thin progress
// bar. The hours are written to the state as soon as they are chosen; leaving the flow, by
// "Skip" on the first page or "Continue" on the last, switches filtering on and then sets the
// onboarding flag. The permission flags live only as long as the flow.
class OnboardingFlow : public QWidget {
    Q_OBJECT

public:
    explicit OnboardingFlow(AppState& state, UiServices& ui, QWidget* parent = nullptr);

    static constexpr int totalSteps = 4;

    int currentStep() const { return step_; }
    // The page of `step` (0 welcome ... 3 permissions).
    QWidget* page(int step) const;
    bool locationGranted() const { return locationGranted_; }
    bool accessibilityGranted() const { return accessibilityGranted_; }

signals:
    // After the finish: filtering switched on, then the onboarding flag set.
    void finished();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* welcomeStep();
    QWidget* solarDemoStep();
    QWidget* scheduleStep();
    QWidget* permissionsStep();
    // The row that ends every page: "Back" (or "Skip" without a back step) and the next button.
    QWidget* navigationButtons(int backStep, const QString& nextLabel, int nextStep);

    void goTo(int step);
    // Ends a page change at once: every page in place and opaque, the old page's picture gone.
    void settlePages();
    void focusNextButton();
    void completeOnboarding();
    // Reads both permissions; `animated` for the checks that follow a request.
    void checkPermissions(bool animated);
    void refresh();

    AppState& state_;
    UiServices& ui_;
    StateSignals* signals_;
    OnboardingProgressBar* progress_;
    QStackedWidget* pages_;
    QVariantAnimation* pageAnimation_;
    QWidget* leaving_ = nullptr;  // the picture of the page being left, while it slides out
    Picker* wakePicker_ = nullptr;
    Picker* sleepPicker_ = nullptr;
    SchedulePreview* schedule_ = nullptr;
    PermissionCard* locationCard_ = nullptr;
    PermissionCard* accessibilityCard_ = nullptr;
    QWidget* permissionNote_ = nullptr;
    int step_ = 0;
    bool locationGranted_ = false;
    bool accessibilityGranted_ = false;
};

}  // namespace solvara
