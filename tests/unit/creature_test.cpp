// Morvie's start and course, read against the random stream itself.
#include "scene/morvie.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "scene/random.h"

using tarn::scene::Morvie;

namespace {

Morvie freshCreature() {
    tarn::scene::rng = std::mt19937();  // the seed every run starts from
    return Morvie(glm::mat4(1.0f), 1, nullptr);
}

float headingDegrees(const Morvie& m) {
    const glm::vec3 forward(m.modelMatrix[0]);
    return glm::degrees(std::atan2(-forward.z, forward.x));
}

}  // namespace

TEST(Creature, StartsWhereTheFirstFiveDrawsPutItAndLeavesTheRestToTheFish) {
    const Morvie morvie = freshCreature();
    // The fourth and fifth values of a fresh stream, scaled to [0, 10) and [-50, 50).
    std::mt19937 stream;
    for (int i = 0; i < 3; ++i) stream();
    const double y = stream() / 4294967296.0 * 10.0;
    const double x = stream() / 4294967296.0 * 100.0 - 50.0;
    EXPECT_NEAR(morvie.position().x, x, 1e-4);
    EXPECT_NEAR(morvie.position().y, y, 1e-4);
    EXPECT_EQ(morvie.position().z, 0.0f);
    EXPECT_NEAR(x, -37.3, 0.05);
    EXPECT_NEAR(y, 8.35, 0.05);
    EXPECT_EQ(tarn::scene::rng(), stream()) << "the next object does not draw the sixth value";

    EXPECT_EQ(morvie.materialShininess, 50);
    EXPECT_FLOAT_EQ(morvie.materialKd, 0.3f);
    EXPECT_FLOAT_EQ(morvie.materialKs, 0.5f);
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

TEST(Creature, TheSpotlightBrightensItsMaterial) {
    Morvie morvie = freshCreature();
    morvie.setMaterial(0.9f, 0.9f);
    EXPECT_EQ(morvie.materialShininess, 50);
    EXPECT_FLOAT_EQ(morvie.materialKd, 0.9f);
    EXPECT_FLOAT_EQ(morvie.materialKs, 0.9f);
}
