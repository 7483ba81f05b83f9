// One quad into the shadow map, one quad over the whole window, and the post effect.
#include "probe.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

#include "app/globals.h"
#include "base/tables.h"
#include "render/light_shafts.h"
#include "render/pass_timer.h"
#include "render/scene_pass.h"
#include "render/shadow_map.h"

namespace tarn::bench {

namespace {

gfx::Mesh unitQuad() {
    const glm::vec3 normal(0.0f, 0.0f, 1.0f);
    // Texture coordinates span about what the moss repeats over across the window.
    std::vector<gfx::Vertex> vertices = {
        {{-1.0f, -1.0f, 0.0f}, normal, {0.0f, 0.0f}},
        {{1.0f, -1.0f, 0.0f}, normal, {2.0f, 0.0f}},
        {{1.0f, 1.0f, 0.0f}, normal, {2.0f, 2.0f}},
        {{-1.0f, 1.0f, 0.0f}, normal, {0.0f, 2.0f}},
    };
    return gfx::Mesh(std::move(vertices), {0, 1, 2, 0, 2, 3});
}

// Flat on the floor and wider than the light's 100 by 100 box: every texel covered once.
glm::mat4 floorQuad() {
    glm::mat4 m = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, -5.0f, 0.0f));
    m = glm::rotate(m, glm::radians(-90.0f), glm::vec3(1.0f, 0.0f, 0.0f));
    return glm::scale(m, glm::vec3(60.0f, 60.0f, 1.0f));
}

// Upright in front of the camera at eight units, a little larger than the view there.
glm::mat4 windowQuad(const ProbeFrame& frame) {
    const float distance = 8.0f;
    const float halfHeight = distance * std::tan(frame.fieldOfViewY * 0.5f) * 1.05f;
    glm::mat4 m = glm::inverse(frame.view);
    m = glm::translate(m, glm::vec3(0.0f, 0.0f, -distance));
    return glm::scale(m, glm::vec3(halfHeight * frame.aspect, halfHeight, 1.0f));
}

}  // namespace

RequiredWorkProbe::RequiredWorkProbe() : quad_(unitQuad()) {}

void RequiredWorkProbe::render(const ProbeFrame& frame, int windowWidth, int windowHeight) {
    renderShadowPass();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, windowWidth, windowHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    renderWindowPass(frame, windowWidth, windowHeight);
    if (frame.lightShafts) {
        const render::TimedPart timed(render::FramePart::LightShafts);
        render::finishLightShaftPass(*app::lightshaftShader, frame.sunPosition,
                                     frame.viewProjection, frame.sunInView);
    }
}

void RequiredWorkProbe::renderShadowPass() {
    const render::TimedPart timed(render::FramePart::ShadowPass);
    gfx::Shader& depth = *app::shadowDepthShader;
    depth.use();
    depth.setUniform("lightSpaceMatrix", render::lightSpaceMatrix);
    depth.setUniform("model", floorQuad());
    glViewport(0, 0, render::shadowMapSize, render::shadowMapSize);
    glBindFramebuffer(GL_FRAMEBUFFER, render::shadowMapFBO);
    glClear(GL_DEPTH_BUFFER_BIT);
    quad_.draw();
}

void RequiredWorkProbe::renderWindowPass(const ProbeFrame& frame, int windowWidth,
                                         int windowHeight) {
    const render::TimedPart timed(render::FramePart::WindowPass);
    if (frame.lightShafts) render::beginLightShaftPass(windowWidth, windowHeight);

    // Lit like the lakebed: the moss, caustics, the shadow lookup and the fog.
    glActiveTexture(GL_TEXTURE0 + units::shadowMap);
    glBindTexture(GL_TEXTURE_2D, render::shadowMapTexture);
    gfx::Shader& lit = *app::megaShader;
    lit.use();
    lit.setUniform("lightSpaceMatrix", render::lightSpaceMatrix);
    lit.setUniform("shadowMap", units::shadowMap);
    lit.setUniform("shadows", 1);
    lit.setUniform("cameraPos", frame.cameraPosition.x, frame.cameraPosition.y,
                   frame.cameraPosition.z);
    lit.setUniform("view_project", frame.viewProjection);
    lit.setUniform("view", frame.view);
    render::resetPassUniforms(lit);
    lit.setUniform("material_shininess", 0);
    lit.setUniform("material_kd", 0.1f);
    lit.setUniform("material_ks", 0.1f);
    lit.setUniform("color_texture", units::moss);
    lit.setUniform("model", windowQuad(frame));
    quad_.draw();
}

}  // namespace tarn::bench
