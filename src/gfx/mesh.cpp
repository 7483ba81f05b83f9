// Upload and indexed drawing of one mesh.
#include "gfx/mesh.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace tarn::gfx {

Mesh::Mesh(std::vector<Vertex> vertices, std::vector<unsigned int> indices)
    : vertices(std::move(vertices)), indices(std::move(indices)) {
    setupMesh();
}

Mesh::~Mesh() { release(); }

Mesh::Mesh(Mesh&& other) noexcept
    : vertices(std::move(other.vertices)),
      indices(std::move(other.indices)),
      VAO(std::exchange(other.VAO, 0)),
      VBO(std::exchange(other.VBO, 0)),
      EBO(std::exchange(other.EBO, 0)) {}

Mesh& Mesh::operator=(Mesh&& other) noexcept {
    if (this != &other) {
        release();
        vertices = std::move(other.vertices);
        indices = std::move(other.indices);
        VAO = std::exchange(other.VAO, 0);
        VBO = std::exchange(other.VBO, 0);
        EBO = std::exchange(other.EBO, 0);
    }
    return *this;
}

void Mesh::setupMesh() {
    glGenVertexArrays(1, &VAO);
    glGenBuffers(1, &VBO);
    glGenBuffers(1, &EBO);

    glBindVertexArray(VAO);
    glBindBuffer(GL_ARRAY_BUFFER, VBO);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(Vertex)),
                 vertices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, EBO);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(indices.size() * sizeof(unsigned int)), indices.data(),
                 GL_STATIC_DRAW);

    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          reinterpret_cast<const void*>(offsetof(Vertex, Position)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          reinterpret_cast<const void*>(offsetof(Vertex, Normal)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          reinterpret_cast<const void*>(offsetof(Vertex, TexCoords)));

    // The element buffer stays recorded in the vertex array.
    glBindVertexArray(0);
}

void Mesh::draw() const {
    glBindVertexArray(VAO);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

void Mesh::drawRanges(const std::vector<IndexRange>& ranges) const {
    if (ranges.empty()) return;
    // GL wants the counts and byte offsets in two arrays; a short frame-local pair.
    constexpr size_t batch = 64;
    GLsizei counts[batch];
    const void* offsets[batch];
    glBindVertexArray(VAO);
    for (size_t start = 0; start < ranges.size(); start += batch) {
        const size_t n = std::min(batch, ranges.size() - start);
        for (size_t i = 0; i < n; ++i) {
            counts[i] = ranges[start + i].count;
            offsets[i] = reinterpret_cast<const void*>(size_t(ranges[start + i].first) *
                                                       sizeof(unsigned int));
        }
        glMultiDrawElements(GL_TRIANGLES, counts, GL_UNSIGNED_INT, offsets, GLsizei(n));
    }
    glBindVertexArray(0);
}

void Mesh::release() {
    if (VAO) {
        glDeleteVertexArrays(1, &VAO);
        VAO = 0;
    }
    if (VBO) {
        glDeleteBuffers(1, &VBO);
        VBO = 0;
    }
    if (EBO) {
        glDeleteBuffers(1, &EBO);
        EBO = 0;
    }
}

}  // namespace tarn::gfx
