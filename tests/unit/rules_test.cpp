// The game's rules without a window: photos, the spotlight's budget, the bonus card and
// the settings keys, driven by scripted keys and a scripted clock.
#include "app/rules.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "app/camera.h"
#include "app/hud.h"
#include "app/input.h"

using namespace tarn::app;

namespace {

// The camera at the origin looking down -z, as the game's projection sees it.
tarn::scene::Frustum cameraFrustum() {
    tarn::scene::Frustum frustum;
    frustum.setProjection(fieldOfViewY, 800.0f / 600.0f, nearPlane, farPlane);
    frustum.setCamera({0, 0, 0}, {0, 0, -1}, {0, 1, 0});
    return frustum;
}

class Rules : public ::testing::Test {
protected:
    // One frame's game commands at time now with the given keys held, as they come through
    // the action map.
    Outcome hold(std::initializer_list<int> keys, double now) {
        input.keys = keys;
        Outcome outcome;
        handleGameCommands(map.read(input, nullptr, 0.0f), now, game, view, outcome);
        return outcome;
    }
    // The same, pressed anew: released in the frame before.
    Outcome press(std::initializer_list<int> keys, double now) {
        input.keys.clear();
        map.read(input, nullptr, 0.0f);
        return hold(keys, now);
    }
    Outcome photoOf(glm::vec3 creature, double now = 1.0) {
        view.morviePosition = creature;
        game.distanceToMorvie = glm::length(creature);
        return press({GLFW_KEY_P}, now);
    }
    // The overlay's status line: 0 the distance, 1 the photos left.
    std::string hudText(int line) const { return statusLines(game, 800, 600).at(line).text; }

    GameState game;
    Settings settings;
    tarn::scene::Frustum frustum = cameraFrustum();
    RuleView view{{0, 0, 0}, {0, 0, -20}, std::nullopt, &frustum};
    ScriptedInput input;
    ActionMap map;
};

}  // namespace

TEST_F(Rules, APhotoWinsWithinFourUnitsOrWithinSixWithTheLightOn) {
    const Outcome won = photoOf({0.0f, 0.0f, -3.9f});
    EXPECT_TRUE(game.photoSuccess && game.gameOver);
    EXPECT_EQ(game.photosLeft, 5);
    EXPECT_EQ(won.lines, (std::vector<std::string>{
                             "Success! You just captured Morvie at a distance of 3.9.",
                             "You have won the game!"}));
    EXPECT_EQ(won.endText, "You have won the game!");

    game = {};
    photoOf({0.0f, 0.0f, -5.0f});
    EXPECT_FALSE(game.photoSuccess) << "5 units without the light";
    game = {};
    game.lightOn = true;
    photoOf({0.0f, 0.0f, -5.0f});
    EXPECT_TRUE(game.photoSuccess) << "5 units with the light";
}

TEST_F(Rules, APhotoMissesTooFarOrOutOfThePictureAndSaysWhich) {
    game.lightOn = true;
    const std::pair<glm::vec3, const char*> misses[] = {
        {{0.0f, 0.0f, -6.0f}, "Oh no - you were too far from Morvie when you took the photo."},
        {{0.0f, 0.0f, 7.0f}, "Oh no - you were too far from Morvie when you took the photo."},
        {{0.0f, 0.0f, 3.0f}, "Oh no - Morvie was not in the picture when you took the photo."},
    };
    double now = 1.0;
    for (const auto& [creature, why] : misses) {
        const Outcome outcome = photoOf(creature, now);
        ASSERT_FALSE(outcome.lines.empty());
        EXPECT_EQ(outcome.lines[0], why);
        ASSERT_TRUE(outcome.photo);
        EXPECT_EQ(outcome.photo->inRange, creature.z == 3.0f);
        now += 1.0;
    }
    // Centre 0.05 inside the right plane: the 0.1 sphere pokes out of the view.
    const auto& right = frustum.planes[tarn::scene::Frustum::Right];
    glm::vec3 creature(0.0f, 0.0f, -3.0f);
    creature += right.normal * (0.05f - right.signedDistance(creature));
    photoOf(creature, now);
    EXPECT_FALSE(game.photoSuccess);
    EXPECT_EQ(game.photosLeft, 1);
}

TEST_F(Rules, APointBlankPhotoWins) {
    photoOf({0.0f, 0.0f, -1.05f});
    EXPECT_TRUE(game.photoSuccess);
}

TEST_F(Rules, AHeldShutterOrLightActsOncePerPressAndTapsKeepTheHalfSecondGuard) {
    // Held for five seconds, the button or P takes one photo, and the light goes on once.
    input.buttons = {GLFW_MOUSE_BUTTON_LEFT};
    for (double now = 1.0; now < 6.0; now += 0.125) hold({GLFW_KEY_P, GLFW_KEY_M}, now);
    EXPECT_EQ(game.photosLeft, 4);
    EXPECT_TRUE(game.lightOn) << "a held light key switched it off again";
    input.buttons.clear();
    // Tapped every eighth of a second, it shoots every half second at most.
    std::vector<std::string> lines;
    double now = 6.0;
    while (!game.gameOver && now < 20.0) {
        const Outcome outcome = press({GLFW_KEY_P}, now);
        lines.insert(lines.end(), outcome.lines.begin(), outcome.lines.end());
        if (outcome.endText) {
            EXPECT_EQ(*outcome.endText, "You have lost the game.");
        }
        now += 0.125;
    }
    EXPECT_EQ(game.photosLeft, 0);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[7], "You have 0 photos left.");
    EXPECT_EQ(lines[8], "You have lost the game.");
    EXPECT_EQ(game.lastPhotoTime, 7.875) << "not one photo every fifth tap of 0.125 s";
}

