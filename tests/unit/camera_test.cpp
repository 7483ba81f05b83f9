// Camera movement and mouse look, driven by scripted input through the action map without a
// window.
#include "app/camera.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>
#include <random>

#include "app/actions.h"
#include "app/input.h"
#include "scene/height_map.h"

using namespace tarn::app;
using tarn::scene::HeightMap;
using tarn::scene::heightMap;

namespace {

// A flat floor of one sample value everywhere.
std::unique_ptr<HeightMap> flatMap(unsigned char sample) {
    return std::make_unique<HeightMap>(4, 4, std::vector<unsigned char>(4 * 4 * 4, sample));
}

class Camera : public ::testing::Test {
protected:
    void SetUp() override {
        cameraPos = {0.0f, 0.0f, 3.0f};
        cameraFront = {0.0f, 0.0f, -1.0f};
        cameraYaw = -90.0f;
        cameraPitch = 0.0f;
        firstMouse = true;
        heightMap.reset();  // floor absent: only the square limits
    }
    void TearDown() override { heightMap.reset(); }
    // One frame's swim with these keys held.
    void swim(std::initializer_list<int> keys, float deltaTime) {
        input.keys = keys;
        moveCamera(map.read(input, nullptr, deltaTime).move, deltaTime);
    }
    void look() { turnCamera(map.read(input, nullptr, 0.0f).look); }
    ScriptedInput input;
    ActionMap map;
};

}  // namespace

TEST_F(Camera, KeysAddUpToADiagonalAsFastAsOneKeyAndOppositeKeysCancel) {
    swim({GLFW_KEY_W}, 0.4f);  // a step of one unit
    EXPECT_FLOAT_EQ(cameraPos.z, 2.0f);
    swim({GLFW_KEY_W, GLFW_KEY_S}, 0.4f);
    EXPECT_FLOAT_EQ(cameraPos.z, 2.0f) << "W with S";
    swim({GLFW_KEY_A, GLFW_KEY_D}, 0.4f);
    EXPECT_FLOAT_EQ(cameraPos.x, 0.0f) << "A with D";

    swim({GLFW_KEY_W, GLFW_KEY_D}, 0.4f);
    EXPECT_NEAR(cameraPos.x, std::sqrt(0.5f), 1e-5f) << "W with D: forward and right at once";
    EXPECT_NEAR(cameraPos.z, 2.0f - std::sqrt(0.5f), 1e-5f);
    const glm::vec3 before = cameraPos;
    swim({GLFW_KEY_S, GLFW_KEY_A, GLFW_KEY_D}, 0.4f);
    EXPECT_NEAR(glm::distance(cameraPos, before), 1.0f, 1e-5f);
}

TEST_F(Camera, ItStaysHalfAUnitInsideTheSquareAboveTheFloorAndBelowTheSurface) {
    for (const glm::vec3 side : {glm::vec3(1, 0, 0), glm::vec3(-1, 0, 0), glm::vec3(0, 0, 1),
                                 glm::vec3(0, 0, -1), glm::vec3(0, 1, 0)}) {
        const float limit = side.y > 0.0f ? 14.5f : 52.5f;
        cameraFront = side;
        cameraPos = (limit - 0.1f) * side;
        swim({GLFW_KEY_W}, 0.08f);  // 0.2 further would pass the limit
        EXPECT_FLOAT_EQ(glm::dot(cameraPos, side), limit - 0.1f);
        cameraPos = (limit - 0.25f) * side;
        swim({GLFW_KEY_W}, 0.1f);  // ends at exactly the limit
        EXPECT_FLOAT_EQ(glm::dot(cameraPos, side), limit) << side.x << "," << side.y;
        swim({GLFW_KEY_W}, 100.0f);  // however long the frame
        EXPECT_FLOAT_EQ(glm::dot(cameraPos, side), limit) << "through the limit";
    }

    // Half a unit above the floor is the nearest it may come; a long step down stops at the
    // last quarter unit that keeps it.
    heightMap = flatMap(113);  // floor at 1.0
    cameraFront = {0.0f, -1.0f, 0.0f};
    cameraPos = {0.0f, 2.0f, 0.0f};
    swim({GLFW_KEY_W}, 0.2f);  // down to exactly 0.5 above the floor
    EXPECT_FLOAT_EQ(cameraPos.y, 1.5f);
    cameraPos = {0.0f, 3.0f, 0.0f};
    swim({GLFW_KEY_W}, 1.0f);  // 2.5 down in ten pieces: six of them are free
    EXPECT_NEAR(cameraPos.y, 1.5f, 1e-5f);
}

