// Driving the real game's window from a test: find it, press keys on it, photograph it.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "support/lake_game.h"

namespace tarn::test {

// Readies the display for a game a test is about to start, and returns the environment it
// gets: silent audio, no photos kept, and no leak report at exit (the X and GL libraries keep a little
// memory past the end of the window system). The pointer is parked at the centre of where
// an 800 by 600 window opens, the place the game centres its captured cursor on, so
// gaining focus late cannot turn the camera.
std::vector<std::string> gameEnvironment(std::vector<std::string> extra = {});

// The game's window id once it is mapped; empty when none appears within a minute.
std::string waitForGameWindow(pid_t pid);

// A quick tap, press and release at once: the game must still see it once.
void tapKey(const std::string& windowId, const std::string& key);

// Saves what the window shows as a PNG and returns the path.
std::string screenshot(const std::string& windowId, const std::string& path);

// Takes screenshots into path until one passes the check or the seconds run out; returns
// the last.
WindowImage waitForPicture(const std::string& windowId, const std::string& path, double seconds,
                           const std::function<bool(const WindowImage&)>& good);

}  // namespace tarn::test
