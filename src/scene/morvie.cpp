// The creature's course: random turns and rolls, forward motion, and the turn back at the
// edge of its box.
#include "scene/morvie.h"

#include <glm/gtc/matrix_transform.hpp>

#include "base/tables.h"
#include "scene/random.h"

namespace tarn::scene {

namespace {

constexpr float degreesToRadians = 0.017453292f;

}  // namespace

Morvie::Morvie(const glm::mat4& startModelMatrix, int textureUnit)
    : Morvie(startModelMatrix, textureUnit, std::make_unique<gfx::Model>(paths::morvieModel)) {}

Morvie::Morvie(const glm::mat4& startModelMatrix, int textureUnit,
               std::unique_ptr<gfx::Model> meshModel)
    : SceneObject(startModelMatrix) {
    model = std::move(meshModel);
    colorTextureUnit = textureUnit;
    placeAnew(startModelMatrix);
}

void Morvie::placeAnew(const glm::mat4& startModelMatrix) {
    modelMatrix = startModelMatrix;
    lastStrayDepth = 0.0f;
    // The draws come in this order, which every later object's place depends on.
    courseTimer = 0.0f;
    courseDuration = randomUniform(1.0f, 10.0f);
    turnRate = randomUniform(-360.0f, 360.0f);
    setMaterial(0.3f, 0.5f);
    rollRate = randomUniform(-45.0f, 45.0f);
    const float y = randomUniform(0.0f, 10.0f);
    const float x = randomUniform(-50.0f, 50.0f);
    modelMatrix = glm::translate(modelMatrix, glm::vec3(x, y, 0.0f));
    // The first turn rate, read as degrees, is also the start heading.
    modelMatrix = glm::rotate(modelMatrix, turnRate * degreesToRadians, glm::vec3(0, 1, 0));
}

void Morvie::update(float dt) {
    courseTimer += dt;
    // Out of its box it keeps its course: the world step turns it back.
    if (!isOutsideBounds() && courseTimer > courseDuration) {
        drawNewCourse(turnRate, rollRate, courseDuration);
        courseTimer = 0.0f;
    }
    modelMatrix = glm::rotate(modelMatrix, (rollRate / 10.0f) * dt * degreesToRadians,
                              glm::vec3(1, 0, 0));
    modelMatrix = glm::rotate(modelMatrix, (turnRate / 10.0f) * dt * degreesToRadians,
                              glm::vec3(0, 1, 0));
    modelMatrix = glm::translate(modelMatrix, glm::vec3(dt, 0.0f, 0.0f));
    keepAxesOrthonormal();
}

void Morvie::setMaterial(float kd, float ks) {
    materialShininess = 50;
    materialKd = kd;
    materialKs = ks;
}

}  // namespace tarn::scene
