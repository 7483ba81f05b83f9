// Release of the lake world's objects.
#include "scene/world.h"

namespace tarn::scene {

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
