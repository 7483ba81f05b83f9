// Program start and stop: the command line, the window and context, loading every
// resource (init), the frame loop, and releasing it all again (cleanup).
#pragma once

#include <string>

#include "app/command_line.h"
#include "app/data_folder.h"

namespace tarn::scene {
struct World;
}

namespace tarn::app {

// Whether the window system can be asked for a window of this size. Sizes below 1 or
// beyond what a GL framebuffer can hold are refused before GLFW sees them.
bool isWindowSizeMakeable(int width, int height);

// The game waits for the display's refresh before each new frame (swap interval 1), so a
// fast GPU is not kept busy drawing frames nobody sees. TARNHOLLOW_VSYNC=0 in the
// environment, which the tests and the soak set, turns the wait off: the value of that
// variable (null when unset) gives the interval.
int swapIntervalFor(const char* vsyncVariable);

// The whole run: start-up, frame loop, shutdown. After the command line it finds the data
// folder (see data_folder.h) and works from there. Returns the process exit status; the
// fatal failures of start-up, a missing data folder among them, end the process themselves
// with status 1.
int runGame(int argc, const char* const* argv, const InstalledData& installed);

// Loads the shader programs, projections, scene and textures. Needs the GL context.
void init();
// The lake's 30 objects, loading their models from the working directory. Needs init's
// main program, which the bonus card's quad is laid out for.
void createSceneObjects(scene::World& world);

// Releases what init created, while the GL context still exists.
void cleanup();

// Puts the rules, the settings, the world clocks, the camera and both random sources back
// where a new process starts them, so that one process can play several fresh games (the
// tests, the gallery, the benchmark). Call it before startGame.
void resetToFirstStart();

// What start-up does once the window and its context exist: init (with everything sized
// from the framebuffer, see applyFramebufferSize), the clear colour, the font, the sound with its ambient loop (when withSound), both off-screen
// framebuffers and the mouse-look reference. cleanup undoes it.
void startGame(bool withSound);

}  // namespace tarn::app
