// Long games of the lake's animals on the real floor, through the real world step: the
// creature and the twelve fish stay under the surface, out of the floor and, for the
// creature, inside the square the camera can reach; the ducks stay on the water; whatever
// the frame rate.
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <assimp/Importer.hpp>
#include <cmath>

#include "app/world_step.h"
#include "assets/asset_paths.h"
#include "scene/height_map.h"
#include "scene/random.h"

using namespace tarn;

namespace {

// How far the model reaches from its origin, the point the world step moves.
float reachOf(const std::string& gamePath) {
    Assimp::Importer importer;
    const aiScene* model = importer.ReadFile(test::staged(gamePath), aiProcess_Triangulate);
    float reach = 0.0f;
    for (unsigned m = 0; model && m < model->mNumMeshes; ++m) {
        for (unsigned v = 0; v < model->mMeshes[m]->mNumVertices; ++v) {
            reach = std::max(reach, model->mMeshes[m]->mVertices[v].Length());
        }
    }
    EXPECT_GT(reach, 0.0f) << gamePath;
    return reach;
}

struct Swimmer {
    const scene::SceneObject* body;
    float reach;  // farthest point of the body, fin included
    double inFloorFor = 0.0;
};

struct GameReport {
    double highestReach = -1e9;     // the top of any body, against the surface at 15
    double longestInFloor = 0.0;    // seconds in a row
    float farthestCreature = 0.0f;  // largest |x| or |z| of the creature
    bool duckAshore = false;        // outside the square or over dry land
};

// One game of the given length from a seeded lake, stepped at a fixed frame rate.
GameReport playGame(unsigned seed, double minutes, int framesPerSecond, float creatureReach,
                    float smallFishReach, float longFishReach) {
    scene::rng.seed(seed);
    scene::World world;
    world.morvie = std::make_unique<scene::Morvie>(glm::mat4(1.0f), units::morvie, nullptr);
    std::vector<Swimmer> swimmers{{world.morvie.get(), creatureReach}};
    for (int i = 0; i < lake::fishCount; ++i) {
        world.fishes[i] = scene::createLakeFish(i, nullptr);
        swimmers.push_back({world.fishes[i].get(), i >= 8 ? longFishReach : smallFishReach});
    }
    for (auto& duck : world.ducks)
        duck = std::make_unique<scene::Duck>(glm::mat4(1.0f), 12, nullptr);
    app::GameState game;
    app::Settings settings;
    app::WorldTimers timers;
    GameReport report;
    const float dt = 1.0f / float(framesPerSecond);
    const long frames = long(minutes * 60.0 * framesPerSecond);
    for (long frame = 0; frame < frames; ++frame) {
        app::updateScene(world, {dt, dt}, glm::vec3(0.0f, 0.0f, 3.0f), game, settings, timers, {});
        for (Swimmer& s : swimmers) {
            const glm::vec3 p = s.body->position();
            report.highestReach = std::max(report.highestReach, double(p.y + s.reach));
            // The lakebed runs between the map's samples: that is the floor a player sees.
            const bool inFloor = p.y < scene::heightMap->smoothHeight(p.x, p.z);
            s.inFloorFor = inFloor ? s.inFloorFor + dt : 0.0;
            report.longestInFloor = std::max(report.longestInFloor, s.inFloorFor);
        }
        for (const auto& duck : world.ducks) {
            const glm::vec3 p = duck->position();
            report.duckAshore |= std::max(std::abs(p.x), std::abs(p.z)) > lake::squareHalfSize ||
                                 scene::heightMap->smoothHeight(p.x, p.z) > lake::waterLevel;
        }
        const glm::vec3 c = world.morvie->position();
        report.farthestCreature = std::max({report.farthestCreature, std::abs(c.x), std::abs(c.z)});
    }
    return report;
}

}  // namespace

TEST(LakeAnimals, StayInTheLakeThroughLongGamesAtAnyFrameRate) {
    scene::heightMap = std::make_unique<scene::HeightMap>(test::staged(paths::heightMap));
    ASSERT_GT(scene::heightMap->width, 0);
    // The fins hang behind the body and swing sideways, so they reach at most their hinge
    // distance plus their own length.
    const float creatureReach = reachOf(paths::morvieModel);
    const float smallFishReach =
        std::max(reachOf(paths::fishSmallModel), 0.4f + reachOf(paths::finHigherModel));
    const float longFishReach =
        std::max(reachOf(paths::fishLongModel), 0.55f + reachOf(paths::finLongThinModel));

    // Thirteen swimmers and twelve ducks a game: 750 animal-games of 20 minutes in all,
    // enough to meet a fault that strikes one in a hundred.
    for (const int fps : {30, 10}) {
        GameReport worst;
        for (unsigned seed = 1; seed <= 15; ++seed) {
            const GameReport r =
                playGame(seed, 20.0, fps, creatureReach, smallFishReach, longFishReach);
            worst.highestReach = std::max(worst.highestReach, r.highestReach);
            worst.longestInFloor = std::max(worst.longestInFloor, r.longestInFloor);
            worst.farthestCreature = std::max(worst.farthestCreature, r.farthestCreature);
            worst.duckAshore |= r.duckAshore;
        }
        SCOPED_TRACE(std::to_string(fps) + " frames a second");
        EXPECT_LE(worst.highestReach, lake::waterLevel) << "a body broke the surface";
        EXPECT_LE(worst.longestInFloor, 0.5) << "seconds a swimmer stayed inside the floor";
        EXPECT_LE(worst.farthestCreature, lake::squareHalfSize)
            << "the creature left the square the camera can reach";
        EXPECT_FALSE(worst.duckAshore) << "a duck paddled off the lake";
    }
    scene::heightMap.reset();
}
