// The hunt on the real binary with real key presses: taps are never lost, misses fill the
// card and each is kept as a picture (or reported when it cannot be), the sinking bonus
// card can be picked up at the start, the light runs out, and a stopped game loses nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <iostream>
#include <regex>
#include <thread>

#include "support/game_window.h"
#include "support/png_fixture.h"
#include "support/process.h"

using namespace tarn::test;

namespace {

// Five tapped photos of nothing from the start, then a tapped Escape: every photo misses,
// the card fills and the game is lost, whatever became of the photos on disk. The game
// may be started through a wrapper that prints "game pid N" first.
ProcessResult loseWithFiveTappedPhotos(const std::vector<std::string>& argv,
                                       const std::vector<std::string>& env) {
    ChildProcess game(argv, TARNHOLLOW_RUN_DIR, env);
    pid_t pid = game.pid();
    if (argv.front() != TARNHOLLOW_GAME_BINARY) {
        game.waitForOutput("game pid ", 30.0);
        const std::string out = game.outputSoFar();
        const size_t at = out.find("game pid ");
        if (at != std::string::npos) pid = std::stoi(out.substr(at + 9));
    }
    const std::string id = waitForGameWindow(pid);
    if (id.empty() || !game.waitForOutput("ShadowMap framebuffer complete.", 60.0)) {
        ADD_FAILURE() << "no Tarnhollow window appeared:\n" << game.outputSoFar();
        return game.wait(1.0);
    }
    for (int left = 4; left >= 0; --left) {
        tapKey(id, "p");
        const std::string line = "You have " + std::to_string(left) + " photos left.\n";
        if (!game.waitForOutput(line, 30.0)) {
            ADD_FAILURE() << "a tapped P was lost:\n" << game.outputSoFar();
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(600));  // past the half-second guard
    }
    EXPECT_TRUE(game.waitForOutput("You have lost the game.\n", 10.0));
    tapKey(id, "Escape");
    const ProcessResult result = game.wait(60.0);
    EXPECT_FALSE(result.timedOut) << "a tapped Escape did not quit";
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(occurrences(result.out, "Oh no - you were too far from Morvie"), 5) << result.out;
    return result;
}

// The game in a mount namespace of its own, with a fresh tmpfs mounted on folder with the
// options given, filled up when fill is set; after the game the folder's listing follows
// "left in the folder:". Empty when this machine cannot make one (no mount rights).
std::vector<std::string> inPrivateTmpfs(const std::string& folder, const std::string& options,
                                        bool fill) {
    const std::string script =
        "mount -t tmpfs -o " + options + " tmpfs \"$0\" || exit 97; " +
        (fill ? "head -c 1048576 /dev/zero > \"$0/fill\" 2>/dev/null; " : "") +
        "\"$1\" & echo \"game pid $!\"; wait $!; status=$?; "
        "echo 'left in the folder:'; ls -A \"$0\"; exit $status";
    for (const char* flags : {"-m", "-rm"}) {
        if (shellOutput(std::string("unshare ") + flags + " sh -c 'mount -t tmpfs tmpfs " + folder +
                        "' 2>/dev/null && echo ok") == "ok") {
            return {"/usr/bin/unshare", flags, "sh", "-c", script, folder, TARNHOLLOW_GAME_BINARY};
        }
    }
    return {};
}

std::string leftInFolder(const std::string& out) {
    const size_t at = out.find("left in the folder:\n");
    return at == std::string::npos ? "(no listing)" : out.substr(at + 20);
}

}  // namespace

TEST(HuntEndToEnd, FiveTappedPhotosOfNothingLoseKeepFivePicturesAndATappedEscapeQuits) {
    const std::string folder = makeTempDir() + "/photos";
    const ProcessResult result = loseWithFiveTappedPhotos(
        {TARNHOLLOW_GAME_BINARY}, gameEnvironment({"TARNHOLLOW_PHOTO_DIR=" + folder}));
    const std::vector<std::string> kept = filesIn(folder);
    ASSERT_EQ(kept.size(), 5u) << result.out << result.err;
    EXPECT_EQ(occurrences(result.out, "Photo kept: " + folder + "/"), 5) << result.out;
    EXPECT_EQ(pngTextChunks(readFile(folder + "/" + kept[4]))["Result"], "miss");
    EXPECT_EQ(result.err, "");
}

