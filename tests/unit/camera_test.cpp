// Camera movement and mouse look, driven by scripted input without a window.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "app/camera.h"
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
    void hold(std::initializer_list<int> keys) { input.keys = keys; }
    ScriptedInput input;
};

}  // namespace

TEST_F(Camera, OnlyTheLastHeldKeyInOrderWSADMoves) {
    hold({GLFW_KEY_W});
    moveCamera(input, 0.4f);  // a step of one unit
    EXPECT_FLOAT_EQ(cameraPos.z, 2.0f);

    hold({GLFW_KEY_W, GLFW_KEY_S});
    moveCamera(input, 0.4f);
    EXPECT_FLOAT_EQ(cameraPos.z, 3.0f) << "W with S moves backwards";

    hold({GLFW_KEY_W, GLFW_KEY_D});
    moveCamera(input, 0.4f);
    EXPECT_FLOAT_EQ(cameraPos.x, 1.0f) << "W with D strafes right only";
    EXPECT_FLOAT_EQ(cameraPos.z, 3.0f);

    hold({GLFW_KEY_A, GLFW_KEY_D});
    moveCamera(input, 0.4f);
    EXPECT_FLOAT_EQ(cameraPos.x, 2.0f) << "A with D strafes right";
}

TEST_F(Camera, NothingStopsItAtTheWaterLine) {
    hold({GLFW_KEY_W});
    cameraPos = {0.0f, 14.9f, 0.0f};
    cameraFront = {0.0f, 1.0f, 0.0f};
    moveCamera(input, 0.4f);
    EXPECT_FLOAT_EQ(cameraPos.y, 15.9f);
}

TEST_F(Camera, StepsEndingOutsideTheSquareOrTooNearTheFloorAreDroppedWhole) {
    hold({GLFW_KEY_W});
    for (const glm::vec3 side : {glm::vec3(1, 0, 0), glm::vec3(-1, 0, 0), glm::vec3(0, 0, 1),
                                 glm::vec3(0, 0, -1)}) {
        cameraFront = side;
        cameraPos = 52.4f * side;
        moveCamera(input, 0.08f);  // 0.2 further would end at 52.6
        EXPECT_FLOAT_EQ(glm::dot(cameraPos, side), 52.4f);
        cameraPos = 52.25f * side;
        moveCamera(input, 0.1f);  // ends at exactly 52.5
        EXPECT_FLOAT_EQ(glm::dot(cameraPos, side), 52.5f) << side.x << "," << side.z;
    }

    // Half a unit above the floor is the nearest it may come.
    heightMap = flatMap(226);  // floor at 13.0
    cameraFront = {0.0f, -1.0f, 0.0f};
    hold({GLFW_KEY_W});
    cameraPos = {0.0f, 14.0f, 0.0f};
    moveCamera(input, 0.2f);  // down to exactly 0.5 above the floor
    EXPECT_FLOAT_EQ(cameraPos.y, 13.5f);

    cameraPos = {0.0f, 13.99f, 0.0f};
    moveCamera(input, 0.2f);  // would end 0.49 above
    EXPECT_FLOAT_EQ(cameraPos.y, 13.99f);
}

TEST_F(Camera, MouseLookTakesTheFirstCursorAsReferenceAndStopsPitchAt89Degrees) {
    input.cursorX = 731.0;
    input.cursorY = 12.0;
    lookAround(input);
    EXPECT_FLOAT_EQ(cameraYaw, -90.0f);
    EXPECT_FLOAT_EQ(cameraPitch, 0.0f);
    EXPECT_NEAR(cameraFront.z, -1.0f, 1e-6f);

    input.cursorX += 100.0;  // right: yaw grows by 5 degrees
    input.cursorY -= 40.0;   // up: pitch grows by 2 degrees
    lookAround(input);
    EXPECT_FLOAT_EQ(cameraYaw, -85.0f);
    EXPECT_FLOAT_EQ(cameraPitch, 2.0f);
    EXPECT_GT(cameraFront.x, 0.0f);
    EXPECT_GT(cameraFront.y, 0.0f);
    EXPECT_NEAR(glm::length(cameraFront), 1.0f, 1e-6f);

    // Pitch stops at 89 degrees either way; yaw is never wrapped.
    input.cursorY = -100000.0;
    lookAround(input);
    EXPECT_FLOAT_EQ(cameraPitch, 89.0f);
    input.cursorY = 100000.0;
    lookAround(input);
    EXPECT_FLOAT_EQ(cameraPitch, -89.0f);

    for (int i = 1; i <= 10; ++i) {
        input.cursorX = 831.0 + i * 1000.0;  // 50 degrees each
        lookAround(input);
    }
    EXPECT_NEAR(cameraYaw, 415.0f, 1e-3f);
}
