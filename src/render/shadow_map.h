// Shadow mapping via a depth texture: each frame the scene is drawn from the light into
// it, and the main program compares its fragments' light-space depth against it.
#pragma once

#include <GL/glew.h>

#include <glm/glm.hpp>

namespace tarn::render {

constexpr int shadowMapSize = 4096;

extern GLuint shadowMapFBO;
extern GLuint shadowMapTexture;  // on texture unit 8
extern glm::mat4 lightSpaceMatrix;
// True only while the scene pass draws into the shadow map: the sky, the sun and the water
// surface then stay out of it.
extern bool shadowPass;

// Creates the framebuffer and its depth texture. Stops the game when the framebuffer is
// incomplete. Needs the GL context.
void createShadowMap();
// Deletes both; safe to call twice.
void releaseShadowMap();

// The light looks straight down from the light position over a 100 by 100 unit box.
glm::mat4 buildLightSpaceMatrix();

// Draws every object (culling off) into the shadow map, then restores the window as the
// target with its viewport, cleared.
void renderShadowPass();

// Binds the shadow map on unit 8 and hands it to the main program with its matrix.
void useShadowMapInMainProgram();

// Shows the shadow map itself on the whole window.
void renderDepthView();

}  // namespace tarn::render
