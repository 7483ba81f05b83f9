// The frame loop.
#include "app/frame_loop.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <cmath>

#include "app/camera.h"
#include "app/game_state.h"
#include "app/globals.h"
#include "app/input.h"
#include "app/process_input.h"
#include "gfx/texture.h"
#include "render/scene_pass.h"
#include "render/shadow_map.h"
#include "scene/frustum.h"

namespace tarn::app {

namespace {

// Stages whose subsystems arrive later; each is filled in where its subsystem lands.
void updateScene(float /*deltaTime*/) {}
void switchOffSpentLight(double /*now*/) {}
void drawStatusLines() {}
void drawEndBanners() {}

// The spotlight's cone: full strength within 20 degrees of the view axis, gone at 30.
const float spotlightInnerCos = static_cast<float>(std::cos(double(20.0f * 0.017453292f)));
const float spotlightOuterCos = static_cast<float>(std::cos(double(30.0f * 0.017453292f)));

// The light-shaft effect joins here with its pass; until then the scene goes straight
// into the window.
void renderLitScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    render::renderScene(*megaShader);
}

}  // namespace

void renderWorld() {
    render::renderShadowPass();
    if (settings.showDepthMap) {
        render::renderDepthView();
        return;
    }
    render::useShadowMapInMainProgram();
    gfx::applyTextureSampling(settings.mipmappingEnabled, settings.nearestSampling);
    scene::viewFrustum.setCamera(cameraPos, cameraPos + cameraFront, cameraUp);
    megaShader->setUniform("cones", spotlightInnerCos);
    megaShader->setUniform("outerCones", spotlightOuterCos);
    megaShader->setUniform("cameraFront", cameraFront.x, cameraFront.y, cameraFront.z);
    renderLitScene();
}

void runFrameLoop() {
    const GlfwInput input(window);
    lastFrame = glfwGetTime();
    while (!glfwWindowShouldClose(window)) {
        const double now = glfwGetTime();
        deltaTime = static_cast<float>(now - lastFrame);
        lastFrame = now;

        if (!game.gameOver) updateScene(deltaTime);
        renderWorld();
        switchOffSpentLight(now);
        drawStatusLines();
        megaShader->use();

        if (input.keyDown(GLFW_KEY_ESCAPE)) glfwSetWindowShouldClose(window, GLFW_TRUE);
        if (!game.gameOver) processInput(input, deltaTime, static_cast<float>(now));
        drawEndBanners();

        glfwSwapBuffers(window);
        glfwPollEvents();
    }
}

}  // namespace tarn::app
