// The world step without a window: strays turn, the card sinks and comes back, and the
// statistics, caustics and sonar clocks drop what runs over their period.
#include "app/world_step.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "app/game_clock.h"
#include "app/rules.h"
#include "scene/height_map.h"
#include "scene/random.h"

using namespace tarn;

namespace {

class WorldStep : public ::testing::Test {
protected:
    void SetUp() override {
        scene::heightMap.reset();  // no floor: only the square limits
        scene::rng = std::mt19937();
        world.morvie = std::make_unique<scene::Morvie>(glm::mat4(1.0f), 1, nullptr);
        world.bonusCard = std::make_unique<scene::BonusObject>(glm::mat4(1.0f));
    }
    app::WorldStepOutcome step(float dt) {
        return app::updateScene(world, {dt, dt}, camera, game, settings, timers, {30, 12});
    }

    scene::World world;
    glm::vec3 camera{0.0f, 0.0f, 3.0f};
    app::GameState game;
    app::Settings settings;
    app::WorldTimers timers;
};

}  // namespace

TEST_F(WorldStep, ClocksDropTheExcessSoASlowFrameNeverCatchesUp) {
    // At 8 frames a second the caustics step once a frame, never twice.
    for (int frame = 0; frame < 40; ++frame) {
        const app::WorldStepOutcome outcome = step(0.125f);
        ASSERT_TRUE(outcome.causticsFrameToBind);
        EXPECT_EQ(*outcome.causticsFrameToBind, frame % 32);
        EXPECT_TRUE(outcome.lines.empty()) << "statistics while F2 is off";
        EXPECT_FALSE(outcome.sonarVolume) << "a ping before seven seconds";
    }
    settings.frametimeOutput = true;
    std::vector<std::string> lines;
    std::optional<float> ping;
    float pingDistance = 0.0f;
    for (int frame = 0; frame < 20; ++frame) {
        app::WorldStepOutcome outcome = step(0.125f);
        lines.insert(lines.end(), outcome.lines.begin(), outcome.lines.end());
        if (outcome.sonarVolume) {
            ping = outcome.sonarVolume;
            pingDistance = game.distanceToMorvie;
        }
    }
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "frametime: 125 ms = ~8 fps");
    EXPECT_EQ(lines[1], "Frustrum active? 1, objects total: 30, objects drawn: 12");
    EXPECT_EQ(lines.size(), 2u * 4u) << "one report every five frames of 0.125 s";
    ASSERT_TRUE(ping) << "no sonar after 7.5 s";
    EXPECT_EQ(*ping, app::sonarVolume(pingDistance)) << "the ping at this frame's distance";
    // 0.05 s in single precision is a hair over the period, so such a clock steps the
    // caustics every frame.
    for (int frame = 0; frame < 20; ++frame) EXPECT_TRUE(step(0.05f).causticsFrameToBind);
}

TEST_F(WorldStep, AStrayTurnsBackOnceAndKeepsItsWayBackUntilItIsIn) {
    auto heading = [&] { return glm::vec3(world.morvie->modelMatrix[0]); };
    world.morvie->courseDuration = 0.0f;  // overdue: only a stray keeps its course
    world.morvie->rollRate = 0.0f;
    world.morvie->turnRate = 0.0f;
    // Past the square's edge and its own box at once, swimming out along +x.
    world.morvie->modelMatrix = glm::translate(glm::mat4(1.0f), glm::vec3(56.0f, 5.0f, 5.0f));
    const float turn = world.morvie->turnRate;
    const glm::vec3 out = heading();
    for (int frame = 0; frame < 9; ++frame) {  // still outside the box at x = 55.1
        step(0.1f);
        ASSERT_NEAR(glm::dot(heading(), out), -1.0f, 1e-4f) << "frame " << frame;
    }
    EXPECT_NEAR(world.morvie->position().x, 55.1f, 1e-4f);
    EXPECT_EQ(world.morvie->turnRate, turn) << "a new course while outside its box";
    world.morvie->courseDuration = 100.0f;
    // Under the surface the same: one turn down, whatever the heading was.
    world.morvie->modelMatrix = glm::rotate(
        glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 14.0f, 5.0f)), 1.2f, glm::vec3(0, 0, 1));
    const float climb = heading().y;
    for (int frame = 0; frame < 20; ++frame) step(0.1f);
    EXPECT_NEAR(heading().y, -climb, 1e-4f);
    EXPECT_LT(world.morvie->position().y, 13.5f);
    EXPECT_EQ(game.distanceToMorvie, glm::length(world.morvie->position() - camera))
        << "the distance is measured where the creature ended the frame";
}

TEST_F(WorldStep, TheCardSinksRestsTenSecondsAndComesBackWithItsLine) {
    world.bonusCard->placeOnce();
    world.bonusCard->placeOnce();
    EXPECT_EQ(world.bonusCard->position(), glm::vec3(-1.0f, 5.0f, 0.0f));
    std::vector<std::string> lines;
    double t = 0.0;
    while (lines.empty() && t < 30.0) {
        const app::WorldStepOutcome outcome = step(0.25f);
        lines = outcome.lines;
        t += 0.25;
    }
    // 8.25 s down to below -3, then 10 s at rest.
    EXPECT_NEAR(t, 18.25, 0.01);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("Reset BonusObject to x=", 0), 0u) << lines[0];
    const glm::vec3 back = world.bonusCard->position();
    EXPECT_EQ(back.y, 5.0f) << "back at the height it sank from";

    game.bonusFound = true;
    step(1.0f);
    EXPECT_EQ(world.bonusCard->position(), back) << "a found card still moves";
}

// A stop of the process (a suspend, a debugger) comes back as one frame a minute long.
TEST_F(WorldStep, AStalledFrameMovesTheWorldAndBurnsTheLightAThirdOfASecondAtMost) {
    app::GameClock clock;
    clock.start(100.0);
    const auto frameAt = [&](double wallNow) {
        clock.advance(wallNow);
        step(clock.deltaTime);
        app::Outcome outcome;
        app::switchOffSpentLight(clock.now, game, outcome);
    };
    frameAt(100.1);
    game.lightOn = true;
    game.lightOnSince = clock.now;
    game.lightUsedSum = 19.0;  // a second of the budget left
    const glm::vec3 before = world.morvie->position();
    frameAt(160.1);
    EXPECT_LE(glm::distance(world.morvie->position(), before), 1.0f / 3.0f + 1e-4f)
        << "the creature swims a unit a second";
    EXPECT_TRUE(game.lightOn) << "the stop burnt the rest of the battery";
    EXPECT_FLOAT_EQ(clock.realFrameTime, 60.0f) << "the statistics still see the real frame";

    // Frames slower than the limit are slow motion, paused ones and a clock that went back
    // move nothing, and the next plain frame moves as far as it lasted.
    const double start = clock.now;
    frameAt(161.1);
    frameAt(162.1);
    EXPECT_NEAR(clock.now - start, 2.0 / 3.0, 1e-9);
    clock.advance(170.0, true);
    clock.advance(169.0);
    EXPECT_NEAR(clock.now - start, 2.0 / 3.0, 1e-9);
    clock.advance(169.1);
    EXPECT_NEAR(clock.deltaTime, 0.1f, 1e-5f);
}
