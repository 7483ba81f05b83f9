// Sky, water surface and sun: placement and the per-object switches of their draws.
#include "scene/scenery.h"

#include <glm/gtc/matrix_transform.hpp>

#include "base/tables.h"

namespace tarn::scene {

namespace {

void setMaterial(SceneObject& object, int textureUnit, float kd, float ks) {
    object.colorTextureUnit = textureUnit;
    object.materialShininess = 50;
    object.materialKd = kd;
    object.materialKs = ks;
}

void sendMaterial(const SceneObject& object, gfx::Shader& shader) {
    shader.setUniform("material_shininess", object.materialShininess);
    shader.setUniform("material_kd", object.materialKd);
    shader.setUniform("material_ks", object.materialKs);
}

}  // namespace

Sky::Sky(const glm::mat4& startModelMatrix, int textureUnit)
    : Sky(startModelMatrix, textureUnit, std::make_unique<gfx::Model>(paths::skyModel)) {}

Sky::Sky(const glm::mat4& startModelMatrix, int textureUnit, std::unique_ptr<gfx::Model> mesh)
    : SceneObject(startModelMatrix) {
    model = std::move(mesh);
    setMaterial(*this, textureUnit, 0.9f, 0.9f);
    // Scaled before the lift, so the dome is wider but the 20 units stay 20.
    modelMatrix = glm::scale(modelMatrix, glm::vec3(2.0f, 1.0f, 2.0f));
    modelMatrix = glm::translate(modelMatrix, glm::vec3(0.0f, heightOffset, 0.0f));
}

void Sky::draw(gfx::Shader& shader) {
    sendMaterialAndPlace(shader);
    // No caustics and no shading up there; the fog only closes in at 30 units, so the sky
    // still shows through the water from a distance.
    shader.setUniform("project", 0);
    shader.setUniform("absoluteLighting", 1);
    shader.setUniform("maxFogDist", 30);
    if (model) model->draw(shader);
}

WaterSurface::WaterSurface(const glm::mat4& startModelMatrix, int textureUnit)
    : WaterSurface(startModelMatrix, textureUnit, std::make_unique<gfx::Model>(paths::skyModel)) {}

WaterSurface::WaterSurface(const glm::mat4& startModelMatrix, int textureUnit,
                           std::unique_ptr<gfx::Model> mesh)
    : SceneObject(startModelMatrix) {
    model = std::move(mesh);
    setMaterial(*this, textureUnit, 0.9f, 0.9f);
    modelMatrix = glm::translate(modelMatrix, glm::vec3(0.0f, heightOffset, 0.0f));
}

void WaterSurface::draw(gfx::Shader& shader) {
    sendMaterialAndPlace(shader);
    shader.setUniform("transparent", 1);
    if (model) model->draw(shader);
}

Sun::Sun(const glm::mat4& startModelMatrix, const glm::vec3& position, int textureUnit)
    : Sun(startModelMatrix, position, textureUnit, std::make_unique<gfx::Model>(paths::sunModel)) {}

Sun::Sun(const glm::mat4& startModelMatrix, const glm::vec3& position, int textureUnit,
         std::unique_ptr<gfx::Model> mesh)
    : SceneObject(startModelMatrix) {
    model = std::move(mesh);
    setMaterial(*this, textureUnit, 0.9f, 0.9f);
    modelMatrix = glm::translate(modelMatrix, position);
}

void Sun::draw(gfx::Shader& shader) {
    sendMaterial(*this, shader);
    shader.setUniform("fog", 0);
    shader.setUniform("singleColor", 1);
    shader.setUniform("absoluteLighting", 1);
    shader.setUniform("model", modelMatrix);
    if (model) model->draw(shader);
}

}  // namespace tarn::scene
