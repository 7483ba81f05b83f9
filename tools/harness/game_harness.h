// Drives the game's real frame from a program instead of a player: a window of a chosen
// size, the state a new process would have, the camera put in place, and the fixed views
// of docs/gallery/. Shared by the gallery, the benchmark and the picture tests.
#pragma once

#include <cstdint>
#include <functional>
#include <glm/glm.hpp>
#include <string>
#include <vector>

#include "app/input.h"

struct GLFWwindow;

namespace tarn::harness {

// A window with a 3.3 core context, current, and the game's window globals set from the
// framebuffer it really got. A hidden window is never presented, so nothing is put on the
// screen. Initialises GLFW and GLEW on first use; returns null when the window system or
// GLEW fails.
GLFWwindow* openGameWindow(int width, int height, const char* title, bool visible);

// A new game in the current window, as a new process starts one: the state reset, start-up
// run (its console lines are left to the caller to silence or keep), and the frame clock
// set to 1 s, which it returns.
double startFreshGame(bool withSound);

// Frames of game time each fixed view advances by.
constexpr double viewFrameStep = 0.1;

struct View {
    const char* name;
    double warmUp;  // seconds the lake runs before the camera is placed
    // Places the camera and sets what the view shows; may hold keys for the last frame.
    std::function<void(app::ScriptedInput&)> arrange;
};

// The fixed views of docs/gallery/, each named after its file there.
const std::vector<View>& galleryViews();

// Starts the game, runs the view's frames and leaves its picture in the back buffer. Needs
// an 800 by 600 window from openGameWindow (or any current context whose window globals
// say 800 by 600) and the run folder as working directory. Call releaseView afterwards.
void renderView(const View& view);
// Ends the game renderView started.
void releaseView();

// The back buffer as RGB rows, bottom row first as GL reads them.
std::vector<std::uint8_t> readBackBuffer(int width, int height);

}  // namespace tarn::harness
