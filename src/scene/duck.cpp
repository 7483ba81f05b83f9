// Ducks: placement on the water and their slow paddling.
#include "scene/duck.h"

#include <glm/gtc/matrix_transform.hpp>

#include "base/tables.h"
#include "scene/random.h"

namespace tarn::scene {

namespace {

constexpr float degreesToRadians = 0.017453292f;
constexpr float duckScale = 0.4f;

}  // namespace

Duck::Duck(const glm::mat4& startModelMatrix, int textureUnit)
    : Duck(startModelMatrix, textureUnit, std::make_unique<gfx::Model>(paths::duckModel)) {}

Duck::Duck(const glm::mat4& startModelMatrix, int textureUnit, std::unique_ptr<gfx::Model> mesh)
    : SceneObject(startModelMatrix) {
    model = std::move(mesh);
    colorTextureUnit = textureUnit;
    materialShininess = 50;
    materialKd = 0.3f;
    materialKs = 0.5f;
    placeAnew(startModelMatrix);
}

void Duck::placeAnew(const glm::mat4& startModelMatrix) {
    modelMatrix = startModelMatrix;
    lastStrayDepth = 0.0f;
    // One statement per draw: the order of the draws fixes the whole lake.
    const float z = randomUniform(-10.0f, 10.0f);
    const float x = randomUniform(-10.0f, 10.0f);
    modelMatrix = glm::translate(modelMatrix, glm::vec3(x, lake::waterLevel, z));
    modelMatrix = glm::scale(modelMatrix, glm::vec3(duckScale));
    speed = randomUniform(1.4f, 5.0f);
    courseTimer = 0.0f;
    courseDuration = randomUniform(1.0f, 30.0f);
    turnRate = randomUniform(-360.0f, 360.0f);
    rollRate = randomUniform(-45.0f, 45.0f);
    modelMatrix =
        glm::rotate(modelMatrix, turnRate * degreesToRadians, glm::vec3(0.0f, 1.0f, 0.0f));
}

void Duck::update(float dt) {
    courseTimer += dt;
    if (courseTimer > courseDuration) {
        drawNewCourse(turnRate, rollRate, courseDuration);
        courseTimer = 0.0f;
    }
    modelMatrix = glm::rotate(modelMatrix, (turnRate / 20.0f) * dt * degreesToRadians,
                              glm::vec3(0.0f, 1.0f, 0.0f));
    modelMatrix = glm::translate(modelMatrix, glm::vec3(speed * dt, 0.0f, 0.0f));
    keepAxesOrthonormal();
}

}  // namespace tarn::scene
