// Shadow mapping via a depth texture: each frame the scene is drawn from the light into
// it, and the main program compares its fragments' light-space depth against it. The
// lakebed, which never moves, is drawn once into a cache of its own and copied in.
#pragma once

#include <GL/glew.h>

#include <glm/glm.hpp>

#include "gfx/shader.h"
#include "render/scene_pass.h"
#include "scene/world.h"

namespace tarn::render {

constexpr int shadowMapSize = 4096;

extern GLuint shadowMapFBO;
extern GLuint shadowMapTexture;  // on texture unit 8
extern glm::mat4 lightSpaceMatrix;
// On: the shadow pass copies the lakebed's depth from its cache and draws only what moves.
// Off: every caster is drawn each frame. The map is the same either way; off is there to
// measure the cache against and to check that sameness.
extern bool stillShadowCacheEnabled;

// Creates the framebuffer and its depth texture, and the lakebed's cache beside them,
// empty. Stops the game when a framebuffer is incomplete. Needs the GL context.
void createShadowMap();
// Deletes them all; safe to call twice.
void releaseShadowMap();

// The light looks straight down from the light position over a 100 by 100 unit box.
glm::mat4 buildLightSpaceMatrix(glm::vec3 lightPos);

// Draws every object into the shadow map with the depth program, never culled: objects
// outside the camera's view still cast shadows into it. Then restores the window as the
// target with its viewport, cleared. Returns the pass's counts. wireframe must say what
// the current polygon mode is (F3): the cached lakebed is redrawn when it changes, as it
// is when the lakebed, its place, the light or the program changes, and after
// createShadowMap.
PassCounts renderShadowPass(scene::World& world, gfx::Shader& depthProgram,
                            const CameraView& camera, glm::vec3 lightPos, bool bonusInPlay,
                            bool wireframe, glm::ivec2 windowSize);

// Binds the shadow map on its unit and hands it to the main program with its matrix.
// Leaves the main program current.
void useShadowMapInMainProgram(gfx::Shader& mainProgram);

// Shows the shadow map itself on the whole window with the depth-view program.
void renderDepthView(gfx::Shader& depthViewProgram);

}  // namespace tarn::render
