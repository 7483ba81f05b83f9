// The lakebed scene object and the choice of the pieces the window's pass draws.
#include "scene/lakebed.h"

#include <algorithm>
#include <glm/gtc/matrix_transform.hpp>

#include "base/tables.h"

namespace tarn::scene {

Lakebed::Lakebed(const glm::mat4& startModelMatrix, int textureUnit)
    : SceneObject(startModelMatrix) {
    model = std::make_unique<gfx::Model>(paths::lakebedModel);
    colorTextureUnit = textureUnit;
    materialShininess = 0;
    materialKd = 0.1f;
    materialKs = 0.1f;
    modelMatrix = glm::translate(modelMatrix, glm::vec3(0.0f, -5.0f, 0.0f));
    joinPieces();
}

void Lakebed::joinPieces() {
    if (!model || model->meshes.empty()) return;
    std::vector<gfx::Vertex> vertices;
    std::vector<unsigned int> indices;
    for (const gfx::Mesh& mesh : model->meshes) {
        if (mesh.indices.empty()) continue;
        Piece piece;
        piece.range = {GLsizei(indices.size()), GLsizei(mesh.indices.size())};
        piece.lo = glm::vec3(1e30f);
        piece.hi = glm::vec3(-1e30f);
        for (const gfx::Vertex& v : mesh.vertices) {
            const glm::vec3 p = glm::vec3(modelMatrix * glm::vec4(v.Position, 1.0f));
            piece.lo = glm::min(piece.lo, p);
            piece.hi = glm::max(piece.hi, p);
        }
        const unsigned int base = unsigned(vertices.size());
        vertices.insert(vertices.end(), mesh.vertices.begin(), mesh.vertices.end());
        for (unsigned int index : mesh.indices) indices.push_back(base + index);
        pieces_.push_back(piece);
    }
    model->meshes.clear();
    model->meshes.emplace_back(std::move(vertices), std::move(indices));
}

void Lakebed::drawNearestFirst(gfx::Shader& shader, const Frustum* frustum,
                               const glm::vec3& eye, float fogEnd) {
    sendMaterialAndPlace(shader);
    if (!model || model->meshes.empty()) return;
    byDistance_.clear();
    for (int i = 0; i < int(pieces_.size()); ++i) {
        const Piece& piece = pieces_[i];
        if (frustum && frustum->isBoxOutside(piece.lo, piece.hi)) continue;
        // Distance to the nearest point of the box orders pieces the eye is over or in
        // correctly as well.
        const glm::vec3 nearest = glm::clamp(eye, piece.lo, piece.hi);
        const glm::vec3 offset = nearest - eye;
        const float squaredDistance = glm::dot(offset, offset);
        if (piece.hi.y < eye.y && squaredDistance >= fogEnd * fogEnd) continue;
        byDistance_.emplace_back(squaredDistance, i);
    }
    std::sort(byDistance_.begin(), byDistance_.end());
    ranges_.clear();
    for (const auto& entry : byDistance_) ranges_.push_back(pieces_[entry.second].range);
    model->meshes.front().drawRanges(ranges_);
}

}  // namespace tarn::scene
