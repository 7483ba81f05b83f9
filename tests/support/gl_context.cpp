// Hidden GLFW window with a 3.3 core context, shared by the tests of one program.
#include "support/gl_context.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace tarn::test {

GLFWwindow* ensureGLContext(int width, int height) {
    static GLFWwindow* window = nullptr;
    if (window) return window;
    if (!glfwInit()) {
        ADD_FAILURE() << "glfwInit failed: is there an X display (DISPLAY)?";
        std::abort();
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    window = glfwCreateWindow(width, height, "tarnhollow-test", nullptr, nullptr);
    if (!window) {
        ADD_FAILURE() << "no OpenGL 3.3 core context";
        std::abort();
    }
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        ADD_FAILURE() << "glewInit failed";
        std::abort();
    }
    glGetError();
    return window;
}

}  // namespace tarn::test
