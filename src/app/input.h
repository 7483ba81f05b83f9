// Polled input: the frame reads keys, mouse buttons and the cursor through this interface,
// so the rules and the camera can be driven by a scripted source in tests.
#pragma once

#include <set>

struct GLFWwindow;

namespace tarn::app {

// The game's keys and button by GLFW's codes, so code that reads input needs no GLFW
// header (input.cpp checks them against GLFW's own).
namespace keys {
constexpr int space = 32;
constexpr int a = 65, d = 68, e = 69, m = 77, o = 79, p = 80, s = 83, w = 87, x = 88;
constexpr int escape = 256;
constexpr int f2 = 291, f3 = 292, f4 = 293, f5 = 294, f6 = 295, f7 = 296, f8 = 297, f9 = 298;
constexpr int leftMouseButton = 0;
}  // namespace keys

class InputSource {
public:
    virtual ~InputSource() = default;
    // Keys and buttons use GLFW's codes.
    virtual bool keyDown(int key) const = 0;
    virtual bool mouseButtonDown(int button) const = 0;
    // Cursor position in screen pixels, y growing downwards.
    virtual void cursorPosition(double& x, double& y) const = 0;
};

// The game window's keyboard and mouse.
class GlfwInput final : public InputSource {
public:
    explicit GlfwInput(GLFWwindow* window) : window_(window) {}
    bool keyDown(int key) const override;
    bool mouseButtonDown(int button) const override;
    void cursorPosition(double& x, double& y) const override;

private:
    GLFWwindow* window_;
};

// Input set by a program rather than a player: tests, the gallery and the benchmark hold
// keys and place the cursor here.
class ScriptedInput final : public InputSource {
public:
    bool keyDown(int key) const override { return keys.count(key) > 0; }
    bool mouseButtonDown(int button) const override { return buttons.count(button) > 0; }
    void cursorPosition(double& x, double& y) const override {
        x = cursorX;
        y = cursorY;
    }

    std::set<int> keys;
    std::set<int> buttons;
    double cursorX = 0.0;
    double cursorY = 0.0;
};

}  // namespace tarn::app
