// The action map without a window: the key table and its rebinding, mouse look with its
// sensitivity and invert, and a gamepad fed as the states GLFW would report.
#include "app/actions.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "app/camera.h"

using namespace tarn::app;

namespace {

class ActionMapping : public ::testing::Test {
protected:
    void SetUp() override { firstMouse = true; }
    Actions frame(std::initializer_list<int> keys, const GamepadState* pad = nullptr,
                  float deltaTime = 0.1f) {
        input.keys = keys;
        return map.read(input, pad, deltaTime);
    }
    ScriptedInput input;
    Preferences preferences;
    ActionMap map;
};

}  // namespace

TEST_F(ActionMapping, AReboundKeyActsAndTheOldOneNoLonger) {
    preferences.bindings[size_t(Action::Photo)] = {GLFW_KEY_K};
    preferences.bindings[size_t(Action::Forward)] = {GLFW_KEY_UP, GLFW_KEY_I};
    map = ActionMap(preferences);
    EXPECT_FALSE(frame({GLFW_KEY_P}).photo);
    EXPECT_TRUE(frame({GLFW_KEY_K}).photo);
    EXPECT_EQ(frame({GLFW_KEY_I}).move, glm::vec2(0.0f, 1.0f));
    EXPECT_EQ(frame({GLFW_KEY_UP}).move, glm::vec2(0.0f, 1.0f));
    EXPECT_EQ(frame({GLFW_KEY_W}).move, glm::vec2(0.0f));
    input.buttons = {GLFW_MOUSE_BUTTON_LEFT};
    EXPECT_FALSE(frame({}).photo) << "the button went with the old binding";
}

TEST_F(ActionMapping, MouseLookFollowsTheSensitivityAndInvert) {
    preferences.mouseSensitivity = 0.2f;
    preferences.invertY = true;
    map = ActionMap(preferences);
    input.cursorX = 100.0;
    input.cursorY = 100.0;
    EXPECT_EQ(frame({}).look, glm::vec2(0.0f)) << "the first cursor is only the reference";
    input.cursorX = 110.0;
    input.cursorY = 90.0;  // the mouse moved up
    const glm::vec2 look = frame({}).look;
    EXPECT_FLOAT_EQ(look.x, 2.0f);
    EXPECT_FLOAT_EQ(look.y, -2.0f) << "inverted: up looks down";
}

TEST_F(ActionMapping, AGamepadSwimsLooksAndShootsOncePerPullPastItsDeadZone) {
    GamepadState pad;
    pad.axes[pad::leftX] = 0.15f;  // inside the dead zone of 0.2
    pad.axes[pad::rightY] = -0.1f;
    Actions idle = frame({}, &pad);
    EXPECT_EQ(idle.move, glm::vec2(0.0f));
    EXPECT_EQ(idle.look, glm::vec2(0.0f));

    pad.axes[pad::leftY] = -1.0f;  // stick pushed forward all the way
    pad.axes[pad::leftX] = 0.0f;
    pad.axes[pad::rightX] = 1.0f;
    pad.axes[pad::rightY] = 0.0f;
    const Actions swim = frame({GLFW_KEY_W, GLFW_KEY_D}, &pad, 0.5f);
    EXPECT_NEAR(glm::length(swim.move), 1.0f, 1e-6f) << "keys and stick together: full speed";
    EXPECT_GT(swim.move.y, swim.move.x);
    EXPECT_FLOAT_EQ(swim.look.x, 60.0f) << "half a second at 120 degrees a second";

    pad = GamepadState{};
    pad.axes[pad::leftX] = 0.6f;  // halfway from the dead zone to the rim
    EXPECT_NEAR(frame({}, &pad).move.x, 0.5f, 1e-6f);

    pad = GamepadState{};
    pad.axes[pad::rightTrigger] = 1.0f;
    EXPECT_TRUE(frame({}, &pad).photo);
    EXPECT_FALSE(frame({}, &pad).photo) << "a trigger held down is one photo";
    pad.axes[pad::rightTrigger] = -1.0f;
    frame({}, &pad);
    pad.buttons[pad::a] = true;
    pad.buttons[pad::y] = true;
    pad.buttons[pad::start] = true;
    const Actions buttons = frame({}, &pad);
    EXPECT_TRUE(buttons.photo && buttons.light && buttons.start);
    EXPECT_FALSE(frame({}, &pad).light);
    pad.buttons = {};
    pad.buttons[pad::x] = true;
    pad.buttons[pad::b] = true;
    const Actions held = frame({}, &pad);
    EXPECT_TRUE(held.card && held.sonar);
    EXPECT_TRUE(frame({}, &pad).card) << "the card is picked up while held, as E";
    EXPECT_FALSE(frame({}, nullptr).card) << "the pad went away";
}

TEST(Gamepads, OneIsTakenWhenPluggedInAndTheNextWhenItGoes) {
    std::vector<std::string> lines;
    int inUse = followGamepads(-1, {{3, true, true, "Pad A"}}, 3, lines);
    EXPECT_EQ(inUse, 3);
    inUse = followGamepads(inUse, {{1, true, true, "Pad B"}, {2, true, false, "Stick"}}, 1, lines);
    EXPECT_EQ(inUse, 3) << "the one in use stays";
    inUse = followGamepads(inUse, {{3, false, false, ""}}, 1, lines);
    EXPECT_EQ(inUse, 1);
    inUse = followGamepads(inUse, {{1, false, false, ""}}, -1, lines);
    EXPECT_EQ(inUse, -1);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Gamepad connected: Pad A.", "Gamepad connected: Pad B.",
                         "Joystick connected without a gamepad mapping: Stick "
                         "(SDL_GAMECONTROLLERCONFIG can add one).",
                         "Gamepad disconnected.", "Using the next gamepad.",
                         "Gamepad disconnected."}));
}
