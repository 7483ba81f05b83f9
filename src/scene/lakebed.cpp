// The lakebed scene object.
#include "scene/lakebed.h"

#include <glm/gtc/matrix_transform.hpp>

#include "base/tables.h"

namespace tarn::scene {

Lakebed::Lakebed(const glm::mat4& startModelMatrix, int textureUnit)
    : SceneObject(startModelMatrix) {
    model = std::make_unique<gfx::Model>(
        paths::lakebedModel);
    colorTextureUnit = textureUnit;
    materialShininess = 0;
    materialKd = 0.1f;
    materialKs = 0.1f;
    modelMatrix = glm::translate(modelMatrix, glm::vec3(0.0f, -5.0f, 0.0f));
}

}  // namespace tarn::scene
