// A real OpenGL 3.3 core context for GL tests: one hidden window per test program.
#pragma once

struct GLFWwindow;

namespace tarn::test {

// Opens the context on first use and makes it current; later calls return the same window.
// Fails the calling test (fatally) when no context can be made.
GLFWwindow* ensureGLContext(int width = 64, int height = 64);

}  // namespace tarn::test
