// The second line under a fatal start-up error: what most likely caused it, in the window
// system's own words where it gave some, and what the player can do about it.
#pragma once

#include <string>

namespace tarn::app {

// After glfwInit failed: no display to open a window on, nearly always.
std::string windowSystemHint();

// After the window of width by height could not be made: a size the game refuses, or the
// window system's reason, most often a driver without an OpenGL 3.3 core context.
std::string windowHint(int width, int height);

// After glewInit returned code: the context does not answer as OpenGL 3.3 should.
std::string glewHint(unsigned code);

}  // namespace tarn::app
