// The real game in a folder without Resources/: every texture is tried in start-up order,
// each failure reported, and the game still runs until Escape.
#include <gtest/gtest.h>

#include <filesystem>

#include "assets/asset_paths.h"
#include "support/game_window.h"
#include "support/process.h"

using namespace tarn::test;
namespace fs = std::filesystem;

TEST(GameTextures, EveryMissingTextureIsReportedInOrderAndTheGameRunsOn) {
    const std::string dir = makeTempDir();
    fs::copy(fs::path(TARNHOLLOW_RUN_DIR) / "Shader", fs::path(dir) / "Shader");
    ChildProcess game({TARNHOLLOW_GAME_BINARY}, dir, gameEnvironment());
    const std::string id = waitForGameWindow(game.pid());
    ASSERT_FALSE(id.empty()) << "no Tarnhollow window appeared";
    tapKey(id, "Escape");
    const ProcessResult result = game.wait(30.0);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, 0) << result.err;

    // The textures in start-up order: every image file but the height map, which is no texture.
    std::vector<std::string> paths(imageFiles.begin() + 1, imageFiles.end());
    std::size_t at = 0;
    for (const std::string& path : paths) {
        const std::size_t found = result.err.find("Could not open file [" + path + "]: ", at);
        ASSERT_NE(found, std::string::npos) << path << " missing or out of order:\n" << result.err;
        at = found;
    }
    EXPECT_EQ(occurrences(result.out, "Image size = "), int(paths.size()));
    EXPECT_NE(result.out.find("ERROR::FREETYPE: Failed to load font\n"), std::string::npos);
    fs::remove_all(dir);
}
