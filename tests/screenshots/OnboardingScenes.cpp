// Each page of the first-run flow, as it stands once its entrance has finished.

#include <QAbstractButton>

#include "app/ui/kit/fake/FakeUiServices.h"
#include "app/ui/onboarding/OnboardingFlow.h"
#include "tests/app/ui/HeldLoops.h"
#include "tests/screenshots/Screenshots.h"

using namespace solvara;

namespace {

// The flow moved on `steps` pages by its own "Continue" buttons. The fake permissions answer
// `granted` for both.
std::unique_ptr<QWidget> flowOnPage(screenshots::SceneContext& scene, int steps, bool granted = false) {
    static FakeUiServices services;
    services.permissions.location = granted;
    services.permissions.accessibility = granted;
    auto flow = std::make_unique<OnboardingFlow>(scene.state(), services.services());
    for (int step = 0; step < steps; ++step) {
        flow->page(flow->currentStep())->findChild<QAbstractButton*>("onboardingNext")->click();
    }
    // The sun and the screens move for as long as they are shown: each stands as it first
    // appears, while the rest of the page comes to rest.
    new solvara::testing::HeldLoops(flow.get());
    return flow;
}

}  // namespace

SOLVARA_SCENE(onboardingWelcome, "onboarding-1-welcome", 520, 480) {
    return flowOnPage(scene, 0);
}
SOLVARA_SCENE(onboardingHowItWorks, "onboarding-2-how-it-works", 520, 480) {
    return flowOnPage(scene, 1);
}
SOLVARA_SCENE(onboardingSchedule, "onboarding-3-schedule", 520, 480) {
    return flowOnPage(scene, 2);
}
SOLVARA_SCENE(onboardingPermissions, "onboarding-4-permissions", 520, 480) {
    return flowOnPage(scene, 3);
}
SOLVARA_SCENE(onboardingPermissionsGranted, "onboarding-4-permissions-granted", 520, 480) {
    return flowOnPage(scene, 3, true);
}
// A bedtime after midnight (which the Schedule tab can store): the awake span wraps.
SOLVARA_SCENE(onboardingScheduleWrapped, "onboarding-3-schedule-past-midnight", 520, 480) {
    scene.state().setSleepHour(1);
    return flowOnPage(scene, 2);
}
