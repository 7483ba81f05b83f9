// The twelve ducks paddling on the water surface on random courses.
#pragma once

#include <memory>

#include "scene/scene_object.h"

namespace tarn::scene {

class Duck final : public SceneObject {
public:
    // Loads the duck model, then takes six values from the shared random source.
    Duck(const glm::mat4& startModelMatrix, int textureUnit);
    // The same with the given mesh instead of the file; a null mesh draws nothing.
    Duck(const glm::mat4& startModelMatrix, int textureUnit, std::unique_ptr<gfx::Model> mesh);

    // Turns about the vertical only, so the duck stays upright at the water line. Nothing
    // keeps it over the lake.
    void update(float dt) override;
    // Back to a fresh start from startModelMatrix with the next values of the shared random
    // source, in the constructor's order.
    void placeAnew(const glm::mat4& startModelMatrix);
    void draw(gfx::Shader& shader) override { drawWithMaterial(shader); }

    float courseTimer = 0.0f;
    float courseDuration = 0.0f;
    float turnRate = 0.0f;  // degrees; a twentieth of it per second about local y
    float rollRate = 0.0f;  // drawn with each course like the swimmers', but never applied
    // In the duck's own frame, which is scaled by 0.4: the duck covers 0.4 * speed world
    // units per second.
    float speed = 0.0f;
};

}  // namespace tarn::scene
