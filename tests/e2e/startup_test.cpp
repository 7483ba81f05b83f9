// The real game binary under X: the command line, the fatal stops with their hints, a
// machine without sound, and the log of the last run.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <tuple>

#include "app/data_folder.h"
#include "support/game_window.h"
#include "support/process.h"

using namespace tarn::test;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> linesOf(const std::string& text, bool sorted = false) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    if (sorted) std::sort(lines.begin(), lines.end());
    return lines;
}

std::string logIn(const std::string& stateFolder) {
    return readFile(stateFolder + "/tarnhollow/last-run.log");
}

// A start without a display; no leak report, as the X libraries keep a little.
ProcessResult runWithoutDisplay(std::vector<std::string> env, const char* arg1 = nullptr) {
    env.insert(env.end(), {"DISPLAY", "ASAN_OPTIONS=detect_leaks=0"});
    std::vector<std::string> argv{TARNHOLLOW_GAME_BINARY};
    if (arg1) argv.insert(argv.end(), {arg1, "600"});
    return runProcess(argv, TARNHOLLOW_RUN_DIR, 60.0, env);
}

}  // namespace

TEST(GameStartup, SizeArgumentsSizeTheWindowAndWithoutAnAudioDeviceTheGameRunsOnSilently) {
    const std::string state = makeTempDir();
    ChildProcess game({TARNHOLLOW_GAME_BINARY, "640", "360"}, TARNHOLLOW_RUN_DIR,
                      gameEnvironment({"ALSOFT_DRIVERS=no-such-backend", "ALSOFT_CONF=/dev/null",
                                       "XDG_STATE_HOME=" + state}));
    const std::string id = waitForGameWindow(game.pid());
    ASSERT_FALSE(id.empty());
    EXPECT_NE(shellOutput("xdotool getwindowgeometry " + id).find("Geometry: 640x360"),
              std::string::npos);
    tapKey(id, "Escape");
    const ProcessResult result = game.wait(30.0);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out.rfind("You are running Tarnhollow.", 0), 0u) << result.out;
    EXPECT_NE(result.err.find("irrKlang Engine not working\n"), std::string::npos) << result.err;
    // Everything it printed, on both streams, is in the log of the run.
    EXPECT_EQ(linesOf(logIn(state), true), linesOf(result.out + result.err, true));
    fs::remove_all(state);
}

TEST(GameStartup, BadArgumentsStopWithTheirTextAndStatusOne) {
    // The parser's own texts are its unit test's; here they must reach standard error. A
    // size no window can have also says which size it was.
    const char* parseArgs[] = {"tarnhollow", "abc", "600"};
    const std::string parseError = tarn::app::parseCommandLine(3, parseArgs).error + "\n";
    for (const auto& [width, error, hint] :
         {std::tuple{"abc", parseError, std::string()},
          std::tuple{"0", std::string("ERROR: Could not open window.\n"),
                     std::string("0 by 600 pixels")}}) {
        const ProcessResult result = runProcess({TARNHOLLOW_GAME_BINARY, width, "600"},
                                                TARNHOLLOW_RUN_DIR, 60.0, gameEnvironment());
        EXPECT_EQ(result.exitStatus, 1) << width;
        EXPECT_EQ(result.err.rfind(error, 0), 0u) << result.err;
        const std::string second = result.err.substr(std::min(error.size(), result.err.size()));
        EXPECT_EQ(linesOf(second).size(), hint.empty() ? 0u : 1u) << result.err;
        EXPECT_NE(second.find(hint), std::string::npos) << result.err;
    }
}

