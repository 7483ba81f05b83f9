// The log of the last run: everything the game prints on standard output and standard
// error, kept in a file as well, so that a game started from a desktop menu, whose console
// nobody sees, leaves its errors where the player can find them.
#pragma once

#include <functional>
#include <string>

namespace tarn::base {

// $XDG_STATE_HOME/tarnhollow/last-run.log, or ~/.local/state/tarnhollow/last-run.log when
// XDG_STATE_HOME is unset, empty or relative (the XDG base directory rules). Empty when
// HOME gives no absolute folder either. lookup returns an environment variable's value,
// null when it is unset.
std::string runLogPath(const std::function<const char*(const char*)>& lookup);

// From now on, what std::cout, std::cerr and std::clog print also goes, in the order it was
// printed, to a new file at path, which replaces an earlier run's; missing folders are made.
// A log that cannot be made, or stops taking lines, costs one line on standard error and
// nothing else: the console keeps every line and the game runs on. Call it once, before
// anything is printed. Returns whether the log is kept.
bool startRunLog(const std::string& path);

}  // namespace tarn::base
