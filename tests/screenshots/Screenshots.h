#pragma once

// Screenshots of the views for review. Each view registers its scenes in one file
// tests/screenshots/<View>Scenes.cpp:
//
//   SOLVARA_SCENE(popoverNight, "popover-night", 320, 0) {
//       scene.state().setBreaksEnabled(true);            // an AppState over the fakes
//       return std::make_unique<MenuBarPopover>(scene.state(), scene.ui());
//   }
//
// `scripts/screenshots [filter]` builds and runs every scene twice, light and dark, offscreen
// with DejaVu Sans 13 px and the Fusion style, and writes build/screenshots/<name>-light.png and
// <name>-dark.png. The runner gives the built widget the light or dark theme (Theme::apply)
// after the body returns, shows it at the scene's size (a height of 0: the widget's own height
// for that width) and grabs it. The scene's context (fake platform, state, fake services) lives
// until the picture is taken.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QSize>
#include <QWidget>

#include "app/state/AppState.h"
#include "app/ui/kit/UiServices.h"
#include "core/foundation/Date.h"

namespace solvara {
class FakePlatform;
}

namespace solvara::screenshots {

class SceneContext {
public:
    explicit SceneContext(bool dark);
    ~SceneContext();

    // Whether this run is the dark picture.
    bool dark() const { return dark_; }

    // Built on first use: a fake platform whose clock stands at `start()`, and the state over it.
    AppState& state();
    FakePlatform& platform();
    UiServices& ui();
    // The moment the fake clock starts at (default: 2026-06-21 12:00 UTC); set before state().
    void setStart(Date start) { start_ = start; }
    // Runs the state's update once with a coordinate (Berlin unless given), so the engine
    // state exists.
    void updateAt(Date moment, double latitude = 52.52, double longitude = 13.405);

private:
    struct Parts;
    bool dark_;
    Date start_;
    std::unique_ptr<Parts> parts_;
};

struct Scene {
    std::string name;
    QSize size;
    std::function<std::unique_ptr<QWidget>(SceneContext&)> build;
};

bool registerScene(Scene scene);
const std::vector<Scene>& scenes();

}  // namespace solvara::screenshots

#define SOLVARA_SCENE(id, name, width, height)                                                      \
    static std::unique_ptr<QWidget> solvaraScene_##id(::solvara::screenshots::SceneContext& scene); \
    [[maybe_unused]] static const bool solvaraSceneRegistered_##id =                                \
        ::solvara::screenshots::registerScene({name, QSize(width, height), solvaraScene_##id});     \
    static std::unique_ptr<QWidget> solvaraScene_##id([[maybe_unused]] ::solvara::screenshots::SceneContext& scene)
