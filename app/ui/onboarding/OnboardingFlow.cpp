#include "app/ui/onboarding/OnboardingFlow.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "app/state/AppState.h"
#include "app/ui/kit/Localized.h"

namespace solvara {

OnboardingFlow::OnboardingFlow(AppState& state, UiServices&, QWidget* parent) : QWidget(parent), state_(state) {
    setObjectName("OnboardingFlow");
    auto* layout = new QVBoxLayout(this);
    auto* button = new QPushButton(localized("Get Started"));
    button->setObjectName("onboardingFinish");
    layout->addStretch(1);
    layout->addWidget(button, 0, Qt::AlignCenter);
    layout->addStretch(1);
    connect(button, &QPushButton::clicked, this, &OnboardingFlow::finish);
}

void OnboardingFlow::finish() {
    state_.setIsEnabled(true);
    state_.setHasCompletedOnboarding(true);
    emit finished();
}

}  // namespace solvara
