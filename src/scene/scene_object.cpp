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

void SceneObject::keepAxesOrthonormal() {
    const glm::vec3 x(modelMatrix[0]), y(modelMatrix[1]), z(modelMatrix[2]);
    // The length is kept, not measured again: rounding walks it too.
    if (axisLength_ == 0.0f)
        axisLength_ = (glm::length(x) + glm::length(y) + glm::length(z)) / 3.0f;
    const float scale = axisLength_;
    // Gram-Schmidt from the heading axis, so the way the body points moves the least.
    const glm::vec3 nx = glm::normalize(x);
    const glm::vec3 ny = glm::normalize(y - glm::dot(y, nx) * nx);
    const glm::vec3 nz = glm::cross(nx, ny);
    modelMatrix[0] = glm::vec4(scale * nx, 0.0f);
    modelMatrix[1] = glm::vec4(scale * ny, 0.0f);
    modelMatrix[2] = glm::vec4(scale * (glm::dot(nz, z) < 0.0f ? -nz : nz), 0.0f);
}

void SceneObject::turnBackIfStrayingFurther(float strayDepth) {
    if (strayDepth > lastStrayDepth) turnAround();
    lastStrayDepth = strayDepth;
}

}  // namespace tarn::scene
