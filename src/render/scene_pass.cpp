// Scene pass: the fixed draw order, culling, counters and the pass-wide uniforms.
#include "render/scene_pass.h"

#include <GL/glew.h>

#include <glm/gtc/matrix_transform.hpp>

#include "base/tables.h"

namespace tarn::render {

namespace {

constexpr float morvieRadius = 1.0f;
constexpr float fishRadius = 0.5f;
constexpr float duckRadius = 1.3f;
constexpr float bonusRadius = 0.5f;
constexpr float sunRadius = 0.5f;
// Where the main program's fog is complete, for every object that does not set its own.
constexpr int fogEnd = 20;

class PassDrawer {
public:
    PassDrawer(gfx::Shader& program, const ScenePass& pass) : program_(program), pass_(pass) {}

    bool isVisible(const scene::SceneObject& object, float radius) const {
        if (!pass_.cullingFrustum) return true;
        return pass_.cullingFrustum->testSphere(object.position(), radius) !=
               scene::Frustum::Outside;
    }

    // Counts the object as handled and draws it unless culled.
    void drawCulled(scene::SceneObject* object, float radius) {
        if (!object) return;
        ++counts.objectsTotal;
        if (!isVisible(*object, radius)) return;
        object->draw(program_);
        ++counts.objectsDrawn;
    }

    void drawAlways(scene::SceneObject* object) { drawAlways(object, program_); }
    void drawAlways(scene::SceneObject* object, gfx::Shader& program) {
        if (!object) return;
        object->draw(program);
        ++counts.objectsTotal;
        ++counts.objectsDrawn;
    }

    PassCounts counts;

private:
    gfx::Shader& program_;
    const ScenePass& pass_;
};

}  // namespace

void resetPassUniforms(gfx::Shader& program) {
    program.setUniform("projected_texture", units::caustics);
    program.setUniform("project", 1);
    program.setUniform("transparent", 0);
    glDisable(GL_BLEND);
    program.setUniform("fog", 1);
    program.setUniform("maxFogDist", fogEnd);
    program.setUniform("singleColor", 0);
    program.setUniform("absoluteLighting", 0);
    program.setUniform("model", glm::mat4(1.0f));
}

void setStartupUniforms(gfx::Shader& program, glm::vec3 lightPos, glm::vec3 cameraPos) {
    // Caustics fall in from the side: a 20 by 20 unit pattern projected along (1, 1, 0).
    const glm::mat4 projectorMatrix =
        glm::ortho(-10.0f, 10.0f, -10.0f, 10.0f, 1.0f, 30.0f) *
        glm::lookAt(glm::vec3(1.0f, 1.0f, 0.0f), glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f)) *
        glm::mat4(1.0f);
    program.setUniform("projectorMatrix", projectorMatrix);
    program.setUniform("lightPos", lightPos.x, lightPos.y, lightPos.z);
    program.setUniform("cameraPos", cameraPos.x, cameraPos.y, cameraPos.z);
    program.setUniform("material_shininess", 0);
    program.setUniform("material_kd", 0.1f);
    program.setUniform("material_ks", 0.1f);
}

PassCounts renderScene(scene::World& world, gfx::Shader& program, const ScenePass& pass) {
    const CameraView& camera = pass.camera;
    program.setUniform("cameraPos", camera.position.x, camera.position.y, camera.position.z);
    program.setUniform("view_project", camera.viewProjection);
    program.setUniform("view", camera.view);
    resetPassUniforms(program);

    PassDrawer drawer(program, pass);
    // Never culled as a whole. The shadow map needs all of it; the window only the pieces
    // in view, nearest first, so the floor in front hides the floor behind unshaded.
    if (world.lakebed) {
        // Only the lakebed has banks steep enough to need its texture from the side.
        program.setUniform("rockFaces", 1);
        if (pass.lakebedDepthCached) {
            // Counted below as if drawn: the statistics show the same pass either way.
        } else if (pass.shadowPass) {
            world.lakebed->draw(program);
        } else {
            world.lakebed->drawNearestFirst(program, pass.cullingFrustum, camera.position,
                                            float(fogEnd));
        }
        program.setUniform("rockFaces", 0);
        ++drawer.counts.objectsTotal;
        ++drawer.counts.objectsDrawn;
    }
    drawer.drawCulled(world.morvie.get(), morvieRadius);
    for (const auto& fish : world.fishes) drawer.drawCulled(fish.get(), fishRadius);
    for (const auto& duck : world.ducks) drawer.drawCulled(duck.get(), duckRadius);

    if (world.bonusCard && pass.bonusInPlay) {
        program.setUniform("color_texture", units::sdCard);
        world.bonusCard->placeOnce();
        program.setUniform("model", world.bonusCard->modelMatrix);
        drawer.drawCulled(world.bonusCard.get(), bonusRadius);
    }

    // The sky can fill the window, and in the main program it would pay for the lighting
    // it goes without; the unlit program gives the same colours for much less.
    gfx::Shader* unlit = pass.shadowPass ? nullptr : pass.unlitProgram;
    gfx::Shader& scenery = unlit ? *unlit : program;
    if (unlit) {
        unlit->use();
        unlit->setUniform("cameraPos", camera.position.x, camera.position.y, camera.position.z);
        unlit->setUniform("view_project", camera.viewProjection);
        resetPassUniforms(*unlit);
    }
    if (!pass.shadowPass && world.sky) {
        drawer.drawAlways(world.sky.get(), scenery);
        resetPassUniforms(scenery);
    }

    // The sun is counted in the shadow pass too, but only ever drawn into the window.
    if (world.sun) {
        ++drawer.counts.objectsTotal;
        if (drawer.isVisible(*world.sun, sunRadius) && !pass.shadowPass) {
            world.sun->draw(scenery);
            ++drawer.counts.objectsDrawn;
        }
        resetPassUniforms(scenery);
    }
    if (unlit) {
        program.use();
        resetPassUniforms(program);
    }

    if (pass.blending) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    if (!pass.shadowPass) drawer.drawAlways(world.waterSurface.get());
    resetPassUniforms(program);
    return drawer.counts;
}

}  // namespace tarn::render
