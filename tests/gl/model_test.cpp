// Models imported from small fixture files: triangulation, texture coordinates, node
// transforms and the GPU copy of the geometry. A missing, refused or failed file is the
// end-to-end and fuzz tests' to name.
#include "gfx/model.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "support/collada_fixture.h"
#include "support/gl_context.h"
#include "support/process.h"

using tarn::gfx::Model;
using tarn::gfx::Vertex;
using namespace tarn::test;

namespace {

const char* const texturedQuad = R"(# one quad face
v 0 0 0
v 1 0 0
v 1 1 0
v 0 1 0
vt 0.25 0.2
vt 1 0
vt 1 1
vt 0 1
vn 0 0 1
f 1/1/1 2/2/1 3/3/1 4/4/1
)";

const char* const bareTriangle = R"(v 0 0 0
v 2 0 0
v 0 2 0
f 1 2 3
)";

// What the GPU holds in the mesh's vertex buffer.
std::vector<Vertex> uploadedVertices(const tarn::gfx::Mesh& mesh) {
    std::vector<Vertex> vertices(mesh.vertices.size());
    glBindBuffer(GL_ARRAY_BUFFER, mesh.VBO);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0,
                       static_cast<GLsizeiptr>(vertices.size() * sizeof(Vertex)), vertices.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return vertices;
}

class ModelFiles : public ::testing::Test {
protected:
    void SetUp() override { ensureGLContext(); }
    std::string write(const std::string& name, const std::string& contents) {
        writeFile(dir + "/" + name, contents);
        return dir + "/" + name;
    }
    std::string dir = makeTempDir();
};

}  // namespace

TEST_F(ModelFiles, AQuadBecomesTwoIndexedTrianglesWithTextureCoordinatesFlippedInV) {
    Model model(write("quad.obj", texturedQuad));
    ASSERT_EQ(model.meshes.size(), 1u);
    const auto& mesh = model.meshes[0];
    ASSERT_EQ(mesh.indices.size(), 6u);
    std::vector<bool> used(mesh.vertices.size(), false);
    for (unsigned index : mesh.indices) {
        ASSERT_LT(index, mesh.vertices.size());
        used[index] = true;
    }
    EXPECT_EQ(std::count(used.begin(), used.end(), true), 4);

    const auto gpu = uploadedVertices(mesh);
    const auto corner = std::find_if(gpu.begin(), gpu.end(),
                                     [](const Vertex& v) { return v.Position == glm::vec3(0.0f); });
    ASSERT_NE(corner, gpu.end());
    EXPECT_EQ(corner->TexCoords, glm::vec2(0.25f, 0.8f));
    EXPECT_EQ(corner->Normal, glm::vec3(0.0f, 0.0f, 1.0f));

    // The element buffer is part of the vertex array, so drawing needs only the array.
    GLint elementBuffer = 0;
    glBindVertexArray(mesh.VAO);
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elementBuffer);
    glBindVertexArray(0);
    EXPECT_EQ(static_cast<GLuint>(elementBuffer), mesh.EBO);

    // A moved model keeps the buffers, and releasing them twice deletes them once.
    const GLuint vao = mesh.VAO, vbo = mesh.VBO;
    Model moved(std::move(model));
    EXPECT_TRUE(glIsVertexArray(vao));
    moved.meshes[0].release();
    moved.meshes[0].release();
    EXPECT_FALSE(glIsVertexArray(vao));
    EXPECT_FALSE(glIsBuffer(vbo));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ModelFiles, AMeshWithoutCoordinatesOrNormalsGetsZeros) {
    const Model model(write("bare.obj", bareTriangle));
    ASSERT_EQ(model.meshes.size(), 1u);
    const auto gpu = uploadedVertices(model.meshes[0]);
    ASSERT_EQ(gpu.size(), 3u);
    for (const Vertex& v : gpu) {
        EXPECT_EQ(v.TexCoords, glm::vec2(0.0f));
        EXPECT_EQ(v.Normal, glm::vec3(0.0f));
    }
}

// The game's own files place every mesh in the model's frame; files from elsewhere must not
// move theirs.
TEST_F(ModelFiles, NestedNodesAreAllDrawnWithoutTheirTransforms) {
    // The triangle in a node moved by 10 in x, and again in its child, moved by 5 in y.
    const std::string nested =
        R"(<node id="A"><translate>10 0 0</translate><instance_geometry url="#tri"/>)"
        R"(<node id="B"><translate>0 5 0</translate><instance_geometry url="#tri"/></node>)"
        "</node>";
    const Model model(write("nested.dae", colladaTriangle("", nested)));
    ASSERT_EQ(model.meshes.size(), 2u);
    for (const auto& mesh : model.meshes) {
        const auto gpu = uploadedVertices(mesh);
        ASSERT_EQ(gpu.size(), 3u);
        EXPECT_EQ(gpu[1].Position, glm::vec3(1.0f, 0.0f, 0.0f));
        EXPECT_EQ(gpu[2].Position, glm::vec3(0.0f, 1.0f, 0.0f));
    }
}
