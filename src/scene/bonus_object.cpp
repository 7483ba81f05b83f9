// The bonus card's box geometry, its sinking and its respawn.
#include "scene/bonus_object.h"

#include <cstdlib>
#include <glm/gtc/matrix_transform.hpp>

namespace tarn::scene {

namespace {

constexpr float h = 0.1f;   // half the card's side
constexpr float t = 0.01f;  // half its thickness

// Four vertices a face, so every face has its own normal and texture coordinates.
constexpr float positions[24 * 3] = {
    -h, -t, -h, -h, t,  -h, h,  t,  -h, h,  -t, -h,  // back
    -h, -t, h,  h,  -t, h,  h,  t,  h,  -h, t,  h,   // front
    h,  t,  h,  h,  t,  -h, -h, t,  -h, -h, t,  h,   // top
    h,  -t, h,  h,  -t, -h, -h, -t, -h, -h, -t, h,   // bottom
    h,  t,  h,  h,  -t, h,  h,  -t, -h, h,  t,  -h,  // right
    -h, t,  h,  -h, t,  -h, -h, -t, -h, -h, -t, h,   // left
};
constexpr float normals[24 * 3] = {
    0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, 1,  0, 0, 1,  0, 0, 1,  0, 0, 1,
    0, 1, 0,  0, 1, 0,  0, 1, 0,  0, 1, 0,  0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0,
    1, 0, 0,  1, 0, 0,  1, 0, 0,  1, 0, 0,  -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0,
};
constexpr float uvs[24 * 2] = {
    0, 1, 0, 0, 1, 0, 1, 1,  // back
    1, 1, 0, 1, 0, 0, 1, 0,  // front
    1, 1, 0, 1, 0, 0, 1, 0,  // top
    0, 0, 1, 0, 1, 1, 0, 1,  // bottom
    1, 0, 1, 1, 0, 1, 0, 0,  // right
    0, 0, 1, 0, 1, 1, 0, 1,  // left
};
constexpr GLsizei indexCount = 36;

constexpr double restSeconds = 10.0;
constexpr float floorDepth = -3.0f;

GLuint makeBuffer(GLenum target, const void* data, GLsizeiptr bytes) {
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(target, buffer);
    glBufferData(target, bytes, data, GL_STATIC_DRAW);
    glBindBuffer(target, 0);
    return buffer;
}

void attach(GLuint program, const char* name, GLuint buffer, GLint size) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    const GLint location = glGetAttribLocation(program, name);
    // A program without this input leaves the card without it, as GL itself would.
    if (location < 0) return;
    glEnableVertexAttribArray(static_cast<GLuint>(location));
    glVertexAttribPointer(static_cast<GLuint>(location), size, GL_FLOAT, GL_FALSE, 0, nullptr);
}

}  // namespace

BonusObject::BonusObject(const glm::mat4& startModelMatrix) : SceneObject(startModelMatrix) {}

BonusObject::BonusObject(const glm::mat4& startModelMatrix, const gfx::Shader& program)
    : SceneObject(startModelMatrix) {
    createBuffers(program.program);
}

void BonusObject::createBuffers(GLuint program) {
    unsigned int indices[indexCount];
    for (unsigned face = 0; face < 6; ++face) {
        const unsigned first = 4 * face;
        const unsigned triangles[6] = {first, first + 1, first + 2, first, first + 2, first + 3};
        for (unsigned k = 0; k < 6; ++k) indices[6 * face + k] = triangles[k];
    }
    positionBuffer = makeBuffer(GL_ARRAY_BUFFER, positions, sizeof positions);
    indexBuffer = makeBuffer(GL_ELEMENT_ARRAY_BUFFER, indices, sizeof indices);
    normalBuffer = makeBuffer(GL_ARRAY_BUFFER, normals, sizeof normals);
    uvBuffer = makeBuffer(GL_ARRAY_BUFFER, uvs, sizeof uvs);

    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    attach(program, "position", positionBuffer, 3);
    attach(program, "normal", normalBuffer, 3);
    attach(program, "uv", uvBuffer, 2);
    // Bound while the vertex array is, so the vertex array keeps it.
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

BonusObject::~BonusObject() {
    const GLuint buffers[] = {uvBuffer, normalBuffer, positionBuffer, indexBuffer};
    for (const GLuint buffer : buffers) {
        if (buffer) glDeleteBuffers(1, &buffer);
    }
    if (vertexArray) glDeleteVertexArrays(1, &vertexArray);
}

void BonusObject::update(float dt) {
    respawnedAt.reset();
    if (position().y >= floorDepth) {
        modelMatrix = glm::translate(modelMatrix, glm::vec3(0.0f, -dt, 0.0f));
        return;
    }
    respawnTimer += dt;
    if (respawnTimer < restSeconds) return;
    // Never seeded, like the rest of the lake: every run replays the same places.
    const int x = std::rand() % 10 - 5;
    const int z = std::rand() % 10 - 5;
    respawnedAt = glm::vec2(static_cast<float>(x), static_cast<float>(z));
    modelMatrix = glm::translate(glm::mat4(1.0f), glm::vec3(x, 5.0f, z));
    respawnTimer = 0.0;
}

void BonusObject::draw(gfx::Shader& /*shader*/) {
    if (!vertexArray) return;
    glBindVertexArray(vertexArray);
    glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

void BonusObject::restart() {
    modelMatrix = glm::mat4(1.0f);
    bonusPlaced = false;
    respawnTimer = 0.0;
    respawnedAt.reset();
}

void BonusObject::placeOnce() {
    if (bonusPlaced) return;
    bonusPlaced = true;
    modelMatrix = glm::translate(modelMatrix, glm::vec3(-1.0f, 5.0f, 0.0f));
}

}  // namespace tarn::scene
