// Console helpers every layer may use: the pause before an exit and the fatal stop.
#pragma once

#include <string>

namespace tarn::base {

// Waits for one key press, but only when standard input is a terminal: a closed or
// redirected input (CI, scripts, tests) never blocks.
void consolePause();

// Writes the message as one line on standard error, pauses the console and ends the
// process with exit status 1. For failures the game cannot run without.
[[noreturn]] void fatalExit(const std::string& message);

}  // namespace tarn::base
