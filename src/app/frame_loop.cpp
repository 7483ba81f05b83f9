// The frame loop.
#include "app/frame_loop.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "app/game_state.h"
#include "app/globals.h"
#include "app/input.h"

namespace tarn::app {

namespace {

// Stages whose subsystems arrive later; each is filled in where its subsystem lands.
void updateScene(float /*deltaTime*/) {}
void renderShadowPass() {}
void renderScenePasses() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, screenWidth, screenHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
void switchOffSpentLight(double /*now*/) {}
void drawStatusLines() {}
void processInput(const InputSource& /*input*/, float /*deltaTime*/, float /*now*/) {}
void drawEndBanners() {}

}  // namespace

void runFrameLoop() {
    const GlfwInput input(window);
    lastFrame = glfwGetTime();
    while (!glfwWindowShouldClose(window)) {
        const double now = glfwGetTime();
        deltaTime = static_cast<float>(now - lastFrame);
        lastFrame = now;

        if (!game.gameOver) updateScene(deltaTime);
        renderShadowPass();
        renderScenePasses();
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
