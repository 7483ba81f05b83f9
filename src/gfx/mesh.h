// Triangle geometry on the GPU: one vertex array with a vertex and an index buffer.
#pragma once

#include <GL/glew.h>

#include <glm/glm.hpp>
#include <vector>

namespace tarn::gfx {

// The vertex layout every program's inputs follow: locations 0, 1 and 2.
struct Vertex {
    glm::vec3 Position;
    glm::vec3 Normal;
    glm::vec2 TexCoords;
};
static_assert(sizeof(Vertex) == 32, "the vertex buffer layout expects 32 tightly packed bytes");

// Owns its vertex array and both buffers; move-only, so exactly one holder deletes them.
// The CPU copies of the lists stay for whoever wants to inspect the geometry.
class Mesh {
public:
    // Uploads both lists at once; needs a current GL context.
    Mesh(std::vector<Vertex> vertices, std::vector<unsigned int> indices);
    ~Mesh();
    Mesh(Mesh&& other) noexcept;
    Mesh& operator=(Mesh&& other) noexcept;
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    // Indexed triangles; the caller has made the program current and set its uniforms.
    void draw() const;
    // Only some runs of the index list, in the order given, with one call.
    struct IndexRange {
        GLsizei first = 0;  // index of the run's first entry in indices
        GLsizei count = 0;
    };
    void drawRanges(const std::vector<IndexRange>& ranges) const;
    // Deletes the GL objects; safe to call again.
    void release();

    std::vector<Vertex> vertices;
    std::vector<unsigned int> indices;
    GLuint VAO = 0;
    GLuint VBO = 0;
    GLuint EBO = 0;

private:
    void setupMesh();
};

}  // namespace tarn::gfx
