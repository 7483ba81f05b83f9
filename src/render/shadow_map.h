// Shadow mapping via a depth texture: each frame the scene is drawn from the light into
// it, and the main program compares its fragments' light-space depth against it.
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

// Creates the framebuffer and its depth texture. Stops the game when the framebuffer is
// incomplete. Needs the GL context.
void createShadowMap();
// Deletes both; safe to call twice.
void releaseShadowMap();

// The light looks straight down from the light position over a 100 by 100 unit box.
glm::mat4 buildLightSpaceMatrix(glm::vec3 lightPos);

// Draws every object into the shadow map with the depth program, never culled: objects
// outside the camera's view still cast shadows into it. Then restores the window as the
// target with its viewport, cleared. Returns the pass's counts.
PassCounts renderShadowPass(scene::World& world, gfx::Shader& depthProgram,
                            const CameraView& camera, glm::vec3 lightPos, bool bonusInPlay,
                            glm::ivec2 windowSize);

// Binds the shadow map on its unit and hands it to the main program with its matrix.
// Leaves the main program current.
void useShadowMapInMainProgram(gfx::Shader& mainProgram);

// Shows the shadow map itself on the whole window with the depth-view program.
void renderDepthView(gfx::Shader& depthViewProgram);

}  // namespace tarn::render