// What a player started from a menu finds: no display, and the game's window never comes;
// the log of the run holds the error and its hint, and the next start replaces it.
TEST(GameStartup, WithoutADisplayItSaysWhyAndTheLogOfTheRunKeepsIt) {
    const std::string scratch = makeTempDir();
    const ProcessResult result = runWithoutDisplay({"XDG_STATE_HOME=" + scratch + "/state"});
    EXPECT_EQ(result.exitStatus, 1);
    const std::vector<std::string> lines = linesOf(result.err);
    ASSERT_EQ(lines.size(), 2u) << result.err;
    EXPECT_EQ(lines[0], "ERROR: Could not init glfw");
    // The window system's own reason, then what to do.
    EXPECT_NE(lines[1].find("(GLFW: X11: "), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find("desktop"), std::string::npos) << lines[1];
    EXPECT_EQ(logIn(scratch + "/state"), result.out + result.err);

    // Without XDG_STATE_HOME the log is in the home folder's, and a new start's replaces it.
    const std::string homeState = scratch + "/home/.local/state";
    const std::vector<std::string> byHome = {"XDG_STATE_HOME", "HOME=" + scratch + "/home"};
    runWithoutDisplay(byHome);
    EXPECT_EQ(logIn(homeState), result.err);
    const ProcessResult again = runWithoutDisplay(byHome, "abc");
    EXPECT_EQ(again.exitStatus, 1);
    EXPECT_EQ(logIn(homeState), again.out + again.err);

    // A log that cannot be written (its folder would be below a file) costs one line first,
    // and the game goes on to the same stop.
    writeFile(scratch + "/file", "");
    const ProcessResult unlogged = runWithoutDisplay({"XDG_STATE_HOME=" + scratch + "/file"});
    EXPECT_EQ(unlogged.exitStatus, 1);
    const std::vector<std::string> unloggedLines = linesOf(unlogged.err);
    ASSERT_EQ(unloggedLines.size(), 3u) << unlogged.err;
    EXPECT_EQ(unloggedLines[0].rfind("Could not keep the log " + scratch + "/file/", 0), 0u);
    EXPECT_EQ(std::vector<std::string>(unloggedLines.begin() + 1, unloggedLines.end()), lines);
    fs::remove_all(scratch);
}

// Mesa can be told to offer less than OpenGL 3.3; a driver that ignores that lets the game
// start, and the test has nothing to check there.
TEST(GameStartup, WithoutOpenGL33ItSaysSoAndPointsToGlxinfo) {
    ChildProcess game({TARNHOLLOW_GAME_BINARY}, TARNHOLLOW_RUN_DIR,
                      gameEnvironment({"MESA_GL_VERSION_OVERRIDE=3.0"}));
    const ProcessResult result = game.wait(30.0);
    if (result.timedOut) GTEST_SKIP() << "the driver offered OpenGL 3.3 all the same";
    EXPECT_EQ(result.exitStatus, 1);
    const std::vector<std::string> lines = linesOf(result.err);
    ASSERT_EQ(lines.size(), 2u) << result.err;
    EXPECT_EQ(lines[0], "ERROR: Could not open window.");
    EXPECT_NE(lines[1].find("glxinfo -B"), std::string::npos) << lines[1];
}

TEST(GameStartup, WithoutADataFolderItStopsNamingEveryPlaceSearchedWithStatusOne) {
    const std::string elsewhere = fs::canonical(makeTempDir()).string();
    const std::vector<tarn::app::DataPlace> places =
        tarn::app::dataPlaces(elsewhere, fs::canonical(TARNHOLLOW_GAME_BINARY).string(),
                              {TARNHOLLOW_DATA_FROM_EXECUTABLE, TARNHOLLOW_INSTALLED_DATA_DIR});
    for (const auto& place : places) {
        if (tarn::app::holdsGameFiles(place.folder))
            GTEST_SKIP() << place.folder << " holds the game's files on this machine";
    }
    const ProcessResult result =
        runProcess({TARNHOLLOW_GAME_BINARY}, elsewhere, 60.0, gameEnvironment());
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err.rfind(tarn::app::noDataFolderMessage(places) + "\n", 0), 0u);
    EXPECT_EQ(linesOf(result.err).size(), places.size() + 2) << "the message, then what to do";
    EXPECT_NE(result.err.find(elsewhere), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "") << "nothing loads without the data";
    fs::remove_all(elsewhere);
}
