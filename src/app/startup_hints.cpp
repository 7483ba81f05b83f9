// The hints under the fatal start-up errors. Each reads what GLFW or GLEW said last, so
// call it right after the failure, before anything else asks them.
#include "app/startup_hints.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "app/startup.h"

namespace tarn::app {

namespace {

const char* const glxinfoAdvice =
    "`glxinfo -B` (package mesa-utils) shows what the driver offers; update it, or install "
    "Mesa's (libgl1-mesa-dri).";

// GLFW's description of its last error in parentheses, or nothing when it had none.
std::string glfwSays() {
    const char* description = nullptr;
    if (glfwGetError(&description) == GLFW_NO_ERROR || !description) return "";
    return std::string(" (GLFW: ") + description + ")";
}

}  // namespace

std::string windowSystemHint() {
    return "No display to open the game's window on" + glfwSays() +
           ". Start Tarnhollow from a desktop session, X11 or Wayland with XWayland, or set "
           "DISPLAY to one.";
}

std::string windowHint(int width, int height) {
    if (!isWindowSizeMakeable(width, height)) {
        return "A window of " + std::to_string(width) + " by " + std::to_string(height) +
               " pixels cannot be made: give a width and a height the screen can hold, such "
               "as tarnhollow 1280 720.";
    }
    const std::string said = glfwSays();
    if (said.empty()) return "The window system gave the window no pixels to draw in.";
    return "The graphics driver offers no OpenGL 3.3 core context" + said + ". " + glxinfoAdvice;
}

std::string glewHint(unsigned code) {
    const char* said = reinterpret_cast<const char*>(glewGetErrorString(code));
    return std::string("The OpenGL context does not answer as OpenGL 3.3 should (GLEW: ") +
           (said ? said : "no reason given") + "). " + glxinfoAdvice;
}

}  // namespace tarn::app
