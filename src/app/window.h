// The game window's side of the window system. GLFW's callbacks only record what happened
// (a new framebuffer size, the focus, minimising); the frame takes the record at its start
// and applies it there, in one place.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/actions.h"
#include "app/session.h"

struct GLFWwindow;

namespace tarn::app {

struct WindowEvents {
    WindowSignals signals;
    std::optional<int> framebufferWidth;  // both set when the framebuffer changed size
    std::optional<int> framebufferHeight;
    std::optional<GamepadState> gamepad;  // the gamepad in use, as it stands now
    std::vector<std::string> lines;       // gamepads that came or went, for the console
};

// Installs the recording callbacks on the game's window and on the joysticks, adds the
// gamepad mappings of SDL_GAMECONTROLLERCONFIG to GLFW's own, and takes the first gamepad
// already plugged in.
void watchWindow(GLFWwindow* window);

// What was recorded since the last call, then forgets it; with the state of the gamepad in
// use, if any. A gamepad plugged in while none is in use is taken; when it goes, the next
// one still plugged in is.
WindowEvents takeWindowEvents();

// Sets everything sized from screenWidth and screenHeight: the aspect ratio, the viewport,
// the view frustum's projection, the overlay's projection and the light-shaft targets (when
// they exist). Start-up calls it once; resizeFramebuffer on every change.
void applyFramebufferSize();

// Everything sized from the framebuffer follows it: the viewport, the overlay's projection
// and places (they read screenWidth and screenHeight), the light-shaft targets, the aspect
// ratio and the view frustum, and so the size of a kept photo. An empty size (a minimised
// window) or the size already in use changes nothing and allocates nothing.
void resizeFramebuffer(int width, int height);

// Full screen on the monitor that holds most of the window, at that monitor's current
// mode; the second call puts the window back where it was, at the size it had.
void toggleFullscreen(GLFWwindow* window);

// The window's icon at every size found below the data folder's Resources/Icons; a
// missing or unreadable icon leaves the window system's default, silently.
void setWindowIcon(GLFWwindow* window);

}  // namespace tarn::app
