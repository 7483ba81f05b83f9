// The game's rules: the settings keys, the spotlight and its budget, the photo, the bonus
// card and the sonar on demand. Plain C++ with no GL, GLFW or sound: each rule reads the
// frame's actions and the time, changes the game state and reports what the frame must do.
#pragma once

#include <glm/glm.hpp>
#include <optional>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/actions.h"
#include "scene/frustum.h"

namespace tarn::app {

// A photo the rule judged, with the facts the kept picture carries.
struct PhotoTaken {
    bool hit = false;
    float distanceToMorvie = 0.0f;
    bool spotlightOn = false;
    int photosLeft = 0;    // after the shot
    bool inRange = false;  // near enough: a miss in range missed by its framing
};

// What the rules ask of the frame, in the order it happened.
struct Outcome {
    std::vector<std::string> lines;             // console lines, each printed and flushed
    int sonarPings = 0;                         // pings to play at sonarVolume(distanceToMorvie)
    std::optional<int> spotlight;               // new value of the main program's "spotlight"
    std::optional<glm::vec2> creatureMaterial;  // (kd, ks) for the creature's setMaterial
    std::optional<bool> wireframe;              // polygon mode to switch to
    std::optional<std::string> endText;         // drawn in the frame that decides the game
    std::optional<PhotoTaken> photo;            // the shutter went off this frame
};

// Where things are at the moment the rules look.
struct RuleView {
    glm::vec3 cameraPos{0.0f};
    glm::vec3 morviePosition{0.0f};
    std::optional<glm::vec3> bonusPosition;   // empty when the world has no card
    const scene::Frustum* frustum = nullptr;  // this frame's; no frustum sees nothing
};

constexpr int photosAtStart = 5;
constexpr int bonusPhotos = 3;
constexpr double debounceSeconds = 0.5;
constexpr double cheatLightDuration = 10000.0;
constexpr float photoRange = 4.0f;
constexpr float photoRangeWithLight = 6.0f;
constexpr float photoSphereRadius = 0.1f;
constexpr float bonusRange = 4.0f;
constexpr float sonarFallOff = 70.0f;

// F2 to F9. All eight share one stamp: a key acts only more than half a second after the
// last frame in which any of them was down, and the first in F2..F9 order wins a frame.
void handleSettingsKeys(const Actions& actions, double now, GameState& game, Settings& settings,
                        Outcome& outcome);

// More light (the X cheat), sonar, spotlight, photo, bonus card, in that order. The
// spotlight and the photo act once per press, and each also keeps its half-second guard.
void handleGameCommands(const Actions& actions, double now, GameState& game, const RuleView& view,
                        Outcome& outcome);

// Whether the photo rule takes a photo this frame (a new press of the shutter, outside the
// half-second guard, photos left), asked before the rule runs so that the frame can read
// its picture before the overlay covers it.
bool shutterOpens(const Actions& actions, double now, const GameState& game);

// The light goes off by itself once its running total passes the budget. Runs every
// frame, also after the game has ended.
void switchOffSpentLight(double now, GameState& game, Outcome& outcome);

// 1 at the creature, 0 from 70 units on; below 0 further out (the sound layer treats that
// as silence).
float sonarVolume(float distanceToMorvie);

}  // namespace tarn::app