// A ridge across the lake, 10 units above a deep floor, its flanks climbing 3.2 units for
// one across, as the lake's walls do.
TEST_F(Camera, NoLongFrameTakesItThroughARidge) {
    std::vector<unsigned char> rgba(110 * 110 * 4, 0);
    for (int row = 0; row < 110; ++row) {
        for (int column = 52; column <= 58; ++column)
            rgba[(row * 110 + column) * 4] =
                static_cast<unsigned char>(100 - 30 * std::abs(column - 55));
    }
    heightMap = std::make_unique<HeightMap>(110, 110, std::move(rgba));
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    int blocked = 0;
    for (int trial = 0; trial < 20000; ++trial) {
        const glm::vec3 from(unit(random) * 4.0f, -10.0f + 2.0f * (unit(random) + 1.0f),
                             unit(random) * 40.0f);
        if (!tarn::scene::isPositionFree(from, cameraClearance)) continue;
        // Up to a two-second frame.
        const glm::vec3 move =
            glm::vec3(unit(random), unit(random) * 0.3f, unit(random)) * (cameraSpeed * 2.0f);
        const glm::vec3 to = stepCamera(from, move);
        for (float t = 0.0f; t <= 1.0f; t += 0.01f) {
            const glm::vec3 p = glm::mix(from, to, t);
            ASSERT_GT(p.y, heightMap->smoothHeight(p.x, p.z))
                << "from " << from.x << "," << from.y << "," << from.z << " by " << move.x << ","
                << move.y << "," << move.z;
        }
        blocked += glm::length(to - from) < glm::length(move) * 0.999f;
    }
    EXPECT_GT(blocked, 1000) << "the ridge stopped too few steps to prove anything";
}

TEST_F(Camera, MouseLookTakesTheFirstCursorAsReferenceAndStopsPitchAt89Degrees) {
    input.cursorX = 731.0;
    input.cursorY = 12.0;
    look();
    EXPECT_FLOAT_EQ(cameraYaw, -90.0f);
    EXPECT_FLOAT_EQ(cameraPitch, 0.0f);
    EXPECT_NEAR(cameraFront.z, -1.0f, 1e-6f);

    input.cursorX += 100.0;  // right: yaw grows by 5 degrees
    input.cursorY -= 40.0;   // up: pitch grows by 2 degrees
    look();
    EXPECT_FLOAT_EQ(cameraYaw, -85.0f);
    EXPECT_FLOAT_EQ(cameraPitch, 2.0f);
    EXPECT_GT(cameraFront.x, 0.0f);
    EXPECT_GT(cameraFront.y, 0.0f);
    EXPECT_NEAR(glm::length(cameraFront), 1.0f, 1e-6f);

    // Pitch stops at 89 degrees either way; yaw is never wrapped.
    input.cursorY = -100000.0;
    look();
    EXPECT_FLOAT_EQ(cameraPitch, 89.0f);
    input.cursorY = 100000.0;
    look();
    EXPECT_FLOAT_EQ(cameraPitch, -89.0f);

    for (int i = 1; i <= 10; ++i) {
        input.cursorX = 831.0 + i * 1000.0;  // 50 degrees each
        look();
    }
    EXPECT_NEAR(cameraYaw, 415.0f, 1e-3f);
}
