// The test programs' one hidden window, opened the way the gallery and the benchmark open it.
#include "support/gl_context.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "game_harness.h"

namespace tarn::test {

GLFWwindow* ensureGLContext(int width, int height) {
    static GLFWwindow* window = nullptr;
    if (window) return window;
    window = harness::openGameWindow(width, height, "tarnhollow-test", false);
    if (!window) {
        ADD_FAILURE() << "no OpenGL 3.3 core context: is there an X display (DISPLAY)?";
        std::abort();
    }
    return window;
}

}  // namespace tarn::test
