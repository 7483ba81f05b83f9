// The behaviour every scene object shares: common draw, position and the bounds rules.
#include "scene/scene_object.h"

#include <algorithm>
#include <cmath>
#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

namespace tarn::scene {

SceneObject::SceneObject(const glm::mat4& startModelMatrix) : modelMatrix(startModelMatrix) {}

void SceneObject::drawWithMaterial(gfx::Shader& shader) const {
    sendMaterialAndPlace(shader);
    if (model) model->draw(shader);
}

void SceneObject::sendMaterialAndPlace(gfx::Shader& shader) const {
    shader.setUniform("material_shininess", materialShininess);
    shader.setUniform("material_kd", materialKd);
    shader.setUniform("material_ks", materialKs);
    shader.setUniform("color_texture", colorTextureUnit);
    shader.setUniform("model", modelMatrix);
}

glm::vec3 SceneObject::position() const { return glm::vec3(modelMatrix[3]); }

bool SceneObject::isOutsideBounds() const { return depthOutOfBounds() > 0.0f; }

float SceneObject::depthOutOfBounds() const {
    const glm::vec3 p = position();
    return std::max(0.0f, std::abs(p.x) - boundsHalfSize) +
           std::max(0.0f, std::abs(p.y) - boundsHalfSize) + std::max(0.0f, -p.z) +
           std::max(0.0f, p.z - boundsMaxZ);
}

void SceneObject::turnAround() {
    modelMatrix = glm::rotate(modelMatrix, glm::pi<float>(), glm::vec3(0.0f, 1.0f, 0.0f));
}

void SceneObject::turnBackIfStrayingFurther(float strayDepth) {
    if (strayDepth > lastStrayDepth) turnAround();
    lastStrayDepth = strayDepth;
}

}  // namespace tarn::scene
