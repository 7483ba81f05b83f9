// The frame loop: clock, world step, passes, overlay, input, present.
#pragma once

namespace tarn::app {

// Runs frames until the window is asked to close (Escape or the close control).
// Winning or losing does not end it: the world then stands still and drawing goes on.
void runFrameLoop();

// The frame's drawing of the world: the shadow pass, then either the shadow map itself
// (the depth view) or the lit scene into the window.
void renderWorld();

}  // namespace tarn::app
