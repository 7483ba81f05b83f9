// GLFW-backed polled input.
#include "app/input.h"

#include <GLFW/glfw3.h>

namespace tarn::app {

static_assert(keys::space == GLFW_KEY_SPACE && keys::a == GLFW_KEY_A && keys::d == GLFW_KEY_D &&
              keys::e == GLFW_KEY_E && keys::m == GLFW_KEY_M && keys::o == GLFW_KEY_O &&
              keys::p == GLFW_KEY_P && keys::s == GLFW_KEY_S && keys::w == GLFW_KEY_W &&
              keys::x == GLFW_KEY_X && keys::escape == GLFW_KEY_ESCAPE &&
              keys::f2 == GLFW_KEY_F2 && keys::f9 == GLFW_KEY_F9 &&
              keys::leftMouseButton == GLFW_MOUSE_BUTTON_LEFT);

bool GlfwInput::keyDown(int key) const { return glfwGetKey(window_, key) == GLFW_PRESS; }

bool GlfwInput::mouseButtonDown(int button) const {
    return glfwGetMouseButton(window_, button) == GLFW_PRESS;
}

void GlfwInput::cursorPosition(double& x, double& y) const { glfwGetCursorPos(window_, &x, &y); }

}  // namespace tarn::app
