// The Science tab with every card closed, and each card open in turn.

#include <QAbstractButton>

#include "app/ui/science/ScienceCard.h"
#include "app/ui/science/ScienceView.h"
#include "platform/fake/FakePlatform.h"
#include "tests/screenshots/Screenshots.h"

using namespace solvara;

namespace {

std::unique_ptr<QWidget> scienceWithCardOpen(screenshots::SceneContext& scene, int card) {
    // Late evening in Berlin, so the ratio chart marks a warm temperature.
    scene.updateAt(scene.platform().runLoop.now() + 8 * 3600);
    auto view = std::make_unique<ScienceView>(scene.state(), scene.ui());
    if (card >= 0) view->card(card)->findChild<QAbstractButton*>("scienceCardHeader")->click();
    return view;
}

}  // namespace

SOLVARA_SCENE(scienceClosed, "science", 620, 700) {
    return scienceWithCardOpen(scene, -1);
}
SOLVARA_SCENE(scienceCard0, "science-card1-circadian-lighting", 620, 1000) {
    return scienceWithCardOpen(scene, 0);
}
SOLVARA_SCENE(scienceCard1, "science-card2-morning-boost", 620, 1050) {
    return scienceWithCardOpen(scene, 1);
}
SOLVARA_SCENE(scienceCard2, "science-card3-pwm-flicker", 620, 900) {
    return scienceWithCardOpen(scene, 2);
}
SOLVARA_SCENE(scienceCard3, "science-card4-red-light", 620, 1000) {
    return scienceWithCardOpen(scene, 3);
}
SOLVARA_SCENE(scienceCard4, "science-card5-circadian-score", 620, 1050) {
    return scienceWithCardOpen(scene, 4);
}
SOLVARA_SCENE(scienceCard5, "science-card6-twenty-twenty-twenty", 620, 950) {
    return scienceWithCardOpen(scene, 5);
}
