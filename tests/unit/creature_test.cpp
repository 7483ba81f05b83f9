// Morvie's start and course, read against the random stream itself.
#include "scene/morvie.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "support/random_reading.h"

using tarn::scene::Morvie;

namespace {

Morvie freshCreature() {
    tarn::test::restartSceneRandom();
    return Morvie(glm::mat4(1.0f), 1, nullptr);
}

float headingDegrees(const Morvie& m) {
    const glm::vec3 forward(m.modelMatrix[0]);
    return glm::degrees(std::atan2(-forward.z, forward.x));
}

}  // namespace

TEST(Creature, StartsWhereTheFirstFiveDrawsPutItAndLeavesTheRestToTheFish) {
    const Morvie morvie = freshCreature();
    tarn::test::RandomReading stream;
    stream.skip(3);
    const double y = stream.next(0.0, 10.0);
    const double x = stream.next(-50.0, 50.0);
    EXPECT_NEAR(glm::distance(morvie.position(), glm::vec3(x, y, 0.0)), 0.0f, 1e-4f);
    EXPECT_NEAR(x, -37.3, 0.05);
    EXPECT_NEAR(y, 8.35, 0.05);
    EXPECT_NEAR(tarn::scene::randomUniform(0.0f, 1.0f), stream.next(0.0, 1.0), 1e-6)
        << "the next object does not draw the sixth value";
    EXPECT_FLOAT_EQ(morvie.materialKd, 0.3f);
}

TEST(Creature, SwimsOneUnitASecondAndKeepsItsCourseUntilTheTimerPassesItsDuration) {
    Morvie morvie = freshCreature();
    const glm::vec3 start = morvie.position();
    morvie.update(0.0f);
    EXPECT_EQ(morvie.position(), start) << "no time, no motion";

    morvie.modelMatrix[3] = glm::vec4(0.0f, 5.0f, 7.0f, 1.0f);  // well inside its box
    const glm::vec3 inside = morvie.position();
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

TEST(Creature, OutsideItsBoxItTurnsBackEveryFrameAndPicksNoNewCourse) {
    Morvie morvie = freshCreature();
    morvie.modelMatrix = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, 20.0f));
    morvie.courseDuration = 0.0f;
    const float turn = morvie.turnRate;
    const float before = headingDegrees(morvie);
    morvie.update(0.001f);
    EXPECT_NEAR(std::abs(headingDegrees(morvie) - before), 180.0f, 0.5f);
    morvie.update(0.001f);
    EXPECT_NEAR(headingDegrees(morvie), before, 0.5f);
    EXPECT_EQ(morvie.turnRate, turn);
}