TEST(HuntEndToEnd, PhotosThatCannotBeKeptAreEachReportedAndTheGameIsLostAsBefore) {
    const std::string dir = makeTempDir();
    writeFile(dir + "/a-file", "not a folder");
    const struct {
        const char* why;
        std::vector<std::string> argv;
        std::string folder;
    } cases[] = {
        {"No space left on device", inPrivateTmpfs(dir, "size=64k", true), dir},
        {"Read-only file system", inPrivateTmpfs(dir, "ro", false), dir},
        {"Not a directory", {TARNHOLLOW_GAME_BINARY}, dir + "/a-file/photos"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        if (c.argv.empty()) {
            std::cout << "[ SKIPPED  ] " << c.why << ": no private tmpfs can be mounted here\n";
            continue;
        }
        const ProcessResult result =
            loseWithFiveTappedPhotos(c.argv, gameEnvironment({"TARNHOLLOW_PHOTO_DIR=" + c.folder}));
        EXPECT_EQ(occurrences(result.err, "Photo not kept: "), 5) << result.err;
        EXPECT_EQ(occurrences(result.err, c.folder + ": " + c.why + "\n"), 5) << result.err;
        EXPECT_EQ(occurrences(result.out, "Photo kept"), 0) << result.out;
        if (c.argv.front() != TARNHOLLOW_GAME_BINARY) {
            EXPECT_EQ(leftInFolder(result.out),
                      c.why == std::string("Read-only file system") ? "" : "fill\n");
        }
    }
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"a-file"}) << "something was left behind";
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

// A laptop suspended mid-hunt, or a debugger holding the game: the stop is no time of play.
TEST(HuntEndToEnd, AStoppedGameLosesNoLightAndItsCreatureSwimsNoFartherForIt) {
    const std::string folder = makeTempDir() + "/photos";
    ChildProcess game({TARNHOLLOW_GAME_BINARY}, TARNHOLLOW_RUN_DIR,
                      gameEnvironment({"TARNHOLLOW_PHOTO_DIR=" + folder}));
    const std::string id = waitForGameWindow(game.pid());
    ASSERT_FALSE(id.empty()) << "no Tarnhollow window appeared";
    ASSERT_TRUE(game.waitForOutput("ShadowMap framebuffer complete.", 60.0));
    using Clock = std::chrono::steady_clock;
    const auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };

    tapKey(id, "m");
    ASSERT_TRUE(game.waitForOutput("Light toggled ON.\n", 30.0)) << game.outputSoFar();
    const Clock::time_point lightOn = Clock::now();
    tapKey(id, "p");
    ASSERT_TRUE(game.waitForOutput("You have 4 photos left.\n", 30.0)) << game.outputSoFar();
    const Clock::time_point firstPhoto = Clock::now();

    constexpr double stopSeconds = 15.0;
    kill(game.pid(), SIGSTOP);
    std::this_thread::sleep_for(std::chrono::duration<double>(stopSeconds));
    kill(game.pid(), SIGCONT);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));  // past the half-second guard

    tapKey(id, "p");
    ASSERT_TRUE(game.waitForOutput("You have 3 photos left.\n", 30.0)) << game.outputSoFar();
    const double betweenPhotos = seconds(Clock::now() - firstPhoto) - stopSeconds;
    tapKey(id, "m");
    ASSERT_TRUE(game.waitForOutput("Light toggled OFF.", 30.0)) << game.outputSoFar();
    const double lightPlayed = seconds(Clock::now() - lightOn) - stopSeconds;
    tapKey(id, "Escape");
    const ProcessResult result = game.wait(30.0);
    EXPECT_EQ(result.exitStatus, 0) << result.err;

    // The stop may cost one frame's longest step, a third of a second, and nothing more.
    std::smatch used;
    ASSERT_TRUE(std::regex_search(result.out, used,
                                  std::regex("Light toggled OFF. Sum used so far: ([0-9.]+)\n")));
    EXPECT_LT(std::stod(used[1]), lightPlayed + 0.4) << "the light burnt while the game stood";

    const std::vector<std::string> kept = filesIn(folder);
    ASSERT_EQ(kept.size(), 2u) << result.out << result.err;
    const auto distance = [&](const std::string& name) {
        return std::stod(pngTextChunks(readFile(folder + "/" + name))["Distance to Morvie"]);
    };
    // The creature swims a unit a second; the camera stood still.
    EXPECT_LT(std::abs(distance(kept[1]) - distance(kept[0])), betweenPhotos + 0.4)
        << "Morvie swam on while the game stood: " << distance(kept[0]) << " m, then "
        << distance(kept[1]) << " m";
}
