// The per-frame input step: movement, then the game's commands, then mouse look.
#pragma once

#include "app/actions.h"
#include "app/rules.h"
#include "scene/world.h"

namespace tarn::app {

// Called once per frame while the game is being played, after the overlay is drawn, with
// the frame's time narrowed to float. Movement uses the viewing direction of the previous
// frame's look stage; the rules see the camera where the movement left it. Changes the
// camera, the game state and the settings, and returns what the frame must carry out.
Outcome processInput(const Actions& actions, float deltaTime, float now,
                     const scene::World& world);

}  // namespace tarn::app
