// The fish and ducks: the fin's stroke, the ducks' paddling, and where the first of them
// start in the lake.
#include <gtest/gtest.h>

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <memory>
#include <utility>

#include "scene/duck.h"
#include "scene/fish.h"
#include "support/random_reading.h"

using tarn::scene::Duck;
using tarn::scene::Fish;

namespace {

constexpr float frame = 1.0f / 64.0f;  // exact in floats, so phases add up without drift

// The fin as the body sees it: how far back it hangs and how far it swings (degrees, to
// the fish's left positive).
glm::mat4 finInBody(const Fish& fish) { return glm::inverse(fish.modelMatrix) * fish.finMatrix; }
float finSwing(const Fish& fish) {
    const glm::mat4 local = finInBody(fish);
    return glm::degrees(std::atan2(-local[0][2], local[0][0]));
}

// A fish without meshes at a given speed, at the very start of a stroke.
std::unique_ptr<Fish> swimmer(int kind, float speed) {
    auto fish = std::make_unique<Fish>(glm::mat4(1.0f), nullptr, nullptr, 5, kind);
    fish->setSpeed(speed);
    fish->finPhase = 0.0f;
    return fish;
}

// Updates frame by frame through one stroke, which must widen the swing every frame.
// Returns the swings of its first and last frames.
std::pair<float, float> swingThroughStroke(Fish& fish, int frames) {
    float first = 0.0f;
    float previous = 0.0f;
    for (int i = 1; i <= frames; ++i) {
        fish.update(frame);
        EXPECT_GT(finSwing(fish), previous) << "frame " << i << " of the stroke";
        previous = finSwing(fish);
        if (i == 1) first = previous;
    }
    return {first, previous};
}

glm::vec3 heading(const glm::mat4& m) { return glm::normalize(glm::vec3(m[0])); }

}  // namespace

TEST(FishFin, AStrokeLastsThePeriodItsSpeedSetsAndOvershootsOnItsLastFrame) {
    // 0.15 s at speed 2 ends on the 10th frame of 1/64 s; 0.75 s at speed 0.4 is reached
    // exactly on the 48th, which does not end it yet: the 49th does.
    for (const auto& [speed, frames] : {std::pair{2.0f, 10}, std::pair{0.4f, 49}}) {
        SCOPED_TRACE(speed);
        const auto owner = swimmer(1, speed);
        Fish& fish = *owner;
        const auto [first, last] = swingThroughStroke(fish, frames);
        EXPECT_GT(last, 20.0f);
        EXPECT_LT(last, 21.0f);
        EXPECT_NEAR(glm::length(glm::vec3(finInBody(fish)[3]) - glm::vec3(-0.4f, 0, 0)), 0.0f,
                    1e-5f);

        // The next stroke starts again from straight, to the other side.
        fish.update(frame);
        EXPECT_NEAR(finSwing(fish), -first, 1e-3f);
    }
}

TEST(FishFin, AFrameLongerThanManyStrokesEndsOnlyOne) {
    const auto owner = swimmer(1, 2.0f);
    Fish& fish = *owner;
    fish.update(1.0f);  // more than six periods of 0.15 s
    fish.update(frame);
    EXPECT_LT(finSwing(fish), 0.0f) << "the direction flipped an even number of times";
}

TEST(FishFin, TheLongFishSwingsLessFromFartherBackFromItsFirstUpdateOn) {
    const auto owner = swimmer(2, 0.4f);
    Fish& fish = *owner;
    EXPECT_EQ(fish.finAngle, 20);
    fish.update(frame);
    EXPECT_EQ(fish.finAngle, 15);
    const float last = swingThroughStroke(fish, 48).second;
    EXPECT_GT(last, 15.0f);
    EXPECT_LT(last, 15.5f);
    EXPECT_NEAR(glm::length(glm::vec3(finInBody(fish)[3]) - glm::vec3(-0.55f, 0, 0)), 0.0f, 1e-5f);
}

TEST(DuckPaddling, ADuckCoversTwoFifthsOfItsSpeedInWorldUnits) {
    Duck duck(glm::mat4(1.0f), 12, nullptr);
    duck.speed = 5.0f;
    duck.turnRate = 0.0f;
    duck.courseDuration = 100.0f;
    const glm::vec3 start = duck.position();
    for (int i = 0; i < 64; ++i) duck.update(frame);
    EXPECT_NEAR(glm::distance(duck.position(), start), 2.0f, 1e-4f);
}

TEST(LakeStart, FishAndDucksTakeTheirPlacesFromTheStreamInCreationOrder) {
    tarn::test::restartSceneRandom();
    tarn::test::RandomReading stream;
    // The creature is made first and takes five values.
    for (int i = 0; i < 5; ++i) tarn::scene::randomUniform(0.0f, 1.0f);
    stream.skip(5);

    const auto fish0 = tarn::scene::createLakeFish(0, nullptr);
    const double speed = stream.next(0.4, 2.0);
    stream.skip(1);  // the fin's phase
    const double course = stream.next(1.0, 30.0);
    const double turn = stream.next(-360.0, 360.0);
    stream.skip(1);  // the roll rate
    const double y = stream.next(0.0, 10.0);
    const double x = stream.next(-10.0, 10.0);
    EXPECT_NEAR(fish0->speed, speed, 1e-5);
    EXPECT_NEAR(fish0->courseDuration, course, 1e-4);
    EXPECT_NEAR(glm::distance(fish0->position(), glm::vec3(x, y, 0.0)), 0.0f, 1e-4f);
    const double heading0 = glm::radians(turn);
    EXPECT_NEAR(glm::distance(heading(fish0->modelMatrix),
                              glm::vec3(std::cos(heading0), 0.0, -std::sin(heading0))),
                0.0f, 1e-4f);

    for (int i = 1; i < 12; ++i) tarn::scene::createLakeFish(i, nullptr);
    stream.skip(11 * 7);

    const Duck duck0(glm::mat4(1.0f), 12, nullptr);
    const double duckZ = stream.next(-10.0, 10.0);
    const double duckX = stream.next(-10.0, 10.0);
    const double duckSpeed = stream.next(1.4, 5.0);
    stream.skip(1);  // the first course
    const double duckTurn = glm::radians(stream.next(-360.0, 360.0));
    EXPECT_NEAR(glm::distance(duck0.position(), glm::vec3(duckX, 15.0, duckZ)), 0.0f, 1e-4f);
    EXPECT_NEAR(duck0.speed, duckSpeed, 1e-5);
    EXPECT_NEAR(glm::distance(heading(duck0.modelMatrix),
                              glm::vec3(std::cos(duckTurn), 0.0, -std::sin(duckTurn))),
                0.0f, 1e-4f);
}
