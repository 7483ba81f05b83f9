// The frame loop: window events, clock, actions, pause and play again, world step, passes,
// overlay, input, present.
#pragma once

#include "app/input.h"

namespace tarn::app {

// Runs frames until the window is asked to close (Escape or the close control).
// Winning or losing does not end it: the world then stands still and drawing goes on until
// the player plays again or quits.
void runFrameLoop();

// One frame at wall time wallNow (seconds on GLFW's clock), everything but presenting it:
// the window's events (new size, focus, gamepads), the game clock, the frame's actions and
// the session's rules (pause, play again, full screen, volume); then, while playing, the
// world step; shadow pass, lit scene or depth view, the shutter's read of that picture when
// a photo is taken, light time-out, status lines, Escape, input step, banners, and the
// pause overlay while paused. Photos of
// earlier frames are handed to the writer at its start. Needs init's resources and a
// current context; gameClock must have been started (or hold the previous frame). The game
// moves by the wall time since the last frame, at most maxFrameStep.
void runFrame(const InputSource& input, double wallNow);

// The frame's drawing of the world: the shadow pass, then either the shadow map itself
// (the depth view) or the lit scene into the window.
void renderWorld();

}  // namespace tarn::app
