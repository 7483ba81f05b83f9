// Polled input: the frame reads keys, mouse buttons and the cursor through this interface,
// so the rules and the camera can be driven by a scripted source in tests.
#pragma once

struct GLFWwindow;

namespace tarn::app {

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

}  // namespace tarn::app
