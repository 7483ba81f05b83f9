// The real game in a run folder with files missing or damaged: each is reported by name,
// and the game still starts, plays and quits with Escape.
#include <gtest/gtest.h>

#include <filesystem>

#include "assets/asset_paths.h"
#include "support/game_window.h"
#include "support/process.h"

using namespace tarn::test;
namespace fs = std::filesystem;

namespace {

// Starts the game in dir, takes one photo of nothing to show it plays, and quits.
ProcessResult playBriefly(const std::string& dir) {
    ChildProcess game({TARNHOLLOW_GAME_BINARY}, dir, gameEnvironment());
    const std::string id = waitForGameWindow(game.pid());
    EXPECT_FALSE(id.empty()) << "no Tarnhollow window appeared";
    if (!id.empty()) {
        tapKey(id, "o");
        tapKey(id, "p");
        EXPECT_TRUE(game.waitForOutput("You have 4 photos left.\n", 60.0)) << game.outputSoFar();
        tapKey(id, "Escape");
    }
    const ProcessResult result = game.wait(30.0);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    return result;
}

}  // namespace

TEST(GameFiles, AMissingAndADamagedFileOfEachKindAreNamedAndTheGamePlaysOn) {
    const std::string dir = makeTempDir();
    for (const char* part : {"Shader", "Resources"}) {
        fs::copy(fs::path(TARNHOLLOW_RUN_DIR) / part, fs::path(dir) / part, fs::copy_options::recursive);
    }
    const auto inDir = [&](const std::string& path) { return dir + "/" + path; };
    for (const char* missing : {tarn::paths::heightMap, tarn::paths::duckModel, tarn::paths::sonarSound}) {
        fs::remove(inDir(missing));
    }
    const std::string cutImage = tarn::paths::mossTexture;
    writeFile(inDir(cutImage), readFile(inDir(cutImage)).substr(0, 300));
    for (const char* garbled : {tarn::paths::fishSmallModel, tarn::paths::ambientSound, tarn::paths::font}) {
        writeFile(inDir(garbled), std::string(300, '#'));
    }
    const ProcessResult result = playBriefly(dir);

    const std::string said = result.out + result.err;
    for (const std::string& named : {std::string(tarn::paths::duckModel), std::string(tarn::paths::sonarSound),
                                     cutImage, std::string(tarn::paths::fishSmallModel),
                                     std::string(tarn::paths::ambientSound)}) {
        EXPECT_NE(said.find(named), std::string::npos) << named << " went unreported:\n" << said;
    }
    EXPECT_NE(result.err.find("Could not open heightMap file:"), std::string::npos) << result.err;
    EXPECT_NE(result.out.find("ERROR::FREETYPE: Failed to load font\n"), std::string::npos);
    fs::remove_all(dir);
}
