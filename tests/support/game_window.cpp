// The game's window under X, through xdotool and ImageMagick.
#include "support/game_window.h"

#include "support/process.h"

namespace tarn::test {

std::vector<std::string> gameEnvironment(std::vector<std::string> extra) {
    shellOutput("xdotool mousemove 400 300 2>/dev/null");
    // No photo of a test's game lands in the real pictures folder; a test that wants them
    // names its own folder, which comes later and wins.
    std::vector<std::string> env = {"ALSOFT_DRIVERS=null", "ASAN_OPTIONS=detect_leaks=0",
                                    "TARNHOLLOW_VSYNC=0", "TARNHOLLOW_PHOTO_DIR="};
    env.insert(env.end(), extra.begin(), extra.end());
    return env;
}

std::string waitForGameWindow(pid_t pid) {
    return shellOutput("timeout 60 xdotool search --sync --onlyvisible --pid " +
                       std::to_string(pid) + " --name '^Tarnhollow$' 2>/dev/null | head -n 1");
}

// The game keeps keys sticky, so a tap between two slow software-rendered frames is seen.
void tapKey(const std::string& windowId, const std::string& key) {
    shellOutput("xdotool windowfocus --sync " + windowId + " key " + key + " 2>/dev/null");
}

std::string screenshot(const std::string& windowId, const std::string& path) {
    shellOutput("import -window " + windowId + " " + path + " 2>/dev/null");
    return path;
}

}  // namespace tarn::test
