// The world step of every playing frame: the objects move, strays turn back, the distance
// to the creature is measured, and the statistics, caustics and sonar clocks tick. No GL
// and no sound: it reports what the frame must print, bind and play.
#pragma once

#include <glm/glm.hpp>
#include <optional>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "render/scene_pass.h"
#include "scene/world.h"

namespace tarn::app {

struct WorldStepOutcome {
    std::vector<std::string> lines;          // console lines, in order
    std::optional<int> causticsFrameToBind;  // index into the 32 frames, for unit 4
    std::optional<float> sonarVolume;        // a periodic ping to play at this volume
};

// How far a swimmer keeps above the floor and inside the square.
constexpr float creatureClearance = 0.4f;
constexpr float fishClearance = 0.2f;
// How far a swimmer's centre keeps below the water surface: the reach of its body (the
// creature's 1.34 units, a long fish's 0.85 with its fin) and a slow frame's swim to spare.
constexpr float creatureSurfaceClearance = 1.5f;
constexpr float fishSurfaceClearance = 1.1f;
// A duck floats on the surface, so only the square's edge and the shallows, where the floor
// comes within its clearance of the surface (a frame's paddle from the shore), turn it back.
constexpr float duckClearance = 2.0f;
constexpr float duckSurfaceClearance = -1.0f;
constexpr float statsPeriod = 0.5f;
constexpr double causticsPeriod = 0.05;
constexpr double sonarPeriod = 7.0;

// The frame's length twice: the game's step moves the world, and the wall clock's is what
// the statistics report.
struct FrameTimes {
    float deltaTime = 0.0f;
    float realFrameTime = 0.0f;
};

// Runs only while the game is open. lastCounts are the counts of the last scene pass, for
// the statistics.
WorldStepOutcome updateScene(scene::World& world, FrameTimes times, glm::vec3 cameraPos,
                             GameState& game, const Settings& settings, WorldTimers& timers,
                             render::PassCounts lastCounts);

}  // namespace tarn::app
