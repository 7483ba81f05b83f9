// The lake floor as it is drawn: the moss-textured lakebed mesh, in square pieces that the
// window's pass can leave out when they lie outside the view.
#pragma once

#include <glm/glm.hpp>
#include <vector>

#include "gfx/mesh.h"
#include "scene/frustum.h"
#include "scene/scene_object.h"

namespace tarn::scene {

// Drawn first by every scene pass and never culled as a whole. It does not move.
class Lakebed final : public SceneObject {
public:
    // The mesh is built so that, lowered by 5 units, it meets the height map. Each mesh of
    // the model file is one piece; they are joined into one buffer and drawn with one call.
    Lakebed(const glm::mat4& startModelMatrix, int textureUnit);

    void update(float /*dt*/) override {}
    // All of it, as the shadow map needs it.
    void draw(gfx::Shader& shader) override { drawWithMaterial(shader); }
    // The pieces not wholly outside the frustum (all of them with none), nearest to the
    // eye first, so the near floor hides the far one before the far one is shaded. The
    // same uniforms as draw. Pieces wholly below the eye and at least fogEnd away are left
    // out: the fog has made them the water's colour, and what they hide from the eye lies
    // farther along rays that go down, which meet neither the water surface nor the sky,
    // so it is fogged to that colour as well, or is the background of the same colour.
    void drawNearestFirst(gfx::Shader& shader, const Frustum* frustum, const glm::vec3& eye,
                          float fogEnd);

    struct Piece {
        gfx::Mesh::IndexRange range;
        glm::vec3 lo{0.0f}, hi{0.0f};  // world-space bounds
    };
    const std::vector<Piece>& pieces() const { return pieces_; }

private:
    void joinPieces();

    std::vector<Piece> pieces_;
    // Kept between frames so choosing the pieces allocates nothing.
    std::vector<std::pair<float, int>> byDistance_;
    std::vector<gfx::Mesh::IndexRange> ranges_;
};

}  // namespace tarn::scene
