// The lake world: its 30 objects in their fixed order, one owner each.
#pragma once

#include <array>
#include <memory>

#include "base/tables.h"
#include "scene/bonus_object.h"
#include "scene/duck.h"
#include "scene/fish.h"
#include "scene/lakebed.h"
#include "scene/morvie.h"
#include "scene/scene_object.h"
#include "scene/scenery.h"

namespace tarn::scene {

struct World {
    std::unique_ptr<Lakebed> lakebed;
    std::unique_ptr<Morvie> morvie;
    // Shared by all twelve fish, so it goes after them.
    std::unique_ptr<FishModels> fishModels;
    std::array<std::unique_ptr<Fish>, lake::fishCount> fishes;
    std::array<std::unique_ptr<Duck>, lake::duckCount> ducks;
    std::unique_ptr<BonusObject> bonusCard;
    std::unique_ptr<Sky> sky;
    std::unique_ptr<Sun> sun;
    std::unique_ptr<WaterSurface> waterSurface;

    // A new hunt in the same lake: the creature, the fish and the ducks start afresh from
    // the shared random source as it runs on, in the order of their first start, and the
    // bonus card goes back above the start. Loads nothing.
    void placeAnimalsAnew();

    // Lakebed, creature, fish, ducks and bonus card, in this order, then the fish models,
    // the sky, the sun and the water surface, so every model goes while the GL context
    // lives. Safe to call again.
    void release();
};

}  // namespace tarn::scene
