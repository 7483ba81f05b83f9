// Polled input: the frame reads keys, mouse buttons and the cursor through this interface,
// so the rules and the camera can be driven by a scripted source in tests.
#pragma once

#include <array>
#include <set>

struct GLFWwindow;

namespace tarn::app {

// The game's keys and button by GLFW's codes, so code that reads input needs no GLFW
// header (input.cpp checks them against GLFW's own).
namespace keys {
constexpr int space = 32;
constexpr int a = 65, d = 68, e = 69, m = 77, o = 79, p = 80, r = 82, s = 83, w = 87, x = 88;
constexpr int escape = 256, enter = 257, keypadEnter = 335, pause = 284;
constexpr int f1 = 290, f2 = 291, f3 = 292, f4 = 293, f5 = 294, f6 = 295, f7 = 296, f8 = 297,
              f9 = 298, f11 = 300;
constexpr int leftAlt = 342, rightAlt = 346;
constexpr int zero = 48, minus = 45, equal = 61;
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

// One frame's look at another source: each key and button is asked once and its answer
// kept, so that a sticky tap asked about twice in the frame is seen both times.
class FrameInput final : public InputSource {
public:
    explicit FrameInput(const InputSource& source) : source_(source) { asked_.fill(unknown); }
    bool keyDown(int key) const override { return remember(key, false); }
    bool mouseButtonDown(int button) const override { return remember(button, true); }
    void cursorPosition(double& x, double& y) const override { source_.cursorPosition(x, y); }

private:
    static constexpr signed char unknown = -1;
    static constexpr int keyCount = 349;  // GLFW's key codes end at 348; buttons follow
    bool remember(int code, bool button) const;

    const InputSource& source_;
    mutable std::array<signed char, keyCount + 8> asked_{};
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
