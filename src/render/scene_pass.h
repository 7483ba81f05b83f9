// The scene pass: every scene object once, in a fixed order, with view-frustum culling
// and a count of what was drawn. Run into the shadow map and into the window each frame.
#pragma once

#include <glm/glm.hpp>

#include "gfx/shader.h"
#include "scene/frustum.h"
#include "scene/world.h"

namespace tarn::render {

// The camera as the frame computed it, once, before its passes.
struct CameraView {
    glm::vec3 position{0.0f};
    glm::mat4 view{1.0f};
    glm::mat4 projection{1.0f};
    glm::mat4 viewProjection{1.0f};
};

// How one pass draws the world.
struct ScenePass {
    CameraView camera;
    // Culls against this frustum; null draws every object.
    const scene::Frustum* cullingFrustum = nullptr;
    bool blending = true;     // the water surface alpha-blended
    bool bonusInPlay = true;  // false once the card is found: neither drawn nor counted
    bool shadowPass = false;  // the sky and the water stay out, the sun is counted only
    // The lakebed's depth is already in the target (the shadow map's cache): it is counted
    // as drawn but not drawn again.
    bool lakebedDepthCached = false;
    // Draws the sky and the sun when set (they light nothing); the pass's program otherwise.
    gfx::Shader* unlitProgram = nullptr;
};

// Objects handled and objects drawn by one pass.
struct PassCounts {
    int objectsTotal = 0;
    int objectsDrawn = 0;
};

// Draws the lakebed, the creature, the fish, the ducks, the bonus card, the sky, the sun
// and last the water surface (blended). The program must be current, and is again when it
// returns; the target framebuffer, viewport and clear are set up by the caller. Empty
// holders are skipped and not counted. The bonus card gets its one-time placement in the
// first pass that handles it.
PassCounts renderScene(scene::World& world, gfx::Shader& program, const ScenePass& pass);

// Puts the per-object switches back to their defaults and disables blending.
void resetPassUniforms(gfx::Shader& program);

// The main program's uniforms that never change during the run: the caustics projector,
// the light, the start camera and the default material. The program must be current.
void setStartupUniforms(gfx::Shader& program, glm::vec3 lightPos, glm::vec3 cameraPos);

}  // namespace tarn::render
