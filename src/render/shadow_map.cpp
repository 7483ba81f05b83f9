// Shadow map pass and depth view.
#include "render/shadow_map.h"

#include <glm/gtc/matrix_transform.hpp>
#include <iostream>

#include "app/console.h"
#include "app/game_state.h"
#include "app/globals.h"
#include "render/scene_pass.h"
#include "render/screen_quad.h"

namespace tarn::render {

GLuint shadowMapFBO = 0;
GLuint shadowMapTexture = 0;
glm::mat4 lightSpaceMatrix(1.0f);
bool shadowPass = false;

namespace {

constexpr GLuint shadowMapUnit = 8;

}  // namespace

void createShadowMap() {
    glGenFramebuffers(1, &shadowMapFBO);
    glGenTextures(1, &shadowMapTexture);
    glActiveTexture(GL_TEXTURE0 + shadowMapUnit);
    glBindTexture(GL_TEXTURE_2D, shadowMapTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, shadowMapSize, shadowMapSize, 0,
                 GL_DEPTH_COMPONENT, GL_FLOAT, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Outside the light's box everything reads the farthest depth, so nothing there is shadowed.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_BORDER);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_BORDER);
    const float border[] = {1.0f, 1.0f, 1.0f, 1.0f};
    glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    glBindTexture(GL_TEXTURE_2D, 0);

    glBindFramebuffer(GL_FRAMEBUFFER, shadowMapFBO);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, shadowMapTexture, 0);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        app::fatalExit("ShadowMap FBO creation did not work!");
    }
    std::cout << "ShadowMap framebuffer complete." << std::endl;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void releaseShadowMap() {
    if (shadowMapFBO) {
        glDeleteFramebuffers(1, &shadowMapFBO);
        shadowMapFBO = 0;
    }
    if (shadowMapTexture) {
        glDeleteTextures(1, &shadowMapTexture);
        shadowMapTexture = 0;
    }
}

glm::mat4 buildLightSpaceMatrix() {
    const glm::mat4 projection = glm::ortho(-50.0f, 50.0f, -50.0f, 50.0f, 1.0f, 40.0f);
    const glm::mat4 view =
        glm::lookAt(app::lightPos, glm::vec3(0.0f), glm::vec3(1.0f, 0.0f, 0.0f));
    return projection * view;
}

void renderShadowPass() {
    lightSpaceMatrix = buildLightSpaceMatrix();
    app::shadowDepthShader->use();
    app::shadowDepthShader->setUniform("lightSpaceMatrix", lightSpaceMatrix);

    glViewport(0, 0, shadowMapSize, shadowMapSize);
    glBindFramebuffer(GL_FRAMEBUFFER, shadowMapFBO);
    glClear(GL_DEPTH_BUFFER_BIT);

    // Objects outside the camera's view still cast shadows into it.
    const bool culling = app::settings.frustumCullingEnabled;
    shadowPass = true;
    app::settings.frustumCullingEnabled = false;
    renderScene(*app::shadowDepthShader);

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    shadowPass = false;
    app::settings.frustumCullingEnabled = culling;
    glViewport(0, 0, app::screenWidth, app::screenHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void useShadowMapInMainProgram() {
    glActiveTexture(GL_TEXTURE0 + shadowMapUnit);
    glBindTexture(GL_TEXTURE_2D, shadowMapTexture);
    app::megaShader->use();
    app::megaShader->setUniform("lightSpaceMatrix", lightSpaceMatrix);
    app::megaShader->setUniform("shadowMap", static_cast<int>(shadowMapUnit));
    app::megaShader->setUniform("shadows", 1);
}

void renderDepthView() {
    app::depthShader->use();
    glActiveTexture(GL_TEXTURE0 + shadowMapUnit);
    glBindTexture(GL_TEXTURE_2D, shadowMapTexture);
    app::depthShader->setUniform("depthMap", static_cast<int>(shadowMapUnit));
    renderScreenQuad();
}

}  // namespace tarn::render
