// Light-shaft framebuffer and post effect.
#include "render/light_shafts.h"

#include <cmath>
#include <iostream>
#include <string>

#include "base/console.h"
#include "render/screen_quad.h"

namespace tarn::render {

GLuint lightshaftFBO = 0;
GLuint lightshaftTexture = 0;
GLuint lightshaftDepthBuffer = 0;

namespace {

// Strength and reach of the shafts; what each does is up to Shader/lightshafts.frag.
constexpr float shaftExposure = 0.5f;
constexpr float shaftDecay = 0.6f;
constexpr float shaftDensity = 2.1f;
constexpr float shaftWeight = 2.2f;

}  // namespace

void createLightShafts(int width, int height) {
    glGenFramebuffers(1, &lightshaftFBO);
    glBindFramebuffer(GL_FRAMEBUFFER, lightshaftFBO);

    glGenTextures(1, &lightshaftTexture);
    glActiveTexture(GL_TEXTURE0 + lightshaftTextureUnit);
    glBindTexture(GL_TEXTURE_2D, lightshaftTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glBindTexture(GL_TEXTURE_2D, 0);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, lightshaftTexture,
                           0);

    glGenRenderbuffers(1, &lightshaftDepthBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, lightshaftDepthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              lightshaftDepthBuffer);

    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        base::fatalExit("Lightshaft FBO creation did not work!");
    }
    std::cout << "Lightshaft framebuffer complete." << std::endl;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void resizeLightShafts(int width, int height) {
    if (!lightshaftTexture || !lightshaftDepthBuffer) return;
    glActiveTexture(GL_TEXTURE0 + lightshaftTextureUnit);
    glBindTexture(GL_TEXTURE_2D, lightshaftTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindRenderbuffer(GL_RENDERBUFFER, lightshaftDepthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
}

void releaseLightShafts() {
    if (lightshaftFBO) {
        glDeleteFramebuffers(1, &lightshaftFBO);
        lightshaftFBO = 0;
    }
    if (lightshaftTexture) {
        glDeleteTextures(1, &lightshaftTexture);
        lightshaftTexture = 0;
    }
    if (lightshaftDepthBuffer) {
        glDeleteRenderbuffers(1, &lightshaftDepthBuffer);
        lightshaftDepthBuffer = 0;
    }
}

bool isSunInView(const scene::Frustum& frustum, const glm::vec3& sunPosition) {
    return frustum.testSphere(sunPosition, sunShaftRadius) != scene::Frustum::Outside;
}

ScreenPoint projectToScreen(const glm::mat4& viewProjection, const glm::vec3& worldPoint) {
    const glm::vec4 clip = viewProjection * glm::vec4(worldPoint, 1.0f);
    ScreenPoint point;
    point.inFront = clip.w > 0.0f;
    // Behind the eye the division mirrors the point through the screen centre, and on the
    // eye plane it has no answer at all; keep the value finite for the uniform.
    const float w = std::abs(clip.w) > 1e-6f ? clip.w : 1e-6f;
    point.position = glm::vec2(clip.x / w, clip.y / w) * 0.5f + 0.5f;
    return point;
}

void beginLightShaftPass(int width, int height) {
    glBindFramebuffer(GL_FRAMEBUFFER, lightshaftFBO);
    glViewport(0, 0, width, height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void finishLightShaftPass(gfx::Shader& program, const glm::vec3& sunPosition,
                          const glm::mat4& viewProjection, bool sunInView) {
    // No clear: the quad below covers every pixel of the window.
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    program.use();
    glActiveTexture(GL_TEXTURE0 + lightshaftTextureUnit);
    glBindTexture(GL_TEXTURE_2D, lightshaftTexture);
    program.setUniform("firstPass", lightshaftTextureUnit);

    // A sun close behind the camera can still touch the frustum with its wide sphere, but
    // its projection is mirrored: shafts from there would stream from the wrong place.
    const ScreenPoint sun = projectToScreen(viewProjection, sunPosition);
    program.setUniform("sunInFrustrum", sunInView && sun.inFront ? 1 : 0);
    program.setUniform("lightPositionOnScreen", sun.position.x, sun.position.y, sun.position.x);
    program.setUniform("exposure", shaftExposure);
    program.setUniform("decay", shaftDecay);
    program.setUniform("density", shaftDensity);
    program.setUniform("weight", shaftWeight);

    // The quad covers the window whatever its depth buffer holds.
    const GLboolean depthTest = glIsEnabled(GL_DEPTH_TEST);
    glDisable(GL_DEPTH_TEST);
    renderScreenQuad();
    if (depthTest) glEnable(GL_DEPTH_TEST);
}

}  // namespace tarn::render
