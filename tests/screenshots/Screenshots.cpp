#include "tests/screenshots/Screenshots.h"

#include "app/ui/kit/fake/FakeUiServices.h"
#include "platform/fake/FakePlatform.h"

namespace solvara::screenshots {

namespace {

// 2026-06-21 12:00 UTC, midsummer noon.
constexpr Date defaultSceneStart{804081600.0};

std::vector<Scene>& registry() {
    static std::vector<Scene> list;
    return list;
}

}  // namespace

struct SceneContext::Parts {
    explicit Parts(Date start) : platform(start), state(platform.platform()) {}
    FakePlatform platform;
    AppState state;
    FakeUiServices ui;
};

SceneContext::SceneContext(bool dark) : dark_(dark), start_(defaultSceneStart) {}
SceneContext::~SceneContext() = default;

AppState& SceneContext::state() {
    if (!parts_) parts_ = std::make_unique<Parts>(start_);
    return parts_->state;
}

FakePlatform& SceneContext::platform() {
    state();
    return parts_->platform;
}

UiServices& SceneContext::ui() {
    state();
    return parts_->ui.services();
}

void SceneContext::updateAt(Date moment, double latitude, double longitude) {
    FakePlatform& fakes = platform();
    if (moment - fakes.runLoop.now() > 0) fakes.runLoop.advance(moment - fakes.runLoop.now());
    state().setCoordinate(Coordinate{latitude, longitude});
    state().updateCircadianState();
}

bool registerScene(Scene scene) {
    registry().push_back(std::move(scene));
    return true;
}

const std::vector<Scene>& scenes() {
    return registry();
}

}  // namespace solvara::screenshots
