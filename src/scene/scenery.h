// The still scenery at and above the water line: the sky dome, the sun and the water
// surface. None of them moves; each switches a few shader uniforms for its own draw and
// leaves them for the scene pass to reset.
#pragma once

#include <memory>

#include "base/tables.h"
#include "scene/scene_object.h"

namespace tarn::scene {

// Stretched twice in x and z and raised 20 units; unlit, and fogged only far away.
class Sky final : public SceneObject {
public:
    Sky(const glm::mat4& startModelMatrix, int textureUnit);
    // With the given mesh instead of the file; a null mesh draws nothing.
    Sky(const glm::mat4& startModelMatrix, int textureUnit, std::unique_ptr<gfx::Model> mesh);

    void update(float /*dt*/) override {}
    void draw(gfx::Shader& shader) override;

    float heightOffset = 20.0f;
};

// The disc at the water level, drawn see-through (blending is the scene pass's business)
// with the caustics frames as its texture.
class WaterSurface final : public SceneObject {
public:
    WaterSurface(const glm::mat4& startModelMatrix, int textureUnit);
    WaterSurface(const glm::mat4& startModelMatrix, int textureUnit,
                 std::unique_ptr<gfx::Model> mesh);

    void update(float /*dt*/) override {}
    void draw(gfx::Shader& shader) override;

    float heightOffset = lake::waterLevel;
};

// A flat-coloured, unlit and unfogged ball where the light is. It samples no texture, so
// its texture unit is kept but never sent.
class Sun final : public SceneObject {
public:
    Sun(const glm::mat4& startModelMatrix, const glm::vec3& position, int textureUnit);
    Sun(const glm::mat4& startModelMatrix, const glm::vec3& position, int textureUnit,
        std::unique_ptr<gfx::Model> mesh);

    void update(float /*dt*/) override {}
    void draw(gfx::Shader& shader) override;
};

}  // namespace tarn::scene
