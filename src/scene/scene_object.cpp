// The behaviour every scene object shares: common draw, position and the bounds rules.
#include "scene/scene_object.h"

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

bool SceneObject::isOutsideBounds() const {
    const glm::vec3 p = position();
    return p.x < -boundsHalfSize || p.x > boundsHalfSize || p.y > boundsHalfSize ||
           p.y < -boundsHalfSize || p.z > boundsMaxZ || p.z < 0.0f;
}

void SceneObject::turnAround() {
    modelMatrix = glm::rotate(modelMatrix, glm::pi<float>(), glm::vec3(0.0f, 1.0f, 0.0f));
}

}  // namespace tarn::scene
