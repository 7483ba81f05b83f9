// The player's input as actions: one record a frame, made from the keyboard and mouse
// through the key table of the preferences, and from a gamepad. The rules, the camera and
// the pause read this record and never a key code.
#pragma once

#include <array>
#include <glm/glm.hpp>
#include <string>
#include <vector>

#include "app/input.h"
#include "app/preferences.h"

namespace tarn::app {

struct Actions {
    glm::vec2 move{0.0f};  // x to the right, y forward; no longer than 1
    glm::vec2 look{0.0f};  // degrees to turn this frame: x yaw to the right, y pitch up

    // Once per press: a held key or button acts in the frame it went down only.
    bool photo = false;
    bool light = false;
    bool pause = false;
    bool playAgain = false;
    bool fullscreen = false;
    bool mute = false;
    bool volumeDown = false;
    bool volumeUp = false;
    // The gamepad's Start: play again once the game is decided, else pause.
    bool start = false;

    // While held, as they always acted.
    bool card = false;
    bool sonar = false;
    bool moreLight = false;
    std::array<bool, 8> settingsKeys{};  // F2 to F9
    bool quit = false;                   // Escape
};

// A gamepad as GLFW's gamepad API reports it: buttons and axes by GLFW's gamepad indices
// (A, B, X, Y, bumpers, Back, Start, Guide, thumbs, d-pad; sticks x and y with y down,
// then the triggers from -1 at rest to 1).
struct GamepadState {
    std::array<bool, 15> buttons{};
    std::array<float, 6> axes{0.0f, 0.0f, 0.0f, 0.0f, -1.0f, -1.0f};
};

namespace pad {
constexpr int a = 0, b = 1, x = 2, y = 3, back = 6, start = 7;
constexpr int leftX = 0, leftY = 1, rightX = 2, rightY = 3, rightTrigger = 5;
}  // namespace pad

// A joystick plugged in (connected) or out since the last frame, as the window system saw it.
struct JoystickChange {
    int id = 0;
    bool connected = false;
    bool isGamepad = false;  // it has a gamepad mapping, so its buttons and sticks are known
    std::string name;
};

// Which gamepad is in use after the changes, with a console line for each: a gamepad
// plugged in while none is in use is taken; when the one in use goes, the first of those
// still present (by id, -1 for none) is.
int followGamepads(int inUse, const std::vector<JoystickChange>& changes,
                   int firstPresentAfter, std::vector<std::string>& lines);

// Turns input into actions with the preferences' key table, mouse sensitivity, invert,
// gamepad look speed and dead zone. Keeps which keys and buttons were down from frame to
// frame, so call read once per frame. The cursor's reference is the camera's (lastX, lastY,
// firstMouse in camera.h): firstMouse makes the next read take the cursor as it stands.
class ActionMap {
public:
    explicit ActionMap(const Preferences& preferences = Preferences{});

    // pad: the gamepad in use, null when none is. deltaTime: the game's step, for the
    // sticks' rates.
    Actions read(const InputSource& input, const GamepadState* pad, float deltaTime);

    const Preferences& preferences() const { return preferences_; }

private:
    bool down(const InputSource& input, Action action) const;
    bool pressed(const InputSource& input, Action action);
    bool padPressed(int button, bool down);

    Preferences preferences_;
    std::array<bool, actionCount> wasDown_{};
    std::array<bool, 16> padWasDown_{};
};

}  // namespace tarn::app