TEST_F(Rules, MissesFillTheCardFiveOrEightWithTheBonusCardFoundOnceNearby) {
    // Tapped as fast as the guard lets it, until the card is full.
    auto tapUntilLost = [&](double now) {
        std::vector<std::string> lines;
        while (!game.gameOver && now < 20.0) {
            const Outcome outcome = press({GLFW_KEY_P}, now);
            lines.insert(lines.end(), outcome.lines.begin(), outcome.lines.end());
            now += 0.625;
        }
        return lines;
    };
    // With the card found after the first miss, the eighth miss loses.
    photoOf({0.0f, 0.0f, -9.0f});
    EXPECT_EQ(hudText(0), "Distance to Morvie: 9 m");
    EXPECT_EQ(hudText(1), "Photos left: 4");
    view.bonusPosition = glm::vec3(0.0f, 0.0f, -4.5f);
    EXPECT_TRUE(press({GLFW_KEY_E}, 2.0).lines.empty()) << "4.5 units away";
    view.bonusPosition = glm::vec3(0.0f, 0.0f, -3.5f);
    press({GLFW_KEY_E}, 2.1);
    EXPECT_EQ(hudText(1), "Photos left: 7");
    EXPECT_TRUE(press({GLFW_KEY_E}, 2.2).lines.empty()) << "the card counted twice";
    EXPECT_EQ(tapUntilLost(3.0).size(), 2u * 7u + 1u) << "seven more misses, then lost";
}

TEST_F(Rules, TheDistanceShowsInWholeMetresRoundingHalvesUp) {
    for (const auto& [distance, shown] : {std::pair{3.49f, "3"}, {3.5f, "4"}, {0.2f, "0"}}) {
        game.distanceToMorvie = distance;
        EXPECT_EQ(hudText(0), std::string("Distance to Morvie: ") + shown + " m") << distance;
    }
}

TEST_F(Rules, TheLightRunsTwentySecondsInAllThenStaysOffUntilX) {
    Outcome on = press({GLFW_KEY_M}, 10.0);
    EXPECT_EQ(on.lines, std::vector<std::string>{"Light toggled ON."});
    EXPECT_EQ(on.spotlight, 1);
    EXPECT_EQ(press({GLFW_KEY_SPACE}, 15.0).lines,
              std::vector<std::string>{"Light toggled OFF. Sum used so far: 5"});
    press({GLFW_KEY_M}, 20.0);

    Outcome early;
    switchOffSpentLight(34.9, game, early);
    EXPECT_TRUE(early.lines.empty());
    Outcome spent;
    switchOffSpentLight(35.1, game, spent);
    EXPECT_EQ(spent.lines, std::vector<std::string>{"Duration of Light used: 20.1"});
    EXPECT_EQ(spent.spotlight, 0);
    EXPECT_GT(on.creatureMaterial.value().x, spent.creatureMaterial.value().x)
        << "no shine in the light";
    EXPECT_FALSE(game.lightOn);

    EXPECT_TRUE(press({GLFW_KEY_M}, 40.0).lines.empty()) << "the budget is spent";
    press({GLFW_KEY_X}, 41.0);
    EXPECT_EQ(press({GLFW_KEY_M}, 42.0).lines, std::vector<std::string>{"Light toggled ON."});
}

TEST_F(Rules, AllSettingsKeysShareOneHalfSecondStamp) {
    auto settingsFrame = [&](std::initializer_list<int> keys, double now) {
        input.keys = keys;
        Outcome outcome;
        handleSettingsKeys(map.read(input, nullptr, 0.0f), now, game, settings, outcome);
        return outcome;
    };
    // F3 and F4 together: only F3, the earlier, flips.
    const Outcome both = settingsFrame({GLFW_KEY_F3, GLFW_KEY_F4}, 1.0);
    EXPECT_EQ(both.lines, std::vector<std::string>{"Activated wireframe mode."});
    EXPECT_EQ(both.wireframe, true);
    EXPECT_FALSE(settings.nearestSampling);
    // Held for two seconds it flips once: every held frame renews the stamp.
    for (double t = 1.1; t < 3.0; t += 0.1) EXPECT_TRUE(settingsFrame({GLFW_KEY_F3}, t).lines.empty());
    // Another key within half a second of the last held frame is ignored too.
    EXPECT_TRUE(settingsFrame({GLFW_KEY_F8}, 3.2).lines.empty());
    EXPECT_EQ(settingsFrame({GLFW_KEY_F8}, 3.8).lines,
              std::vector<std::string>{"Deactivated View Frustrum Culling."});
    // F9 flips silently.
    EXPECT_TRUE(settingsFrame({GLFW_KEY_F9}, 5.0).lines.empty());
    EXPECT_FALSE(settings.blendingEnabled);
    EXPECT_TRUE(settings.wireframe);
}
