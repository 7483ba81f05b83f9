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
static_assert(keys::r == GLFW_KEY_R && keys::enter == GLFW_KEY_ENTER &&
              keys::keypadEnter == GLFW_KEY_KP_ENTER && keys::pause == GLFW_KEY_PAUSE &&
              keys::f1 == GLFW_KEY_F1 && keys::f11 == GLFW_KEY_F11 &&
              keys::leftAlt == GLFW_KEY_LEFT_ALT && keys::rightAlt == GLFW_KEY_RIGHT_ALT);
static_assert(GLFW_KEY_LAST < 349 && GLFW_MOUSE_BUTTON_LAST < 8);

bool GlfwInput::keyDown(int key) const { return glfwGetKey(window_, key) == GLFW_PRESS; }

bool GlfwInput::mouseButtonDown(int button) const {
    return glfwGetMouseButton(window_, button) == GLFW_PRESS;
}

void GlfwInput::cursorPosition(double& x, double& y) const { glfwGetCursorPos(window_, &x, &y); }

bool FrameInput::remember(int code, bool button) const {
    const int slot = button ? keyCount + code : code;
    if (code < 0 || slot >= int(asked_.size())) {
        return button ? source_.mouseButtonDown(code) : source_.keyDown(code);
    }
    if (asked_[size_t(slot)] == unknown) {
        asked_[size_t(slot)] =
            (button ? source_.mouseButtonDown(code) : source_.keyDown(code)) ? 1 : 0;
    }
    return asked_[size_t(slot)] == 1;
}

}  // namespace tarn::app
