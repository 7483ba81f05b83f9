// The scene pass: every scene object once, in a fixed order, with view-frustum culling
// and a count of what was drawn. Run into the shadow map and into the window each frame.
#pragma once

#include "gfx/shader.h"

namespace tarn::render {

// Objects handled and objects drawn by the last scene pass.
extern int objectsTotal;
extern int objectsDrawn;
// The bonus card gets its one-time placement in the first pass of the run.
extern bool bonusPlaced;

// Builds the camera matrices, then draws the lakebed, the creature, the fish, the ducks,
// the bonus card, the sky, the sun and last the water surface (blended). The program must
// be current and the target framebuffer, viewport and clear set up by the caller.
void renderScene(gfx::Shader& program);

// Puts the per-object switches back to their defaults and disables blending.
void resetPassUniforms(gfx::Shader& program);

// The main program's uniforms that never change during the run: the caustics projector,
// the light, the start camera and the default material. megaShader must be current.
void setStartupUniforms(gfx::Shader& program);

}  // namespace tarn::render
