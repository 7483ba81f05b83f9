// The real game binary under X: the command line, the fatal stops and a machine without sound.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/data_folder.h"
#include "app/startup.h"
#include "support/game_window.h"
#include "support/process.h"

using namespace tarn::test;
namespace fs = std::filesystem;

TEST(GameStartup, SizeArgumentsSizeTheWindowAndWithoutAnAudioDeviceTheGameRunsOnSilently) {
    ChildProcess game({TARNHOLLOW_GAME_BINARY, "640", "360"}, TARNHOLLOW_RUN_DIR,
                      gameEnvironment({"ALSOFT_DRIVERS=no-such-backend", "ALSOFT_CONF=/dev/null"}));
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
    EXPECT_NE(result.err.find("irrKlang Engine not working\n"), std::string::npos) << result.err;
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

TEST(GameStartup, WithoutADataFolderItStopsNamingEveryPlaceSearchedWithStatusOne) {
    const tarn::app::InstalledData installed{TARNHOLLOW_DATA_FROM_EXECUTABLE,
                                             TARNHOLLOW_INSTALLED_DATA_DIR};
    const std::string elsewhere = fs::canonical(makeTempDir()).string();
    const std::vector<tarn::app::DataPlace> places =
        tarn::app::dataPlaces(elsewhere, fs::canonical(TARNHOLLOW_GAME_BINARY).string(), installed);
    ASSERT_EQ(places.size(), 3u);
    for (const auto& place : places) {
        if (tarn::app::holdsGameFiles(place.folder))
            GTEST_SKIP() << place.folder << " holds the game's files on this machine ("
                         << place.role << "), so the game would start from there";
    }

    const ProcessResult result =
        runProcess({TARNHOLLOW_GAME_BINARY}, elsewhere, 60.0, gameEnvironment());
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, tarn::app::noDataFolderMessage(places) + "\n");
    EXPECT_EQ(result.err.rfind("ERROR: Could not find the game's data", 0), 0u) << result.err;
    EXPECT_NE(result.err.find("  " + elsewhere + "  (the working directory)\n"), std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("  " + std::string(TARNHOLLOW_INSTALLED_DATA_DIR) +
                              "  (the installed data folder)"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(result.out, "") << "nothing loads without the data";
    fs::remove_all(elsewhere);
}
