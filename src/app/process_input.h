// The per-frame input step: movement, then the game's commands, then mouse look.
#pragma once

#include "app/input.h"

namespace tarn::app {

// Called once per frame while the game is being played, after the overlay is drawn.
// Movement uses the viewing direction of the previous frame's look stage.
void processInput(const InputSource& input, float deltaTime, float now);

}  // namespace tarn::app
