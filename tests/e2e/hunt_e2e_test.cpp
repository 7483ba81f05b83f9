// The hunt on the real binary with real key presses: taps are never lost, misses fill the
// card, the sinking bonus card can be picked up at the start, and the light runs out.
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <thread>

#include "support/game_window.h"
#include "support/process.h"

using namespace tarn::test;

TEST(HuntEndToEnd, FiveTappedPhotosOfNothingLoseAndATappedEscapeQuits) {
    ChildProcess game({TARNHOLLOW_GAME_BINARY}, TARNHOLLOW_RUN_DIR, gameEnvironment());
    const std::string id = waitForGameWindow(game.pid());
    ASSERT_FALSE(id.empty()) << "no Tarnhollow window appeared";
    ASSERT_TRUE(game.waitForOutput("ShadowMap framebuffer complete.", 60.0));

    for (int left = 4; left >= 0; --left) {
        tapKey(id, "p");
        const std::string line = "You have " + std::to_string(left) + " photos left.\n";
        ASSERT_TRUE(game.waitForOutput(line, 30.0)) << "a tapped P was lost:\n" << game.outputSoFar();
        std::this_thread::sleep_for(std::chrono::milliseconds(600));  // past the half-second guard
    }
    ASSERT_TRUE(game.waitForOutput("You have lost the game.\n", 10.0));

    tapKey(id, "Escape");
    const ProcessResult result = game.wait(30.0);
    EXPECT_FALSE(result.timedOut) << "a tapped Escape did not quit";
    EXPECT_EQ(result.exitStatus, 0);
}

TEST(HuntEndToEnd, TheSinkingCardGivesThreePhotosOnceAndTheLightRunsOutAfterTwentySeconds) {
    ChildProcess game({TARNHOLLOW_GAME_BINARY}, TARNHOLLOW_RUN_DIR, gameEnvironment());
    const std::string id = waitForGameWindow(game.pid());
    ASSERT_FALSE(id.empty()) << "no Tarnhollow window appeared";
    // The card sinks from (-1, 5, 0) past the start at (0, 0, 3) in the first seconds of the
    // world's own clock, so E is held from before the first frame, however slow it comes.
    shellOutput("xdotool windowfocus --sync " + id + " keydown e");
    const bool found = game.waitForOutput("Found a bonus SD-Card! You now have 8 photos left.\n", 60.0);
    shellOutput("xdotool keyup e");
    EXPECT_TRUE(found) << game.outputSoFar();

    tapKey(id, "m");
    ASSERT_TRUE(game.waitForOutput("Light toggled ON.\n", 30.0)) << game.outputSoFar();
    // The game's clock decides: its report of the time used, however long its frames take.
    ASSERT_TRUE(game.waitForOutput("Duration of Light used: ", 120.0)) << game.outputSoFar();

    tapKey(id, "Escape");
    const ProcessResult result = game.wait(30.0);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(occurrences(result.out, "Found a bonus SD-Card!"), 1);
    std::smatch used;
    ASSERT_TRUE(std::regex_search(result.out, used, std::regex("Duration of Light used: ([0-9.]+)\n")));
    EXPECT_GT(std::stod(used[1]), 20.0) << "the light went out early";
}
