// The world step, in the order the lake depends on: objects first, then the measures and
// clocks that read where they ended up.
#include "app/world_step.h"

#include <sstream>

#include "app/rules.h"
#include "base/tables.h"
#include "scene/height_map.h"

namespace tarn::app {

namespace {

// A stray is turned before its own update, so it moves back into the lake this frame. One
// measure over every limit, the box's included, so no second turn cancels the first.
void turnIfStrayed(scene::SceneObject& object, float clearance, float surfaceClearance) {
    object.turnBackIfStrayingFurther(
        scene::depthOutOfWater(object.position(), clearance, surfaceClearance) +
        object.depthOutOfBounds());
}

std::string respawnLine(glm::vec2 at) {
    std::ostringstream out;
    out << "Reset BonusObject to x=" << at.x << ", z=" << at.y;
    return out.str();
}

void addStatistics(float frameTime, const Settings& settings, render::PassCounts counts,
                   WorldStepOutcome& outcome) {
    std::ostringstream frame;
    frame << "frametime: " << frameTime * 1000.0f << " ms"
          << " = ~" << 1.0 / double(frameTime) << " fps";
    std::ostringstream culling;
    culling << "Frustrum active? " << (settings.frustumCullingEnabled ? 1 : 0)
            << ", objects total: " << counts.objectsTotal
            << ", objects drawn: " << counts.objectsDrawn;
    outcome.lines.push_back(frame.str());
    outcome.lines.push_back(culling.str());
}

}  // namespace

WorldStepOutcome updateScene(scene::World& world, FrameTimes times, glm::vec3 cameraPos,
                             GameState& game, const Settings& settings, WorldTimers& timers,
                             render::PassCounts lastCounts) {
    const float deltaTime = times.deltaTime;
    WorldStepOutcome outcome;
    if (world.lakebed) world.lakebed->update(deltaTime);
    if (world.morvie) {
        turnIfStrayed(*world.morvie, creatureClearance, creatureSurfaceClearance);
        world.morvie->update(deltaTime);
    }
    for (auto& fish : world.fishes) {
        if (!fish) continue;
        turnIfStrayed(*fish, fishClearance, fishSurfaceClearance);
        fish->update(deltaTime);
    }
    for (auto& duck : world.ducks) {
        if (!duck) continue;
        duck->turnBackIfStrayingFurther(
            scene::depthOutOfWater(duck->position(), duckClearance, duckSurfaceClearance));
        duck->update(deltaTime);
    }
    if (world.bonusCard && !game.bonusFound) {
        world.bonusCard->update(deltaTime);
        if (world.bonusCard->respawnedAt) {
            outcome.lines.push_back(respawnLine(*world.bonusCard->respawnedAt));
        }
    }
    if (world.morvie) {
        game.distanceToMorvie = glm::distance(cameraPos, world.morvie->position());
    }

    timers.statsTimer += deltaTime;
    if (timers.statsTimer > statsPeriod) {
        if (settings.frametimeOutput) {
            addStatistics(times.realFrameTime, settings, lastCounts, outcome);
        }
        timers.statsTimer = 0.0f;
    }

    timers.causticsTimer += deltaTime;
    if (double(timers.causticsTimer) > causticsPeriod) {
        outcome.causticsFrameToBind = timers.causticsFrame;
        timers.causticsFrame =
            timers.causticsFrame < paths::causticsFrameCount - 1 ? timers.causticsFrame + 1 : 0;
        timers.causticsTimer = 0.0f;
    }

    timers.sonarTimer += deltaTime;
    if (double(timers.sonarTimer) > sonarPeriod) {
        outcome.sonarVolume = sonarVolume(game.distanceToMorvie);
        timers.sonarTimer = 0.0f;
    }
    return outcome;
}

}  // namespace tarn::app
