// Scene pass: the fixed draw order, culling, counters and the pass-wide uniforms.
#include "render/scene_pass.h"

#include <GL/glew.h>

#include <glm/gtc/matrix_transform.hpp>

#include "app/camera.h"
#include "app/game_state.h"
#include "app/globals.h"
#include "app/world.h"
#include "render/shadow_map.h"
#include "scene/frustum.h"

namespace tarn::render {

int objectsTotal = 0;
int objectsDrawn = 0;
bool bonusPlaced = false;

namespace {

constexpr float morvieRadius = 1.0f;
constexpr float fishRadius = 0.5f;
constexpr float duckRadius = 1.3f;
constexpr float bonusRadius = 0.5f;
constexpr float sunRadius = 0.5f;
constexpr int sdCardUnit = 2;

bool isVisible(const scene::SceneObject& object, float radius) {
    if (!app::settings.frustumCullingEnabled) return true;
    return scene::viewFrustum.testSphere(object.position(), radius) !=
           scene::Frustum::Outside;
}

// Counts the object as handled and draws it unless culled. A holder not filled yet (an
// object whose kind the world does not have) is skipped and not counted.
void drawCulled(scene::SceneObject* object, float radius, gfx::Shader& program) {
    if (!object) return;
    ++objectsTotal;
    if (!isVisible(*object, radius)) return;
    object->draw(program);
    ++objectsDrawn;
}

void drawAlways(scene::SceneObject* object, gfx::Shader& program) {
    if (!object) return;
    object->draw(program);
    ++objectsTotal;
    ++objectsDrawn;
}

}  // namespace

void resetPassUniforms(gfx::Shader& program) {
    program.setUniform("projected_texture", 4);
    program.setUniform("project", 1);
    program.setUniform("transparent", 0);
    glDisable(GL_BLEND);
    program.setUniform("fog", 1);
    program.setUniform("maxFogDist", 20);
    program.setUniform("singleColor", 0);
    program.setUniform("absoluteLighting", 0);
    program.setUniform("model", glm::mat4(1.0f));
}

void setStartupUniforms(gfx::Shader& program) {
    // Caustics fall in from the side: a 20 by 20 unit pattern projected along (1, 1, 0).
    const glm::mat4 projectorMatrix =
        glm::ortho(-10.0f, 10.0f, -10.0f, 10.0f, 1.0f, 30.0f) *
        glm::lookAt(glm::vec3(1.0f, 1.0f, 0.0f), glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f)) *
        glm::mat4(1.0f);
    program.setUniform("projectorMatrix", projectorMatrix);
    program.setUniform("lightPos", app::lightPos.x, app::lightPos.y, app::lightPos.z);
    program.setUniform("cameraPos", app::cameraPos.x, app::cameraPos.y, app::cameraPos.z);
    program.setUniform("material_shininess", 0);
    program.setUniform("material_kd", 0.1f);
    program.setUniform("material_ks", 0.1f);
}

void renderScene(gfx::Shader& program) {
    objectsTotal = 0;
    objectsDrawn = 0;
    app::viewMatrix = app::buildViewMatrix();
    app::projectionMatrix = app::buildProjectionMatrix(app::aspectRatio);
    app::viewProjectionMatrix = app::projectionMatrix * app::viewMatrix;
    program.setUniform("cameraPos", app::cameraPos.x, app::cameraPos.y, app::cameraPos.z);
    program.setUniform("view_project", app::viewProjectionMatrix);
    program.setUniform("view", app::viewMatrix);
    resetPassUniforms(program);

    drawAlways(app::lakebed.get(), program);  // never culled
    drawCulled(app::morvie.get(), morvieRadius, program);
    for (const auto& fish : app::fishes) drawCulled(fish.get(), fishRadius, program);
    for (const auto& duck : app::ducks) drawCulled(duck.get(), duckRadius, program);

    if (app::bonusCard && !app::game.bonusFound) {
        program.setUniform("color_texture", sdCardUnit);
        if (!bonusPlaced) {
            bonusPlaced = true;
            app::bonusCard->modelMatrix =
                glm::translate(app::bonusCard->modelMatrix, glm::vec3(-1.0f, 5.0f, 0.0f));
        }
        program.setUniform("model", app::bonusCard->modelMatrix);
        drawCulled(app::bonusCard.get(), bonusRadius, program);
    }

    if (!shadowPass) {
        drawAlways(app::sky.get(), program);
        resetPassUniforms(program);
    }

    // The sun is counted in the shadow pass too, but only ever drawn into the window.
    if (app::sun) {
        ++objectsTotal;
        if (isVisible(*app::sun, sunRadius) && !shadowPass) {
            app::sun->draw(program);
            ++objectsDrawn;
        }
        resetPassUniforms(program);
    }

    if (app::settings.blendingEnabled) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    if (!shadowPass) drawAlways(app::waterSurface.get(), program);
    resetPassUniforms(program);
}

}  // namespace tarn::render
