// The game's window under X, through xdotool and ImageMagick.
#include "support/game_window.h"

#include <chrono>
#include <thread>

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

WindowImage waitForPicture(const std::string& windowId, const std::string& path, double seconds,
                           const std::function<bool(const WindowImage&)>& good) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    WindowImage image;
    do {
        image = WindowImage::load(screenshot(windowId, path));
        if (good(image)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    } while (std::chrono::steady_clock::now() < end);
    return image;
}

}  // namespace tarn::test
