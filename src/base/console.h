// Console helpers every layer may use: the pause before an exit and the fatal stop.
#pragma once

#include <string>

namespace tarn::base {

// Waits for one key press, but only when standard input is a terminal: a closed or
// redirected input (CI, scripts, tests) never blocks.
void consolePause();

// Writes the message as one line on standard error, then the hint, when there is one, as a
// second: what likely caused it and what the player can do. Pauses the console and ends
// the process with exit status 1. For failures the game cannot run without.
[[noreturn]] void fatalExit(const std::string& message, const std::string& hint = "");

}  // namespace tarn::base
