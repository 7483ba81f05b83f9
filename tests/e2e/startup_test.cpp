// The real game binary under X: the command line, the fatal stops and a machine without sound.
#include <gtest/gtest.h>

#include "app/startup.h"
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
    // The parser's own texts are its unit test's; here they must reach standard error.
    const std::vector<std::pair<std::vector<const char*>, std::string>> cases = {
        {{"abc", "600"}, ""},
        {{"0", "600"}, "ERROR: Could not open window.\n"},
        {{"800", "100000"}, "ERROR: Could not open window.\n"},
    };
    for (auto [args, error] : cases) {
        std::vector<std::string> argv{TARNHOLLOW_GAME_BINARY, args[0], args[1]};
        if (error.empty()) {
            args.insert(args.begin(), "tarnhollow");
            error = tarn::app::parseCommandLine(2 + 1, args.data()).error + "\n";
        }
        const ProcessResult result = runProcess(argv, TARNHOLLOW_RUN_DIR, 60.0, gameEnvironment());
        EXPECT_FALSE(result.timedOut) << argv[1] << " " << argv[2];
        EXPECT_EQ(result.exitStatus, 1) << argv[1] << " " << argv[2];
        EXPECT_EQ(result.err, error);
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
