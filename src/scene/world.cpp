// A new hunt's start, and the release of the lake world's objects.
#include "scene/world.h"

namespace tarn::scene {

void World::placeAnimalsAnew() {
    const glm::mat4 identity(1.0f);
    if (morvie) morvie->placeAnew(identity);
    for (auto& fish : fishes) {
        if (fish) fish->placeAnew(identity);
    }
    for (auto& duck : ducks) {
        if (duck) duck->placeAnew(identity);
    }
    if (bonusCard) bonusCard->restart();
}

void World::release() {
    lakebed.reset();
    morvie.reset();
    for (auto& fish : fishes) fish.reset();
    for (auto& duck : ducks) duck.reset();
    bonusCard.reset();
    fishModels.reset();
    sky.reset();
    sun.reset();
    waterSurface.reset();
}

}  // namespace tarn::scene
