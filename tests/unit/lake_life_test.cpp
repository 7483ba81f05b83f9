// The creature, fish and ducks: the creature's course, the fin's stroke, and where they all
// start.
#include <gtest/gtest.h>

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <memory>
#include <utility>

#include "scene/duck.h"
#include "scene/fish.h"
#include "scene/morvie.h"
#include "scene/random.h"

using tarn::scene::Duck;
using tarn::scene::Fish;

namespace {

constexpr float frame = 1.0f / 64.0f;  // exact in floats, so phases add up without drift

// How far the fin swings as the body sees it, in degrees, to the fish's left positive.
float finSwing(const Fish& fish) {
    const glm::mat4 local = glm::inverse(fish.modelMatrix) * fish.finMatrix;
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

}  // namespace

TEST(Creature, SwimsOneUnitASecondAndKeepsItsCourseUntilTheTimerPassesItsDuration) {
    tarn::scene::Morvie morvie(glm::mat4(1.0f), 1, nullptr);
    morvie.modelMatrix[3] = glm::vec4(0.0f, 5.0f, 7.0f, 1.0f);  // well inside its box
    const glm::vec3 inside = morvie.position();
    morvie.update(0.0f);
    EXPECT_EQ(morvie.position(), inside) << "no time, no motion";
    morvie.courseTimer = 0.0f;
    morvie.courseDuration = 0.5f;
    const float turn = morvie.turnRate;
    morvie.update(0.5f);  // timer equal to the duration: same course
    EXPECT_EQ(morvie.turnRate, turn);
    EXPECT_NEAR(glm::length(morvie.position() - inside), 0.5f, 1e-3f);
    morvie.update(0.01f);
    EXPECT_NE(morvie.turnRate, turn);
    EXPECT_EQ(morvie.courseTimer, 0.0f);
}

// Hours of frames at a high frame rate: thousands of small rotations a minute must not
// shear the body.
TEST(Creature, ItsBodyStaysSquareThroughAQuarterMillionFrames) {
    tarn::scene::Morvie morvie(glm::mat4(1.0f), 1, nullptr);
    for (int frame = 0; frame < 250000; ++frame) {
        morvie.modelMatrix[3] = glm::vec4(0.0f, 5.0f, 7.0f, 1.0f);  // kept inside its box
        morvie.update(0.001f);
    }
    const glm::mat3 axes(morvie.modelMatrix);
    const glm::mat3 square = glm::transpose(axes) * axes;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(square[i][j], i == j ? 1.0f : 0.0f, 1e-5f);
    }
}

TEST(FishFin, AStrokeLastsThePeriodItsSpeedSetsAndOvershootsOnItsLastFrame) {
    // 0.15 s at speed 2 ends on the 10th frame of 1/64 s; 0.75 s at speed 0.4 is reached
    // exactly on the 48th, which does not end it yet: the 49th does. The long fish (kind 2)
    // swings its fin less, from its first frame on.
    struct Case { int kind; float speed; int frames; float angle; };
    for (const Case c :
         {Case{1, 2.0f, 10, 20.0f}, Case{1, 0.4f, 49, 20.0f}, Case{2, 0.4f, 49, 15.0f}}) {
        SCOPED_TRACE(c.kind * 10 + c.speed);
        const auto owner = swimmer(c.kind, c.speed);
        Fish& fish = *owner;
        const auto [first, last] = swingThroughStroke(fish, c.frames);
        EXPECT_GT(last, c.angle);
        EXPECT_LT(last, c.angle + 1.0f);
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

TEST(LakeStart, EverySwimmerAndDuckStartsInItsOwnPlaceInTheWater) {
    tarn::scene::rng = std::mt19937();
    std::vector<glm::vec3> places{tarn::scene::Morvie(glm::mat4(1.0f), 1, nullptr).position()};
    for (int i = 0; i < 12; ++i)
        places.push_back(tarn::scene::createLakeFish(i, nullptr)->position());
    for (int i = 0; i < 12; ++i) {
        const Duck duck(glm::mat4(1.0f), 12, nullptr);
        EXPECT_EQ(duck.position().y, 15.0f) << "duck " << i << " on the water";
        EXPECT_NEAR(glm::normalize(glm::vec3(duck.modelMatrix[1])).y, 1.0f, 1e-5f)
            << "duck " << i << " floats upright";
        places.push_back(duck.position());
    }
    // Under the surface, and for the fish near the start, where a newcomer sees them.
    for (size_t i = 0; i < 13; ++i) {
        EXPECT_TRUE(places[i].y >= 0 && places[i].y < 10 && places[i].z == 0) << i;
        if (i > 0) {
            EXPECT_LT(std::abs(places[i].x), 10.0f) << "fish " << i;
        }
    }
    for (size_t i = 0; i < places.size(); ++i)
        for (size_t j = i + 1; j < places.size(); ++j) EXPECT_NE(places[i], places[j]);
}
