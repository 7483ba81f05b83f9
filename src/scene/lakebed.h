// The lake floor as it is drawn: the moss-textured lakebed mesh.
#pragma once

#include "scene/scene_object.h"

namespace tarn::scene {

// Drawn first by every scene pass and never culled. It does not move.
class Lakebed final : public SceneObject {
public:
    // The mesh is built so that, lowered by 5 units, it meets the height map.
    Lakebed(const glm::mat4& startModelMatrix, int textureUnit);

    void update(float /*dt*/) override {}
    void draw(gfx::Shader& shader) override { drawWithMaterial(shader); }
};

}  // namespace tarn::scene
