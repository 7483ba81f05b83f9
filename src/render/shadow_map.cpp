// Shadow map pass and depth view.
#include "render/shadow_map.h"

#include <glm/gtc/matrix_transform.hpp>
#include <iostream>

#include "base/console.h"
#include "base/tables.h"
#include "render/screen_quad.h"

namespace tarn::render {

GLuint shadowMapFBO = 0;
GLuint shadowMapTexture = 0;
glm::mat4 lightSpaceMatrix(1.0f);

namespace {

constexpr GLuint shadowMapUnit = units::shadowMap;

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
        base::fatalExit("ShadowMap FBO creation did not work!");
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

glm::mat4 buildLightSpaceMatrix(glm::vec3 lightPos) {
    const glm::mat4 projection = glm::ortho(-50.0f, 50.0f, -50.0f, 50.0f, 1.0f, 40.0f);
    const glm::mat4 view = glm::lookAt(lightPos, glm::vec3(0.0f), glm::vec3(1.0f, 0.0f, 0.0f));
    return projection * view;
}

PassCounts renderShadowPass(scene::World& world, gfx::Shader& depthProgram,
                            const CameraView& camera, glm::vec3 lightPos, bool bonusInPlay,
                            glm::ivec2 windowSize) {
    lightSpaceMatrix = buildLightSpaceMatrix(lightPos);
    depthProgram.use();
    depthProgram.setUniform("lightSpaceMatrix", lightSpaceMatrix);

    glViewport(0, 0, shadowMapSize, shadowMapSize);
    glBindFramebuffer(GL_FRAMEBUFFER, shadowMapFBO);
    glClear(GL_DEPTH_BUFFER_BIT);

    ScenePass pass;
    pass.camera = camera;
    pass.cullingFrustum = nullptr;
    pass.bonusInPlay = bonusInPlay;
    pass.shadowPass = true;
    const PassCounts counts = renderScene(world, depthProgram, pass);

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, windowSize.x, windowSize.y);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return counts;
}

void useShadowMapInMainProgram(gfx::Shader& mainProgram) {
    glActiveTexture(GL_TEXTURE0 + shadowMapUnit);
    glBindTexture(GL_TEXTURE_2D, shadowMapTexture);
    mainProgram.use();
    mainProgram.setUniform("lightSpaceMatrix", lightSpaceMatrix);
    mainProgram.setUniform("shadowMap", static_cast<int>(shadowMapUnit));
    mainProgram.setUniform("shadows", 1);
}

void renderDepthView(gfx::Shader& depthViewProgram) {
    depthViewProgram.use();
    glActiveTexture(GL_TEXTURE0 + shadowMapUnit);
    glBindTexture(GL_TEXTURE_2D, shadowMapTexture);
    depthViewProgram.setUniform("depthMap", static_cast<int>(shadowMapUnit));
    renderScreenQuad();
}

}  // namespace tarn::render
