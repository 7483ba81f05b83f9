// The game as a desktop window on the real binary: it resizes and goes full screen and back,
// carries its icon, pauses while another window has the focus, plays again after the end,
// and takes its controls from the player's settings file.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sstream>
#include <thread>

#include "support/game_window.h"
#include "support/process.h"

using namespace tarn::test;

namespace {

// The game started and drawing, with its window id; fails the test when it does not come.
struct RunningGame {
    explicit RunningGame(std::vector<std::string> environment = {})
        : game({TARNHOLLOW_GAME_BINARY}, TARNHOLLOW_RUN_DIR, gameEnvironment(environment)) {
        id = waitForGameWindow(game.pid());
        if (id.empty() || !game.waitForOutput("ShadowMap framebuffer complete.", 60.0)) {
            ADD_FAILURE() << "no Tarnhollow window appeared:\n" << game.outputSoFar();
            id.clear();
        }
    }
    // Escape, and the game's whole output once it has quit.
    ProcessResult quit() {
        tapKey(id, "Escape");
        ProcessResult result = game.wait(30.0);
        EXPECT_EQ(result.exitStatus, 0) << result.err;
        return result;
    }
    // Waits until the line has come the given number of times.
    bool waitFor(const std::string& line, int times = 1) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (occurrences(game.outputSoFar(), line) < times) {
            if (std::chrono::steady_clock::now() > end) {
                ADD_FAILURE() << "no \"" << line << "\":\n" << game.outputSoFar();
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return true;
    }

    ChildProcess game;
    std::string id;
};

bool hudCyan(int r, int g, int b) { return r < 140 && g > 190 && b > 220; }
bool hudYellow(int r, int g, int b) { return r > 200 && g > 200 && b < 90; }

// The lake over the whole picture, the distance line at the bottom left and the photos
// left at the top right, wherever the window's corners now are.
bool fillsTheWindow(const WindowImage& image, int width, int height) {
    return image.width == width && image.height == height && image.showsTheLake() &&
           image.count(0, 0, width / 2, height / 6, hudCyan) > 200 &&
           image.count(width * 3 / 4, height * 5 / 6, width, height, hudYellow) > 40;
}

}  // namespace

TEST(WindowEndToEnd, ItResizesGoesFullScreenAndBackAndCarriesItsIcon) {
    RunningGame run;
    ASSERT_FALSE(run.id.empty());
    EXPECT_NE(shellOutput("xprop -id " + run.id + " _NET_WM_ICON | head -c 40"), "") << "no icon";
    EXPECT_NE(shellOutput("xprop -id " + run.id + " _NET_WM_ICON").find("_NET_WM_ICON(CARDINAL)"),
              std::string::npos);

    shellOutput("xdotool windowsize --sync " + run.id + " 1024 700");
    const WindowImage resized =
        waitForPicture(run.id, screenshotPath("resized.png"), 20.0,
                       [](const WindowImage& image) { return fillsTheWindow(image, 1024, 700); });
    EXPECT_TRUE(fillsTheWindow(resized, 1024, 700));

    std::istringstream display(shellOutput("xdotool getdisplaygeometry"));
    int screenWidth = 0, screenHeight = 0;
    display >> screenWidth >> screenHeight;
    tapKey(run.id, "F11");
    const WindowImage full = waitForPicture(
        run.id, screenshotPath("full-screen.png"), 20.0,
        [&](const WindowImage& image) { return fillsTheWindow(image, screenWidth, screenHeight); });
    EXPECT_TRUE(fillsTheWindow(full, screenWidth, screenHeight));

    tapKey(run.id, "alt+Return");
    const WindowImage back =
        waitForPicture(run.id, screenshotPath("windowed-again.png"), 20.0,
                       [](const WindowImage& image) { return fillsTheWindow(image, 1024, 700); });
    EXPECT_TRUE(fillsTheWindow(back, 1024, 700)) << "not back at the window's last size";
    run.quit();
}

TEST(WindowEndToEnd, WithAnotherWindowFocusedNothingMovesAndTheLightBurnsNothing) {
    RunningGame run;
    ASSERT_FALSE(run.id.empty());
    tapKey(run.id, "m");
    ASSERT_TRUE(run.waitFor("Light toggled ON.\n"));
    using Clock = std::chrono::steady_clock;
    const Clock::time_point lightOn = Clock::now();

    ChildProcess other({"/usr/bin/xmessage", "-geometry", "+900+900", "elsewhere"}, "/tmp");
    const std::string otherId =
        shellOutput("timeout 20 xdotool search --sync --onlyvisible --class Xmessage | head -n 1");
    ASSERT_FALSE(otherId.empty()) << "no other window to focus";
    shellOutput("xdotool windowfocus --sync " + otherId);
    ASSERT_TRUE(run.waitFor("Game paused.\n"));
    const Clock::time_point paused = Clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // the frame after the pause
    const WindowImage first = WindowImage::load(screenshot(run.id, screenshotPath("paused.png")));
    std::this_thread::sleep_for(std::chrono::seconds(3));
    const WindowImage later =
        WindowImage::load(screenshot(run.id, screenshotPath("paused-later.png")));
    ASSERT_FALSE(first.rgb.empty());
    EXPECT_EQ(first.rgb, later.rgb) << "the lake, its caustics or the overlay moved while paused";
    EXPECT_GT(first.count(0, 0, first.width, first.height, hudYellow), 300)
        << "no \"Paused\" and controls";

    shellOutput("xdotool windowfocus --sync " + run.id);
    ASSERT_TRUE(run.waitFor("Game resumed.\n"));
    const double pausedFor = std::chrono::duration<double>(Clock::now() - paused).count();
    const WindowImage playing =
        waitForPicture(run.id, screenshotPath("playing-again.png"), 10.0,
                       [&](const WindowImage& image) { return image.changedShare(later) > 0.001; });
    EXPECT_GT(playing.changedShare(later), 0.001)
        << "the lake stood still after the focus came back";
    tapKey(run.id, "m");
    ASSERT_TRUE(run.waitFor("Light toggled OFF."));
    const double lightPlayed =
        std::chrono::duration<double>(Clock::now() - lightOn).count() - pausedFor;
    kill(other.pid(), SIGTERM);
    const ProcessResult result = run.quit();
    const size_t at = result.out.find("Sum used so far: ");
    ASSERT_NE(at, std::string::npos);
    EXPECT_LT(std::stod(result.out.substr(at + 17)), lightPlayed + 0.5)
        << "the light burnt while the game was paused";
}

TEST(WindowEndToEnd, ALostGameIsPlayedAgainToASecondEnd) {
    RunningGame run;
    ASSERT_FALSE(run.id.empty());
    for (int hunt = 1; hunt <= 2; ++hunt) {
        for (int left = 4; left >= 0; --left) {
            tapKey(run.id, "p");
            ASSERT_TRUE(run.waitFor("You have " + std::to_string(left) + " photos left.\n", hunt));
            std::this_thread::sleep_for(std::chrono::milliseconds(600));  // the half-second guard
        }
        ASSERT_TRUE(run.waitFor("You have lost the game.\n", hunt));
        if (hunt == 1) {
            const WindowImage lost =
                WindowImage::load(screenshot(run.id, screenshotPath("lost-once.png")));
            EXPECT_GT(lost.count(0, 0, lost.width, lost.height,
                                 [](int r, int g, int b) { return r > 200 && g < 110 && b < 60; }),
                      400)
                << "no banner with its play-again line";
            tapKey(run.id, "r");
            ASSERT_TRUE(run.waitFor("A new hunt begins"));
        }
    }
    const ProcessResult result = run.quit();
    EXPECT_EQ(occurrences(result.out, "You have lost the game.\n"), 2) << result.out;
    EXPECT_EQ(occurrences(result.out, "You have 0 photos left.\n"), 2);
}

TEST(WindowEndToEnd, ASettingsFileRebindsThePhotoKeyAndInvertsTheMouse) {
    const std::string config = makeTempDir();
    writeFile(config + "/tarnhollow/settings.ini",
              "# a player's own\nkey_photo = K\ninvert_mouse = true\nvolume = loud\n");
    RunningGame run({"XDG_CONFIG_HOME=" + config});
    ASSERT_FALSE(run.id.empty());
    const WindowImage level =
        waitForPicture(run.id, screenshotPath("level.png"), 20.0,
                       [](const WindowImage& image) { return image.showsTheLake(); });
    // The mouse goes up; inverted, the view goes down, to more floor and less water.
    shellOutput("xdotool mousemove_relative -- 0 -120");
    const WindowImage down = waitForPicture(
        run.id, screenshotPath("inverted-look.png"), 10.0,
        [&](const WindowImage& image) { return image.waterShare() < level.waterShare() - 0.05; });
    EXPECT_LT(down.waterShare(), level.waterShare() - 0.05) << "mouse up did not look down";

    tapKey(run.id, "p");
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_EQ(occurrences(run.game.outputSoFar(), "photos left."), 0) << "P still takes photos";
    for (int left = 4; left >= 0; --left) {
        tapKey(run.id, "k");
        ASSERT_TRUE(run.waitFor("You have " + std::to_string(left) + " photos left.\n"));
        std::this_thread::sleep_for(std::chrono::milliseconds(600));  // the half-second guard
    }
    ASSERT_TRUE(run.waitFor("You have lost the game.\n"));
    const ProcessResult result = run.quit();
    EXPECT_NE(result.err.find("settings.ini:4: "), std::string::npos)
        << "the bad volume went unreported:\n"
        << result.err;
}
