// Storage and release of the lake world's objects.
#include "app/world.h"

namespace tarn::app {

std::unique_ptr<scene::SceneObject> lakebed;
std::unique_ptr<scene::SceneObject> morvie;
std::array<std::unique_ptr<scene::SceneObject>, fishCount> fishes;
std::array<std::unique_ptr<scene::SceneObject>, duckCount> ducks;
std::unique_ptr<scene::SceneObject> bonusCard;
std::unique_ptr<scene::SceneObject> sky;
std::unique_ptr<scene::SceneObject> sun;
std::unique_ptr<scene::SceneObject> waterSurface;

void releaseSceneObjects() {
    lakebed.reset();
    morvie.reset();
    for (auto& fish : fishes) fish.reset();
    for (auto& duck : ducks) duck.reset();
    bonusCard.reset();
    sky.reset();
    sun.reset();
    waterSurface.reset();
}

}  // namespace tarn::app
