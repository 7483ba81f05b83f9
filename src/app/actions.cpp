// The mapping from keys, mouse and gamepad to actions.
#include "app/actions.h"

#include <algorithm>
#include <cmath>

#include "app/camera.h"

namespace tarn::app {

namespace {

// A stick's travel with the dead zone taken out: nothing inside it, and the rest of the way
// stretched to reach 1 at the rim, so slow swimming starts right past the dead zone.
glm::vec2 stick(float x, float y, float deadZone) {
    const glm::vec2 raw(x, y);
    const float travel = std::min(glm::length(raw), 1.0f);
    if (!(travel > deadZone)) return glm::vec2(0.0f);
    return glm::normalize(raw) * ((travel - deadZone) / (1.0f - deadZone));
}

// The right trigger's press is kept after the pad's 15 buttons.
constexpr int triggerSlot = 15;

}  // namespace

int followGamepads(int inUse, const std::vector<JoystickChange>& changes, int firstPresentAfter,
                   std::vector<std::string>& lines) {
    for (const JoystickChange& change : changes) {
        if (change.connected && change.isGamepad) {
            lines.push_back("Gamepad connected: " + change.name + ".");
            if (inUse < 0) inUse = change.id;
        } else if (change.connected) {
            lines.push_back("Joystick connected without a gamepad mapping: " + change.name +
                            " (SDL_GAMECONTROLLERCONFIG can add one).");
        } else if (change.id == inUse) {
            lines.push_back("Gamepad disconnected.");
            inUse = -1;
        }
    }
    if (inUse < 0 && firstPresentAfter >= 0) {
        inUse = firstPresentAfter;
        if (!changes.empty()) lines.push_back("Using the next gamepad.");
    }
    return inUse;
}

ActionMap::ActionMap(const Preferences& preferences) : preferences_(preferences) {}

bool ActionMap::down(const InputSource& input, Action action) const {
    for (const int binding : preferences_.bindings[size_t(action)]) {
        const bool isDown = binding >= mouseBindingBase
                                ? input.mouseButtonDown(binding - mouseBindingBase)
                                : input.keyDown(binding);
        if (isDown) return true;
    }
    return false;
}

bool ActionMap::pressed(const InputSource& input, Action action) {
    const bool isDown = down(input, action);
    bool& was = wasDown_[size_t(action)];
    const bool press = isDown && !was;
    was = isDown;
    return press;
}

bool ActionMap::padPressed(int button, bool isDown) {
    bool& was = padWasDown_[size_t(button)];
    const bool press = isDown && !was;
    was = isDown;
    return press;
}

Actions ActionMap::read(const InputSource& input, const GamepadState* pad, float deltaTime) {
    Actions actions;
    const auto held = [&](Action action) { return down(input, action); };
    actions.move = glm::vec2((held(Action::Right) ? 1.0f : 0.0f) - (held(Action::Left) ? 1.0f : 0.0f),
                             (held(Action::Forward) ? 1.0f : 0.0f) - (held(Action::Back) ? 1.0f : 0.0f));
    actions.photo = pressed(input, Action::Photo);
    actions.light = pressed(input, Action::Light);
    actions.pause = pressed(input, Action::Pause);
    actions.playAgain = pressed(input, Action::PlayAgain);
    actions.fullscreen = pressed(input, Action::Fullscreen);
    actions.mute = pressed(input, Action::Mute);
    actions.volumeDown = pressed(input, Action::VolumeDown);
    actions.volumeUp = pressed(input, Action::VolumeUp);
    actions.card = held(Action::Card);
    actions.sonar = held(Action::Sonar);
    actions.moreLight = held(Action::MoreLight);
    for (int k = 0; k < 8; ++k) actions.settingsKeys[size_t(k)] = input.keyDown(keys::f2 + k);
    actions.quit = input.keyDown(keys::escape);
    // Alt+Enter is full screen, as in most desktop games, whatever Enter is bound to.
    if (actions.playAgain && (input.keyDown(keys::leftAlt) || input.keyDown(keys::rightAlt)) &&
        (input.keyDown(keys::enter) || input.keyDown(keys::keypadEnter))) {
        actions.playAgain = false;
        actions.fullscreen = true;
    }

    // Mouse look against the camera's cursor reference; moving the mouse up looks up.
    double x = 0.0, y = 0.0;
    input.cursorPosition(x, y);
    if (firstMouse) {
        lastX = static_cast<float>(x);
        lastY = static_cast<float>(y);
        firstMouse = false;
    }
    const float sensitivity = preferences_.mouseSensitivity;
    const float invert = preferences_.invertY ? -1.0f : 1.0f;
    actions.look = glm::vec2(static_cast<float>(x - lastX) * sensitivity,
                             static_cast<float>(lastY - y) * sensitivity * invert);
    lastX = static_cast<float>(x);
    lastY = static_cast<float>(y);

    // The pad adds to the keyboard; every button is asked every frame so a press is seen
    // once, in the frame it happens.
    GamepadState none;
    const GamepadState& p = pad ? *pad : none;
    const float deadZone = preferences_.gamepadDeadZone;
    const glm::vec2 left = stick(p.axes[pad::leftX], p.axes[pad::leftY], deadZone);
    const glm::vec2 right = stick(p.axes[pad::rightX], p.axes[pad::rightY], deadZone);
    actions.move += glm::vec2(left.x, -left.y);
    if (glm::length(actions.move) > 1.0f) actions.move = glm::normalize(actions.move);
    actions.look += glm::vec2(right.x, -right.y * invert) * preferences_.gamepadLookSpeed * deltaTime;
    const bool trigger = p.axes[pad::rightTrigger] > 0.5f;
    actions.photo |= padPressed(triggerSlot, trigger) | padPressed(pad::a, p.buttons[pad::a]);
    actions.light |= padPressed(pad::y, p.buttons[pad::y]);
    actions.start = padPressed(pad::start, p.buttons[pad::start]);
    actions.card |= p.buttons[pad::x];
    actions.sonar |= padPressed(pad::b, p.buttons[pad::b]);
    return actions;
}

}  // namespace tarn::app
