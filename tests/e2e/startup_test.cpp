// The real game binary under X: the command line, the fatal stops and a machine without sound.
#include <gtest/gtest.h>

#include "support/game_window.h"
#include "support/process.h"

using namespace tarn::test;

TEST(GameStartup, SizeArgumentsPrintTheIntroAndSizeTheWindow) {
    ChildProcess game({TARNHOLLOW_GAME_BINARY, "640", "360"}, TARNHOLLOW_RUN_DIR, gameEnvironment());
    const std::string id = waitForGameWindow(game.pid());
    ASSERT_FALSE(id.empty());
    EXPECT_NE(shellOutput("xdotool getwindowgeometry " + id).find("Geometry: 640x360"),
              std::string::npos);
    tapKey(id, "Escape");
    const ProcessResult result = game.wait(30.0);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out.rfind(
                  "You are running Tarnhollow. Press W, A, S, D to move. Press the Mouse Key to "
                  "take a photo if you are close enough.\n\n",
                  0),
              0u)
        << result.out;
}

TEST(GameStartup, BadArgumentsStopWithTheirTextAndStatusOne) {
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{"abc", "600"}, "ERROR: Could not parse first element, try again.\n"},
        {{"0", "600"}, "ERROR: Could not open window.\n"},
        {{"-5", "600"}, "ERROR: Could not open window.\n"},
        {{"800", "100000"}, "ERROR: Could not open window.\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> argv{TARNHOLLOW_GAME_BINARY};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const ProcessResult result = runProcess(argv, TARNHOLLOW_RUN_DIR, 60.0, gameEnvironment());
        EXPECT_FALSE(result.timedOut) << c.args[0] << " " << c.args[1];
        EXPECT_EQ(result.exitStatus, 1) << c.args[0] << " " << c.args[1];
        EXPECT_EQ(result.err, c.error);
    }
}

TEST(GameStartup, WithoutAnAudioDeviceTheGameRunsOnSilently) {
    ChildProcess game({TARNHOLLOW_GAME_BINARY}, TARNHOLLOW_RUN_DIR,
                      gameEnvironment({"ALSOFT_DRIVERS=no-such-backend", "ALSOFT_CONF=/dev/null"}));
    const std::string id = waitForGameWindow(game.pid());
    ASSERT_FALSE(id.empty());
    tapKey(id, "Escape");
    const ProcessResult result = game.wait(30.0);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_NE(result.err.find("irrKlang Engine not working\n"), std::string::npos) << result.err;
}
