// Fish: course keeping like the creature's, plus the tail fin's sawtooth stroke.
#include "scene/fish.h"

#include <glm/gtc/matrix_transform.hpp>

#include "scene/random.h"

namespace tarn::scene {

namespace {

constexpr float degreesToRadians = 0.017453292f;
const glm::vec3 localX(1.0f, 0.0f, 0.0f);
const glm::vec3 localY(0.0f, 1.0f, 0.0f);

}  // namespace

Fish::Fish(const glm::mat4& startModelMatrix, const gfx::Model* body, const gfx::Model* fin,
           int textureUnit, int fishKind)
    : SceneObject(startModelMatrix), bodyModel(body), finModel(fin), kind(fishKind) {
    colorTextureUnit = textureUnit;
    materialShininess = 50;
    materialKd = 0.3f;
    materialKs = 0.5f;
    placeAnew(startModelMatrix);
}

void Fish::placeAnew(const glm::mat4& startModelMatrix) {
    modelMatrix = startModelMatrix;
    lastStrayDepth = 0.0f;
    // One statement per draw: the order of the draws fixes the whole lake.
    setSpeed(randomUniform(0.4f, 2.0f));
    finDirection = true;
    finAngle = 20;
    finPhase = randomUniform(0.0f, finPeriod);  // so the fish do not wag in step
    courseTimer = 0.0f;
    courseDuration = randomUniform(1.0f, 30.0f);
    turnRate = randomUniform(-360.0f, 360.0f);
    rollRate = randomUniform(-45.0f, 45.0f);
    const float y = randomUniform(0.0f, 10.0f);
    const float x = randomUniform(-10.0f, 10.0f);
    modelMatrix = glm::translate(modelMatrix, glm::vec3(x, y, 0.0f));
    // The first turn rate doubles as the start heading.
    modelMatrix = glm::rotate(modelMatrix, turnRate * degreesToRadians, localY);
}

void Fish::setSpeed(float newSpeed) {
    speed = newSpeed;
    finPeriod = 0.3f / speed;
}

void Fish::update(float dt) {
    courseTimer += dt;
    finPhase += dt;

    // Out of its box it keeps its course: the world step turns it back.
    if (!isOutsideBounds() && courseTimer > courseDuration) {
        drawNewCourse(turnRate, rollRate, courseDuration);
        courseTimer = 0.0f;
    }

    modelMatrix = glm::rotate(modelMatrix, (rollRate / 20.0f) * dt * degreesToRadians, localX);
    modelMatrix = glm::rotate(modelMatrix, (turnRate / 20.0f) * dt * degreesToRadians, localY);
    modelMatrix = glm::translate(modelMatrix, glm::vec3(speed * dt, 0.0f, 0.0f));
    keepAxesOrthonormal();

    if (kind == 2) {
        finMatrix = glm::translate(modelMatrix, glm::vec3(-0.55f, 0.0f, 0.0f));
        finAngle = 15;
    } else {
        finMatrix = glm::translate(modelMatrix, glm::vec3(-0.4f, 0.0f, 0.0f));
    }

    // The swing uses the phase before the stroke ends below, so on the last frame of a
    // stroke the fin goes slightly past finAngle before it snaps back.
    const float angle = static_cast<float>(finAngle) * (finPhase / finPeriod);
    finMatrix = glm::rotate(
        finMatrix, finDirection ? angle * degreesToRadians : angle * -degreesToRadians, localY);
    // However long the frame, a stroke ends at most once in it.
    if (finPhase > finPeriod) {
        finPhase = 0.0f;
        finDirection = !finDirection;
    }
}

void Fish::draw(gfx::Shader& shader) {
    sendMaterialAndPlace(shader);
    if (bodyModel) bodyModel->draw(shader);
    shader.setUniform("model", finMatrix);
    if (finModel) finModel->draw(shader);
}

std::unique_ptr<Fish> createLakeFish(int index, const FishModels* models) {
    const bool isLong = index >= 8;
    const int textureUnit = index < 4 ? units::fish : (isLong ? units::greyFish : units::yellowFish);
    const gfx::Model* body = nullptr;
    const gfx::Model* fin = nullptr;
    if (models) {
        body = isLong ? &models->longBody : &models->smallBody;
        fin = isLong ? &models->longThinFin : &models->higherFin;
    }
    return std::make_unique<Fish>(glm::mat4(1.0f), body, fin, textureUnit, isLong ? 2 : 1);
}

}  // namespace tarn::scene
