// The 30 objects of the lake world, one holder each, filled at start-up.
#pragma once

#include <array>
#include <memory>

#include "scene/scene_object.h"

namespace tarn::app {

constexpr int fishCount = 12;
constexpr int duckCount = 12;

extern std::unique_ptr<scene::SceneObject> lakebed;
extern std::unique_ptr<scene::SceneObject> morvie;
extern std::array<std::unique_ptr<scene::SceneObject>, fishCount> fishes;
extern std::array<std::unique_ptr<scene::SceneObject>, duckCount> ducks;
extern std::unique_ptr<scene::SceneObject> bonusCard;
extern std::unique_ptr<scene::SceneObject> sky;
extern std::unique_ptr<scene::SceneObject> sun;
extern std::unique_ptr<scene::SceneObject> waterSurface;

// Lakebed, creature, fish, ducks and bonus card, in this order, then the sky, the sun and
// the water surface, so every model goes while the GL context lives. Safe to call again.
void releaseSceneObjects();

}  // namespace tarn::app
