// GLFW-backed polled input.
#include "app/input.h"

#include <GLFW/glfw3.h>

namespace tarn::app {

bool GlfwInput::keyDown(int key) const { return glfwGetKey(window_, key) == GLFW_PRESS; }

bool GlfwInput::mouseButtonDown(int button) const {
    return glfwGetMouseButton(window_, button) == GLFW_PRESS;
}

void GlfwInput::cursorPosition(double& x, double& y) const { glfwGetCursorPos(window_, &x, &y); }

}  // namespace tarn::app
