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
bool stillShadowCacheEnabled = true;

namespace {

constexpr GLuint shadowMapUnit = units::shadowMap;

// The lakebed's depth alone, as the light sees it: the part of the map that only changes
// when what it was drawn with changes.
struct StillShadowCache {
    GLuint fbo = 0;
    GLuint texture = 0;
    // What the cached depth was drawn with; a difference in any of them redraws it.
    bool valid = false;
    const scene::Lakebed* lakebed = nullptr;
    glm::mat4 lakebedModel{1.0f};
    glm::mat4 lightSpace{1.0f};
    GLuint program = 0;
    bool wireframe = false;
};
StillShadowCache stillCache;

// The same format for the map and its cache, as a depth blit between the two demands.
// Sixteen bits: the light's box is 39 units deep, so a step is 0.0006 units, fifty times
// finer than the smallest bias the lookup allows; a wider format would only double the
// memory both take and the bytes every frame's copy moves.
void allocateDepthTexture(GLuint texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT16, shadowMapSize, shadowMapSize, 0,
                 GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, nullptr);
}

// A framebuffer that writes depth into the texture and nothing else; it is left bound. Stops
// the game when it is incomplete.
GLuint depthOnlyFramebuffer(GLuint texture) {
    GLuint fbo = 0;
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, texture, 0);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        base::fatalExit("ShadowMap FBO creation did not work!");
    }
    return fbo;
}

void createStillShadowCache() {
    glGenTextures(1, &stillCache.texture);
    allocateDepthTexture(stillCache.texture);
    // Only ever read by the blit, never sampled.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    stillCache.fbo = depthOnlyFramebuffer(stillCache.texture);
    stillCache.valid = false;
}

void releaseStillShadowCache() {
    if (stillCache.fbo) glDeleteFramebuffers(1, &stillCache.fbo);
    if (stillCache.texture) glDeleteTextures(1, &stillCache.texture);
    stillCache = {};
}

// Brings the cache up to date with the lakebed as this frame's pass would draw it. The
// depth program must be current with the light's matrix set.
void refreshStillShadowCache(scene::Lakebed* lakebed, gfx::Shader& depthProgram,
                             bool wireframe) {
    const glm::mat4 lakebedModel = lakebed ? lakebed->modelMatrix : glm::mat4(1.0f);
    if (stillCache.valid && stillCache.lakebed == lakebed &&
        stillCache.lakebedModel == lakebedModel && stillCache.lightSpace == lightSpaceMatrix &&
        stillCache.program == depthProgram.program && stillCache.wireframe == wireframe) {
        return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, stillCache.fbo);
    glClear(GL_DEPTH_BUFFER_BIT);
    if (lakebed) lakebed->draw(depthProgram);
    stillCache.valid = true;
    stillCache.lakebed = lakebed;
    stillCache.lakebedModel = lakebedModel;
    stillCache.lightSpace = lightSpaceMatrix;
    stillCache.program = depthProgram.program;
    stillCache.wireframe = wireframe;
}

}  // namespace

void createShadowMap() {
    glGenTextures(1, &shadowMapTexture);
    glActiveTexture(GL_TEXTURE0 + shadowMapUnit);
    allocateDepthTexture(shadowMapTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Outside the light's box everything reads the farthest depth, so nothing there is shadowed.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_BORDER);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_BORDER);
    const float border[] = {1.0f, 1.0f, 1.0f, 1.0f};
    glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    glBindTexture(GL_TEXTURE_2D, 0);

    shadowMapFBO = depthOnlyFramebuffer(shadowMapTexture);
    createStillShadowCache();
    std::cout << "ShadowMap framebuffer complete." << std::endl;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void releaseShadowMap() {
    releaseStillShadowCache();
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
                            bool wireframe, glm::ivec2 windowSize) {
    lightSpaceMatrix = buildLightSpaceMatrix(lightPos);
    depthProgram.use();
    depthProgram.setUniform("lightSpaceMatrix", lightSpaceMatrix);

    glViewport(0, 0, shadowMapSize, shadowMapSize);
    const bool cached = stillShadowCacheEnabled && stillCache.fbo;
    if (cached) {
        // Depth takes the nearest fragment whatever the order of the draws, so the
        // lakebed's depth copied in first and the moving objects drawn over it give the
        // very texels a whole pass gives. The copy costs about what a clear does.
        refreshStillShadowCache(world.lakebed.get(), depthProgram, wireframe);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, stillCache.fbo);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, shadowMapFBO);
        glBlitFramebuffer(0, 0, shadowMapSize, shadowMapSize, 0, 0, shadowMapSize, shadowMapSize,
                          GL_DEPTH_BUFFER_BIT, GL_NEAREST);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, shadowMapFBO);
    if (!cached) glClear(GL_DEPTH_BUFFER_BIT);

    ScenePass pass;
    pass.camera = camera;
    pass.cullingFrustum = nullptr;
    pass.bonusInPlay = bonusInPlay;
    pass.shadowPass = true;
    pass.lakebedDepthCached = cached;
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
